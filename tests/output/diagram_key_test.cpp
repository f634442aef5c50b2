#include "output/diagram_key.h"

#include <gtest/gtest.h>

#include "example_project.h"

namespace {

struct Keys {
    engine::Project project = output_test::exampleProject();
    engine::Settings settings = output_test::exampleSettings();
    engine::LanguageTable language = output_test::exampleLanguage();
    [[nodiscard]] std::string key() const { return output::diagramKey(project, settings, language); }
};

} // namespace

TEST(DiagramKey, SameInputSameKey)
{
    const Keys a;
    const Keys b;
    EXPECT_EQ(a.key(), b.key());
    // Groups are made from the result; regrouping alone is no new drawing.
    Keys c;
    c.project.result.groups.clear();
    EXPECT_EQ(c.key(), a.key());
}

TEST(DiagramKey, EveryDrawnThingChangesTheKey)
{
    const std::string base = Keys().key();
    const auto differs = [&base](const char* what, auto change) {
        Keys k;
        change(k);
        EXPECT_NE(k.key(), base) << what;
    };
    differs("element moved", [](Keys& k) { k.project.result.elements[1].x += 10; });
    differs("element turned", [](Keys& k) { k.project.result.elements[0].rot = 1; });
    differs("element on another sheet", [](Keys& k) { k.project.result.elements[0].tnb = 2; });
    differs("offcut dropped", [](Keys& k) { k.project.result.offcuts.pop_back(); });
    differs("offcut resized", [](Keys& k) { k.project.result.offcuts[0].y1 -= 1; });
    differs("sheet size", [](Keys& k) { k.project.input.sheets[1].wid = 20000; });
    differs("sheet row added", [](Keys& k) { k.project.sheets.appendRow({"", "1", "1", "1", ""}); });
    differs("font", [](Keys& k) { k.settings.DefFont = "Courier"; });
    differs("hatching", [](Keys& k) { k.settings.LayoutSrafura = 31; });
    differs("unit", [](Keys& k) { k.settings.JedMere = 1; });
    differs("area style", [](Keys& k) { k.settings.AreaStyle = 0; });
    differs("kerf", [](Keys& k) { k.settings.Testera = 30; });
    differs("duplicates", [](Keys& k) { k.settings.PrintDuplicate = !k.settings.PrintDuplicate; });
    differs("length text", [](Keys& k) { k.language.setText(36, "D:"); });
    differs("sheet text", [](Keys& k) { k.language.setText(70, "Tabla"); });
}

TEST(TablesKey, FollowsEveryCellOfBothTables)
{
    const engine::Project base = output_test::exampleProject();
    const std::size_t key = output::tablesKey(base);
    EXPECT_EQ(output::tablesKey(output_test::exampleProject()), key);
    engine::Project p = base;
    p.parts.setCell(1, engine::PartCol::Ini, "B2");
    EXPECT_NE(output::tablesKey(p), key);
    p = base;
    p.sheets.setCell(1, 4, "Oak 19");
    EXPECT_NE(output::tablesKey(p), key);
    // A cell emptied by a delete and a row fewer are both seen.
    p = base;
    p.parts.setCell(1, engine::PartCol::Qty, "");
    EXPECT_NE(output::tablesKey(p), key);
    p = base;
    p.parts.removeRow(1);
    EXPECT_NE(output::tablesKey(p), key);
}
