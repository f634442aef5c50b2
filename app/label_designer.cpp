#include "app/label_designer.h"

#include <cmath>

#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/label_print_dialog.h"
#include "app/main_form.h"
#include "app/named_widgets.h"
#include "app/print_dialog.h"
#include "app/qt_text.h"
#include "engine/units.h"
#include "render/qt_canvas.h"

namespace app {

namespace {

constexpr int kDesignerCaptionGroup = 10;
constexpr int kNewCaptionGroup = 13;
constexpr double kStep = 0.1;
constexpr int kMaxPerPage = 999;
// The sample: the A4 page with its shadow and a little white around it.
constexpr int kSampleWidth = 242;
constexpr int kSampleHeight = 314;

QComboBox* unitList(const char* name)
{
    auto* c = named(new QComboBox, name);
    c->addItems({"mm", "cm", "inch"});
    return c;
}

std::string definitionsPath(const TMainForm* main, engine::DataUse use)
{
    return labels::labelDefinitionsPath(main->programFolder(), use);
}

bool readNumber(const QString& text, double& out)
{
    return engine::parseDecimal(text.toStdString(), out) && std::isfinite(out);
}

// A margin in millimetres, or -1 when the field is no number.
double toMm(const QString& text, int unit)
{
    const auto mm = labels::convertLabelUnit(text.toStdString(), unit, 0);
    double v = -1;
    return mm && readNumber(qs(*mm), v) ? v : -1;
}

} // namespace

SpinButton::SpinButton(const char* name)
{
    setObjectName(name);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    up = new QToolButton;
    up->setObjectName("up");
    up->setArrowType(Qt::UpArrow);
    up->setFixedSize(18, 11);
    down = new QToolButton;
    down->setObjectName("down");
    down->setArrowType(Qt::DownArrow);
    down->setFixedSize(18, 11);
    v->addWidget(up);
    v->addWidget(down);
}

LabelSample::LabelSample()
{
    setObjectName("LayoutSample");
    setFixedSize(kSampleWidth, kSampleHeight);
}

void LabelSample::setGeometryMm(const labels::LabelGeometry& g)
{
    m_geometry = g;
    update();
}

void LabelSample::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    render::QtCanvas canvas(painter);
    labels::drawLabelSample(canvas, m_geometry, width(), height());
}

TLabelNew::TLabelNew(TMainForm* main) : QDialog(main)
{
    setObjectName("TLabelNew");
    setWindowTitle("New label");
    auto* v = new QVBoxLayout(this);
    v->addWidget(lblNewLabelName = named(new QLabel("Save as:"), "lblNewLabelName"));
    v->addWidget(txtNewLabelName = named(new QLineEdit, "txtNewLabelName"));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(btnOK = named(new QPushButton("O.K."), "btnOK"));
    row->addWidget(btnCancel = named(new QPushButton("Cancel"), "btnCancel"));
    btnOK->setDefault(true);
    v->addLayout(row);
    setMinimumWidth(300);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    CaptionTargets targets;
    targets.add({lblNewLabelName, btnOK, btnCancel});
    main->registerCaptionWindow(kNewCaptionGroup, this, std::move(targets));
    main->LoadLanguage(main->languageName(), kNewCaptionGroup);
}

