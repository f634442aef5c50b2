// The DXF export dialog: loading the settings file, editing layers, the
// export through the save dialog, the file checked by the strict validator.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include "app/dxf_export_dialog.h"
#include "app_fixture.h"
#include "engine/rand31.h"
#include "output/dxf_settings.h"

namespace {

using apptest::AppTest;

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class DxfExport : public AppTest {
protected:
    apptest::RecordingFileDialogs files;

    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/data/Config/velmdxf.xml", settingsPath()));
        QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner);
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/data/Config/template.vlp",
                                home() + "Config/template.vlp"));
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp", home() + "kitchen.vlp"));
        engine::programRand31() = engine::Rand31{};
        app::FileDialogs::install(&files);
    }
    void TearDown() override
    {
        app::FileDialogs::install(nullptr);
        AppTest::TearDown();
    }

    [[nodiscard]] QString settingsPath() const { return home() + "Config/velmdxf.xml"; }
    app::TExportDXF& dialog() { return *forms.exportDxf; }

    void startWithResult()
    {
        writeSettings({"iLang=Finished", "Jezik=English", "autoparam=0"});
        start();
        EXPECT_FALSE(main().menus().toDXF->isEnabled());
        ASSERT_TRUE(main().openProjectFile(home() + "kitchen.vlp"));
        main().Button4Click();
        messages.shown.clear();
    }

    // Opens the dialog modally, runs `act` inside it, and returns when it
    // closed (act closes it, or the dialog is rejected afterwards).
    void whileOpen(const std::function<void()>& act)
    {
        QTimer::singleShot(0, [this, act] {
            act();
            if (dialog().isVisible())
                dialog().reject();
        });
        main().menus().toDXF->trigger();
    }
};

TEST_F(DxfExport, LoadsTheShippedSettings)
{
    startWithResult();
    ASSERT_TRUE(main().menus().toDXF->isEnabled());
    whileOpen([this] {
        app::TExportDXF& d = dialog();
        ASSERT_EQ(d.cmbVersions->count(), 10);
        EXPECT_EQ(d.cmbVersions->itemText(0), "AutoCAD 2.5");
        EXPECT_EQ(d.cmbVersions->currentText(), "AutoCAD 2000");
        EXPECT_EQ(d.txtLayer[0]->text(), "0");
        EXPECT_TRUE(d.txtLayer[0]->isReadOnly());
        EXPECT_EQ(d.txtLayer[1]->text(), "Parts");
        EXPECT_EQ(d.cmbLayer[1]->currentText(), "Blue");
        EXPECT_EQ(d.cmbLayer[4]->currentText(), "Red");
        EXPECT_EQ(d.cmbLayer[0]->count(), 7);
        EXPECT_EQ(d.cmbPart->count(), 6);
        EXPECT_EQ(d.cmbPart->currentText(), "Parts");
        EXPECT_EQ(d.cmbLayoutHeader->currentText(), "0");
        EXPECT_TRUE(d.chkOffcutDimension->isChecked());
        // The layer table starts hidden; Customise shows and hides it.
        EXPECT_FALSE(d.layerTableShown());
        d.spdCustomize->click();
        EXPECT_TRUE(d.layerTableShown());
        d.spdCustomize->click();
        EXPECT_FALSE(d.layerTableShown());
        EXPECT_EQ(d.windowTitle(), text(318));
        EXPECT_EQ(d.btnExport->text(), text(319));
    });
}

TEST_F(DxfExport, LayerNameFieldSavesOrFallsBackToItsDefault)
{
    startWithResult();
    const QByteArray before = readFile(settingsPath());
    whileOpen([this, before] {
        app::TExportDXF& d = dialog();
        d.txtLayer[3]->setText("");
        d.txtLayerExit(3);
        EXPECT_EQ(d.txtLayer[3]->text(), "Layer3");
        EXPECT_EQ(readFile(settingsPath()), before);  // not saved

        d.txtLayer[2]->setText("Labels");
        d.cmbLayer[2]->setCurrentIndex(5);
        d.txtLayerExit(2);
        output::DxfSettings s;
        ASSERT_TRUE(output::loadDxfSettings(settingsPath().toStdString(), s));
        EXPECT_EQ(s.layers[2], (output::DxfLayer{"Labels", 6}));
        // The item drop-downs list the new name.
        EXPECT_EQ(d.cmbPartName->currentText(), "Labels");
        // Everything the dialog does not write stays, templates included.
        EXPECT_EQ(output::fetchDxfTemplate(settingsPath().toStdString(), 3, output::DxfTemplate::Head),
                  output::fetchDxfTemplate(std::string(VELMORA_SOURCE_DIR) + "/data/Config/velmdxf.xml", 3,
                                           output::DxfTemplate::Head));
    });
}

