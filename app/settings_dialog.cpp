#include "app/named_widgets.h"
#include "app/settings_dialog.h"

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
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/bands_dialog.h"
#include "app/captions.h"
#include "app/main_form.h"
#include "app/qt_text.h"
#include "app/radio_group.h"
#include "engine/band_types.h"
#include "engine/language_choice.h"
#include "engine/settings_edit.h"
#include "engine/unit_change.h"

namespace app {

namespace {

} // namespace

TFSettings::TFSettings(TMainForm* main)
    : QDialog(main)
    , m_main(main)
{
    setObjectName("TFSettings");
    setWindowTitle("Opcije");
    auto* v = new QVBoxLayout(this);
    PageControl1 = named(new QTabWidget, "PageControl1");
    PageControl1->addTab(TabSheet1 = named(buildGeneral(), "TabSheet1"), "General");
    PageControl1->addTab(TabSheet2 = named(buildLayoutDetails(), "TabSheet2"), "Layout details");
    PageControl1->addTab(TabSheet3 = named(buildSaveLoad(), "TabSheet3"), "Save/Load/Import");
    PageControl1->addTab(TabSheet4 = named(buildViewReport(), "TabSheet4"), "View&&report");
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (PageControl1->currentWidget() == TabSheet4)
            drawHatching();
    });
    v->addWidget(PageControl1);
    Button1 = named(new QPushButton("O.K."), "Button1");
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(Button1);
    v->addLayout(row);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    for (QLineEdit* e : {defwidth, defheight, testera, minviska, minviska2, SoundPath})
        e->installEventFilter(this);
    CaptionTargets targets;
    addCaptionTargets(targets);
    main->registerCaptionWindow(2, this, std::move(targets));
    main->LoadLanguage(main->languageName(), 2);
    setWindowTitle(main->text(91));
}

void TFSettings::addCaptionTargets(CaptionTargets& targets) const
{
    targets.add({Button2,    Label10,    Label12,     GroupBox10, GroupBox8,   Label50,     Label42,    GroupBox9,
                 Label61,    kantiranje, GroupBox6,   zvuk,       RadioGroup2, Label2,      Label3,     GroupBox5,
                 GroupBox1,  LoadReport, LoadSema,    GroupBox3,  Label6,      Label7,      Label8,     Label13,
                 CheckBox2,  RadioGroup1, GroupBox2,  GroupBox7,  GroupBox11,  GroupBox12,  Label1,     Label18,
                 Label11,    Label19,    Label14,     Label21,    Label16,     Label20,     Label15,    Label22,
                 Label17,    Label23,    CheckBox3,   Button1,    TabSheet1,   TabSheet2,   TabSheet3,  TabSheet4,
                 GroupBox4,  CheckBox1,  areastyle,   areastyle_combo, chk_print_duplicate, chk_manual_duplicate,
                 chk_deep});
}

QWidget* TFSettings::buildGeneral()
{
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);

    RadioGroup2 = named(new RadioGroup("Jedinica mere"), "RadioGroup2");
    for (const char* unit : {"mm", "cm", "m", "inch (decimal)", "inch (fraction)", "feet/inch"})
        RadioGroup2->addItem(unit);
    connect(RadioGroup2, &RadioGroup::itemClicked, this, &TFSettings::RadioGroup2Click);
    g->addWidget(RadioGroup2, 0, 0, 3, 1);

    areastyle = named(new QGroupBox("Display area as square"), "areastyle");
    auto* av = new QVBoxLayout(areastyle);
    areastyle_combo = named(new QComboBox, "areastyle_combo");
    for (const char* n : {"mm", "cm", "m", "in", "ft", "yd"})
        areastyle_combo->addItem(n);
    connect(areastyle_combo, &QComboBox::activated, this, &TFSettings::areastyle_comboChange);
    av->addWidget(areastyle_combo);
    g->addWidget(areastyle, 0, 1);

    GroupBox5 = named(new QGroupBox("Default table dimensions"), "GroupBox5");
    auto* sg = new QGridLayout(GroupBox5);
    sg->addWidget(Label10 = named(new QLabel("Length"), "Label10"), 0, 0);
    sg->addWidget(Label12 = named(new QLabel("Width"), "Label12"), 0, 1);
    sg->addWidget(defwidth = named(new QLineEdit, "defwidth"), 1, 0);
    sg->addWidget(defheight = named(new QLineEdit, "defheight"), 1, 1);
    g->addWidget(GroupBox5, 1, 1);

    GroupBox7 = named(new QGroupBox("Options"), "GroupBox7");
    auto* ov = new QVBoxLayout(GroupBox7);
    kantiranje = named(new QCheckBox("Kantovanje"), "kantiranje");
    connect(kantiranje, &QCheckBox::clicked, this, &TFSettings::kantiranjeClick);
    ov->addWidget(kantiranje);
    g->addWidget(GroupBox7, 2, 1);

    GroupBox10 = named(new QGroupBox("Testera"), "GroupBox10");
    auto* tv = new QVBoxLayout(GroupBox10);
    tv->addWidget(testera = named(new QLineEdit, "testera"));
    g->addWidget(GroupBox10, 3, 0);

    GroupBox4 = named(new QGroupBox("Autosave options"), "GroupBox4");
    auto* asv = new QVBoxLayout(GroupBox4);
    CheckBox1 = named(new QCheckBox("Window position"), "CheckBox1");
    connect(CheckBox1, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().frmpos = on; });
    asv->addWidget(CheckBox1);
    g->addWidget(GroupBox4, 3, 1);

    GroupBox6 = named(new QGroupBox("Language"), "GroupBox6");
    auto* lv = new QVBoxLayout(GroupBox6);
    ComboBox1 = named(new QComboBox, "ComboBox1");
    connect(ComboBox1, &QComboBox::textActivated, this, &TFSettings::ComboBox1Change);
    lv->addWidget(ComboBox1);
    g->addWidget(GroupBox6, 4, 0, 1, 2);
    return page;
}

