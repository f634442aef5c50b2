#include "app/qt_text.h"
#include "app/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/bands_dialog.h"
#include "app/main_form.h"
#include "engine/language_choice.h"
#include "engine/settings_edit.h"
#include "engine/unit_change.h"

namespace app {

namespace {

template <class W>
W* named(W* w, const char* name)
{
    w->setObjectName(name);
    return w;
}

} // namespace

TFSettings::TFSettings(TMainForm* main)
    : QDialog(main)
    , m_main(main)
{
    setObjectName("TFSettings");
    setWindowTitle("Opcije");
    auto* v = new QVBoxLayout(this);
    m_tabs = named(new QTabWidget, "PageControl1");
    m_tabs->addTab(named(buildGeneral(), "TabSheet1"), "General");
    m_tabs->addTab(named(buildLayoutDetails(), "TabSheet2"), "Layout details");
    m_tabs->addTab(named(buildSaveLoad(), "TabSheet3"), "Save/Load/Import");
    m_tabs->addTab(named(buildViewReport(), "TabSheet4"), "View&&report");
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        if (m_tabs->currentWidget()->objectName() == "TabSheet4")
            drawHatching();
    });
    v->addWidget(m_tabs);
    auto* ok = named(new QPushButton("O.K."), "Button1");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    v->addLayout(row);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    main->registerCaptionWindow(2, this);
    main->LoadLanguage(main->languageName(), 2);
    setWindowTitle(main->text(91));
}

QWidget* TFSettings::buildGeneral()
{
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);

    auto* units = named(new QGroupBox("Jedinica mere"), "RadioGroup2");
    auto* uv = new QVBoxLayout(units);
    m_units = new QButtonGroup(this);
    const char* unitNames[] = {"mm", "cm", "m", "inch (decimal)", "inch (fraction)", "feet/inch"};
    for (int i = 0; i < 6; ++i) {
        auto* b = new QRadioButton(unitNames[i]);
        b->setObjectName(QString("RadioGroup2Item%1").arg(i));
        m_units->addButton(b, i);
        uv->addWidget(b);
    }
    connect(m_units, &QButtonGroup::idClicked, this, &TFSettings::RadioGroup2Click);
    g->addWidget(units, 0, 0, 3, 1);

    auto* area = named(new QGroupBox("Display area as square"), "areastyle");
    auto* av = new QVBoxLayout(area);
    m_areaStyle = named(new QComboBox, "areastyle_combo");
    for (const char* n : {"mm", "cm", "m", "in", "ft", "yd"})
        m_areaStyle->addItem(n);
    connect(m_areaStyle, &QComboBox::activated, this, &TFSettings::areastyle_comboChange);
    av->addWidget(m_areaStyle);
    g->addWidget(area, 0, 1);

    auto* sizes = named(new QGroupBox("Default table dimensions"), "GroupBox5");
    auto* sg = new QGridLayout(sizes);
    sg->addWidget(named(new QLabel("Length"), "Label10"), 0, 0);
    sg->addWidget(named(new QLabel("Width"), "Label12"), 0, 1);
    sg->addWidget(named(new QLineEdit, "defwidth"), 1, 0);
    sg->addWidget(named(new QLineEdit, "defheight"), 1, 1);
    g->addWidget(sizes, 1, 1);

    auto* opts = named(new QGroupBox("Options"), "GroupBox7");
    auto* ov = new QVBoxLayout(opts);
    auto* kant = named(new QCheckBox("Kantovanje"), "kantiranje");
    connect(kant, &QCheckBox::clicked, this, &TFSettings::kantiranjeClick);
    ov->addWidget(kant);
    g->addWidget(opts, 2, 1);

    auto* saw = named(new QGroupBox("Testera"), "GroupBox10");
    auto* tv = new QVBoxLayout(saw);
    tv->addWidget(named(new QLineEdit, "testera"));
    g->addWidget(saw, 3, 0);

    auto* autosave = named(new QGroupBox("Autosave options"), "GroupBox4");
    auto* asv = new QVBoxLayout(autosave);
    auto* pos = named(new QCheckBox("Window position"), "CheckBox1");
    connect(pos, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().frmpos = on; });
    asv->addWidget(pos);
    g->addWidget(autosave, 3, 1);

    auto* lang = named(new QGroupBox("Language"), "GroupBox6");
    auto* lv = new QVBoxLayout(lang);
    m_languages = named(new QComboBox, "ComboBox1");
    connect(m_languages, &QComboBox::textActivated, this, &TFSettings::ComboBox1Change);
    lv->addWidget(m_languages);
    g->addWidget(lang, 4, 0, 1, 2);

    for (const char* name : {"defwidth", "defheight", "testera"})
        page->findChild<QLineEdit*>(name)->installEventFilter(this);
    return page;
}