TcstLabel::TcstLabel(TMainForm* main) : QDialog(main), m_main(main)
{
    setObjectName("TcstLabel");
    setWindowTitle("Label sheet designer");
    auto row = [](QGridLayout* g, int r, QLabel* l, QLineEdit* e, SpinButton* s, QLabel* unit) {
        g->addWidget(l, r, 0);
        g->addWidget(e, r, 1);
        g->addWidget(s, r, 2);
        if (unit)
            g->addWidget(unit, r, 3);
        l->setBuddy(e);
    };
    auto edit = [](const char* name) {
        auto* e = named(new QLineEdit, name);
        e->setMaximumWidth(90);
        return e;
    };

    grpLabelSize = named(new QGroupBox("Label size"), "grpLabelSize");
    auto* g1 = new QGridLayout(grpLabelSize);
    row(g1, 0, lblSizeWidth = named(new QLabel("Width:"), "lblSizeWidth"), txtSizeWidth = edit("txtSizeWidth"),
        CSpinButton1 = new SpinButton("CSpinButton1"), nullptr);
    row(g1, 1, lblSizeLength = named(new QLabel("Length:"), "lblSizeLength"), txtSizeLength = edit("txtSizeLength"),
        CSpinButton2 = new SpinButton("CSpinButton2"), lblSizeLengthUnit = named(new QLabel("mm"), "lblSizeLengthUnit"));
    g1->addWidget(cmbSizeUnit = unitList("cmbSizeUnit"), 0, 3);

    grpMargins = named(new QGroupBox("Margins"), "grpMargins");
    auto* g2 = new QGridLayout(grpMargins);
    row(g2, 0, lblMarginLeft = named(new QLabel("Left:"), "lblMarginLeft"), txtMarginLeft = edit("txtMarginLeft"),
        CSpinButton3 = new SpinButton("CSpinButton3"), nullptr);
    g2->addWidget(cmbMarginUnit = unitList("cmbMarginUnit"), 0, 3);
    row(g2, 1, lblMarginRight = named(new QLabel("Right:"), "lblMarginRight"), txtMarginRight = edit("txtMarginRight"),
        CSpinButton4 = new SpinButton("CSpinButton4"), lblMarginRightUnit = named(new QLabel("mm"), "lblMarginRightUnit"));
    row(g2, 2, lblMarginTop = named(new QLabel("Top:"), "lblMarginTop"), txtMarginTop = edit("txtMarginTop"),
        CSpinButton5 = new SpinButton("CSpinButton5"), lblMarginTopUnit = named(new QLabel("mm"), "lblMarginTopUnit"));
    row(g2, 3, lblMarginBottom = named(new QLabel("Bottom:"), "lblMarginBottom"),
        txtMarginBottom = edit("txtMarginBottom"), CSpinButton6 = new SpinButton("CSpinButton6"),
        lblMarginBottomUnit = named(new QLabel("mm"), "lblMarginBottomUnit"));

    grpGutters = named(new QGroupBox("Gutters"), "grpGutters");
    auto* g3 = new QGridLayout(grpGutters);
    row(g3, 0, lblGutterHorizontal = named(new QLabel("Horizontal:"), "lblGutterHorizontal"),
        txtGutterHorizontal = edit("txtGutterHorizontal"), CSpinButton7 = new SpinButton("CSpinButton7"), nullptr);
    g3->addWidget(cmbGutterUnit = unitList("cmbGutterUnit"), 0, 3);
    row(g3, 1, lblGutterVertical = named(new QLabel("Vertical:"), "lblGutterVertical"),
        txtGutterVertical = edit("txtGutterVertical"), CSpinButton8 = new SpinButton("CSpinButton8"),
        lblGutterVerticalUnit = named(new QLabel("mm"), "lblGutterVerticalUnit"));

    grpLayout = named(new QGroupBox("Layout"), "grpLayout");
    auto* g4 = new QGridLayout(grpLayout);
    g4->addWidget(lblLayoutRows = named(new QLabel("Rows:"), "lblLayoutRows"), 0, 0);
    g4->addWidget(spnLayoutRows = named(new QSpinBox, "spnLayoutRows"), 0, 1);
    g4->addWidget(lblLayoutColumns = named(new QLabel("Columns:"), "lblLayoutColumns"), 1, 0);
    g4->addWidget(spnLayoutColumns = named(new QSpinBox, "spnLayoutColumns"), 1, 1);
    // 0 can stand in a file; printing refuses such a style with a message.
    spnLayoutRows->setRange(0, kMaxPerPage);
    spnLayoutColumns->setRange(0, kMaxPerPage);

    grpLabelStyle = named(new QGroupBox("Label style"), "grpLabelStyle");
    auto* g5 = new QHBoxLayout(grpLabelStyle);
    g5->addWidget(cmbLabelStyle = named(new QComboBox, "cmbLabelStyle"), 1);
    g5->addWidget(BitBtn1 = named(new QPushButton("+"), "BitBtn1"));
    g5->addWidget(BitBtn2 = named(new QPushButton("−"), "BitBtn2"));
    cmbLabelStyle->setMinimumWidth(220);

    auto* left = new QVBoxLayout;
    left->addWidget(grpLabelStyle);
    left->addWidget(grpLabelSize);
    left->addWidget(grpMargins);
    left->addWidget(grpGutters);
    left->addWidget(grpLayout);
    left->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(LayoutSample = new LabelSample, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1 = named(new QPushButton("O.K."), "Button1"));
    buttons->addWidget(Button2 = named(new QPushButton("Cancel"), "Button2"));
    Button1->setDefault(true);
    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addLayout(buttons);

    labelNew = new TLabelNew(main);

    addField(txtSizeWidth, CSpinButton1, 0);
    addField(txtSizeLength, CSpinButton2, 0);
    addField(txtMarginLeft, CSpinButton3, 1);
    addField(txtMarginRight, CSpinButton4, 1);
    addField(txtMarginTop, CSpinButton5, 1);
    addField(txtMarginBottom, CSpinButton6, 1);
    addField(txtGutterHorizontal, CSpinButton7, 2);
    addField(txtGutterVertical, CSpinButton8, 2);
    m_unitLists = {cmbSizeUnit, cmbMarginUnit, cmbGutterUnit};
    for (int g = 0; g < 3; ++g)
        connect(m_unitLists[static_cast<size_t>(g)], &QComboBox::currentIndexChanged, this,
                [this, g](int unit) { unitChanged(g, unit); });
    for (QSpinBox* s : {spnLayoutRows, spnLayoutColumns})
        connect(s, &QSpinBox::valueChanged, this, [this] { redrawSample(); });
    connect(cmbLabelStyle, &QComboBox::activated, this, &TcstLabel::cmbLabelStyleChange);
    connect(BitBtn1, &QPushButton::clicked, this, &TcstLabel::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TcstLabel::BitBtn2Click);
    connect(Button1, &QPushButton::clicked, this, &TcstLabel::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    CaptionTargets targets;
    targets.add({grpLabelSize, lblSizeWidth, lblSizeLength, grpMargins, lblMarginLeft, lblMarginRight, lblMarginTop,
                 lblMarginBottom, grpGutters, lblGutterHorizontal, lblGutterVertical, lblGutterVerticalUnit,
                 lblMarginBottomUnit, lblMarginRightUnit, lblMarginTopUnit, lblSizeLengthUnit, grpLabelStyle,
                 grpLayout, lblLayoutRows, lblLayoutColumns, Button2});
    main->registerCaptionWindow(kDesignerCaptionGroup, this, std::move(targets));
    main->LoadLanguage(main->languageName(), kDesignerCaptionGroup);
    layout()->activate();
}

void TcstLabel::addField(QLineEdit* edit, SpinButton* spin, int group)
{
    const size_t i = m_fields.size();
    m_fields.push_back({edit, group, edit->text()});
    connect(edit, &QLineEdit::editingFinished, this, [this, i] { fieldLeft(m_fields[i]); });
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& t) {
        double v = 0;
        if (readNumber(t, v))
            redrawSample();
    });
    connect(spin->up, &QToolButton::clicked, this, [this, i] { step(m_fields[i], kStep); });
    connect(spin->down, &QToolButton::clicked, this, [this, i] { step(m_fields[i], -kStep); });
}

