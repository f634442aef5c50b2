#pragma once

#include <cstdint>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "engine/msg.h"

namespace engine {

// Every user-adjustable value of the program, named as in the settings
// store, with its default. The desktop program reads and writes these through
// its store; the CLI and the tests use them directly.
struct Settings {
    std::string iLang;
    std::string Jezik = "Srpski";
    std::int32_t JedMere = 1;
    std::int32_t AreaStyle = 1;
    bool Zvuk = true;
    std::string SoundPath;              // program folder + "sound.wav"
    std::string DefFont = "Arial";
    std::int32_t StatFontSize = 8;
    std::string ProjectPath;            // program folder + "Projects/" (programDataPath)
    bool PrintCover = false;
    bool PrintReport = false;
    bool PrintDuplicate = true;
    bool ManualDuplicate = true;
    std::uint16_t Testera = 4;          // saw kerf, internal length
    bool Kantiranje = false;
    std::int32_t Visak = 60;
    std::int32_t Visak2 = 60;
    std::int32_t NADMERA = 40;
    float CENA1 = 0;
    float CENA2 = 0;
    float CENA3 = 0;
    float CENA4 = 0;
    std::string CompanyName = "Norvik";
    std::string CompanyDetails = " - Creator of the Velmora";
    std::string DateFormat = "dd/mm/yyyy";
    std::int32_t LayoutSrafura = 30;
    bool LoadSema = true;
    bool LoadReport = true;
    std::int32_t DefSheetWidth = 270;
    std::int32_t DefSheetHeight = 190;
    std::string rp1, rp2, rp3, rp4, rp5;
    bool XlConvComma = true;
    std::int32_t XlAutoPref = 1;
    bool XlAppend = true;
    bool frmpos = true;
    std::int32_t frmtop = 10;
    std::int32_t frmleft = 10;
    std::int32_t frmwidth = 0;
    std::int32_t frmheight = 0;
    std::int32_t frmstate = 0;
    std::int32_t manparam = 2;
    std::int32_t autoparam = 2;
    bool DeepOpt = false;               // the deep optimisation after the automatic run

    // The defaults, with the paths that depend on the program folder
    // (which ends in a separator).
    [[nodiscard]] static Settings defaults(const std::string& programFolder);
};

enum class SettingKind { Text, Integer, Flag, Decimal };

// One value of the store: its name, kind and where it lives in a Settings.
struct SettingRef {
    const char* name;
    SettingKind kind;
    std::string* text = nullptr;
    std::int32_t* integer = nullptr;
    std::uint16_t* word = nullptr;  // Testera: an integer held in 16 bits
    bool* flag = nullptr;
    float* decimal = nullptr;
    // The range an integer value must lie in (a unit code 0..5, a kerf that
    // fits its 16 bits). Decimals (prices) must be finite, 0 or more and fit
    // a single-precision float.
    std::int64_t minimum = INT32_MIN;
    std::int64_t maximum = INT32_MAX;

    [[nodiscard]] std::string toText() const;
    // Sets the value from text of its kind; false, and the value unchanged,
    // when the text is not of its kind or lies outside the value's range.
    [[nodiscard]] bool fromText(std::string_view value) const;
    // True when the value held now lies in its range.
    [[nodiscard]] bool inRange() const;
};

// All values in the order start-up reads them.
[[nodiscard]] std::vector<SettingRef> settingRefs(Settings& s);

// The order in which the close handler writes them back.
[[nodiscard]] const std::vector<std::string_view>& settingsWriteOrder();

// Sets one value by name from text ("JedMere=0" style). An unknown name gives
// CannotConvertValue with the name; a value of the wrong kind or outside the
// value's range gives SettingOutOfRange with "NAME=VALUE"; either way the
// setting keeps its value.
[[nodiscard]] Status setSetting(Settings& s, std::string_view name, std::string_view value);

// Reads name=value lines (sections, blank lines and ';' / '#' comments are
// skipped; quoted values are unquoted; a UTF-8 byte order mark is dropped;
// names the program does not know are skipped) over `s`. A value of the
// wrong kind or outside its range is reported and left at what it was;
// reading goes on. A file that cannot be read (FileMissing, FileNotRegular,
// FileTooLarge, FileCannotRead), or is no text of such lines (UTF-16, NUL
// bytes, a line without '=': SettingsFileUnreadable with the path and the
// line) sets `problem` and changes nothing.
struct SettingsFileResult {
    bool opened = false;
    Status problem;
    std::vector<std::string> brokenValues;  // "NAME=VALUE" of values of the wrong kind or range
};
SettingsFileResult readSettingsFile(Settings& s, const std::string& path);

} // namespace engine
