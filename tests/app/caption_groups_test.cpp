#include "app/caption_groups.h"

#include <algorithm>
#include <set>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "engine/language_entries.h"
#include "engine/language_table.h"

namespace {

using app::CaptionAssignment;
using app::CaptionKind;
using app::captionGroup;

const CaptionAssignment* find(int group, const std::string& component, CaptionKind kind, int index = 0)
{
    for (const CaptionAssignment& a : captionGroup(group))
        if (a.component == component && a.kind == kind && a.index == index)
            return &a;
    return nullptr;
}

int entryOf(int group, const std::string& component, CaptionKind kind, int index = 0)
{
    const CaptionAssignment* a = find(group, component, kind, index);
    return a ? a->entry : -1;
}

TEST(CaptionGroups, TwelveGroupsWithoutGroupFour)
{
    const auto groups = app::captionGroupNumbers();
    EXPECT_EQ(std::vector<int>(groups.begin(), groups.end()), (std::vector<int>{1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_TRUE(captionGroup(4).empty());
    EXPECT_TRUE(captionGroup(0).empty());
    EXPECT_TRUE(captionGroup(14).empty());
    EXPECT_EQ(app::captionGroupWindow(1), "TMainForm");
    EXPECT_EQ(app::captionGroupWindow(9), "TBands");
    EXPECT_EQ(app::captionGroupWindow(4), "");
    for (const int g : groups)
        EXPECT_FALSE(captionGroup(g).empty()) << g;
}

TEST(CaptionGroups, EveryAssignmentIsSoundAndUnique)
{
    for (const int g : app::captionGroupNumbers()) {
        std::set<std::tuple<std::string, CaptionKind, int>> seen;
        for (const CaptionAssignment& a : captionGroup(g)) {
            EXPECT_GE(a.entry, 0);
            EXPECT_LT(a.entry, engine::LanguageTable::kEntries);
            EXPECT_TRUE(seen.insert({a.component, a.kind, a.index}).second)
                << "group " << g << " sets " << a.component << " twice";
            if (a.kind != CaptionKind::ColumnTitle && a.kind != CaptionKind::Item) {
                EXPECT_EQ(a.index, 0);
            }
        }
    }
}

TEST(CaptionGroups, MainWindowSpecials)
{
    EXPECT_EQ(entryOf(1, "Printer", CaptionKind::FontName), 113);
    EXPECT_EQ(entryOf(1, "Image5", CaptionKind::FontName), 114);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(entryOf(1, "Label" + std::to_string(23 + k), CaptionKind::Caption), 50 + k);
    EXPECT_EQ(entryOf(1, "Label40", CaptionKind::Caption), 56);
    EXPECT_EQ(entryOf(1, "Label54", CaptionKind::Caption), 57);
    EXPECT_EQ(entryOf(1, "Label15", CaptionKind::Caption), 130);
    EXPECT_EQ(entryOf(1, "Label21", CaptionKind::Caption), 131);
}

TEST(CaptionGroups, MainWindowMenusHintsAndGrids)
{
    EXPECT_EQ(entryOf(1, "File1", CaptionKind::MenuCaption), 74);
    EXPECT_EQ(entryOf(1, "toXML", CaptionKind::MenuCaption), 286);
    EXPECT_EQ(entryOf(1, "fromXML", CaptionKind::MenuCaption), 286);
    EXPECT_EQ(entryOf(1, "Deleterow2", CaptionKind::MenuCaption), 291);
    EXPECT_EQ(entryOf(1, "ToolButton13", CaptionKind::Hint), 263);
    EXPECT_EQ(entryOf(1, "OpenDialog1", CaptionKind::DialogTitle), 167);
    EXPECT_EQ(entryOf(1, "pag3", CaptionKind::Caption), 99);
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(entryOf(1, "StringGrid1", CaptionKind::ColumnTitle, c), 101 + c);
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(entryOf(1, "StringGrid2", CaptionKind::ColumnTitle, c), 105 + c);
    for (int c = 6; c <= 9; ++c)
        EXPECT_EQ(entryOf(1, "StringGrid2", CaptionKind::ColumnTitle, c), 178 + c);
    EXPECT_EQ(find(1, "StringGrid2", CaptionKind::ColumnTitle, 10), nullptr);
}

TEST(CaptionGroups, DialogGroups)
{
    EXPECT_EQ(entryOf(2, "TFSettings", CaptionKind::WindowTitle), 91);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(entryOf(2, "RadioGroup2", CaptionKind::Item, k), 297 + k);
        EXPECT_EQ(entryOf(2, "areastyle_combo", CaptionKind::Item, k), 306 + k);
    }
    EXPECT_EQ(entryOf(2, "RadioGroup1", CaptionKind::Item, 2), 221);
    EXPECT_EQ(entryOf(2, "Label18", CaptionKind::Caption), 227);
    EXPECT_EQ(entryOf(3, "TAboutBox", CaptionKind::WindowTitle), 94);
    EXPECT_EQ(entryOf(5, "Label4", CaptionKind::Caption), 102);
    EXPECT_EQ(entryOf(5, "ImportBtn2", CaptionKind::Caption), 217);
    EXPECT_EQ(entryOf(7, "btnCancel", CaptionKind::Caption), 58);
    EXPECT_EQ(entryOf(7, "lblLayerName2", CaptionKind::Caption), 330);
    EXPECT_EQ(entryOf(8, "RadioGroup1", CaptionKind::Caption), 69);
    EXPECT_EQ(entryOf(9, "StringGrid1", CaptionKind::ColumnTitle, 0), 190);
    EXPECT_EQ(entryOf(9, "Deleterow1", CaptionKind::MenuCaption), 291);
    EXPECT_EQ(entryOf(10, "lblGutterVerticalUnit", CaptionKind::Caption), 343);
    EXPECT_EQ(entryOf(11, "TfrmLabelItemSetup", CaptionKind::WindowTitle), 349);
    EXPECT_EQ(entryOf(11, "lblBorder", CaptionKind::Caption), 371);
    EXPECT_EQ(entryOf(12, "btnCancel", CaptionKind::Caption), 379);
    EXPECT_EQ(entryOf(13, "lblNewLabelName", CaptionKind::Caption), 381);
    // Captions set on activation or per use are not part of a group.
    EXPECT_EQ(find(2, "TFSettings", CaptionKind::Caption), nullptr);
    for (const int g : app::captionGroupNumbers())
        for (const CaptionAssignment& a : captionGroup(g))
            EXPECT_TRUE((a.entry != 49 && a.entry < 385) || a.entry == 524) << a.component;  // 524: the deep optimisation's box
}

TEST(CaptionGroups, ColonSuffixes)
{
    engine::LanguageTable t;
    t.setText(254, "Title");
    t.setText(256, "Client data:");
    const CaptionAssignment* title = find(6, "lbl_title", CaptionKind::Caption);
    const CaptionAssignment* client = find(6, "lbl_client", CaptionKind::Caption);
    ASSERT_TRUE(title && client);
    EXPECT_EQ(app::captionText(t, *title), "Title:");
    EXPECT_EQ(app::captionText(t, *client), "Client data:");
    for (const char* c : {"lbl_author", "cl1", "cl2", "cl3", "cl4", "cl5"}) {
        const CaptionAssignment* a = find(6, c, CaptionKind::Caption);
        ASSERT_NE(a, nullptr) << c;
        EXPECT_EQ(std::string(a->suffix), ":") << c;
    }
}

} // namespace

namespace {

std::vector<int> captionEntries()
{
    std::vector<int> out;
    for (const int g : app::captionGroupNumbers())
        for (const CaptionAssignment& a : captionGroup(g))
            out.push_back(a.entry);
    return out;
}

TEST(CaptionGroups, WithTheMessagesMakeTheProgramsEntryList)
{
    const std::vector<int> captions = captionEntries();
    const std::vector<int> used = engine::usedLanguageEntries(captions);
    // 481..490: the label messages; 501..512: the spreadsheet import's;
    // 521..525: the deep optimisation's.
    EXPECT_EQ(used.size(), 394u);
    const std::set<int> set(used.begin(), used.end());
    for (const int n : {0, 1, 12, 15, 111, 112, 140, 196, 233, 241, 270, 287, 320})
        EXPECT_EQ(set.count(n), 0u) << n;
    for (const int n : engine::reservedMessageEntries())
        EXPECT_EQ(set.count(n), 0u) << "reserved entry " << n << " is already a caption";
    for (const auto& b : engine::reservedEntryBlocks())
        for (int n = b.first; n <= b.last; ++n)
            EXPECT_EQ(set.count(n), 0u) << "block entry " << n << " is already a caption";
}

TEST(CaptionGroups, EveryEntryHasTextInTheShippedFiles)
{
    for (const char* name : {"Srpski", "English"}) {
        engine::LanguageTable t;
        ASSERT_EQ(t.load(std::string(VELMORA_SOURCE_DIR) + "/data/Lang/" + name + ".vll"),
                  engine::LanguageTable::LoadResult::Ok);
        for (const int n : captionEntries())
            EXPECT_FALSE(t.text(n).empty()) << name << " entry " << n;
    }
}

} // namespace
