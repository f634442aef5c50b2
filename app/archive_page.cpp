#include "app/archive_page.h"

#include <chrono>
#include <system_error>

#include <QCoreApplication>
#include <QEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/file_commands.h"
#include "app/input_page.h"
#include "app/main_form.h"
#include "app/named_widgets.h"
#include "app/print_commands.h"
#include "app/qt_text.h"
#include "engine/date_format.h"

namespace app {

namespace {

constexpr int kBrowseWidth = 172;
constexpr int kNameColumn = 0;
constexpr int kPriceColumn = 2;
constexpr int kTotalColumn = 3;
// A batch goes to the table after this many rows or this much time,
// whichever comes first: few enough calls for 10,000 files, soon enough
// that the table fills visibly.
constexpr std::size_t kBatchRows = 200;
constexpr auto kBatchTime = std::chrono::milliseconds(40);

} // namespace

ArchivePage::ArchivePage(TMainForm& main)
    : m_main(main)
{
    setObjectName("Arhiva");
    auto* lay = new QHBoxLayout(this);

    panArchiveBrowse = new QWidget;
    panArchiveBrowse->setObjectName("panArchiveBrowse");
    panArchiveBrowse->setFixedWidth(kBrowseWidth);
    auto* left = new QVBoxLayout(panArchiveBrowse);
    left->setContentsMargins(0, 0, 0, 0);
    DirectoryListBox1 = new QTreeWidget;
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    DirectoryListBox1->setColumnCount(1);
    DirectoryListBox1->header()->hide();
    DirectoryListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* root = new QTreeWidgetItem(DirectoryListBox1, {QDir::rootPath()});
    root->setData(0, Qt::UserRole, QDir::rootPath());
    root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    Label69 = newLabel("Label69", "Filter:");
    Edit18 = new QLineEdit;
    Edit18->setObjectName("Edit18");
    Edit18->installEventFilter(this);
    Label70 = newLabel("Label70", "*prazan unos za sve arhive");
    Label70->setWordWrap(true);
    BitBtn18 = new QPushButton("Print");
    BitBtn18->setObjectName("BitBtn18");
    BitBtn18->setIcon(QIcon(":/icons/print.svg"));
    left->addWidget(DirectoryListBox1, 1);
    left->addWidget(Label69);
    left->addWidget(Edit18);
    left->addWidget(Label70);
    left->addWidget(BitBtn18);

    panArchiveMain = new QWidget;
    panArchiveMain->setObjectName("panArchiveMain");
    panArchiveMain->installEventFilter(this);
    auto* v = new QVBoxLayout(panArchiveMain);
    v->setContentsMargins(0, 0, 0, 0);
    panArchiveHeadings = new QWidget;
    panArchiveHeadings->setObjectName("panArchiveHeadings");
    panArchiveHeadings->setFixedHeight(20);
    Label62 = newLabel("Label62", "IME ARHIVE", panArchiveHeadings);
    Label63 = newLabel("Label63", "POVRSINA", panArchiveHeadings);
    Label64 = newLabel("Label64", "CENA", panArchiveHeadings);
    Label65 = newLabel("Label65", "UKUPNO", panArchiveHeadings);
    StringGrid3 = new QTableWidget(0, 4);
    StringGrid3->setObjectName("StringGrid3");
    StringGrid3->horizontalHeader()->hide();
    StringGrid3->verticalHeader()->hide();
    StringGrid3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid3->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid3->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGrid3->verticalHeader()->setDefaultSectionSize(StringGrid3->fontMetrics().height() + 6);
    auto* totalRow = new QHBoxLayout;
    Label16 = newLabel("Label16", "Total:");
    Label17 = newLabel("Label17", "");
    Label17->setObjectName("Label17");
    QFont bold = Label17->font();
    bold.setBold(true);
    Label16->setFont(bold);
    Label17->setFont(bold);
    totalRow->addStretch(1);
    totalRow->addWidget(Label16);
    totalRow->addWidget(Label17);
    v->addWidget(panArchiveHeadings);
    v->addWidget(StringGrid3, 1);
    v->addLayout(totalRow);
    lay->addWidget(panArchiveBrowse);
    lay->addWidget(panArchiveMain, 1);

    connect(DirectoryListBox1, &QTreeWidget::itemExpanded, this, &ArchivePage::fillFolderItem);
    connect(DirectoryListBox1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (!m_showingFolder && current)
            DirectoryListBox1Change(current->data(0, Qt::UserRole).toString());
    });
    connect(StringGrid3, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling && item->column() == kPriceColumn)
            StringGrid3SetEditText(item->row(), item->text());
    });
    connect(StringGrid3, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column != kPriceColumn)
            StringGrid3DblClick(row);
    });
    connect(BitBtn18, &QPushButton::clicked, this, &ArchivePage::BitBtn18Click);
}

