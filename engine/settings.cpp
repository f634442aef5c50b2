#include "engine/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/file_io.h"
#include "engine/paths.h"
#include "engine/units.h"

namespace engine {

Settings Settings::defaults(const std::string& programFolder)
{
    Settings s;
    s.SoundPath = programFolder + "sound.wav";
    s.ProjectPath = programDataPath(programFolder, "Projects/");
    return s;
}

std::vector<SettingRef> settingRefs(Settings& s)
{
    using K = SettingKind;
    auto t = [](const char* n, std::string& v) { SettingRef r{n, K::Text}; r.text = &v; return r; };
    auto i = [](const char* n, std::int32_t& v, std::int64_t lo = INT32_MIN, std::int64_t hi = INT32_MAX) {
        SettingRef r{n, K::Integer};
        r.integer = &v;
        r.minimum = lo;
        r.maximum = hi;
        return r;
    };
    auto w = [](const char* n, std::uint16_t& v) {
        SettingRef r{n, K::Integer};
        r.word = &v;
        r.minimum = 0;
        r.maximum = 65535;
        return r;
    };
    constexpr std::int64_t kAny = INT32_MAX;
    auto f = [](const char* n, bool& v) { SettingRef r{n, K::Flag}; r.flag = &v; return r; };
    auto d = [](const char* n, float& v) { SettingRef r{n, K::Decimal}; r.decimal = &v; return r; };
    return {
        t("iLang", s.iLang), t("Jezik", s.Jezik), i("JedMere", s.JedMere, 0, 5), i("AreaStyle", s.AreaStyle, 0, 5),
        f("Zvuk", s.Zvuk), t("SoundPath", s.SoundPath), t("DefFont", s.DefFont),
        i("StatFontSize", s.StatFontSize, 1, 200), t("ProjectPath", s.ProjectPath), f("PrintCover", s.PrintCover),
        f("PrintReport", s.PrintReport), f("PrintDuplicate", s.PrintDuplicate),
        f("ManualDuplicate", s.ManualDuplicate), w("Testera", s.Testera), f("Kantiranje", s.Kantiranje),
        i("Visak", s.Visak, 0, kAny), i("Visak2", s.Visak2, 0, kAny), i("NADMERA", s.NADMERA), d("CENA1", s.CENA1),
        d("CENA2", s.CENA2), d("CENA3", s.CENA3), d("CENA4", s.CENA4), t("CompanyName", s.CompanyName),
        t("CompanyDetails", s.CompanyDetails), t("DateFormat", s.DateFormat),
        i("LayoutSrafura", s.LayoutSrafura, 5, 50), f("LoadSema", s.LoadSema), f("LoadReport", s.LoadReport),
        i("DefSheetWidth", s.DefSheetWidth, 0, kAny), i("DefSheetHeight", s.DefSheetHeight, 0, kAny), t("rp1", s.rp1),
        t("rp2", s.rp2), t("rp3", s.rp3), t("rp4", s.rp4), t("rp5", s.rp5), f("XlConvComma", s.XlConvComma),
        i("XlAutoPref", s.XlAutoPref, 0, 2), f("XlAppend", s.XlAppend), f("frmpos", s.frmpos), i("frmtop", s.frmtop),
        i("frmleft", s.frmleft), i("frmwidth", s.frmwidth), i("frmheight", s.frmheight),
        i("frmstate", s.frmstate, 0, 2), i("manparam", s.manparam, 0, 2), i("autoparam", s.autoparam, 0, 2),
        f("DeepOpt", s.DeepOpt),
    };
}

const std::vector<std::string_view>& settingsWriteOrder()
{
    static const std::vector<std::string_view> order = {
        "Jezik", "JedMere", "AreaStyle", "Testera", "CENA1", "CENA2", "CENA3", "CENA4", "Visak", "Visak2",
        "NADMERA", "Kantiranje", "Zvuk", "SoundPath", "ProjectPath", "CompanyName", "CompanyDetails",
        "DateFormat", "DefFont", "StatFontSize", "PrintDuplicate", "PrintCover", "PrintReport",
        "LayoutSrafura", "LoadSema", "LoadReport", "DefSheetWidth", "DefSheetHeight", "rp1", "rp2", "rp3",
        "rp4", "rp5", "XlConvComma", "XlAutoPref", "XlAppend", "frmpos", "frmtop", "frmleft", "frmwidth",
        "frmheight", "frmstate", "manparam", "ManualDuplicate", "autoparam", "DeepOpt",
    };
    return order;
}

std::string SettingRef::toText() const
{
    switch (kind) {
    case SettingKind::Text: return *text;
    case SettingKind::Integer: return std::to_string(word ? static_cast<std::int32_t>(*word) : *integer);
    case SettingKind::Flag: return *flag ? "1" : "0";
    case SettingKind::Decimal: return formatGeneral(static_cast<double>(*decimal));
    }
    return {};
}

bool SettingRef::fromText(std::string_view value) const
{
    switch (kind) {
    case SettingKind::Text:
        *text = std::string(value);
        return true;
    case SettingKind::Integer: {
        std::int32_t v = 0;
        if (!parseInteger(value, v) || v < minimum || v > maximum)
            return false;
        if (word)
            *word = static_cast<std::uint16_t>(v);
        else
            *integer = v;
        return true;
    }
    case SettingKind::Flag: {
        if (value == "true" || value == "True") {
            *flag = true;
            return true;
        }
        if (value == "false" || value == "False") {
            *flag = false;
            return true;
        }
        std::int32_t v = 0;
        if (!parseInteger(value, v))
            return false;
        *flag = v != 0;
        return true;
    }
    case SettingKind::Decimal: {
        double v = 0;
        if (!parseDecimal(value, v) || !std::isfinite(v) || v < 0 || v > std::numeric_limits<float>::max())
            return false;
        *decimal = static_cast<float>(v);
        return true;
    }
    }
    return false;
}

bool SettingRef::inRange() const
{
    switch (kind) {
    case SettingKind::Integer: {
        const std::int64_t v = word ? *word : *integer;
        return v >= minimum && v <= maximum;
    }
    case SettingKind::Decimal: return std::isfinite(*decimal) && *decimal >= 0;
    default: return true;
    }
}

Status setSetting(Settings& s, std::string_view name, std::string_view value)
{
    for (const SettingRef& r : settingRefs(s)) {
        if (name == r.name) {
            if (!r.fromText(value))
                return Status(Msg::SettingOutOfRange, {std::string(name) + "=" + std::string(value)});
            return {};
        }
    }
    return Status(Msg::CannotConvertValue, {std::string(name)});
}

SettingsFileResult readSettingsFile(Settings& s, const std::string& path)
{
    SettingsFileResult result;
    const Result<std::string> bytes = readWholeFile(path, FileLimit::kSettings);
    if (!bytes.ok()) {
        result.problem = bytes.error();
        return result;
    }
    result.opened = true;
    std::string_view text = *bytes;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    // A UTF-16 file or binary data would otherwise be read as lines without
    // '=' and skipped, and the command would go on with the defaults.
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF") || text.find('\0') != std::string_view::npos) {
        result.problem = Status(Msg::SettingsFileUnreadable, {path});
        return result;
    }

    // The values are set on a copy, so that a file refused halfway changes nothing.
    Settings read = s;
    const std::vector<SettingRef> refs = settingRefs(read);
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = text.size();
        std::string line(text.substr(pos, eol - pos));
        pos = eol + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '[' || line[first] == ';' || line[first] == '#')
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            result.problem = Status(Msg::SettingsFileUnreadable, {path, "line " + std::to_string(lineNumber)});
            return result;
        }
        std::string name = line.substr(first, eq - first);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
            name.pop_back();
        std::string value = line.substr(eq + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.erase(value.begin());
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
            value.pop_back();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        // QSettings keeps nested keys as "group\\name" or "group/name".
        if (const size_t slash = name.find_last_of("/\\"); slash != std::string::npos)
            name = name.substr(slash + 1);
        const auto it = std::find_if(refs.begin(), refs.end(), [&](const SettingRef& r) { return name == r.name; });
        if (it == refs.end())
            continue;
        if (!it->fromText(value))
            result.brokenValues.push_back(name + "=" + value);
    }
    s = std::move(read);
    return result;
}

} // namespace engine
