// The program folder and the per-user copies of the files the programs
// write into it, as the band file, the DXF settings and the Projects folder
// use them.
#include "engine/paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/band_types.h"
#include "engine/settings.h"
#include "engine/unit_change.h"
#include "output/dxf_settings.h"
#include "project/project_commands.h"
#include "tests/project/temp_dir.h"

using namespace engine;
namespace fs = std::filesystem;

namespace {

void writeText(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// An environment variable set for one test and put back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// A temporary folder with a program folder inside ("prog/") and a user's
// data folder (XDG_DATA_HOME = "user/"); the program folder is made
// read-only (mode 555, which counts for the superuser too) on request.
class ProgramFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path()
                 / ("velmora_paths_" + std::to_string(::getpid()) + "_"
                    + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "prog" / "Config");
        writeText(prog() + "Config/bands.vlb", kShippedBands);
        writeText(prog() + "Config/velmdxf.xml", "<velm_dxf/>");
        m_xdg.emplace("XDG_DATA_HOME", (m_root / "user").string());
    }
    void TearDown() override
    {
        std::error_code ec;
        for (const char* f : {"prog/Config", "prog"})
            fs::permissions(m_root / f, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_root, ec);
    }
    void makeReadOnly()
    {
        for (const char* f : {"prog/Config", "prog"})
            fs::permissions(m_root / f,
                            fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
                                | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    }
    [[nodiscard]] std::string prog() const { return (m_root / "prog").string() + "/"; }
    [[nodiscard]] std::string user() const { return (m_root / "user").string() + "/velmora/"; }
    [[nodiscard]] std::string root() const { return m_root.string() + "/"; }

    static constexpr const char* kShippedBands = "-\r\n0\r\n-\r\n0\r\n0\r\nPVC\r\n2\r\nA\r\n30\r\n1.5\r\n";

private:
    fs::path m_root;
    std::optional<ScopedEnv> m_xdg;
};

} // namespace

TEST_F(ProgramFolders, ProgramFolderIsFoundInItsOrder)
{
    // The installed tree: <prefix>/bin beside <prefix>/share/velmora.
    fs::create_directories(root() + "usr/bin");
    fs::create_directories(root() + "usr/share/velmora/Lang");
    const std::string bin = root() + "usr/bin";
    // 1. VELMORA_HOME, with its separator added.
    EXPECT_EQ(chooseProgramFolder("/opt/velmora", bin), "/opt/velmora/");
    EXPECT_EQ(chooseProgramFolder("/opt/velmora/", bin), "/opt/velmora/");
    // 3. Without it (unset or empty), the installed tree when the program's
    //    own folder holds no data ...
    const std::string installed = fs::weakly_canonical(root() + "usr/share/velmora").string() + "/";
    EXPECT_EQ(chooseProgramFolder(nullptr, bin), installed);
    EXPECT_EQ(chooseProgramFolder("", bin + "/"), installed);
    // 2. ... and the program's folder first when it does (the build tree).
    fs::create_directories(bin + "/Config");
    EXPECT_EQ(chooseProgramFolder(nullptr, bin), bin + "/");
    // 4. Neither: the program's folder, where messages say the data was looked for.
    EXPECT_EQ(chooseProgramFolder(nullptr, root() + "elsewhere"), root() + "elsewhere/");
    // The running test finds its own folder and, through VELMORA_HOME, the build data.
    EXPECT_FALSE(executableFolder().empty());
    EXPECT_EQ(executableFolder().back(), '/');
}

TEST_F(ProgramFolders, UserDataFolderFollowsTheXdgRules)
{
    EXPECT_EQ(userDataFolder(), user());
    {
        // A relative XDG_DATA_HOME is to be ignored.
        ScopedEnv xdg("XDG_DATA_HOME", std::string("relative/data"));
        ScopedEnv home("HOME", std::string("/home/someone"));
        EXPECT_EQ(userDataFolder(), "/home/someone/.local/share/velmora/");
    }
    {
        ScopedEnv xdg("XDG_DATA_HOME", std::nullopt);
        ScopedEnv home("HOME", std::string("/home/someone/"));
        EXPECT_EQ(userDataFolder(), "/home/someone/.local/share/velmora/");
    }
}

TEST_F(ProgramFolders, AWritableProgramFolderKeepsItsOwnFiles)
{
    EXPECT_FALSE(usesUserCopy(prog(), "Config/bands.vlb"));
    EXPECT_EQ(programDataPath(prog(), "Config/bands.vlb"), prog() + "Config/bands.vlb");
    EXPECT_EQ(programDataPath(prog(), "Config/bands.vlb", DataUse::Write), prog() + "Config/bands.vlb");
    EXPECT_EQ(programDataPath(prog(), "Projects/", DataUse::Write), prog() + "Projects/");
    EXPECT_EQ(Settings::defaults(prog()).ProjectPath, prog() + "Projects/");
    EXPECT_EQ(project_io::dialogFolder("", prog()), prog() + "Projects");
    // Nothing was made for the user.
    EXPECT_FALSE(fs::exists(user()));
    // A program folder that does not exist is written (and fails) where it was named.
    EXPECT_EQ(programDataPath("/no/such/velmora/", "Config/bands.vlb", DataUse::Write),
              "/no/such/velmora/Config/bands.vlb");
    EXPECT_FALSE(fs::exists(user()));
}

