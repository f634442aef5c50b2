#include "engine/auto_run.h"

#include <atomic>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/project.h"
#include "engine/settings.h"

using namespace engine;

namespace {

Settings mmSettings(int autoparam = 0)
{
    Settings s;
    s.JedMere = 0;  // millimetres: "60" is 600 internal
    s.Testera = 4;
    s.autoparam = autoparam;
    return s;
}

void addSheet(Project& p, const std::string& len, const std::string& wid, const std::string& qty,
              const std::string& descr = "")
{
    p.sheets.appendRow({"", len, wid, qty, descr});
}

void addPart(Project& p, const std::string& len, const std::string& wid, const std::string& qty,
             const std::string& ini = "", const std::string& rot = "0")
{
    p.parts.appendRow({"", len, wid, qty, ini, rot});
}

std::vector<std::string> column(const TextTable& t, int col)
{
    std::vector<std::string> v;
    for (int r = 1; r <= t.rowCount(); ++r)
        v.push_back(t.cell(r, col));
    return v;
}

} // namespace

TEST(AutoRunSort, EqualAreasMayChangeOrder)
{
    TextTable t(SheetCol::Count);
    t.appendRow({"", "100", "100", "1", "a"});
    t.appendRow({"", "200", "50", "1", "b"});
    t.appendRow({"", "50", "50", "1", "c"});
    SortSheetTable(t, LengthUnit::Millimetre);
    EXPECT_EQ(column(t, SheetCol::Descr), (std::vector<std::string>{"c", "b", "a"}));
}

TEST(AutoRunSort, PartsByDescendingTypedArea)
{
    TextTable t(PartCol::Count);
    t.appendRow({"", "10", "10", "1", "small", "0", "", "", "", "", "", "", "", "", "", "", "", "x"});
    t.appendRow({"", "50", "40", "1", "big", "1"});
    t.appendRow({"", "30", "30", "1", "mid", "0"});
    SortPartTable(t, LengthUnit::Millimetre);
    EXPECT_EQ(column(t, PartCol::Ini), (std::vector<std::string>{"big", "mid", "small"}));
    // Every column moves with its row, up to the last one.
    EXPECT_EQ(t.cell(3, 17), "x");
    EXPECT_EQ(t.cell(1, PartCol::Rot), "1");
}

TEST(AutoRunSort, AreaIsAnUnsigned32BitProduct)
{
    // 70000 x 70000 internal wraps to 605032704 in 32 bits, less than
    // 30000 x 30000 = 900000000, so the larger board sorts first.
    TextTable t(SheetCol::Count);
    t.appendRow({"", "3000", "3000", "1", "a"});
    t.appendRow({"", "7000", "7000", "1", "b"});
    SortSheetTable(t, LengthUnit::Millimetre);
    EXPECT_EQ(column(t, SheetCol::Descr), (std::vector<std::string>{"b", "a"}));
}

TEST(AutoRunPrepare, EmptyTableLeavesTablesUnsorted)
{
    Project p;
    addSheet(p, "100", "100", "1", "a");
    addSheet(p, "50", "50", "1", "b");
    EXPECT_EQ(PrepareEngineInput(p, mmSettings()).msg, Msg::TablesEmpty);
    EXPECT_EQ(column(p.sheets, SheetCol::Descr), (std::vector<std::string>{"a", "b"}));
    Project q;
    addPart(q, "10", "10", "1");
    EXPECT_EQ(PrepareEngineInput(q, mmSettings()).msg, Msg::TablesEmpty);
}

TEST(AutoRunPrepare, ExpandsSheetsAndFootprints)
{
    Project p;
    addSheet(p, "280", "207", "3");
    addSheet(p, "100", "100", "1");
    p.parts.appendRow({"", "60", "40", "2", "A", "1", "", "", "b", "b", "", "", "2", "2"});
    addPart(p, "10", "10", "0", "Z");
    ASSERT_TRUE(PrepareEngineInput(p, mmSettings()).ok());
    const EngineInput& in = p.input;
    ASSERT_EQ(in.sheets.size(), 4U);
    EXPECT_EQ(in.sheets[0], (SheetInstance{1000, 1000, 1, 1, 1}));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(in.sheets[static_cast<size_t>(i)], (SheetInstance{2800, 2070, 3, i + 1, 2}));
    ASSERT_EQ(in.parts.size(), 2U);
    // Bands of 2 mm on both width edges shorten the part: 600 - 40 + 4.
    EXPECT_EQ(in.parts[0], (PartDemand{564, 404, 2, 1, 1}));
    EXPECT_EQ(in.parts[1], (PartDemand{104, 104, 0, 2, 0}));
    EXPECT_EQ(in.remaining, in.parts);
    EXPECT_EQ(in.totalParts, 2);
    EXPECT_EQ(in.totalPartsManual, 2);
}

