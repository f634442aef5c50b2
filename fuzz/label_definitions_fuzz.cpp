// Label definitions reader over arbitrary bytes; what it accepts is laid out:
// every style converts or names what does not, and the page check never
// lets a style through whose labels leave the page.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "labels/label_definitions.h"
#include "labels/label_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto d = labels::parseLabelDefinitions(text, "fuzz.xml");
    if (!d.ok())
        return 0;
    const int active = d->activeStyle();
    if (active >= static_cast<int>(d->styles.size()) || (active < 0 && !d->styles.empty()))
        __builtin_trap();
    for (const labels::LabelStyle& s : d->styles) {
        const auto g = labels::labelGeometry(s);
        if (!g.ok())
            continue;
        const labels::LabelPaper a4{210, 297, 0, 0};
        if (!labels::checkLabelStyle(s, *g, a4).ok())
            continue;
        if (g->rows <= 0 || g->columns <= 0)
            __builtin_trap();
        const labels::LabelSpot first = labels::labelSpot(*g, 0, 0);
        if (first.xMm + g->L > 210.01 || first.yMm + g->H > 297.01 || first.xMm < 0 || first.yMm < 0)
            __builtin_trap();
    }
    return 0;
}
