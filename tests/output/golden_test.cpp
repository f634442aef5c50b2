// Golden reports: every folder under tests/data/output/ is one case with
//   settings.ini          name=value settings (Jezik picks the language file)
//   input.vlp             a project with its result, opened as Open does, or
//   input.txt             the project: "open PATH" (relative to the source
//                         tree) or sheet / part / element / offcut lines
//   expected.report.txt   the report as plain text
//   expected.bill.txt     the bill as plain text
// Set VELMORA_UPDATE_GOLDEN=1 to rewrite the expected files.

#include "output/report_text.h"
#include "output/show_results.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "engine/band_types.h"
#include "engine/language_table.h"
#include "engine/settings.h"
#include "project/project_file.h"

namespace fs = std::filesystem;
using namespace engine;

namespace {

const fs::path kCases = fs::path(TEST_DATA_DIR) / "output";

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> splitBar(const std::string& line)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        const size_t bar = line.find('|', start);
        out.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            return out;
        start = bar + 1;
    }
}

int toInt(const std::string& s)
{
    std::int32_t v = 0;
    return parseInteger(s, v) ? v : 0;
}

// Reads input.txt into `p`. Returns an error text, empty on success.
std::string loadInput(const fs::path& file, Project& p, const Settings& settings)
{
    const LengthUnit unit = lengthUnitFromInt(settings.JedMere);
    std::istringstream in(readAll(file));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line.rfind("open ", 0) == 0) {
            const std::string path = std::string(VELMORA_SOURCE_DIR) + "/" + line.substr(5);
            const project_io::OpenOutcome o = project_io::OpenProject(path, false, p, settings);
            if (!o.status.ok())
                return "cannot open " + path + " (message " + std::to_string(number(o.status.msg)) + ")";
            continue;
        }
        const std::vector<std::string> f = splitBar(line);
        if (f[0] == "sheet" && f.size() == 5) {
            const int row = p.sheets.appendRow({"", f[1], f[2], f[3], f[4]});
            const int qty = toInt(f[3]);
            for (int i = 0; i < qty; ++i) {
                const auto tnb = static_cast<std::int32_t>(p.input.sheets.size()) + 1;
                p.input.sheets.push_back({ParseLength(unit, f[1]), ParseLength(unit, f[2]), qty, tnb, row});
            }
        } else if (f[0] == "part" && f.size() == 18) {
            p.parts.appendRow(std::vector<std::string>(f.begin(), f.end()));
            p.parts.setCell(p.parts.rowCount(), 0, "");
            p.input.totalParts += toInt(f[3]);
        } else if (f[0] == "element" && f.size() == 8) {
            p.result.elements.push_back({toInt(f[1]), toInt(f[2]), toInt(f[3]), toInt(f[4]), toInt(f[5]),
                                         toInt(f[6]), toInt(f[7])});
        } else if (f[0] == "offcut" && f.size() == 6) {
            p.result.offcuts.push_back({toInt(f[1]), toInt(f[2]), toInt(f[3]), toInt(f[4]), toInt(f[5])});
        } else {
            return "bad line: " + line;
        }
    }
    p.recomputeTotals();
    return {};
}

std::vector<std::string> caseNames()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(kCases, ec))
        if (e.is_directory() && (fs::exists(e.path() / "input.txt") || fs::exists(e.path() / "input.vlp")))
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class GoldenReport : public testing::TestWithParam<std::string> {};

void compareOrUpdate(const fs::path& expected, const std::string& actual)
{
    if (const char* u = std::getenv("VELMORA_UPDATE_GOLDEN"); u && std::string(u) == "1") {
        std::ofstream(expected, std::ios::binary | std::ios::trunc) << actual;
        return;
    }
    ASSERT_TRUE(fs::exists(expected)) << expected;
    EXPECT_EQ(readAll(expected), actual) << "differs from " << expected;
}

} // namespace

TEST_P(GoldenReport, MatchesByteForByte)
{
    const fs::path dir = kCases / GetParam();
    const std::string dataDir = std::string(VELMORA_DATA_DIR) + "/";
    Settings settings = Settings::defaults(dataDir);
    ASSERT_TRUE(readSettingsFile(settings, (dir / "settings.ini").string()).opened);

    LanguageTable lang;
    ASSERT_EQ(lang.load(LanguageTable::pathFor(dataDir, settings.Jezik)), LanguageTable::LoadResult::Ok)
        << settings.Jezik;
    const Result<BandTypeTable> bands = LoadBandTypes(bandTypesPath(dataDir));
    ASSERT_TRUE(bands.ok());

    Project project;
    if (fs::exists(dir / "input.vlp")) {
        const project_io::OpenOutcome o = project_io::OpenProject((dir / "input.vlp").string(), false, project, settings);
        ASSERT_TRUE(o.status.ok()) << number(o.status.msg);
    } else {
        ASSERT_EQ(loadInput(dir / "input.txt", project, settings), "");
    }

    const output::ShowResultsOutcome out = output::showResultsCore(project, settings, *bands, lang);
    EXPECT_TRUE(out.allPlaced);
    compareOrUpdate(dir / "expected.report.txt", output::toPlainText(project.report));
    compareOrUpdate(dir / "expected.bill.txt", output::toPlainText(project.bill));
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenReport, testing::ValuesIn(caseNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = 'X';
                             return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenReport);
