#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTableView>

#include "app/bands_dialog.h"
#include "app/main_form.h"
#include "app_fixture.h"

using apptest::AppTest;

namespace {

class BandsDialog : public AppTest {
protected:
    QAbstractItemModel* model() { return forms.bands->StringGrid1->model(); }
    engine::TextTable& grid() { return forms.bands->grid(); }
    QString bandFile()
    {
        QFile f(home() + "Config/bands.vlb");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

} // namespace

TEST_F(BandsDialog, GridHoldsTheFileWithRecordZeroFixed)
{
    start();
    ASSERT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(grid().cell(2, 0), "PVC 2");
    EXPECT_FALSE(model()->flags(model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model()->flags(model()->index(1, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(main().pag1->ComboBox2->count(), 3);
}

TEST_F(BandsDialog, ThicknessAndExtraLengthAreChecked)
{
    start();
    EXPECT_FALSE(model()->setData(model()->index(1, 1), "thin", Qt::EditRole));
    EXPECT_EQ(messages.shown.back().text, text(272));
    EXPECT_EQ(grid().cell(2, 1), "0.2");
    EXPECT_TRUE(model()->setData(model()->index(1, 3), "7.123", Qt::EditRole));
    EXPECT_EQ(grid().cell(2, 3), "7.12");
    EXPECT_TRUE(model()->setData(model()->index(1, 2), "anything", Qt::EditRole));
}

TEST_F(BandsDialog, NewAndDeleteRowsThenOkWritesTheFile)
{
    start();
    forms.bands->preparePopup(QPoint(-1, -1));
    EXPECT_TRUE(forms.bands->findChild<QAction*>("Deleterow1")->isEnabled());
    forms.bands->Newbandtype1Click();
    ASSERT_EQ(grid().rowCount(), 4);
    grid().setCell(4, 0, "Veneer");  // no thickness: dropped by OK
    forms.bands->StringGrid1->setCurrentIndex(model()->index(1, 0));
    messages.answers = {app::Messenger::Answer::No};
    forms.bands->Deleterow1Click();
    EXPECT_EQ(grid().rowCount(), 4);
    EXPECT_EQ(messages.shown.back().text, text(305));
    forms.bands->Deleterow1Click();
    ASSERT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(grid().cell(2, 0), "ABS 1");
    // The file keeps the old content until OK.
    EXPECT_TRUE(bandFile().contains("PVC 2"));
    forms.bands->btnBandSaveClick();
    EXPECT_EQ(bandFile(), "Bez trake\r\n0\r\n-\r\n0\r\n0\r\nABS 1\r\n0.1\r\nB\r\n3\r\n0.8\r\n");
    EXPECT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(main().pag1->ComboBox2->count(), 2);
    // Record 0 alone cannot be deleted.
    forms.bands->StringGrid1->setCurrentIndex(model()->index(1, 0));
    forms.bands->Deleterow1Click();
    forms.bands->btnBandSaveClick();
    forms.bands->preparePopup(QPoint(-1, -1));
    EXPECT_FALSE(forms.bands->findChild<QAction*>("Deleterow1")->isEnabled());
    forms.bands->StringGrid1->setCurrentIndex(model()->index(0, 0));
    forms.bands->Deleterow1Click();
    EXPECT_EQ(grid().rowCount(), 1);
}

TEST_F(BandsDialog, DamagedFileIsNamedAtStartAndItsWholeRecordsShown)
{
    QFile f(home() + "Config/bands.vlb");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("Bez trake\r\n0\r\n-\r\n0\r\n0\r\nPVC 2\r\n0.2\r\n");
    f.close();
    start();
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_TRUE(messages.shown.front().text.startsWith(text(118))) << messages.shown.front().text.toStdString();
    EXPECT_TRUE(messages.shown.front().text.contains("bands.vlb"));
    EXPECT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(main().pag1->ComboBox2->count(), 1);
}

TEST_F(BandsDialog, FailedSaveIsReportedAndKeepsTheEdits)
{
    start();
    forms.bands->Newbandtype1Click();
    grid().setCell(4, 0, "Oak");
    grid().setCell(4, 1, "1");
    grid().setCell(4, 3, "20");
    // The folder of the file is gone and a plain file stands in its place:
    // nothing can be written there, whoever runs the test.
    ASSERT_TRUE(QDir(home() + "Config").removeRecursively());
    QFile blocker(home() + "Config");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    messages.shown.clear();
    forms.bands->btnBandSaveClick();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown.back().text.startsWith(text(116))) << messages.shown.back().text.toStdString();
    EXPECT_EQ(grid().rowCount(), 4);
    EXPECT_EQ(grid().cell(4, 0), "Oak");
    EXPECT_EQ(main().pag1->ComboBox2->count(), 3);
}