void TcstLabel::setField(QLineEdit* edit, const std::string& text)
{
    edit->setText(qs(text));
    for (Field& f : m_fields)
        if (f.edit == edit)
            f.remembered = edit->text();
}

void TcstLabel::fieldLeft(Field& f)
{
    double v = 0;
    if (readNumber(f.edit->text(), v))
        f.edit->setText(qs(labels::labelNumberText(v)));
    else
        f.edit->setText(f.remembered);
    f.remembered = f.edit->text();
}

void TcstLabel::step(Field& f, double delta)
{
    double v = 0;
    if (!readNumber(f.edit->text(), v))
        return;
    const double next = engine::RoundHalfUp(v + delta, -3);
    // The arrows never bring a value down to 0 (it can be typed).
    if (delta < 0 && next <= 0)
        return;
    setField(f.edit, labels::labelNumberText(next));
}

void TcstLabel::unitChanged(int group, int unit)
{
    if (m_loading || unit < 0)
        return;
    const int from = m_units[static_cast<size_t>(group)];
    for (Field& f : m_fields) {
        if (f.group != group)
            continue;
        if (const auto converted = labels::convertLabelUnit(f.edit->text().toStdString(), from, unit))
            setField(f.edit, *converted);
    }
    m_units[static_cast<size_t>(group)] = unit;
    setUnitLabels(group);
    redrawSample();
}

