#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "cli/cli.h"
#include "cli/drawing_options.h"
#include "engine/paths.h"
#include "tests/cli/cli_run.h"
#include "output/dxf_writer.h"
#include "tests/project/temp_dir.h"

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

namespace {

namespace fs = std::filesystem;

const std::string kKitchen = std::string(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp";

TEST(CliDxfOptions, LayerOptionReadsNumberNameAndColour)
{
    cli::DxfOverrides o;
    std::string problem;
    ASSERT_TRUE(cli::parseDxfLayerOption("2=Cuts:green", o, problem)) << problem;
    ASSERT_TRUE(cli::parseDxfLayerOption("5=Sizes and labels:7", o, problem)) << problem;
    ASSERT_TRUE(cli::parseDxfLayerOption("1=A:MAGENTA", o, problem)) << problem;
    EXPECT_EQ(o.layers[2], (output::DxfLayer{"Cuts", 3}));
    EXPECT_EQ(o.layers[5], (output::DxfLayer{"Sizes and labels", 7}));
    EXPECT_EQ(o.layers[1], (output::DxfLayer{"A", 6}));
    EXPECT_FALSE(o.layers[0].has_value());
    EXPECT_FALSE(o.layers[3].has_value());

    for (const char* bad : {"0=Zero:red", "6=Six:red", "x=A:red", "2:red", "2=A", "2=:red", "2=A:0", "2=A:8",
                            "2=A:purple", "2=A/B:red", "2=A*:red", "=A:red"}) {
        cli::DxfOverrides none;
        std::string why;
        EXPECT_FALSE(cli::parseDxfLayerOption(bad, none, why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
        EXPECT_FALSE(none.any()) << bad;
    }
}

TEST(CliDxfOptions, ItemsOptionReadsLayersAndSwitches)
{
    cli::DxfOverrides o;
    std::string problem;
    ASSERT_TRUE(cli::parseDxfItemsOption("parts=1,Part-Names=2,offcuts=off,headers=on", o, problem)) << problem;
    EXPECT_EQ(o.itemLayer[0], 1);
    EXPECT_EQ(o.itemOutput[0], true);
    EXPECT_EQ(o.itemLayer[1], 2);
    EXPECT_FALSE(o.itemLayer[3].has_value());
    EXPECT_EQ(o.itemOutput[3], false);
    EXPECT_EQ(o.itemOutput[5], true);
    EXPECT_FALSE(o.itemLayer[2].has_value());
    EXPECT_FALSE(o.itemOutput[2].has_value());

    output::DxfSettings s;
    s.items[2] = {4, false};
    s.items[3] = {4, true};
    o.applyTo(s);
    EXPECT_EQ(s.items[0], (output::DxfItemSetup{1, true}));
    EXPECT_EQ(s.items[2], (output::DxfItemSetup{4, false}));  // not named: as the file says
    EXPECT_EQ(s.items[3], (output::DxfItemSetup{4, false}));

    for (const char* bad : {"parts", "parts=6", "parts=-1", "labels=1", "parts=1,", "parts=yes", ""}) {
        cli::DxfOverrides none;
        std::string why;
        EXPECT_FALSE(cli::parseDxfItemsOption(bad, none, why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
}

TEST(CliDxfOptions, OptionsNeedTheDxfFile)
{
    EXPECT_EQ(runCli({"draw", kKitchen, "--svg", "d", "--dxf-layer", "1=A:red"}).code, cli::kExitUsage);
    EXPECT_EQ(runCli({"draw", kKitchen, "--svg", "d", "--dxf-items", "parts=off"}).code, cli::kExitUsage);
    const CliRun bad = runCli({"draw", kKitchen, "--dxf", "x.dxf", "--dxf-layer", "9=A:red"});
    EXPECT_EQ(bad.code, cli::kExitUsage);
    EXPECT_NE(bad.err.find("--dxf-layer"), std::string::npos);
    EXPECT_EQ(runCli({"draw", kKitchen, "--dxf", "x.dxf", "--dxf-items"}).code, cli::kExitUsage);
}

// The export with changed layers and items, read back by ezdxf and checked
// by the strict validator; the settings file stays as it was.
TEST(CliDxfOptions, ExportUsesTheOverridesAndLeavesTheSettingsFile)
{
    const std::string validator = std::string(TOOLS_DIR) + "/dxf-validate";
    if (!fs::exists(validator))
        GTEST_SKIP() << "no DXF validator at " << validator;
    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-ezdxf is not installed";
    const fs::path dir = fs::temp_directory_path() / ("velmora-cli-dxf-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string settingsFile = output::dxfSettingsPath(engine::programFolder());
    const std::string settingsBefore = readFile(settingsFile);
    const std::string dxf = (dir / "kitchen.dxf").string();
    const CliRun r = runCli({"optimize", kKitchen, "--dxf", dxf, "--dxf-release", "AutoCAD 2000", "--dxf-layer",
                             "2=Labels here:green", "--dxf-layer", "4=Rests:5", "--dxf-items",
                             "part-names=2,offcuts=4,offcut-sizes=off"});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_EQ(readFile(settingsFile), settingsBefore);
    EXPECT_EQ(std::system((validator + " " + dxf + " > /dev/null").c_str()), 0);

    const std::string script = dir.string() + "/check.py";
    std::ofstream(script) << "import sys, ezdxf, collections\n"
                             "doc = ezdxf.readfile(sys.argv[1])\n"
                             "for name in ('Labels here', 'Rests'):\n"
                             "    print(name, doc.layers.get(name).color)\n"
                             "kinds = collections.Counter((e.dxf.layer, e.dxftype()) for e in doc.modelspace())\n"
                             "for (layer, kind), n in sorted(kinds.items()):\n"
                             "    print(layer, kind, n > 0)\n";
    const std::string out = dir.string() + "/check.txt";
    ASSERT_EQ(std::system(("/usr/bin/python3 " + script + " " + dxf + " > " + out).c_str()), 0);
    const std::string report = readFile(out);
    fs::remove_all(dir);
    EXPECT_NE(report.find("Labels here 3\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Rests 5\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Labels here MTEXT True\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Rests LWPOLYLINE True\n"), std::string::npos) << report;
    // The offcut sizes were switched off: the only texts are part texts.
    EXPECT_EQ(report.find("Rests MTEXT"), std::string::npos) << report;
}

} // namespace
