// The archive page: the listing of a folder through the worker thread, the
// filter, a typed price, files that do not read, the printed list and
// opening a row's project.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include "app/archive_page.h"
#include "app/print_dialog.h"
#include "app_fixture.h"

namespace {

using apptest::AppTest;

const QString kArchiveData = QString(TEST_DATA_DIR) + "/project/archive/";

class ArchiveWindow : public AppTest {
protected:
    apptest::RecordingFileDialogs files;

    void SetUp() override
    {
        AppTest::SetUp();
        app::FileDialogs::install(&files);
        writeSettings({"iLang=Finished", "Jezik=English", "AreaStyle=2"});
    }
    void TearDown() override
    {
        app::TPrintDialogEx::runner = nullptr;
        app::FileDialogs::install(nullptr);
        AppTest::TearDown();
    }

    app::ArchivePage& page() { return *main().Arhiva; }
    QTableWidget& grid() { return *page().StringGrid3; }
    QString cell(int row, int col) { return grid().item(row, col) ? grid().item(row, col)->text() : QString(); }

    // A folder of its own under the test folder with copies of `files`
    // (paths relative to the archive test data).
    QString folderWith(const QString& name, const QStringList& sources)
    {
        const QString folder = home() + name;
        QDir().mkpath(folder);
        for (const QString& s : sources)
            EXPECT_TRUE(QFile::copy(kArchiveData + s, folder + "/" + QFileInfo(s).fileName())) << s.toStdString();
        return folder;
    }

    void list(const QString& folder)
    {
        page().setFolder(folder);
        page().waitForScan();
    }
};

TEST_F(ArchiveWindow, FilterListsTheMatchingProjects)
{
    start();
    list(kArchiveData + "filter");
    ASSERT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(cell(0, 0), "garage.vlp");
    // Enter in the filter lists again with the mask of the filter.
    page().Edit18->setText("kit");
    QTest::keyClick(page().Edit18, Qt::Key_Return);
    page().waitForScan();
    ASSERT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(cell(0, 0), "kitchen.vlp");
    EXPECT_EQ(cell(1, 0), "old kit.qln");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ArchiveWindow, SheetAreaPriceTotalAndGrandTotal)
{
    start();
    list(kArchiveData + "yard");
    ASSERT_EQ(grid().rowCount(), 1);
    // Three rows of 2500 x 1250 mm, quantities 2, 1 and 4.
    EXPECT_EQ(cell(0, 1), "21.875 m\u00B2");
    EXPECT_EQ(cell(0, 2), "0.50");
    EXPECT_EQ(cell(0, 3), "10.94");
    EXPECT_EQ(page().Label17->text(), "10.94");

    list(kArchiveData + "totals");
    ASSERT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(cell(0, 3), "10.70");
    EXPECT_EQ(cell(1, 3), "5.60");
    EXPECT_EQ(page().Label17->text(), "16.30");
}

TEST_F(ArchiveWindow, TypedPriceRecomputesRowAndTotal)
{
    start();
    list(kArchiveData + "totals");
    // A typed price goes through the grid's own edit signal.
    grid().item(0, 2)->setText("5.5");
    EXPECT_EQ(cell(0, 3), "05.50");
    EXPECT_EQ(page().Label17->text(), "11.10");
    EXPECT_TRUE(messages.shown.empty());

    // Not a number: a message naming the file, the row keeps price and total.
    grid().item(1, 2)->setText("ten");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains("b-shelf.qln"));
    EXPECT_TRUE(messages.shown[0].text.contains("ten"));
    EXPECT_EQ(cell(1, 2), "10");
    EXPECT_EQ(cell(1, 3), "5.60");
    EXPECT_EQ(page().Label17->text(), "11.10");