QWidget* TFSettings::buildLayoutDetails()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    const auto speedBox = [this](const char* box, const char* slider, const char* labels[6], auto store) {
        auto* g = named(new QGroupBox, box);
        auto* gl = new QGridLayout(g);
        for (int i = 0; i < 3; ++i) {
            gl->addWidget(named(new QLabel, labels[i]), 0, i,
                          i == 0 ? Qt::AlignLeft : i == 1 ? Qt::AlignHCenter : Qt::AlignRight);
            gl->addWidget(named(new QLabel, labels[i + 3]), 2, i,
                          i == 0 ? Qt::AlignLeft : i == 1 ? Qt::AlignHCenter : Qt::AlignRight);
        }
        auto* s = named(new QSlider(Qt::Horizontal), slider);
        s->setRange(0, 2);
        s->setTickPosition(QSlider::TicksBelow);
        connect(s, &QSlider::valueChanged, this, [this, store](int p) {
            if (!m_filling)
                store(p);
        });
        gl->addWidget(s, 1, 0, 1, 3);
        return g;
    };
    const char* manual[6] = {"Label1", "Label14", "Label15", "Label11", "Label16", "Label17"};
    const char* automatic[6] = {"Label18", "Label21", "Label22", "Label19", "Label20", "Label23"};
    QGroupBox* man = speedBox("GroupBox11", "TrackBar1", manual, [this](int p) { m_main->settings().manparam = p; });
    auto* mg = static_cast<QGridLayout*>(man->layout());
    auto* dup = named(new QCheckBox("Preview and print duplicated layouts"), "chk_manual_duplicate");
    connect(dup, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().ManualDuplicate = on; });
    mg->addWidget(dup, 3, 0, 1, 3);
    auto* zvuk = named(new QCheckBox("Zvuk"), "zvuk");
    connect(zvuk, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().Zvuk = on; });
    mg->addWidget(zvuk, 4, 0);
    m_soundPath = named(new QLineEdit, "SoundPath");
    m_soundPath->installEventFilter(this);
    connect(m_soundPath, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_main->settings().SoundPath = t.toStdString(); });
    auto* pick = named(new QPushButton("..."), "BitBtn1");
    pick->setFixedWidth(30);
    connect(pick, &QPushButton::clicked, this, &TFSettings::BitBtn1Click);
    auto* sound = new QHBoxLayout;
    sound->addWidget(m_soundPath, 1);
    sound->addWidget(pick);
    mg->addLayout(sound, 4, 1, 1, 2);
    v->addWidget(man);
    v->addWidget(speedBox("GroupBox12", "TrackBar2", automatic, [this](int p) { m_main->settings().autoparam = p; }));
    v->addStretch(1);
    return page;
}

