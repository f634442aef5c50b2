#include "output/diagram_hit_test.h"

#include <algorithm>

namespace output {

const engine::SheetInstance* groupSheet(const engine::Project& project, int group)
{
    const auto& groups = project.result.groups;
    if (group < 0 || group >= static_cast<int>(groups.size()))
        return nullptr;
    const std::int32_t tnb = groups[static_cast<size_t>(group)].tnb;
    const auto& sheets = project.input.sheets;
    if (tnb < 1 || tnb > static_cast<std::int32_t>(sheets.size()))
        return nullptr;
    return &sheets[static_cast<size_t>(tnb - 1)];
}

float diagramScale(std::int32_t sheetLength, std::int32_t sheetHeight, int boxWidth, int boxHeight)
{
    if (boxWidth <= 0 || boxHeight <= 0)
        return 0.0F;
    const float sx = static_cast<float>(sheetLength) / static_cast<float>(boxWidth);
    const float sy = static_cast<float>(sheetHeight) / static_cast<float>(boxHeight);
    return std::max(sx, sy);
}

PieceHit pieceAt(const engine::Project& project, int group, int boxWidth, int boxHeight, int x, int y)
{
    const engine::SheetInstance* sheet = groupSheet(project, group);
    if (!sheet)
        return {};
    const float s = diagramScale(sheet->len, sheet->wid, boxWidth, boxHeight);
    if (!(s > 0.0F))
        return {};
    const auto& offcuts = project.result.offcuts;
    for (size_t i = 0; i < offcuts.size(); ++i)
        if (offcuts[i].tnb == sheet->tnb && strictlyInside(pieceRect(offcuts[i], s), x, y))
            return {PieceKind::Offcut, static_cast<int>(i)};
    const auto& elements = project.result.elements;
    for (size_t i = 0; i < elements.size(); ++i)
        if (elements[i].tnb == sheet->tnb && strictlyInside(pieceRect(elements[i], s), x, y))
            return {PieceKind::Part, static_cast<int>(i)};
    return {};
}

} // namespace output
