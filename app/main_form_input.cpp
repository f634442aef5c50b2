// The input page of the main window: the sheet and part tables with their
// entry fields, and the commands that add, edit, delete and clear rows.
#include "app/qt_text.h"
#include "app/main_form.h"

#include <tuple>

#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/grid_delegate.h"
#include "app/text_table_model.h"
#include "engine/band_grid.h"
#include "engine/paths.h"

namespace app {

namespace {

QLabel* label(const char* name, const QString& caption)
{
    auto* l = new QLabel(caption);
    l->setObjectName(name);
    return l;
}

QTableView* makeGrid(const char* name, TextTableModel* model)
{
    auto* grid = new QTableView;
    grid->setObjectName(name);
    grid->setModel(model);
    grid->setColumnHidden(0, true);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    grid->setWordWrap(false);
    return grid;
}

} // namespace

QLineEdit* TMainForm::field(const char* name) const { return findChild<QLineEdit*>(name); }

QWidget* TMainForm::buildInputPage()
{
    auto* page = new QWidget;
    auto* lay = new QHBoxLayout(page);
    lay->setContentsMargins(4, 4, 4, 4);
    QWidget* left = buildSheetPanel();
    left->setFixedWidth(315);
    lay->addWidget(left);
    auto* right = new QWidget;
    auto* rv = new QVBoxLayout(right);
    rv->setContentsMargins(0, 0, 0, 0);
    m_partPanel = buildPartPanel();
    rv->addWidget(m_partPanel, 1);
    rv->addWidget(buildStatPanel());
    lay->addWidget(right, 1);
    return page;
}

QWidget* TMainForm::buildSheetPanel()
{
    auto* panel = new QWidget;
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);

    auto* sheet = new QWidget;
    sheet->setObjectName("panMainSheet");
    auto* sv = new QVBoxLayout(sheet);
    sv->setContentsMargins(0, 0, 0, 0);
    m_label15 = label("Label15", "TABLE");
    QFont bold = m_label15->font();
    bold.setBold(true);
    m_label15->setFont(bold);
    sv->addWidget(m_label15);

    auto* entry = new QGridLayout;
    entry->setHorizontalSpacing(3);
    entry->setVerticalSpacing(1);
    const auto edit = [this](const char* name, int maxLength, const QString& initial = {}) {
        auto* e = new QLineEdit(initial);
        e->setObjectName(name);
        e->setMaxLength(maxLength);
        e->installEventFilter(this);
        return e;
    };
    QLineEdit* e2 = edit("Edit2", 20);
    QLineEdit* e3 = edit("Edit3", 20);
    QLineEdit* e4 = edit("Edit4", 4, "1");
    QLineEdit* e1 = edit("Edit1", 20);
    // Feet and inch texts are typed in upper case.
    for (QLineEdit* e : {e2, e3})
        connect(e, &QLineEdit::textEdited, e, [e](const QString& t) {
            if (t != t.toUpper()) {
                const int pos = e->cursorPosition();
                e->setText(t.toUpper());
                e->setCursorPosition(pos);
            }
        });
    entry->addWidget(label("Label2", "DUZINA"), 0, 0);
    entry->addWidget(label("Label6", "VISINA"), 0, 1);
    entry->addWidget(label("Label3", "KOM"), 0, 2);
    entry->addWidget(label("Label1", "OPIS"), 0, 3);
    entry->addWidget(e2, 1, 0);
    entry->addWidget(e3, 1, 1);
    entry->addWidget(e4, 1, 2);
    entry->addWidget(e1, 1, 3);
    entry->setColumnStretch(0, 30);
    entry->setColumnStretch(1, 30);
    entry->setColumnStretch(2, 12);
    entry->setColumnStretch(3, 28);
    sv->addLayout(entry);

    m_model1 = new TextTableModel(m_project.sheets, this);
    m_model1->setCommit([this](int row, int col, const QString& t) { return StringGrid1SetEditText(row, col, t); });
    m_grid1 = makeGrid("StringGrid1", m_model1);
    m_grid1->viewport()->installEventFilter(this);
    m_grid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connect(m_grid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { gridContextMenu(m_grid1, p); });
    sv->addWidget(m_grid1, 1);

