#include "app/input_page.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QFontMetrics>
#include <QStyle>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/band_type_model.h"
#include "app/captions.h"
#include "app/grid_delegate.h"
#include "app/main_form.h"
#include "app/named_widgets.h"
#include "app/qt_text.h"
#include "app/statistics_panel.h"
#include "app/table_panel.h"
#include "app/text_table_model.h"
#include "engine/grid_columns.h"
#include "engine/statistics_captions.h"

namespace app {

namespace {

QPushButton* algorithmButton(const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setMinimumHeight(30);
    return b;
}

} // namespace

InputPage::InputPage(TMainForm& main)
    : m_main(main)
{
    setObjectName("pag1");
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    // The sheet side gives up width to the wider part table in a small
    // window (three tenths of the page, at least 240 pixels) and never takes
    // more than 315.
    QWidget* left = buildSheetSide();
    left->setMinimumWidth(240);
    left->setMaximumWidth(315);
    lay->addWidget(left, 3);
    lay->addWidget(buildPartSide(), 7);
}

QLineEdit* InputPage::entryField(const char* name, int maxLength, const QString& initial)
{
    auto* e = new QLineEdit(initial);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    e->installEventFilter(this);
    return e;
}

QWidget* InputPage::buildSheetSide()
{
    auto* side = new QWidget;
    auto* v = new QVBoxLayout(side);
    v->setContentsMargins(0, 0, 0, 0);

    engine::Project& project = m_main.project();
    panMainSheet = new TablePanel({"panMainSheet", "Label15", "StringGrid1", "PopupMenu1", "Deleterow2"}, "TABLE",
                                  project.sheets);
    Label15 = panMainSheet->caption();
    StringGrid1 = panMainSheet->grid();
    PopupMenu1 = panMainSheet->popupMenu();
    Deleterow2 = panMainSheet->deleteRowAction();
    Edit2 = entryField("Edit2", 20);
    Edit3 = entryField("Edit3", 20);
    Edit4 = entryField("Edit4", 4, "1");
    Edit1 = entryField("Edit1", 20);
    // Feet and inch texts are typed in upper case.
    for (QLineEdit* e : {Edit2, Edit3})
        connect(e, &QLineEdit::textEdited, e, [e](const QString& t) {
            if (t != t.toUpper()) {
                const int pos = e->cursorPosition();
                e->setText(t.toUpper());
                e->setCursorPosition(pos);
            }
        });
    panMainSheet->addEntry(Label2 = newLabel("Label2", "DUZINA"), Edit2);
    panMainSheet->addEntry(Label6 = newLabel("Label6", "VISINA"), Edit3);
    panMainSheet->addEntry(Label3 = newLabel("Label3", "KOM"), Edit4);
    panMainSheet->addEntry(Label1 = newLabel("Label1", "OPIS"), Edit1);
    QGridLayout* entry = panMainSheet->entryRow();
    entry->setColumnStretch(0, 30);
    entry->setColumnStretch(1, 30);
    entry->setColumnStretch(2, 12);
    entry->setColumnStretch(3, 28);
    panMainSheet->model()->setCommit(
        [this](int row, int col, const QString& t) { return StringGrid1SetEditText(row, col, t); });
    // Numbers take what they need, the description the rest.
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    StringGrid1->horizontalHeader()->setSectionResizeMode(engine::SheetCol::Descr, QHeaderView::Stretch);
    StringGrid1->setItemDelegate(new GridDelegate(StringGrid1));
    BitBtn3 = panMainSheet->addButton("BitBtn3", ":/icons/clear.svg");
    BitBtn1 = panMainSheet->addButton("BitBtn1", ":/icons/print.svg");
    connect(BitBtn3, &QToolButton::clicked, this, &InputPage::BitBtn3Click);
    connect(Deleterow2, &QAction::triggered, this, &InputPage::Deleterow2Click);
    connect(panMainSheet, &TablePanel::emptyGridClicked, this, [this] { emptyGridClicked(StringGrid1); });
    v->addWidget(panMainSheet, 1);

    panMainAlg = new QWidget;
    panMainAlg->setObjectName("panMainAlg");
    auto* ag = new QGridLayout(panMainAlg);
    ag->setContentsMargins(0, 4, 0, 0);
    // The optimisation and stock commands are the main window's.
    ag->addWidget(Button4 = algorithmButton("Button4", "AUTOMATSKI "), 0, 0);
    ag->addWidget(Button1 = algorithmButton("Button1", "MANUELNI"), 0, 1);
    ag->addWidget(BitBtn15 = algorithmButton("BitBtn15", "DOBAR VISAK"), 1, 0);
    ag->addWidget(TableMinus = algorithmButton("TableMinus", "ODUZIMANJE TABLI"), 1, 1);
    v->addWidget(panMainAlg);
    return side;
}

QWidget* InputPage::buildPartSide()
{
    auto* side = new QWidget;
    auto* v = new QVBoxLayout(side);
    v->setContentsMargins(0, 0, 0, 0);

    panMainPart = new TablePanel({"panMainPart", "Label21", "StringGrid2", "PopupMenu2", "Deleterow1"}, "ELEMENTI",
                                 m_main.project().parts);
    Label21 = panMainPart->caption();
    StringGrid2 = panMainPart->grid();
    PopupMenu2 = panMainPart->popupMenu();
    Deleterow1 = panMainPart->deleteRowAction();
    Edit5 = entryField("Edit5", 6, " ");
    Edit6 = entryField("Edit6", 20);
    Edit16 = entryField("Edit16", 2, "0");
    Edit7 = entryField("Edit7", 20);
    Edit17 = entryField("Edit17", 2, "0");
    Edit8 = entryField("Edit8", 4, "1");
    ComboBox2 = new QComboBox;
    ComboBox2->setObjectName("ComboBox2");
    ComboBox2->setModel(m_main.bandModel());
    panMainPart->addEntry(Label10 = newLabel("Label10", "INICIJALI ELEM."), Edit5);
    panMainPart->addEntry(Label11 = newLabel("Label11", "DUZINA"), Edit6);
    panMainPart->addEntry(Label48 = newLabel("Label48", "KD"), Edit16);
    panMainPart->addEntry(Label52 = newLabel("Label52", "VISINA"), Edit7);
    panMainPart->addEntry(Label53 = newLabel("Label53", "KV"), Edit17);
    panMainPart->addEntry(Label12 = newLabel("Label12", "KOM"), Edit8);
    panMainPart->addEntry(Label42 = newLabel("Label42", "Band"), ComboBox2);

    TextTableModel* model = panMainPart->model();
    model->setCommit([this](int row, int col, const QString& t) { return StringGrid2SetEditText(row, col, t); });
    model->setReadOnlyColumns({engine::PartCol::Rot});
    m_partDelegate = new GridDelegate(StringGrid2);
    m_partDelegate->setIconColumn(engine::PartCol::Rot, QIcon(":/icons/rot_free.svg"), QIcon(":/icons/rot_locked.svg"));
    m_partDelegate->setBandColumns(engine::PartCol::Band, engine::PartCol::Band + 3, m_main.bandModel());
    StringGrid2->setItemDelegate(m_partDelegate);
    connect(StringGrid2, &QTableView::pressed, this, [this](const QModelIndex& i) {
        if (i.column() == engine::PartCol::Rot)
            StringGrid2SelectCell(i.row() + 1, i.column());
    });
    // The band chooser opens when the button is let go, so that the release
    // does not fall into its list.
    connect(StringGrid2, &QTableView::clicked, this, [this](const QModelIndex& i) {
        if (m_partDelegate->isBandColumn(i.column()))
            StringGrid2SelectCell(i.row() + 1, i.column());
    });
    BitBtn4 = panMainPart->addButton("BitBtn4", ":/icons/clear.svg");
    BitBtn16 = panMainPart->addButton("BitBtn16", ":/icons/lock_all.svg");
    BitBtn2 = panMainPart->addButton("BitBtn2", ":/icons/print.svg");
    connect(BitBtn4, &QToolButton::clicked, this, &InputPage::BitBtn4Click);
    connect(BitBtn16, &QToolButton::clicked, this, &InputPage::BitBtn16Click);
    connect(Deleterow1, &QAction::triggered, this, &InputPage::Deleterow1Click);
    connect(panMainPart, &TablePanel::emptyGridClicked, this, [this] { emptyGridClicked(StringGrid2); });
    connect(panMainPart, &TablePanel::resized, this, &InputPage::layoutPartArea);
    v->addWidget(panMainPart, 1);

    panMainStat = new StatisticsPanel;
    v->addWidget(panMainStat);
    return side;
}

void InputPage::addCaptionTargets(CaptionTargets& targets) const
{
    targets.add({Label1, Label2, Label3, Label6, Label10, Label11, Label48, Label52, Label53, Label12, Label15, Label21,
                 Button4, Button1, BitBtn15, TableMinus, BitBtn3, BitBtn4, BitBtn16, BitBtn1, BitBtn2, Label42, StringGrid1, StringGrid2,
                 Deleterow1, Deleterow2});
    panMainStat->addCaptionTargets(targets);
}

// ---------------------------------------------------------------------------
// Layout, captions, band types

void InputPage::setSheetEntrySize(const QString& len, const QString& wid)
{
    Edit2->setText(len);
    Edit3->setText(wid);
}

void InputPage::bandTypesChanged() { ComboBox2->setCurrentIndex(0); }

void InputPage::applyBanding(bool on)
{
    m_bandingOn = on;
    for (QWidget* w : std::initializer_list<QWidget*>{Edit16, Edit17, ComboBox2, Label48, Label53, Label42})
        w->setVisible(on);
    for (QWidget* w : std::initializer_list<QWidget*>{Edit16, Edit17, ComboBox2})
        w->setEnabled(on);
    m_partDelegate->setBandingOn(on);
    for (int c = engine::PartCol::Band; c < engine::PartCol::Count; ++c)
        StringGrid2->setColumnHidden(c, !on || c >= engine::PartCol::Thickness);
    layoutPartArea();
}

void InputPage::layoutPartArea()
{
    const bool on = m_bandingOn;
    const QFontMetrics fm = StringGrid2->fontMetrics();
    // Cell texts sit between focus margins of a few pixels.
    const int pad = 2 * StringGrid2->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, StringGrid2) + 6;
    const engine::PartColumnNeeds needs{fm.horizontalAdvance("00000") + pad, fm.horizontalAdvance("000") + pad, 24};
    const std::vector<int> widths = engine::partColumnWidths(StringGrid2->viewport()->width(), on, needs);
    for (int i = 0; i < static_cast<int>(widths.size()); ++i)
        StringGrid2->setColumnWidth(engine::PartCol::Len + i, widths[static_cast<std::size_t>(i)]);
    // Entry fields in the order label, length, KD, width, KV, quantity, band.
    static constexpr int kPlainEntry[] = {20, 30, 0, 30, 0, 10, 0};
    static constexpr int kBandedEntry[] = {14, 20, 6, 20, 6, 10, 24};
    for (int c = 0; c < 7; ++c)
        panMainPart->entryRow()->setColumnStretch(c, on ? kBandedEntry[c] : kPlainEntry[c]);
}