TEST(AutoRunPrepare, UnreadableRowStopsWithItsNumber)
{
    Project p;
    addSheet(p, "100", "100", "1", "a");
    addSheet(p, "50", "", "1", "b");
    addPart(p, "10", "10", "1");
    Status st = PrepareEngineInput(p, mmSettings());
    EXPECT_EQ(st.msg, Msg::SheetRowSizeUnreadable);
    EXPECT_EQ(st.args, (std::vector<std::string>{"2"}));
    // Nothing changed: the tables stay as typed.
    EXPECT_EQ(column(p.sheets, SheetCol::Descr), (std::vector<std::string>{"a", "b"}));

    Project q;
    addSheet(q, "100", "100", "1");
    addPart(q, "10", "10", "1");
    addPart(q, "20", "20", "two");
    st = PrepareEngineInput(q, mmSettings());
    EXPECT_EQ(st.msg, Msg::PartRowQtyUnreadable);
    EXPECT_EQ(st.args, (std::vector<std::string>{"2"}));

    Project r;
    addSheet(r, "100", "100", "-2");
    addPart(r, "10", "10", "1");
    EXPECT_EQ(PrepareEngineInput(r, mmSettings()).msg, Msg::SheetRowQtyUnreadable);

    Project s;
    addSheet(s, "100", "100", "1");
    addPart(s, "1O", "10", "1");
    st = PrepareEngineInput(s, mmSettings());
    EXPECT_EQ(st.msg, Msg::PartRowSizeUnreadable);
    EXPECT_EQ(st.args, (std::vector<std::string>{"1"}));
}

TEST(AutoRunPrepare, BandThickerThanPartStops)
{
    Project p;
    addSheet(p, "100", "100", "1");
    // 3 mm long, 2 mm bands on both width edges: -1 mm once banded.
    p.parts.appendRow({"", "3", "40", "1", "A", "0", "", "", "b", "b", "", "", "2", "2"});
    const Status st = PrepareEngineInput(p, mmSettings());
    EXPECT_EQ(st.msg, Msg::PartRowSizeUnreadable);
    EXPECT_EQ(st.args, (std::vector<std::string>{"1"}));
}

TEST(AutoRunPrepare, StockAndPartLimits)
{
    Project p;
    addSheet(p, "100", "100", "4000");
    addSheet(p, "50", "50", "1001");
    addPart(p, "10", "10", "1");
    EXPECT_EQ(PrepareEngineInput(p, mmSettings()).msg, Msg::TooManySheets);
    p.sheets.setCell(2, SheetCol::Qty, "1000");
    EXPECT_TRUE(PrepareEngineInput(p, mmSettings()).ok());
    EXPECT_EQ(p.input.sheets.size(), 5000U);

    Project q;
    addSheet(q, "100", "100", "1");
    addPart(q, "10", "10", "9000");
    addPart(q, "5", "5", "1001");
    EXPECT_EQ(PrepareEngineInput(q, mmSettings()).msg, Msg::TooManyParts);
}

TEST(AutoRunPrepare, RotationLockMustBeZeroOrOne)
{
    Project p;
    addSheet(p, "100", "100", "1");
    addPart(p, "8", "8", "1", "", "1");
    addPart(p, "10", "10", "1", "", "");
    const Status st = PrepareEngineInput(p, mmSettings());
    EXPECT_EQ(st.msg, Msg::PartRowSizeUnreadable);
    EXPECT_EQ(st.args, (std::vector<std::string>{"2"}));
    // A lock of 7 (or -1) would leave the row's parts unplaced, reported as
    // parts larger than every sheet: the row is refused instead.
    for (const char* lock : {"7", "-1", "2"}) {
        p.parts.setCell(2, PartCol::Rot, lock);
        const Status bad = PrepareEngineInput(p, mmSettings());
        EXPECT_EQ(bad.msg, Msg::PartRowSizeUnreadable) << lock;
        EXPECT_EQ(bad.args, (std::vector<std::string>{"2"})) << lock;
    }
    p.parts.setCell(2, PartCol::Rot, "0");
    ASSERT_TRUE(PrepareEngineInput(p, mmSettings()).ok());
    EXPECT_EQ(p.input.parts[1].lock, 1);
}

