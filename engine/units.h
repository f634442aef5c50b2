#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/msg.h"

namespace engine {

// Lengths are held as signed 32-bit integers in tenths of a millimetre,
// areas as signed 64-bit integers in square tenths. The functions below
// convert between those and what the user types and reads. They hold no
// state: the caller passes the current unit.

using Length = std::int32_t;
using Area = std::int64_t;

// How lengths are typed and shown (setting JedMere).
enum class LengthUnit : int {
    Millimetre = 0,
    Centimetre = 1,
    Metre = 2,
    DecimalInch = 3,
    FractionalInch = 4,
    FeetInches = 5,
};

// How areas are shown (setting AreaStyle).
enum class AreaUnit : int {
    SquareMillimetre = 0,
    SquareCentimetre = 1,
    SquareMetre = 2,
    SquareInch = 3,
    SquareFoot = 4,
    SquareYard = 5,
};

constexpr LengthUnit lengthUnitFromInt(int v) { return static_cast<LengthUnit>(v); }
constexpr AreaUnit areaUnitFromInt(int v) { return static_cast<AreaUnit>(v); }
constexpr int toInt(LengthUnit u) { return static_cast<int>(u); }
constexpr int toInt(AreaUnit u) { return static_cast<int>(u); }

// trunc(x / 10^d + 0.5) * 10^d: d = -2 keeps two decimals, d = 0 gives an
// integer. Not symmetric for negative x (-2.7 gives -2).
[[nodiscard]] double RoundHalfUp(double x, int d);

// Text typed in `unit` -> internal length; -1 when the text is no length in
// that unit (also when it does not fit in 32 bits). A unit outside 0..5 gives 0.
[[nodiscard]] Length ParseLength(LengthUnit unit, std::string_view text);

// Internal length -> display text without a unit label.
[[nodiscard]] std::string FormatLength(Length value, LengthUnit unit);

struct NormalizedLength {
    Msg msg = Msg::Ok;      // Ok, or the message explaining why the text is refused
    std::string text;       // the canonical text when msg is Ok
    bool hasText = false;   // false for a unit outside 0..5
};

// Checks typed text and rewrites it into the canonical form of `unit`.
// Can return NotANumber and the Imperial* messages.
[[nodiscard]] NormalizedLength NormalizeLengthText(std::string_view text, LengthUnit unit);

struct ImperialValue {
    Msg msg = Msg::Ok;  // Ok or one of the Imperial* messages
    std::int32_t feet = 0;
    std::int32_t inches = 0;
    std::int32_t numerator = 0;
    std::int32_t denominator = 1;
};

// Reads a feet / inch / fraction text such as «12' 5" 3/8"». A zero
// denominator is refused with ImperialBadInteger.
[[nodiscard]] ImperialValue ParseImperialText(std::string_view text);

struct Fraction {
    int numerator = 0;
    int denominator = 2;
};

// Nearest fraction with a denominator of 2, 4, ..., 64; ties go to the smaller
// denominator and the numerator is not reduced (0.999 gives 2/2).
[[nodiscard]] Fraction NearestFraction(double x);

[[nodiscard]] std::string LengthUnitLabel(LengthUnit unit, bool valueCarriesMarks);
[[nodiscard]] std::string AreaUnitName(AreaUnit unit);

// Area in the display unit, held as a single-precision float on the way (as
// the totals always were), rounded to 2 decimals (3 for square metres).
[[nodiscard]] std::string FormatArea(Area area, AreaUnit unit, bool withName);

// Internal length -> value in the display unit (for totals such as cut length).
[[nodiscard]] double LengthInUnit(double value, LengthUnit unit);

// Shortest general decimal form with up to `precision` significant digits,
// no thousands separator, no trailing zeros; exponent form ("1.5E-7") only
// for very small or very large values.
[[nodiscard]] std::string formatGeneral(double value, int precision = 15);

// General format with `precision` significant digits and at most `digits`
// exponent digits, the way the report prints its floats.
[[nodiscard]] std::string formatGeneral(double value, int precision, int digits);

// Strict decimal number: optional blanks, sign, digits with an optional
// point, optional exponent. No locale, no "inf"/"nan", no hex.
[[nodiscard]] bool parseDecimal(std::string_view text, double& out);

// Strict decimal integer (optional blanks and sign) within 32 bits.
[[nodiscard]] bool parseInteger(std::string_view text, std::int32_t& out);

} // namespace engine
