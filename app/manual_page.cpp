// The engine headers come before Qt's, whose keyword macros they would meet.
#include "engine/log3.h"
#include "engine/manual_session.h"
#include "engine/units.h"

#include "app/manual_page.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSoundEffect>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "app/archive_page.h"
#include "app/diagram_page.h"
#include "app/file_commands.h"
#include "app/input_page.h"
#include "app/main_form.h"
#include "app/main_menus.h"
#include "app/named_widgets.h"
#include "app/qt_canvas.h"
#include "app/qt_text.h"
#include "app/report_page.h"
#include "output/diagram_painter.h"

namespace app {

ManualPreview::ManualPreview(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

void ManualPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (paint)
        paint(painter);
}

void ManualPreview::mouseMoveEvent(QMouseEvent* event)
{
    if (mouseMoved)
        mouseMoved();
    QWidget::mouseMoveEvent(event);
}

namespace {

} // namespace

ManualPage::ManualPage(QWidget* parent)
    : QWidget(parent), m_engine(std::make_unique<engine::log3>())
{
    setObjectName("pag2");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* lay = new QHBoxLayout;
    outer->addLayout(lay, 1);

    Image3 = new ManualPreview;
    Image3->setObjectName("Image3");
    Image3->paint = [this](QPainter& p) { paintPreview(p); };
    Image3->mouseMoved = [this] { hideNotice(); };
    panManual = new QWidget;
    panManual->setObjectName("panManual");
    panManual->setFixedWidth(99);
    lay->addWidget(Image3, 1);
    lay->addWidget(panManual);

    // The control column.
    auto* col = new QVBoxLayout(panManual);
    col->setContentsMargins(2, 2, 2, 2);
    col->setSpacing(3);
    auto* sheetRow = new QHBoxLayout;
    sheetRow->addWidget(Label36 = newLabel("Label36", "Br.Table:"));
    sheetRow->addWidget(Label37 = newLabel("Label37"));
    col->addLayout(sheetRow);
    col->addWidget(Label38 = newLabel("Label38"));
    Label38->setWordWrap(true);
    col->addWidget(Label19 = newLabel("Label19", "Alpha"));
    col->addWidget(Edit13 = newEdit("Edit13", "0.001"));
    auto* steps = new QHBoxLayout;
    steps->setSpacing(1);
    steps->addWidget(BitBtn12 = newButton("BitBtn12", "+1"));
    steps->addWidget(BitBtn13 = newButton("BitBtn13", "+5"));
    steps->addWidget(BitBtn14 = newButton("BitBtn14", "+10"));
    for (QPushButton* b : {BitBtn12, BitBtn13, BitBtn14})
        b->setFixedWidth(30);
    col->addLayout(steps);
    col->addWidget(Label43 = newLabel("Label43", "P.I.(%)"));
    col->addWidget(Edit15 = newEdit("Edit15", "92"));
    col->addSpacing(8);
    col->addWidget(BitBtn5 = newButton("BitBtn5", "&Start"));
    col->addWidget(BitBtn6 = newButton("BitBtn6", "S&top"));
    col->addWidget(BitBtn7 = newButton("BitBtn7", "&O.K."));
    col->addSpacing(8);
    col->addWidget(Prekini = newButton("Prekini", "P&rekini"));
    col->addSpacing(8);
    col->addWidget(Label35 = newLabel("Label35", "Izabrani"));
    col->addWidget(Edit14 = newEdit("Edit14", "0"));
    Edit14->setReadOnly(true);
    col->addStretch(1);
    BitBtn6->setEnabled(false);
    BitBtn7->setEnabled(false);

    ScrollBar1 = new QScrollBar(Qt::Horizontal);
    ScrollBar1->setObjectName("ScrollBar1");
    ScrollBar1->setRange(0, 0);
    ScrollBar1->setPageStep(1);
    ScrollBar1->setEnabled(false);
    outer->addWidget(ScrollBar1);

    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    const int widths[5] = {120, 210, 150, 110, 0};
    for (int i = 0; i < 5; ++i) {
        StatusPanels[i] = new QLabel;
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (widths[i] > 0)
            StatusPanels[i]->setMinimumWidth(widths[i]);
        StatusBar1->addWidget(StatusPanels[i], widths[i] > 0 ? 0 : 1);
    }
    outer->addWidget(StatusBar1);

    // The finished notice over the preview.
    Panel3 = new QFrame(Image3);
    Panel3->setObjectName("Panel3");
    Panel3->setAutoFillBackground(true);
    QPalette navy = Panel3->palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 128));
    navy.setColor(QPalette::WindowText, Qt::white);
    Panel3->setPalette(navy);
    auto* notice = new QVBoxLayout(Panel3);
    notice->addWidget(Label66 = newLabel("Label66", "GOTOV PRORACUN TABLE."));
    notice->addWidget(Label67 = newLabel("Label67", "Pritisni START za ponovo racunanje ove table"));
    notice->addWidget(Label68 = newLabel("Label68", "Pritisni O.K. za racunanje sledece table"));
    QFont bold = Label66->font();
    bold.setBold(true);
    Label66->setFont(bold);
    Panel3->move(20, 20);
    Panel3->hide();
    Panel3->installEventFilter(this);
    for (QLabel* l : {Label66, Label67, Label68})
        l->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1000);

    connect(BitBtn5, &QPushButton::clicked, this, &ManualPage::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &ManualPage::BitBtn6Click);
    connect(BitBtn7, &QPushButton::clicked, this, &ManualPage::BitBtn7Click);
    connect(Prekini, &QPushButton::clicked, this, &ManualPage::PrekiniClick);
    connect(BitBtn12, &QPushButton::clicked, this, &ManualPage::BitBtn12Click);
    connect(BitBtn13, &QPushButton::clicked, this, &ManualPage::BitBtn13Click);
    connect(BitBtn14, &QPushButton::clicked, this, &ManualPage::BitBtn14Click);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &ManualPage::ScrollBar1Change);
    connect(Timer1, &QTimer::timeout, this, &ManualPage::Timer1Timer);
}