TEST_F(ProgramFolders, AReadOnlyProgramFolderGivesEachUserACopyOnTheFirstChange)
{
    makeReadOnly();
    const std::string shipped = prog() + "Config/bands.vlb";
    const std::string copy = user() + "Config/bands.vlb";
    ASSERT_TRUE(usesUserCopy(prog(), "Config/bands.vlb"));

    // Until the first change the shipped file is read, and no copy is made.
    EXPECT_EQ(bandTypesPath(prog()), shipped);
    EXPECT_FALSE(fs::exists(copy));

    // Writing: the copy is made from the shipped file, then replaced.
    const std::string target = bandTypesPath(prog(), DataUse::Write);
    EXPECT_EQ(target, copy);
    EXPECT_EQ(readFile(copy), kShippedBands);
    BandTypeTable table = *LoadBandTypes(shipped);
    table.append({"ABS", "1", "B", "20", "2.25"});
    ASSERT_TRUE(saveBandTypes(target, table).ok());

    // From then on the copy is read; the shipped file is as it was.
    EXPECT_EQ(bandTypesPath(prog()), copy);
    const Result<BandTypeTable> again = LoadBandTypes(bandTypesPath(prog()));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->names(), (std::vector<std::string>{"-", "PVC", "ABS"}));
    EXPECT_EQ(readFile(shipped), kShippedBands);

    // A second write keeps the user's copy (it is not made anew from the shipped file).
    EXPECT_EQ(bandTypesPath(prog(), DataUse::Write), copy);
    EXPECT_EQ(LoadBandTypes(copy)->count(), 3);

    // The other files of the rule: the DXF settings and the Projects folder.
    EXPECT_EQ(output::dxfSettingsPath(prog()), prog() + "Config//velmdxf.xml");
    const std::string dxfCopy = output::dxfSettingsPath(prog(), DataUse::Write);
    EXPECT_EQ(dxfCopy, user() + "Config//velmdxf.xml");
    EXPECT_EQ(readFile(dxfCopy), "<velm_dxf/>");
    EXPECT_EQ(output::dxfSettingsPath(prog()), dxfCopy);
    EXPECT_EQ(Settings::defaults(prog()).ProjectPath, user() + "Projects/");
    EXPECT_EQ(project_io::dialogFolder("", prog()), user() + "Projects");
    EXPECT_EQ(programDataPath(prog(), "Projects/", DataUse::Write), user() + "Projects/");
    EXPECT_TRUE(fs::is_directory(user() + "Projects"));
    // A file the program folder does not ship is simply the user's.
    EXPECT_EQ(programDataPath(prog(), "Config//velmlabels.xml", DataUse::Write), user() + "Config//velmlabels.xml");
    EXPECT_FALSE(fs::exists(user() + "Config/velmlabels.xml"));
}

TEST_F(ProgramFolders, OneUsersUnitChangeNeverReachesAnotherUsersBandFile)
{
    makeReadOnly();
    const std::string shipped = prog() + "Config/bands.vlb";
    // User A changes from centimetres to millimetres: the band file is converted...
    Project project;
    Settings settings;
    settings.JedMere = toInt(LengthUnit::Centimetre);
    BandTypeTable bands = *LoadBandTypes(bandTypesPath(prog()));
    const UnitChange change =
        changeLengthUnit(project, settings, bands, LengthUnit::Millimetre, bandTypesPath(prog(), DataUse::Write));
    ASSERT_TRUE(change.changed);
    ASSERT_TRUE(change.bandFile.ok());
    // ... in A's copy only.
    EXPECT_EQ(LoadBandTypes(bandTypesPath(prog()))->record(1).thickness, "20");
    EXPECT_EQ(readFile(shipped), kShippedBands);
    // User B, with a data folder of their own, still reads centimetres.
    ScopedEnv other("XDG_DATA_HOME", root() + "other");
    EXPECT_EQ(bandTypesPath(prog()), shipped);
    EXPECT_EQ(LoadBandTypes(bandTypesPath(prog()))->record(1).thickness, "2");
}

TEST_F(ProgramFolders, AUserFolderThatCannotBeMadeIsNamedByTheFailedWrite)
{
    makeReadOnly();
    // The data folder lies below a file: nothing can be made there.
    writeText(root() + "blocker", "x");
    ScopedEnv xdg("XDG_DATA_HOME", root() + "blocker");
    const std::string target = bandTypesPath(prog(), DataUse::Write);
    EXPECT_EQ(target, root() + "blocker/velmora/Config/bands.vlb");
    const Status saved = saveBandTypes(target, *LoadBandTypes(prog() + "Config/bands.vlb"));
    EXPECT_EQ(saved.msg, Msg::CannotWriteBandFile);
    ASSERT_FALSE(saved.args.empty());
    EXPECT_EQ(saved.args[0], target);
    EXPECT_EQ(readFile(prog() + "Config/bands.vlb"), kShippedBands);
}
