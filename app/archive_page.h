#pragma once

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <QWidget>

#include "project/archive.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QTreeWidget;
class QTreeWidgetItem;

namespace app {

class CaptionTargets;
class TMainForm;

// The project archive page (Arhiva): the folder tree, the name filter and
// the print button on the left; the archive table with its column headings
// and the grand total on the right. The files are read on a worker thread,
// whose rows reach the table in batches through queued calls, so a folder
// of thousands of projects fills while the window stays usable; a new scan
// (another folder, the filter, the page shown again) ends the running one.
class ArchivePage : public QWidget {
    Q_OBJECT
public:
    explicit ArchivePage(TMainForm& main);
    ~ArchivePage() override;

    // Column widths and heading places for the table's width.
    void layoutArchive();
    void addCaptionTargets(CaptionTargets& targets) const;

    // The scan: lists the folder's project files that match the filter.
    // A folder without such files leaves table and total as they were.
    void BitBtn17Click();
    // Enter in the filter field: the scan with the new filter.
    void Edit18KeyPress();
    // A price typed into row `row`: that row's total and the grand total.
    void StringGrid3SetEditText(int row, const QString& text);
    // Prints the list (a text printout through the print dialog).
    void BitBtn18Click();
    // Opens the project of row `row` as Open does.
    void StringGrid3DblClick(int row);

    // The folder the page lists; setting it shows it in the tree and scans.
    [[nodiscard]] QString folder() const { return m_folder; }
    void setFolder(const QString& folder);

    [[nodiscard]] bool scanning() const { return m_scanning; }
    // Waits until the running scan has put all its rows into the table.
    void waitForScan();
    [[nodiscard]] const std::vector<project_io::ArchiveRow>& rows() const { return m_rows; }

    // The controls, by their design names.
    QWidget* panArchiveBrowse;
    // The folder tree: each folder's subfolders are read when it is first
    // opened (listSubfolders), so a folder of thousands of files opens at once.
    QTreeWidget* DirectoryListBox1;
    QLabel* Label69;
    QLineEdit* Edit18;
    QLabel* Label70;
    QPushButton* BitBtn18;
    QWidget* panArchiveMain;
    QWidget* panArchiveHeadings;
    QLabel* Label62;
    QLabel* Label63;
    QLabel* Label64;
    QLabel* Label65;
    QTableWidget* StringGrid3;
    QLabel* Label16;
    QLabel* Label17;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stopScan();
    void addScannedRows(int generation, const std::vector<project_io::ArchiveRow>& rows, bool last);
    void showRow(int row);
    void showFolderInTree();
    // Fills `item`'s children with its subfolders, once.
    void fillFolderItem(QTreeWidgetItem* item);
    void DirectoryListBox1Change(const QString& folder);

    TMainForm& m_main;
    QString m_folder;
    std::vector<project_io::ArchiveRow> m_rows;
    // The scan thread; m_generation tells the rows of an ended scan from
    // those of the running one.
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    int m_generation = 0;
    bool m_scanning = false;
    // Set while the page writes into the table itself (no price edit then).
    bool m_filling = false;
    bool m_showingFolder = false;
};

} // namespace app
