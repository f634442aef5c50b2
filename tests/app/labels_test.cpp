// Label printing from the window: File → Print labels, the item setup, the
// sheet designer, printing into a PDF, and a missing definitions file.

#include <functional>
#include <map>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include "app/command_check.h"
#include "app/file_dialogs.h"
#include "app/label_designer.h"
#include "app/label_item_setup.h"
#include "app/label_print_dialog.h"
#include "app/print_dialog.h"
#include "app_fixture.h"
#include "engine/rand31.h"
#include "labels/label_definitions.h"

namespace {

using apptest::AppTest;
using labels::LabelKind;
using labels::LabelLine;

class OneFileDialogs : public app::FileDialogs {
public:
    QString file;
    std::optional<QString> choose(QWidget*, const app::FileDialogRequest&) override
    {
        if (file.isEmpty())
            return std::nullopt;
        return file;
    }
};

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class LabelDialogs : public AppTest {
protected:
    OneFileDialogs files;
    // What each modal dialog does when it is run, by its object name; a
    // dialog without an entry is cancelled.
    std::map<QString, std::function<void(QDialog&)>> act;
    std::vector<QString> opened;

    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/data/Config/template.vlp",
                                home() + "Config/template.vlp"));
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp", home() + "kitchen.vlp"));
        engine::programRand31() = engine::Rand31{};
        app::FileDialogs::install(&files);
        app::TPrintDialogEx::runner = [this](QDialog& d) {
            opened.push_back(d.objectName());
            d.setResult(QDialog::Rejected);
            d.show();
            if (const auto it = act.find(d.objectName()); it != act.end())
                it->second(d);
            const int result = d.result();
            d.hide();
            return result;
        };
        qputenv("SOURCE_DATE_EPOCH", "1796803503");
    }
    void TearDown() override
    {
        app::TPrintDialogEx::runner = nullptr;
        app::TcstLabel::printerOffsetsMm = nullptr;
        app::FileDialogs::install(nullptr);
        qunsetenv("SOURCE_DATE_EPOCH");
        AppTest::TearDown();
    }

    [[nodiscard]] std::string definitions() const { return (home() + "Config/velmlabels.xml").toStdString(); }
    void installDefinitions()
    {
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/data/Config/velmlabels.xml",
                                home() + "Config/velmlabels.xml"));
        QFile::setPermissions(home() + "Config/velmlabels.xml", QFile::ReadOwner | QFile::WriteOwner);
    }
    [[nodiscard]] labels::LabelDefinitions read() const
    {
        const auto d = labels::readLabelDefinitions(definitions());
        EXPECT_TRUE(d.ok());
        return d.ok() ? *d : labels::LabelDefinitions{};
    }

    app::TfrmLabelPrint& printDialog() { return *main().labelPrintDialog(); }
    app::TcstLabel& designer() { return *main().labelDesigner(); }
    app::TfrmLabelItemSetup& itemSetup() { return *main().labelItemSetup(); }
};