void InputPage::refreshTables()
{
    engine::Project& project = m_main.project();
    const engine::LanguageTable& lang = m_main.language();
    panMainSheet->model()->refresh();
    panMainPart->model()->refresh();
    static constexpr int kSheetHeadings[] = {102, 103, 104, 105};
    for (int c = 1; c <= 4; ++c)
        project.sheets.setTitle(c, lang.text(kSheetHeadings[c - 1]));
    static constexpr int kPartHeadings[] = {106, 107, 108, 109, 110, 184, 185, 186, 187};
    for (int c = 1; c <= 9; ++c)
        project.parts.setTitle(c, lang.text(kPartHeadings[c - 1]));
    emit panMainSheet->model()->headerDataChanged(Qt::Horizontal, 0, engine::SheetCol::Count - 1);
    emit panMainPart->model()->headerDataChanged(Qt::Horizontal, 0, engine::PartCol::Count - 1);
    project.recomputeTotals();
    showTableCaptions();
    layoutPartArea();
    panMainStat->showStatistics(project.result.stats);
}

void InputPage::showTableCaptions()
{
    const engine::HeadingValues values = m_main.headingValues();
    Label15->setText(qs(engine::statisticsCaption(m_main.language(), engine::UnitHeading::SheetTableTitle, values)));
    Label21->setText(qs(engine::statisticsCaption(m_main.language(), engine::UnitHeading::PartTableTitle, values)));
}