    auto* clear = new QToolButton;
    clear->setObjectName("BitBtn3");
    clear->setIcon(QIcon(":/icons/clear.svg"));
    clear->setIconSize(QSize(20, 20));
    connect(clear, &QToolButton::clicked, this, &TMainForm::BitBtn3Click);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clear);
    buttons->addStretch(1);
    sv->addLayout(buttons);
    v->addWidget(sheet, 1);

    auto* alg = new QWidget;
    alg->setObjectName("panMainAlg");
    auto* ag = new QGridLayout(alg);
    ag->setContentsMargins(0, 4, 0, 0);
    const auto algButton = [](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setMinimumHeight(30);
        return b;
    };
    // The optimisation and stock commands are connected by their own
    // commands (automatic and manual runs, offcut reuse).
    ag->addWidget(algButton("Button4", "AUTOMATSKI "), 0, 0);
    ag->addWidget(algButton("Button1", "MANUELNI"), 0, 1);
    ag->addWidget(algButton("BitBtn15", "DOBAR VISAK"), 1, 0);
    ag->addWidget(algButton("TableMinus", "ODUZIMANJE TABLI"), 1, 1);
    v->addWidget(alg);

    m_deleteRowMenu1 = new QMenu(this);
    m_deleteRowMenu1->setObjectName("PopupMenu1");
    QAction* del2 = m_deleteRowMenu1->addAction("Delete row");
    del2->setObjectName("Deleterow2");
    connect(del2, &QAction::triggered, this, &TMainForm::Deleterow2Click);
    return panel;
}

QWidget* TMainForm::buildPartPanel()
{
    auto* panel = new QWidget;
    panel->setObjectName("panMainPart");
    panel->installEventFilter(this);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(0, 0, 0, 0);
    m_label21 = label("Label21", "ELEMENTI");
    QFont bold = m_label21->font();
    bold.setBold(true);
    m_label21->setFont(bold);
    v->addWidget(m_label21);

    auto* entry = new QGridLayout;
    entry->setObjectName("partEntry");
    entry->setHorizontalSpacing(3);
    entry->setVerticalSpacing(1);
    const auto edit = [this](const char* name, int maxLength, const QString& initial = {}) {
        auto* e = new QLineEdit(initial);
        e->setObjectName(name);
        e->setMaxLength(maxLength);
        e->installEventFilter(this);
        return e;
    };
    m_comboBox2 = new QComboBox;
    m_comboBox2->setObjectName("ComboBox2");
    const std::pair<QLabel*, QWidget*> cells[] = {
        {label("Label10", "INICIJALI ELEM."), edit("Edit5", 6, " ")},
        {label("Label11", "DUZINA"), edit("Edit6", 20)},
        {label("Label48", "KD"), edit("Edit16", 2, "0")},
        {label("Label52", "VISINA"), edit("Edit7", 20)},
        {label("Label53", "KV"), edit("Edit17", 2, "0")},
        {label("Label12", "KOM"), edit("Edit8", 4, "1")},
        {label("Label42", "Band"), m_comboBox2},
    };
    for (int c = 0; c < 7; ++c) {
        entry->addWidget(cells[c].first, 0, c);
        entry->addWidget(cells[c].second, 1, c);
    }
    v->addLayout(entry);

    m_model2 = new TextTableModel(m_project.parts, this);
    m_model2->setCommit([this](int row, int col, const QString& t) { return StringGrid2SetEditText(row, col, t); });
    m_model2->setReadOnlyColumns({engine::PartCol::Rot});
    m_grid2 = makeGrid("StringGrid2", m_model2);
    m_grid2Viewport = m_grid2->viewport();
    m_grid2Viewport->installEventFilter(this);
    m_delegate2 = new GridDelegate(m_grid2);
    m_delegate2->setIconColumn(engine::PartCol::Rot, QIcon(":/icons/rot_free.svg"), QIcon(":/icons/rot_locked.svg"));
    m_delegate2->setBandColumns(engine::PartCol::Band, engine::PartCol::Band + 3, [this] {
        QStringList names;
        for (int r = 1; r <= m_bandTypes.rowCount(); ++r)
            names << qs(m_bandTypes.cell(r, engine::BandCol::Name));
        return names;
    });
    m_grid2->setItemDelegate(m_delegate2);
    m_grid1->setItemDelegate(new GridDelegate(m_grid1));
    connect(m_grid2, &QTableView::pressed, this, [this](const QModelIndex& i) {
        if (i.column() == engine::PartCol::Rot)
            StringGrid2SelectCell(i.row() + 1, i.column());
    });
    connect(m_grid2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { gridContextMenu(m_grid2, p); });
    v->addWidget(m_grid2, 1);

    auto* buttons = new QHBoxLayout;
    auto* clear = new QToolButton;
    clear->setObjectName("BitBtn4");
    clear->setIcon(QIcon(":/icons/clear.svg"));
    clear->setIconSize(QSize(20, 20));
    connect(clear, &QToolButton::clicked, this, &TMainForm::BitBtn4Click);
    m_lockAllButton = new QToolButton;
    m_lockAllButton->setObjectName("BitBtn16");
    m_lockAllButton->setIcon(QIcon(":/icons/lock_all.svg"));
    m_lockAllButton->setIconSize(QSize(20, 20));
    connect(m_lockAllButton, &QToolButton::clicked, this, &TMainForm::BitBtn16Click);
    buttons->addWidget(clear);
    buttons->addWidget(m_lockAllButton);
    buttons->addStretch(1);
    v->addLayout(buttons);

    m_deleteRowMenu2 = new QMenu(this);
    m_deleteRowMenu2->setObjectName("PopupMenu2");
    QAction* del1 = m_deleteRowMenu2->addAction("Delete row");
    del1->setObjectName("Deleterow1");
    connect(del1, &QAction::triggered, this, &TMainForm::Deleterow1Click);
    return panel;
}