ManualPage::~ManualPage()
{
    // The search reads the project and the block lists; it must end first.
    if (m_session)
        m_session->requestStop();
    if (m_worker.joinable())
        m_worker.join();
}

bool ManualPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        Panel3Click();
    return QWidget::eventFilter(watched, event);
}

bool ManualPage::active() const { return m_session && m_session->state() != engine::ManualState::Off; }

QString ManualPage::statusText(int panel) const { return StatusPanels[panel]->text(); }

void ManualPage::setStatus(int panel, const QString& text) { StatusPanels[panel]->setText(text); }

QString ManualPage::lengthText(std::int32_t length) const
{
    return qs(engine::FormatLength(length, m_main->unit()));
}

void ManualPage::showCurrentSheet()
{
    const engine::SheetInstance& s = m_session->currentSheetInstance();
    Label37->setText(QString::number(m_session->currentSheet()));
    Label38->setText(lengthText(s.len) + " x " + lengthText(s.wid));
}

// The current sheet with no search yet: its number and size, no candidates,
// empty status panels.
void ManualPage::startSheet()
{
    showCurrentSheet();
    ScrollBar1->blockSignals(true);
    ScrollBar1->setRange(0, 0);
    ScrollBar1->blockSignals(false);
    ScrollBar1->setEnabled(false);
    Edit14->setText("0");
    BitBtn7->setEnabled(false);
    for (int i = 0; i < 5; ++i)
        setStatus(i, {});
}

// ---------------------------------------------------------------------------
// Entering and leaving

void ManualPage::Button1Click()
{
    if (m_searching || active())
        return;
    // An open cell editor writes its text before the rows are checked.
    m_main->pag1->Button1->setFocus();
    m_session = std::make_unique<engine::ManualSession>(m_main->project(), *m_engine);
    const engine::Status entered = m_session->enter(m_main->settings());
    // The tables are sorted now, also when the mode does not start.
    m_main->refreshTables();
    if (!entered.ok()) {
        m_main->showStatus(entered, entered.msg == engine::Msg::ManualNothingFits ? Messenger::Kind::Plain
                                                                                       : Messenger::Kind::Error);
        m_session.reset();
        return;
    }
    for (auto [l, entry] : {std::pair<QWidget*, int>{Label36, 59}, {Label43, 60}, {Label19, 61}, {BitBtn5, 63},
                            {BitBtn6, 64}, {BitBtn7, 65}, {Prekini, 58}, {Label35, 66}, {Label66, 71},
                            {Label67, 72}, {Label68, 73}}) {
        const QString t = m_main->text(entry);
        if (t.isEmpty())
            continue;
        if (auto* lab = qobject_cast<QLabel*>(l))
            lab->setText(t);
        else if (auto* b = qobject_cast<QPushButton*>(l))
            b->setText(t);
    }
    Panel3->adjustSize();
    startSheet();
    setModeCommands(true);
    QTabWidget* pages = m_main->PageControl1;
    pages->setTabVisible(pages->indexOf(this), true);
    pages->setCurrentWidget(this);
    pages->setTabVisible(pages->indexOf(m_main->pag1), false);
    m_main->setResultPageVisible(false);
    showOtherPages(false);
    Image3->update();
    BitBtn5->setFocus();
}

