#include "output/diagram_key.h"

#include <cstdint>
#include <functional>

namespace output {

std::string diagramKey(const engine::Project& project, const engine::Settings& settings,
                       const engine::LanguageTable& language)
{
    // FNV-1a over the numbers; the result is fingerprinted too, so that a
    // result changed by a command that did not ask for a refresh is never
    // shown from a stale image.
    std::uint64_t h = 1469598103934665603ULL;
    const auto mix = [&h](std::int64_t v) {
        h ^= static_cast<std::uint64_t>(v);
        h *= 1099511628211ULL;
    };
    const engine::CuttingResult& r = project.result;
    mix(project.sheetRowCount());
    mix(static_cast<std::int64_t>(project.input.sheets.size()));
    for (const engine::SheetInstance& s : project.input.sheets) {
        mix(s.len);
        mix(s.wid);
    }
    mix(static_cast<std::int64_t>(r.elements.size()));
    for (const engine::PlacedElement& e : r.elements)
        for (const std::int32_t v : {e.tnb, e.x, e.y, e.x1, e.y1, e.rot, e.enb})
            mix(v);
    mix(static_cast<std::int64_t>(r.offcuts.size()));
    for (const engine::Offcut& o : r.offcuts)
        for (const std::int32_t v : {o.tnb, o.x, o.y, o.x1, o.y1})
            mix(v);
    const engine::Settings& s = settings;
    return std::to_string(h) + '\n' + s.DefFont + '\n' + std::to_string(s.LayoutSrafura) + ' '
        + std::to_string(s.JedMere) + ' ' + std::to_string(s.AreaStyle) + ' ' + std::to_string(s.Testera) + ' '
        + (s.PrintDuplicate ? "1" : "0") + '\n' + language.text(36) + '\n' + language.text(38) + '\n'
        + language.text(70);
}

std::size_t tablesKey(const engine::Project& project)
{
    std::size_t h = 0;
    const std::hash<std::string> hash;
    for (const engine::TextTable* t : {&project.sheets, &project.parts})
        for (int row = 1; row <= t->rowCount(); ++row)
            for (const std::string& cell : t->row(row))
                h = h * 31 + hash(cell);
    return h;
}

} // namespace output
