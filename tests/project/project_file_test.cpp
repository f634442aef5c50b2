#include "project/project_file.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/units.h"
#include "tests/project/temp_dir.h"

namespace fs = std::filesystem;
using engine::Msg;
namespace PartCol = engine::PartCol;
namespace SheetCol = engine::SheetCol;
using project_io::OpenProject;
using project_io::ReadOutcome;
using project_io::ReadProjectDocument;
using project_io::SaveProject;

namespace {

const std::string kData = std::string(TEST_DATA_DIR) + "/project/";
const std::string kProgramFolder = std::string(VELMORA_DATA_DIR) + "/";

engine::Settings settingsIn(int unit)
{
    engine::Settings s = engine::Settings::defaults("/nonexistent/");
    s.JedMere = unit;
    return s;
}

std::string len(engine::Length v, int unit) { return engine::FormatLength(v, engine::lengthUnitFromInt(unit)); }

// A project typed in `unit`, with bands (one thickness left empty), details,
// statistics and a result.
engine::Project richProject(int unit)
{
    engine::Project p;
    p.sheets.appendRow({"", len(28000, unit), len(20700, unit), "3", "Chipboard 18 mm"});
    p.sheets.appendRow({"", len(24400, unit), len(12200, unit), "1", " "});
    p.parts.appendRow({"", len(6000, unit), len(4000, unit), "4", "Šč<&>", "1", "PVC 2mm", "-", "PVC 0.4mm", "",
                       len(20, unit), "0", "", len(4, unit), "2", "0", "0.4", ""});
    p.parts.appendRow({"", len(12345, unit), len(6789, unit), "10", "", "0", "-", "-", "-", "-", "0", "0", "0",
                       "0", "0", "0", "0", "0"});
    p.details.coverTitle = "Kitchen \"A\"";
    p.details.author = "Marko";
    p.details.clientName = "Ana";
    p.details.clientSurname = "Petrović";
    p.details.clientAddress = {"Street 1", "", "City  "};
    p.details.clientPhone = "555";
    p.details.clientNote = "note & more";
    p.result.stats = {"14", "14", "2", "3.456", "71.20", "40.10", "1234.5", "77"};
    p.result.elements = {{1, 0, 0, 6004, 4004, 0, 1}, {2, 10, 20, 6799, 12349, 1, 2}};
    p.result.offcuts = {{1, 6004, 0, 28000, 20700}, {2, 0, 12349, 24400, 20700}};
    p.recomputeTotals();
    return p;
}

std::vector<std::vector<std::string>> rows(const engine::TextTable& t)
{
    std::vector<std::vector<std::string>> r;
    for (int i = 1; i <= t.rowCount(); ++i)
        r.push_back(t.row(i));
    return r;
}

const std::string kDateOpen = "<date_time>";
const std::string kDateClose = "</date_time>";

// The text of the first date_time element, or nullopt without one.
std::optional<std::string> dateTimeOf(const std::string& text)
{
    const auto open = text.find(kDateOpen);
    if (open == std::string::npos)
        return std::nullopt;
    const auto from = open + kDateOpen.size();
    const auto close = text.find(kDateClose, from);
    if (close == std::string::npos || text.find('<', from) != close)
        return std::nullopt;
    return text.substr(from, close - from);
}

// Every date_time element emptied to <date_time/>, the rest unchanged.
std::string withoutDateTime(std::string text)
{
    for (auto open = text.find(kDateOpen); open != std::string::npos; open = text.find(kDateOpen, open + 1)) {
        const auto from = open + kDateOpen.size();
        const auto close = text.find(kDateClose, from);
        if (close == std::string::npos || text.find('<', from) != close)
            continue;
        text.replace(open, close + kDateClose.size() - open, "<date_time/>");
    }
    return text;
}

// True when text has the shape of pattern, where '9' stands for any digit.
bool hasShape(const std::string& text, const std::string& pattern)
{
    if (text.size() != pattern.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == '9' ? !digit : text[i] != pattern[i])
            return false;
    }
    return true;
}

} // namespace

