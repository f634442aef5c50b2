#include "engine/settings_edit.h"

#include <filesystem>
#include <system_error>

namespace engine {

LengthSetting readLengthSetting(std::string_view text, LengthUnit unit)
{
    LengthSetting r;
    const NormalizedLength n = NormalizeLengthText(text, unit);
    if (n.msg != Msg::Ok) {
        r.msg = n.msg;
        return r;
    }
    r.text = n.hasText ? n.text : std::string(text);
    r.value = ParseLength(unit, r.text);
    if (r.value < 0)
        r.msg = Msg::CannotConvertValue;
    return r;
}

bool readPrice(std::string_view text, float& price)
{
    double v = 0;
    if (!parseDecimal(text, v))
        return false;
    price = static_cast<float>(v);
    return true;
}

std::string priceText(float price) { return formatGeneral(static_cast<double>(price)); }

std::vector<std::string> resetOutOfRange(Settings& s, const Settings& d)
{
    std::vector<std::string> names;
    const auto check = [&](const char* name, std::int32_t& v, std::int32_t def, std::int32_t lo, std::int32_t hi) {
        if (v < lo || v > hi) {
            v = def;
            names.emplace_back(name);
        }
    };
    check("JedMere", s.JedMere, d.JedMere, 0, 5);
    check("AreaStyle", s.AreaStyle, d.AreaStyle, 0, 5);
    check("StatFontSize", s.StatFontSize, d.StatFontSize, 1, 200);
    check("LayoutSrafura", s.LayoutSrafura, d.LayoutSrafura, 5, 50);
    check("XlAutoPref", s.XlAutoPref, d.XlAutoPref, 0, 2);
    check("frmstate", s.frmstate, d.frmstate, 0, 2);
    check("manparam", s.manparam, d.manparam, 0, 2);
    check("autoparam", s.autoparam, d.autoparam, 0, 2);
    check("Visak", s.Visak, d.Visak, 0, 2147483647);
    check("Visak2", s.Visak2, d.Visak2, 0, 2147483647);
    check("DefSheetWidth", s.DefSheetWidth, d.DefSheetWidth, 0, 2147483647);
    check("DefSheetHeight", s.DefSheetHeight, d.DefSheetHeight, 0, 2147483647);
    return names;
}

std::string helpDocumentPath(const std::string& programFolder, const std::string& languageName)
{
    // The name may come from an 8-bit settings file (ñ = F1) or as UTF-8.
    const bool spanish = languageName == "Espa\xC3\xB1ol" || languageName == "Espa\xF1ol";
    return programFolder + (spanish ? "Help/velm_help_esp.html" : "Help/velm_help_eng.html");
}

std::string homePageAddress() { return "https://www.velmora.example/"; }

SoundPathCheck checkSoundPath(const std::string& path, const std::string& programFolder)
{
    std::error_code ec;
    if (!path.empty() && std::filesystem::is_regular_file(path, ec))
        return {Msg::Ok, path};
    return {Msg::SoundFileMissing, programFolder + "sound.wav"};
}

std::string windowCaption(const std::string& projectName) { return "Velmora Pro - " + projectName; }

std::string projectNameOf(const std::string& fileName)
{
    std::string name = std::filesystem::path(fileName).filename().string();
    return name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
}

} // namespace engine
