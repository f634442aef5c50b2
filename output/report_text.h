#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/project.h"
#include "engine/units.h"

namespace output {

// Column helpers of the report. The report is read in a monospaced font, so
// widths count characters (UTF-8 code points), not bytes.

[[nodiscard]] int displayWidth(std::string_view s);

// s preceded by max(0, width - displayWidth(s)) blanks.
[[nodiscard]] std::string pad(std::string_view s, int width);

// Running number: k right-aligned in three places, then ".".
[[nodiscard]] std::string num(std::int64_t k);

// A column of number texts brought to the same count of decimals D (the most
// characters after the first "." in any text): a text without "." gets "."
// and D zeros when D >= 1, one with "." gets zeros up to D places. The width
// is the longest raw text + 1, plus D when widthCountsDecimals.
struct AlignedColumn {
    std::vector<std::string> texts;
    int width = 0;
};
[[nodiscard]] AlignedColumn alignColumn(const std::vector<std::string>& raw, bool widthCountsDecimals = true);

// FormatLength for totals that may pass the 32-bit range of a length.
[[nodiscard]] std::string formatTotalLength(std::int64_t value, engine::LengthUnit unit);

// The lines joined with `eol` after each one, marks dropped.
[[nodiscard]] std::string toPlainText(const engine::RichText& text, std::string_view eol = "\n");

// In a report line, `bold` means that bold is added to the box's character
// attributes before the line is written; it stays for the lines after it.
// This gives whether line `index` is shown bold. `sizeDelta` applies to its
// own line only.
[[nodiscard]] bool boldInEffect(const engine::RichText& text, size_t index);

} // namespace output