QWidget* TMainForm::buildStatPanel()
{
    auto* panel = new QFrame;
    panel->setObjectName("panMainStat");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFixedHeight(138);
    auto* g = new QGridLayout(panel);
    g->setContentsMargins(6, 4, 6, 4);
    g->setVerticalSpacing(2);
    g->setHorizontalSpacing(4);
    QFont small = panel->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    panel->setFont(small);
    // Caption and value label of each statistic.
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"Label23", "BROJ UNETIH ELEMENATA", "Label34"},
        {"Label24", "BROJ ISKORISTENIH ELEMENATA->", "Label33"},
        {"Label25", "BROJ ISKORISTENIH TABLI->", "Label32"},
        {"Label26", "POVRSINA ISKORISTENIH ELEMENATA->", "Label31"},
        {"Label27", "PROSECAN STEPEN ISKORISTENOSTI(%)->", "Label30"},
        {"Label28", "STEPEN  ISKOR. POSLEDNJE TABLE (%)->", "Label29"},
        {"Label40", "REZANJE U DUZINSKIM METRIMA (m)", "Label41"},
        {"Label54", "DUZINA KANTOVANJA (m) ->", "Label55"},
    };
    int i = 0;
    for (const auto& [name, caption, valueName] : rows) {
        auto* value = new QLabel("---");
        value->setObjectName(valueName);
        // Wide enough for a part area in square millimetres.
        value->setMinimumWidth(QFontMetrics(small).horizontalAdvance("99999999.99") + 8);
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QLabel* l = label(name, caption);
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        // Long captions take a second line in a narrow window instead of
        // being cut off.
        l->setWordWrap(true);
        g->addWidget(l, i % 4, (i / 4) * 2);
        g->addWidget(value, i % 4, (i / 4) * 2 + 1);
        ++i;
    }
    g->setColumnStretch(0, 1);
    g->setColumnStretch(2, 1);
    return panel;
}

// ---------------------------------------------------------------------------
// Layout, captions, band types

void TMainForm::setSheetEntrySize(const QString& len, const QString& wid)
{
    field("Edit2")->setText(len);
    field("Edit3")->setText(wid);
}

