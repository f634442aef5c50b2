// A program folder nobody may write (installed for all users): the band
// dialog saves to the user's own copy, and the next start reads it.
#include <QAbstractItemModel>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QFile>

#include "app/bands_dialog.h"
#include "app/dxf_export_dialog.h"
#include "app/main_form.h"
#include "app_fixture.h"

using apptest::AppTest;

namespace {

class ReadOnlyProgramFolder : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_oldXdg = qgetenv("XDG_DATA_HOME");
        m_hadXdg = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", (dir.path() + "/user").toUtf8());
        shipped = readFile(home() + "Config/bands.vlb");
        // Mode 555: read-only for the superuser too.
        QFile::setPermissions(home() + "Config", QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                                     | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
    void TearDown() override
    {
        AppTest::TearDown();
        QFile::setPermissions(home() + "Config", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (m_hadXdg)
            qputenv("XDG_DATA_HOME", m_oldXdg);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    [[nodiscard]] QString userCopy() const { return dir.path() + "/user/velmora/Config/bands.vlb"; }

    QByteArray shipped;

private:
    QByteArray m_oldXdg;
    bool m_hadXdg = false;
};

} // namespace

TEST_F(ReadOnlyProgramFolder, BandDialogSavesToTheUsersCopyAndTheNextStartReadsIt)
{
    start();
    ASSERT_EQ(main().pag1->ComboBox2->count(), 3);
    EXPECT_FALSE(QFile::exists(userCopy()));

    forms.bands->Newbandtype1Click();
    QAbstractItemModel* model = forms.bands->StringGrid1->model();
    ASSERT_EQ(model->rowCount(), 4);
    const char* cells[] = {"Oak 1", "0.1", "O", "2", "1.5"};
    for (int c = 0; c < 5; ++c)
        ASSERT_TRUE(model->setData(model->index(3, c), cells[c], Qt::EditRole)) << c;
    messages.shown.clear();
    forms.bands->btnBandSaveClick();
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().text.toStdString();
    EXPECT_EQ(main().pag1->ComboBox2->count(), 4);
    // The user's copy holds the new record; the shipped file is unchanged.
    EXPECT_TRUE(readFile(userCopy()).endsWith("Oak 1\r\n0.1\r\nO\r\n2\r\n1.5\r\n"));
    EXPECT_EQ(readFile(home() + "Config/bands.vlb"), shipped);

    // The next start reads the copy.
    forms = {};
    start();
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(main().pag1->ComboBox2->count(), 4);
    EXPECT_EQ(main().pag1->ComboBox2->itemText(3), "Oak 1");
    EXPECT_EQ(forms.bands->table().record(3).name, "Oak 1");
}

TEST_F(ReadOnlyProgramFolder, DxfDialogWritesTheUsersCopyOfItsSettings)
{
    const QString shippedDxf = home() + "Config/velmdxf.xml";
    QFile::setPermissions(home() + "Config", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/data/Config/velmdxf.xml", shippedDxf));
    QFile::setPermissions(home() + "Config", QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                                 | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    const QByteArray before = readFile(shippedDxf);
    start();
    app::TExportDXF& d = *forms.exportDxf;
    d.FormActivate();
    ASSERT_EQ(d.txtLayer[1]->text(), "Parts");
    d.txtLayer[1]->setText("Cut parts");
    d.txtLayerExit(1);
    const QString copy = dir.path() + "/user/velmora/Config/velmdxf.xml";
    EXPECT_EQ(readFile(shippedDxf), before);
    EXPECT_TRUE(readFile(copy).contains("<name>Cut parts</name>"));
    // Shown again, the dialog reads the copy.
    d.FormActivate();
    EXPECT_EQ(d.txtLayer[1]->text(), "Cut parts");
}
