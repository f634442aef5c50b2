#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTableView>

#include "app/band_type_model.h"
#include "app/bands_dialog.h"
#include "app/main_form.h"
#include "app_fixture.h"

using apptest::AppTest;

namespace {

class BandsDialog : public AppTest {
protected:
    QAbstractItemModel* model() { return forms.bands->StringGrid1->model(); }
    engine::BandTypeTable& table() { return forms.bands->table(); }
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
    ASSERT_EQ(table().count(), 3);
    EXPECT_EQ(table().record(1).name, "PVC 2");
    EXPECT_FALSE(model()->flags(model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model()->flags(model()->index(1, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(main().pag1->ComboBox2->count(), 3);
}

TEST_F(BandsDialog, ThicknessAndExtraLengthAreChecked)
{
    start();
    EXPECT_FALSE(model()->setData(model()->index(1, 1), "thin", Qt::EditRole));
    EXPECT_EQ(messages.shown.back().text, text(272));
    EXPECT_EQ(table().record(1).thickness, "0.2");
    EXPECT_TRUE(model()->setData(model()->index(1, 3), "7.123", Qt::EditRole));
    EXPECT_EQ(table().record(1).extraLength, "7.12");
    EXPECT_TRUE(model()->setData(model()->index(1, 2), "anything", Qt::EditRole));
}

TEST_F(BandsDialog, NewAndDeleteRowsThenOkWritesTheFile)
{
    start();
    forms.bands->preparePopup(QPoint(-1, -1));
    EXPECT_TRUE(forms.bands->findChild<QAction*>("Deleterow1")->isEnabled());
    forms.bands->Newbandtype1Click();
    ASSERT_EQ(table().count(), 4);
    EXPECT_TRUE(model()->setData(model()->index(3, 0), "Veneer", Qt::EditRole));  // no thickness: dropped by OK
    forms.bands->StringGrid1->setCurrentIndex(model()->index(1, 0));
    messages.answers = {app::Messenger::Answer::No};
    forms.bands->Deleterow1Click();
    EXPECT_EQ(table().count(), 4);
    EXPECT_EQ(messages.shown.back().text, text(305));
    forms.bands->Deleterow1Click();
    ASSERT_EQ(table().count(), 3);
    EXPECT_EQ(table().record(1).name, "ABS 1");
    // The file keeps the old content until OK.
    EXPECT_TRUE(bandFile().contains("PVC 2"));
    forms.bands->btnBandSaveClick();
    EXPECT_EQ(bandFile(), "Bez trake\r\n0\r\n-\r\n0\r\n0\r\nABS 1\r\n0.1\r\nB\r\n3\r\n0.8\r\n");
    EXPECT_EQ(table().count(), 2);
    EXPECT_EQ(main().pag1->ComboBox2->count(), 2);
    // Record 0 alone cannot be deleted.
    forms.bands->StringGrid1->setCurrentIndex(model()->index(1, 0));
    forms.bands->Deleterow1Click();
    forms.bands->btnBandSaveClick();
    forms.bands->preparePopup(QPoint(-1, -1));
    EXPECT_FALSE(forms.bands->findChild<QAction*>("Deleterow1")->isEnabled());
    forms.bands->StringGrid1->setCurrentIndex(model()->index(0, 0));
    forms.bands->Deleterow1Click();
    EXPECT_EQ(table().count(), 1);
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
    EXPECT_EQ(table().count(), 1);
    EXPECT_EQ(main().pag1->ComboBox2->count(), 1);
}

TEST_F(BandsDialog, FailedSaveIsReportedAndKeepsTheEdits)
{
    start();
    forms.bands->Newbandtype1Click();
    ASSERT_TRUE(model()->setData(model()->index(3, 0), "Oak", Qt::EditRole));
    ASSERT_TRUE(model()->setData(model()->index(3, 1), "1", Qt::EditRole));
    ASSERT_TRUE(model()->setData(model()->index(3, 3), "20", Qt::EditRole));
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
    EXPECT_EQ(table().count(), 4);
    EXPECT_EQ(table().record(3).name, "Oak");
    EXPECT_EQ(main().pag1->ComboBox2->count(), 3);
}

TEST_F(BandsDialog, OneModelForTheDialogAndTheChoosers)
{
    start();
    EXPECT_EQ(model()->rowCount(), 3);
    EXPECT_EQ(model()->columnCount(), 5);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(model()->headerData(c, Qt::Horizontal).toString(), text(190 + c));
    EXPECT_EQ(model()->data(model()->index(1, 0), Qt::ToolTipRole).toString(), "PVC 2");
    EXPECT_EQ(model()->data(model()->index(2, 4), Qt::DisplayRole).toString(), "0.8");
    // The choosers read the main window's table and cannot change it.
    app::BandTypeModel* chooserModel = main().bandModel();
    EXPECT_EQ(main().pag1->ComboBox2->model(), chooserModel);
    EXPECT_EQ(main().pag1->ComboBox2->itemText(1), "PVC 2");
    EXPECT_FALSE(chooserModel->flags(chooserModel->index(1, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(chooserModel->setData(chooserModel->index(1, 0), "x", Qt::EditRole));
    // Dialog edits stay in the dialog until OK.
    EXPECT_TRUE(model()->setData(model()->index(1, 0), "PVC 2 white", Qt::EditRole));
    EXPECT_EQ(main().bandTypes().record(1).name, "PVC 2");
    forms.bands->btnBandSaveClick();
    EXPECT_EQ(main().bandTypes().record(1).name, "PVC 2 white");
    EXPECT_EQ(main().pag1->ComboBox2->itemText(1), "PVC 2 white");
    EXPECT_EQ(main().pag1->ComboBox2->currentIndex(), 0);
}
