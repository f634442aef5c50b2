#include "engine/manual_session.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;

// Engine input as the preparation step leaves it: sheets in list order with
// tnb = position + 1, one demand row per part row (footprints given here).
struct Fixture {
    Project project;
    log3 engine;

    void sheets(std::initializer_list<std::pair<int, int>> sizes)
    {
        int row = 0;
        for (const auto& [len, wid] : sizes) {
            SheetInstance s;
            s.len = len;
            s.wid = wid;
            s.rowQty = 1;
            s.tnb = static_cast<std::int32_t>(project.input.sheets.size() + 1);
            s.row = ++row;
            project.input.sheets.push_back(s);
        }
    }
    void part(int len, int wid, int qty, int lock = 1)
    {
        const auto row = static_cast<std::int32_t>(project.input.parts.size() + 1);
        project.input.parts.push_back({len, wid, qty, row, lock});
        project.input.remaining.push_back({len, wid, qty, row, lock});
        project.input.totalParts += qty;
        project.input.totalPartsManual += qty;
    }
    std::vector<PlacedElement> elementsOn(std::int32_t tnb) const
    {
        std::vector<PlacedElement> out;
        for (PlacedElement e : project.result.elements)
            if (e.tnb == tnb) {
                e.tnb = 0;
                out.push_back(e);
            }
        return out;
    }
    std::vector<Offcut> offcutsOn(std::int32_t tnb) const
    {
        std::vector<Offcut> out;
        for (Offcut o : project.result.offcuts)
            if (o.tnb == tnb) {
                o.tnb = 0;
                out.push_back(o);
            }
        return out;
    }
};

TEST(ManualEnter, NothingFitsAsEnteredGivesMessage3)
{
    Fixture f;
    f.sheets({{500, 300}});
    f.part(250, 450, 1, 0);  // fits only turned
    ManualSession s(f.project, f.engine);
    EXPECT_EQ(s.enterPrepared().msg, Msg::ManualNothingFits);
    EXPECT_EQ(s.state(), ManualState::Off);
}

TEST(ManualEnter, FirstSheetOnWhichAPartFitsAsEntered)
{
    Fixture f;
    f.sheets({{500, 300}, {600, 500}, {2000, 1000}});
    f.part(250, 450, 1, 0);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    EXPECT_EQ(s.currentSheet(), 2);
    EXPECT_EQ(s.state(), ManualState::WaitingForStart);
    EXPECT_EQ(s.partRowCount(), 1);
}

TEST(ManualStart, BadNumbersRunNoSearch)
{
    Fixture f;
    f.sheets({{1000, 600}});
    f.part(500, 200, 1);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    const Status a = s.start("0,001", "92", 2);
    EXPECT_EQ(a.msg, Msg::ManualAlphaNotANumber);
    EXPECT_EQ(a.args, std::vector<std::string>{"0,001"});
    EXPECT_EQ(s.start("0.001", "9.5", 2).msg, Msg::ManualPiNotAPercent);
    EXPECT_EQ(s.start("0.001", "101", 2).msg, Msg::ManualPiNotAPercent);
    EXPECT_EQ(s.start("0.001", "-1", 2).msg, Msg::ManualPiNotAPercent);
    EXPECT_EQ(s.start("1e60", "92", 2).msg, Msg::ManualAlphaNotANumber);  // no 32-bit float
    EXPECT_EQ(f.engine.generation(), 0u);
    EXPECT_TRUE(s.candidates().empty());
    EXPECT_EQ(s.state(), ManualState::WaitingForStart);
}

TEST(ManualStart, NoBlockGivesNoLayout)
{
    Fixture f;
    // A part whose area does not fit in 32 bits makes no block.
    f.sheets({{65536, 65536}});
    f.part(65536, 65536, 1);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    EXPECT_EQ(s.start("0.001", "92", 2).msg, Msg::ManualNoLayout);
    EXPECT_EQ(s.state(), ManualState::WaitingForStart);
    EXPECT_FALSE(s.accept(0, true).accepted);
}

