// Which reader a file gets, what a file of no known kind does, and how the
// readers and the save say what went wrong.
#include <filesystem>
#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "engine/file_io.h"
#include "project/project_commands.h"
#include "project/project_file.h"
#include "tests/project/temp_dir.h"

namespace fs = std::filesystem;
using engine::Msg;
using project_io::OpenProject;
using project_io::SaveProject;

namespace {

const std::string kProjectData = std::string(TEST_DATA_DIR) + "/project/";
const std::string kShippedFolder = std::string(VELMORA_DATA_DIR) + "/";

engine::Settings centimetres()
{
    engine::Settings s = engine::Settings::defaults("/nonexistent/");
    s.JedMere = 1;
    return s;
}

// A project that is already open, so that a refused file can be seen to
// change nothing.
engine::Project openedProject()
{
    engine::Project p;
    p.sheets.appendRow({"", "280", "207", "2", "kept"});
    p.parts.appendRow({"", "60", "40", "3", "kept", "0", "-", "-", "-", "-", "0", "0", "0", "0", "", "", "", ""});
    p.fileName = "/before.vlp";
    p.recomputeTotals();
    return p;
}

std::string document(const std::string& surname, const std::string& qty = "2")
{
    return "<?xml version=\"1.0\"?>\n<velm_root><job><measure>1</measure><client_surname>" + surname
        + "</client_surname><data><tab_sheets count=\"1\"><sheet><len>280</len><wid>207</wid><qty>1</qty>"
          "</sheet></tab_sheets><tab_parts count=\"1\"><part><len>50</len><wid>40</wid><qty>"
        + qty + "</qty><rot>0</rot></part></tab_parts><diagrams><elements count=\"0\"/><offcuts count=\"0\"/>"
                "</diagrams></data></job></velm_root>\n";
}

} // namespace

TEST(FileKinds, ExtensionsInAnyCaseAreRead)
{
    TempDir dir;
    for (const char* name : {"a.Vlp", "b.XmL", "c.VLP"}) {
        const std::string file = dir.file(name);
        fs::copy_file(kProjectData + "cm_project.vlp", file);
        engine::Project p;
        const auto opened = OpenProject(file, false, p, centimetres());
        EXPECT_TRUE(opened.status.ok()) << name;
        EXPECT_GT(p.sheetRowCount(), 0) << name;
    }
}

TEST(FileKinds, UnknownExtensionIsJudgedByItsContent)
{
    TempDir dir;
    // A backup copy of a project document, an old text project and a
    // Quillon file, none under its own extension.
    fs::copy_file(kProjectData + "cm_project.vlp", dir.file("job.vlp.bak"));
    writeFile(dir.file("old.txt"), "VELMORA 1.5\r\nJEDMERE\r\n1\r\nTABLA1\r\n1\r\ntab_1\r\n\r\n100\r\n50\r\n1\r\nold\r\n\r\n");
    writeFile(dir.file("noext"), "h1\r\n12.5\r\nh3\r\nh4\r\ntab_1\r\nx\r\n250\r\n120\r\n2\r\nboard\r\ny\r\n");
    for (const char* name : {"job.vlp.bak", "old.txt", "noext"}) {
        engine::Project p;
        const auto opened = OpenProject(dir.file(name), false, p, centimetres());
        EXPECT_TRUE(opened.status.ok()) << name << " " << static_cast<int>(opened.status.msg);
        EXPECT_EQ(p.sheetRowCount(), 1 + (std::string(name) == "job.vlp.bak")) << name;
    }
}

TEST(FileKinds, FileOfNoKnownKindIsRefusedAndNothingChanges)
{
    TempDir dir;
    writeFile(dir.file("notes.txt"), "shopping list\nmilk\n");
    writeFile(dir.file("other.xml.bak"), "<?xml version=\"1.0\"?><svg/>");
    for (const char* name : {"notes.txt", "other.xml.bak"}) {
        engine::Project p = openedProject();
        const auto opened = OpenProject(dir.file(name), false, p, centimetres());
        EXPECT_EQ(opened.status.msg, Msg::UnknownFileKind) << name;
        EXPECT_EQ(opened.status.args, (std::vector<std::string>{dir.file(name)}));
        EXPECT_EQ(p.sheetRowCount(), 1);
        EXPECT_EQ(p.parts.cell(1, engine::PartCol::Ini), "kept");
        EXPECT_EQ(p.fileName, "/before.vlp");
    }
}

TEST(FileKinds, OneInvalidByteKeepsTheProjectUtf8AndWarns)
{
    TempDir dir;
    const std::string file = dir.file("job.vlp");
    writeFile(file, document("Petrovi\xC4\x87 \xFF"));
    engine::Project p;
    const auto opened = OpenProject(file, false, p, centimetres());
    ASSERT_TRUE(opened.status.ok());
    EXPECT_EQ(p.details.clientSurname, "Petrovi\xC4\x87 \xEF\xBF\xBD");
    ASSERT_EQ(opened.warnings.size(), 1u);
    EXPECT_EQ(opened.warnings[0].msg, Msg::TextBytesReplaced);
    EXPECT_EQ(opened.warnings[0].args, (std::vector<std::string>{file, "1"}));

    // An old 8-bit file with no UTF-8 in it is still read as Windows-1252.
    writeFile(file, document("Petrovi\xE6"));
    const auto old = OpenProject(file, false, p, centimetres());
    ASSERT_TRUE(old.status.ok());
    EXPECT_EQ(p.details.clientSurname, "Petrovi\xC3\xA6");
    EXPECT_TRUE(old.warnings.empty());
}