QGroupBox* TFSettings::buildSpeedBox(const char* boxName, const char* sliderName, QSlider*& slider,
                                     const std::array<QLabel**, 6>& labels, const std::array<const char*, 6>& names,
                                     std::function<void(int)> store)
{
    auto* box = named(new QGroupBox, boxName);
    auto* gl = new QGridLayout(box);
    for (int i = 0; i < 3; ++i) {
        const Qt::Alignment align = i == 0 ? Qt::AlignLeft : i == 1 ? Qt::AlignHCenter : Qt::AlignRight;
        gl->addWidget(*labels[i] = named(new QLabel, names[i]), 0, i, align);
        gl->addWidget(*labels[i + 3] = named(new QLabel, names[i + 3]), 2, i, align);
    }
    slider = named(new QSlider(Qt::Horizontal), sliderName);
    slider->setRange(0, 2);
    slider->setTickPosition(QSlider::TicksBelow);
    connect(slider, &QSlider::valueChanged, this, [this, store = std::move(store)](int p) {
        if (!m_filling)
            store(p);
    });
    gl->addWidget(slider, 1, 0, 1, 3);
    return box;
}

QWidget* TFSettings::buildLayoutDetails()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    GroupBox11 = buildSpeedBox("GroupBox11", "TrackBar1", TrackBar1,
                               {&Label1, &Label14, &Label15, &Label11, &Label16, &Label17},
                               {"Label1", "Label14", "Label15", "Label11", "Label16", "Label17"},
                               [this](int p) { m_main->settings().manparam = p; });
    auto* mg = static_cast<QGridLayout*>(GroupBox11->layout());
    chk_manual_duplicate = named(new QCheckBox("Preview and print duplicated layouts"), "chk_manual_duplicate");
    connect(chk_manual_duplicate, &QCheckBox::clicked, this,
            [this](bool on) { m_main->settings().ManualDuplicate = on; });
    mg->addWidget(chk_manual_duplicate, 3, 0, 1, 3);
    zvuk = named(new QCheckBox("Zvuk"), "zvuk");
    connect(zvuk, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().Zvuk = on; });
    mg->addWidget(zvuk, 4, 0);
    SoundPath = named(new QLineEdit, "SoundPath");
    connect(SoundPath, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_main->settings().SoundPath = t.toStdString(); });
    BitBtn1 = named(new QPushButton("..."), "BitBtn1");
    BitBtn1->setFixedWidth(30);
    connect(BitBtn1, &QPushButton::clicked, this, &TFSettings::BitBtn1Click);
    auto* sound = new QHBoxLayout;
    sound->addWidget(SoundPath, 1);
    sound->addWidget(BitBtn1);
    mg->addLayout(sound, 4, 1, 1, 2);
    v->addWidget(GroupBox11);
    GroupBox12 = buildSpeedBox("GroupBox12", "TrackBar2", TrackBar2,
                               {&Label18, &Label21, &Label22, &Label19, &Label20, &Label23},
                               {"Label18", "Label21", "Label22", "Label19", "Label20", "Label23"},
                               [this](int p) { m_main->settings().autoparam = p; });
    chk_deep = named(new QCheckBox("Deep optimisation"), "chk_deep");
    connect(chk_deep, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().DeepOpt = on; });
    static_cast<QGridLayout*>(GroupBox12->layout())->addWidget(chk_deep, 3, 0, 1, 3);
    v->addWidget(GroupBox12);
    v->addStretch(1);
    return page;
}