TEST(ManualAccept, TurnedPartPlacedAndOffcutsFromWasteAndOutside)
{
    Fixture f;
    f.sheets({{1000, 700}});
    f.part(1000, 400, 1);     // row 1, fits as entered
    f.part(200, 1000, 1, 0);  // row 2, fits only turned
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    ASSERT_TRUE(s.start("0.001", "92", 2).ok());
    ASSERT_FALSE(s.candidates().empty());
    const Block best = s.candidateBlock(0);
    EXPECT_EQ(best.items, (std::vector<BlockItem>{{1, 0, 0}, {4, 0, 400}}));
    EXPECT_EQ(s.candidatePieces(0), (std::vector<ManualPiece>{{0, 0, 1000, 400, 0}, {0, 400, 1000, 200, 1}}));
    EXPECT_EQ(s.candidateWaste(0), 1000 * 100);
    const ManualAcceptOutcome out = s.accept(0, true);
    EXPECT_TRUE(out.accepted);
    EXPECT_TRUE(out.finished);
    EXPECT_EQ(out.message, Msg::ManualLastSheet);
    EXPECT_EQ(f.elementsOn(1), (std::vector<PlacedElement>{{0, 0, 0, 1000, 400, 0, 1}, {0, 0, 400, 1000, 600, 1, 2}}));
    EXPECT_EQ(f.offcutsOn(1), (std::vector<Offcut>{{0, 0, 600, 1000, 700}}));
    EXPECT_EQ(f.project.input.remaining[0].qty, 0);
    EXPECT_EQ(f.project.input.remaining[1].qty, 0);
    EXPECT_EQ(s.state(), ManualState::Off);
}

TEST(ManualAccept, WasteMarkersBecomeOffcuts)
{
    Fixture f;
    f.sheets({{1000, 600}, {1000, 600}});
    f.part(500, 200, 1);
    f.part(300, 100, 1);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    ASSERT_TRUE(s.start("1", "100", 0).ok());
    const Block best = s.candidateBlock(0);
    ASSERT_EQ(best.items, (std::vector<BlockItem>{{1, 0, 0}, {2, 0, 200}, {0, 300, 200}, {0, 500, 300}}));
    const ManualAcceptOutcome out = s.accept(0, true);
    EXPECT_TRUE(out.finished);  // nothing left for sheet 2
    EXPECT_EQ(out.message, Msg::Ok);
    EXPECT_EQ(f.offcutsOn(1),
              (std::vector<Offcut>{{0, 300, 200, 500, 300}, {0, 500, 0, 1000, 300}, {0, 0, 300, 1000, 600}}));
}

// Three identical sheets, a larger one after them, and parts for three
// copies of the first layout.
TEST(ManualDuplicate, CopiesOntoIdenticalSheetsAndMovesOn)
{
    Fixture f;
    f.sheets({{1000, 600}, {1000, 600}, {1000, 600}, {2000, 1000}});
    f.part(500, 600, 6);
    f.part(300, 300, 1);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    ASSERT_TRUE(s.start("0.001", "92", 2).ok());
    ASSERT_EQ(s.candidateBlock(0).items, (std::vector<BlockItem>{{1, 0, 0}, {1, 500, 0}}));
    const ManualAcceptOutcome out = s.accept(0, true);
    EXPECT_EQ(out.copies, 2);
    EXPECT_FALSE(out.finished);
    EXPECT_EQ(s.currentSheet(), 4);
    EXPECT_EQ(f.elementsOn(2), f.elementsOn(1));
    EXPECT_EQ(f.elementsOn(3), f.elementsOn(1));
    EXPECT_EQ(f.offcutsOn(3), f.offcutsOn(1));
    EXPECT_EQ(f.project.input.remaining[0].qty, 0);
    // The next search sees only the rows with parts left.
    ASSERT_EQ(s.engineRows().size(), 1u);
    EXPECT_EQ(s.engineRows()[0].row, 2);
    EXPECT_EQ(s.state(), ManualState::WaitingForStart);
}

TEST(ManualDuplicate, OnePieceShortMakesNoCopy)
{
    Fixture f;
    f.sheets({{1000, 600}, {1000, 600}, {1000, 600}});
    f.part(500, 600, 3);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    ASSERT_TRUE(s.start("0.001", "92", 2).ok());
    const ManualAcceptOutcome out = s.accept(0, true);
    EXPECT_EQ(out.copies, 0);
    EXPECT_FALSE(out.finished);
    EXPECT_EQ(s.currentSheet(), 2);
    ASSERT_EQ(s.engineRows().size(), 1u);
    EXPECT_EQ(s.engineRows()[0].qty, 1);
}

TEST(ManualDuplicate, CopiesUpToTheLastSheetGiveMessage10)
{
    Fixture f;
    f.sheets({{1000, 600}, {1000, 600}, {1000, 600}});
    f.part(500, 600, 6);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    ASSERT_TRUE(s.start("0.001", "92", 2).ok());
    const ManualAcceptOutcome out = s.accept(0, true);
    EXPECT_EQ(out.copies, 2);
    EXPECT_TRUE(out.finished);
    EXPECT_EQ(out.message, Msg::ManualLastSheet);
}

TEST(ManualDuplicate, OffLeavesTheNextSheetToASearch)
{
    Fixture f;
    f.sheets({{1000, 600}, {1000, 600}});
    f.part(500, 600, 4);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    ASSERT_TRUE(s.start("0.001", "92", 2).ok());
    const ManualAcceptOutcome out = s.accept(0, false);
    EXPECT_EQ(out.copies, 0);
    EXPECT_EQ(s.currentSheet(), 2);
    EXPECT_TRUE(f.elementsOn(2).empty());
}

