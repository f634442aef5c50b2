#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "tests/cli/cli_run.h"
#include "tests/project/temp_dir.h"

namespace {

} // namespace

TEST(OptimizeDeep, SameJsonOnOneAndTwoThreadsAndNamesTheMethod)
{
    TempDir dir;
    const CliRun one =
        runCli({"optimize", kExample, "--deep", "--effort", "3000", "--threads", "1", "--json", dir.file("one.json")});
    const CliRun two =
        runCli({"optimize", kExample, "--deep", "--effort", "3000", "--threads", "2", "--json", dir.file("two.json")});
    ASSERT_EQ(one.code, cli::kExitOk) << one.err;
    ASSERT_EQ(two.code, cli::kExitOk) << two.err;
    EXPECT_EQ(one.out, two.out);
    EXPECT_EQ(readFile(dir.file("one.json")), readFile(dir.file("two.json")));
    EXPECT_NE(one.out.find("method: "), std::string::npos);
    EXPECT_NE(one.out.find("deep: "), std::string::npos);

    const auto j = nlohmann::ordered_json::parse(readFile(dir.file("one.json")));
    ASSERT_TRUE(j.contains("method"));
    ASSERT_TRUE(j.contains("deep"));
    const std::string method = j["method"];
    EXPECT_EQ(method == "deep", j["deep"]["improved"].get<bool>());
    EXPECT_EQ(j["placed"], j["total_parts"]);
    EXPECT_GT(j["deep"]["work_units"].get<long long>(), 0);

    // Without --deep the document is the automatic run's as it always was.
    const CliRun plain = runCli({"optimize", kExample, "--json", dir.file("plain.json")});
    ASSERT_EQ(plain.code, cli::kExitOk);
    const auto p = nlohmann::ordered_json::parse(readFile(dir.file("plain.json")));
    EXPECT_FALSE(p.contains("method"));
    EXPECT_FALSE(p.contains("deep"));
    EXPECT_EQ(plain.out.find("method: "), std::string::npos);
}

TEST(OptimizeDeep, TheReportNamesTheMethod)
{
    const CliRun r = runCli({"optimize", kExample, "--deep", "--effort", "3000", "--report", "-", "--lang", "English"});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    const bool deep = r.err.find("method: deep") != std::string::npos;
    EXPECT_NE(r.out.find(deep ? "Optimisation: deep" : "Optimisation: automatic"), std::string::npos) << r.out;
    const CliRun plain = runCli({"optimize", kExample, "--report", "-", "--lang", "English"});
    EXPECT_EQ(plain.out.find("Optimisation:"), std::string::npos);
}

TEST(OptimizeDeep, BadOptions)
{
    EXPECT_EQ(runCli({"optimize", kExample, "--effort", "10"}).code, cli::kExitUsage);
    EXPECT_EQ(runCli({"optimize", kExample, "--time-limit", "10"}).code, cli::kExitUsage);
    const CliRun zero = runCli({"optimize", kExample, "--deep", "--effort", "0"});
    EXPECT_EQ(zero.code, cli::kExitUsage);
    EXPECT_NE(zero.err.find("effort"), std::string::npos);
    EXPECT_EQ(runCli({"optimize", kExample, "--deep", "--effort", "many"}).code, cli::kExitUsage);
    EXPECT_EQ(runCli({"optimize", kExample, "--deep", "--effort"}).code, cli::kExitUsage);
    EXPECT_EQ(runCli({"optimize", kExample, "--deep", "--time-limit", "-3"}).code, cli::kExitUsage);
}