QWidget* TFSettings::buildSaveLoad()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* g1 = named(new QGroupBox("Save/Load (extra parameters)"), "GroupBox1");
    auto* g1v = new QVBoxLayout(g1);
    auto* sema = named(new QCheckBox("Semu rezanja"), "LoadSema");
    connect(sema, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().LoadSema = on; });
    auto* rep = named(new QCheckBox("Izvestaje"), "LoadReport");
    connect(rep, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().LoadReport = on; });
    g1v->addWidget(sema);
    g1v->addWidget(rep);
    v->addWidget(g1);

    auto* g2 = named(new QGroupBox, "GroupBox2");
    auto* g2v = new QVBoxLayout(g2);
    auto* comma = named(new QCheckBox("Automatically convert commas to dots when loading data"), "CheckBox2");
    connect(comma, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().XlConvComma = on; });
    auto* append = named(new QCheckBox("Append imported data from Excel"), "CheckBox3");
    connect(append, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().XlAppend = on; });
    auto* radio = named(new QGroupBox, "RadioGroup1");
    auto* rv = new QVBoxLayout(radio);
    auto* group = new QButtonGroup(radio);
    group->setObjectName("RadioGroup1Buttons");
    for (int i = 0; i < 3; ++i) {
        auto* b = new QRadioButton;
        b->setObjectName(QString("RadioGroup1Item%1").arg(i));
        group->addButton(b, i);
        rv->addWidget(b);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { m_main->settings().XlAutoPref = id; });
    g2v->addWidget(comma);
    g2v->addWidget(append);
    g2v->addWidget(radio);
    v->addWidget(g2);
    v->addStretch(1);
    return page;
}

QWidget* TFSettings::buildViewReport()
{
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);

    auto* prices = named(new QGroupBox, "GroupBox8");
    auto* pg = new QGridLayout(prices);
    pg->addWidget(named(new QLabel("M2 TABLE"), "Label50"), 0, 0);
    pg->addWidget(named(new QLineEdit, "cena1"), 0, 1);
    pg->addWidget(named(new QLabel("DUZINI REZANJA (M)"), "Label42"), 1, 0);
    pg->addWidget(named(new QLineEdit, "cena2"), 1, 1);
    for (const char* name : {"cena1", "cena2"}) {
        QLineEdit* e = prices->findChild<QLineEdit*>(name);
        connect(e, &QLineEdit::textEdited, this, [this, e] { cenaChange(e); });
    }
    g->addWidget(prices, 0, 0);

    auto* offcut = named(new QGroupBox("Visak koji ostaje firmi"), "GroupBox9");
    auto* og = new QGridLayout(offcut);
    og->addWidget(named(new QLabel("M2 TABLE"), "Label2"), 0, 0);
    og->addWidget(named(new QLabel("M2 TABLE"), "Label3"), 0, 1);
    og->addWidget(named(new QLineEdit, "minviska"), 1, 0);
    og->addWidget(named(new QLineEdit, "minviska2"), 1, 1);
    for (const char* name : {"minviska", "minviska2"})
        offcut->findChild<QLineEdit*>(name)->installEventFilter(this);
    g->addWidget(offcut, 0, 1);

    auto* company = named(new QGroupBox, "GroupBox3");
    auto* cg = new QGridLayout(company);
    cg->addWidget(named(new QLabel("Company Name"), "Label6"), 0, 0);
    auto* name = named(new QLineEdit, "CompanyName");
    connect(name, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_main->settings().CompanyName = t.toStdString(); });
    cg->addWidget(name, 1, 0);
    cg->addWidget(named(new QLabel("Company Details"), "Label7"), 0, 1);
    auto* details = named(new QLineEdit, "CompanyDetails");
    connect(details, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_main->settings().CompanyDetails = t.toStdString(); });
    cg->addWidget(details, 1, 1);
    cg->addWidget(named(new QLabel("Date format"), "Label8"), 2, 0);
    auto* dates = named(new QComboBox, "ComboBox2");
    dates->setEditable(true);
    dates->addItems({"dd/mm/yyyy", "ddd/mm/yyyy", "ddd/mmm/yyyy", "mm/dd/yyyy", "mmm/dd/yyyy", "mmm/ddd/yyyy"});
    connect(dates, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (!m_filling)
            m_main->settings().DateFormat = t.toStdString();
    });
    cg->addWidget(dates, 3, 0);
    cg->addWidget(named(new QLabel("Srafura"), "Label13"), 2, 1);
    m_scrollBar1 = named(new QScrollBar(Qt::Horizontal), "ScrollBar1");
    m_scrollBar1->setRange(5, 50);
    connect(m_scrollBar1, &QScrollBar::valueChanged, this, &TFSettings::ScrollBar1Change);
    m_hatchingValue = named(new QLabel, "Label9");
    auto* hatchRow = new QHBoxLayout;
    hatchRow->addWidget(m_scrollBar1, 1);
    hatchRow->addWidget(m_hatchingValue);
    cg->addLayout(hatchRow, 3, 1);
    m_hatching = named(new QLabel, "Image1");
    m_hatching->setFixedSize(120, 60);
    cg->addWidget(m_hatching, 4, 1);
    auto* font = named(new QPushButton, "Button2");
    connect(font, &QPushButton::clicked, this, &TFSettings::Button2Click);
    m_fontLabel = named(new QLabel, "lbl_font");
    cg->addWidget(font, 4, 0, Qt::AlignTop);
    cg->addWidget(m_fontLabel, 5, 0);
    auto* dup = named(new QCheckBox("Preview and print duplicated layouts"), "chk_print_duplicate");
    connect(dup, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().PrintDuplicate = on; });
    cg->addWidget(dup, 6, 0, 1, 2);
    g->addWidget(company, 1, 0, 1, 2);

    // The banding oversize is stored but never edited.
    auto* nadmera = named(new QLabel("NADMERA ZA KANTOVANJE "), "Label61");
    nadmera->hide();
    auto* nadmeraEdit = named(new QLineEdit, "nadmera");
    nadmeraEdit->hide();
    g->addWidget(nadmera, 2, 0);
    g->addWidget(nadmeraEdit, 2, 1);
    return page;
}