void TMainForm::applyBanding()
{
    const bool on = m_settings.Kantiranje;
    for (const char* name : {"Edit16", "Edit17", "Label48", "Label53", "Label42"})
        findChild<QWidget*>(name)->setVisible(on);
    m_comboBox2->setVisible(on);
    for (QWidget* w : {static_cast<QWidget*>(field("Edit16")), static_cast<QWidget*>(field("Edit17")),
                       static_cast<QWidget*>(m_comboBox2)})
        w->setEnabled(on);
    m_delegate2->setBandingOn(on);
    for (int c = engine::PartCol::Band; c < engine::PartCol::Count; ++c)
        m_grid2->setColumnHidden(c, !on || c >= engine::PartCol::Thickness);
    layoutPartArea();
}

void TMainForm::layoutPartArea()
{
    if (!m_grid2)
        return;
    const bool on = m_settings.Kantiranje;
    // Fractions of the grid's width per column: length, width, quantity,
    // label, rotation lock, then the four band columns when banding is on.
    static constexpr int kPlain[] = {30, 30, 10, 20, 10};
    static constexpr int kBanded[] = {16, 16, 8, 14, 8, 9, 9, 10, 10};
    const int w = m_grid2->viewport()->width();
    const int* fr = on ? kBanded : kPlain;
    const int n = on ? 9 : 5;
    int used = 0;
    for (int i = 0; i < n; ++i) {
        const int cw = (i == n - 1) ? w - used : w * fr[i] / 100;
        m_grid2->setColumnWidth(i + 1, cw);
        used += cw;
    }
    auto* entry = m_partPanel->findChild<QGridLayout*>("partEntry");
    // Entry fields in the order label, length, KD, width, KV, quantity, band.
    const int plain[] = {20, 30, 0, 30, 0, 10, 0};
    const int banded[] = {14, 20, 6, 20, 6, 10, 24};
    for (int c = 0; c < 7; ++c)
        entry->setColumnStretch(c, on ? banded[c] : plain[c]);
}

void TMainForm::refreshTables()
{
    m_model1->refresh();
    m_model2->refresh();
    static constexpr int kSheetHeadings[] = {102, 103, 104, 105};
    for (int c = 1; c <= 4; ++c)
        m_project.sheets.setTitle(c, m_lang.text(kSheetHeadings[c - 1]));
    static constexpr int kPartHeadings[] = {106, 107, 108, 109, 110, 184, 185, 186, 187};
    for (int c = 1; c <= 9; ++c)
        m_project.parts.setTitle(c, m_lang.text(kPartHeadings[c - 1]));
    emit m_model1->headerDataChanged(Qt::Horizontal, 0, engine::SheetCol::Count - 1);
    emit m_model2->headerDataChanged(Qt::Horizontal, 0, engine::PartCol::Count - 1);
    m_project.recomputeTotals();
    sheetRowsChanged();
    partRowsChanged();
    layoutPartArea();
    showStatistics();
}

void TMainForm::showStatistics()
{
    const engine::ProjectStats& st = m_project.result.stats;
    const std::pair<const char*, const std::string*> values[] = {
        {"Label34", &st.parts},         {"Label33", &st.used_parts},
        {"Label32", &st.used_sheets},   {"Label31", &st.part_area},
        {"Label30", &st.average_yield}, {"Label29", &st.last_sheet_yield},
        {"Label41", &st.cut_length},    {"Label55", &st.banding_length},
    };
    // A project that never had a result has no statistics yet.
    for (const auto& [name, value] : values)
        if (auto* l = findChild<QLabel*>(name))
            l->setText(value->empty() ? QString("---") : qs(*value));
}

void TMainForm::sheetRowsChanged()
{
    m_label15->setText(qs(engine::statisticsCaption(m_lang, engine::UnitHeading::SheetTableTitle, headingValues())));
}

void TMainForm::partRowsChanged()
{
    m_label21->setText(qs(engine::statisticsCaption(m_lang, engine::UnitHeading::PartTableTitle, headingValues())));
}

