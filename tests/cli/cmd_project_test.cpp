#include <filesystem>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "tests/cli/cli_run.h"
#include "engine/project.h"
#include "project/project_file.h"
#include "tests/project/temp_dir.h"

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

size_t characters(const std::string& s)
{
    size_t n = 0;
    for (const char c : s)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// The lines of the table that follows the line `caption`.
std::vector<std::string> tableAfter(const std::vector<std::string>& lines, const std::string& caption)
{
    std::vector<std::string> table;
    bool in = false;
    for (const std::string& l : lines) {
        if (in && l.empty())
            break;
        if (in)
            table.push_back(l);
        if (l == caption)
            in = true;
    }
    return table;
}

// Every date_time element left out, the rest unchanged.
std::string withoutDateTime(std::string text)
{
    const std::string open = "<date_time>";
    const std::string close = "</date_time>";
    auto at = text.find(open);
    while (at != std::string::npos) {
        const auto end = text.find(close, at + open.size());
        if (end != std::string::npos && text.find('<', at + open.size()) == end)
            text.erase(at, end + close.size() - at);
        else
            ++at;
        at = text.find(open, at);
    }
    return text;
}

} // namespace

TEST(CliShow, PrintsTheExampleProject)
{
    const CliRun r = runCli({"show", kExample});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = linesOf(r.out);
    EXPECT_NE(r.out.find("  Cover title:    Kitchen Petrović – 3.2 m\n"), std::string::npos);
    EXPECT_NE(r.out.find("  Address:        Ulica Kneza Miloša 12\n                  11000 Beograd\n"),
              std::string::npos);

    const auto sheets = tableAfter(lines, "Sheets (8)");
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[0], "  #  Length (cm)  Width (cm)  Qty  Description");
    EXPECT_EQ(sheets[1], "  1          280         207    6  Chipboard oak 18 mm");
    EXPECT_EQ(sheets[2], "  2          244         122    2  HDF white 3 mm");

    const auto parts = tableAfter(lines, "Parts (81)");
    ASSERT_GE(parts.size(), 26u);
    EXPECT_EQ(parts[0].rfind("   #  Length (cm)  Width (cm)  Qty  Label  Grain  Band L1", 0), 0u);
    // Columns are right-aligned under their headings; blanks at the end of a
    // row (empty band marks) are not written.
    EXPECT_EQ(parts[1], "   1           72          56    4  BS         0  PVC 2mm    PVC 0.4mm  -        -        "
                        "  0.2   0.04      0      0      =      -");
    for (const std::string& l : parts)
        EXPECT_LE(characters(l), characters(parts[0])) << l;
    EXPECT_NE(r.out.find("  Placed parts:         0\n"), std::string::npos);
}

TEST(CliShow, ColumnsCountCharactersNotBytes)
{
    TempDir dir;
    engine::Project p;
    p.sheets.appendRow({"", "100", "50", "1", "x"});
    p.parts.appendRow({"", "10", "5", "1", "ŠČĆŽ", "0", "-", "-", "-", "-", "0", "0", "0", "0", "0", "0", "0", "0"});
    p.parts.appendRow({"", "10", "5", "1", "ABCD", "0", "-", "-", "-", "-", "0", "0", "0", "0", "0", "0", "0", "0"});
    const std::string file = dir.file("utf8.vlp");
    ASSERT_TRUE(project_io::SaveProject(file, p, engine::Settings{}, VELMORA_DATA_DIR).ok());
    const CliRun r = runCli({"show", file});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    const auto parts = tableAfter(linesOf(r.out), "Parts (2)");
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(characters(parts[1]), characters(parts[2]));
    EXPECT_EQ(parts[1].find("ŠČĆŽ"), parts[2].find("ABCD"));
}

TEST(CliShow, ConvertsToTheUnitOfTheSettings)
{
    const CliRun r = runCli({"show", kExample, "--set", "JedMere=0"});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    const auto sheets = tableAfter(linesOf(r.out), "Sheets (8)");
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[1], "  1         2800        2070    6  Chipboard oak 18 mm");
}

TEST(CliShow, BadUsageAndUnreadableInput)
{
    TempDir dir;
    EXPECT_EQ(runCli({"show"}).code, cli::kExitUsage);
    const CliRun missing = runCli({"show", dir.file("absent.vlp")});
    EXPECT_EQ(missing.code, cli::kExitUsage);
    EXPECT_NE(missing.err.find("31"), std::string::npos);
    writeFile(dir.file("broken.vlp"), "<velm_root><job><measure>1</measure>");
    const CliRun broken = runCli({"show", dir.file("broken.vlp")});
    EXPECT_EQ(broken.code, cli::kExitUsage);
    EXPECT_NE(broken.err.find("288"), std::string::npos);
}

TEST(CliConvert, ExampleRoundTripsUnchanged)
{
    TempDir dir;
    const std::string out = dir.file("copy.vlp");
    // Prices come from the settings, so give the ones the example was saved with.
    const CliRun r = runCli({"convert", kExample, out, "--set", "CENA1=12.5", "--set", "CENA2=0.75", "--set", "CENA3=3"});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_EQ(withoutDateTime(readFile(out)), withoutDateTime(readFile(kExample)));

    const std::string xml = dir.file("copy.xml");
    ASSERT_EQ(runCli({"convert", out, xml}).code, cli::kExitOk);
    engine::Project a;
    engine::Project b;
    const engine::Settings s;
    ASSERT_TRUE(project_io::OpenProject(kExample, false, a, s).status.ok());
    ASSERT_TRUE(project_io::OpenProject(xml, false, b, s).status.ok());
    EXPECT_EQ(a.sheets, b.sheets);
    EXPECT_EQ(a.parts, b.parts);
    EXPECT_EQ(a.details, b.details);
}

TEST(CliConvert, FailuresExitWithTwo)
{
    TempDir dir;
    EXPECT_EQ(runCli({"convert", kExample}).code, cli::kExitUsage);
    EXPECT_EQ(runCli({"convert", dir.file("absent.vlp"), dir.file("out.vlp")}).code, cli::kExitUsage);
    const CliRun unwritable = runCli({"convert", kExample, dir.file("no/such/folder/out.vlp")});
    EXPECT_EQ(unwritable.code, cli::kExitUsage);
    EXPECT_NE(unwritable.err.find("29"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.vlp")));
}