TEST(ProjectSave, WritesTheDocumentInItsOrder)
{
    TempDir dir;
    engine::Project p;
    p.sheets.appendRow({"", "280", "207", "2", "Board"});
    p.parts.appendRow({"", "60", "40", "3", "A", "0", "PVC", "-", "-", "-", "0.2", "0", "0", "0", "2", "0", "0", "0"});
    p.details.author = "Me";
    p.details.clientAddress = {"L1", "L2", "L3"};
    p.result.stats.parts = "3";
    p.result.elements = {{1, 0, 0, 604, 404, 0, 1}};
    engine::Settings s = settingsIn(1);
    s.CENA1 = 12.3f;
    s.CENA2 = 1.0f / 3.0f;
    s.CENA3 = 1e9f;
    const std::string out = dir.file("p.vlp");
    ASSERT_TRUE(SaveProject(out, p, s, kProgramFolder).ok());
    EXPECT_EQ(withoutDateTime(readFile(out)), readFile(kData + "save_expected.vlp"));
    // The date in the DateFormat style, then the time.
    const auto stamp = dateTimeOf(readFile(out));
    ASSERT_TRUE(stamp.has_value());
    EXPECT_TRUE(hasShape(*stamp, "99/99/9999 99:99:99")) << *stamp;
}

TEST(ProjectSave, DateTimeFollowsTheDateFormat)
{
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 9;
    t.tm_wday = 3;
    t.tm_hour = 8;
    t.tm_min = 5;
    t.tm_sec = 3;
    EXPECT_EQ(project_io::formatSaveDateTime("dd/mm/yyyy", t), "09/12/2026 08:05:03");
    EXPECT_EQ(project_io::formatSaveDateTime("d.m.yy", t), "9.12.26 08:05:03");
    EXPECT_EQ(project_io::formatSaveDateTime("dddd d mmmm yyyy", t), "Wednesday 9 December 2026 08:05:03");
    EXPECT_EQ(project_io::formatSaveDateTime("yyyy-MM-dd", t), "2026-12-09 08:05:03");
}

TEST(ProjectSave, RoundTripKeepsEveryTextInEveryUnit)
{
    for (int unit = 0; unit <= 5; ++unit) {
        SCOPED_TRACE("unit " + std::to_string(unit));
        TempDir dir;
        const engine::Project original = richProject(unit);
        const engine::Settings s = settingsIn(unit);
        const std::string file = dir.file("round.vlp");
        ASSERT_TRUE(SaveProject(file, original, s, kProgramFolder).ok());

        engine::Project back;
        const project_io::OpenOutcome opened = OpenProject(file, false, back, s);
        ASSERT_TRUE(opened.status.ok());
        EXPECT_EQ(rows(back.sheets), rows(original.sheets));
        EXPECT_EQ(rows(back.parts), rows(original.parts));
        EXPECT_EQ(back.details, original.details);
        EXPECT_EQ(back.result.stats, original.result.stats);
        EXPECT_EQ(back.result.elements, original.result.elements);
        EXPECT_EQ(back.result.offcuts, original.result.offcuts);
        EXPECT_EQ(back.sheetQtyTotal, 4);
        EXPECT_EQ(back.partQtyTotal, 14);
        EXPECT_EQ(back.fileName, file);

        // Saving what was read gives the same document again.
        const std::string again = dir.file("again.vlp");
        ASSERT_TRUE(SaveProject(again, back, s, kProgramFolder).ok());
        EXPECT_EQ(withoutDateTime(readFile(again)), withoutDateTime(readFile(file)));
    }
}

