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

    // Results: report, bill, offcut reuse (message 20: NotAllPartsPlaced).
    GoodOffcutDescription = 21,

    // Band types.
    BandCellNotConverted = 295,
    CannotReadBandFile = 115,       // detail: the path
    CannotWriteBandFile = 116,      // detail: the path
    BandNameNotInTable = 117,       // detail: the band name
    BandFileNotWholeRecords = 118,  // detail: the path, the number of lines
    BandFileTooManyRecords = 119,   // detail: the path, the number of records
    BandPriceNotANumber = 180,      // shown in the bill line
    ResultCommandUsed = 181,
    RunFailed = 182,                // the optimisation could not finish (memory); nothing changed

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
    ConfirmDeleteBandType = 305,

    // Automatic optimisation.
    AutomaticProgressCaption = 17,
    TablesEmpty = 19,
    NotAllPartsPlaced = 20,
    SheetRowSizeUnreadable = 157,  // detail: the sheet row
    SheetRowQtyUnreadable = 158,   // detail: the sheet row
    PartRowSizeUnreadable = 159,   // detail: the part row
    PartRowQtyUnreadable = 160,    // detail: the part row
    TooManySheets = 161,
    TooManyParts = 162,

    // Project archive and foreign files.
    ArchiveCannotOpenFile = 22,    // "A file of the archive cannot be opened:" + path
    QuillonFileTooLong = 394,      // more than 10,000 lines: "The file is not a valid Quillon project (.qln) ..."

    // Drawings written to files.
    CannotWriteDxf = 389,
    CannotWriteDrawing = 399,  // an SVG layout file

    // Manual mode.
    ManualNothingFits = 3,         // no stock sheet can take any part as entered
    ManualGenerationPrefix = 4,    // status: before the generation number
    ManualKnownPrefix = 5,         // status: before the number of known blocks
    ManualSheetStopped = 6,        // status: search stopped by the user
    ManualSheetDone = 7,           // status: search finished
    SoundCannotPlay = 8,
    ManualLastSheet = 10,          // all stock sheets used
    ManualNothingLeft = 11,        // nothing left to place
    ManualAlphaNotANumber = 169,   // the Alpha text is not a number
    ManualPiNotAPercent = 170,     // the P.I.(%) text is not a whole number from 0 to 100
    ManualNoLayout = 171,          // the search found no block for the sheet
    ManualKnownListFull = 172,     // search ended early: the known list is full
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
