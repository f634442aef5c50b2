#include "app/import_dialog.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/file_dialogs.h"
#include "app/main_form.h"
#include "app/messenger.h"
#include "app/named_widgets.h"
#include "app/qt_text.h"
#include "app/settings_store.h"

namespace app {

namespace {

constexpr int kImportCaptionGroup = 5;
constexpr int kLinkTitle = 511;        // the file dialog's title
constexpr int kSpreadsheetFiles = 512; // the file dialog's filter name
constexpr int kPasteCaption = 510;     // the paste buttons, set when the dialog opens
constexpr int kWorkbookWidth = 350;    // the workbook path is shortened to this many pixels

QPushButton* plainButton(const char* name, const char* caption)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

// A worksheet shown read-only, with the column letters and row numbers a
// spreadsheet program shows.
class WorksheetModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setSheet(const sheets::Worksheet* sheet)
    {
        beginResetModel();
        m_sheet = sheet;
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        if (parent.isValid() || !m_sheet)
            return 0;
        return static_cast<int>(std::max<std::int64_t>(m_sheet->lastRow(), 1));
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        if (parent.isValid() || !m_sheet)
            return 0;
        return static_cast<int>(std::max<std::int64_t>(m_sheet->lastColumn(), 4));
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!m_sheet || !index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
            return {};
        return qs(m_sheet->text(index.row() + 1, index.column() + 1));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return section + 1;
        const std::string address = sheets::cellAddress(1, section + 1);
        return qs(address.substr(0, address.size() - 1));
    }

private:
    const sheets::Worksheet* m_sheet = nullptr;
};

TImportExcel::TImportExcel(TMainForm* main)
    : QDialog(main)
    , m_main(main)
{
    setObjectName("TImportExcel");
    setWindowTitle("Import from Excel");
    Half& s = half(0);
    s.target = sheets::ImportTarget::Sheets;
    s.workbookKey = "wbtable";
    s.worksheetKey = "wstable";
    s.rangeKeys = {"tablecol1", "tablecol2", "tablecol3", "tablecol4"};
    Half& p = half(1);
    p.target = sheets::ImportTarget::Parts;
    p.workbookKey = "wbelem";
    p.worksheetKey = "wselem";
    p.rangeKeys = {"elemcol1", "elemcol2", "elemcol3", "elemcol4"};

    auto* v = new QVBoxLayout(this);
    auto* halves = new QHBoxLayout;
    halves->addWidget(buildHalf(0), 1);
    halves->addWidget(buildHalf(1), 1);
    v->addLayout(halves, 1);
    BitBtn8 = plainButton("BitBtn8", "Done");
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(BitBtn8);
    v->addLayout(row);
    connect(BitBtn8, &QPushButton::clicked, this, &TImportExcel::BitBtn8Click);

    // The design's names of the two halves' controls.
    Label13 = s.title;
    Label3 = p.title;
    Label1 = s.workbookLabel;
    Label12 = p.workbookLabel;
    Label14 = s.worksheetLabel;
    Label2 = p.worksheetLabel;
    WorkB = s.WorkB;
    WorkS = s.WorkS;
    WorkBE = p.WorkB;
    WorkSE = p.WorkS;
    Label4 = s.headings[0];
    Label5 = s.headings[1];
    Label6 = s.headings[2];
    Label7 = s.headings[3];
    Label8 = p.headings[0];
    Label9 = p.headings[1];
    Label10 = p.headings[2];
    Label11 = p.headings[3];
    StringGrid1 = s.StringGrid;
    StringGrid2 = p.StringGrid;
    LinkBtn1 = s.LinkBtn;
    LinkBtn2 = p.LinkBtn;
    PreviewBtn1 = s.PreviewBtn;
    PreviewBtn2 = p.PreviewBtn;
    ImportBtn1 = s.ImportBtn;
    ImportBtn2 = p.ImportBtn;
    PasteBtn1 = s.PasteBtn;
    PasteBtn2 = p.PasteBtn;
    SheetBox1 = s.sheetBox;
    SheetBox2 = p.sheetBox;
    SheetGrid1 = s.sheetGrid;
    SheetGrid2 = p.sheetGrid;

    CaptionTargets targets;
    targets.add({Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10, Label11, Label12,
                 Label13, Label14, LinkBtn1, LinkBtn2, PreviewBtn1, PreviewBtn2, ImportBtn1, ImportBtn2, BitBtn8});
    main->registerCaptionWindow(kImportCaptionGroup, this, std::move(targets));
    main->LoadLanguage(main->languageName(), kImportCaptionGroup);
    showPasteCaptions();
    resize(1000, 660);
}

TImportExcel::~TImportExcel() = default;

QWidget* TImportExcel::buildHalf(int k)
{
    Half& h = half(k);
    const bool parts = k == 1;
    auto* box = new QWidget;
    box->setObjectName(parts ? "panParts" : "panSheets");
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(4, 4, 4, 4);
    h.title = newLabel(parts ? "Label3" : "Label13", parts ? "Import to element table" : "Import to table");
    QFont bold = h.title->font();
    bold.setBold(true);
    h.title->setFont(bold);
    v->addWidget(h.title);

    auto* link = new QGridLayout;
    h.workbookLabel = newLabel(parts ? "Label12" : "Label1", "Workbook");
    h.worksheetLabel = newLabel(parts ? "Label2" : "Label14", "Worksheet");
    h.WorkB = newLabel(parts ? "WorkBE" : "WorkB");
    h.WorkS = newLabel(parts ? "WorkSE" : "WorkS");
    h.sheetBox = new QComboBox;
    h.sheetBox->setObjectName(parts ? "SheetBox2" : "SheetBox1");
    h.sheetBox->setEnabled(false);
    link->addWidget(h.workbookLabel, 0, 0);
    link->addWidget(h.WorkB, 0, 1, 1, 2);
    link->addWidget(h.worksheetLabel, 1, 0);
    link->addWidget(h.WorkS, 1, 1);
    link->addWidget(h.sheetBox, 1, 2);
    link->setColumnStretch(1, 1);
    link->setColumnStretch(2, 1);
    v->addLayout(link);

    auto* buttons = new QHBoxLayout;
    h.LinkBtn = plainButton(parts ? "LinkBtn2" : "LinkBtn1", "Link to active worksheet");
    h.PasteBtn = plainButton(parts ? "PasteBtn2" : "PasteBtn1", "Paste copied cells");
    h.PreviewBtn = plainButton(parts ? "PreviewBtn2" : "PreviewBtn1", "Preview");
    h.ImportBtn = plainButton(parts ? "ImportBtn2" : "ImportBtn1", "Import data");
    for (QPushButton* b : {h.LinkBtn, h.PreviewBtn, h.PasteBtn, h.ImportBtn}) {
        buttons->addWidget(b);
        b->setEnabled(false);
    }
    // Pasting needs no workbook.
    h.PasteBtn->setEnabled(true);
    v->addLayout(buttons);

    h.sheetGrid = new QTableView;
    h.sheetGrid->setObjectName(parts ? "SheetGrid2" : "SheetGrid1");
    h.sheetModel = new WorksheetModel(h.sheetGrid);
    h.sheetGrid->setModel(h.sheetModel);
    h.sheetGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    h.sheetGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    h.sheetGrid->verticalHeader()->setDefaultSectionSize(h.sheetGrid->fontMetrics().height() + 6);
    h.sheetGrid->horizontalHeader()->setDefaultSectionSize(70);
    v->addWidget(h.sheetGrid, 3);

    auto* headings = new QHBoxLayout;
    headings->addSpacing(34);
    static constexpr const char* kSheetHeadings[] = {"Label4", "Label5", "Label6", "Label7"};
    static constexpr const char* kPartHeadings[] = {"Label8", "Label9", "Label10", "Label11"};
    static constexpr const char* kTitles[] = {"Width", "Height", "Count", "Descr"};
    for (int c = 0; c < 4; ++c) {
        h.headings[static_cast<std::size_t>(c)] = newLabel(parts ? kPartHeadings[c] : kSheetHeadings[c], kTitles[c]);
        headings->addWidget(h.headings[static_cast<std::size_t>(c)], 1);
    }
    v->addLayout(headings);
    h.StringGrid = new QTableWidget(1, 5);
    h.StringGrid->setObjectName(parts ? "StringGrid2" : "StringGrid1");
    h.StringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    h.StringGrid->horizontalHeader()->hide();
    h.StringGrid->verticalHeader()->hide();
    h.StringGrid->setColumnWidth(0, 30);
    for (int c = 1; c <= 4; ++c)
        h.StringGrid->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
    h.StringGrid->verticalHeader()->setDefaultSectionSize(h.StringGrid->fontMetrics().height() + 6);
    v->addWidget(h.StringGrid, 2);

    connect(h.LinkBtn, &QPushButton::clicked, this, [this, k] { LinkBtnClick(k); });
    connect(h.PreviewBtn, &QPushButton::clicked, this, [this, k] { PreviewBtnClick(k); });
    connect(h.PasteBtn, &QPushButton::clicked, this, [this, k] { PasteBtnClick(k); });
    connect(h.ImportBtn, &QPushButton::clicked, this, [this, k] { ImportBtnClick(k); });
    connect(h.sheetBox, &QComboBox::activated, this, [this, k](int index) { chooseWorksheet(k, index); });
    return box;
}

void TImportExcel::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_closing = false;
    FormShow();
}