TEST(ProjectSave, NoResultWritesZeroCounts)
{
    TempDir dir;
    engine::Project p;
    p.sheets.appendRow({"", "100", "50", "1", ""});
    const std::string file = dir.file("empty.vlp");
    ASSERT_TRUE(SaveProject(file, p, settingsIn(1), kProgramFolder).ok());
    const std::string text = readFile(file);
    EXPECT_NE(text.find("<elements count=\"0\" />"), std::string::npos);
    EXPECT_NE(text.find("<offcuts count=\"0\" />"), std::string::npos);
    EXPECT_NE(text.find("<tab_parts count=\"0\" />"), std::string::npos);

    engine::Settings s = settingsIn(1);
    s.LoadSema = false;
    engine::Project back;
    const project_io::OpenOutcome opened = OpenProject(file, false, back, s);
    EXPECT_TRUE(opened.status.ok());
    EXPECT_FALSE(opened.showResults);
    EXPECT_TRUE(back.result.elements.empty());
}

TEST(ProjectSave, TemplateContentSurvives)
{
    TempDir dir;
    const std::string file = dir.file("p.vlp");
    ASSERT_TRUE(SaveProject(file, richProject(1), settingsIn(1), kData + "template_extra").ok());
    const std::string text = readFile(file);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- Velmora project -->\n<velm_root>\n"
                         "  <custom keep=\"yes\">shop data</custom>\n  <!-- inside -->\n  <version>1.3</version>\n",
                         0),
              0u);
    engine::Project back;
    EXPECT_TRUE(OpenProject(file, false, back, settingsIn(1)).status.ok());
    EXPECT_EQ(rows(back.parts), rows(richProject(1).parts));
}

TEST(ProjectSaveFailure, MissingOrBadTemplateLeavesTheFile)
{
    TempDir dir;
    const std::string file = dir.file("keep.vlp");
    const std::string old = readFile(kData + "cm_project.vlp");
    writeFile(file, old);
    for (const std::string& folder : {dir.path().string(), kData + "template_wrong_root", kData + "nowhere"}) {
        const engine::Status st = SaveProject(file, richProject(1), settingsIn(1), folder);
        EXPECT_EQ(st.msg, Msg::CannotSaveProject) << folder;
        EXPECT_EQ(readFile(file), old);
    }
}

TEST(ProjectSaveFailure, UnusableTargetNames)
{
    TempDir dir;
    writeFile(dir.file("plain"), "x");
    fs::create_directory(dir.file("folder.vlp"));
    for (const std::string& name : {std::string(), std::string("   "), dir.file("no/such/folder/p.vlp"),
                                    dir.file("plain/p.vlp"), dir.file("folder.vlp")}) {
        EXPECT_EQ(SaveProject(name, richProject(1), settingsIn(1), kProgramFolder).msg, Msg::CannotSaveProject)
            << name;
    }
    EXPECT_EQ(readFile(dir.file("plain")), "x");
    EXPECT_TRUE(fs::is_empty(dir.file("folder.vlp")));
}

TEST(ProjectSaveFailure, FailedWriteLeavesTheFileByteForByte)
{
    TempDir dir;
    const std::string file = dir.file("keep.vlp");
    const std::string old = readFile(kData + "cm_project.vlp");
    writeFile(file, old);

    // A file size limit makes every write past 64 bytes fail, as a full disk
    // would; the write reports it instead of killing the process.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previous), 0);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const engine::Status st = SaveProject(file, richProject(1), settingsIn(1), kProgramFolder);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_EQ(st.msg, Msg::CannotSaveProject);
    EXPECT_EQ(readFile(file), old);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "no temporary file is left behind";
}

TEST(ProjectSaveFailure, ReadOnlyFolderLeavesTheFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root; the failed-write and folder cases cover it";
    TempDir dir;
    const std::string file = dir.file("keep.vlp");
    writeFile(file, "old");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const engine::Status st = SaveProject(file, richProject(1), settingsIn(1), kProgramFolder);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(st.msg, Msg::CannotSaveProject);
    EXPECT_EQ(readFile(file), "old");
}

