#include <sstream>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "tests/cli/cli_run.h"
#include "output/dxf_writer.h"

namespace {

TEST(CliDrawing, ListsTheShippedReleases)
{
    const CliRun r = runCli({"dxf-releases"});
    EXPECT_EQ(r.code, cli::kExitOk);
    std::string want;
    for (const std::string& name : output::dxfReleaseNames())
        want += name + "\n";
    EXPECT_EQ(r.out, want);
    EXPECT_EQ(runCli({"dxf-releases", "extra"}).code, cli::kExitUsage);
}

TEST(CliDrawing, BadOptionsAreUsageErrors)
{
    EXPECT_EQ(runCli({"draw", "x.vlp"}).code, cli::kExitUsage);                                  // nothing to write
    EXPECT_EQ(runCli({"draw", "x.vlp", "--dxf"}).code, cli::kExitUsage);                         // no file
    EXPECT_EQ(runCli({"draw", "x.vlp", "--dxf-release", "AutoCAD R14"}).code, cli::kExitUsage);  // without --dxf
    EXPECT_EQ(runCli({"draw", "x.vlp", "--svg", "d", "--svg-size", "12x"}).code, cli::kExitUsage);
    EXPECT_EQ(runCli({"draw", "--svg", "d"}).code, cli::kExitUsage);  // no input
    const CliRun unreadable = runCli({"draw", "/no/such/project.vlp", "--svg", "d"});
    EXPECT_EQ(unreadable.code, cli::kExitUsage);
    EXPECT_FALSE(unreadable.err.empty());
}

} // namespace
