#include "cli/cmd_optimize.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "engine/auto_run.h"
#include "engine/rand31.h"

namespace {

engine::Project kitchen()
{
    engine::Project p;
    p.sheets.appendRow({"", "280", "207", "2", "white"});
    p.sheets.appendRow({"", "244", "122", "1", "oak"});
    p.parts.appendRow({"", "72", "56", "6", "side", "1"});
    p.parts.appendRow({"", "56", "40", "9", "shelf", "0"});
    p.parts.appendRow({"", "120", "12", "4", "rail", "0"});
    p.parts.appendRow({"", "300", "300", "1", "huge", "0"});
    return p;
}

std::string runToJson(int threads, engine::AutoRunOutcome* outcome = nullptr)
{
    engine::Project p = kitchen();
    engine::Settings s;
    s.autoparam = 0;
    engine::Rand31 rng;
    engine::AutoRunOptions opt;
    opt.rng = &rng;
    opt.threads = threads;
    const engine::AutoRunOutcome out = engine::runAutomatic(p, s, opt);
    if (outcome)
        *outcome = out;
    return cli::optimizeJson(p, s, out);
}

} // namespace

TEST(OptimizeJson, SameBytesOnOneAndTwoThreads)
{
    const std::string one = runToJson(1);
    EXPECT_EQ(runToJson(1), one);
    EXPECT_EQ(runToJson(2), one);
}

TEST(OptimizeJson, KeysAndValues)
{
    engine::AutoRunOutcome out;
    const auto j = nlohmann::ordered_json::parse(runToJson(2, &out));
    std::vector<std::string> keys;
    for (const auto& item : j.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"unit", "attempts", "best_attempt", "sheet_table", "part_table",
                                              "sheets", "parts", "elements", "offcuts", "placed", "total_parts"}));
    EXPECT_EQ(j["unit"], 1);
    EXPECT_EQ(j["attempts"], 100);
    EXPECT_EQ(j["best_attempt"], out.bestAttempt);
    // Tables after the run: sheets by ascending, parts by descending area.
    EXPECT_EQ(j["sheet_table"][0]["descr"], "oak");
    EXPECT_EQ(j["sheet_table"][0]["len"], "244");
    EXPECT_EQ(j["part_table"][0]["ini"], "huge");
    EXPECT_EQ(j["part_table"][3]["rot"], "0");
    EXPECT_EQ(j["sheets"].size(), 3U);
    EXPECT_EQ(j["sheets"][1], (nlohmann::ordered_json{{"tnb", 2}, {"len", 28000}, {"wid", 20700}, {"qty", 2}, {"row", 2}}));
    EXPECT_EQ(j["parts"][0], (nlohmann::ordered_json{{"row", 1}, {"len", 30004}, {"wid", 30004}, {"qty", 1}, {"lock", 0}}));
    EXPECT_EQ(j["total_parts"], 20);
    EXPECT_EQ(j["placed"], 19);
    EXPECT_EQ(j["elements"].size(), 19U);
    EXPECT_EQ(j["elements"][0].size(), 7U);
    EXPECT_GT(j["offcuts"].size(), 0U);
}

TEST(OptimizeCommand, BadUsageAndUnreadableInput)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::run({"optimize"}, out, err), cli::kExitUsage);
    EXPECT_EQ(cli::run({"optimize", "a.vlp", "b.vlp"}, out, err), cli::kExitUsage);
    EXPECT_EQ(cli::run({"optimize", "x.vlp", "--threads", "many"}, out, err), cli::kExitUsage);
    err.str("");
    EXPECT_EQ(cli::run({"optimize", "/nonexistent/none.vlp"}, out, err), cli::kExitUsage);
    EXPECT_NE(err.str().find("message"), std::string::npos);
}
