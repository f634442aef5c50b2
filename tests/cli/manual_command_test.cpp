#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "tests/cli/cli_run.h"

namespace {

TEST(ManualCommand, ExampleProjectPlacesEveryPart)
{
    const CliRun r = runCli({"manual", kExample, "--alpha", "0.01", "--json", "-"});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    const auto j = nlohmann::ordered_json::parse(r.out);
    EXPECT_EQ(j["placed"], j["total_parts"]);
    ASSERT_TRUE(j["manual"].is_array());
    ASSERT_FALSE(j["manual"].empty());
    for (const auto& s : j["manual"]) {
        EXPECT_GE(s["tnb"].get<int>(), 1);
        EXPECT_GE(s["generations"].get<int>(), 1);
        EXPECT_GT(s["known"].get<int>(), 0);
        EXPECT_LT(s["best"].get<int>(), s["known"].get<int>());
    }
    EXPECT_FALSE(j.contains("attempts"));
    // The searched sheets come in increasing order.
    for (std::size_t i = 1; i < j["manual"].size(); ++i)
        EXPECT_LT(j["manual"][i - 1]["tnb"].get<int>(), j["manual"][i]["tnb"].get<int>());
}

TEST(ManualCommand, BadParametersAreRefused)
{
    CliRun r = runCli({"manual", kExample, "--alpha", "x"});
    EXPECT_EQ(r.code, cli::kExitUsage);
    EXPECT_NE(r.err.find("169"), std::string::npos) << r.err;
    r = runCli({"manual", kExample, "--pi", "9.2"});
    EXPECT_EQ(r.code, cli::kExitUsage);
    EXPECT_NE(r.err.find("170"), std::string::npos) << r.err;
    r = runCli({"manual", kExample, "--pick", "21"});
    EXPECT_EQ(r.code, cli::kExitUsage);
    r = runCli({"manual"});
    EXPECT_EQ(r.code, cli::kExitUsage);
}

TEST(ManualCommand, DefaultsLeaveSomePartsOfTheExample)
{
    // Alpha 0.001 and P.I. 92 fill the first sheets tightly and run out of
    // stock: the result is kept, the exit status says parts are missing.
    const CliRun r = runCli({"manual", kExample});
    EXPECT_EQ(r.code, cli::kExitPartsMissing) << r.err;
    EXPECT_NE(r.out.find("parts placed: 77 of 81"), std::string::npos) << r.out;
}

TEST(ManualCommand, PickAndSaveRoundTrip)
{
    const std::string saved = (std::filesystem::temp_directory_path() / "velmora_manual_test.vlp").string();
    const CliRun r = runCli({"manual", kExample, "--pick", "2", "--save", saved});
    EXPECT_TRUE(r.code == cli::kExitOk || r.code == cli::kExitPartsMissing) << r.err;
    EXPECT_TRUE(std::filesystem::exists(saved));
    const CliRun shown = runCli({"show", saved});
    EXPECT_EQ(shown.code, cli::kExitOk) << shown.err;
    std::filesystem::remove(saved);
}

} // namespace

TEST(ManualCommand, WritesTheReportAndStatisticsLikeTheAutomaticRun)
{
    const CliRun r = runCli({"manual", kExample, "--alpha", "0.01", "--lang", "English", "--report", "-"});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_NE(r.out.find("CUTTING REPORT"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Cutting layout 1"), std::string::npos);
    // The summary moves to the error stream when the report takes the output.
    EXPECT_NE(r.err.find("parts placed: 81 of 81"), std::string::npos) << r.err;

    const CliRun both = runCli({"manual", kExample, "--report", "-", "--json", "-"});
    EXPECT_EQ(both.code, cli::kExitUsage);
}

TEST(ManualCommand, SearchEndsWhenTheListOfBlocksIsFull)
{
    // With manparam 0 the list holds 20000 blocks; Alpha 0.05 on the
    // example's first sheet finds more, so that search ends with a full list
    // and says so.
    const CliRun r = runCli({"manual", kExample, "--alpha", "0.05", "--set", "manparam=0", "--json", "-"});
    ASSERT_TRUE(r.code == cli::kExitOk || r.code == cli::kExitPartsMissing) << r.err;
    const auto j = nlohmann::ordered_json::parse(r.out);
    const auto& first = j["manual"].at(0);
    EXPECT_EQ(first["known"].get<int>(), 20000);
    EXPECT_EQ(first["end"], "known_list_full");
    for (const auto& s : j["manual"])
        EXPECT_LE(s["known"].get<int>(), 20000);
    EXPECT_NE(r.err.find("sheet 1: "), std::string::npos);
    EXPECT_NE(r.err.find("(stopped: the list of blocks is full)"), std::string::npos) << r.err;
}
