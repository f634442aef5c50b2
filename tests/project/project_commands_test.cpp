#include "project/project_commands.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

using project_io::RecentList;

namespace {

// Six pixels a byte: 250 pixels hold 41 characters.
int sixPixels(const std::string& s) { return static_cast<int>(s.size()) * 6; }

} // namespace

TEST(RecentFiles, NewNameGoesOnTopAndTheOldestDrops)
{
    RecentList list{"a", "b", "c", "d", "e"};
    project_io::PushRecentFile(list, "f");
    EXPECT_EQ(list, (RecentList{"f", "a", "b", "c", "d"}));
}

TEST(RecentFiles, KnownNameMovesUpWithoutDroppingAnother)
{
    RecentList list{"a", "b", "c", "d", "e"};
    project_io::PushRecentFile(list, "d");
    EXPECT_EQ(list, (RecentList{"d", "a", "b", "c", "e"}));
    project_io::PushRecentFile(list, "d");
    EXPECT_EQ(list, (RecentList{"d", "a", "b", "c", "e"}));
}

TEST(RecentFiles, FillsEmptySlotsFromTheTop)
{
    RecentList list{};
    project_io::PushRecentFile(list, "/p/one.vlp");
    project_io::PushRecentFile(list, "/p/two.vlp");
    EXPECT_EQ(list, (RecentList{"/p/two.vlp", "/p/one.vlp", "", "", ""}));
    // The comparison is exact: another case is another name.
    project_io::PushRecentFile(list, "/p/ONE.vlp");
    EXPECT_EQ(list, (RecentList{"/p/ONE.vlp", "/p/two.vlp", "/p/one.vlp", "", ""}));
}

TEST(RecentFiles, TheLastEqualEntryIsTheOneTakenOut)
{
    RecentList list{"a", "x", "b", "x", "c"};
    project_io::PushRecentFile(list, "x");
    EXPECT_EQ(list, (RecentList{"x", "a", "x", "b", "c"}));
}

TEST(RecentFiles, EmptyNameChangesNothing)
{
    RecentList list{"a", "b", "", "", ""};
    project_io::PushRecentFile(list, "");
    EXPECT_EQ(list, (RecentList{"a", "b", "", "", ""}));
}

TEST(ShortenRecentName, ShortNamesOnlyLoseTheirExtension)
{
    EXPECT_EQ(project_io::ShortenRecentName("C:\\Projects\\kitchen.vlp", sixPixels), "C:\\Projects\\kitchen");
    // 44 characters stay whatever their width.
    const std::string name44 = "/" + std::string(43, 'a');
    EXPECT_EQ(project_io::ShortenRecentName(name44 + ".vlp", [](const std::string&) { return 9999; }), name44);
}

TEST(ShortenRecentName, LeadingFoldersGiveWayOneAtATime)
{
    // 49 characters without the extension: "C:\Users\marko\Documents\Velmora\Projekti\kuhinja"
    const std::string name = "C:\\Users\\marko\\Documents\\Velmora\\Projekti\\kuhinja.vlp";
    EXPECT_EQ(project_io::ShortenRecentName(name, sixPixels), "C:\\...\\Documents\\Velmora\\Projekti\\kuhinja");
    EXPECT_EQ(project_io::ShortenRecentName(name, sixPixels, 6 * 31), "C:\\...\\Velmora\\Projekti\\kuhinja");
    EXPECT_EQ(project_io::ShortenRecentName(name, sixPixels, 6 * 23), "C:\\...\\Projekti\\kuhinja");
    EXPECT_EQ(project_io::ShortenRecentName(name, sixPixels, 6 * 15), "C:\\...\\kuhinja");
    EXPECT_EQ(project_io::ShortenRecentName(name, sixPixels, 6 * 12), "...\\kuhinja");
    EXPECT_EQ(project_io::ShortenRecentName(name, sixPixels, 6 * 3), "kuhinja");
}

