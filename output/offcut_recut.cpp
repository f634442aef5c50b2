#include "output/offcut_recut.h"

#include <cstdint>

namespace output {

RecutResult recutOffcuts(engine::CuttingResult& result, int first, int second)
{
    RecutResult res;
    const int n = static_cast<int>(result.offcuts.size());
    if (first < 0 || second < 0 || first >= n || second >= n || first == second)
        return res;
    engine::Offcut& a = result.offcuts[static_cast<size_t>(first)];
    engine::Offcut& b = result.offcuts[static_cast<size_t>(second)];
    if (a.tnb != b.tnb)
        return res;

    // Corners as (x1, y1) - (x2, y2): the fields x, y and x1, y1.
    struct Box {
        std::int32_t x1, y1, x2, y2;
    };
    const auto boxOf = [](const engine::Offcut& o) { return Box{o.x, o.y, o.x1, o.y1}; };
    const auto store = [](engine::Offcut& o, const Box& b) {
        o.x = b.x1;
        o.y = b.y1;
        o.x1 = b.x2;
        o.y1 = b.y2;
    };

    {
        engine::Offcut& pRef = a.x <= b.x ? a : b;
        engine::Offcut& qRef = &pRef == &a ? b : a;
        const Box P = boxOf(pRef);
        const Box Q = boxOf(qRef);
        if (P.x2 == Q.x1 && P.y1 < Q.y2 && Q.y1 < P.y2) {
            res.outcome = RecutOutcome::SideBySide;
            res.changed = true;
            if (P.y1 == Q.y1 && P.y2 < Q.y2) {
                store(pRef, {P.x1, P.y1, Q.x2, P.y2});
                store(qRef, {Q.x1, P.y2, Q.x2, Q.y2});
            } else if (P.y1 == Q.y1 && Q.y2 < P.y2) {
                store(pRef, {P.x1, P.y1, Q.x2, Q.y2});
                store(qRef, {P.x1, Q.y2, P.x2, P.y2});
            } else if (P.y2 == Q.y2 && P.y1 > Q.y1) {
                store(pRef, {P.x1, P.y1, Q.x2, P.y2});
                store(qRef, {Q.x1, Q.y1, Q.x2, P.y1});
            } else if (P.y2 == Q.y2 && Q.y1 > P.y1) {
                store(pRef, {P.x1, Q.y1, Q.x2, P.y2});
                store(qRef, {P.x1, P.y1, P.x2, Q.y1});
            } else {
                res.changed = false;
            }
            return res;
        }
    }

    engine::Offcut& pRef = a.y <= b.y ? a : b;
    engine::Offcut& qRef = &pRef == &a ? b : a;
    const Box P = boxOf(pRef);
    const Box Q = boxOf(qRef);
    if (!(P.y2 == Q.y1 && P.x1 < Q.x2 && Q.x1 < P.x2))
        return res;
    res.outcome = RecutOutcome::Stacked;
    res.changed = true;
    if (P.x1 == Q.x1 && P.x2 < Q.x2) {
        store(pRef, {P.x1, P.y1, P.x2, Q.y2});
        store(qRef, {P.x2, Q.y1, Q.x2, Q.y2});
    } else if (P.x1 == Q.x1 && Q.x2 < P.x2) {
        store(pRef, {P.x1, P.y1, Q.x2, Q.y2});
        store(qRef, {Q.x2, P.y1, P.x2, Q.y1});
    } else if (P.x2 == Q.x2 && P.x1 > Q.x1) {
        store(pRef, {P.x1, P.y1, P.x2, Q.y2});
        store(qRef, {Q.x1, Q.y1, P.x1, Q.y2});
    } else if (P.x2 == Q.x2 && Q.x1 > P.x1) {
        store(pRef, {Q.x1, P.y1, P.x2, Q.y2});
        store(qRef, {P.x1, P.y1, Q.x1, Q.y1});
    } else {
        res.changed = false;
    }
    return res;
}

ClickOutcome clickDiagram(engine::CuttingResult& result, DiagramState& state)
{
    if (state.selectedOffcut == kNoSelection) {
        state.selectedOffcut = state.pieceUnderPointer;
        return ClickOutcome::Selected;
    }
    if (state.pieceUnderPointer == state.selectedOffcut) {
        state.selectedOffcut = kNoSelection;
        return ClickOutcome::Deselected;
    }
    // Only two offcuts can be re-cut; a pair with a part (index -1) changes nothing.
    if (state.selectedOffcut < 0 || state.pieceUnderPointer < 0)
        return ClickOutcome::Nothing;
    const RecutResult r = recutOffcuts(result, state.selectedOffcut, state.pieceUnderPointer);
    if (r.outcome == RecutOutcome::NotAdjacent)
        return ClickOutcome::Nothing;
    state.selectedOffcut = kNoSelection;
    return ClickOutcome::Recut;
}

} // namespace output