TEST_F(LabelDialogs, PrintLabelsOpensTheDialogFromTheFile)
{
    installDefinitions();
    start();
    QAction* command = main().menus().Printlabels1;
    ASSERT_TRUE(command->isEnabled());
    EXPECT_TRUE(app::hasCommandHandler(command));
    act["TfrmLabelPrint"] = [this](QDialog&) {
        EXPECT_EQ(printDialog().cmbLabelStyle->count(), 5);
        EXPECT_EQ(printDialog().cmbLabelStyle->currentText(), "A4 3 x 8 (70 x 37 mm)");
        EXPECT_TRUE(printDialog().chkPart->isChecked());
        EXPECT_FALSE(printDialog().chkOffcut->isChecked());
        // No result yet: nothing to print.
        EXPECT_FALSE(printDialog().btnPrint->isEnabled());
        // OK keeps the choices in the file.
        printDialog().chkOffcut->setChecked(true);
        printDialog().cmbLabelStyle->setCurrentIndex(2);
        printDialog().btnOK->click();
    };
    command->trigger();
    EXPECT_EQ(opened, std::vector<QString>{"TfrmLabelPrint"});
    const labels::LabelDefinitions d = read();
    EXPECT_TRUE(d.kind(LabelKind::Offcut).output);
    EXPECT_TRUE(d.kind(LabelKind::Part).output);
    EXPECT_EQ(d.active, 2);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LabelDialogs, ItemSetupEditsOneKindAtATime)
{
    installDefinitions();
    start();
    act["TfrmLabelItemSetup"] = [this](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), text(385));
        auto& s = itemSetup();
        EXPECT_EQ(s.rows[0].fontSize->value(), 11);
        s.rows[0].fontSize->setValue(14);
        s.rows[2].output->setChecked(true);
        s.rows[8].text->setText("Remark: ");
        s.chkBorder->setChecked(false);
        s.btnOK->click();
    };
    act["TfrmLabelPrint"] = [this](QDialog&) { printDialog().btnPartSettings->click(); };
    main().Printlabels1Click();
    labels::LabelDefinitions d = read();
    const labels::LabelKindSetup& part = d.kind(LabelKind::Part);
    EXPECT_EQ(part.line(LabelLine::Size).fontSize, 14);
    EXPECT_TRUE(part.line(LabelLine::Company).output);
    EXPECT_EQ(part.line(LabelLine::Note).text, "Remark: ");
    EXPECT_FALSE(part.border);
    EXPECT_TRUE(d.kind(LabelKind::Offcut).border);

    // The offcut settings show the offcut values; no size above 20 can be typed;
    // Cancel writes nothing.
    act["TfrmLabelItemSetup"] = [this](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), text(387));
        auto& s = itemSetup();
        EXPECT_EQ(s.rows[0].fontSize->value(), 11);
        EXPECT_TRUE(s.chkBorder->isChecked());
        QSpinBox* size = s.rows[1].fontSize;
        size->setFocus();
        size->selectAll();
        QTest::keyClicks(size, "35");
        size->interpretText();
        EXPECT_GE(size->value(), 5);
        EXPECT_LE(size->value(), 20);
        s.btnCancel->click();
    };
    act["TfrmLabelPrint"] = [this](QDialog&) { printDialog().btnOffcutSettings->click(); };
    main().Printlabels1Click();
    EXPECT_EQ(read().kind(LabelKind::Offcut), d.kind(LabelKind::Offcut));
    EXPECT_EQ(itemSetup().kind(), LabelKind::Offcut);
}

TEST_F(LabelDialogs, DesignerButtonsInTheLanguageOfTheCaptions)
{
    installDefinitions();
    writeSettings({"iLang=Finished", "Jezik=Srpski"});
    start();
    designer().show();
    EXPECT_EQ(designer().Button2->text(), QString::fromUtf8("Otkaži"));
    EXPECT_EQ(designer().labelNew->btnCancel->text(), QString::fromUtf8("Otkaži"));
}

TEST_F(LabelDialogs, DesignerAddsAndDeletesStyles)
{
    installDefinitions();
    start();
    act["TLabelNew"] = [this](QDialog& d) {
        designer().labelNew->txtNewLabelName->setText("Shop labels");
        d.accept();
    };
    designer().setStartStyle(1);
    designer().show();
    EXPECT_EQ(designer().cmbLabelStyle->currentIndex(), 1);
    EXPECT_EQ(designer().txtSizeLength->text(), "99.1");
    designer().BitBtn1->click();
    labels::LabelDefinitions d = read();
    EXPECT_EQ(d.count, 6);
    EXPECT_EQ(d.active, 5);
    EXPECT_EQ(designer().cmbLabelStyle->currentText(), "Shop labels");
    EXPECT_EQ(designer().txtSizeWidth->text(), "0");
    EXPECT_EQ(designer().spnLayoutRows->value(), 1);

    // Delete the second: a question, then active is 0.
    designer().cmbLabelStyle->setCurrentIndex(1);
    messages.answers = {app::Messenger::Answer::Yes};
    designer().BitBtn2->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(490));
    d = read();
    EXPECT_EQ(d.count, 5);
    EXPECT_EQ(d.active, 0);
    EXPECT_EQ(d.styles[1].name, "Letter 3 x 10 (2.625 x 1 in)");
    // No: nothing changes.
    messages.answers = {app::Messenger::Answer::No};
    designer().BitBtn2->click();
    EXPECT_EQ(read().styles.size(), 5u);
    // Down to one style; the last one goes without a question.
    messages.answers.clear();
    for (int i = 0; i < 4; ++i)
        designer().BitBtn2->click();
    EXPECT_EQ(read().styles.size(), 1u);
    const size_t asked = messages.shown.size();
    designer().BitBtn2->click();
    EXPECT_EQ(messages.shown.size(), asked);
    EXPECT_EQ(read().styles.size(), 1u);
    designer().hide();
}