TEST(ProjectOpen, CentimetreFileInMillimetres)
{
    engine::Project p;
    const project_io::OpenOutcome opened = OpenProject(kData + "cm_project.vlp", false, p, settingsIn(0));
    ASSERT_TRUE(opened.status.ok());
    ASSERT_EQ(p.sheetRowCount(), 2);
    EXPECT_EQ(p.sheets.row(1), (std::vector<std::string>{"", "2500", "1200", "2", "Board A"}));
    EXPECT_EQ(p.sheets.row(2), (std::vector<std::string>{"", "1830", "615", "1", ""}));
    ASSERT_EQ(p.partRowCount(), 2);
    EXPECT_EQ(p.parts.row(1), (std::vector<std::string>{"", "2500", "605", "3", "P1", "1", "PVC 2mm", "-",
                                                        "PVC 0.4mm", "-", "2", "0", "", "0", "2", "0", "0.4", "0"}));
    EXPECT_EQ(p.parts.cell(2, PartCol::Len), "400");
    EXPECT_EQ(p.sheetQtyTotal, 3);
    EXPECT_EQ(p.partQtyTotal, 5);
    // Result coordinates are internal lengths and never converted.
    EXPECT_EQ(p.result.elements[0].x1, 2504);
}

TEST(ProjectOpen, ReadsDetailsStatsAndResult)
{
    engine::Project p;
    p.report = {{"old report", false, 0}};
    const ReadOutcome r = ReadProjectDocument(kData + "cm_project.vlp", false, p, settingsIn(1));
    ASSERT_EQ(r.unit, 1);
    EXPECT_EQ(p.details.author, "Jelena Marković");
    EXPECT_EQ(p.details.coverTitle, "Wardrobe");
    // Lines 1 and 2 lose their trailing blanks, line 3 keeps them.
    EXPECT_EQ(p.details.clientAddress, (std::array<std::string, 3>{"Main Street 1", "Room 4", "Zagreb  "}));
    EXPECT_EQ(p.details.clientPhone, "555 123");
    EXPECT_EQ(p.details.clientNote, "deliver Monday");
    EXPECT_TRUE(p.report.empty());
    EXPECT_EQ(p.result.stats.cut_length, "12.40");
    EXPECT_EQ(p.result.elements.size(), 2u);
    EXPECT_EQ(p.result.offcuts, (std::vector<engine::Offcut>{{1, 404, 605, 2500, 1200}}));
    EXPECT_EQ(p.input.totalParts, 5);
    // One stock sheet per unit of quantity, lengths in the file's unit.
    EXPECT_EQ(p.input.sheets, (std::vector<engine::SheetInstance>{
                                  {25000, 12000, 2, 1, 1}, {25000, 12000, 2, 2, 1}, {18300, 6150, 1, 3, 2}}));
}

TEST(ProjectOpen, OneLineAddressGivesEmptyLines)
{
    engine::Project p;
    ASSERT_EQ(ReadProjectDocument(kData + "one_line_address.vlp", false, p, settingsIn(1)).unit, 1);
    EXPECT_EQ(p.details.clientAddress, (std::array<std::string, 3>{"Main Street 1", "", ""}));
}

TEST(ProjectOpen, OtherChildrenDoNotShiftItems)
{
    engine::Project p;
    ASSERT_TRUE(OpenProject(kData + "extra_children.vlp", false, p, settingsIn(1)).status.ok());
    ASSERT_EQ(p.partRowCount(), 2);
    EXPECT_EQ(p.parts.cell(1, PartCol::Ini), "P1");
    EXPECT_EQ(p.parts.cell(2, PartCol::Ini), "P2");
}

