// velmora-cli never reports a failure as success: outputs that cannot be
// written, drawings without what they need, inputs that are refused, and the
// messages that say why.
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "engine/paths.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "project/project_file.h"
#include "tests/cli/cli_run.h"
#include "tests/project/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// A stream that takes nothing, as standard output on a full disk or a
// closed pipe.
class FullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

CliRun runToFullOutput(const std::vector<std::string>& args)
{
    FullBuffer full;
    std::ostream out(&full);
    std::ostringstream err;
    CliRun r;
    r.code = cli::run(args, out, err);
    r.err = err.str();
    return r;
}

// VELMORA_HOME pointed elsewhere for one test.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::string& folder) : m_old(engine::programFolder())
    {
        ::setenv("VELMORA_HOME", folder.c_str(), 1);
    }
    ~ProgramFolder() { ::setenv("VELMORA_HOME", m_old.c_str(), 1); }

private:
    std::string m_old;
};

// A saved project with a result, for the drawing commands.
std::string projectWithResult(const TempDir& dir)
{
    const std::string file = dir.file("done.vlp");
    const CliRun run = runCli({"optimize", kExample, "--threads", "1", "--save", file});
    EXPECT_EQ(run.code, cli::kExitOk) << run.err;
    return file;
}

} // namespace

TEST(OutputFailures, StandardOutputThatTakesNothingIsExitTwo)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", kExample},
          std::vector<std::string>{"optimize", kExample, "--threads", "1", "--json", "-"},
          std::vector<std::string>{"optimize", kExample, "--threads", "1", "--report", "-"},
          std::vector<std::string>{"archive", std::string(TEST_DATA_DIR) + "/project/archive/totals"},
          std::vector<std::string>{"help"}}) {
        const CliRun r = runToFullOutput(args);
        EXPECT_EQ(r.code, cli::kExitUsage) << args[0];
        EXPECT_NE(r.err.find("message 141"), std::string::npos) << args[0] << ": " << r.err;
    }
}