void TcstLabel::setUnitLabels(int group)
{
    const QString t = m_unitLists[static_cast<size_t>(group)]->currentText();
    if (group == 0)
        lblSizeLengthUnit->setText(t);
    else if (group == 1)
        for (QLabel* l : {lblMarginRightUnit, lblMarginTopUnit, lblMarginBottomUnit})
            l->setText(t);
    else
        lblGutterVerticalUnit->setText(t);
}

labels::LabelStyle TcstLabel::styleOfControls() const
{
    labels::LabelStyle s;
    s.name = cmbLabelStyle->currentText().toStdString();
    s.sizeUnit = cmbSizeUnit->currentIndex();
    s.sizeWidth = txtSizeWidth->text().toStdString();
    s.sizeLength = txtSizeLength->text().toStdString();
    s.marginUnit = cmbMarginUnit->currentIndex();
    s.marginLeft = txtMarginLeft->text().toStdString();
    s.marginRight = txtMarginRight->text().toStdString();
    s.marginTop = txtMarginTop->text().toStdString();
    s.marginBottom = txtMarginBottom->text().toStdString();
    s.gutterUnit = cmbGutterUnit->currentIndex();
    s.gutterHorizontal = txtGutterHorizontal->text().toStdString();
    s.gutterVertical = txtGutterVertical->text().toStdString();
    s.rows = spnLayoutRows->value();
    s.columns = spnLayoutColumns->value();
    return s;
}

void TcstLabel::redrawSample()
{
    if (m_loading)
        return;
    const auto g = labels::labelGeometry(styleOfControls());
    if (g.ok())
        LayoutSample->setGeometryMm(*g);
}

void TcstLabel::showEvent(QShowEvent* event)
{
    LoadStyle(m_startStyle);
    QDialog::showEvent(event);
}

void TcstLabel::LoadStyle(int index)
{
    const auto d = labels::readLabelDefinitions(definitionsPath(m_main, engine::DataUse::Read));
    if (!d.ok() || d->styles.empty())
        return;
    int i = index < 0 ? d->activeStyle() : index;
    if (i >= static_cast<int>(d->styles.size()))
        i = d->activeStyle();
    m_edited = i;
    const labels::LabelStyle& s = d->styles[static_cast<size_t>(i)];
    m_loading = true;
    const int units[3] = {s.sizeUnit, s.marginUnit, s.gutterUnit};
    for (int g = 0; g < 3; ++g) {
        m_unitLists[static_cast<size_t>(g)]->setCurrentIndex(units[g] >= 0 && units[g] <= 2 ? units[g] : 0);
        m_units[static_cast<size_t>(g)] = m_unitLists[static_cast<size_t>(g)]->currentIndex();
        setUnitLabels(g);
    }
    setField(txtSizeWidth, s.sizeWidth);
    setField(txtSizeLength, s.sizeLength);
    setField(txtMarginLeft, s.marginLeft);
    setField(txtMarginRight, s.marginRight);
    setField(txtMarginTop, s.marginTop);
    setField(txtMarginBottom, s.marginBottom);
    setField(txtGutterHorizontal, s.gutterHorizontal);
    setField(txtGutterVertical, s.gutterVertical);
    spnLayoutRows->setValue(s.rows);
    spnLayoutColumns->setValue(s.columns);
    cmbLabelStyle->clear();
    for (const labels::LabelStyle& st : d->styles)
        cmbLabelStyle->addItem(qs(st.name));
    cmbLabelStyle->setCurrentIndex(i);
    m_loading = false;
    redrawSample();
}