TEST(ManualCandidates, BestFirstThenMostParts)
{
    Fixture f;
    f.sheets({{700, 500}});
    f.part(300, 200, 3, 0);
    f.part(250, 150, 2, 0);
    f.part(100, 100, 4, 0);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    ASSERT_TRUE(s.start("0.05", "100", 0).ok());
    const log3& e = s.engine();
    ASSERT_GT(e.knownCount(), 21u);
    const auto& c = s.candidates();
    ASSERT_EQ(s.sliderMax(), 20);
    EXPECT_EQ(c[0].block, e.bestIndex());
    // Positions 1..20 by the selection rule, one position at a time.
    std::vector<bool> taken(e.knownCount(), false);
    for (int j = 1; j <= 20; ++j) {
        std::size_t pick = 0;
        std::uint32_t most = 0;
        bool any = false;
        for (std::size_t k = 0; k < e.knownCount(); ++k)
            if (!taken[k] && (!any || e.knownPartCount(k) > most)) {
                pick = k;
                most = e.knownPartCount(k);
                any = true;
            }
        taken[pick] = true;
        EXPECT_EQ(c[static_cast<std::size_t>(j)], (ManualCandidate{pick, most})) << "position " << j;
    }
}

TEST(ManualCandidates, FewBlocksGiveAShortSlider)
{
    Fixture f;
    f.sheets({{1000, 600}});
    f.part(700, 500, 1);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    ASSERT_TRUE(s.start("0.001", "92", 2).ok());
    EXPECT_EQ(s.sliderMax(), 0);
    EXPECT_EQ(s.searchStatus(), Msg::ManualSheetDone);
    EXPECT_FALSE(s.accept(1, true).accepted);
    EXPECT_EQ(s.state(), ManualState::WaitingForOk);
}

TEST(ManualStart, StopShowsTheStoppedStatus)
{
    Fixture f;
    f.sheets({{400, 400}});
    f.part(100, 100, 16);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    ASSERT_TRUE(s.start("0.001", "100", 2, [&](const SearchProgress& p) {
                     if (p.end && p.generation == 2)
                         s.requestStop();
                 }).ok());
    EXPECT_EQ(s.lastSearch().generations, 2u);
    EXPECT_EQ(s.lastSearch().end, SearchEnd::Stopped);
    EXPECT_EQ(s.searchStatus(), Msg::ManualSheetStopped);
    // The stop flag is cleared for the next search.
    ASSERT_TRUE(s.start("0.001", "100", 2).ok());
    EXPECT_EQ(s.searchStatus(), Msg::ManualSheetDone);
}

TEST(ManualAbandon, KeepsAcceptedSheets)
{
    Fixture f;
    f.sheets({{1000, 600}, {1000, 600}});
    f.part(500, 600, 3);
    ManualSession s(f.project, f.engine);
    ASSERT_TRUE(s.enterPrepared().ok());
    ASSERT_TRUE(s.start("0.001", "92", 2).ok());
    s.accept(0, true);
    s.abandon();
    EXPECT_EQ(s.state(), ManualState::Off);
    EXPECT_FALSE(f.engine.allocated());
    EXPECT_EQ(f.elementsOn(1).size(), 2u);
}

TEST(ManualHelpers, CombinationLimitAndAlphaButtons)
{
    EXPECT_EQ(manualCombinationLimit(0), 20000u);
    EXPECT_EQ(manualCombinationLimit(1), 30000u);
    EXPECT_EQ(manualCombinationLimit(2), 40000u);
    EXPECT_EQ(addToAlphaText("0.001", 0.001).value(), "0.002");
    EXPECT_EQ(addToAlphaText("0.001", 0.005).value(), "0.006");
    EXPECT_EQ(addToAlphaText("0.02", 0.01).value(), "0.03");
    EXPECT_EQ(addToAlphaText("x", 0.01).error().msg, Msg::ManualAlphaNotANumber);
}

TEST(ManualHelpers, SoundAfterMoreThanFiveSecondsWithinTheFirstMinute)
{
    const auto t = [](int minutes, int seconds) {
        ElapsedTime e;
        e.minutes = static_cast<std::uint16_t>(minutes);
        e.seconds = static_cast<std::uint16_t>(seconds);
        return e;
    };
    EXPECT_FALSE(shouldPlaySound(true, t(0, 3)));
    EXPECT_FALSE(shouldPlaySound(true, t(0, 5)));
    EXPECT_TRUE(shouldPlaySound(true, t(0, 10)));
    EXPECT_FALSE(shouldPlaySound(true, t(1, 10)));  // 70 seconds
    EXPECT_FALSE(shouldPlaySound(false, t(0, 10)));
}

