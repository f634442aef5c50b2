#pragma once

#include <string>
#include <vector>

#include "engine/band_types.h"
#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace testfix {

// The texts of the lines, without their styles.
inline std::vector<std::string> texts(const engine::RichText& t)
{
    std::vector<std::string> out;
    for (const engine::RichLine& l : t)
        out.push_back(l.text);
    return out;
}

// A language table whose entry n reads "<n>", so that lines can be checked
// without the shipped texts.
inline engine::LanguageTable numberedLanguage()
{
    engine::LanguageTable lang;
    for (int n = 0; n < engine::LanguageTable::kEntries; ++n)
        lang.setText(n, "<" + std::to_string(n) + ">");
    return lang;
}

inline engine::Settings millimetreSettings()
{
    engine::Settings s;
    s.JedMere = 0;
    s.AreaStyle = 0;
    return s;
}

// Builds a project the way a run leaves it: tables, expanded sheets, result.
class ProjectBuilder {
public:
    // A sheet row; quantity sheets are expanded with consecutive numbers.
    ProjectBuilder& sheet(const std::string& len, const std::string& wid, int qty, engine::Length lenInternal,
                          engine::Length widInternal, const std::string& descr = "")
    {
        const int row = project.sheets.appendRow({"", len, wid, std::to_string(qty), descr});
        for (int i = 0; i < qty; ++i) {
            const auto tnb = static_cast<std::int32_t>(project.input.sheets.size()) + 1;
            project.input.sheets.push_back({lenInternal, widInternal, qty, tnb, row});
        }
        return *this;
    }
    // A part row; bands lists the band names of the four edges (bl1, bl2, bw1, bw2).
    ProjectBuilder& part(const std::string& len, const std::string& wid, int qty, const std::string& ini = "",
                         std::vector<std::string> bands = {}, std::vector<std::string> thickness = {})
    {
        std::vector<std::string> cells(engine::PartCol::Count);
        cells[engine::PartCol::Len] = len;
        cells[engine::PartCol::Wid] = wid;
        cells[engine::PartCol::Qty] = std::to_string(qty);
        cells[engine::PartCol::Ini] = ini;
        cells[engine::PartCol::Rot] = "0";
        for (size_t e = 0; e < 4; ++e) {
            cells[engine::PartCol::Band + e] = e < bands.size() ? bands[e] : "-";
            cells[engine::PartCol::Thickness + e] = e < thickness.size() ? thickness[e] : "0";
        }
        project.parts.appendRow(cells);
        project.input.totalParts += qty;
        return *this;
    }
    ProjectBuilder& element(int tnb, int x, int y, int x1, int y1, int row)
    {
        project.result.elements.push_back({tnb, x, y, x1, y1, 0, row});
        return *this;
    }
    ProjectBuilder& offcut(int tnb, int x, int y, int x1, int y1)
    {
        project.result.offcuts.push_back({tnb, x, y, x1, y1});
        return *this;
    }

    engine::Project project;
};

// Record 0 plus one band "PVC" (thickness and extra length in the given texts).
inline engine::BandTypeTable bands(const std::string& extra = "20", const std::string& price = "1")
{
    engine::BandTypeTable t;
    t.append({"-", "0", "-", "0", "0"});
    t.append({"PVC", "2", "P2", extra, price});
    return t;
}

} // namespace testfix
