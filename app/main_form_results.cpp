// The automatic run, the result refresh, the report page and the stock
// commands that act on a shown result.

#include <atomic>
#include <functional>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_form.h"
#include "app/progress_window.h"
#include "app/qt_text.h"
#include "app/text_table_model.h"
#include "engine/auto_run.h"
#include "engine/band_grid.h"
#include "engine/offcut_reuse.h"
#include "engine/rand31.h"
#include "output/report_text.h"
#include "output/show_results.h"

namespace app {

QWidget* TMainForm::buildReportPanel(const char* panelName, const char* captionName, QTextEdit* box,
                                     const char* printName, const char* clearName)
{
    auto* panel = new QWidget;
    panel->setObjectName(panelName);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel;
    caption->setObjectName(captionName);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    v->addWidget(caption);
    v->addWidget(box, 1);
    auto* buttons = new QHBoxLayout;
    auto* print = new QToolButton;
    print->setObjectName(printName);
    print->setIcon(QIcon(":/icons/print.svg"));
    print->setIconSize(QSize(20, 20));
    // Printing of the boxes comes with the print commands.
    print->setEnabled(false);
    auto* clear = new QToolButton;
    clear->setObjectName(clearName);
    clear->setIcon(QIcon(":/icons/clear.svg"));
    clear->setIconSize(QSize(20, 20));
    connect(clear, &QToolButton::clicked, box, &QTextEdit::clear);
    buttons->addWidget(print);
    buttons->addWidget(clear);
    buttons->addStretch(1);
    v->addLayout(buttons);
    return panel;
}

QWidget* TMainForm::buildReportPage()
{
    auto* page = new QWidget;
    auto* lay = new QHBoxLayout(page);
    m_report = new QTextEdit;
    m_report->setObjectName("RichEdit1");
    m_report->setReadOnly(true);
    m_report->setLineWrapMode(QTextEdit::NoWrap);
    m_bill = new QTextEdit;
    m_bill->setObjectName("RichEdit2");
    m_bill->setReadOnly(true);
    m_bill->setLineWrapMode(QTextEdit::NoWrap);
    QWidget* bill = buildReportPanel("panBill", "Panel5", m_bill, "StampajCene", "BitBtn19");
    bill->setFixedWidth(280);
    lay->addWidget(buildReportPanel("panReport", "Panel4", m_report, "Stampaj", "ObrisiIzvestaj"), 1);
    lay->addWidget(bill);

    // The commands of the input page that start or use a result; the input
    // page is built before this one.
    connect(findChild<QPushButton*>("Button4"), &QPushButton::clicked, this, &TMainForm::Button4Click);
    connect(findChild<QPushButton*>("BitBtn15"), &QPushButton::clicked, this, &TMainForm::BitBtn15Click);
    connect(findChild<QPushButton*>("TableMinus"), &QPushButton::clicked, this, &TMainForm::TableMinusClick);
    return page;
}

namespace {

// The report aligns its columns with spaces. Font matching may hand back a
// proportional font for "Courier New", and some monospaced fonts do not say
// they are, so the widths are what counts.
bool monospaced(const QFont& font)
{
    const QFontMetricsF m(font);
    return m.horizontalAdvance('i') == m.horizontalAdvance('W') && m.horizontalAdvance(' ') == m.horizontalAdvance('W');
}

} // namespace

void TMainForm::applyReportFont()
{
    QFont f("Courier New");
    f.setStyleHint(QFont::TypeWriter);
    if (!monospaced(f))
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSize(m_settings.StatFontSize);
    for (QTextEdit* box : {m_report, m_bill}) {
        box->setFont(f);
        box->document()->setDefaultFont(f);
    }
    // The title lines carry sizes of their own, taken from the box font.
    if (!m_report->document()->isEmpty())
        showRichText(m_report, m_project.report);
    if (!m_bill->document()->isEmpty())
        showRichText(m_bill, m_project.bill);
}

void TMainForm::showRichText(QTextEdit* box, const engine::RichText& text)
{
    box->clear();
    const QFont base = box->document()->defaultFont();
    QTextCursor cursor(box->document());
    cursor.beginEditBlock();
    for (size_t i = 0; i < text.size(); ++i) {
        QTextCharFormat format;
        format.setFont(base);
        format.setFontWeight(output::boldInEffect(text, i) ? QFont::Bold : QFont::Normal);
        format.setFontPointSize(base.pointSizeF() + text[i].sizeDelta);
        if (i > 0)
            cursor.insertBlock();
        cursor.setCharFormat(format);
        cursor.insertText(qs(text[i].text), format);
    }
    cursor.endEditBlock();
    box->moveCursor(QTextCursor::Start);
}

void TMainForm::ShowResults()
{
    const output::ShowResultsOutcome shown =
        output::showResultsCore(m_project, m_settings, engine::bandTableFromGrid(m_bandTypes), m_lang);
    // The drawing follows the result also when message 20 follows.
    refreshDiagram(false);
    showRichText(m_report, m_project.report);
    showRichText(m_bill, m_project.bill);
    refreshTables();
    refreshUnitCaptions();
    for (const engine::Status& w : shown.warnings)
        showStatus(w, Messenger::Kind::Warning);
    if (!shown.allPlaced) {
        showMessage(engine::Msg::NotAllPartsPlaced, Messenger::Kind::Plain);
        return;
    }
    m_pages->setTabVisible(m_pages->indexOf(m_pag1), true);
    m_pages->setTabVisible(m_pages->indexOf(m_pag2), false);
    setResultPageVisible(true);
    findChild<QWidget*>("BitBtn15")->setEnabled(shown.canTakeOffcuts);
    findChild<QWidget*>("TableMinus")->setEnabled(shown.canSubtractSheets);
    findChild<QAction*>("Print1")->setEnabled(true);
}

TwndProgress* TMainForm::progressWindow()
{
    if (!m_progress)
        m_progress = new TwndProgress(this);
    return m_progress;
}

void TMainForm::Button4Click()
{
    // The run works on a copy of the project and of the generator; they
    // replace the originals only when every attempt ran, so Cancel leaves
    // tables, order, result, report and random sequence as they were.
    // An open cell editor writes its text now, before the rows are sorted.
    findChild<QWidget*>("Button4")->setFocus();
    engine::Project work = m_project;
    if (const engine::Status st = engine::PrepareEngineInput(work, m_settings); !st.ok()) {
        showStatus(st, Messenger::Kind::Error);
        return;
    }
    engine::Rand31 rng = engine::programRand31();
    const engine::Settings settings = m_settings;
    engine::AutoRunOutcome outcome;
    const bool done = progressWindow()->run(
        this, text(engine::Msg::AutomaticProgressCaption), text(58),
        [&](const std::atomic<bool>& cancel, const TwndProgress::Progress& progress) {
            engine::AutoRunOptions options;
            options.rng = &rng;
            options.cancel = &cancel;
            options.progress = progress;
            outcome = engine::runAutomatic(work, settings, options);
        });
    if (progressWindow()->failed()) {
        showMessage(engine::Msg::RunFailed);
        return;
    }
    if (!done || outcome.cancelled || !outcome.status.ok())
        return;
    m_project = std::move(work);
    engine::programRand31() = rng;
    firstDiagramGroup();
    ShowResults();
}

void TMainForm::screenshotAutomaticRun(const QString& folder)
{
    if (m_project.sheetRowCount() == 0 || m_project.partRowCount() == 0)
        return;
    bool shot = false;
    const QMetaObject::Connection c = connect(progressWindow(), &TwndProgress::barChanged, this, [&](int value) {
        if (shot || value < 40)
            return;
        shot = true;
        m_progress->grab().save(folder + "/progress.png");
        if (QScreen* screen = m_progress->screen())
            screen->grabWindow(0).save(folder + "/progress_screen.png");
    });
    Button4Click();
    disconnect(c);
    m_pages->setCurrentWidget(m_pag4);
    QApplication::processEvents();
    grab().save(folder + "/report.png");
    m_pages->setCurrentWidget(m_pag1);
    QApplication::processEvents();
    grab().save(folder + "/input_result.png");
}

void TMainForm::BitBtn15Click()
{
    findChild<QWidget*>("BitBtn15")->setEnabled(false);
    const engine::Result<int> added = engine::takeGoodOffcuts(m_project, m_settings, m_lang);
    if (!added) {
        showStatus(added.error(), Messenger::Kind::Error);
        return;
    }
    m_model1->refresh();
    sheetRowsChanged();
}

void TMainForm::TableMinusClick()
{
    findChild<QWidget*>("TableMinus")->setEnabled(false);
    const engine::Result<int> subtracted = engine::subtractUsedSheets(m_project, m_settings);
    if (!subtracted) {
        showStatus(subtracted.error(), Messenger::Kind::Error);
        return;
    }
    m_model1->refresh();
    sheetRowsChanged();
}

} // namespace app