void TMainForm::LoadBandTypes()
{
    engine::TextTable grid(engine::kBandColumns);
    const engine::Status read = engine::readBandGrid(m_programFolder + "Config/bands.vlb", grid);
    if (read.msg != engine::Msg::CannotReadBandFile)
        m_bandTypes = grid;
    if (!read.ok())
        showStatus(read, Messenger::Kind::Error);
    m_comboBox2->clear();
    for (int r = 1; r <= m_bandTypes.rowCount(); ++r)
        m_comboBox2->addItem(qs(m_bandTypes.cell(r, engine::BandCol::Name)));
    m_comboBox2->setCurrentIndex(0);
}

engine::BandValues TMainForm::bandValues(int index) const
{
    const int row = index + 1;
    return {m_bandTypes.cell(row, engine::BandCol::Name), m_bandTypes.cell(row, engine::BandCol::Thickness),
            m_bandTypes.cell(row, engine::BandCol::Mark)};
}

int TMainForm::bandIndexOf(const QString& name) const
{
    for (int r = 1; r <= m_bandTypes.rowCount(); ++r)
        if (qs(m_bandTypes.cell(r, engine::BandCol::Name)) == name)
            return r - 1;
    return -1;
}

// ---------------------------------------------------------------------------
// Entry fields

QPoint TMainForm::besideField(QWidget* w, int dx, int dy) const
{
    // Measured from the main window: the field's place inside it, moved.
    return frameGeometry().topLeft() + w->mapTo(this, QPoint(0, 0)) + QPoint(dx, dy);
}

bool TMainForm::entryKey(QLineEdit* edit, QKeyEvent* key)
{
    const QString name = edit->objectName();
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (name == "Edit2" || name == "Edit3") {
        if (key->key() == Qt::Key_Down) {
            field("Edit5")->setFocus();
            return true;
        }
        if (key->text() == "(") {
            field("Edit6")->setFocus();
            return true;
        }
    }
    if (name == "Edit8" && (enter || key->key() == Qt::Key_Tab)) {
        Edit8KeyPress();
        return true;
    }
    if (!enter)
        return false;
    if (name == "Edit1")
        Edit1KeyDown();
    else if (name == "Edit2")
        Edit2KeyDown();
    else if (name == "Edit3")
        Edit3KeyDown();
    else if (name == "Edit4")
        Edit4KeyPress();
    else if (name == "Edit5")
        Edit5KeyPress();
    else if (name == "Edit6")
        Edit6KeyPress();
    else if (name == "Edit7")
        Edit7KeyPress();
    else if (name == "Edit16")
        Edit16KeyPress();
    else if (name == "Edit17")
        Edit17KeyPress();
    else
        return false;
    return true;
}

void TMainForm::Edit1KeyDown() { field("Edit2")->setFocus(); }
void TMainForm::Edit2KeyDown() { field("Edit3")->setFocus(); }
void TMainForm::Edit3KeyDown() { field("Edit4")->setFocus(); }
void TMainForm::Edit5KeyPress() { field("Edit6")->setFocus(); }

void TMainForm::Edit6KeyPress()
{
    field(m_settings.Kantiranje ? "Edit16" : "Edit7")->setFocus();
}

void TMainForm::Edit7KeyPress()
{
    field(m_settings.Kantiranje ? "Edit17" : "Edit8")->setFocus();
}

void TMainForm::Edit16KeyPress()
{
    QLineEdit* e = field("Edit16");
    if (!engine::isBandCount(e->text().toStdString())) {
        showMessage(engine::Msg::BadBandCount, Messenger::Kind::Plain, Messenger::Buttons::Ok, std::nullopt);
        e->clear();
        return;
    }
    field("Edit7")->setFocus();
}

void TMainForm::Edit17KeyPress()
{
    QLineEdit* e = field("Edit17");
    if (!engine::isBandCount(e->text().toStdString())) {
        showMessage(engine::Msg::BadBandCount, Messenger::Kind::Plain, Messenger::Buttons::Ok, std::nullopt);
        e->clear();
        return;
    }
    field("Edit8")->setFocus();
}

