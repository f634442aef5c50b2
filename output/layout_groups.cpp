#include "output/layout_groups.h"

#include <map>
#include <unordered_map>

namespace output {

void GroupLayouts(engine::Project& project, bool printDuplicate)
{
    engine::CuttingResult& result = project.result;
    result.groups.clear();
    result.sheetRowUsage.assign(static_cast<size_t>(std::max(0, project.sheetRowCount())), 0);

    // Pieces per part row on every used sheet.
    std::unordered_map<std::int32_t, std::map<std::int32_t, std::int32_t>> counts;
    for (const engine::PlacedElement& e : result.elements)
        ++counts[e.tnb][e.enb];

    struct Representative {
        const engine::SheetInstance* sheet;
        const std::map<std::int32_t, std::int32_t>* counts;
    };
    std::vector<Representative> reps;
    for (const engine::SheetInstance& s : project.input.sheets) {
        const auto it = counts.find(s.tnb);
        if (it == counts.end())
            continue;
        if (s.row >= 1) {
            if (static_cast<size_t>(s.row) > result.sheetRowUsage.size())
                result.sheetRowUsage.resize(static_cast<size_t>(s.row), 0);
            ++result.sheetRowUsage[static_cast<size_t>(s.row - 1)];
        }
        bool joined = false;
        if (printDuplicate) {
            for (size_t g = 0; g < reps.size(); ++g) {
                if (reps[g].sheet->len == s.len && reps[g].sheet->wid == s.wid && *reps[g].counts == it->second) {
                    ++result.groups[g].multiplicity;
                    joined = true;
                    break;
                }
            }
        }
        if (!joined) {
            result.groups.push_back({s.tnb, 1});
            reps.push_back({&s, &it->second});
        }
    }
}

} // namespace output
