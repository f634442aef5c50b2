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
    CannotReadProject = 288,        // detail: the path, then where and what could not be read
    UnknownFileKind = 43,           // detail: the path; neither project document, old text nor Quillon file
    TextBytesReplaced = 47,         // warning, detail: the path, the number of bytes replaced
    SaveTablesEmpty = 42,           // reason of CannotSaveProject: both tables are empty
    TemplateUnusable = 397,         // the project template is missing or damaged

    // Files in general: why a file could not be read or written (detail: the path).
    FileNotRegular = 12,
    FileTooLarge = 15,
    DiskFull = 26,
    FileReadOnly = 28,
    FolderNotWritable = 30,
    FileMissing = 32,
    FileCannotRead = 33,
    FileWriteFailed = 40,

    // Settings.
    CannotConvertValue = 296,
    SettingOutOfRange = 96,         // detail: NAME=VALUE; wrong kind or outside the setting's range
    SettingsFileUnreadable = 140,   // detail: the path, what is wrong

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
    DxfSettingsUnreadable = 111,    // detail: the path; nothing drawn
    NoResultToDraw = 95,            // detail: the project file
    ArchiveFolderUnreadable = 112,  // detail: the folder
    CannotWriteOutput = 141,        // detail: the path or "standard output"
    CannotWriteDrawing = 399,  // an SVG layout file

    // Printing.
    CannotWritePdf = 441,          // detail: the path
    PrintRangeOutside = 442,       // detail: the range asked, the number of layouts
    PrintingNotBuilt = 443,        // this velmora-cli was built without the PDF writer
    NoResultToPrint = 444,         // detail: the project file

    // Labels.
    LabelFileUnreadable = 481,     // detail: the path, where; the definitions file is missing or damaged
    LabelFileUnwritable = 482,     // detail: the path; the change was not saved
    LabelStyleEmpty = 483,         // detail: the style name; 0 rows or 0 columns
    LabelStyleTooLarge = 484,      // detail: the style name; no label fits on the page
    LabelStyleNotANumber = 485,    // detail: the style name, the element
    LabelStyleMissing = 486,       // detail: the style asked for
    LabelMarginsOversized = 487,   // "Margins are oversized"
    NoLabelsToPrint = 488,         // no kind chosen, or nothing to label
    LabelLastStyle = 489,          // the last style cannot be deleted
    ConfirmDeleteLabelStyle = 490, // "Are you sure?"

    // Spreadsheet import.
    ImportWorkbookMissing = 234,     // detail: "(" path ")"; the remembered workbook is gone
    ImportLinkFailed = 235,          // no workbook or worksheet to link
    ImportLengthNotNumber = 236,     // detail: "column,row" of the preview
    ImportQuantityNotInteger = 237,  // detail: "column,row" of the preview
    ImportSelectionTooWide = 238,    // more than four columns selected
    ImportSelectionUnreadable = 242, // no block of cells selected
    ImportCaption = 163,             // caption of the import dialog's message boxes
    SpreadsheetDamaged = 501,        // detail: the path, the part and place that did not read
    SpreadsheetTooLarge = 502,       // detail: the path, the part or sheet over the limit
    SpreadsheetUnknownKind = 503,    // detail: the path; not .xlsx, .ods, .xls, .csv or .txt
    WorksheetNotFound = 504,         // detail: the path, the worksheet name
    RangeNotValid = 505,             // detail: the range text
    ImportLengthNotPositive = 506,   // detail: "column,row" of the preview
    ImportQuantityNotPositive = 507, // detail: "column,row" of the preview
    ImportTooManyRows = 508,         // detail: "column,row" of the first preview row that does not fit
    ImportNothingToImport = 509,     // the preview holds no rows

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
    // Why the step of `msg` failed, when a cause of its own is known (a full
    // disk, a read-only file); shown after the message and its details.
    Msg reason = Msg::Ok;

    Status() = default;
    Status(Msg m, std::vector<std::string> a = {}, Msg why = Msg::Ok) : msg(m), args(std::move(a)), reason(why) {}
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