QWidget* TFSettings::buildSaveLoad()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    GroupBox1 = named(new QGroupBox("Save/Load (extra parameters)"), "GroupBox1");
    auto* g1v = new QVBoxLayout(GroupBox1);
    LoadSema = named(new QCheckBox("Semu rezanja"), "LoadSema");
    connect(LoadSema, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().LoadSema = on; });
    LoadReport = named(new QCheckBox("Izvestaje"), "LoadReport");
    connect(LoadReport, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().LoadReport = on; });
    g1v->addWidget(LoadSema);
    g1v->addWidget(LoadReport);
    v->addWidget(GroupBox1);

    GroupBox2 = named(new QGroupBox, "GroupBox2");
    auto* g2v = new QVBoxLayout(GroupBox2);
    CheckBox2 = named(new QCheckBox("Automatically convert commas to dots when loading data"), "CheckBox2");
    connect(CheckBox2, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().XlConvComma = on; });
    CheckBox3 = named(new QCheckBox("Append imported data from Excel"), "CheckBox3");
    connect(CheckBox3, &QCheckBox::clicked, this, [this](bool on) { m_main->settings().XlAppend = on; });
    RadioGroup1 = named(new RadioGroup, "RadioGroup1");
    for (int i = 0; i < 3; ++i)
        RadioGroup1->addItem(QString());
    connect(RadioGroup1, &RadioGroup::itemClicked, this, [this](int id) { m_main->settings().XlAutoPref = id; });
    g2v->addWidget(CheckBox2);
    g2v->addWidget(CheckBox3);
    g2v->addWidget(RadioGroup1);
    v->addWidget(GroupBox2);
    v->addStretch(1);
    return page;
}