// ---------------------------------------------------------------------------

QLineEdit* TFSettings::lengthField(const char* name) const { return findChild<QLineEdit*>(name); }

QPoint TFSettings::messagePlace() const { return m_messagePlace.value_or(pos() + QPoint(100, 100)); }

void TFSettings::showEvent(QShowEvent* event)
{
    activate();
    QDialog::showEvent(event);
}

void TFSettings::activate()
{
    m_filling = true;
    engine::Settings& s = m_main->settings();
    m_languages->clear();
    for (const std::string& name : engine::availableLanguages(m_main->programFolder()))
        m_languages->addItem(qs(name));
    m_languages->setCurrentIndex(m_languages->findText(qs(m_main->languageName())));
    setWindowTitle(m_main->text(49));
    if (QAbstractButton* b = m_units->button(s.JedMere))
        b->setChecked(true);
    m_areaStyle->setCurrentIndex(s.AreaStyle);
    fillLengthFields();
    findChild<QCheckBox*>("zvuk")->setChecked(s.Zvuk);
    findChild<QLineEdit*>("cena1")->setText(qs(engine::FormatGeneral(static_cast<double>(s.CENA1), 6)));
    findChild<QLineEdit*>("cena2")->setText(qs(engine::FormatGeneral(static_cast<double>(s.CENA2), 6)));
    findChild<QSlider*>("TrackBar1")->setValue(s.manparam);
    findChild<QSlider*>("TrackBar2")->setValue(s.autoparam);
    findChild<QCheckBox*>("kantiranje")->setChecked(s.Kantiranje);
    findChild<QCheckBox*>("LoadSema")->setChecked(s.LoadSema);
    findChild<QCheckBox*>("LoadReport")->setChecked(s.LoadReport);
    findChild<QCheckBox*>("chk_print_duplicate")->setChecked(s.PrintDuplicate);
    findChild<QCheckBox*>("chk_manual_duplicate")->setChecked(s.ManualDuplicate);
    showFontLabel();
    findChild<QLineEdit*>("CompanyName")->setText(qs(s.CompanyName));
    findChild<QLineEdit*>("CompanyDetails")->setText(qs(s.CompanyDetails));
    findChild<QComboBox*>("ComboBox2")->setCurrentText(qs(s.DateFormat));
    m_scrollBar1->setValue(s.LayoutSrafura);
    drawHatching();
    move(m_main->frameGeometry().topLeft() + QPoint(100, 100));
    if (!m_messagePlace)
        m_messagePlace = pos() + QPoint(100, 100);
    findChild<QCheckBox*>("CheckBox2")->setChecked(s.XlConvComma);
    if (QAbstractButton* b = findChild<QButtonGroup*>("RadioGroup1Buttons")->button(s.XlAutoPref))
        b->setChecked(true);
    findChild<QCheckBox*>("CheckBox3")->setChecked(s.XlAppend);
    m_soundPath->setText(qs(s.SoundPath));
    findChild<QCheckBox*>("CheckBox1")->setChecked(s.frmpos);
    m_filling = false;
}