void InputPage::showUnitCaptions()
{
    panMainStat->showUnitCaptions(m_main.language(), m_main.headingValues());
    showTableCaptions();
}

engine::BandValues InputPage::bandValues(int index) const { return m_main.bandTypes().partValues(index); }

// ---------------------------------------------------------------------------
// Entry fields

QPoint InputPage::besideField(QWidget* w, int dx, int dy) const
{
    // Measured from the main window: the field's place inside it, moved.
    return m_main.frameGeometry().topLeft() + w->mapTo(&m_main, QPoint(0, 0)) + QPoint(dx, dy);
}

bool InputPage::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::KeyPress && entryKey(edit, static_cast<QKeyEvent*>(event)))
        return true;
    if (edit && event->type() == QEvent::FocusOut) {
        if (edit == Edit2)
            Edit2Exit();
        else if (edit == Edit3)
            Edit3Exit();
        else if (edit == Edit6)
            Edit6Exit();
        else if (edit == Edit7)
            Edit7Exit();
    }
    return QWidget::eventFilter(watched, event);
}

bool InputPage::entryKey(QLineEdit* edit, QKeyEvent* key)
{
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (edit == Edit2 || edit == Edit3) {
        if (key->key() == Qt::Key_Down) {
            Edit5->setFocus();
            return true;
        }
        if (key->text() == "(") {
            Edit6->setFocus();
            return true;
        }
    }
    if (edit == Edit8 && (enter || key->key() == Qt::Key_Tab)) {
        Edit8KeyPress();
        return true;
    }
    if (!enter)
        return false;
    const std::pair<QLineEdit*, void (InputPage::*)()> handlers[] = {
        {Edit1, &InputPage::Edit1KeyDown},    {Edit2, &InputPage::Edit2KeyDown},
        {Edit3, &InputPage::Edit3KeyDown},    {Edit4, &InputPage::Edit4KeyPress},
        {Edit5, &InputPage::Edit5KeyPress},   {Edit6, &InputPage::Edit6KeyPress},
        {Edit7, &InputPage::Edit7KeyPress},   {Edit16, &InputPage::Edit16KeyPress},
        {Edit17, &InputPage::Edit17KeyPress},
    };
    for (const auto& [field, handler] : handlers)
        if (edit == field) {
            (this->*handler)();
            return true;
        }
    return false;
}