void TMainForm::lengthFieldExit(QLineEdit* edit, std::optional<QPoint> at)
{
    if (edit->text().isEmpty())
        return;
    const engine::CellCheck c = engine::checkLengthCell(edit->text().toStdString(), unit());
    if (c.msg == engine::Msg::Ok) {
        edit->setText(qs(c.text));
        return;
    }
    edit->clear();
    showMessage(c.msg, Messenger::Kind::Error, Messenger::Buttons::Ok, at ? at : QCursor::pos());
    edit->setFocus();
}

void TMainForm::Edit2Exit() { lengthFieldExit(field("Edit2"), besideField(field("Edit2"), -80, 120)); }
void TMainForm::Edit3Exit() { lengthFieldExit(field("Edit3"), besideField(field("Edit3"), -80, 120)); }
void TMainForm::Edit6Exit() { lengthFieldExit(field("Edit6"), std::nullopt); }
void TMainForm::Edit7Exit() { lengthFieldExit(field("Edit7"), std::nullopt); }

void TMainForm::Edit4KeyPress()
{
    QLineEdit* qty = field("Edit4");
    const engine::Result<int> row = engine::addSheetRow(
        m_project, {field("Edit2")->text().toStdString(), field("Edit3")->text().toStdString(),
                    qty->text().toStdString(), field("Edit1")->text().toStdString()});
    if (!row) {
        showMessage(row.error().msg, Messenger::Kind::Error, Messenger::Buttons::Ok, besideField(qty, -80, 120));
        return;
    }
    m_model1->refresh();
    sheetRowsChanged();
    qty->setText("1");
    field("Edit2")->setFocus();
    setResultPageVisible(false);
}

void TMainForm::Edit8KeyPress()
{
    QLineEdit* qty = field("Edit8");
    engine::PartEntry entry{field("Edit5")->text().toStdString(), field("Edit6")->text().toStdString(),
                            field("Edit7")->text().toStdString(), qty->text().toStdString(), "0", "0"};
    if (m_settings.Kantiranje) {
        entry.kd = field("Edit16")->text().toStdString();
        entry.kv = field("Edit17")->text().toStdString();
    }
    const engine::Result<int> row =
        engine::addPartRow(m_project, entry, bandValues(0), bandValues(qMax(0, m_comboBox2->currentIndex())));
    if (!row) {
        showMessage(row.error().msg, Messenger::Kind::Error, Messenger::Buttons::Ok, QCursor::pos() - QPoint(200, 0));
        return;
    }
    m_model2->refresh();
    partRowsChanged();
    qty->setText("1");
    field("Edit6")->setFocus();
    setResultPageVisible(false);
}

// ---------------------------------------------------------------------------
// Cells

bool TMainForm::setCheckedCell(engine::TextTable& table, int row, int col, engine::CellKind kind, const QString& text)
{
    if (kind == engine::CellKind::Length) {
        const engine::CellCheck c = engine::checkLengthCell(text.toStdString(), unit());
        if (c.msg != engine::Msg::Ok) {
            showMessage(c.msg, Messenger::Kind::Error, Messenger::Buttons::Ok, QCursor::pos());
            return false;
        }
        table.setCell(row, col, c.text);
        return true;
    }
    if (kind == engine::CellKind::Quantity && engine::checkQuantityCell(text.toStdString()) != engine::Msg::Ok) {
        showMessage(engine::Msg::NotANumber, Messenger::Kind::Error, Messenger::Buttons::Ok, QCursor::pos());
        return false;
    }
    table.setCell(row, col, text.toStdString());
    if (kind == engine::CellKind::Quantity)
        m_project.recomputeTotals();
    return true;
}

bool TMainForm::StringGrid1SetEditText(int row, int col, const QString& text)
{
    const engine::CellKind kind = engine::sheetCellKind(col);
    if (!setCheckedCell(m_project.sheets, row, col, kind, text))
        return false;
    if (kind == engine::CellKind::Quantity)
        sheetRowsChanged();
    return true;
}

