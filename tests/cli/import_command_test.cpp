// velmora-cli import: spreadsheet rows into the tables of a project, saved
// whole or not at all.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "engine/band_types.h"
#include "engine/input_tables.h"
#include "engine/paths.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "project/project_file.h"
#include "tests/cli/cli_run.h"
#include "tests/project/temp_dir.h"

namespace {

std::string sheetsFile(const std::string& name)
{
    std::string path = TEST_DATA_DIR;
    path += "/sheets/";
    path += name;
    return path;
}

engine::Project openSaved(const std::string& path)
{
    engine::Project p;
    engine::Settings s = engine::Settings::defaults(engine::programFolder());
    const auto opened = project_io::OpenProject(path, false, p, s);
    EXPECT_TRUE(opened.status.ok()) << path;
    return p;
}

// The JSON of an optimisation without the line naming the project file.
std::string optimisedJson(const std::string& project)
{
    const CliRun run = runCli({"optimize", project, "--set", "autoparam=0", "--json", "-"});
    EXPECT_TRUE(run.code == cli::kExitOk || run.code == cli::kExitPartsMissing) << run.err;
    std::istringstream lines(run.out);
    std::string line, kept;
    while (std::getline(lines, line))
        if (line.find(project) == std::string::npos)
            kept += line + "\n";
    return kept;
}

TEST(ImportCommand, ThreeHundredRowsOptimiseAsIfTyped)
{
    TempDir dir;
    const std::string imported = dir.file("imported.vlp");
    const CliRun run = runCli({"import", sheetsFile("parts300.xlsx"), "--into", "parts", "--worksheet", "List",
                               "--range", "A2:D301", "--project", kExample, "--save", imported});
    ASSERT_EQ(run.code, cli::kExitOk) << run.err;
    EXPECT_NE(run.err.find("imported 300 parts as rows 27 to 326"), std::string::npos) << run.err;

    // The same rows typed into the entry fields, banding counts 0.
    engine::Project typed = openSaved(kExample);
    const auto bands = engine::LoadBandTypes(engine::bandTypesPath(engine::programFolder()));
    ASSERT_TRUE(bands.ok());
    const engine::BandValues none{bands->record(0).name, bands->record(0).thickness, bands->record(0).mark};
    std::istringstream lines(readFile(sheetsFile("parts300.txt")));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t'))
            f.push_back(field);
        ASSERT_EQ(f.size(), 4u) << line;
        ASSERT_TRUE(engine::addPartRow(typed, {f[3], f[0], f[1], f[2], "0", "0"}, none, none).ok()) << line;
        ++count;
    }
    ASSERT_EQ(count, 300);
    const std::string typedFile = dir.file("typed.vlp");
    const engine::Settings s = engine::Settings::defaults(engine::programFolder());
    ASSERT_TRUE(project_io::SaveProject(typedFile, typed, s, engine::programFolder()).ok());

    const engine::Project back = openSaved(imported);
    EXPECT_EQ(back.parts, typed.parts);
    EXPECT_EQ(back.partQtyTotal, typed.partQtyTotal);
    EXPECT_EQ(back.sheets, typed.sheets);
    const std::string a = optimisedJson(imported);
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, optimisedJson(typedFile));
}