void ManualPage::setModeCommands(bool modeOn)
{
    MainMenus& m = m_main->menus();
    std::vector<QObject*> commands{m.Pocninovo1, m.Ucitaj1, m.Dodaj1, m.fromXML, m.fromExcel, m.Settings1,
                                   m.Print1, m.toDXF, m.Printlabels1, m_main->pag1->Button4, m_main->pag1->Button1,
                                   m_main->pag1->BitBtn15, m_main->pag1->TableMinus};
    for (QAction* r : m.recentItems())
        commands.push_back(r);
    static const char* kWasEnabled = "velmoraEnabledBeforeManual";
    for (QObject* c : commands) {
        auto* action = qobject_cast<QAction*>(c);
        auto* widget = qobject_cast<QWidget*>(c);
        if (modeOn) {
            c->setProperty(kWasEnabled, action ? action->isEnabled() : widget->isEnabled());
            action ? action->setEnabled(false) : widget->setEnabled(false);
        } else {
            const bool was = c->property(kWasEnabled).toBool();
            action ? action->setEnabled(was) : widget->setEnabled(was);
        }
    }
}

void ManualPage::showOtherPages(bool show)
{
    // The report and the archive (whose Open would replace the tables) go
    // while the mode is on, and come back as they were.
    QTabWidget* pages = m_main->PageControl1;
    static const char* kWasShown = "velmoraShownBeforeManual";
    for (QWidget* page : {static_cast<QWidget*>(m_main->pag4), static_cast<QWidget*>(m_main->Arhiva)}) {
        const int index = pages->indexOf(page);
        if (!show) {
            page->setProperty(kWasShown, pages->isTabVisible(index));
            pages->setTabVisible(index, false);
        } else if (page->property(kWasShown).isValid()) {
            pages->setTabVisible(index, page->property(kWasShown).toBool());
        }
    }
}

void ManualPage::finishMode()
{
    ScrollBar1->blockSignals(true);
    ScrollBar1->setRange(0, 0);
    ScrollBar1->blockSignals(false);
    ScrollBar1->setEnabled(false);
    Edit13->setText("0.001");
    BitBtn7->setEnabled(false);
    hideNotice();
    Timer1->stop();
    setModeCommands(false);
    showOtherPages(true);
    QTabWidget* pages = m_main->PageControl1;
    pages->setTabVisible(pages->indexOf(m_main->pag1), true);
    pages->setTabVisible(pages->indexOf(this), false);
    m_main->setResultPageVisible(true);
    m_main->firstDiagramGroup();
    m_main->markProjectChanged();
    m_main->ShowResults();
    pages->setCurrentWidget(m_main->pag1);
}

void ManualPage::PrekiniClick()
{
    if (m_searching || !active())
        return;
    Edit13->setText("0.001");
    m_session->abandon();
    m_engine->FreeArrays();
    hideNotice();
    Timer1->stop();
    setModeCommands(false);
    showOtherPages(true);
    // The sheets accepted so far are not shown, so nothing may act on them:
    // no print, no offcuts, no subtraction, and Save writes no result.
    engine::Project& project = m_main->project();
    project.result = engine::CuttingResult{};
    project.report.clear();
    project.bill.clear();
    m_main->pag4->showReport(project.report, project.bill);
    m_main->fileCommands().setPrintEnabled(false);
    m_main->pag1->BitBtn15->setEnabled(false);
    m_main->pag1->TableMinus->setEnabled(false);
    m_main->refreshDiagram(true);
    QTabWidget* pages = m_main->PageControl1;
    pages->setTabVisible(pages->indexOf(m_main->pag1), true);
    pages->setTabVisible(pages->indexOf(this), false);
    m_main->setResultPageVisible(false);
    pages->setCurrentWidget(m_main->pag1);
    ScrollBar1->blockSignals(true);
    ScrollBar1->setRange(0, 0);
    ScrollBar1->blockSignals(false);
    Image3->update();
}

