#include "cli/report_cli.h"

#include <sstream>

#include <gtest/gtest.h>

using namespace engine;

namespace {

struct Fixture {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx;
    cli::ReportResources res;
    Project project;

    Fixture()
    {
        ctx.out = &out;
        ctx.err = &err;
        ctx.settings.JedMere = 0;
        ctx.settings.AreaStyle = 0;
        for (int n = 0; n < LanguageTable::kEntries; ++n)
            res.lang.setText(n, "<" + std::to_string(n) + ">");
        res.bands.append({"-", "0", "-", "0", "0"});
        // One sheet row of two 100 x 80 mm sheets, both used.
        project.sheets.appendRow({"", "100", "80", "2", ""});
        project.parts.appendRow({"", "50", "80", "2", "A", "0", "-", "-", "-", "-", "0", "0", "0", "0"});
        project.input.totalParts = 2;
        for (int tnb = 1; tnb <= 2; ++tnb) {
            project.input.sheets.push_back({1000, 800, 2, tnb, 1});
            project.result.elements.push_back({tnb, 0, 0, 504, 800, 0, 1});
            project.result.offcuts.push_back({tnb, 504, 0, 1000, 800});
        }
        project.recomputeTotals();
    }
};

} // namespace

TEST(ReportOptions, TakesItsOptionsAndLeavesTheRest)
{
    Fixture f;
    f.ctx.args = {"in.vlp", "--report", "-", "--take-offcuts", "--json", "--subtract-sheets"};
    cli::ReportOptions o;
    EXPECT_EQ(cli::takeReportOptions(f.ctx, o), cli::kExitOk);
    EXPECT_EQ(o.reportFile, "-");
    EXPECT_TRUE(o.takeOffcuts);
    EXPECT_TRUE(o.subtractSheets);
    EXPECT_EQ(f.ctx.args, (std::vector<std::string>{"in.vlp", "--json"}));

    f.ctx.args = {"--report"};
    EXPECT_EQ(cli::takeReportOptions(f.ctx, o), cli::kExitUsage);
}

TEST(FinishRun, ReportThenBillAndStockCommandsBeforeSaving)
{
    Fixture f;
    cli::ReportOptions o;
    o.reportFile = "-";
    o.takeOffcuts = true;
    o.subtractSheets = true;
    output::ShowResultsOutcome shown;
    EXPECT_EQ(cli::finishRun(f.ctx, f.project, o, f.res, shown), cli::kExitOk);
    EXPECT_TRUE(shown.allPlaced);
    const std::string text = f.out.str();
    EXPECT_EQ(text.rfind("  <39>\n", 0), 0u);
    EXPECT_NE(text.find("  <57> 0 mm\n  <48>\n"), std::string::npos);
    // Both sheets used: the row is gone; the two good offcuts (49.6 x 80 mm) came in first.
    ASSERT_EQ(f.project.sheets.rowCount(), 2);
    EXPECT_EQ(f.project.sheets.row(1), (std::vector<std::string>{"", "49.6", "80", "1", "<21>"}));
    EXPECT_TRUE(f.project.result.offcutsTaken);
    EXPECT_TRUE(f.project.result.sheetsSubtracted);
}

TEST(FinishRun, MissingPartsGiveExitThreeAndNoStockChange)
{
    Fixture f;
    f.project.input.totalParts = 3;
    cli::ReportOptions o;
    o.takeOffcuts = true;
    output::ShowResultsOutcome shown;
    EXPECT_EQ(cli::finishRun(f.ctx, f.project, o, f.res, shown), cli::kExitPartsMissing);
    EXPECT_NE(f.err.str().find("<20>"), std::string::npos);
    EXPECT_NE(f.err.str().find("<181>"), std::string::npos);
    EXPECT_EQ(f.project.sheets.rowCount(), 1);
}

TEST(FinishRun, UnwritableReportFileIsAUsageError)
{
    Fixture f;
    cli::ReportOptions o;
    o.reportFile = "/nonexistent-dir/report.txt";
    output::ShowResultsOutcome shown;
    EXPECT_EQ(cli::finishRun(f.ctx, f.project, o, f.res, shown), cli::kExitUsage);
}

TEST(ResultJson, StatsAndGroupsUseTheDisplayTexts)
{
    Fixture f;
    output::ShowResultsOutcome shown;
    ASSERT_EQ(cli::finishRun(f.ctx, f.project, cli::ReportOptions{}, f.res, shown), cli::kExitOk);
    const nlohmann::ordered_json stats = cli::statsJson(f.project.result.stats);
    EXPECT_EQ(stats["parts"], "2");
    EXPECT_EQ(stats["used_sheets"], "2");
    EXPECT_EQ(stats["average_yield"], "50");
    EXPECT_EQ(stats.size(), 8u);
    const nlohmann::ordered_json groups = cli::groupsJson(f.project.result.groups);
    EXPECT_EQ(groups, nlohmann::ordered_json::parse(R"([{"tnb":1,"multiplicity":2}])"));
}

TEST(ResultJson, StatsKeysKeepTheirOrder)
{
    const nlohmann::ordered_json stats = cli::statsJson(ProjectStats{});
    std::vector<std::string> keys;
    for (const auto& item : stats.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"parts", "used_parts", "used_sheets", "part_area", "average_yield",
                                              "last_sheet_yield", "cut_length", "banding_length"}));
}