TEST(ImportCommand, CommaConversionAndTheColumnAndRowOfABadCell)
{
    TempDir dir;
    const std::string out = dir.file("out.vlp");
    // B3 holds the text "30,5".
    CliRun run = runCli({"import", sheetsFile("basic.xlsx"), "--into", "sheets", "--range", "A3:D3", "--save", out});
    ASSERT_EQ(run.code, cli::kExitOk) << run.err;
    EXPECT_EQ(openSaved(out).sheets.cell(1, engine::SheetCol::Wid), "30.5");

    const std::string refused = dir.file("refused.vlp");
    run = runCli({"import", sheetsFile("basic.xlsx"), "--into", "sheets", "--range", "A3:D3", "--set",
                  "XlConvComma=0", "--save", refused});
    EXPECT_EQ(run.code, cli::kExitUsage);
    EXPECT_NE(run.err.find("(message 236)"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("2,1"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(refused));
}

TEST(ImportCommand, RememberedColumnsReplaceAndSheets)
{
    TempDir dir;
    const std::string out = dir.file("out.vlp");
    // An empty range leaves its column empty.
    CliRun run = runCli({"import", sheetsFile("basic.ods"), "--into", "parts", "--columns", "A2:A3,B2:B2,C2:C3,",
                         "--project", kExample, "--replace", "--save", out});
    ASSERT_EQ(run.code, cli::kExitUsage) << "column 2 is one row short";
    run = runCli({"import", sheetsFile("basic.ods"), "--into", "parts", "--columns", "A2:A2,B2:B2,C2:C2,",
                  "--project", kExample, "--replace", "--save", out});
    ASSERT_EQ(run.code, cli::kExitOk) << run.err;
    const engine::Project p = openSaved(out);
    ASSERT_EQ(p.partRowCount(), 1);
    EXPECT_EQ(p.parts.cell(1, engine::PartCol::Len), "72");
    EXPECT_EQ(p.parts.cell(1, engine::PartCol::Qty), "2");
    EXPECT_EQ(p.parts.cell(1, engine::PartCol::Ini), "");
    EXPECT_EQ(p.parts.cell(1, engine::PartCol::Rot), "0");
    EXPECT_EQ(p.partQtyTotal, 2);
    EXPECT_EQ(p.sheetRowCount(), openSaved(kExample).sheetRowCount());

    run = runCli({"import", sheetsFile("basic.xlsx"), "--into", "sheets", "--worksheet", "Sheets", "--range",
                  "B2:E2", "--save", out});
    ASSERT_EQ(run.code, cli::kExitOk) << run.err;
    const engine::Project q = openSaved(out);
    ASSERT_EQ(q.sheetRowCount(), 1);
    EXPECT_EQ(q.sheets.row(1), (std::vector<std::string>{"", "280", "207", "3", "Oak"}));
    EXPECT_EQ(q.sheetQtyTotal, 3);

    // The same row from the old binary workbook.
    const std::string fromXls = dir.file("xls.vlp");
    run = runCli({"import", sheetsFile("basic.xls"), "--into", "sheets", "--worksheet", "Sheets", "--range", "B2:E2",
                  "--save", fromXls});
    ASSERT_EQ(run.code, cli::kExitOk) << run.err;
    EXPECT_EQ(openSaved(fromXls).sheets.row(1), q.sheets.row(1));
}

TEST(ImportCommand, BadArgumentsAndFilesWriteNothing)
{
    TempDir dir;
    const std::string out = dir.file("out.vlp");
    const auto fails = [&](std::vector<std::string> args, const std::string& expected) {
        args.insert(args.begin(), "import");
        args.push_back("--save");
        args.push_back(out);
        const CliRun run = runCli(args);
        EXPECT_EQ(run.code, cli::kExitUsage) << expected;
        EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    };
    const std::string xlsx = sheetsFile("basic.xlsx");
    fails({xlsx, "--into", "parts", "--range", "A2:D2", "--worksheet", "Nope"}, "Nope");
    fails({xlsx, "--into", "parts", "--range", "A2:Q"}, "A2:Q");
    fails({xlsx, "--into", "parts", "--range", "A2:E2"}, "238");
    fails({xlsx, "--into", "tables", "--range", "A2:D2"}, "--into");
    fails({xlsx, "--into", "parts"}, "--range or --columns");
    fails({xlsx, "--into", "parts", "--range", "A2:D2", "--columns", "A2:A3"}, "--range or --columns");
    fails({xlsx, "--into", "parts", "--columns", "A2,B2,C2,D2,E2"}, "at most four");
    fails({sheetsFile("truncated.xlsx"), "--into", "parts", "--range", "A1:D1"}, "truncated.xlsx");
    fails({sheetsFile("bad-shared-index.xlsx"), "--into", "parts", "--range", "A1:D1"}, "shared string 2 of 2");
    fails({sheetsFile("missing.ods"), "--into", "parts", "--range", "A1:D1"}, "missing.ods");
    fails({kExample, "--into", "parts", "--range", "A1:D1"}, "kitchen.vlp");
    // Quantity 3.0: 237 at column 3 of the first row.
    fails({sheetsFile("comma.csv"), "--into", "parts", "--range", "A1:D1"}, "1,1");
}

} // namespace