// ---------------------------------------------------------------------------
// The search

void ManualPage::BitBtn5Click()
{
    if (m_searching || !active())
        return;
    hideNotice();
    const std::string alpha = Edit13->text().trimmed().toStdString();
    const std::string pi = Edit15->text().trimmed().toStdString();
    // Checked here, so that a wrong field is named before anything changes.
    double alphaValue = 0;
    if (!engine::parseDecimal(alpha, alphaValue) || !std::isfinite(static_cast<float>(alphaValue))) {
        m_main->showStatus(engine::Status(engine::Msg::ManualAlphaNotANumber, {alpha}), Messenger::Kind::Error);
        Edit13->setFocus();
        return;
    }
    std::int32_t piValue = 0;
    if (!engine::parseInteger(pi, piValue) || piValue < 0 || piValue > 100) {
        m_main->showStatus(engine::Status(engine::Msg::ManualPiNotAPercent, {pi}), Messenger::Kind::Error);
        Edit15->setFocus();
        return;
    }
    const int manparam = m_main->settings().manparam;

    m_searching = true;
    for (QWidget* w : std::initializer_list<QWidget*>{BitBtn5, BitBtn7, Prekini, BitBtn12, BitBtn13, BitBtn14,
                                                      Edit13, Edit15, ScrollBar1})
        w->setEnabled(false);
    BitBtn6->setEnabled(true);
    Image3->update();

    const QString generation = m_main->text(engine::Msg::ManualGenerationPrefix);
    const QString known = m_main->text(engine::Msg::ManualKnownPrefix);
    // Progress reaches the window as queued calls; they are dropped should
    // the page go (the worker is joined before that).
    const engine::SearchProgressFn progress = [this, generation, known](const engine::SearchProgress& p) {
        QMetaObject::invokeMethod(
            this,
            [this, p, generation, known] {
                setStatus(4, generation + QString::number(p.generation) + " M" + QString::number(p.count));
                if (p.end)
                    setStatus(2, known + QString::number(p.known));
            },
            Qt::QueuedConnection);
    };
    const auto body = [this, alpha, pi, manparam, progress] {
        engine::Status st;
        try {
            st = m_session->start(alpha, pi, manparam, progress);
        } catch (const std::exception&) {
            st = engine::Status(engine::Msg::RunFailed);
        }
        QMetaObject::invokeMethod(this, [this, st] { searchFinished(st); }, Qt::QueuedConnection);
    };
    try {
        m_worker = std::thread(body);
    } catch (const std::system_error&) {
        body();  // no thread to be had: the search runs here, the window frozen
    }
}

void ManualPage::BitBtn6Click()
{
    if (m_searching && m_session)
        m_session->requestStop();
}

