#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/log3.h"
#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace engine {

// The manual mode without its page: the user fills the stock sheets one at a
// time. For the current sheet a block search (log3) offers candidates; the
// accepted one becomes placed parts and offcuts of the project's result,
// identical following sheets may receive copies, and the next sheet that can
// still take a part becomes current. The manual page drives one session per
// use of the mode; the session and the page share the one log3 object.
//
// The session reads and writes project.input (the sheet instances, the
// prepared part rows, the remaining demand) and project.result (placed
// elements and offcuts). It keeps the engine part rows of the current sheet
// itself and leaves project.input.parts as prepared.

enum class ManualState {
    Off,              // mode not active (before enter, after finish or abandon)
    WaitingForStart,  // a sheet is current, no candidates yet
    WaitingForOk,     // candidates shown; Start may search the same sheet again
};

// One slider position: a known block of the search and its number of parts.
struct ManualCandidate {
    std::size_t block = 0;
    std::uint32_t parts = 0;
    bool operator==(const ManualCandidate&) const = default;
};

// One part of a candidate as the preview draws it: its rectangle on the
// sheet and its 0-based part row (the preview writes number + 1).
struct ManualPiece {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t length = 0;  // along x
    std::int32_t height = 0;  // along y
    std::int32_t number = 0;
    bool operator==(const ManualPiece&) const = default;
};

// Figures of the last search on a sheet (the CLI writes them out).
struct ManualSearchStats {
    std::int32_t tnb = 0;
    std::uint32_t generations = 0;
    std::size_t known = 0;
    std::size_t best = 0;
    double seconds = 0;
    SearchEnd end = SearchEnd::NotRun;
};

// What O.K. did.
struct ManualAcceptOutcome {
    bool accepted = false;  // false: no candidate at that position, nothing changed
    bool finished = false;  // the mode ended; the page shows the result (ShowResults)
    Msg message = Msg::Ok;  // ManualLastSheet or ManualNothingLeft to show, else Ok
    int copies = 0;         // following sheets filled with copies of the layout
};

class ManualSession {
public:
    static constexpr int kMaxSliderPosition = 20;

    // `project` and `engine` must outlive the session.
    ManualSession(Project& project, log3& engine);

    // Starts the mode: PrepareEngineInput (its refusal is returned and the mode
    // stays off), then enterPrepared().
    [[nodiscard]] Status enter(const Settings& settings);

    // Enters the mode on an engine input that is already prepared
    // (PrepareEngineInput has run): the first sheet instance on which a part
    // row with parts to place fits as entered becomes current. Returns Ok, or
    // ManualNothingFits and stays off.
    [[nodiscard]] Status enterPrepared();

    // Start: combination limit from manparam (0, 1, 2: 20000, 30000,
    // 40000), alpha and P.I. from the texts of their fields. An Alpha that is
    // not a number gives ManualAlphaNotANumber, a P.I. that is not a whole
    // number from 0 to 100 ManualPiNotAPercent (with the text), and no search
    // is run. A search that finds no block gives ManualNoLayout. `progress` is called at the start and
    // end of each generation (the page processes its events there; Stop may
    // be pressed then, or from another thread).
    [[nodiscard]] Status start(std::string_view alphaText, std::string_view piText, int manparam,
                               const SearchProgressFn& progress = {});
    // Stop: the search ends after its current generation.
    void requestStop() { m_stop.store(true); }

    // Candidates of the last search: position 0 the block with the least
    // sheet waste, positions 1..sliderMax() the blocks with the most parts.
    [[nodiscard]] const std::vector<ManualCandidate>& candidates() const { return m_candidates; }
    [[nodiscard]] int sliderMax() const { return static_cast<int>(m_candidates.size()) - 1; }
    [[nodiscard]] Block candidateBlock(int position) const;
    // The parts of the candidate at `position`, and the sheet area they
    // leave uncovered (the block's score), for the preview and its status.
    [[nodiscard]] std::vector<ManualPiece> candidatePieces(int position) const;
    [[nodiscard]] std::int64_t candidateWaste(int position) const;