QWidget* TFSettings::buildViewReport()
{
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);

    GroupBox8 = named(new QGroupBox, "GroupBox8");
    auto* pg = new QGridLayout(GroupBox8);
    pg->addWidget(Label50 = named(new QLabel("M2 TABLE"), "Label50"), 0, 0);
    pg->addWidget(cena1 = named(new QLineEdit, "cena1"), 0, 1);
    pg->addWidget(Label42 = named(new QLabel("DUZINI REZANJA (M)"), "Label42"), 1, 0);
    pg->addWidget(cena2 = named(new QLineEdit, "cena2"), 1, 1);
    for (QLineEdit* e : {cena1, cena2})
        connect(e, &QLineEdit::textEdited, this, [this, e] { cenaChange(e); });
    g->addWidget(GroupBox8, 0, 0);

    GroupBox9 = named(new QGroupBox("Visak koji ostaje firmi"), "GroupBox9");
    auto* og = new QGridLayout(GroupBox9);
    og->addWidget(Label2 = named(new QLabel("M2 TABLE"), "Label2"), 0, 0);
    og->addWidget(Label3 = named(new QLabel("M2 TABLE"), "Label3"), 0, 1);
    og->addWidget(minviska = named(new QLineEdit, "minviska"), 1, 0);
    og->addWidget(minviska2 = named(new QLineEdit, "minviska2"), 1, 1);
    g->addWidget(GroupBox9, 0, 1);

    GroupBox3 = named(new QGroupBox, "GroupBox3");
    auto* cg = new QGridLayout(GroupBox3);
    cg->addWidget(Label6 = named(new QLabel("Company Name"), "Label6"), 0, 0);
    CompanyName = named(new QLineEdit, "CompanyName");
    connect(CompanyName, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_main->settings().CompanyName = t.toStdString(); });
    cg->addWidget(CompanyName, 1, 0);
    cg->addWidget(Label7 = named(new QLabel("Company Details"), "Label7"), 0, 1);
    CompanyDetails = named(new QLineEdit, "CompanyDetails");
    connect(CompanyDetails, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_main->settings().CompanyDetails = t.toStdString(); });
    cg->addWidget(CompanyDetails, 1, 1);
    cg->addWidget(Label8 = named(new QLabel("Date format"), "Label8"), 2, 0);
    ComboBox2 = named(new QComboBox, "ComboBox2");
    ComboBox2->setEditable(true);
    ComboBox2->addItems({"dd/mm/yyyy", "ddd/mm/yyyy", "ddd/mmm/yyyy", "mm/dd/yyyy", "mmm/dd/yyyy", "mmm/ddd/yyyy"});
    connect(ComboBox2, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (!m_filling)
            m_main->settings().DateFormat = t.toStdString();
    });
    cg->addWidget(ComboBox2, 3, 0);
    cg->addWidget(Label13 = named(new QLabel("Srafura"), "Label13"), 2, 1);
    ScrollBar1 = named(new QScrollBar(Qt::Horizontal), "ScrollBar1");
    ScrollBar1->setRange(5, 50);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TFSettings::ScrollBar1Change);
    Label9 = named(new QLabel, "Label9");
    auto* hatchRow = new QHBoxLayout;
    hatchRow->addWidget(ScrollBar1, 1);
    hatchRow->addWidget(Label9);
    cg->addLayout(hatchRow, 3, 1);
    Image1 = named(new QLabel, "Image1");
    Image1->setFixedSize(120, 60);
    cg->addWidget(Image1, 4, 1);
    Button2 = named(new QPushButton, "Button2");
    connect(Button2, &QPushButton::clicked, this, &TFSettings::Button2Click);
    lbl_font = named(new QLabel, "lbl_font");
    cg->addWidget(Button2, 4, 0, Qt::AlignTop);
    cg->addWidget(lbl_font, 5, 0);
    chk_print_duplicate = named(new QCheckBox("Preview and print duplicated layouts"), "chk_print_duplicate");
    connect(chk_print_duplicate, &QCheckBox::clicked, this,
            [this](bool on) { m_main->settings().PrintDuplicate = on; });
    cg->addWidget(chk_print_duplicate, 6, 0, 1, 2);
    g->addWidget(GroupBox3, 1, 0, 1, 2);

    // The banding oversize is stored but never edited.
    Label61 = named(new QLabel("NADMERA ZA KANTOVANJE "), "Label61");
    Label61->hide();
    nadmera = named(new QLineEdit, "nadmera");
    nadmera->hide();
    g->addWidget(Label61, 2, 0);
    g->addWidget(nadmera, 2, 1);
    return page;
}

// ---------------------------------------------------------------------------

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
    ComboBox1->clear();
    for (const std::string& name : engine::availableLanguages(m_main->programFolder()))
        ComboBox1->addItem(qs(name));
    ComboBox1->setCurrentIndex(ComboBox1->findText(qs(m_main->languageName())));
    setWindowTitle(m_main->text(49));
    RadioGroup2->setCurrentIndex(s.JedMere);
    areastyle_combo->setCurrentIndex(s.AreaStyle);
    fillLengthFields();
    zvuk->setChecked(s.Zvuk);
    cena1->setText(qs(engine::formatGeneral(static_cast<double>(s.CENA1), 6)));
    cena2->setText(qs(engine::formatGeneral(static_cast<double>(s.CENA2), 6)));
    TrackBar1->setValue(s.manparam);
    TrackBar2->setValue(s.autoparam);
    kantiranje->setChecked(s.Kantiranje);
    LoadSema->setChecked(s.LoadSema);
    LoadReport->setChecked(s.LoadReport);
    chk_print_duplicate->setChecked(s.PrintDuplicate);
    chk_manual_duplicate->setChecked(s.ManualDuplicate);
    chk_deep->setChecked(s.DeepOpt);
    showFontLabel();
    CompanyName->setText(qs(s.CompanyName));
    CompanyDetails->setText(qs(s.CompanyDetails));
    ComboBox2->setCurrentText(qs(s.DateFormat));
    ScrollBar1->setValue(s.LayoutSrafura);
    drawHatching();
    move(m_main->frameGeometry().topLeft() + QPoint(100, 100));
    if (!m_messagePlace)
        m_messagePlace = pos() + QPoint(100, 100);
    CheckBox2->setChecked(s.XlConvComma);
    RadioGroup1->setCurrentIndex(s.XlAutoPref);
    CheckBox3->setChecked(s.XlAppend);
    SoundPath->setText(qs(s.SoundPath));
    CheckBox1->setChecked(s.frmpos);
    m_filling = false;
}

