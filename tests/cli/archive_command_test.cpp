#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "tests/cli/cli_run.h"

namespace {

TEST(CliArchive, PrintsTableAndGrandTotal)
{
    const CliRun r = runCli({"archive", std::string(TEST_DATA_DIR) + "/project/archive/totals", "--set", "AreaStyle=2"});
    EXPECT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out, "IME ARHIVE     POVRSINA   CENA  UKUPNO\n"
                     "a-cabinet.vlp      1 m\u00B2  10.70   10.70\n"
                     "b-shelf.qln     0.56 m\u00B2  0.001    5.60\n"
                     "Total: 16.30\n");
}

TEST(CliArchive, Filter)
{
    const CliRun r = runCli({"archive", std::string(TEST_DATA_DIR) + "/project/archive/filter", "--filter", "kit"});
    EXPECT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_NE(r.out.find("kitchen.vlp"), std::string::npos);
    EXPECT_NE(r.out.find("old kit.qln"), std::string::npos);
    EXPECT_EQ(r.out.find("garage.vlp"), std::string::npos);
    EXPECT_NE(r.out.find("Total: 80,000.00\n"), std::string::npos);
}

TEST(CliArchive, MissingFolderAndUsage)
{
    const CliRun missing = runCli({"archive", std::string(TEST_DATA_DIR) + "/project/archive/none"});
    EXPECT_EQ(missing.code, cli::kExitUsage);
    // A missing folder is said to be missing, not "locked or read-only".
    EXPECT_NE(missing.err.find("message 112"), std::string::npos);
    EXPECT_NE(missing.err.find("archive/none"), std::string::npos);
    EXPECT_EQ(runCli({"archive"}).code, cli::kExitUsage);
    EXPECT_EQ(runCli({"archive", "a", "b"}).code, cli::kExitUsage);
    EXPECT_EQ(runCli({"archive", "a", "--filter"}).code, cli::kExitUsage);
}

} // namespace