void InputPage::Edit1KeyDown() { Edit2->setFocus(); }
void InputPage::Edit2KeyDown() { Edit3->setFocus(); }
void InputPage::Edit3KeyDown() { Edit4->setFocus(); }
void InputPage::Edit5KeyPress() { Edit6->setFocus(); }
void InputPage::Edit6KeyPress() { (m_bandingOn ? Edit16 : Edit7)->setFocus(); }
void InputPage::Edit7KeyPress() { (m_bandingOn ? Edit17 : Edit8)->setFocus(); }
void InputPage::Edit16KeyPress() { bandCountEntered(Edit16, Edit7); }
void InputPage::Edit17KeyPress() { bandCountEntered(Edit17, Edit8); }

void InputPage::bandCountEntered(QLineEdit* edit, QLineEdit* next)
{
    if (!engine::isBandCount(edit->text().toStdString())) {
        m_main.showMessage(engine::Msg::BadBandCount, Messenger::Kind::Plain, Messenger::Buttons::Ok, std::nullopt);
        edit->clear();
        return;
    }
    next->setFocus();
}

void InputPage::lengthFieldExit(QLineEdit* edit, std::optional<QPoint> at)
{
    if (edit->text().isEmpty())
        return;
    const engine::CellCheck c = engine::checkLengthCell(edit->text().toStdString(), m_main.unit());
    if (c.msg == engine::Msg::Ok) {
        edit->setText(qs(c.text));
        return;
    }
    edit->clear();
    m_main.showMessage(c.msg, Messenger::Kind::Error, Messenger::Buttons::Ok, at ? at : QCursor::pos());
    edit->setFocus();
}

