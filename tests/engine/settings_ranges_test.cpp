// Settings are checked against their kind and range wherever they enter: a
// value by name, a settings file, the desktop store, the settings dialog.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/settings.h"
#include "engine/settings_edit.h"

using namespace engine;

namespace {

std::string settingsFile(const std::string& name, const std::string& bytes)
{
    const std::string path = ::testing::TempDir() + "velmora_ranges_" + std::to_string(::getpid()) + "_" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

} // namespace

TEST(SettingsRanges, LengthUnitOutsideTheSixIsRefused)
{
    // A unit of 6 once emptied every length and was saved into the project.
    Settings s;
    for (const char* v : {"6", "99", "-1"}) {
        const Status st = setSetting(s, "JedMere", v);
        EXPECT_EQ(st.msg, Msg::SettingOutOfRange) << v;
        EXPECT_EQ(st.args, (std::vector<std::string>{std::string("JedMere=") + v}));
        EXPECT_EQ(s.JedMere, 1);
    }
    EXPECT_EQ(setSetting(s, "AreaStyle", "6").msg, Msg::SettingOutOfRange);
    EXPECT_EQ(setSetting(s, "autoparam", "3").msg, Msg::SettingOutOfRange);
    EXPECT_TRUE(setSetting(s, "JedMere", "5").ok());
    EXPECT_EQ(s.JedMere, 5);
}

TEST(SettingsRanges, KerfMustFitItsSixteenBits)
{
    // 65536 once became a kerf of 0, and -1 one of 65535.
    Settings s;
    EXPECT_EQ(setSetting(s, "Testera", "65536").msg, Msg::SettingOutOfRange);
    EXPECT_EQ(setSetting(s, "Testera", "-1").msg, Msg::SettingOutOfRange);
    EXPECT_EQ(s.Testera, 4);
    EXPECT_TRUE(setSetting(s, "Testera", "0").ok());
    EXPECT_EQ(s.Testera, 0);
}

TEST(SettingsRanges, PriceThatOverflowsIsRefused)
{
    // 1e39 once became a single-precision infinity, saved as "INF".
    Settings s;
    for (const char* v : {"1e39", "-3", "3.5e38"}) {
        EXPECT_EQ(setSetting(s, "CENA1", v).msg, Msg::SettingOutOfRange) << v;
        EXPECT_EQ(s.CENA1, 0.0f);
    }
    EXPECT_TRUE(setSetting(s, "CENA1", "3.4e38").ok());
    float price = 2;
    EXPECT_FALSE(readPrice("1e39", price));
    EXPECT_EQ(price, 2.0f);
    EXPECT_TRUE(readPrice("7.99", price));
    EXPECT_FLOAT_EQ(price, 7.99f);
}

TEST(SettingsRanges, DesktopStoreValuesOutOfRangeGoBackToDefaults)
{
    Settings s;
    s.CENA2 = std::numeric_limits<float>::infinity();
    s.JedMere = 6;
    const std::vector<std::string> reset = resetOutOfRange(s, Settings{});
    EXPECT_EQ(reset, (std::vector<std::string>{"JedMere", "CENA2"}));
    EXPECT_EQ(s.JedMere, 1);
    EXPECT_EQ(s.CENA2, 0.0f);
}

TEST(SettingsRanges, SettingsFileReportsEveryValueOutOfRange)
{
    const std::string path = settingsFile("range.ini", "[1.3]\nJedMere=6\nTestera=65536\nCENA1=1e39\nVisak=100\n");
    Settings s;
    const SettingsFileResult r = readSettingsFile(s, path);
    EXPECT_TRUE(r.problem.ok());
    EXPECT_EQ(r.brokenValues, (std::vector<std::string>{"JedMere=6", "Testera=65536", "CENA1=1e39"}));
    EXPECT_EQ(s.JedMere, 1);
    EXPECT_EQ(s.Testera, 4);
    EXPECT_EQ(s.Visak, 100);
    std::remove(path.c_str());
}

TEST(SettingsRanges, SettingsFileWithByteOrderMarkKeepsItsFirstKey)
{
    const std::string path = settingsFile("bom.ini", "\xEF\xBB\xBFJedMere=0\r\nAreaStyle=2\r\n");
    Settings s;
    const SettingsFileResult r = readSettingsFile(s, path);
    EXPECT_TRUE(r.problem.ok());
    EXPECT_EQ(s.JedMere, 0);
    EXPECT_EQ(s.AreaStyle, 2);
    std::remove(path.c_str());
}

TEST(SettingsRanges, SettingsFileThatIsNoTextIsRefused)
{
    const std::string utf16("\xFF\xFEJ\0e\0d\0M\0e\0r\0e\0=\0\x30\0", 20);
    const std::string binary("\x7F" "ELF\x02\x01\x01\0\0\0", 10);
    for (const auto& [name, bytes] : {std::pair{"utf16.ini", utf16}, std::pair{"binary.ini", binary},
                                      std::pair{"prose.ini", std::string("JedMere=0\nthis is no setting\n")}}) {
        const std::string path = settingsFile(name, bytes);
        Settings s;
        const SettingsFileResult r = readSettingsFile(s, path);
        EXPECT_EQ(r.problem.msg, Msg::SettingsFileUnreadable) << name;
        EXPECT_EQ(r.problem.args.front(), path);
        EXPECT_EQ(s.JedMere, 1) << name << ": nothing is taken from a refused file";
        std::remove(path.c_str());
    }
}

TEST(SettingsRanges, SettingsFileThatIsNoOrdinaryFileIsRefused)
{
    Settings s;
    for (const std::string& path : {std::string("/dev/zero"), ::testing::TempDir()}) {
        const SettingsFileResult r = readSettingsFile(s, path);
        EXPECT_FALSE(r.opened) << path;
        EXPECT_EQ(r.problem.msg, Msg::FileNotRegular) << path;
    }
    const SettingsFileResult missing = readSettingsFile(s, "/nonexistent/velmora.ini");
    EXPECT_EQ(missing.problem.msg, Msg::FileMissing);
}
