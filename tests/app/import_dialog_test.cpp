// The spreadsheet import dialog driven headless: a workbook linked through
// the file dialog, a worksheet chosen, a block selected in its grid, Preview
// and Import, the remembered values loaded again on the next opening.
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>

#include "app/import_dialog.h"
#include "app/main_form.h"
#include "app/main_menus.h"
#include "app_fixture.h"

using apptest::AppTest;

namespace {

QString workbook(const char* name) { return QString(TEST_DATA_DIR) + "/sheets/" + name; }

class ImportDialog : public AppTest {
protected:
    apptest::RecordingFileDialogs files;

    void SetUp() override
    {
        AppTest::SetUp();
        app::FileDialogs::install(&files);
    }
    void TearDown() override
    {
        if (forms.importDialog)
            forms.importDialog->hide();
        app::FileDialogs::install(nullptr);
        AppTest::TearDown();
    }

    app::TImportExcel& dialog() { return *forms.importDialog; }

    // Opens the dialog without its modal loop (FormShow runs).
    void open()
    {
        dialog().show();
        QApplication::processEvents();
    }
    void close() { dialog().BitBtn8Click(); }

    // Selects the block of cells (0-based rows and columns) in half k's worksheet grid.
    void select(int k, int top, int left, int bottom, int right)
    {
        QTableView* grid = dialog().half(k).sheetGrid;
        const QItemSelection block(grid->model()->index(top, left), grid->model()->index(bottom, right));
        grid->selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
    }

    QString previewCell(int k, int row, int col)
    {
        const QTableWidgetItem* item = dialog().half(k).StringGrid->item(row, col);
        return item ? item->text() : QString();
    }

    std::vector<QString> messageTexts()
    {
        std::vector<QString> out;
        for (const auto& m : messages.shown)
            out.push_back(m.text);
        return out;
    }
};

} // namespace

TEST_F(ImportDialog, LinkSelectPreviewImportIntoThePartTable)
{
    start();
    // The command is there and enabled, with its tool button.
    EXPECT_TRUE(main().menus().fromExcel->isEnabled());
    EXPECT_TRUE(main().menus().SpeedButton1->isEnabled());
    ASSERT_TRUE(main().openProjectFile(QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp"));
    const int before = main().project().partRowCount();
    const std::int64_t qtyBefore = main().project().partQtyTotal;
    open();
    EXPECT_FALSE(dialog().PreviewBtn2->isEnabled());
    EXPECT_FALSE(dialog().ImportBtn2->isEnabled());

    files.answers.push_back(workbook("basic.xlsx"));
    dialog().LinkBtn2->click();
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_TRUE(files.requests[0].filter.contains("*.xlsx"));
    EXPECT_EQ(dialog().WorkSE->text(), "Parts");
    EXPECT_EQ(dialog().WorkBE->toolTip(), workbook("basic.xlsx"));
    EXPECT_EQ(dialog().SheetBox2->count(), 3);
    EXPECT_TRUE(dialog().PreviewBtn2->isEnabled());
    EXPECT_FALSE(dialog().ImportBtn2->isEnabled());
    // The worksheet shows the cells read-only, headed by letters.
    QTableView* grid = dialog().SheetGrid2;
    EXPECT_EQ(grid->model()->data(grid->model()->index(2, 1)).toString(), "30,5");
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "B");
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(2, 1)) & Qt::ItemIsEditable);

    select(1, 1, 0, 3, 3);  // A2:D4
    dialog().PreviewBtn2->click();
    EXPECT_EQ(previewCell(1, 0, 1), "A2:A4");
    EXPECT_EQ(previewCell(1, 0, 4), "D2:D4");
    EXPECT_EQ(previewCell(1, 2, 2), "30.5");  // XlConvComma is on by default
    EXPECT_TRUE(dialog().ImportBtn2->isEnabled());
    dialog().ImportBtn2->click();
    EXPECT_TRUE(messages.shown.empty()) << (messages.shown.empty() ? "" : messages.shown[0].text.toStdString());

    const engine::Project& p = main().project();
    ASSERT_EQ(p.partRowCount(), before + 3);
    // Rotation lock 0 and the first band type on every edge.
    const engine::BandType& first = main().bandTypes().record(0);
    std::vector<std::string> expected = {"", "2.5", "30.5", "1", "Top", "0"};
    for (const std::string* field : {&first.name, &first.thickness, &first.mark})
        expected.insert(expected.end(), 4, *field);
    EXPECT_EQ(p.parts.row(before + 2), expected);
    EXPECT_EQ(p.partQtyTotal, qtyBefore + 2 + 1 + 4);
    EXPECT_TRUE(main().projectChanged());
    EXPECT_FALSE(main().resultPageVisible());
}