TEST(ManualHelpers, RepeatWithoutPartsOnTheSheetFillsNothing)
{
    Fixture f;
    f.sheets({{1000, 600}, {1000, 600}});
    f.part(500, 600, 4);
    std::int32_t current = 1;
    EXPECT_EQ(RepeatAcceptedSheet(f.project, current), 0);
    EXPECT_EQ(current, 1);
}

} // namespace

namespace {

// A kitchen of base and wall cabinets as typed in the tables (centimetres,
// kerf 0.4 mm): two small boards and six large ones.
void kitchen(Project& p)
{
    p.sheets.appendRow({"", "280", "207", "6", "oak"});
    p.sheets.appendRow({"", "244", "122", "2", "hdf"});
    const std::vector<std::vector<std::string>> rows = {
        {"72", "56", "8", "0"},   {"76.4", "56", "4", "0"}, {"71.6", "39.6", "8", "1"}, {"72", "32", "6", "0"},
        {"56.4", "30", "6", "0"}, {"79.6", "17.6", "6", "0"}, {"76.4", "10", "8", "0"}, {"240", "10", "2", "1"}};
    for (const auto& r : rows)
        p.parts.appendRow({"", r[0], r[1], r[2], "P", r[3]});
}

TEST(ManualUnattended, KitchenPlacesEveryPart)
{
    for (const int pick : {0, 3}) {
        SCOPED_TRACE(pick);
        Project project;
        kitchen(project);
        log3 engine;
        Settings settings;
        settings.manparam = 0;
        const UnattendedManualRun run = runManualUnattended(project, engine, settings, "0.001", "92", pick);
        ASSERT_TRUE(run.status.ok()) << number(run.status.msg);
        ASSERT_FALSE(run.searches.empty());
        // Sorted by area, the small boards come first.
        EXPECT_EQ(run.searches[0].tnb, 1);
        EXPECT_EQ(project.input.sheets[0].len, 24400);
        std::int64_t left = 0;
        for (const PartDemand& d : project.input.remaining) {
            EXPECT_GE(d.qty, 0);
            left += d.qty;
        }
        EXPECT_EQ(static_cast<std::int64_t>(project.result.elements.size()) + left, project.input.totalParts);
        if (pick == 0) {
            EXPECT_EQ(left, 0);
        }
        // Every placed part lies on its sheet and keeps its footprint.
        for (const PlacedElement& e : project.result.elements) {
            const SheetInstance& s = project.input.sheets[static_cast<std::size_t>(e.tnb - 1)];
            EXPECT_LE(e.x1, s.len);
            EXPECT_LE(e.y1, s.wid);
            const PartDemand& d = project.input.parts[static_cast<std::size_t>(e.enb - 1)];
            EXPECT_EQ(e.x1 - e.x, e.rot ? d.wid : d.len);
            EXPECT_EQ(e.y1 - e.y, e.rot ? d.len : d.wid);
        }
    }
}

TEST(ManualUnattended, RefusalsStopBeforeAnySearch)
{
    Project project;
    kitchen(project);
    log3 engine;
    UnattendedManualRun run = runManualUnattended(project, engine, Settings{}, "abc", "92", 0);
    EXPECT_EQ(run.status.msg, Msg::ManualAlphaNotANumber);
    EXPECT_TRUE(run.searches.empty());
    EXPECT_TRUE(project.result.elements.empty());

    Project empty;
    run = runManualUnattended(empty, engine, Settings{}, "0.001", "92", 0);
    EXPECT_EQ(run.status.msg, Msg::TablesEmpty);

    Project huge;
    huge.sheets.appendRow({"", "100", "100", "1", ""});
    huge.parts.appendRow({"", "120", "50", "1", "X", "0"});
    run = runManualUnattended(huge, engine, Settings{}, "0.001", "92", 0);
    EXPECT_EQ(run.status.msg, Msg::ManualNothingFits);
}

TEST(ManualUnattended, SearchWithoutLayoutEnds)
{
    Project project;
    // With no kerf the part's area is 2^32, which does not fit in 32 bits:
    // the search makes no block of it.
    project.sheets.appendRow({"", "655.36", "655.36", "1", ""});
    project.parts.appendRow({"", "655.36", "655.36", "1", "X", "1"});
    log3 engine;
    Settings settings;
    settings.Testera = 0;
    const UnattendedManualRun run = runManualUnattended(project, engine, settings, "0.001", "92", 0);
    EXPECT_EQ(run.status.msg, Msg::ManualNoLayout);
    EXPECT_EQ(run.searches.size(), 1u);
    EXPECT_TRUE(project.result.elements.empty());
}

} // namespace