TEST_F(LabelDialogs, DesignerUnitsArrowsAndSample)
{
    installDefinitions();
    start();
    designer().setStartStyle(0);
    designer().show();
    designer().txtSizeWidth->setText("25.4");
    designer().cmbSizeUnit->setCurrentIndex(2);
    EXPECT_EQ(designer().txtSizeWidth->text(), "1");
    EXPECT_EQ(designer().txtSizeLength->text(), "2.756");
    EXPECT_EQ(designer().lblSizeLengthUnit->text(), "inch");
    designer().cmbSizeUnit->setCurrentIndex(0);
    EXPECT_EQ(designer().txtSizeWidth->text(), "25.4");
    EXPECT_EQ(designer().lblSizeLengthUnit->text(), "mm");
    // The margins keep their own unit.
    EXPECT_EQ(designer().txtMarginTop->text(), "0.5");

    designer().txtGutterVertical->setText("0.1");
    designer().CSpinButton8->down->click();
    EXPECT_EQ(designer().txtGutterVertical->text(), "0.1");
    designer().CSpinButton8->up->click();
    EXPECT_EQ(designer().txtGutterVertical->text(), "0.2");
    // A field left with no number gets its text back; a number is rounded.
    designer().txtMarginLeft->setText("abc");
    emit designer().txtMarginLeft->editingFinished();
    EXPECT_EQ(designer().txtMarginLeft->text(), "0");
    designer().txtMarginLeft->setText("3.14159");
    emit designer().txtMarginLeft->editingFinished();
    EXPECT_EQ(designer().txtMarginLeft->text(), "3.142");
    // The sample follows the fields, in millimetres.
    EXPECT_DOUBLE_EQ(designer().LayoutSample->geometryMm().ML, 3.142);
    EXPECT_DOUBLE_EQ(designer().LayoutSample->geometryMm().H, 25.4);
    // Cancel writes nothing.
    designer().Button2->click();
    EXPECT_EQ(read().styles[0].sizeWidth, "37");
}

TEST_F(LabelDialogs, DesignerMarginCheckAgainstThePrinter)
{
    installDefinitions();
    start();
    app::TcstLabel::printerOffsetsMm = [] { return QPointF(4.2, 0); };
    designer().setStartStyle(0);
    designer().show();
    designer().txtMarginLeft->setText("3");
    messages.answers = {app::Messenger::Answer::Ok};
    designer().Button1->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(487));
    EXPECT_EQ(messages.shown[0].buttons, app::Messenger::Buttons::OkIgnore);
    EXPECT_EQ(designer().txtMarginLeft->text(), "4.2");
    EXPECT_TRUE(designer().isVisible());
    EXPECT_EQ(read().styles[0].marginLeft, "4.2");
    designer().Button1->click();
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(designer().result(), QDialog::Accepted);

    // Ignore keeps the margin and closes.
    designer().setResult(QDialog::Rejected);
    designer().show();
    designer().cmbMarginUnit->setCurrentIndex(1);
    EXPECT_EQ(designer().txtMarginLeft->text(), "0.42");
    designer().txtMarginLeft->setText("0.1");
    messages.answers = {app::Messenger::Answer::Ignore};
    designer().Button1->click();
    EXPECT_EQ(designer().result(), QDialog::Accepted);
    EXPECT_EQ(read().styles[0].marginLeft, "0.1");
    EXPECT_EQ(read().styles[0].marginUnit, 1);
}

