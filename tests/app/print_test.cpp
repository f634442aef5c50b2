// Printing from the window: the layout print dialog with its options panel,
// printing into a PDF file, and the same pages as velmora-cli print.

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "app/diagram_view.h"
#include "app/file_dialogs.h"
#include "app/print_commands.h"
#include "app/print_dialog.h"
#include "app/radio_group.h"
#include "app_fixture.h"
#include "engine/rand31.h"

namespace {

using apptest::AppTest;

// Answers the save dialog with one file name.
class PdfFileDialogs : public app::FileDialogs {
public:
    QString file;
    int asked = 0;
    std::optional<QString> choose(QWidget*, const app::FileDialogRequest&) override
    {
        ++asked;
        if (file.isEmpty())
            return std::nullopt;
        return file;
    }
};

QString runTool(const QString& program, const QStringList& args, int* exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    if (exitCode)
        *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
}

QString pdfText(const QString& file) { return runTool("pdftotext", {"-layout", file, "-"}); }

int pdfPages(const QString& file)
{
    const QString info = runTool("pdfinfo", {file});
    for (const QString& line : info.split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return -1;
}

class Printing : public AppTest {
protected:
    PdfFileDialogs files;

    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/data/Config/template.vlp",
                                home() + "Config/template.vlp"));
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp", home() + "kitchen.vlp"));
        engine::programRand31() = engine::Rand31{};
        app::FileDialogs::install(&files);
        qputenv("SOURCE_DATE_EPOCH", "1796803503");
    }
    void TearDown() override
    {
        app::TPrintDialogEx::runner = nullptr;
        app::FileDialogs::install(nullptr);
        qunsetenv("SOURCE_DATE_EPOCH");
        AppTest::TearDown();
    }

    engine::Project& project() { return main().project(); }

    // The example project after an automatic run of 100 attempts.
    void startWithResult()
    {
        writeSettings({"iLang=Finished", "Jezik=English", "autoparam=0"});
        start();
        ASSERT_TRUE(main().openProjectFile(home() + "kitchen.vlp"));
        main().Button4Click();
        ASSERT_TRUE(main().menus().Print1->isEnabled());
        // The example's band names are not all in the test's band file; the
        // run says so, which is not what these tests look at.
        messages.shown.clear();
    }
};

TEST_F(Printing, WindowPdfHasTheCommandLinePages)
{
    const QString cli = QString(VELMORA_BIN_DIR) + "/velmora-cli";
    if (!QFile::exists(cli) || QProcess::execute("pdftotext", {"-v"}) < 0)
        GTEST_SKIP() << "velmora-cli or pdftotext missing";
    startWithResult();
    main().settings().PrintCover = false;
    files.file = home() + "window.pdf";
    // Two to a page, cover and report switched on in the panel.
    app::TPrintDialogEx::runner = [](QDialog& d) {
        auto& dialog = dynamic_cast<app::TPrintDialogEx&>(d);
        app::TPrnEx* panel = dialog.findChild<app::TPrnEx*>("TPrnEx");
        EXPECT_NE(panel, nullptr);
        if (!panel)
            return int(QDialog::Rejected);
        EXPECT_TRUE(dialog.rbAll->isChecked());
        panel->RadioGroup1->setCurrentIndex(1);
        panel->chk_print_cover->click();
        panel->chk_print_report->click();
        dialog.btnPdf->click();
        return dialog.result();
    };
    main().printCommands().Print1Click();
    ASSERT_EQ(messages.shown.size(), 0u) << messages.shown[0].text.toStdString();
    ASSERT_TRUE(QFile::exists(files.file));
    // The switches went into the settings as they were clicked; the panel
    // went back to its owner.
    EXPECT_TRUE(main().settings().PrintCover);
    EXPECT_TRUE(main().settings().PrintReport);
    EXPECT_EQ(main().printOptions()->parentWidget(), &main());

    qputenv("VELMORA_HOME", home().toUtf8());
    int code = -1;
    const QString out = runTool(cli, {"print", "--lang", "English", "--set", "autoparam=0", home() + "kitchen.vlp",
                                  "--optimize", "--pdf", home() + "cli.pdf", "--per-page", "2", "--cover", "--report"},
                            &code);
    qputenv("VELMORA_HOME", VELMORA_BIN_DIR);
    ASSERT_EQ(code, 0) << out.toStdString();
    EXPECT_EQ(pdfPages(files.file), pdfPages(home() + "cli.pdf"));
    const QString window = pdfText(files.file);
    EXPECT_TRUE(window.contains("PI%="));
    EXPECT_TRUE(window.contains("Client:"));
    EXPECT_EQ(window.toStdString(), pdfText(home() + "cli.pdf").toStdString());
}

