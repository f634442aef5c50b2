#include "output/offcut_recut.h"

#include <gtest/gtest.h>

namespace {

using output::DiagramState;

engine::Offcut box(int x1, int y1, int x2, int y2) { return {1, x1, y1, x2, y2}; }

struct RecutCase {
    engine::Offcut p, q, wantP, wantQ;
    output::RecutOutcome outcome;
};

TEST(DiagramRecut, EveryArrangement)
{
    using output::RecutOutcome;
    const std::vector<RecutCase> cases = {
        // side by side, same top, P ends higher (200 and 300 high)
        {box(0, 0, 100, 200), box(100, 0, 250, 300), box(0, 0, 250, 200), box(100, 200, 250, 300),
         RecutOutcome::SideBySide},
        // side by side, same top, Q ends higher
        {box(0, 0, 100, 300), box(100, 0, 250, 200), box(0, 0, 250, 200), box(0, 200, 100, 300),
         RecutOutcome::SideBySide},
        // side by side, same bottom, P starts lower
        {box(0, 100, 100, 300), box(100, 0, 250, 300), box(0, 100, 250, 300), box(100, 0, 250, 100),
         RecutOutcome::SideBySide},
        // side by side, same bottom, Q starts lower
        {box(0, 0, 100, 300), box(100, 100, 250, 300), box(0, 100, 250, 300), box(0, 0, 100, 100),
         RecutOutcome::SideBySide},
        // stacked, same left, P narrower
        {box(0, 0, 100, 100), box(0, 100, 200, 300), box(0, 0, 100, 300), box(100, 100, 200, 300),
         RecutOutcome::Stacked},
        // stacked, same left, Q narrower
        {box(0, 0, 200, 100), box(0, 100, 100, 300), box(0, 0, 100, 300), box(100, 0, 200, 100),
         RecutOutcome::Stacked},
        // stacked, same right, P starts further right
        {box(100, 0, 200, 100), box(0, 100, 200, 300), box(100, 0, 200, 300), box(0, 100, 100, 300),
         RecutOutcome::Stacked},
        // stacked, same right, Q starts further right
        {box(0, 0, 200, 100), box(100, 100, 200, 300), box(100, 0, 200, 300), box(0, 0, 100, 100),
         RecutOutcome::Stacked},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const RecutCase& k = cases[i];
        for (const bool swapped : {false, true}) {
            engine::CuttingResult r;
            r.offcuts = swapped ? std::vector<engine::Offcut>{k.q, k.p} : std::vector<engine::Offcut>{k.p, k.q};
            const auto res = output::recutOffcuts(r, 0, 1);
            EXPECT_EQ(res.outcome, k.outcome);
            EXPECT_TRUE(res.changed);
            EXPECT_EQ(r.offcuts[swapped ? 1 : 0], k.wantP);
            EXPECT_EQ(r.offcuts[swapped ? 0 : 1], k.wantQ);
        }
    }
}

TEST(DiagramRecut, ArrangementsThatChangeNothing)
{
    const std::vector<std::pair<engine::Offcut, engine::Offcut>> pairs = {
        {box(0, 0, 100, 100), box(100, 100, 200, 200)},  // corner only
        {box(0, 0, 100, 300), box(100, 50, 250, 250)},   // side by side, neither edge shared
        {box(0, 0, 100, 300), box(100, 0, 250, 300)},    // the same extent
        {box(0, 0, 100, 100), box(300, 0, 400, 100)},    // apart
    };
    for (const auto& [a, b] : pairs) {
        engine::CuttingResult r;
        r.offcuts = {a, b};
        EXPECT_FALSE(output::recutOffcuts(r, 0, 1).changed);
        EXPECT_EQ(r.offcuts, (std::vector<engine::Offcut>{a, b}));
    }
    engine::CuttingResult other;
    other.offcuts = {box(0, 0, 100, 200), {2, 100, 0, 250, 300}};  // different sheets
    EXPECT_EQ(output::recutOffcuts(other, 0, 1).outcome, output::RecutOutcome::NotAdjacent);
    EXPECT_EQ(output::recutOffcuts(other, 0, 0).outcome, output::RecutOutcome::NotAdjacent);
    EXPECT_EQ(output::recutOffcuts(other, 0, 9).outcome, output::RecutOutcome::NotAdjacent);
}

TEST(DiagramClick, SelectDeselectAndRecut)
{
    engine::CuttingResult r;
    r.offcuts = {box(0, 0, 100, 200), box(100, 0, 250, 300), box(500, 500, 600, 600)};
    DiagramState s;
    s.pieceUnderPointer = 0;
    EXPECT_EQ(output::clickDiagram(r, s), output::ClickOutcome::Selected);
    EXPECT_EQ(s.selectedOffcut, 0);
    EXPECT_EQ(output::clickDiagram(r, s), output::ClickOutcome::Deselected);
    EXPECT_EQ(s.selectedOffcut, output::kNoSelection);

    output::clickDiagram(r, s);
    s.pieceUnderPointer = 2;  // not adjacent: the selection stays
    EXPECT_EQ(output::clickDiagram(r, s), output::ClickOutcome::Nothing);
    EXPECT_EQ(s.selectedOffcut, 0);
    s.pieceUnderPointer = 1;
    EXPECT_EQ(output::clickDiagram(r, s), output::ClickOutcome::Recut);
    EXPECT_EQ(s.selectedOffcut, output::kNoSelection);
    EXPECT_EQ(r.offcuts[0], box(0, 0, 250, 200));
    EXPECT_EQ(r.offcuts[1], box(100, 200, 250, 300));
}

TEST(DiagramClick, APairWithAPartChangesNothing)
{
    engine::CuttingResult r;
    r.offcuts = {box(0, 0, 100, 200), box(100, 0, 250, 300)};
    const auto before = r.offcuts;
    DiagramState s;
    s.pieceUnderPointer = -1;  // first click over a part
    EXPECT_EQ(output::clickDiagram(r, s), output::ClickOutcome::Selected);
    EXPECT_EQ(s.selectedOffcut, -1);
    s.pieceUnderPointer = 1;
    EXPECT_EQ(output::clickDiagram(r, s), output::ClickOutcome::Nothing);
    s.selectedOffcut = 0;
    s.pieceUnderPointer = -1;
    EXPECT_EQ(output::clickDiagram(r, s), output::ClickOutcome::Nothing);
    EXPECT_EQ(r.offcuts, before);
}

} // namespace