void InputPage::Edit2Exit() { lengthFieldExit(Edit2, besideField(Edit2, -80, 120)); }
void InputPage::Edit3Exit() { lengthFieldExit(Edit3, besideField(Edit3, -80, 120)); }
void InputPage::Edit6Exit() { lengthFieldExit(Edit6, std::nullopt); }
void InputPage::Edit7Exit() { lengthFieldExit(Edit7, std::nullopt); }

void InputPage::Edit4KeyPress()
{
    const engine::Result<int> row =
        engine::addSheetRow(m_main.project(), {Edit2->text().toStdString(), Edit3->text().toStdString(),
                                               Edit4->text().toStdString(), Edit1->text().toStdString()});
    if (!row) {
        m_main.showMessage(row.error().msg, Messenger::Kind::Error, Messenger::Buttons::Ok,
                           besideField(Edit4, -80, 120));
        return;
    }
    panMainSheet->model()->refresh();
    showTableCaptions();
    Edit4->setText("1");
    Edit2->setFocus();
    m_main.setResultPageVisible(false);
}

void InputPage::Edit8KeyPress()
{
    engine::PartEntry entry{Edit5->text().toStdString(), Edit6->text().toStdString(), Edit7->text().toStdString(),
                            Edit8->text().toStdString(), "0", "0"};
    if (m_bandingOn) {
        entry.kd = Edit16->text().toStdString();
        entry.kv = Edit17->text().toStdString();
    }
    const engine::Result<int> row =
        engine::addPartRow(m_main.project(), entry, bandValues(0), bandValues(qMax(0, ComboBox2->currentIndex())));
    if (!row) {
        m_main.showMessage(row.error().msg, Messenger::Kind::Error, Messenger::Buttons::Ok,
                           QCursor::pos() - QPoint(200, 0));
        return;
    }
    panMainPart->model()->refresh();
    showTableCaptions();
    Edit8->setText("1");
    Edit6->setFocus();
    m_main.setResultPageVisible(false);
}

// ---------------------------------------------------------------------------
// Cells

bool InputPage::setCheckedCell(engine::TextTable& table, int row, int col, engine::CellKind kind, const QString& text)
{
    if (kind == engine::CellKind::Length) {
        const engine::CellCheck c = engine::checkLengthCell(text.toStdString(), m_main.unit());
        if (c.msg != engine::Msg::Ok) {
            m_main.showMessage(c.msg, Messenger::Kind::Error, Messenger::Buttons::Ok, QCursor::pos());
            return false;
        }
        table.setCell(row, col, c.text);
        return true;
    }
    if (kind == engine::CellKind::Quantity && engine::checkQuantityCell(text.toStdString()) != engine::Msg::Ok) {
        m_main.showMessage(engine::Msg::NotANumber, Messenger::Kind::Error, Messenger::Buttons::Ok, QCursor::pos());
        return false;
    }
    table.setCell(row, col, text.toStdString());
    if (kind == engine::CellKind::Quantity)
        m_main.project().recomputeTotals();
    return true;
}

bool InputPage::StringGrid1SetEditText(int row, int col, const QString& text)
{
    const engine::CellKind kind = engine::sheetCellKind(col);
    if (!setCheckedCell(m_main.project().sheets, row, col, kind, text))
        return false;
    if (kind == engine::CellKind::Quantity)
        showTableCaptions();
    return true;
}

bool InputPage::StringGrid2SetEditText(int row, int col, const QString& text)
{
    m_main.setResultPageVisible(false);
    engine::TextTable& parts = m_main.project().parts;
    const engine::CellKind kind = engine::partCellKind(col);
    switch (kind) {
    case engine::CellKind::Length: return setCheckedCell(parts, row, col, kind, text);
    case engine::CellKind::Quantity:
        if (!setCheckedCell(parts, row, col, kind, text))
            return false;
        showTableCaptions();
        return true;
    case engine::CellKind::Band: ComboBox1Change(row, col, m_main.bandTypes().indexOf(text.toStdString())); return true;
    case engine::CellKind::RotationLock:
    case engine::CellKind::Derived: return false;
    default: parts.setCell(row, col, text.toStdString()); return true;
    }
}

