#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "tests/cli/cli_run.h"
#include "engine/paths.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "project/project_file.h"
#include "tests/project/temp_dir.h"

namespace {

std::string saveProject(const TempDir& dir, const std::string& name, const engine::Project& p)
{
    const std::string file = dir.file(name);
    const engine::Settings s = engine::Settings::defaults(engine::programFolder());
    EXPECT_TRUE(project_io::SaveProject(file, p, s, engine::programFolder()).ok());
    return file;
}

} // namespace

TEST(OptimizeFile, ExampleSameJsonOnOneAndTwoThreads)
{
    TempDir dir;
    const CliRun one = runCli({"optimize", kExample, "--threads", "1", "--json", dir.file("one.json")});
    const CliRun two = runCli({"optimize", kExample, "--threads", "2", "--json", dir.file("two.json")});
    EXPECT_EQ(one.code, cli::kExitOk) << one.err;
    EXPECT_EQ(two.code, cli::kExitOk);
    EXPECT_EQ(one.out, two.out);
    EXPECT_NE(one.out.find("parts placed: "), std::string::npos);
    EXPECT_FALSE(readFile(dir.file("one.json")).empty());
    EXPECT_EQ(readFile(dir.file("one.json")), readFile(dir.file("two.json")));

    // JSON on standard output moves the summary to standard error.
    const CliRun piped = runCli({"optimize", kExample, "--json", "-"});
    EXPECT_EQ(piped.out, readFile(dir.file("one.json")));
    EXPECT_NE(piped.err.find("parts placed: "), std::string::npos);
}

TEST(OptimizeFile, SummaryGivesTheReportsStatistics)
{
    // The yields are those of the statistics panel and the report (net part
    // areas), not a second computation from the footprints.
    const CliRun r = runCli({"optimize", kExample, "--report", "-", "--lang", "English"});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    const auto figure = [](const std::string& text, const std::string& key) {
        const size_t at = text.find(key);
        if (at == std::string::npos)
            return std::string();
        const size_t from = at + key.size();
        return text.substr(from, text.find(' ', from) - from);
    };
    const std::string yield = figure(r.err, "yield: ");
    const std::string last = figure(r.err, "last sheet yield: ");
    ASSERT_FALSE(yield.empty()) << r.err;
    EXPECT_NE(r.out.find(" " + yield + " %"), std::string::npos) << yield;
    EXPECT_NE(r.out.find(" " + last + " %"), std::string::npos) << last;
    EXPECT_NE(yield, last);
}

TEST(OptimizeFile, SavedResultRunsAgainToTheSameLayout)
{
    TempDir dir;
    const CliRun first = runCli({"optimize", kExample, "--json", dir.file("a.json"), "--save", dir.file("out.vlp")});
    ASSERT_EQ(first.code, cli::kExitOk) << first.err;
    // The saved tables are already sorted, so the same layout comes out.
    const CliRun again = runCli({"optimize", dir.file("out.vlp"), "--json", dir.file("b.json")});
    ASSERT_EQ(again.code, cli::kExitOk) << again.err;
    EXPECT_EQ(readFile(dir.file("a.json")), readFile(dir.file("b.json")));

    engine::Project reread;
    const engine::Settings s = engine::Settings::defaults(engine::programFolder());
    ASSERT_TRUE(project_io::OpenProject(dir.file("out.vlp"), false, reread, s).status.ok());
    EXPECT_FALSE(reread.result.elements.empty());
}

TEST(OptimizeFile, MissingPartsExitThree)
{
    TempDir dir;
    engine::Project p;
    p.sheets.appendRow({"", "100", "50", "1", "small"});
    p.parts.appendRow({"", "300", "300", "1", "big", "0"});
    p.parts.appendRow({"", "20", "20", "2", "ok", "0"});
    p.recomputeTotals();
    const CliRun r = runCli({"optimize", saveProject(dir, "missing.vlp", p), "--save", dir.file("out.vlp")});
    EXPECT_EQ(r.code, cli::kExitPartsMissing);
    EXPECT_NE(r.err.find("message 20"), std::string::npos);
    EXPECT_NE(r.out.find("parts placed: 2 of 3"), std::string::npos);
    // The result is stored all the same.
    engine::Project reread;
    const engine::Settings s = engine::Settings::defaults(engine::programFolder());
    ASSERT_TRUE(project_io::OpenProject(dir.file("out.vlp"), false, reread, s).status.ok());
    EXPECT_EQ(reread.result.elements.size(), 2U);
}

TEST(OptimizeFile, EmptyTableExitsTwo)
{
    TempDir dir;
    engine::Project p;
    p.sheets.appendRow({"", "100", "50", "1", "small"});
    const CliRun r = runCli({"optimize", saveProject(dir, "empty.vlp", p)});
    EXPECT_EQ(r.code, cli::kExitUsage);
    EXPECT_NE(r.err.find("message 19"), std::string::npos);
}

TEST(OptimizeFile, UnreadableSheetSizeNamesTheRow)
{
    TempDir dir;
    engine::Project p;
    p.sheets.appendRow({"", "100", "50", "1", "good"});
    p.sheets.appendRow({"", "abc", "50", "1", "bad"});
    p.parts.appendRow({"", "20", "20", "1", "ok", "0"});
    p.recomputeTotals();
    const CliRun r = runCli({"optimize", saveProject(dir, "bad.vlp", p)});
    EXPECT_EQ(r.code, cli::kExitUsage);
    EXPECT_NE(r.err.find("message 157"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" 2"), std::string::npos) << r.err;
}