TEST_F(DxfExport, EditedLayerReachesTheValidatedFileAndThePathIsRemembered)
{
    const QString validator = QString(TOOLS_DIR) + "/dxf-validate";
    if (!QFile::exists(validator) || QProcess::execute("/usr/bin/python3", {"-c", "import ezdxf"}) != 0)
        GTEST_SKIP() << "no DXF validator at " << validator.toStdString() << " or no python3-ezdxf";
    startWithResult();
    const QString drawing = home() + "out/kitchen";  // the extension is added
    QDir().mkpath(home() + "out");
    files.answers.push_back(drawing);
    whileOpen([this] {
        app::TExportDXF& d = dialog();
        d.spdCustomize->click();
        d.txtLayer[4]->setText("Rests");
        d.cmbLayer[4]->setCurrentIndex(2);  // Green
        d.cmbVersions->setCurrentIndex(6);  // AutoCAD R14
        d.chkPartName->setChecked(false);
        d.btnExport->click();
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Accepted);
    });
    ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_EQ(files.requests[0].title, "Export DXF");
    EXPECT_EQ(files.requests[0].defaultSuffix, "dxf");
    EXPECT_EQ(files.requests[0].mode, app::FileDialogRequest::Mode::Save);
    const QString file = drawing + ".dxf";
    ASSERT_TRUE(QFile::exists(file));

    QProcess check;
    check.start(validator, {file});
    check.waitForFinished(120000);
    EXPECT_EQ(check.exitCode(), 0) << check.readAll().toStdString();
    QProcess layers;
    layers.start("/usr/bin/python3",
                 {"-c",
                  "import sys, ezdxf\n"
                  "doc = ezdxf.readfile(sys.argv[1])\n"
                  "print(doc.loaded_dxfversion, doc.layers.get('Rests').color)\n"
                  "print(sum(1 for e in doc.modelspace() if e.dxf.layer == 'Rests'))\n"
                  "print(sum(1 for e in doc.modelspace() if e.dxf.layer == 'PartLabels'))\n",
                  file});
    layers.waitForFinished(60000);
    const QStringList out = QString::fromUtf8(layers.readAllStandardOutput()).split('\n');
    ASSERT_GE(out.size(), 3) << layers.readAllStandardError().toStdString();
    EXPECT_EQ(out[0], "AC1014 3");
    EXPECT_GT(out[1].toInt(), 0);      // the offcuts on the renamed layer
    EXPECT_EQ(out[2].toInt(), 0);      // part labels switched off

    // The file remembers the path, the release and the layer.
    output::DxfSettings s;
    ASSERT_TRUE(output::loadDxfSettings(settingsPath().toStdString(), s));
    EXPECT_EQ(QString::fromStdString(s.filePath), file);
    EXPECT_EQ(s.active, 6);
    EXPECT_EQ(s.layers[4], (output::DxfLayer{"Rests", 3}));
    EXPECT_FALSE(s.items[1].output);

    // The next save dialog opens in that folder; Cancel writes nothing.
    const QByteArray saved = readFile(settingsPath());
    whileOpen([this] { dialog().btnExport->click(); });
    ASSERT_EQ(files.requests.size(), 2u);
    EXPECT_EQ(files.requests[1].folder, home() + "out");
    whileOpen([this] {
        dialog().txtLayer[5]->setText("Unsaved");
        dialog().btnCancel->click();
    });
    EXPECT_EQ(readFile(settingsPath()), saved);
    EXPECT_EQ(files.requests.size(), 2u);
}

TEST_F(DxfExport, ExistingFileNeedsAYesAndAFailedWriteNamesThePath)
{
    startWithResult();
    const QString file = home() + "old.dxf";
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    files.answers.push_back(file);
    messages.answers.push_back(app::Messenger::Answer::No);
    whileOpen([this] { dialog().btnExport->click(); });
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(text(27)));
    EXPECT_EQ(readFile(file), "old");

    messages.shown.clear();
    files.answers.push_back(home() + "no/such/folder/x.dxf");
    whileOpen([this] { dialog().btnExport->click(); });
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(home() + "no/such/folder/x.dxf"));
    EXPECT_FALSE(QFile::exists(home() + "no/such/folder/x.dxf"));
}

TEST_F(DxfExport, CommandFollowsTheShownResult)
{
    startWithResult();
    EXPECT_TRUE(main().menus().toDXF->isEnabled());
    main().Pocninovo1Click();
    EXPECT_FALSE(main().menus().toDXF->isEnabled());
}

} // namespace