void TFSettings::fillLengthFields()
{
    const engine::Settings& s = m_main->settings();
    const engine::LengthUnit u = m_main->unit();
    testera->setText(qs(engine::FormatLength(s.Testera, u)));
    minviska->setText(qs(engine::FormatLength(s.Visak, u)));
    minviska2->setText(qs(engine::FormatLength(s.Visak2, u)));
    defwidth->setText(qs(engine::FormatLength(s.DefSheetWidth, u)));
    defheight->setText(qs(engine::FormatLength(s.DefSheetHeight, u)));
}

void TFSettings::showFontLabel()
{
    const engine::Settings& s = m_main->settings();
    lbl_font->setText(qs(s.DefFont) + " " + QString::number(s.StatFontSize) + " pt");
}

void TFSettings::languageChanged()
{
    areastyle_combo->setCurrentIndex(m_main->settings().AreaStyle);
    setWindowTitle(m_main->text(91));
}

bool TFSettings::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit)
        return QDialog::eventFilter(watched, event);
    const bool isSound = edit == SoundPath;
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
    using F = engine::LengthSettingField;
    const F field = edit == testera ? F::Kerf
        : edit == minviska         ? F::MinOffcut
        : edit == minviska2        ? F::MinOffcut2
        : edit == defwidth         ? F::DefaultSheetWidth
                                   : F::DefaultSheetHeight;
    const engine::LengthSettingEdit r =
        engine::editLengthSetting(m_main->settings(), field, edit->text().toStdString(), m_main->unit());
    // The field's text is set before the box takes the focus away.
    edit->setText(r.restore ? m_remembered : qs(r.text));
    if (r.msg == engine::Msg::Ok) {
        m_remembered = edit->text();
        return;
    }
    m_main->showMessage(r.msg, r.warning ? Messenger::Kind::Warning : Messenger::Kind::Error, Messenger::Buttons::Ok,
                        messagePlace());
}

void TFSettings::cenaChange(QLineEdit* edit)
{
    float& price = edit == cena1 ? m_main->settings().CENA1 : m_main->settings().CENA2;
    if (engine::readPrice(edit->text().toStdString(), price))
        return;
    m_main->showMessage(engine::Msg::CannotConvertValue, Messenger::Kind::Warning, Messenger::Buttons::Ok,
                        messagePlace());
    edit->setText(qs(engine::priceText(price)));
}

void TFSettings::RadioGroup2Click(int unit)
{
    TBands* bands = m_main->bandsDialog();
    engine::BandTypeTable edits = bands ? bands->table() : m_main->bandTypes();
    const bool layoutsShown = m_main->resultPageVisible();
    const engine::UnitChange change =
        engine::changeLengthUnit(m_main->project(), m_main->settings(), edits, engine::lengthUnitFromInt(unit),
                                 engine::bandTypesPath(m_main->programFolder(), engine::DataUse::Write));
    if (!change.changed)
        return;
    fillLengthFields();
    m_main->setSheetEntrySize(qs(change.texts.sheetLength), qs(change.texts.sheetWidth));
    for (const engine::Msg m : change.warnings)
        m_main->showMessage(m, Messenger::Kind::Warning, Messenger::Buttons::Ok, messagePlace());
    if (change.bandFile.ok()) {
        if (bands)
            bands->loadGrid();
        m_main->LoadBandTypes();
    } else {
        if (bands)
            bands->setTable(edits);  // the converted edits stay for another OK
        m_main->showStatus(change.bandFile, Messenger::Kind::Error);
    }
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
    Label9->setText(QString::number(position));
    if (!m_filling)
        m_main->settings().LayoutSrafura = position;
    drawHatching();
}

void TFSettings::drawHatching()
{
    const int p = ScrollBar1->value();
    const int w = Image1->width();
    const int h = Image1->height();
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
    Image1->setPixmap(picture);
    Label9->setText(QString::number(p));
}

void TFSettings::SoundPathExit()
{
    const engine::SoundPathCheck c = engine::checkSoundPath(SoundPath->text().toStdString(), m_main->programFolder());
    if (c.msg == engine::Msg::Ok)
        return;
    m_main->showMessage(c.msg, Messenger::Kind::Warning, Messenger::Buttons::Ok, messagePlace());
    SoundPath->setText(qs(c.path));
    m_main->settings().SoundPath = c.path;
}

void TFSettings::BitBtn1Click()
{
    const QString file = QFileDialog::getOpenFileName(this, QString(), SoundPath->text(), "Sound files (*.wav)");
    if (file.isEmpty())
        return;
    SoundPath->setText(file);
    m_main->settings().SoundPath = file.toStdString();
}

} // namespace app