void TFSettings::fillLengthFields()
{
    const engine::Settings& s = m_main->settings();
    const engine::LengthUnit u = m_main->unit();
    lengthField("testera")->setText(qs(engine::FormatLength(s.Testera, u)));
    lengthField("minviska")->setText(qs(engine::FormatLength(s.Visak, u)));
    lengthField("minviska2")->setText(qs(engine::FormatLength(s.Visak2, u)));
    lengthField("defwidth")->setText(qs(engine::FormatLength(s.DefSheetWidth, u)));
    lengthField("defheight")->setText(qs(engine::FormatLength(s.DefSheetHeight, u)));
}

void TFSettings::showFontLabel()
{
    const engine::Settings& s = m_main->settings();
    m_fontLabel->setText(qs(s.DefFont) + " " + QString::number(s.StatFontSize) + " pt");
}

void TFSettings::languageChanged()
{
    m_areaStyle->setCurrentIndex(m_main->settings().AreaStyle);
    setWindowTitle(m_main->text(91));
}

bool TFSettings::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit)
        return QDialog::eventFilter(watched, event);
    const bool isSound = edit == m_soundPath;
    if (event->type() == QEvent::FocusIn && !isSound)
        m_remembered = edit->text();
    if (event->type() == QEvent::FocusOut)
        isSound ? SoundPathExit() : lengthFieldExit(edit);
    if (event->type() == QEvent::KeyPress && !isSound) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            lengthFieldExit(edit);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFSettings::lengthFieldExit(QLineEdit* edit)
{
    const engine::LengthSetting r = engine::readLengthSetting(edit->text().toStdString(), m_main->unit());
    if (r.msg != engine::Msg::Ok && r.msg != engine::Msg::CannotConvertValue) {
        // The old text goes back before the box takes the focus away.
        edit->setText(m_remembered);
        m_main->showMessage(r.msg, Messenger::Kind::Error, Messenger::Buttons::Ok, messagePlace());
        return;
    }
    edit->setText(qs(r.text));
    if (r.msg == engine::Msg::CannotConvertValue) {
        m_main->showMessage(r.msg, Messenger::Kind::Warning, Messenger::Buttons::Ok, messagePlace());
        return;
    }
    engine::Settings& s = m_main->settings();
    const QString name = edit->objectName();
    // The kerf is held in 16 bits: a longer one is refused, never wrapped.
    if (name == "testera" && !engine::setSetting(s, "Testera", std::to_string(r.value)).ok()) {
        edit->setText(m_remembered);
        m_main->showMessage(engine::Msg::CannotConvertValue, Messenger::Kind::Warning, Messenger::Buttons::Ok,
                            messagePlace());
        return;
    }
    m_remembered = edit->text();
    if (name == "minviska")
        s.Visak = r.value;
    else if (name == "minviska2")
        s.Visak2 = r.value;
    else if (name == "defwidth")
        s.DefSheetWidth = r.value;
    else if (name == "defheight")
        s.DefSheetHeight = r.value;
}

void TFSettings::cenaChange(QLineEdit* edit)
{
    float& price = edit->objectName() == "cena1" ? m_main->settings().CENA1 : m_main->settings().CENA2;
    if (engine::readPrice(edit->text().toStdString(), price))
        return;
    m_main->showMessage(engine::Msg::CannotConvertValue, Messenger::Kind::Warning, Messenger::Buttons::Ok,
                        messagePlace());
    edit->setText(qs(engine::priceText(price)));
}

