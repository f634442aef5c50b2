#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace engine {

// A message the user sees, by its number in the language table. Core code
// never holds user-facing text: it returns one of these and the caller looks
// the text up. Ok (0) means success. Numbers not named below can still be
// made with Msg{n}.
enum class Msg : int {
    Ok = 0,

    // Units of measure: typed lengths.
    NotANumber = 272,
    ImperialEmpty = 273,
    ImperialBadCharacter = 274,
    ImperialGroupCount = 275,
    ImperialEndsWithSlash = 276,
    ImperialNoFraction = 277,
    ImperialSecondFraction = 278,
    ImperialFractionNotLast = 279,
    ImperialLoneFractionFeet = 280,
    ImperialFeetTwice = 281,
    ImperialInchesTwice = 282,
    ImperialBadInteger = 283,

    // Project files.
    CannotSaveProject = 29,
    CannotOpenProject = 31,
    CannotReadProject = 288,

    // Settings.
    CannotConvertValue = 296,

    // Input tables and the desktop program.
    EntryRowIncomplete = 2,
    RowBelowLast = 13,
    ConfirmDeleteRow = 14,
    BadBandCount = 18,
    CannotOpenDocument = 205,
    QuantityNotWhole = 207,
    SoundFileMissing = 243,
    NewProjectName = 248,
    ConfirmClearSheets = 289,
    ConfirmClearParts = 290,
    SheetCellNotConverted = 293,
    PartCellNotConverted = 294,
    BandCellNotConverted = 295,
    ConfirmDeleteBandType = 305,

    // Automatic optimisation.
    AutomaticProgressCaption = 17,
    TablesEmpty = 19,
    NotAllPartsPlaced = 20,
    SheetRowUnreadable = 157,  // detail: the sheet row number
    PartRowUnreadable = 159,   // detail: the part row number
};

[[nodiscard]] constexpr int number(Msg m) { return static_cast<int>(m); }

// A message with the detail texts that go with it (a file name, a row number).
struct Status {
    Msg msg = Msg::Ok;
    std::vector<std::string> args;

    Status() = default;
    Status(Msg m, std::vector<std::string> a = {}) : msg(m), args(std::move(a)) {}
    [[nodiscard]] bool ok() const { return msg == Msg::Ok; }
};

// A value, or the message that explains why there is none.
template <class T>
class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Status error) : m_error(std::move(error)) {}
    Result(Msg error) : m_error(error) {}

    [[nodiscard]] bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] T& value() { return *m_value; }
    [[nodiscard]] const T& value() const { return *m_value; }
    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    [[nodiscard]] const Status& error() const { return m_error; }

private:
    std::optional<T> m_value;
    Status m_error;
};

} // namespace engine
