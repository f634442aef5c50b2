#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/language_table.h"
#include "engine/units.h"

namespace engine {

// Which captions of a window come from which language entry. Each window
// fills its own group when it is built and again when the language changes;
// the windows look their controls up by these component names (the object
// names of the widgets), so one generic routine can apply any group.

// What of the named component the entry sets.
enum class CaptionKind {
    Caption,     // label, button, check box, group box, page tab
    MenuCaption, // menu or menu item text
    Hint,        // tool tip
    WindowTitle, // the window's own title; the component is the window's name
    DialogTitle, // title of a file dialog the window owns
    ColumnTitle, // row-0 title of grid column `index`
    Item,        // item `index` of a radio group or drop-down list
    FontName,    // font family of a drawing surface ("Printer" or "Image5")
};

struct CaptionAssignment {
    const char* component;
    CaptionKind kind;
    int index;          // column or item number; 0 for the other kinds
    int entry;          // language table entry
    const char* suffix = ""; // appended to the entry text (the ":" of some labels)
};

// The caption groups that exist: 1, 2, 3 and 5 to 13 (there is no group 4).
[[nodiscard]] std::span<const int> captionGroupNumbers();

// Window class of a group ("TMainForm" for 1, ...), empty for no group.
[[nodiscard]] std::string_view captionGroupWindow(int group);

// The assignments of one group, in entry order; empty for a number that is
// no group.
[[nodiscard]] std::span<const CaptionAssignment> captionGroup(int group);

// Entry text plus the assignment's suffix.
[[nodiscard]] std::string captionText(const LanguageTable& table, const CaptionAssignment& a);

// Headings that carry a unit or a count and are rebuilt after a language
// change, after a project is opened and when the units change.
enum class UnitHeading {
    PlacedArea,      // area of placed parts: entry 53 + " (" + area unit name + ")"
    AverageYield,    // average yield: entry 54 + " (%)"
    LastSheetYield,  // yield of the last sheet: entry 55 + " (%)"
    CutLength,       // cut length: entry 56 + " (" + bare length unit label + ")"
    BandingLength,   // banding length: entry 57 + " (" + bare length unit label + ")"
    SheetTableTitle, // sheet table: entry 130 + " (" + total sheet quantity + ")"
    PartTableTitle,  // part table: entry 131 + " (" + total part quantity + ")"
};

struct HeadingValues {
    AreaUnit areaUnit = AreaUnit::SquareMetre;
    LengthUnit lengthUnit = LengthUnit::Centimetre;
    std::int64_t sheetQuantity = 0;
    std::int64_t partQuantity = 0;
};

[[nodiscard]] std::string_view headingComponent(UnitHeading h);
[[nodiscard]] std::string statisticsCaption(const LanguageTable& table, UnitHeading h, const HeadingValues& v);

struct ComponentText {
    std::string component;
    std::string text;
};

// All seven rebuilt headings, in the order a language change sets them.
[[nodiscard]] std::vector<ComponentText> rebuiltHeadings(const LanguageTable& table, const HeadingValues& v);

} // namespace engine
