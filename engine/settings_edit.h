#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/msg.h"
#include "engine/settings.h"
#include "engine/units.h"

namespace engine {

// UI-free steps of the settings dialog and of the program's start-up.

// A length typed into one of the settings dialog's length fields.
// msg Ok: `text` is the canonical text and `value` the internal length.
// A length message (NotANumber, Imperial*): the field gets its old text back.
// CannotConvertValue: canonical text that still gives no length (a warning;
// the field shows `text`, the setting keeps its value).
struct LengthSetting {
    Msg msg = Msg::Ok;
    std::string text;
    Length value = 0;
};
[[nodiscard]] LengthSetting readLengthSetting(std::string_view text, LengthUnit unit);

// The length fields of the settings dialog and the setting each one holds.
enum class LengthSettingField { Kerf, MinOffcut, MinOffcut2, DefaultSheetWidth, DefaultSheetHeight };

// What the dialog does with a length typed into one of its length fields.
struct LengthSettingEdit {
    Msg msg = Msg::Ok;     // Ok: stored; otherwise the message to show
    bool warning = false;  // the message is a warning, not an error
    bool restore = false;  // the field gets its old text back (else it shows `text`)
    std::string text;      // the canonical text, when not restored
};

// Reads `text` (readLengthSetting) and, when it is a length the setting can
// hold, stores it in `s`:
// - Ok: stored; the field shows `text`.
// - a length message (NotANumber, Imperial*): an error, nothing stored, the
//   old text back.
// - CannotConvertValue, not restored: canonical text that still gives no
//   length; a warning, nothing stored.
// - CannotConvertValue, restored: a kerf too long for the 16 bits that hold
//   it (refused, never wrapped); a warning, nothing stored, the old text back.
[[nodiscard]] LengthSettingEdit editLengthSetting(Settings& s, LengthSettingField field, std::string_view text,
                                                  LengthUnit unit);

// A price typed into a price field; false (and the price unchanged) when it
// is no decimal number, below 0 or too large for the single-precision price.
[[nodiscard]] bool readPrice(std::string_view text, float& price);
// The stored price in its shortest decimal form.
[[nodiscard]] std::string priceText(float price);

// Values that read as their kind but lie outside what the program can use
// (a unit code of 9, a search depth of 5): each is set back to its default
// and its name returned.
[[nodiscard]] std::vector<std::string> resetOutOfRange(Settings& s, const Settings& defaults);

// The user guide for `languageName`: Help/velm_help_esp.html for "Español",
// Help/velm_help_eng.html for every other name.
[[nodiscard]] std::string helpDocumentPath(const std::string& programFolder, const std::string& languageName);

// The address of the product's home page.
[[nodiscard]] std::string homePageAddress();

// The sound file to keep: `path` when such a file exists, else the program
// folder's sound.wav (and msg SoundFileMissing).
struct SoundPathCheck {
    Msg msg = Msg::Ok;
    std::string path;
};
[[nodiscard]] SoundPathCheck checkSoundPath(const std::string& path, const std::string& programFolder);

// Text of a window caption: "Velmora Pro - " + name.
[[nodiscard]] std::string windowCaption(const std::string& projectName);
// Project name shown for an opened file: its name without folder and without
// its last four characters (the extension and its dot).
[[nodiscard]] std::string projectNameOf(const std::string& fileName);

} // namespace engine