TEST_F(Printing, SelectionPrintsTheShownLayout)
{
    if (QProcess::execute("pdfinfo", {"-v"}) < 0)
        GTEST_SKIP() << "pdfinfo missing";
    startWithResult();
    const int groups = static_cast<int>(project().result.groups.size());
    ASSERT_GE(groups, 2);
    main().diagramPage()->Image5->setGroup(1);
    files.file = home() + "shown.pdf";
    app::TPrintDialogEx::runner = [](QDialog& d) {
        auto& dialog = dynamic_cast<app::TPrintDialogEx&>(d);
        // The range opens on the shown layout.
        EXPECT_EQ(dialog.spFrom->value(), 2);
        dialog.rbSelection->setChecked(true);
        dialog.btnPdf->click();
        return dialog.result();
    };
    main().diagramPage()->BitBtn8->click();
    ASSERT_TRUE(QFile::exists(files.file));
    EXPECT_EQ(pdfPages(files.file), 1);
    const QString text = pdfText(files.file);
    EXPECT_EQ(text.count("PI%="), 1);
    EXPECT_TRUE(text.contains("Velmora1 -kitchen.vlp"));
}

TEST_F(Printing, CancelPrintsNothingAndChangesNothing)
{
    startWithResult();
    const bool cover = main().settings().PrintCover;
    files.file = home() + "never.pdf";
    int shown = 0;
    app::TPrintDialogEx::runner = [&](QDialog&) {
        ++shown;
        return int(QDialog::Rejected);
    };
    main().printCommands().Print1Click();
    main().pag4->Stampaj->click();
    main().pag4->StampajCene->click();
    main().pag1->BitBtn1->click();
    main().pag1->BitBtn2->click();
    EXPECT_EQ(shown, 5);
    EXPECT_EQ(files.asked, 0);
    EXPECT_FALSE(QFile::exists(files.file));
    EXPECT_EQ(main().settings().PrintCover, cover);
    EXPECT_TRUE(messages.shown.empty());

    // A PDF dialog cancelled after the print dialog prints nothing either.
    files.file.clear();
    app::TPrintDialogEx::runner = [](QDialog& d) {
        dynamic_cast<app::TPrintDialogEx&>(d).btnPdf->click();
        return d.result();
    };
    main().pag1->BitBtn2->click();
    EXPECT_EQ(files.asked, 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Printing, ExistingPdfIsReplacedOnlyAfterAYes)
{
    startWithResult();
    app::TPrintDialogEx::runner = [](QDialog& d) {
        dynamic_cast<app::TPrintDialogEx&>(d).btnPdf->click();
        return d.result();
    };
    // A file of the user's that happens to carry the chosen name.
    files.file = home() + "keep.pdf";
    QFile old(files.file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the user's own file");
    old.close();

    messages.answers.push_back(app::Messenger::Answer::No);
    main().pag1->BitBtn2->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(files.file));
    EXPECT_TRUE(messages.shown[0].text.contains(main().text(engine::Msg{27})));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the user's own file"));
    old.close();

    // Yes replaces it with the printout.
    messages.shown.clear();
    messages.answers.push_back(app::Messenger::Answer::Yes);
    main().pag1->BitBtn2->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_TRUE(old.readAll().startsWith("%PDF"));
    old.close();

    // A name typed without the extension gets it, and a new file needs no question.
    messages.shown.clear();
    files.file = home() + "fresh";
    main().pag1->BitBtn2->click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(QFile::exists(home() + "fresh.pdf"));
}

TEST_F(Printing, ListsAndBillIntoPdf)
{
    if (QProcess::execute("pdftotext", {"-v"}) < 0)
        GTEST_SKIP() << "pdftotext missing";
    startWithResult();
    app::TPrintDialogEx::runner = [](QDialog& d) {
        dynamic_cast<app::TPrintDialogEx&>(d).btnPdf->click();
        return d.result();
    };
    files.file = home() + "parts.pdf";
    main().pag1->BitBtn2->click();
    EXPECT_TRUE(pdfText(files.file).contains("PARTS-"));
    files.file = home() + "bill.pdf";
    main().pag4->StampajCene->click();
    EXPECT_TRUE(pdfText(files.file).contains(text(48)));
    // A PDF that cannot be written is reported with its path.
    files.file = home() + "no/such/folder/x.pdf";
    main().pag1->BitBtn1->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(files.file));
    EXPECT_FALSE(QFile::exists(files.file));
}

} // namespace
