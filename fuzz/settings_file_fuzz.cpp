// Settings file reader over arbitrary bytes: whatever it accepts lies in the
// range of every setting, and the values it read write back to a file that
// reads as the same values.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/settings.h"
#include "fuzz/fuzz_file.h"

namespace {

// A text with a line break, outer blanks or a leading quote cannot be one
// line of the file as it stands.
bool writable(const std::string& value)
{
    return value.find_first_of("\r\n") == std::string::npos
        && (value.empty()
            || (value.front() != ' ' && value.front() != '\t' && value.back() != ' ' && value.back() != '\t'
                && value.front() != '"'));
}

std::string asFile(engine::Settings& s)
{
    std::string text = "[1.3]\n";
    for (const engine::SettingRef& r : engine::settingRefs(s))
        if (writable(r.toText()))
            text += std::string(r.name) + "=" + r.toText() + "\n";
    return text;
}

// Every value of `a` that a file can hold reads the same in `b`.
bool sameWritableValues(engine::Settings& a, engine::Settings& b)
{
    const auto ra = engine::settingRefs(a);
    const auto rb = engine::settingRefs(b);
    for (std::size_t i = 0; i < ra.size(); ++i)
        if (writable(ra[i].toText()) && ra[i].toText() != rb[i].toText())
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = fuzz::writeInput(data, size, ".ini");
    engine::Settings s = engine::Settings::defaults("/velmora/");
    const engine::Settings before = s;
    const engine::SettingsFileResult r = engine::readSettingsFile(s, path);
    std::remove(path.c_str());
    for (const engine::SettingRef& ref : engine::settingRefs(s))
        if (!ref.inRange())
            __builtin_trap();
    if (!r.problem.ok()) {
        // A refused file changes nothing.
        engine::Settings copy = before;
        if (!sameWritableValues(copy, s) || !sameWritableValues(s, copy))
            __builtin_trap();
        return 0;
    }
    const std::string text = asFile(s);
    const std::string again = fuzz::writeInput(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), ".ini");
    engine::Settings t = engine::Settings::defaults("/velmora/");
    const engine::SettingsFileResult r2 = engine::readSettingsFile(t, again);
    std::remove(again.c_str());
    if (!r2.problem.ok() || !r2.brokenValues.empty() || !sameWritableValues(s, t))
        __builtin_trap();
    return 0;
}
