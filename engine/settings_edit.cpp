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

LengthSettingEdit editLengthSetting(Settings& s, LengthSettingField field, std::string_view text, LengthUnit unit)
{
    const LengthSetting r = readLengthSetting(text, unit);
    if (r.msg == Msg::CannotConvertValue)
        return {r.msg, true, false, r.text};
    if (r.msg != Msg::Ok)
        return {r.msg, false, true, {}};
    switch (field) {
    case LengthSettingField::Kerf:
        // setSetting holds the range of the stored kerf.
        if (!setSetting(s, "Testera", std::to_string(r.value)).ok())
            return {Msg::CannotConvertValue, true, true, {}};
        break;
    case LengthSettingField::MinOffcut: s.Visak = r.value; break;
    case LengthSettingField::MinOffcut2: s.Visak2 = r.value; break;
    case LengthSettingField::DefaultSheetWidth: s.DefSheetWidth = r.value; break;
    case LengthSettingField::DefaultSheetHeight: s.DefSheetHeight = r.value; break;
    }
    return {Msg::Ok, false, false, r.text};
}

bool readPrice(std::string_view text, float& price)
{
    // The price fields write the same setting as the settings store, with its checks.
    float v = price;
    SettingRef ref{"price", SettingKind::Decimal};
    ref.decimal = &v;
    if (!ref.fromText(text))
        return false;
    price = v;
    return true;
}

std::string priceText(float price) { return formatGeneral(static_cast<double>(price)); }

std::vector<std::string> resetOutOfRange(Settings& s, const Settings& d)
{
    std::vector<std::string> names;
    Settings defaults = d;
    const std::vector<SettingRef> refs = settingRefs(s);
    const std::vector<SettingRef> fallback = settingRefs(defaults);
    for (size_t i = 0; i < refs.size(); ++i) {
        if (refs[i].inRange())
            continue;
        // The default itself lies in range, so its text always reads back.
        (void)refs[i].fromText(fallback[i].toText());
        names.emplace_back(refs[i].name);
    }
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