void ManualPage::waitForSearch()
{
    while (m_searching) {
        QEventLoop loop;
        connect(this, &ManualPage::searchEnded, &loop, &QEventLoop::quit);
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void ManualPage::searchFinished(const engine::Status& status)
{
    if (m_worker.joinable())
        m_worker.join();
    m_searching = false;
    for (QWidget* w : std::initializer_list<QWidget*>{BitBtn5, Prekini, BitBtn12, BitBtn13, BitBtn14, Edit13, Edit15})
        w->setEnabled(true);
    BitBtn6->setEnabled(false);
    if (!status.ok()) {
        setStatus(4, {});
        BitBtn7->setEnabled(false);
        Image3->update();
        emit searchEnded();
        m_main->showStatus(status, Messenger::Kind::Error);
        return;
    }
    ScrollBar1->blockSignals(true);
    ScrollBar1->setRange(0, m_session->sliderMax());
    ScrollBar1->setValue(0);
    ScrollBar1->blockSignals(false);
    Edit14->setText("0");
    const engine::ElapsedTime t = m_engine->elapsed();
    setStatus(3, QString("T(%1:%2:%3-%4)").arg(t.hours).arg(t.minutes).arg(t.seconds).arg(t.milliseconds));
    setStatus(4, m_main->text(m_session->searchStatus()));
    BitBtn7->setEnabled(true);
    ScrollBar1->setEnabled(true);
    Panel3->adjustSize();
    Panel3->show();
    Panel3->raise();
    m_ticks = 0;
    Timer1->start();
    Image3->update();
    emit searchEnded();
    if (engine::shouldPlaySound(m_main->settings().Zvuk, t))
        playFinishedSound();
}

void ManualPage::playFinishedSound()
{
    ++m_soundAttempts;
    const QString file = qs(engine::manualSoundFile(m_main->settings(), m_main->programFolder()));
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable()) {
        soundFailed();
        return;
    }
    if (!m_sound) {
        m_sound = new QSoundEffect(this);
        m_sound->setObjectName("sound");
        connect(m_sound, &QSoundEffect::statusChanged, this, [this] {
            if (!m_playWhenReady)
                return;
            if (m_sound->status() == QSoundEffect::Ready) {
                m_playWhenReady = false;
                m_sound->play();
            } else if (m_sound->status() == QSoundEffect::Error) {
                m_playWhenReady = false;
                soundFailed();
            }
        });
    }
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (m_sound->source() == url && m_sound->status() == QSoundEffect::Ready) {
        m_sound->play();
        return;
    }
    if (m_sound->source() == url && m_sound->status() == QSoundEffect::Error) {
        soundFailed();
        return;
    }
    // Loading goes on in the background; the status says when it is done.
    m_playWhenReady = true;
    m_sound->setSource(url);
}

void ManualPage::soundFailed()
{
    m_main->settings().Zvuk = false;
    m_main->showMessage(engine::Msg::SoundCannotPlay);
}

// ---------------------------------------------------------------------------
// Candidates and the preview

void ManualPage::ScrollBar1Change(int position)
{
    hideNotice();
    Edit14->setText(QString::number(position));
    Image3->update();
}

void ManualPage::paintPreview(QPainter& painter)
{
    if (m_searching || !active() || m_session->candidates().empty())
        return;
    const int position = std::min(ScrollBar1->value(), m_session->sliderMax());
    std::vector<output::PreviewPiece> pieces;
    for (const engine::ManualPiece& p : m_session->candidatePieces(position))
        pieces.push_back({p.x, p.y, p.length, p.height, p.number});
    const engine::SheetInstance& sheet = m_session->currentSheetInstance();
    output::PreviewStatus st;
    {
        QtCanvas canvas(painter);
        st = output::paintManualPreview(canvas, QApplication::font().family().toStdString(), sheet.len, sheet.wid,
                                        Image3->width() - 1, Image3->height() - 1, pieces,
                                        m_session->candidateWaste(position), m_main->project().input.totalParts,
                                        m_main->language());
    }
    setStatus(0, qs(st.yield));
    setStatus(1, qs(st.pieces));
}

// ---------------------------------------------------------------------------
// O.K.

void ManualPage::BitBtn7Click()
{
    if (m_searching || !m_session || m_session->state() != engine::ManualState::WaitingForOk)
        return;
    hideNotice();
    const engine::ManualAcceptOutcome outcome =
        m_session->accept(ScrollBar1->value(), m_main->settings().ManualDuplicate);
    if (!outcome.accepted)
        return;
    m_main->markProjectChanged();
    if (outcome.finished) {
        if (outcome.message != engine::Msg::Ok)
            m_main->showMessage(outcome.message, Messenger::Kind::Plain);
        finishMode();
        return;
    }
    startSheet();
    Image3->update();
    BitBtn5->setFocus();
}

// ---------------------------------------------------------------------------
// Alpha steps, the finished notice

void ManualPage::addToAlpha(double step)
{
    const engine::Result<std::string> next = engine::addToAlphaText(Edit13->text().trimmed().toStdString(), step);
    if (!next) {
        m_main->showStatus(next.error(), Messenger::Kind::Error);
        return;
    }
    Edit13->setText(qs(*next));
}

void ManualPage::BitBtn12Click() { addToAlpha(0.001); }
void ManualPage::BitBtn13Click() { addToAlpha(0.005); }
void ManualPage::BitBtn14Click() { addToAlpha(0.010); }

void ManualPage::hideNotice()
{
    if (!Panel3->isHidden())
        Panel3->hide();
}

void ManualPage::Timer1Timer()
{
    // Hidden on the second tick.
    if (m_ticks++ == 1) {
        hideNotice();
        m_ticks = 0;
        Timer1->stop();
    }
}

void ManualPage::Panel3Click() { hideNotice(); }

} // namespace app