    // Column 0 cannot be selected; only the price can be typed.
    EXPECT_FALSE(grid().item(0, 0)->flags() & Qt::ItemIsSelectable);
    EXPECT_FALSE(grid().item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(grid().item(0, 2)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(grid().item(0, 3)->flags() & Qt::ItemIsEditable);
}

TEST_F(ArchiveWindow, EmptyFolderLeavesGridAndTotal)
{
    start();
    list(kArchiveData + "totals");
    const QString empty = home() + "empty";
    QDir().mkpath(empty);
    QFile note(empty + "/notes.txt");
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.close();
    list(empty);
    EXPECT_EQ(page().folder(), empty);
    ASSERT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(cell(0, 0), "a-cabinet.vlp");
    EXPECT_EQ(page().Label17->text(), "16.30");
}

TEST_F(ArchiveWindow, UnreadableAndDamagedFilesAreMarkedRowsAndTheListingGoesOn)
{
    start();
    const QString folder = folderWith("mixed", {"totals/a-cabinet.vlp", "totals/b-shelf.qln"});
    // Read-only: listed as any other file (the archive only reads).
    QFile::setPermissions(folder + "/a-cabinet.vlp", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    // Unreadable (root reads every file, so a link to nothing stands for
    // one without read permission).
    ASSERT_TRUE(QFile::link(folder + "/gone.vlp", folder + "/b-locked.vlp"));
    QFile damaged(folder + "/b-damaged.vlp");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("<velm_root><job><measure>0</measure><price1>x</price1>");
    damaged.close();
    list(folder);

    ASSERT_EQ(grid().rowCount(), 4);
    EXPECT_EQ(cell(0, 0), "a-cabinet.vlp");
    EXPECT_EQ(cell(0, 3), "10.70");
    EXPECT_EQ(cell(1, 0), text(22) + " b-damaged.vlp");
    EXPECT_EQ(cell(2, 0), text(22) + " b-locked.vlp");
    for (int r : {1, 2}) {
        EXPECT_EQ(cell(r, 1), "");
        EXPECT_EQ(cell(r, 3), "");
        EXPECT_FALSE(grid().item(r, 2)->flags() & Qt::ItemIsEditable);
        // The tooltip says why, with the path.
        EXPECT_TRUE(grid().item(r, 0)->toolTip().contains(folder)) << r;
    }
    EXPECT_EQ(cell(3, 0), "b-shelf.qln");
    // No message box stops the listing; the total leaves the marked rows out.
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(page().Label17->text(), "16.30");
}

TEST_F(ArchiveWindow, NewScanEndsTheRunningOne)
{
    start();
    // Enough files that the first scan is still running when the second
    // starts (and if not, the result must be the same).
    const QString big = home() + "big";
    QDir().mkpath(big);
    QFile source(kArchiveData + "totals/a-cabinet.vlp");
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    for (int i = 0; i < 600; ++i) {
        QFile f(big + QString("/p%1.vlp").arg(i, 4, 10, QChar('0')));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    page().setFolder(big);
    page().setFolder(kArchiveData + "totals");

    page().waitForScan();
    ASSERT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(cell(1, 0), "b-shelf.qln");
    EXPECT_EQ(page().Label17->text(), "16.30");
    EXPECT_FALSE(page().scanning());

    list(big);
    ASSERT_EQ(grid().rowCount(), 600);
    EXPECT_EQ(cell(599, 0), "p0599.vlp");
    EXPECT_EQ(page().Label17->text(), "6,420.00");
}

TEST_F(ArchiveWindow, EnteringThePageListsItsFolderAgain)
{
    start();
    const QString folder = folderWith("grow", {"totals/a-cabinet.vlp"});
    list(folder);
    ASSERT_EQ(grid().rowCount(), 1);
    ASSERT_TRUE(QFile::copy(kArchiveData + "totals/b-shelf.qln", folder + "/b-shelf.qln"));
    main().PageControl1->setCurrentWidget(main().pag1);
    main().PageControl1->setCurrentWidget(&page());
    page().waitForScan();
    EXPECT_EQ(grid().rowCount(), 2);
    // The folder tree shows the listed folder.
    EXPECT_EQ(QDir(page().DirectoryListBox1->currentIndex().data(Qt::DisplayRole).toString()).dirName(), "grow");
}

TEST_F(ArchiveWindow, FirstEntryListsTheProjectsFolder)
{
    start();
    EXPECT_TRUE(page().folder().isEmpty());
    main().PageControl1->setCurrentWidget(&page());
    page().waitForScan();
    EXPECT_FALSE(page().folder().isEmpty());
    EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
}

TEST_F(ArchiveWindow, PrintedListGoesThroughThePrintDialog)
{
    if (QProcess::execute("pdftotext", {"-v"}) < 0)
        GTEST_SKIP() << "pdftotext missing";
    start();
    const QString folder = folderWith("print", {"totals/a-cabinet.vlp", "totals/b-shelf.qln"});
    ASSERT_TRUE(QFile::link(folder + "/gone.vlp", folder + "/c-gone.vlp"));
    list(folder);
    files.answers.push_back(home() + "archive.pdf");
    app::TPrintDialogEx::runner = [](QDialog& d) {
        dynamic_cast<app::TPrintDialogEx&>(d).btnPdf->click();
        return d.result();
    };
    page().BitBtn18->click();
    ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
    ASSERT_TRUE(QFile::exists(home() + "archive.pdf"));
    QProcess p;
    p.start("pdftotext", {"-layout", home() + "archive.pdf", "-"});
    p.waitForFinished(60000);
    const QString pdf = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(pdf.contains(text(23) + folder + text(24))) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("a-cabinet.vlp-----")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains(text(22) + " c-gone.vlp")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("PROJECT NAME")) << pdf.toStdString();

    // A cancelled dialog prints nothing.
    app::TPrintDialogEx::runner = [](QDialog&) { return int(QDialog::Rejected); };
    files.answers.push_back(home() + "again.pdf");
    page().BitBtn18->click();
    EXPECT_FALSE(QFile::exists(home() + "again.pdf"));
}

TEST_F(ArchiveWindow, DoubleClickOpensTheRowsProject)
{
    start();
    showActive();
    const QString folder = home() + "open";
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp", folder + "/kitchen.vlp"));
    main().PageControl1->setCurrentWidget(&page());
    list(folder);
    QApplication::processEvents();
    const QRect cellRect = grid().visualRect(grid().model()->index(0, 1));
    ASSERT_FALSE(cellRect.isEmpty());
    ASSERT_TRUE(grid().isVisible());
    // A double click is a press and a release, then the double click.
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cellRect.center());
    QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, cellRect.center());
    ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
    EXPECT_EQ(QString::fromStdString(main().project().fileName), folder + "/kitchen.vlp");
    EXPECT_GT(main().project().partRowCount(), 0);
    EXPECT_EQ(main().PageControl1->currentWidget(), main().pag1);
    EXPECT_EQ(main().settings().rp1, (folder + "/kitchen.vlp").toStdString());
}

TEST_F(ArchiveWindow, ColumnsFollowTheTableWidth)
{
    start();
    main().PageControl1->setCurrentWidget(&page());
    main().resize(1000, 700);
    QApplication::processEvents();
    const std::array<int, 4> widths = project_io::archiveColumnWidths(grid().width());
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid().columnWidth(c), widths[static_cast<size_t>(c)]) << c;
    EXPECT_EQ(page().panArchiveBrowse->width(), 172);
}

} // namespace