TEST(ProjectOpen, AddModeAppendsRowsAndReplacesTheRest)
{
    engine::Project p = richProject(0);
    const auto oldSheets = rows(p.sheets);
    const auto oldParts = rows(p.parts);
    const project_io::OpenOutcome opened = OpenProject(kData + "cm_project.vlp", true, p, settingsIn(0));
    ASSERT_TRUE(opened.status.ok());
    EXPECT_FALSE(opened.showResults);
    ASSERT_EQ(p.sheetRowCount(), 4);
    ASSERT_EQ(p.partRowCount(), 4);
    // Old rows stay as they were; only the new ones are converted.
    EXPECT_EQ(p.sheets.row(1), oldSheets[0]);
    EXPECT_EQ(p.sheets.row(2), oldSheets[1]);
    EXPECT_EQ(p.parts.row(2), oldParts[1]);
    EXPECT_EQ(p.sheets.cell(3, SheetCol::Len), "2500");
    EXPECT_EQ(p.parts.cell(3, PartCol::Wid), "605");
    EXPECT_EQ(p.sheetQtyTotal, 4 + 3);
    EXPECT_EQ(p.partQtyTotal, 14 + 5);
    EXPECT_EQ(p.details.author, "Jelena Marković");
    EXPECT_EQ(p.result.stats.parts, "5");
    EXPECT_EQ(p.result.elements.size(), 2u);
    EXPECT_EQ(p.result.offcuts.size(), 1u);
    EXPECT_EQ(p.input.totalParts, 5);  // the added rows only
}

TEST(ProjectOpen, XmlAlwaysReplacesTheRows)
{
    TempDir dir;
    const std::string xml = dir.file("import.xml");
    fs::copy_file(kData + "cm_project.vlp", xml);
    engine::Project p = richProject(0);
    engine::Settings s = settingsIn(0);
    s.LoadSema = false;
    const project_io::OpenOutcome opened = OpenProject(xml, true, p, s);
    ASSERT_TRUE(opened.status.ok());
    EXPECT_FALSE(opened.showResults);  // only a .vlp shows its layouts at once
    ASSERT_EQ(p.sheetRowCount(), 2);
    ASSERT_EQ(p.partRowCount(), 2);
    EXPECT_EQ(p.sheets.cell(1, SheetCol::Len), "2500");
    EXPECT_EQ(p.parts.cell(1, PartCol::Thickness), "2");
    EXPECT_EQ(p.sheetQtyTotal, 3);
    EXPECT_EQ(p.partQtyTotal, 5);
}

TEST(ProjectOpen, UpperCaseExtensionsAreRead)
{
    TempDir dir;
    for (const char* name : {"UP.VLP", "UP.XML"}) {
        fs::copy_file(kData + "cm_project.vlp", dir.file(name));
        engine::Project p;
        EXPECT_TRUE(OpenProject(dir.file(name), false, p, settingsIn(1)).status.ok()) << name;
        EXPECT_EQ(p.partRowCount(), 2) << name;
    }
}

TEST(ProjectOpen, ShowsResultsOnlyForAVlpWithLayoutsWhenAllowed)
{
    engine::Settings s = settingsIn(1);
    s.LoadSema = false;
    engine::Project p;
    EXPECT_TRUE(OpenProject(kData + "cm_project.vlp", false, p, s).showResults);
    s.LoadSema = true;
    EXPECT_FALSE(OpenProject(kData + "cm_project.vlp", false, p, s).showResults);
}

TEST(ProjectOpen, UnopenableFileChangesNothing)
{
    TempDir dir;
    engine::Project p = richProject(1);
    p.fileName = "before.vlp";
    const auto sheets = rows(p.sheets);
    for (const std::string& name : {dir.file("absent.vlp"), dir.path().string()}) {
        const project_io::OpenOutcome opened = OpenProject(name, false, p, settingsIn(1));
        EXPECT_EQ(opened.status.msg, Msg::CannotOpenProject);
        EXPECT_EQ(rows(p.sheets), sheets);
        EXPECT_EQ(p.fileName, "before.vlp");
    }
}

struct MalformedCase {
    const char* file;
    int sheetRows;      // rows kept after the failure
    int partRows;
    bool detailsRead;   // the author was read before the failure
    long long sheetQty = 3;
};

class ProjectOpenMalformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(ProjectOpenMalformed, ReportsAndKeepsWhatWasRead)
{
    const MalformedCase c = GetParam();
    engine::Project p = richProject(1);
    p.details.author = "unchanged";
    // Opened in millimetres: rows read before the failure keep their texts.
    const project_io::OpenOutcome opened = OpenProject(kData + c.file, false, p, settingsIn(0));
    EXPECT_EQ(opened.status.msg, Msg::CannotReadProject);
    EXPECT_FALSE(opened.showResults);
    EXPECT_EQ(p.fileName, kData + c.file);
    EXPECT_EQ(p.sheetRowCount(), c.sheetRows);
    EXPECT_EQ(p.partRowCount(), c.partRows);
    EXPECT_EQ(p.details.author, c.detailsRead ? "Jelena Marković" : "unchanged");
    if (c.sheetRows > 0) {
        EXPECT_EQ(p.sheets.cell(1, SheetCol::Len), "250");
    }
    if (c.partRows > 0) {
        EXPECT_EQ(p.parts.cell(1, PartCol::Wid), "60.5");
    }
    EXPECT_EQ(p.sheetQtyTotal, c.sheetRows > 0 ? c.sheetQty : 0);
}

INSTANTIATE_TEST_SUITE_P(Files, ProjectOpenMalformed,
                         testing::Values(MalformedCase{"missing_count.vlp", 2, 0, true},
                                         MalformedCase{"missing_sheet_count.xml", 0, 0, true},
                                         MalformedCase{"fewer_items.vlp", 2, 2, true},
                                         MalformedCase{"bad_qty.vlp", 2, 1, true},
                                         MalformedCase{"empty_qty.vlp", 2, 1, true},
                                         MalformedCase{"bad_element.vlp", 2, 2, true},
                                         MalformedCase{"huge_count.vlp", 0, 0, true},
                                         MalformedCase{"huge_sheet_qty.vlp", 2, 2, true, 2000000001},
                                         MalformedCase{"missing_measure.vlp", 0, 0, true},
                                         MalformedCase{"unknown_measure.vlp", 0, 0, true},
                                         MalformedCase{"wrong_root.vlp", 0, 0, false},
                                         MalformedCase{"not_xml.vlp", 0, 0, false}));

TEST(ProjectOpenMalformedDetail, HugeCountIsRefusedAtOnce)
{
    engine::Project p;
    const auto start = std::chrono::steady_clock::now();
    const ReadOutcome r = ReadProjectDocument(kData + "huge_count.vlp", false, p, settingsIn(1));
    EXPECT_EQ(r.unit, -1);
    EXPECT_EQ(r.status.msg, Msg::CannotReadProject);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(p.input.sheets.empty());
}

TEST(ProjectOpenMalformedDetail, FailedElementKeepsTheOnesBefore)
{
    engine::Project p;
    p.result.offcuts = {{9, 9, 9, 9, 9}};
    EXPECT_EQ(ReadProjectDocument(kData + "bad_element.vlp", false, p, settingsIn(1)).unit, -1);
    EXPECT_EQ(p.result.elements.size(), 1u);
    // The read stopped before the offcuts, so they are the old ones.
    EXPECT_EQ(p.result.offcuts, (std::vector<engine::Offcut>{{9, 9, 9, 9, 9}}));
}

TEST(ProjectOpenMalformedDetail, HalfReadResultIsNotShown)
{
    engine::Settings s = settingsIn(1);
    s.LoadSema = false;
    engine::Project p;
    const project_io::OpenOutcome opened = OpenProject(kData + "bad_element.vlp", false, p, s);
    EXPECT_EQ(opened.status.msg, Msg::CannotReadProject);
    EXPECT_EQ(p.result.elements.size(), 1u);
    EXPECT_FALSE(opened.showResults);
}
