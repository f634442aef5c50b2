#pragma once

#include <string>
#include <vector>

#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace output_test {

// Millimetres, square metres, a 4 mm kerf.
inline engine::Settings exampleSettings()
{
    engine::Settings s;
    s.JedMere = 0;
    s.AreaStyle = 2;
    s.Testera = 40;
    s.LayoutSrafura = 30;
    s.DefFont = "Arial";
    return s;
}

// Two 2800 x 2070 mm sheets. Sheet 1 holds one 600 x 400 part at the
// origin; sheet 2 two of them side by side, the second turned. Every other
// area is offcut. One group per used sheet, multiplicity 1.
inline engine::Project exampleProject()
{
    engine::Project p;
    p.sheets.appendRow({"", "2800", "2070", "2", "Oak 18"});
    std::vector<std::string> part(engine::PartCol::Count);
    part[engine::PartCol::Len] = "600";
    part[engine::PartCol::Wid] = "400";
    part[engine::PartCol::Qty] = "3";
    part[engine::PartCol::Ini] = " A1 ";
    p.parts.appendRow(part);
    p.input.sheets = {{28000, 20700, 2, 1, 1}, {28000, 20700, 2, 2, 1}};
    p.result.elements = {
        {1, 0, 0, 6040, 4040, 0, 1},
        {2, 0, 0, 6040, 4040, 0, 1},
        {2, 6040, 0, 10080, 6040, 1, 1},
    };
    p.result.offcuts = {
        {1, 6040, 0, 28000, 20700},
        {1, 0, 4040, 6040, 20700},
        {2, 10080, 0, 28000, 20700},
        {2, 0, 4040, 6040, 20700},
        {2, 6040, 6040, 10080, 20700},
    };
    p.result.groups = {{1, 1}, {2, 1}};
    return p;
}

inline engine::LanguageTable exampleLanguage()
{
    engine::LanguageTable t;
    t.setText(36, "L:");
    t.setText(37, "W:");
    t.setText(38, "A");
    t.setText(70, "Sheet");
    return t;
}

} // namespace output_test