void TFSettings::RadioGroup2Click(int unit)
{
    engine::Settings& s = m_main->settings();
    if (unit == s.JedMere)
        return;
    const engine::LengthUnit from = m_main->unit();
    const engine::LengthUnit to = engine::lengthUnitFromInt(unit);
    const bool layoutsShown = m_main->resultPageVisible();

    s.JedMere = unit;  // the five fields are reformatted in the new unit
    fillLengthFields();
    s.JedMere = engine::toInt(from);
    m_main->setSheetEntrySize(lengthField("defwidth")->text(), lengthField("defheight")->text());

    for (const engine::Msg m : engine::convertTables(m_main->project(), from, to))
        m_main->showMessage(m, Messenger::Kind::Warning, Messenger::Buttons::Ok, messagePlace());
    if (TBands* bands = m_main->bandsDialog()) {
        for (const engine::Msg m : engine::convertBandGrid(bands->grid(), from, to))
            m_main->showMessage(m, Messenger::Kind::Warning, Messenger::Buttons::Ok, messagePlace());
        bands->btnBandSaveClick();
    }
    s.JedMere = unit;
    m_main->refreshTables();
    m_main->refreshUnitCaptions();
    if (m_main->reportLineCount() > 1)
        m_main->ShowResults();
    m_main->setResultPageVisible(layoutsShown);
}

void TFSettings::areastyle_comboChange(int index)
{
    const bool layoutsShown = m_main->resultPageVisible();
    m_main->settings().AreaStyle = index;
    m_main->refreshUnitCaptions();
    m_main->ShowResults();
    m_main->setResultPageVisible(layoutsShown);
}

void TFSettings::kantiranjeClick(bool checked)
{
    m_main->settings().Kantiranje = checked;
    m_main->applyBanding();
}

void TFSettings::ComboBox1Change(const QString& name)
{
    if (!m_filling)
        m_main->changeLanguage(name.toStdString());
}

void TFSettings::Button2Click()
{
    engine::Settings& s = m_main->settings();
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, QFont(qs(s.DefFont), s.StatFontSize), this);
    if (!ok)
        return;
    s.DefFont = chosen.family().toStdString();
    s.StatFontSize = chosen.pointSize();
    m_main->applyReportFont();
    if (m_main->reportLineCount() > 1)
        m_main->ShowResults();
    showFontLabel();
}

void TFSettings::ScrollBar1Change(int position)
{
    m_hatchingValue->setText(QString::number(position));
    if (!m_filling)
        m_main->settings().LayoutSrafura = position;
    drawHatching();
}

void TFSettings::drawHatching()
{
    const int p = m_scrollBar1->value();
    const int w = m_hatching->width();
    const int h = m_hatching->height();
    QPixmap picture(w, h);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    painter.drawRect(0, 0, w - 1, h - 1);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    // Parallel 45-degree lines p pixels apart, from the top and left edges
    // to the right and bottom ones.
    for (int s = 0; p > 0 && s <= w + h; s += p)
        painter.drawLine(qMin(s, w), s > w ? s - w : 0, s > h ? s - h : 0, qMin(s, h));
    painter.end();
    m_hatching->setPixmap(picture);
    m_hatchingValue->setText(QString::number(p));
}

void TFSettings::SoundPathExit()
{
    const engine::SoundPathCheck c =
        engine::checkSoundPath(m_soundPath->text().toStdString(), m_main->programFolder());
    if (c.msg == engine::Msg::Ok)
        return;
    m_main->showMessage(c.msg, Messenger::Kind::Warning, Messenger::Buttons::Ok, messagePlace());
    m_soundPath->setText(qs(c.path));
    m_main->settings().SoundPath = c.path;
}

void TFSettings::BitBtn1Click()
{
    const QString file = QFileDialog::getOpenFileName(this, QString(), m_soundPath->text(), "Sound files (*.wav)");
    if (file.isEmpty())
        return;
    m_soundPath->setText(file);
    m_main->settings().SoundPath = file.toStdString();
}

} // namespace app