bool TMainForm::StringGrid2SetEditText(int row, int col, const QString& text)
{
    setResultPageVisible(false);
    const engine::CellKind kind = engine::partCellKind(col);
    switch (kind) {
    case engine::CellKind::Length:
        return setCheckedCell(m_project.parts, row, col, kind, text);
    case engine::CellKind::Quantity:
        if (!setCheckedCell(m_project.parts, row, col, kind, text))
            return false;
        partRowsChanged();
        return true;
    case engine::CellKind::Band: ComboBox1Change(row, col, bandIndexOf(text)); return true;
    case engine::CellKind::RotationLock:
    case engine::CellKind::Derived: return false;
    default: m_project.parts.setCell(row, col, text.toStdString()); return true;
    }
}

void TMainForm::StringGrid2SelectCell(int row, int col)
{
    if (col != engine::PartCol::Rot || row > m_project.parts.rowCount())
        return;
    m_project.parts.setCell(row, col, engine::toggledLock(m_project.parts.cell(row, col)));
    setResultPageVisible(false);
    const QModelIndex i = m_model2->index(row - 1, col);
    emit m_model2->dataChanged(i, i);
}

void TMainForm::ComboBox1Change(int row, int col, int bandIndex)
{
    if (bandIndex < 0)
        return;
    engine::setPartBand(m_project.parts, row, col, bandValues(bandIndex));
    setResultPageVisible(false);
}

// ---------------------------------------------------------------------------
// Rows

void TMainForm::gridContextMenu(QTableView* grid, const QPoint& pos)
{
    const QModelIndex i = grid->indexAt(pos);
    if (!i.isValid())
        return;
    grid->setCurrentIndex(i);
    (grid == m_grid1 ? m_deleteRowMenu1 : m_deleteRowMenu2)->popup(grid->viewport()->mapToGlobal(pos));
}

void TMainForm::gridEmptyClick(QTableView* grid)
{
    const bool sheets = grid == m_grid1;
    const int rows = sheets ? m_project.sheets.rowCount() : m_project.parts.rowCount();
    if (rows == 0) {
        field(sheets ? "Edit2" : "Edit6")->setFocus();
        return;
    }
    showMessage(engine::Msg::RowBelowLast, Messenger::Kind::Error, Messenger::Buttons::Ok,
                besideField(grid, 100, 150));
}

void TMainForm::Deleterow2Click()
{
    const int row = m_grid1->currentIndex().row() + 1;
    if (row < 1 || row > m_project.sheets.rowCount())
        return;
    if (showMessage(engine::Msg::ConfirmDeleteRow, Messenger::Kind::Confirmation, Messenger::Buttons::YesNoCancel) !=
        Messenger::Answer::Yes)
        return;
    engine::deleteSheetRow(m_project, row);
    m_model1->refresh();
    sheetRowsChanged();
}

void TMainForm::Deleterow1Click()
{
    const int row = m_grid2->currentIndex().row() + 1;
    if (row < 1 || row > m_project.parts.rowCount())
        return;
    if (showMessage(engine::Msg::ConfirmDeleteRow, Messenger::Kind::Confirmation, Messenger::Buttons::YesNoCancel) !=
        Messenger::Answer::Yes)
        return;
    engine::deletePartRow(m_project, row);
    m_model2->refresh();
    partRowsChanged();
    setResultPageVisible(false);
}

void TMainForm::BitBtn3Click()
{
    if (showMessage(engine::Msg::ConfirmClearSheets, Messenger::Kind::Confirmation,
                    Messenger::Buttons::YesNoCancel) != Messenger::Answer::Yes)
        return;
    engine::clearSheetTable(m_project);
    m_model1->refresh();
    sheetRowsChanged();
}

void TMainForm::BitBtn4Click()
{
    if (showMessage(engine::Msg::ConfirmClearParts, Messenger::Kind::Confirmation,
                    Messenger::Buttons::YesNoCancel) != Messenger::Answer::Yes)
        return;
    engine::clearPartTable(m_project);
    m_model2->refresh();
    partRowsChanged();
    setResultPageVisible(false);
}

void TMainForm::BitBtn16Click()
{
    engine::setAllLocks(m_project.parts, m_lockAllNext);
    m_lockAllNext = !m_lockAllNext;
    m_lockAllButton->setIcon(QIcon(m_lockAllNext ? ":/icons/lock_all.svg" : ":/icons/free_all.svg"));
    m_model2->refresh();
    setResultPageVisible(false);
}

} // namespace app