TEST(AutoRunProgress, BarValuesPerAttempt)
{
    Project p;
    addSheet(p, "100", "100", "1");
    addPart(p, "10", "10", "1");
    std::vector<int> values;
    Rand31 rng;
    AutoRunOptions opt;
    opt.rng = &rng;
    opt.threads = 2;
    opt.progress = [&](int v) { values.push_back(v); };
    const AutoRunOutcome out = runAutomatic(p, mmSettings(1), opt);
    ASSERT_TRUE(out.status.ok());
    EXPECT_EQ(out.attempts, 200);
    ASSERT_EQ(values.size(), 200U);
    for (int a = 0; a < 200; ++a)
        EXPECT_EQ(values[static_cast<size_t>(a)], a / 2);
    EXPECT_EQ(automaticProgress(299, 300), 99);
    EXPECT_EQ(automaticProgress(57, 100), 57);
}

TEST(AutoRunResult, MissingPartsAndZeroQuantity)
{
    Project p;
    addSheet(p, "100", "50", "2");
    addPart(p, "300", "300", "1", "huge");
    addPart(p, "30", "20", "0", "none");
    addPart(p, "40", "20", "3", "ok");
    Rand31 rng;
    AutoRunOptions opt;
    opt.rng = &rng;
    const AutoRunOutcome out = runAutomatic(p, mmSettings(0), opt);
    ASSERT_TRUE(out.status.ok());
    EXPECT_EQ(p.input.totalParts, 4);
    ASSERT_EQ(p.result.elements.size(), 3U);
    for (const PlacedElement& e : p.result.elements)
        EXPECT_EQ(p.parts.cell(e.enb, PartCol::Ini), "ok");
}

TEST(AutoRunResult, SameOnOneAndTwoThreadsAndGeneratorAdvances)
{
    auto make = [] {
        Project p;
        addSheet(p, "280", "207", "2");
        addSheet(p, "244", "122", "3");
        addPart(p, "72", "56", "9", "side", "1");
        addPart(p, "56", "40", "14", "shelf");
        addPart(p, "40", "30", "11", "door");
        addPart(p, "120", "12", "6", "rail");
        return p;
    };
    Project a = make();
    Project b = make();
    Rand31 ra;
    Rand31 rb;
    AutoRunOptions oa;
    oa.rng = &ra;
    oa.threads = 1;
    AutoRunOptions ob = oa;
    ob.rng = &rb;
    ob.threads = 2;
    const AutoRunOutcome outA = runAutomatic(a, mmSettings(0), oa);
    const AutoRunOutcome outB = runAutomatic(b, mmSettings(0), ob);
    EXPECT_EQ(outA.bestAttempt, outB.bestAttempt);
    EXPECT_EQ(a.result.elements, b.result.elements);
    EXPECT_EQ(a.result.offcuts, b.result.offcuts);
    EXPECT_EQ(ra, rb);
    // Every placement of every attempt draws one value.
    EXPECT_EQ(ra, Rand31{}.jumped(100 * 40));
    EXPECT_EQ(a.result.elements.size(), 40U);
}

TEST(AutoRunCancel, StopsBetweenAttemptsAndKeepsTheGenerator)
{
    for (const int threads : {1, 2}) {
        Project p;
        addSheet(p, "280", "207", "2");
        addPart(p, "72", "56", "9", "side");
        addPart(p, "56", "40", "14", "shelf");
        Rand31 rng;
        std::atomic<bool> cancel{false};
        int calls = 0;
        AutoRunOptions opt;
        opt.rng = &rng;
        opt.threads = threads;
        opt.cancel = &cancel;
        opt.progress = [&](int) {
            if (++calls == 3)
                cancel = true;
        };
        const AutoRunOutcome out = runAutomatic(p, mmSettings(0), opt);
        EXPECT_TRUE(out.cancelled);
        EXPECT_EQ(calls, 3);
        EXPECT_EQ(rng, Rand31{});
        EXPECT_TRUE(p.result.elements.empty());

        // Uncancelled, the same options run to the end.
        cancel = false;
        calls = -100;
        const AutoRunOutcome full = runAutomatic(p, mmSettings(0), opt);
        EXPECT_FALSE(full.cancelled);
        EXPECT_EQ(p.result.elements.size(), 23U);
        EXPECT_NE(rng, Rand31{});
    }
}

TEST(AutoRunResult, NewResultOffersTheStockCommandsAgain)
{
    Project p;
    addSheet(p, "100", "50", "1");
    addPart(p, "40", "20", "1");
    p.result.offcutsTaken = true;
    p.result.sheetsSubtracted = true;
    Rand31 rng;
    AutoRunOptions opt;
    opt.rng = &rng;
    ASSERT_TRUE(runAutomatic(p, mmSettings(0), opt).status.ok());
    EXPECT_FALSE(p.result.offcutsTaken);
    EXPECT_FALSE(p.result.sheetsSubtracted);
}