TEST(FileKinds, TwoRootElementsAreNoDocument)
{
    TempDir dir;
    const std::string file = dir.file("two.vlp");
    writeFile(file, document("A") + "<velm_root/>\n");
    engine::Project p;
    const auto opened = OpenProject(file, false, p, centimetres());
    EXPECT_EQ(opened.status.msg, Msg::CannotReadProject);
    ASSERT_EQ(opened.status.args.size(), 2u);
    EXPECT_EQ(opened.status.args[1], "line 3: velm_root");
}

TEST(FileKinds, ReadFailureNamesTheElementAndItsValue)
{
    TempDir dir;
    const std::string file = dir.file("bad.vlp");
    writeFile(file, document("A", "two"));
    engine::Project p;
    auto opened = OpenProject(file, false, p, centimetres());
    EXPECT_EQ(opened.status.msg, Msg::CannotReadProject);
    EXPECT_EQ(opened.status.args, (std::vector<std::string>{file, "tab_parts/part[1]/qty = 'two'"}));

    writeFile(file, "<velm_root><job><measure>1</measure>\n<data></velm_root>");
    opened = OpenProject(file, false, p, centimetres());
    ASSERT_EQ(opened.status.args.size(), 2u);
    EXPECT_EQ(opened.status.args[1], "line 2");

    writeFile(file, "VELMORA 1.6\r\nJEDMERE\r\ncm\r\n");
    opened = OpenProject(file, false, p, centimetres());
    EXPECT_EQ(opened.status.args, (std::vector<std::string>{file, "JEDMERE: 'cm'"}));
}

TEST(FileKinds, ReadOnlyProjectOpensAndSaveAsksForAName)
{
    TempDir dir;
    const std::string file = dir.file("shared.vlp");
    fs::copy_file(kProjectData + "cm_project.vlp", file);
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    engine::Project p;
    const auto opened = OpenProject(file, false, p, centimetres());
    EXPECT_TRUE(opened.status.ok());
    EXPECT_GT(p.sheetRowCount(), 0);
    EXPECT_TRUE(project_io::needsFileName(file));
    // Saving over it is refused, with the cause.
    const engine::Status saved = SaveProject(file, p, centimetres(), kShippedFolder);
    EXPECT_EQ(saved.msg, Msg::CannotSaveProject);
    EXPECT_EQ(saved.reason, Msg::FileReadOnly);
    // A file that cannot be read at all still gives message 31, with why.
    const auto missing = OpenProject(dir.file("gone.vlp"), false, p, centimetres());
    EXPECT_EQ(missing.status.msg, Msg::CannotOpenProject);
    EXPECT_EQ(missing.status.reason, Msg::FileMissing);
}

TEST(FileKinds, SaveSaysWhyItFailed)
{
    TempDir dir;
    engine::Project p = openedProject();
    EXPECT_EQ(SaveProject(dir.file("x.vlp"), p, centimetres(), dir.file("noprogram/")).reason, Msg::TemplateUnusable);
    EXPECT_EQ(SaveProject(dir.file("no/folder/x.vlp"), p, centimetres(), kShippedFolder).reason,
              Msg::FolderNotWritable);
    EXPECT_EQ(SaveProject("/dev/null", p, centimetres(), kShippedFolder).reason, Msg::FileNotRegular);
    EXPECT_FALSE(fs::exists(dir.file("x.vlp")));
}

TEST(FileKinds, TemplateRowsAreNotSaved)
{
    TempDir dir;
    fs::create_directories(dir.file("prog/Config"));
    // A template that holds a sheet, a part and a layout of its own.
    writeFile(dir.file("prog/Config/template.vlp"),
              "<?xml version=\"1.0\"?>\n<velm_root><job><data><tab_sheets count=\"1\"><sheet><len>999</len>"
              "</sheet></tab_sheets><tab_parts count=\"1\"><part><len>888</len></part></tab_parts><diagrams>"
              "<elements count=\"1\"><e><tnb>1</tnb></e></elements><offcuts count=\"1\"><o/></offcuts>"
              "</diagrams></data></job></velm_root>\n");
    engine::Project p = openedProject();
    p.sheets.appendRow({"", "100", "50", "1", "second"});
    p.recomputeTotals();
    const std::string file = dir.file("out.vlp");
    ASSERT_TRUE(SaveProject(file, p, centimetres(), dir.file("prog/")).ok());
    const std::string saved = readFile(file);
    EXPECT_EQ(saved.find("999"), std::string::npos);
    EXPECT_EQ(saved.find("888"), std::string::npos);
    engine::Project back;
    ASSERT_TRUE(OpenProject(file, false, back, centimetres()).status.ok());
    ASSERT_EQ(back.sheetRowCount(), 2);
    EXPECT_EQ(back.sheets.cell(1, engine::SheetCol::Descr), "kept");
    EXPECT_EQ(back.sheets.cell(2, engine::SheetCol::Descr), "second");
    EXPECT_TRUE(back.result.elements.empty());
}
