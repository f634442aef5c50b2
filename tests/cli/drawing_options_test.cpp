#include <sstream>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "output/dxf_writer.h"

namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::run(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(CliDrawing, ListsTheShippedReleases)
{
    const CliRun r = run({"dxf-releases"});
    EXPECT_EQ(r.code, cli::kExitOk);
    std::string want;
    for (const std::string& name : output::dxfReleaseNames())
        want += name + "\n";
    EXPECT_EQ(r.out, want);
    EXPECT_EQ(run({"dxf-releases", "extra"}).code, cli::kExitUsage);
}

TEST(CliDrawing, BadOptionsAreUsageErrors)
{
    EXPECT_EQ(run({"draw", "x.vlp"}).code, cli::kExitUsage);                                  // nothing to write
    EXPECT_EQ(run({"draw", "x.vlp", "--dxf"}).code, cli::kExitUsage);                         // no file
    EXPECT_EQ(run({"draw", "x.vlp", "--dxf-release", "AutoCAD R14"}).code, cli::kExitUsage);  // without --dxf
    EXPECT_EQ(run({"draw", "x.vlp", "--svg", "d", "--svg-size", "12x"}).code, cli::kExitUsage);
    EXPECT_EQ(run({"draw", "--svg", "d"}).code, cli::kExitUsage);  // no input
    const CliRun unreadable = run({"draw", "/no/such/project.vlp", "--svg", "d"});
    EXPECT_EQ(unreadable.code, cli::kExitUsage);
    EXPECT_FALSE(unreadable.err.empty());
}

} // namespace
