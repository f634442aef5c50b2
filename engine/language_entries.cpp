#include "engine/language_entries.h"

#include <algorithm>
#include <array>

#include "engine/msg.h"

namespace engine {

namespace {

constexpr std::array kRuntimeTexts = {
    2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  13,  14,  16,  17,  18,  19,  20,  21,  22,  23,
    24,  25,  27,  29,  31,  34,  35,  36,  37,  38,  39,  41,  44,  45,  46,  48,  49,  50,  51,  52,
    53,  54,  55,  56,  57,  70,  94,  130, 131, 163, 164, 189, 190, 205, 206, 207, 234, 235, 236, 237,
    238, 239, 242, 243, 244, 248, 255, 259, 260, 261, 264, 266, 272, 273, 274, 275, 276, 277, 278, 279,
    280, 281, 282, 283, 288, 289, 290, 293, 294, 295, 296, 305, 314, 385, 386, 387,
    401, 402, 403, 404, 405, 406, 407, 408, 409, 410,  // message box buttons, unsaved changes, file dialogs
    445, 446, 447, 448, 449, 450, 451, 452, 453,       // the print dialog
    510, 511, 512,                                     // the spreadsheet import: paste button, file dialog
    521, 522, 523,                                     // the report's line on the optimisation method
    525,                                               // the deep optimisation's progress caption
};

// Keep in step with engine/msg.h; a test reads msg.h and checks that every
// number it names has a text in the shipped files.
constexpr std::array kNamedMessages = {
    number(Msg::NotANumber),
    number(Msg::ImperialEmpty),
    number(Msg::ImperialBadCharacter),
    number(Msg::ImperialGroupCount),
    number(Msg::ImperialEndsWithSlash),
    number(Msg::ImperialNoFraction),
    number(Msg::ImperialSecondFraction),
    number(Msg::ImperialFractionNotLast),
    number(Msg::ImperialLoneFractionFeet),
    number(Msg::ImperialFeetTwice),
    number(Msg::ImperialInchesTwice),
    number(Msg::ImperialBadInteger),
    number(Msg::CannotSaveProject),
    number(Msg::CannotOpenProject),
    number(Msg::CannotReadProject),
    number(Msg::CannotConvertValue),
    number(Msg::AutomaticProgressCaption),
    number(Msg::TablesEmpty),
    number(Msg::NotAllPartsPlaced),
    // The automatic run's checks of 157..162 are reserved entries, listed
    // with reservedMessageEntries().
    number(Msg::GoodOffcutDescription),
    number(Msg::BandCellNotConverted),
    number(Msg::CannotWriteDxf),
    number(Msg::CannotWriteDrawing),
    number(Msg::CannotWritePdf),
    number(Msg::PrintRangeOutside),
    number(Msg::PrintingNotBuilt),
    number(Msg::NoResultToPrint),
    number(Msg::ManualNothingFits),
    number(Msg::ManualGenerationPrefix),
    number(Msg::ManualKnownPrefix),
    number(Msg::ManualSheetStopped),
    number(Msg::ManualSheetDone),
    number(Msg::SoundCannotPlay),
    number(Msg::ManualLastSheet),
    number(Msg::ManualNothingLeft),
    number(Msg::LabelFileUnreadable),
    number(Msg::LabelFileUnwritable),
    number(Msg::LabelStyleEmpty),
    number(Msg::LabelStyleTooLarge),
    number(Msg::LabelStyleNotANumber),
    number(Msg::LabelStyleMissing),
    number(Msg::LabelMarginsOversized),
    number(Msg::NoLabelsToPrint),
    number(Msg::LabelLastStyle),
    number(Msg::ConfirmDeleteLabelStyle),
    number(Msg::SpreadsheetDamaged),
    number(Msg::SpreadsheetTooLarge),
    number(Msg::SpreadsheetUnknownKind),
    number(Msg::WorksheetNotFound),
    number(Msg::RangeNotValid),
    number(Msg::ImportLengthNotPositive),
    number(Msg::ImportQuantityNotPositive),
    number(Msg::ImportTooManyRows),
    number(Msg::ImportNothingToImport),
};

// 330..369 hold captions of the DXF and label dialogs, so the blocks for new
// messages are taken from the gaps of the table instead.
constexpr std::array<ReservedEntryBlock, 18> kReservedBlocks = {{
    {12, 12, "files: why a file cannot be read or written"},
    {15, 15, "files: why a file cannot be read or written"},
    {26, 26, "files: why a file cannot be read or written"},
    {28, 28, "files: why a file cannot be read or written"},
    {30, 30, "files: why a file cannot be read or written"},
    {32, 33, "files: why a file cannot be read or written"},
    {40, 40, "files: why a file cannot be read or written"},
    {42, 43, "project files: empty tables, unknown kind"},
    {47, 47, "text files: bytes replaced"},
    {95, 96, "drawing without result, settings range"},
    {111, 112, "DXF settings file, archive folder"},
    {140, 141, "settings file, output"},
    {115, 119, "band types and report"},
    {157, 162, "automatic run: unreadable rows, capacities"},
    {169, 173, "manual mode"},
    {180, 183, "spare"},
    {388, 388, "file formats"},
    {390, 398, "file formats"},
}};

constexpr std::array kReservedMessages = {
    115, 116, 117, 118, 119,      // band type file, unknown band name
    180, 181, 182,                // bill price, result commands used, run failed
    157, 158, 159, 160, 161, 162, //
    169, 170, 171, 172,           //
    388, 390, 391, 392, 393, 394, 395, 396, 397, 398,
    12, 15, 26, 28, 30, 32, 33, 40, // why a file cannot be read or written
    42, 43, 47,                   // project files
    95, 96, 111, 112, 140, 141,   // drawing, settings, DXF settings, archive, output
};

} // namespace

std::span<const int> runtimeTextEntries() { return kRuntimeTexts; }

std::span<const int> namedMessageEntries() { return kNamedMessages; }

std::vector<int> usedLanguageEntries(std::span<const int> captionEntries)
{
    std::vector<int> out(kRuntimeTexts.begin(), kRuntimeTexts.end());
    out.insert(out.end(), kNamedMessages.begin(), kNamedMessages.end());
    out.insert(out.end(), captionEntries.begin(), captionEntries.end());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::span<const ReservedEntryBlock> reservedEntryBlocks() { return kReservedBlocks; }

std::span<const int> reservedMessageEntries() { return kReservedMessages; }

} // namespace engine