void TImportExcel::closeEvent(QCloseEvent* event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void TImportExcel::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TImportExcel::BitBtn8Click() { accept(); }

void TImportExcel::showPasteCaptions()
{
    PasteBtn1->setText(m_main->text(kPasteCaption));
    PasteBtn2->setText(m_main->text(kPasteCaption));
}

void TImportExcel::FormShow()
{
    showPasteCaptions();
    SettingsStore& store = m_main->settingsStore();
    const int pref = m_main->settings().XlAutoPref;
    for (Half& h : m_halves) {
        h.workbookPath = store.ensureText(h.workbookKey, " ");
        h.worksheetName = store.ensureText(h.worksheetKey, "");
        for (std::size_t c = 0; c < 4; ++c) {
            const std::string range = store.ensureText(h.rangeKeys[c], "");
            if (pref != 2)
                h.preview.ranges[c] = range;
        }
    }
    for (int k = 0; k < 2; ++k)
        showPreview(k);
    LinkBtn1->setEnabled(true);
    LinkBtn2->setEnabled(true);
    if (pref == 2)
        return;
    for (int k = 0; k < 2; ++k) {
        const Half& h = half(k);
        // A half that never had a workbook has nothing to load and nothing
        // to say about it.
        if (h.workbookPath == " " || h.workbookPath.empty())
            continue;
        if (QFileInfo::exists(qs(h.workbookPath)))
            loadRemembered(k);
        else
            m_main->showText(m_main->text(engine::Msg::ImportWorkbookMissing) + "(" + qs(h.workbookPath) + ")",
                             Messenger::Kind::Error, Messenger::Buttons::Ok, std::nullopt);
    }
}

void TImportExcel::FormClose()
{
    if (m_closing)
        return;
    m_closing = true;
    SettingsStore& store = m_main->settingsStore();
    for (const Half& h : m_halves) {
        store.writeText(h.workbookKey, h.workbookPath.empty() ? " " : h.workbookPath);
        store.writeText(h.worksheetKey, h.worksheetName);
        for (std::size_t c = 0; c < 4; ++c)
            store.writeText(h.rangeKeys[c], h.preview.ranges[c]);
    }
    store.sync();
}

void TImportExcel::loadRemembered(int k)
{
    Half& h = half(k);
    const std::string remembered = h.worksheetName;
    if (!linkWorkbook(k, qs(h.workbookPath)))
        return;
    if (!h.workbook->sheet(remembered)) {
        showStatus(engine::Status(engine::Msg::WorksheetNotFound, {h.workbookPath, remembered}));
        return;
    }
    const engine::Status loaded = sheets::loadRanges(*h.sheet, m_main->settings().XlConvComma, h.preview);
    showPreview(k);
    if (!loaded.ok()) {
        showStatus(loaded);
        return;
    }
    h.ImportBtn->setEnabled(h.preview.rowCount() > 0);
}

void TImportExcel::LinkBtnClick(int k)
{
    FileDialogRequest request;
    request.title = m_main->text(kLinkTitle);
    request.filter = m_main->text(kSpreadsheetFiles) + " (*.xlsx *.xlsm *.ods *.xls *.csv *.txt *.tsv *.XLSX *.ODS *.XLS *.CSV)";
    const Half& h = half(k);
    if (h.workbookPath != " " && !h.workbookPath.empty())
        request.folder = QFileInfo(qs(h.workbookPath)).absolutePath();
    const std::optional<QString> chosen = FileDialogs::current().choose(this, request);
    if (!chosen)
        return;
    if (linkWorkbook(k, *chosen))
        half(k).ImportBtn->setEnabled(false);
}

bool TImportExcel::linkWorkbook(int k, const QString& path)
{
    Half& h = half(k);
    engine::Result<sheets::Workbook> book = sheets::readWorkbook(path.toStdString());
    if (!book.ok()) {
        showStatus(book.error());
        return false;
    }
    if (book->sheets.empty()) {
        showStatus(engine::Status(engine::Msg::ImportLinkFailed));
        return false;
    }
    const bool sameBook = path.toStdString() == h.workbookPath;
    h.workbook = std::make_shared<const sheets::Workbook>(std::move(*book));
    h.workbookPath = path.toStdString();
    const sheets::Worksheet* keep = sameBook ? h.workbook->sheet(h.worksheetName) : nullptr;
    h.sheet = keep ? keep : &h.workbook->sheets.front();
    h.worksheetName = h.sheet->name();
    h.sheetBox->clear();
    for (const std::string& name : h.workbook->sheetNames())
        h.sheetBox->addItem(qs(name));
    h.sheetBox->setCurrentIndex(static_cast<int>(h.sheet - h.workbook->sheets.data()));
    h.sheetBox->setEnabled(h.workbook->sheets.size() > 1);
    showLink(k);
    h.PreviewBtn->setEnabled(true);
    return true;
}

void TImportExcel::chooseWorksheet(int k, int index)
{
    Half& h = half(k);
    if (!h.workbook || index < 0 || index >= static_cast<int>(h.workbook->sheets.size()))
        return;
    h.sheet = &h.workbook->sheets[static_cast<std::size_t>(index)];
    h.worksheetName = h.sheet->name();
    h.sheetBox->setCurrentIndex(index);
    showLink(k);
}

void TImportExcel::showLink(int k)
{
    Half& h = half(k);
    const QString path = h.workbook ? qs(h.workbookPath) : QString();
    h.WorkB->setText(h.WorkB->fontMetrics().elidedText(path, Qt::ElideMiddle, kWorkbookWidth));
    h.WorkB->setToolTip(path);
    h.WorkS->setText(h.sheet ? qs(h.sheet->name()) : QString());
    h.sheetModel->setSheet(h.sheet);
}

void TImportExcel::showPreview(int k)
{
    Half& h = half(k);
    QTableWidget* grid = h.StringGrid;
    grid->clearContents();
    grid->setRowCount(h.preview.rowCount() + 1);
    const auto put = [grid](int row, int col, const std::string& text) {
        auto* item = new QTableWidgetItem(qs(text));
        grid->setItem(row, col, item);
        return item;
    };
    for (int c = 1; c <= 4; ++c) {
        QTableWidgetItem* item = put(0, c, h.preview.ranges[static_cast<std::size_t>(c - 1)]);
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
    }
    for (int r = 1; r <= h.preview.rowCount(); ++r) {
        put(r, 0, std::to_string(r));
        for (int c = 1; c <= 4; ++c)
            put(r, c, h.preview.cell(r, c));
    }
}

void TImportExcel::PreviewBtnClick(int k)
{
    Half& h = half(k);
    QItemSelectionModel* selection = h.sheetGrid->selectionModel();
    if (!h.sheet || !selection || !selection->hasSelection()) {
        m_main->showMessage(engine::Msg::ImportSelectionUnreadable, Messenger::Kind::Error);
        return;
    }
    // The bounding block of the selection, which must fill it.
    int top = INT_MAX, left = INT_MAX, bottom = -1, right = -1;
    qint64 area = 0;
    for (const QItemSelectionRange& r : selection->selection()) {
        top = std::min(top, r.top());
        left = std::min(left, r.left());
        bottom = std::max(bottom, r.bottom());
        right = std::max(right, r.right());
        area += static_cast<qint64>(r.width()) * r.height();
    }
    if (area != static_cast<qint64>(bottom - top + 1) * (right - left + 1)) {
        m_main->showMessage(engine::Msg::ImportSelectionUnreadable, Messenger::Kind::Error);
        return;
    }
    const sheets::CellRange range{top + 1, left + 1, bottom + 1, right + 1};
    if (range.columnCount() > 4) {
        m_main->showMessage(engine::Msg::ImportSelectionTooWide, Messenger::Kind::Information);
        return;
    }
    const engine::Result<sheets::CellBlock> block = sheets::blockOf(*h.sheet, range);
    if (!block.ok()) {
        showStatus(block.error());
        return;
    }
    takeBlock(k, *block);
}

void TImportExcel::takeBlock(int k, const sheets::CellBlock& block)
{
    Half& h = half(k);
    if (const engine::Status s = sheets::previewBlock(block, m_main->settings().XlConvComma, h.preview); !s.ok()) {
        showStatus(s);
        return;
    }
    showPreview(k);
    h.ImportBtn->setEnabled(true);
}

void TImportExcel::PasteBtnClick(int k)
{
    const QClipboard* clipboard = QApplication::clipboard();
    pasteText(k, clipboard ? clipboard->text() : QString());
}

void TImportExcel::pasteText(int k, const QString& text)
{
    const engine::Result<sheets::CellBlock> block = sheets::blockFromClipboard(text.toStdString());
    if (!block.ok()) {
        if (block.error().msg == engine::Msg::ImportSelectionTooWide)
            m_main->showMessage(engine::Msg::ImportSelectionTooWide, Messenger::Kind::Information);
        else
            showStatus(block.error());
        return;
    }
    takeBlock(k, *block);
}

void TImportExcel::ImportBtnClick(int k)
{
    Half& h = half(k);
    engine::Project& project = m_main->project();
    if (const engine::Status s = sheets::checkPreview(h.preview, m_main->unit()); !s.ok()) {
        showStatus(s);
        return;
    }
    sheets::ImportMode mode = sheets::ImportMode::Append;
    if (!m_main->settings().XlAppend) {
        // Yes empties the table first; No keeps its rows and adds after
        // them; Cancel imports nothing.
        const engine::Msg question = h.target == sheets::ImportTarget::Sheets ? engine::Msg::ConfirmClearSheets
                                                                               : engine::Msg::ConfirmClearParts;
        const Messenger::Answer a =
            m_main->showMessage(question, Messenger::Kind::Confirmation, Messenger::Buttons::YesNoCancel);
        if (a == Messenger::Answer::Cancel)
            return;
        mode = a == Messenger::Answer::Yes ? sheets::ImportMode::Replace : sheets::ImportMode::Append;
    }
    engine::BandValues firstBand;
    if (!m_main->bandTypes().empty()) {
        const engine::BandType& b = m_main->bandTypes().record(0);
        firstBand = {b.name, b.thickness, b.mark};
    }
    const engine::Result<int> done = sheets::importPreview(project, h.target, h.preview, mode, firstBand, m_main->unit());
    if (!done.ok()) {
        showStatus(done.error());
        return;
    }
    m_main->refreshTables();
    m_main->markProjectChanged();
    m_main->setResultPageVisible(false);
}

void TImportExcel::showStatus(const engine::Status& status) { m_main->showStatus(status, Messenger::Kind::Error); }

} // namespace app