    // O.K.: accepts the candidate at `position` on the current sheet.
    // manualDuplicate: the setting ManualDuplicate.
    ManualAcceptOutcome accept(int position, bool manualDuplicate);

    // "Prekini": leaves the mode; the sheets accepted so far stay in the result.
    void abandon();

    [[nodiscard]] ManualState state() const { return m_state; }
    [[nodiscard]] std::int32_t currentSheet() const { return m_tnb; }  // tnb, 0 when off
    [[nodiscard]] const SheetInstance& currentSheetInstance() const;
    [[nodiscard]] const std::vector<PartDemand>& engineRows() const { return m_rows; }
    [[nodiscard]] std::int32_t partRowCount() const { return m_r0; }
    [[nodiscard]] const ManualSearchStats& lastSearch() const { return m_stats; }
    // Status text of the finished search: ManualSheetStopped (6) when Stop
    // was pressed, ManualKnownListFull when the list of blocks filled up,
    // else ManualSheetDone (7).
    [[nodiscard]] Msg searchStatus() const;
    [[nodiscard]] const log3& engine() const { return m_engine; }

private:
    void makeCandidates();
    void finish();

    Project& m_project;
    log3& m_engine;
    ManualState m_state = ManualState::Off;
    std::int32_t m_tnb = 0;
    std::int32_t m_r0 = 0;
    std::vector<PartDemand> m_rows;
    std::vector<ManualCandidate> m_candidates;
    ManualSearchStats m_stats;
    std::atomic<bool> m_stop{false};
    bool m_stopped = false;
};

// The whole manual mode without a person: enters the mode (PrepareEngineInput
// included), then on every sheet searches with the given Alpha and
// P.I. texts (manparam and ManualDuplicate from `settings`) and accepts the
// candidate at slider position `pick` (the last position when the slider is
// shorter), until the mode finishes.
struct UnattendedManualRun {
    Status status;                     // enter's or start's refusal, else Ok
    Msg finalMessage = Msg::Ok;        // ManualLastSheet / ManualNothingLeft when the mode ended with one
    std::vector<ManualSearchStats> searches;
};
[[nodiscard]] UnattendedManualRun runManualUnattended(Project& project, log3& engine, const Settings& settings,
                                                      std::string_view alphaText, std::string_view piText,
                                                      int pick);

// 20000, 30000 or 40000 for manparam 0, 1, 2 (below 0 as 0, above 2 as 2).
[[nodiscard]] std::uint32_t manualCombinationLimit(int manparam);

// The first sheet instance after sheet `afterTnb` (0: from the first) on
// which some row of `rows` with a quantity above 0 fits as entered; 0 when
// there is none.
[[nodiscard]] std::int32_t nextEligibleSheet(const std::vector<SheetInstance>& sheets,
                                             const std::vector<PartDemand>& rows, std::int32_t afterTnb);

// Copies the layout of sheet `current` onto the following identical sheet
// instances while the remaining demand allows a full copy; `current` becomes
// the last sheet filled. Returns the number of sheets filled.
int RepeatAcceptedSheet(Project& project, std::int32_t& current);

// The Alpha buttons: the Alpha text plus `step`, as a decimal text; an
// Alpha text that is not a number gives ManualAlphaNotANumber.
[[nodiscard]] Result<std::string> addToAlphaText(std::string_view alphaText, double step);

// Whether a finished search plays the sound: the setting Zvuk is on, the
// minutes field of the elapsed time is 0 and its seconds field above 5.
[[nodiscard]] bool shouldPlaySound(bool zvuk, const ElapsedTime& elapsed);

// The sound file to play: SoundPath when that file exists, else sound.wav in
// the program folder (which ends in a separator).
[[nodiscard]] std::string manualSoundFile(const Settings& settings, const std::string& programFolder);

} // namespace engine
