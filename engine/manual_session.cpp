#include "engine/manual_session.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <filesystem>
#include <map>

#include "engine/auto_run.h"
#include "engine/units.h"

namespace engine {

namespace {

// A footprint of no size cannot be laid out (the search makes no block of
// it), so it does not make a sheet eligible either.
bool fitsAsEntered(const SheetInstance& s, const PartDemand& p)
{
    return p.len > 0 && p.wid > 0 && s.len >= p.len && s.wid >= p.wid;
}

} // namespace

std::uint32_t manualCombinationLimit(int manparam)
{
    if (manparam <= 0)
        return 20000;
    return manparam == 1 ? 30000 : 40000;
}

std::int32_t nextEligibleSheet(const std::vector<SheetInstance>& sheets, const std::vector<PartDemand>& rows,
                               std::int32_t afterTnb)
{
    for (std::size_t i = static_cast<std::size_t>(std::max(afterTnb, 0)); i < sheets.size(); ++i)
        for (const PartDemand& p : rows)
            if (p.qty > 0 && fitsAsEntered(sheets[i], p))
                return static_cast<std::int32_t>(i + 1);
    return 0;
}

int RepeatAcceptedSheet(Project& project, std::int32_t& current)
{
    const std::int32_t a = current;
    auto& sheets = project.input.sheets;
    auto& remaining = project.input.remaining;
    auto& result = project.result;
    if (a < 1 || static_cast<std::size_t>(a) > sheets.size())
        return 0;

    std::vector<PlacedElement> elements;
    std::map<std::int32_t, std::int32_t> perRow;  // part row -> pieces on sheet a
    for (const PlacedElement& e : result.elements)
        if (e.tnb == a) {
            elements.push_back(e);
            ++perRow[e.enb];
        }
    if (elements.empty())
        return 0;
    std::vector<Offcut> offcuts;
    for (const Offcut& o : result.offcuts)
        if (o.tnb == a)
            offcuts.push_back(o);

    const SheetInstance& model = sheets[static_cast<std::size_t>(a - 1)];
    int filled = 0;
    for (std::size_t i = static_cast<std::size_t>(a); i < sheets.size(); ++i) {
        if (sheets[i].len != model.len || sheets[i].wid != model.wid)
            break;
        const bool enough = std::all_of(perRow.begin(), perRow.end(), [&](const auto& rowCount) {
            const auto r = static_cast<std::size_t>(rowCount.first - 1);
            return r < remaining.size() && remaining[r].qty >= rowCount.second;
        });
        if (!enough)
            break;
        const auto tnb = static_cast<std::int32_t>(i + 1);
        for (PlacedElement e : elements) {
            e.tnb = tnb;
            result.elements.push_back(e);
            --remaining[static_cast<std::size_t>(e.enb - 1)].qty;
        }
        for (Offcut o : offcuts) {
            o.tnb = tnb;
            result.offcuts.push_back(o);
        }
        current = tnb;
        ++filled;
    }
    return filled;
}

Result<std::string> addToAlphaText(std::string_view alphaText, double step)
{
    double value = 0;
    if (!parseDecimal(alphaText, value) || !std::isfinite(value))
        return Status(Msg::ManualAlphaNotANumber, {std::string(alphaText)});
    return formatGeneral(value + step);
}

bool shouldPlaySound(bool zvuk, const ElapsedTime& elapsed)
{
    return zvuk && elapsed.minutes == 0 && elapsed.seconds > 5;
}

std::string manualSoundFile(const Settings& settings, const std::string& programFolder)
{
    std::error_code ec;
    if (!settings.SoundPath.empty() && std::filesystem::is_regular_file(settings.SoundPath, ec))
        return settings.SoundPath;
    return programFolder + "sound.wav";
}

// ---------------------------------------------------------------------------

ManualSession::ManualSession(Project& project, log3& engine) : m_project(project), m_engine(engine) {}

Status ManualSession::enter(const Settings& settings)
{
    m_state = ManualState::Off;
    if (Status prepared = PrepareEngineInput(m_project, settings); !prepared.ok())
        return prepared;
    return enterPrepared();
}

Status ManualSession::enterPrepared()
{
    const EngineInput& in = m_project.input;
    // Rows without parts to place are skipped, as for every later sheet:
    // they would make a sheet current on which nothing can be placed.
    const std::int32_t first = nextEligibleSheet(in.sheets, in.parts, 0);
    if (first == 0)
        return Status(Msg::ManualNothingFits);
    m_tnb = first;
    m_r0 = static_cast<std::int32_t>(in.parts.size());
    m_rows = in.parts;
    m_candidates.clear();
    m_stats = {};
    m_stop.store(false);
    m_stopped = false;
    m_engine.FreeArrays();
    m_state = ManualState::WaitingForStart;
    return Status();
}

const SheetInstance& ManualSession::currentSheetInstance() const
{
    static const SheetInstance none;
    const auto& sheets = m_project.input.sheets;
    if (m_tnb < 1 || static_cast<std::size_t>(m_tnb) > sheets.size())
        return none;
    return sheets[static_cast<std::size_t>(m_tnb - 1)];
}

Status ManualSession::start(std::string_view alphaText, std::string_view piText, int manparam,
                            const SearchProgressFn& progress)
{
    if (m_state == ManualState::Off)
        return Status(Msg::ManualNothingFits);
    double alpha = 0;
    if (!parseDecimal(alphaText, alpha) || !std::isfinite(static_cast<float>(alpha)))
        return Status(Msg::ManualAlphaNotANumber, {std::string(alphaText)});
    // A share of the sheet: any other whole number would either end the
    // search at its first join or never.
    std::int32_t pi = 0;
    if (!parseInteger(piText, pi) || pi < 0 || pi > 100)
        return Status(Msg::ManualPiNotAPercent, {std::string(piText)});

    const SheetInstance& sheet = currentSheetInstance();
    m_engine.Init(m_rows, manualCombinationLimit(manparam), static_cast<float>(alpha),
                  static_cast<std::uint32_t>(sheet.len), static_cast<std::uint32_t>(sheet.wid), pi,
                  static_cast<std::uint32_t>(m_r0));
    m_engine.Search(progress, &m_stop);
    m_stopped = m_stop.exchange(false) || m_engine.end() == SearchEnd::Stopped;

    m_stats.tnb = m_tnb;
    m_stats.generations = m_engine.generation();
    m_stats.known = m_engine.knownCount();
    m_stats.best = m_engine.bestIndex();
    m_stats.seconds = m_engine.elapsed().totalSeconds;
    m_stats.end = m_engine.end();
    makeCandidates();
    if (m_candidates.empty()) {
        m_state = ManualState::WaitingForStart;
        return Status(Msg::ManualNoLayout);
    }
    m_state = ManualState::WaitingForOk;
    return Status();
}

Msg ManualSession::searchStatus() const
{
    if (m_stats.end == SearchEnd::KnownListFull)
        return Msg::ManualKnownListFull;
    return m_stopped ? Msg::ManualSheetStopped : Msg::ManualSheetDone;
}

// Position 0 is the chosen block; positions 1..20 take, one after the other,
// the block with the most parts among those not yet taken (the first in list
// order on ties). A partial sort by (parts descending, index ascending) gives
// the same sequence without rescanning the list per position.
void ManualSession::makeCandidates()
{
    m_candidates.clear();
    const std::size_t known = m_engine.knownCount();
    if (known == 0)
        return;
    const std::size_t positions = std::min<std::size_t>(known - 1, kMaxSliderPosition);
    m_candidates.push_back({m_engine.bestIndex(), m_engine.knownPartCount(m_engine.bestIndex())});
    if (positions == 0)
        return;
    std::vector<ManualCandidate> all(known);
    for (std::size_t k = 0; k < known; ++k)
        all[k] = {k, m_engine.knownPartCount(k)};
    const auto byParts = [](const ManualCandidate& x, const ManualCandidate& y) {
        return x.parts != y.parts ? x.parts > y.parts : x.block < y.block;
    };
    std::partial_sort(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(positions), all.end(), byParts);
    m_candidates.insert(m_candidates.end(), all.begin(), all.begin() + static_cast<std::ptrdiff_t>(positions));
}

Block ManualSession::candidateBlock(int position) const
{
    if (position < 0 || position >= static_cast<int>(m_candidates.size()))
        return {};
    return m_engine.knownBlock(m_candidates[static_cast<std::size_t>(position)].block);
}

std::vector<ManualPiece> ManualSession::candidatePieces(int position) const
{
    std::vector<ManualPiece> pieces;
    const auto& remaining = m_project.input.remaining;
    for (const BlockItem& item : candidateBlock(position).items) {
        if (item.id == 0)
            continue;
        const bool turned = item.id > static_cast<std::uint32_t>(m_r0);
        const std::size_t t = turned ? item.id - static_cast<std::uint32_t>(m_r0) - 1 : item.id - 1;
        if (t >= remaining.size())
            continue;
        const PartDemand& d = remaining[t];
        pieces.push_back({static_cast<std::int32_t>(item.x), static_cast<std::int32_t>(item.y), turned ? d.wid : d.len,
                          turned ? d.len : d.wid, static_cast<std::int32_t>(t)});
    }
    return pieces;
}

std::int64_t ManualSession::candidateWaste(int position) const
{
    if (position < 0 || position >= static_cast<int>(m_candidates.size()))
        return 0;
    return m_engine.scores()[m_candidates[static_cast<std::size_t>(position)].block];
}

ManualAcceptOutcome ManualSession::accept(int position, bool manualDuplicate)
{
    ManualAcceptOutcome out;
    if (m_state != ManualState::WaitingForOk || position < 0 || position >= static_cast<int>(m_candidates.size()))
        return out;
    out.accepted = true;
    const Block block = candidateBlock(position);
    const std::int32_t s = m_tnb;
    const SheetInstance sheet = currentSheetInstance();
    auto& remaining = m_project.input.remaining;
    auto& result = m_project.result;

    Offcut pending;
    bool open = false;
    for (const BlockItem& item : block.items) {
        const auto x = static_cast<std::int32_t>(item.x);
        const auto y = static_cast<std::int32_t>(item.y);
        if (item.id == 0) {
            if (!open) {
                pending = Offcut{s, x, y, 0, 0};
            } else {
                pending.x1 = x;
                pending.y1 = y;
                result.offcuts.push_back(pending);
            }
            open = !open;
            continue;
        }
        const bool turned = item.id > static_cast<std::uint32_t>(m_r0);
        const std::size_t t = turned ? item.id - static_cast<std::uint32_t>(m_r0) - 1 : item.id - 1;
        assert(t < remaining.size());
        const PartDemand& d = remaining[t];
        const std::int32_t ex = turned ? d.wid : d.len;
        const std::int32_t ey = turned ? d.len : d.wid;
        result.elements.push_back({s, x, y, x + ex, y + ey, turned ? 1 : 0, static_cast<std::int32_t>(t + 1)});
        --remaining[t].qty;
    }
    const auto bl = static_cast<std::int32_t>(block.length);
    const auto bw = static_cast<std::int32_t>(block.width);
    if (bl < sheet.len)
        result.offcuts.push_back({s, bl, 0, sheet.len, bw});
    if (bw < sheet.wid)
        result.offcuts.push_back({s, 0, bw, sheet.len, sheet.wid});

    const auto lastTnb = static_cast<std::int32_t>(m_project.input.sheets.size());
    if (s == lastTnb) {
        out.message = Msg::ManualLastSheet;
        out.finished = true;
        finish();
        return out;
    }
    if (manualDuplicate) {
        out.copies = RepeatAcceptedSheet(m_project, m_tnb);
        if (m_tnb == lastTnb) {
            out.message = Msg::ManualLastSheet;
            out.finished = true;
            finish();
            return out;
        }
    }

    const std::int32_t next = nextEligibleSheet(m_project.input.sheets, remaining, m_tnb);
    if (next == 0) {
        out.finished = true;
        finish();
        return out;
    }
    std::int64_t left = 0;
    for (const PartDemand& d : remaining)
        left += d.qty;
    if (left == 0) {
        out.message = Msg::ManualNothingLeft;
        out.finished = true;
        finish();
        return out;
    }
    m_tnb = next;
    m_rows.clear();
    for (const PartDemand& d : remaining)
        if (d.qty > 0)
            m_rows.push_back(d);
    m_candidates.clear();
    m_engine.setAllocated(true);
    m_state = ManualState::WaitingForStart;
    return out;
}

void ManualSession::finish()
{
    m_candidates.clear();
    m_state = ManualState::Off;
}

void ManualSession::abandon()
{
    if (m_engine.allocated())
        m_engine.FreeArrays();
    m_candidates.clear();
    m_state = ManualState::Off;
    m_tnb = 0;
}

UnattendedManualRun runManualUnattended(Project& project, log3& engine, const Settings& settings,
                                        std::string_view alphaText, std::string_view piText, int pick)
{
    UnattendedManualRun run;
    ManualSession session(project, engine);
    run.status = session.enter(settings);
    if (!run.status.ok())
        return run;
    while (session.state() != ManualState::Off) {
        run.status = session.start(alphaText, piText, settings.manparam);
        if (run.status.msg == Msg::ManualNoLayout) {
            // Cannot happen on an eligible sheet; a person would change the
            // parameters or cancel, the same search again finds nothing.
            run.searches.push_back(session.lastSearch());
            session.abandon();
            return run;
        }
        if (!run.status.ok())
            return run;
        run.searches.push_back(session.lastSearch());
        const ManualAcceptOutcome out =
            session.accept(std::clamp(pick, 0, session.sliderMax()), settings.ManualDuplicate);
        if (out.finished)
            run.finalMessage = out.message;
    }
    return run;
}

} // namespace engine