TEST_F(LabelDialogs, WithoutAPrinterThePdfStandsIn)
{
    installDefinitions();
    start();
    // The test machine has no printer: the check has nothing to refuse.
    designer().setStartStyle(0);
    designer().show();
    designer().Button1->click();
    EXPECT_EQ(designer().result(), QDialog::Accepted);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LabelDialogs, PrintIntoPdf)
{
    if (QProcess::execute("pdftotext", {"-v"}) < 0)
        GTEST_SKIP() << "pdftotext missing";
    installDefinitions();
    writeSettings({"iLang=Finished", "Jezik=English", "autoparam=0"});
    start();
    ASSERT_TRUE(main().openProjectFile(home() + "kitchen.vlp"));
    main().Button4Click();
    messages.shown.clear();
    files.file = home() + "labels.pdf";
    act["TfrmLabelPrint"] = [this](QDialog&) {
        EXPECT_TRUE(printDialog().btnPrint->isEnabled());
        printDialog().chkPart->setChecked(true);
        printDialog().chkUsedTable->setChecked(false);
        printDialog().chkOffcut->setChecked(false);
        printDialog().btnPrint->click();
    };
    act["TPrintDialogEx"] = [](QDialog& d) { dynamic_cast<app::TPrintDialogEx&>(d).btnPdf->click(); };
    main().Printlabels1Click();
    ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
    ASSERT_TRUE(QFile::exists(files.file));
    EXPECT_EQ(printDialog().result(), QDialog::Accepted);
    const QString textOfPdf = run("pdftotext", {"-raw", files.file, "-"});
    int pieces = 0;
    const engine::Project& p = main().project();
    for (int r = 1; r <= p.partRowCount(); ++r) {
        pieces += engine::quantityOf(p.parts.cell(r, engine::PartCol::Qty));
        EXPECT_TRUE(textOfPdf.contains(QString::fromStdString(p.parts.cell(r, engine::PartCol::Len) + " x "
                                                              + p.parts.cell(r, engine::PartCol::Wid) + "\n"
                                                              + p.parts.cell(r, engine::PartCol::Ini) + "\n")))
            << r;
    }
    const QString info = run("pdfinfo", {files.file});
    int pages = -1;
    for (const QString& line : info.split('\n'))
        if (line.startsWith("Pages:"))
            pages = line.mid(6).trimmed().toInt();
    EXPECT_EQ(pages, (pieces + 23) / 24) << info.toStdString();
    EXPECT_TRUE(info.contains("VELM Label Printing"));
}

TEST_F(LabelDialogs, StyleWithoutRowsIsRefusedByName)
{
    installDefinitions();
    writeSettings({"iLang=Finished", "Jezik=English", "autoparam=0"});
    start();
    labels::LabelStyle s = read().styles[0];
    s.rows = 0;
    ASSERT_TRUE(labels::saveLabelStyle(definitions(), 0, s).ok());
    ASSERT_TRUE(main().openProjectFile(home() + "kitchen.vlp"));
    main().Button4Click();
    messages.shown.clear();
    printDialog().show();
    files.file = home() + "never.pdf";
    EXPECT_FALSE(printDialog().printLabels(files.file));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(text(483)));
    EXPECT_TRUE(messages.shown[0].text.contains("A4 3 x 8 (70 x 37 mm)"));
    EXPECT_FALSE(QFile::exists(files.file));
    printDialog().hide();
}

TEST_F(LabelDialogs, MissingFileIsReportedAndNotMade)
{
    start();
    act["TfrmLabelPrint"] = [this](QDialog&) {
        EXPECT_EQ(printDialog().cmbLabelStyle->count(), 0);
        printDialog().btnPartSettings->click();
        printDialog().btnCustomizeLabel->click();
        printDialog().btnOK->click();
    };
    act["TfrmLabelItemSetup"] = [this](QDialog&) { itemSetup().btnOK->click(); };
    act["TcstLabel"] = [this](QDialog&) {
        EXPECT_EQ(designer().cmbLabelStyle->count(), 0);
        designer().BitBtn2->click();
        designer().Button1->click();
    };
    main().Printlabels1Click();
    EXPECT_EQ(opened, (std::vector<QString>{"TfrmLabelPrint", "TfrmLabelItemSetup", "TcstLabel"}));
    ASSERT_GE(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(text(481)));
    EXPECT_TRUE(messages.shown[0].text.contains(QString::fromStdString(definitions())));
    // The item setup's OK said it could not write; nothing made the file.
    EXPECT_FALSE(QFile::exists(home() + "Config/velmlabels.xml"));
}

} // namespace

namespace {

TEST_F(LabelDialogs, StyleListFollowsTheDesignerAlsoAfterCancel)
{
    installDefinitions();
    start();
    act["TcstLabel"] = [this](QDialog&) {
        designer().cmbLabelStyle->setCurrentIndex(0);
        messages.answers = {app::Messenger::Answer::Yes};
        designer().BitBtn2->click();
        designer().Button2->click();
    };
    act["TfrmLabelPrint"] = [this](QDialog&) {
        printDialog().cmbLabelStyle->setCurrentIndex(1);
        printDialog().btnCustomizeLabel->click();
        EXPECT_EQ(printDialog().cmbLabelStyle->count(), 4);
        EXPECT_EQ(printDialog().cmbLabelStyle->currentIndex(), 0);
        EXPECT_EQ(printDialog().cmbLabelStyle->currentText(), "A4 2 x 7 (99.1 x 38.1 mm)");
        printDialog().btnCancel->click();
    };
    main().Printlabels1Click();
    EXPECT_EQ(opened, (std::vector<QString>{"TfrmLabelPrint", "TcstLabel"}));
}

} // namespace