void InputPage::StringGrid2SelectCell(int row, int col)
{
    engine::TextTable& parts = m_main.project().parts;
    if (row < 1 || row > parts.rowCount())
        return;
    if (m_partDelegate->isBandColumn(col)) {
        openBandChooser(panMainPart->model()->index(row - 1, col));
        return;
    }
    if (col != engine::PartCol::Rot)
        return;
    parts.setCell(row, col, engine::toggledLock(parts.cell(row, col)));
    m_main.setResultPageVisible(false);
    const QModelIndex i = panMainPart->model()->index(row - 1, col);
    emit panMainPart->model()->dataChanged(i, i);
}

void InputPage::openBandChooser(const QModelIndex& cell)
{
    StringGrid2->setCurrentIndex(cell);
    StringGrid2->edit(cell);
    if (auto* chooser = qobject_cast<QComboBox*>(StringGrid2->indexWidget(cell)))
        chooser->showPopup();
}

void InputPage::ComboBox1Change(int row, int col, int bandIndex)
{
    if (bandIndex < 0)
        return;
    engine::setPartBand(m_main.project().parts, row, col, bandValues(bandIndex));
    m_main.setResultPageVisible(false);
}

// ---------------------------------------------------------------------------
// Rows

void InputPage::emptyGridClicked(QTableView* grid)
{
    const engine::Project& project = m_main.project();
    const bool sheets = grid == StringGrid1;
    if ((sheets ? project.sheets.rowCount() : project.parts.rowCount()) == 0) {
        (sheets ? Edit2 : Edit6)->setFocus();
        return;
    }
    m_main.showMessage(engine::Msg::RowBelowLast, Messenger::Kind::Error, Messenger::Buttons::Ok,
                       besideField(grid, 100, 150));
}

void InputPage::Deleterow2Click()
{
    const int row = StringGrid1->currentIndex().row() + 1;
    if (row < 1 || row > m_main.project().sheets.rowCount())
        return;
    if (m_main.showMessage(engine::Msg::ConfirmDeleteRow, Messenger::Kind::Confirmation,
                           Messenger::Buttons::YesNoCancel) != Messenger::Answer::Yes)
        return;
    engine::deleteSheetRow(m_main.project(), row);
    panMainSheet->model()->refresh();
    showTableCaptions();
}

void InputPage::Deleterow1Click()
{
    const int row = StringGrid2->currentIndex().row() + 1;
    if (row < 1 || row > m_main.project().parts.rowCount())
        return;
    if (m_main.showMessage(engine::Msg::ConfirmDeleteRow, Messenger::Kind::Confirmation,
                           Messenger::Buttons::YesNoCancel) != Messenger::Answer::Yes)
        return;
    engine::deletePartRow(m_main.project(), row);
    panMainPart->model()->refresh();
    showTableCaptions();
    m_main.setResultPageVisible(false);
}

void InputPage::BitBtn3Click()
{
    if (m_main.showMessage(engine::Msg::ConfirmClearSheets, Messenger::Kind::Confirmation,
                           Messenger::Buttons::YesNoCancel) != Messenger::Answer::Yes)
        return;
    engine::clearSheetTable(m_main.project());
    panMainSheet->model()->refresh();
    showTableCaptions();
}

void InputPage::BitBtn4Click()
{
    if (m_main.showMessage(engine::Msg::ConfirmClearParts, Messenger::Kind::Confirmation,
                           Messenger::Buttons::YesNoCancel) != Messenger::Answer::Yes)
        return;
    engine::clearPartTable(m_main.project());
    panMainPart->model()->refresh();
    showTableCaptions();
    m_main.setResultPageVisible(false);
}

void InputPage::BitBtn16Click()
{
    engine::setAllLocks(m_main.project().parts, m_lockAllNext);
    m_lockAllNext = !m_lockAllNext;
    BitBtn16->setIcon(QIcon(m_lockAllNext ? ":/icons/lock_all.svg" : ":/icons/free_all.svg"));
    panMainPart->model()->refresh();
    m_main.setResultPageVisible(false);
}

} // namespace app