ArchivePage::~ArchivePage() { stopScan(); }

void ArchivePage::layoutArchive()
{
    const std::array<int, 4> widths = project_io::archiveColumnWidths(StringGrid3->width());
    for (int c = 0; c < 4; ++c)
        StringGrid3->setColumnWidth(c, widths[static_cast<size_t>(c)]);
    Label62->adjustSize();
    Label62->move(4, 2);
    int col = 1;
    for (QLabel* heading : {Label63, Label64, Label65}) {
        heading->adjustSize();
        const int textWidth = heading->fontMetrics().horizontalAdvance(heading->text());
        heading->move(project_io::archiveHeadingLeft(widths, col++, textWidth), 2);
    }
}

bool ArchivePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panArchiveMain && event->type() == QEvent::Resize)
        layoutArchive();
    if (watched == Edit18 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Edit18KeyPress();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ArchivePage::addCaptionTargets(CaptionTargets& targets) const
{
    targets.add({Label62, Label63, Label64, Label65, Label69, Label70, BitBtn18});
}

// ---------------------------------------------------------------------------
// Folder and scan

void ArchivePage::setFolder(const QString& folder)
{
    m_folder = folder;
    showFolderInTree();
    BitBtn17Click();
}

void ArchivePage::DirectoryListBox1Change(const QString& folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    BitBtn17Click();
}

void ArchivePage::fillFolderItem(QTreeWidgetItem* item)
{
    if (item->data(0, Qt::UserRole + 1).toBool())
        return;
    item->setData(0, Qt::UserRole + 1, true);
    const QString path = item->data(0, Qt::UserRole).toString();
    for (const std::string& name : project_io::listSubfolders(path.toStdString())) {
        auto* child = new QTreeWidgetItem(item, {qs(name)});
        child->setData(0, Qt::UserRole, QDir(path).filePath(qs(name)));
        child->setToolTip(0, child->data(0, Qt::UserRole).toString());
        child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (item->childCount() == 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void ArchivePage::showFolderInTree()
{
    // Down from the root, opening each folder on the way.
    QTreeWidgetItem* item = DirectoryListBox1->topLevelItem(0);
    const QStringList parts = QDir::cleanPath(QDir(m_folder).absolutePath()).split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        fillFolderItem(item);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == part)
                next = item->child(i);
        if (!next)
            break;  // a hidden folder, or one that went away
        item->setExpanded(true);
        item = next;
    }
    m_showingFolder = true;
    DirectoryListBox1->setCurrentItem(item);
    DirectoryListBox1->scrollToItem(item, QAbstractItemView::PositionAtCenter);
    m_showingFolder = false;
}

void ArchivePage::Edit18KeyPress() { BitBtn17Click(); }

void ArchivePage::BitBtn17Click()
{
    layoutArchive();
    if (m_folder.isEmpty()) {
        // The first time: the folder the open and save dialogs start in.
        m_folder = qs(m_main.fileCommands().dialogStartFolder());
        showFolderInTree();
    }
    const std::string folder = m_folder.toStdString();
    const project_io::ArchiveListing listing = project_io::listArchive(folder, Edit18->text().toStdString());
    if (!listing.status.ok()) {
        m_main.showStatus(listing.status, Messenger::Kind::Error);
        return;
    }
    if (listing.names.empty())
        return;
    stopScan();
    const int generation = ++m_generation;
    m_rows.clear();
    m_rows.reserve(listing.names.size());
    StringGrid3->setRowCount(0);
    m_scanning = true;
    m_cancel = false;
    const engine::AreaUnit unit = engine::areaUnitFromInt(m_main.settings().AreaStyle);
    auto post = [this, generation](std::vector<project_io::ArchiveRow>& batch, bool last) {
        auto rows = std::make_shared<std::vector<project_io::ArchiveRow>>(std::move(batch));
        batch.clear();
        QMetaObject::invokeMethod(
            this, [this, generation, rows, last] { addScannedRows(generation, *rows, last); }, Qt::QueuedConnection);
    };
    auto body = [this, post, folder, unit, names = listing.names]() mutable {
        std::vector<project_io::ArchiveRow> batch;
        auto sent = std::chrono::steady_clock::now();
        for (const std::string& name : names) {
            if (m_cancel)
                return;
            batch.push_back(project_io::readArchiveRow(folder, name, unit));
            if (batch.size() >= kBatchRows || std::chrono::steady_clock::now() - sent >= kBatchTime) {
                post(batch, false);
                sent = std::chrono::steady_clock::now();
            }
        }
        post(batch, true);
    };
    try {
        m_worker = std::thread(body);
    } catch (const std::system_error&) {
        body();  // no thread to be had: the files are read here, the window waits
    }
}

void ArchivePage::stopScan()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
    m_scanning = false;
}

void ArchivePage::waitForScan()
{
    if (m_worker.joinable())
        m_worker.join();
    // The rows the thread sent wait as queued calls.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void ArchivePage::addScannedRows(int generation, const std::vector<project_io::ArchiveRow>& rows, bool last)
{
    if (generation != m_generation)
        return;  // rows of a scan that a newer one ended
    const int first = static_cast<int>(m_rows.size());
    m_rows.insert(m_rows.end(), rows.begin(), rows.end());
    m_filling = true;
    StringGrid3->setRowCount(static_cast<int>(m_rows.size()));
    for (int r = first; r < static_cast<int>(m_rows.size()); ++r)
        showRow(r);
    m_filling = false;
    if (last) {
        Label17->setText(qs(project_io::archiveGrandTotal(m_rows)));
        m_scanning = false;
        if (m_worker.joinable())
            m_worker.join();
    }
}

void ArchivePage::showRow(int row)
{
    const project_io::ArchiveRow& r = m_rows[static_cast<size_t>(row)];
    const std::string unreadable = m_main.language().text(engine::number(engine::Msg::ArchiveCannotOpenFile));
    const QString texts[4] = {qs(project_io::archiveRowName(r, unreadable)), qs(r.area), qs(r.price), qs(r.total)};
    for (int c = 0; c < 4; ++c) {
        auto* item = new QTableWidgetItem(texts[c]);
        // The name cannot be selected; only a readable row's price is typed.
        Qt::ItemFlags flags = Qt::ItemIsEnabled;
        if (c != kNameColumn)
            flags |= Qt::ItemIsSelectable;
        if (c == kPriceColumn && r.readable())
            flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
        if (c != kNameColumn)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (!r.readable())
            item->setToolTip(m_main.statusText(r.problem));
        else if (c == kNameColumn)
            item->setToolTip(texts[c]);
        StringGrid3->setItem(row, c, item);
    }
}

// ---------------------------------------------------------------------------
// Price, print, open

void ArchivePage::StringGrid3SetEditText(int row, const QString& text)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    const engine::Result<std::string> total = project_io::editArchivePrice(m_rows, static_cast<size_t>(row),
                                                                           text.trimmed().toStdString());
    m_filling = true;
    if (total.ok()) {
        StringGrid3->item(row, kTotalColumn)->setText(qs(m_rows[static_cast<size_t>(row)].total));
        Label17->setText(qs(*total));
    } else {
        // The row keeps its price and total; the message names the file and the text.
        StringGrid3->item(row, kPriceColumn)->setText(qs(m_rows[static_cast<size_t>(row)].price));
    }
    m_filling = false;
    if (!total.ok())
        m_main.showStatus(engine::Status(total.error().msg, {m_rows[static_cast<size_t>(row)].name,
                                                             text.toStdString()}),
                          Messenger::Kind::Error);
}

void ArchivePage::BitBtn18Click()
{
    const engine::RichText list =
        project_io::archivePrintText(m_folder.toStdString(), m_rows, m_main.language(),
                                     engine::FormatDateTime(m_main.settings().DateFormat, engine::printTime()));
    m_main.printCommands().printArchiveList(list);
}

void ArchivePage::StringGrid3DblClick(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    const QString path = QDir(m_folder).filePath(qs(m_rows[static_cast<size_t>(row)].name));
    if (m_main.fileCommands().openArchiveProject(path))
        m_main.PageControl1->setCurrentWidget(m_main.pag1);
}

} // namespace app