TEST(ShortenRecentName, SlashPathsWithoutDrive)
{
    const std::string name = "/home/marko/Documents/Velmora/Projekti/2024/kuhinja.vlp";
    EXPECT_EQ(project_io::ShortenRecentName(name, sixPixels, 6 * 30), "/.../Projekti/2024/kuhinja");
    EXPECT_EQ(project_io::ShortenRecentName(name, sixPixels, 6 * 12), "/.../kuhinja");
    EXPECT_EQ(project_io::ShortenRecentName(name, sixPixels, 6 * 11), ".../kuhinja");
    EXPECT_EQ(project_io::ShortenRecentName(name, sixPixels, 1), "kuhinja");
}

TEST(ShortenRecentName, CountsCharactersNotBytes)
{
    // 44 characters, 52 bytes: "č" and "ž" take two bytes each.
    const std::string name = "/" + std::string(35, 'a') + "/\xC4\x8D\xC5\xBE\xC4\x8D\xC5\xBE\xC4\x8D\xC5\xBE\xC4\x8D";
    EXPECT_EQ(project_io::ShortenRecentName(name + ".vlp", [](const std::string&) { return 9999; }), name);
    EXPECT_EQ(project_io::ShortenRecentName(name + "\xC4\x8D.vlp", [](const std::string&) { return 9999; }),
              "\xC4\x8D\xC5\xBE\xC4\x8D\xC5\xBE\xC4\x8D\xC5\xBE\xC4\x8D\xC4\x8D");
}

TEST(SaveNames, LastThreeCharactersBecomeTheExtension)
{
    EXPECT_EQ(project_io::savedFileName("/p/a.vlp", "vlp"), "/p/a.vlp");
    EXPECT_EQ(project_io::savedFileName("/p/a.txt", "vlp"), "/p/a.vlp");
    EXPECT_EQ(project_io::savedFileName("/p/a.xml", "vlp"), "/p/a.vlp");
    EXPECT_EQ(project_io::savedFileName("/p/a.vlp", "xml"), "/p/a.xml");
    EXPECT_EQ(project_io::savedFileName("/p/a.VLP", "vlp"), "/p/a.vlp");
}

TEST(SaveNames, UntitledMeansNoFilePart)
{
    EXPECT_TRUE(project_io::needsFileName(""));
    EXPECT_TRUE(project_io::needsFileName("/opt/velmora/Projects/"));
    EXPECT_TRUE(project_io::needsFileName("C:\\Velmora\\Projects\\"));
    EXPECT_FALSE(project_io::needsFileName("/opt/velmora/Projects"));
    EXPECT_FALSE(project_io::needsFileName("/p/a.vlp"));
    // A stored folder without its last separator is no file name either.
    TempDir dir;
    EXPECT_TRUE(project_io::needsFileName(dir.path().string()));
}

TEST(SaveNames, DialogsStartInTheProjectsFolder)
{
    EXPECT_EQ(project_io::dialogFolder("", "/opt/velmora/"), "/opt/velmora/Projects");
    EXPECT_EQ(project_io::dialogFolder("/home/m/jobs/a.vlp", "/opt/velmora/"), "/home/m/jobs/");
    EXPECT_EQ(project_io::dialogFolder("/opt/velmora/Projects/", "/opt/velmora/"), "/opt/velmora/Projects/");
    EXPECT_EQ(project_io::dialogFolder("C:\\jobs\\a.vlp", "/opt/velmora/"), "C:\\jobs\\");
}

TEST(WindowTitle, UntitledOpenedAndSaved)
{
    EXPECT_EQ(project_io::untitledTitle("Untitled"), "Velmora Pro - Untitled");
    EXPECT_EQ(project_io::openedTitle("/home/m/jobs/kitchen.vlp"), "Velmora Pro - kitchen");
    EXPECT_EQ(project_io::openedTitle("C:\\jobs\\kitchen.qln"), "Velmora Pro - kitchen");
    EXPECT_EQ(project_io::savedTitle("/home/m/jobs/kitchen.txt"), "Velmora Pro - kitchen.txt");
}

TEST(ProjectFileExists, FilesOnlyNotFolders)
{
    TempDir dir;
    writeFile(dir.file("a.vlp"), "x");
    EXPECT_TRUE(project_io::projectFileExists(dir.file("a.vlp")));
    EXPECT_FALSE(project_io::projectFileExists(dir.file("b.vlp")));
    EXPECT_FALSE(project_io::projectFileExists(dir.path().string()));
    EXPECT_FALSE(project_io::projectFileExists(""));
}