QPointF TcstLabel::printerOffsets() const
{
    if (printerOffsetsMm)
        return printerOffsetsMm();
    // Without a printer the labels go into a PDF file, which has no edge
    // a printer cannot reach.
    if (QPrinterInfo::availablePrinters().isEmpty())
        return {0, 0};
    return m_main->printer().pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
}

bool TcstLabel::SaveStyle(int index)
{
    if (cmbLabelStyle->count() == 0)
        return true;  // nothing was loaded: nothing to write
    const QPointF minimum = printerOffsets();
    const int unit = cmbMarginUnit->currentIndex();
    const double left = toMm(txtMarginLeft->text(), unit);
    const double top = toMm(txtMarginTop->text(), unit);
    const bool leftLow = left >= 0 && left < minimum.x();
    const bool topLow = top >= 0 && top < minimum.y();
    bool raise = false;
    if (leftLow || topLow) {
        const QPoint at = QCursor::pos();
        raise = m_main->showText(m_main->text(engine::Msg::LabelMarginsOversized), Messenger::Kind::Confirmation,
                                 Messenger::Buttons::OkIgnore, at)
            != Messenger::Answer::Ignore;
    }
    bool raised = false;
    const auto minimumText = [unit](double mm) {
        return labels::convertLabelUnit(labels::labelNumberText(mm), 0, unit).value_or("0");
    };
    if (raise && leftLow) {
        setField(txtMarginLeft, minimumText(minimum.x()));
        raised = true;
    }
    if (raise && topLow) {
        setField(txtMarginTop, minimumText(minimum.y()));
        raised = true;
    }
    const engine::Status s =
        labels::saveLabelStyle(definitionsPath(m_main, engine::DataUse::Write), index, styleOfControls());
    if (!s.ok())
        m_main->showStatus(s, Messenger::Kind::Error);
    return !raised;
}

void TcstLabel::AddStyle(const std::string& name)
{
    const engine::Status s = labels::addLabelStyle(definitionsPath(m_main, engine::DataUse::Write), name);
    if (!s.ok())
        m_main->showStatus(s, Messenger::Kind::Error);
    LoadStyle(-1);
}

void TcstLabel::DeleteStyle(int index)
{
    const engine::Status s = labels::deleteLabelStyle(definitionsPath(m_main, engine::DataUse::Write), index);
    if (!s.ok())
        m_main->showStatus(s, Messenger::Kind::Error);
    LoadStyle(-1);
}

void TcstLabel::Button1Click()
{
    if (SaveStyle(cmbLabelStyle->currentIndex()))
        accept();
}

void TcstLabel::BitBtn1Click()
{
    labelNew->move(QCursor::pos());
    if (TPrintDialogEx::run(*labelNew) == QDialog::Accepted)
        AddStyle(labelNew->txtNewLabelName->text().toStdString());
}

void TcstLabel::BitBtn2Click()
{
    // The last style stays, without a question.
    if (cmbLabelStyle->count() <= 1)
        return;
    const QPoint at = QCursor::pos() - QPoint(300, 0);
    if (m_main->showText(m_main->text(engine::Msg::ConfirmDeleteLabelStyle), Messenger::Kind::Confirmation,
                         Messenger::Buttons::YesNoCancel, at)
        == Messenger::Answer::Yes)
        DeleteStyle(cmbLabelStyle->currentIndex());
}

void TcstLabel::cmbLabelStyleChange(int index)
{
    if (index == m_edited)
        return;
    (void)SaveStyle(m_edited);
    m_edited = index;
    LoadStyle(index);
}

} // namespace app