TEST_F(ImportDialog, RememberedRangesLoadAgainOnOpening)
{
    start();
    open();
    files.answers.push_back(workbook("basic.ods"));
    dialog().LinkBtn1->click();
    dialog().chooseWorksheet(0, 0);
    select(0, 1, 0, 2, 2);  // A2:C3, three columns
    dialog().PreviewBtn1->click();
    close();
    EXPECT_EQ(stored("tablecol2"), "B2:B3");
    EXPECT_EQ(stored("wstable"), "Parts");

    // A fresh dialog state: the preview comes back from the remembered values.
    dialog().half(0).preview = {};
    dialog().half(0).workbook.reset();
    dialog().half(0).sheet = nullptr;
    open();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(previewCell(0, 0, 1), "A2:A3");
    EXPECT_EQ(previewCell(0, 0, 4), "");
    EXPECT_EQ(previewCell(0, 2, 1), "2.5");
    EXPECT_EQ(dialog().WorkS->text(), "Parts");
    EXPECT_TRUE(dialog().ImportBtn1->isEnabled());
    // Row 2's quantity is 0.25: message 237 with its column and row, nothing written.
    dialog().ImportBtn1->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(text(237))) << messages.shown[0].text.toStdString();
    EXPECT_TRUE(messages.shown[0].text.endsWith("3,2")) << messages.shown[0].text.toStdString();
    EXPECT_EQ(main().project().sheetRowCount(), 0);

    // With XlAutoPref 2 nothing is loaded on opening.
    close();
    main().settings().XlAutoPref = 2;
    dialog().half(0).preview = {};
    open();
    EXPECT_EQ(previewCell(0, 0, 1), "");
    EXPECT_TRUE(dialog().LinkBtn1->isEnabled());
}

TEST_F(ImportDialog, AppendOffAsksAndEachAnswerDoesWhatItSays)
{
    start();
    ASSERT_TRUE(main().openProjectFile(QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp"));
    main().settings().XlAppend = false;
    const int before = main().project().sheetRowCount();
    ASSERT_GT(before, 0);
    open();
    dialog().pasteText(0, "280\t207\t3\tOak\n");
    EXPECT_EQ(previewCell(0, 0, 1), "");  // pasted cells have no place in a worksheet
    EXPECT_EQ(previewCell(0, 1, 4), "Oak");

    messages.answers = {app::Messenger::Answer::Cancel};
    dialog().ImportBtn1->click();
    EXPECT_EQ(main().project().sheetRowCount(), before);
    EXPECT_EQ(messages.shown.back().text, text(289));

    // No keeps the rows and adds after them.
    messages.answers = {app::Messenger::Answer::No};
    dialog().ImportBtn1->click();
    ASSERT_EQ(main().project().sheetRowCount(), before + 1);
    EXPECT_EQ(main().project().sheets.cell(before + 1, engine::SheetCol::Descr), "Oak");
    EXPECT_NE(main().project().sheets.cell(1, engine::SheetCol::Descr), "Oak");

    // Yes empties the table first.
    messages.answers = {app::Messenger::Answer::Yes};
    dialog().ImportBtn1->click();
    ASSERT_EQ(main().project().sheetRowCount(), 1);
    EXPECT_EQ(main().project().sheetQtyTotal, 3);
}

TEST_F(ImportDialog, WrongSelectionsAndMissingWorkbooksAreSaid)
{
    writeSettings({"iLang=Finished", "Jezik=English", "wbelem=/nowhere/gone.xlsx", "wselem=Parts",
                   "elemcol1=A2:A4"});
    start();
    open();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(234) + "(/nowhere/gone.xlsx)");
    EXPECT_EQ(previewCell(1, 0, 1), "A2:A4");  // the remembered range stays in view
    messages.shown.clear();

    files.answers.push_back(workbook("basic.xlsx"));
    dialog().LinkBtn2->click();
    // Nothing selected.
    dialog().PreviewBtn2->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(242));
    // Five columns: an information box, the preview as it was.
    select(1, 1, 0, 2, 4);
    dialog().PreviewBtn2->click();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, text(238));
    EXPECT_EQ(messages.shown[1].kind, app::Messenger::Kind::Information);
    EXPECT_EQ(previewCell(1, 0, 1), "A2:A4");
    // A damaged workbook: its message with the file and the place.
    files.answers.push_back(workbook("bad-shared-index.xlsx"));
    dialog().LinkBtn2->click();
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_TRUE(messages.shown[2].text.contains("shared string 2 of 2")) << messages.shown[2].text.toStdString();
    EXPECT_EQ(dialog().WorkSE->text(), "Parts");  // the earlier link stays
    // Closing writes what is linked now.
    close();
    EXPECT_EQ(stored("wselem"), "Parts");
}