TEST(OutputFailures, OutputFilesAreReplacedWholeOrNotAtAll)
{
    TempDir dir;
    const std::string json = dir.file("result.json");
    writeFile(json, "old");
    ASSERT_EQ(::chmod(json.c_str(), 0444), 0);
    const CliRun r = runCli({"optimize", kExample, "--threads", "1", "--json", json, "--lang", "English"});
    EXPECT_EQ(r.code, cli::kExitUsage);
    EXPECT_NE(r.err.find("read-only"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(json), "old");
    // A report into a folder that is not there leaves nothing behind.
    const CliRun report = runCli({"optimize", kExample, "--threads", "1", "--report", dir.file("no/r.txt")});
    EXPECT_EQ(report.code, cli::kExitUsage);
    EXPECT_NE(report.err.find("message 141"), std::string::npos);
    EXPECT_EQ(fs::directory_iterator(dir.path())->path().filename(), "result.json");
}

TEST(OutputFailures, SpecialFilesAsOutputsAreRefused)
{
    TempDir dir;
    fs::create_symlink("/dev/null", dir.file("null.vlp"));
    const CliRun save = runCli({"convert", kExample, dir.file("null.vlp")});
    EXPECT_EQ(save.code, cli::kExitUsage);
    EXPECT_NE(save.err.find("message 29"), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(dir.file("null.vlp")));
    const CliRun json = runCli({"optimize", kExample, "--threads", "1", "--json", "/dev/full"});
    EXPECT_EQ(json.code, cli::kExitUsage);
    EXPECT_NE(json.err.find("message 141"), std::string::npos);
}

TEST(OutputFailures, UnknownInputKindWritesNothing)
{
    TempDir dir;
    const std::string bak = dir.file("job.txt");
    writeFile(bak, "nothing a project would hold\n");
    const std::string out = dir.file("job.vlp");
    fs::copy_file(kExample, out);
    const std::string before = readFile(out);
    const CliRun r = runCli({"convert", bak, out});
    EXPECT_EQ(r.code, cli::kExitUsage);
    EXPECT_NE(r.err.find("message 43"), std::string::npos);
    EXPECT_NE(r.err.find(bak), std::string::npos);
    EXPECT_EQ(readFile(out), before);
}

TEST(OutputFailures, DrawNeedsAResult)
{
    TempDir dir;
    const CliRun r = runCli({"draw", kExample, "--dxf", dir.file("x.dxf"), "--svg", dir.file("svg")});
    EXPECT_EQ(r.code, cli::kExitUsage);
    EXPECT_NE(r.err.find("message 95"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("x.dxf")));
}

TEST(OutputFailures, SvgFolderKeepsNoLayoutsOfAnEarlierRun)
{
    TempDir dir;
    const std::string project = projectWithResult(dir);
    const std::string svg = dir.file("svg");
    fs::create_directories(svg);
    for (const char* name : {"layout-40.svg", "layout-7.svg", "notes.txt", "layout-x.svg"})
        writeFile(svg + "/" + name, "old");
    // A link of a layout's name is not written through.
    writeFile(dir.file("elsewhere.txt"), "keep");
    fs::create_symlink(dir.file("elsewhere.txt"), svg + "/layout-1.svg");
    const CliRun r = runCli({"draw", project, "--svg", svg});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_EQ(readFile(dir.file("elsewhere.txt")), "keep");
    EXPECT_FALSE(fs::is_symlink(svg + "/layout-1.svg"));
    EXPECT_FALSE(fs::exists(svg + "/layout-40.svg"));
    EXPECT_TRUE(fs::exists(svg + "/layout-1.svg"));
    EXPECT_EQ(readFile(svg + "/notes.txt"), "old");
    EXPECT_EQ(readFile(svg + "/layout-x.svg"), "old");
}

TEST(OutputFailures, MissingDxfSettingsFileIsAnError)
{
    TempDir dir;
    const std::string project = projectWithResult(dir);
    fs::create_directories(dir.file("prog/Config"));
    ProgramFolder folder(dir.file("prog"));
    const CliRun draw = runCli({"draw", project, "--dxf", dir.file("x.dxf")});
    EXPECT_EQ(draw.code, cli::kExitUsage);
    EXPECT_NE(draw.err.find("message 111"), std::string::npos);
    EXPECT_NE(draw.err.find("velmdxf.xml"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("x.dxf")));
    const CliRun releases = runCli({"dxf-releases"});
    EXPECT_EQ(releases.code, cli::kExitUsage);
    EXPECT_TRUE(releases.out.empty());
    // A damaged one too.
    writeFile(dir.file("prog/Config/velmdxf.xml"), "<velm_dxf><layers>");
    EXPECT_EQ(runCli({"dxf-releases"}).code, cli::kExitUsage);
    // One whose active release has no templates gives no headless drawing.
    std::string shipped = readFile(std::string(VELMORA_SOURCE_DIR) + "/data/Config/velmdxf.xml");
    for (const char* tag : {"<h1>", "</h1>", "<h3>", "</h3>"})
        for (size_t at = shipped.find(tag); at != std::string::npos; at = shipped.find(tag))
            shipped.replace(at, std::string(tag).size(), std::string(tag).replace(1 + (tag[1] == '/'), 1, "x"));
    writeFile(dir.file("prog/Config/velmdxf.xml"), shipped);
    const CliRun headless = runCli({"draw", project, "--dxf", dir.file("x.dxf")});
    EXPECT_EQ(headless.code, cli::kExitUsage) << headless.err;
    EXPECT_NE(headless.err.find("message 111"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("x.dxf")));
}

TEST(OutputFailures, ThreadCountIsCappedAtTheCores)
{
    TempDir dir;
    const CliRun r = runCli({"optimize", kExample, "--threads", "300", "--json", dir.file("j.json")});
    EXPECT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_NE(r.err.find("--threads 300 is more than"), std::string::npos);
    const CliRun one = runCli({"optimize", kExample, "--threads", "1", "--json", dir.file("one.json")});
    EXPECT_EQ(readFile(dir.file("j.json")), readFile(dir.file("one.json")));
}

TEST(OutputFailures, SettingsOutOfRangeAreRefusedWithTheirName)
{
    for (const char* set : {"JedMere=6", "JedMere=-1", "Testera=65536", "CENA1=1e39"}) {
        const CliRun r = runCli({"show", kExample, "--set", set});
        EXPECT_EQ(r.code, cli::kExitUsage) << set;
        EXPECT_NE(r.err.find(set), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("message 96"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    TempDir dir;
    writeFile(dir.file("s.ini"), "[1.3]\nJedMere=99\n");
    const CliRun file = runCli({"show", kExample, "--settings", dir.file("s.ini")});
    EXPECT_EQ(file.code, cli::kExitUsage);
    EXPECT_NE(file.err.find("JedMere=99"), std::string::npos);
}

TEST(OutputFailures, SettingsFilesThatAreNoSettingsAreRefused)
{
    TempDir dir;
    writeFile(dir.file("utf16.ini"), std::string("\xFF\xFEJ\0=\0", 6));
    fs::create_directories(dir.file("folder.ini"));
    for (const std::string& path : {dir.file("utf16.ini"), dir.file("folder.ini"), std::string("/dev/zero")}) {
        const CliRun r = runCli({"show", kExample, "--settings", path});
        EXPECT_EQ(r.code, cli::kExitUsage) << path;
        EXPECT_NE(r.err.find("message 140"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
    }
    writeFile(dir.file("bom.ini"), "\xEF\xBB\xBFJedMere=0\n");
    const CliRun bom = runCli({"show", kExample, "--settings", dir.file("bom.ini")});
    EXPECT_EQ(bom.code, cli::kExitOk);
    EXPECT_NE(bom.out.find("Length (mm)"), std::string::npos);
}

TEST(OutputFailures, MessagesNameWhatIsWrong)
{
    const CliRun bogus = runCli({"show", "--bogus", kExample});
    EXPECT_EQ(bogus.code, cli::kExitUsage);
    EXPECT_NE(bogus.err.find("unknown option '--bogus'"), std::string::npos) << bogus.err;
    const CliRun none = runCli({});
    EXPECT_EQ(none.code, cli::kExitUsage);
    EXPECT_NE(none.err.find("usage: velmora-cli"), std::string::npos);
    EXPECT_TRUE(none.out.empty());

    // Without a language file the English text stands in, never "Error.".
    std::ostringstream err;
    cli::Context ctx;
    ctx.err = &err;
    ctx.languageName = "NoSuchLanguage";
    const std::string band = ctx.text(engine::Status(engine::Msg::CannotReadBandFile, {"/x/bands.vlb"},
                                                     engine::Msg::FileNotRegular));
    EXPECT_TRUE(band.starts_with("The band type file")) << band;
    EXPECT_NE(band.find("/x/bands.vlb - This is not an ordinary file"), std::string::npos) << band;
    for (const int n : {3, 10, 11, 115, 116, 117, 118, 119, 157, 158, 159, 160, 161, 162, 171, 182, 394, 395})
        EXPECT_EQ(ctx.text(engine::Status(engine::Msg{n})).find("Error."), std::string::npos) << n;
}

TEST(OutputFailures, ManualCommandEndsWithANumberedMessage)
{
    TempDir dir;
    engine::Project p;
    p.sheets.appendRow({"", "100", "100", "1", ""});
    p.parts.appendRow({"", "60", "60", "2", "", "0", "-", "-", "-", "-", "0", "0", "0", "0", "", "", "", ""});
    p.recomputeTotals();
    const std::string file = dir.file("two.vlp");
    ASSERT_TRUE(project_io::SaveProject(file, p, engine::Settings::defaults(engine::programFolder()),
                                        engine::programFolder())
                    .ok());
    const CliRun r = runCli({"manual", file});
    EXPECT_EQ(r.code, cli::kExitPartsMissing);
    // Every line of the error stream that carries a message carries its number.
    std::istringstream lines(r.err);
    std::string line;
    int numbered = 0;
    while (std::getline(lines, line)) {
        EXPECT_NE(line.find("(message "), std::string::npos) << line;
        ++numbered;
    }
    EXPECT_GE(numbered, 2);
}
