#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/msg.h"
#include "engine/paths.h"

namespace labels {

// The label definitions file Config//velmlabels.xml: the label sheet styles,
// the selected one, and per kind of label whether it is printed, framed and
// which of the ten text lines it carries. Every use opens the file, reads or
// changes it, writes it back and closes it; nothing is kept between uses.
//
// The file is delivered with the program and never made by it: a missing or
// damaged file is reported (LabelFileUnreadable with the path and where) and
// left as it is, so that a user's own file is never replaced by a fresh one.

// Label unit of a group of style values.
enum class LabelUnit : int { Millimetre = 0, Centimetre = 1, Inch = 2 };

// The three kinds of label, in print order; the numbers are those of the
// item setup (1 parts, 2 used sheets, 3 offcuts).
enum class LabelKind : int { Part = 1, UsedTable = 2, Offcut = 3 };
constexpr std::array<LabelKind, 3> kLabelKinds = {LabelKind::Part, LabelKind::UsedTable, LabelKind::Offcut};
[[nodiscard]] constexpr int kindIndex(LabelKind k) { return static_cast<int>(k) - 1; }
// Element name of a kind under Content: "Part", "UsedTable", "Offcut".
[[nodiscard]] const char* kindElement(LabelKind k);

// The ten text lines of a label, in print order.
enum class LabelLine : int { Size, Name, Company, Project, Author, Client, Address, Phone, Note, Date };
constexpr int kLabelLineCount = 10;
// Element name of a line under Item: "Size", "Name", ...
[[nodiscard]] const char* lineElement(LabelLine l);

// One label sheet style. Sizes stay the texts of the file (decimal numbers
// in the group's unit); they are converted when a page is laid out.
struct LabelStyle {
    std::string name;
    int sizeUnit = 0;
    std::string sizeWidth = "0";   // height of one label (down the page)
    std::string sizeLength = "0";  // width of one label (across the page)
    int marginUnit = 0;
    std::string marginLeft = "0";
    std::string marginRight = "0";
    std::string marginTop = "0";
    std::string marginBottom = "0";
    int gutterUnit = 0;
    std::string gutterHorizontal = "0";
    std::string gutterVertical = "0";
    int rows = 1;
    int columns = 1;
    bool operator==(const LabelStyle&) const = default;
};

// One text line of a kind: printed or not, bold, size in points, leading text.
struct LabelLineSetup {
    bool output = false;
    bool bold = false;
    int fontSize = 8;
    std::string text;
    bool operator==(const LabelLineSetup&) const = default;
};

// The settings of one kind of label.
struct LabelKindSetup {
    bool output = false;
    bool border = false;
    std::array<LabelLineSetup, kLabelLineCount> lines{};
    [[nodiscard]] const LabelLineSetup& line(LabelLine l) const { return lines[static_cast<size_t>(l)]; }
    [[nodiscard]] LabelLineSetup& line(LabelLine l) { return lines[static_cast<size_t>(l)]; }
    bool operator==(const LabelKindSetup&) const = default;
};

// Everything the file holds that the program uses.
struct LabelDefinitions {
    std::vector<LabelStyle> styles;  // the Label elements really present, in order
    int count = 0;                   // the count attribute as the file says it
    int active = 0;                  // the active attribute as the file says it
    std::array<LabelKindSetup, 3> kinds{};
    [[nodiscard]] const LabelKindSetup& kind(LabelKind k) const { return kinds[static_cast<size_t>(kindIndex(k))]; }
    [[nodiscard]] LabelKindSetup& kind(LabelKind k) { return kinds[static_cast<size_t>(kindIndex(k))]; }
    // The selected style's index: `active` when it names a style, else 0;
    // -1 when there is no style.
    [[nodiscard]] int activeStyle() const;
};

// The file in the program folder (ending in a separator), to read or to
// write (engine::programDataPath: the user's copy when the folder is shared).
[[nodiscard]] std::string labelDefinitionsPath(const std::string& programFolder,
                                               engine::DataUse use = engine::DataUse::Read);

// Reads the whole file. Styles are the Label elements present, whatever
// count says. Unreadable numbers in the style, kind and line attributes
// (rows, columns, units, font sizes) are refused with LabelFileUnreadable
// naming the path and the element; the length texts are checked where they
// are converted (labelGeometry). Errors: LabelFileUnreadable (path, where,
// with the file problem as reason).
[[nodiscard]] engine::Result<LabelDefinitions> readLabelDefinitions(const std::string& path);
// The same on a text in memory (the fuzz target); `name` stands for the path.
[[nodiscard]] engine::Result<LabelDefinitions> parseLabelDefinitions(std::string_view text, const std::string& name);

// The changes. Each opens the file at `path`, changes it, writes it back
// whole (atomically) and closes it; everything the program does not touch
// stays. A missing or damaged file is not written: LabelFileUnreadable.
// A failed write: LabelFileUnwritable with the path and the reason.

// Appends a style named `name` with the new-style defaults (all sizes "0",
// one row, one column); count := styles + 1, active := the new index.
[[nodiscard]] engine::Status addLabelStyle(const std::string& path, const std::string& name);
// Deletes style `index`; count := styles - 1, active := 0. Refused
// (LabelStyleMissing) for an index that names no style and for the last
// remaining style (LabelLastStyle).
[[nodiscard]] engine::Status deleteLabelStyle(const std::string& path, int index);
// active := index.
[[nodiscard]] engine::Status selectLabelStyle(const std::string& path, int index);
// Writes `style` (all its fields but the name) into style `index` and makes
// it active.
[[nodiscard]] engine::Status saveLabelStyle(const std::string& path, int index, const LabelStyle& style);
// Writes the border and the ten lines of one kind.
[[nodiscard]] engine::Status saveLabelKind(const std::string& path, LabelKind kind, const LabelKindSetup& setup);
// Writes the three output switches (parts, used sheets, offcuts) and active.
[[nodiscard]] engine::Status saveLabelChoice(const std::string& path, const std::array<bool, 3>& outputs,
                                             int active);

// Boolean attribute texts: written "true" / "false"; read as true are
// "true", "True", "TRUE", "1" and "-1".
[[nodiscard]] bool readBool(std::string_view text);

} // namespace labels
