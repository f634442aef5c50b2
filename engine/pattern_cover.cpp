#include "engine/pattern_cover.h"

#include <algorithm>
#include <cmath>

#include <glpk.h>

namespace engine::detail {

void PatternPool::countParts(const SheetFill& fill, std::vector<std::int32_t>& count) const
{
    count.assign(m_items, 0);
    for (const FillPlacement& pl : fill.placed)
        ++count[static_cast<std::size_t>(pl.item)];
}

std::uint64_t PatternPool::keyOf(const SheetFill& fill) const
{
    countParts(fill, m_count);
    std::uint64_t h = 1469598103934665603ULL;
    for (std::size_t i = 0; i < m_items; ++i) {
        if (m_count[i] == 0)
            continue;
        h = (h ^ (i * 0x9E3779B97F4A7C15ULL + static_cast<std::uint64_t>(m_count[i]))) * 1099511628211ULL;
    }
    return h;
}

void PatternPool::add(const SheetFill& fill)
{
    if (fill.placed.empty() || m_layouts.size() >= m_limit)
        return;
    if (m_keys.insert(keyOf(fill)).second)
        m_layouts.push_back(fill);
}

void PatternPool::merge(const PatternPool& other)
{
    for (const SheetFill& f : other.m_layouts)
        add(f);
}

namespace {

// The linear programme: a row per item (at least the demand left), a column
// per layout (its parts per item), each column costing one sheet.
class SheetProgramme {
public:
    explicit SheetProgramme(std::size_t items) : m_items(items)
    {
        m_lp = glp_create_prob();
        glp_set_obj_dir(m_lp, GLP_MIN);
        glp_add_rows(m_lp, static_cast<int>(items));
        glp_init_smcp(&m_parm);
        m_parm.msg_lev = GLP_MSG_OFF;
    }
    ~SheetProgramme() { glp_delete_prob(m_lp); }
    SheetProgramme(const SheetProgramme&) = delete;
    SheetProgramme& operator=(const SheetProgramme&) = delete;

    void setDemand(std::span<const std::int32_t> left)
    {
        for (std::size_t i = 0; i < m_items; ++i)
            glp_set_row_bnds(m_lp, static_cast<int>(i) + 1, GLP_LO, left[i], 0.0);
    }
    void addColumn(const PatternPool& pool, const SheetFill& f)
    {
        std::vector<std::int32_t> count;
        pool.countParts(f, count);
        std::vector<int> ind(1, 0);
        std::vector<double> val(1, 0.0);
        for (std::size_t i = 0; i < m_items; ++i)
            if (count[i] > 0) {
                ind.push_back(static_cast<int>(i) + 1);
                val.push_back(count[i]);
            }
        const int j = glp_add_cols(m_lp, 1);
        glp_set_col_bnds(m_lp, j, GLP_LO, 0.0, 0.0);
        glp_set_obj_coef(m_lp, j, 1.0);
        glp_set_mat_col(m_lp, j, static_cast<int>(ind.size()) - 1, ind.data(), val.data());
    }
    bool solve()
    {
        return glp_simplex(m_lp, &m_parm) == 0 && glp_get_status(m_lp) == GLP_OPT;
    }
    [[nodiscard]] double objective() const { return glp_get_obj_val(m_lp); }
    [[nodiscard]] double dual(std::size_t i) const { return glp_get_row_dual(m_lp, static_cast<int>(i) + 1); }
    [[nodiscard]] double primal(std::size_t j) const { return glp_get_col_prim(m_lp, static_cast<int>(j) + 1); }
    [[nodiscard]] std::size_t columns() const { return static_cast<std::size_t>(glp_get_num_cols(m_lp)); }

private:
    std::size_t m_items;
    glp_prob* m_lp = nullptr;
    glp_smcp m_parm{};
};

} // namespace

std::vector<SheetFill> coverByColumnGeneration(std::int32_t w, std::int32_t h, std::span<const FillItem> items,
                                               std::span<const std::int32_t> qty, PatternPool kept,
                                               std::size_t sheets, std::uint64_t budget, std::uint64_t& work,
                                               const std::function<bool()>& stop)
{
    const std::size_t n = items.size();
    SheetProgramme lp(n);
    for (const SheetFill& f : kept.layouts())
        lp.addColumn(kept, f);
    SheetFiller filler;
    DeepRng rng(0xC01C0DEULL);
    std::vector<FillPolicy> policies(6);
    policies[1].beamWidth = 16;
    policies[1].beamBranch = 4;
    policies[1].split = 3;
    policies[2].beamWidth = 32;
    policies[2].beamBranch = 4;
    policies[2].split = 3;
    policies[3].pieceDriven = false;
    policies[4].split = 3;
    policies[4].exactBonus = 0.2;
    policies[5].shelves = true;
    std::uint64_t spent = 0;
    const auto over = [&] { return (spent + filler.work()) / 1000 >= budget || stop(); };

    std::vector<std::int32_t> left(qty.begin(), qty.end());
    std::vector<double> dual(n);
    SheetFill fill;
    // Prices new layouts for the demand left until none is worth more than
    // a sheet or `rounds` are done; false when the programme fails.
    const auto price = [&](int rounds) {
        lp.setDemand(left);
        for (int r = 0;; ++r) {
            if (!lp.solve())
                return false;
            spent += lp.columns();
            if (r >= rounds || over())
                return true;
            for (std::size_t i = 0; i < n; ++i)
                dual[i] = std::max(0.0, lp.dual(i));
            bool added = false;
            for (const FillPolicy& pol : policies) {
                filler.fill(w, h, items, dual, left, pol, rng, fill);
                double v = 0;
                for (const FillPlacement& pl : fill.placed)
                    v += dual[static_cast<std::size_t>(pl.item)];
                const std::size_t before = kept.layouts().size();
                if (v > 1.0 + 1e-6)
                    kept.add(fill);
                if (kept.layouts().size() > before) {
                    lp.addColumn(kept, kept.layouts().back());
                    added = true;
                }
            }
            if (!added)
                return true;
        }
    };

    // A dive: the programme solved for the demand left, the layout it uses
    // most fixed (as many times as it uses it whole), again until the demand
    // is held. Rule 0 takes the layout by its use alone, rule 1 by its use
    // times its part area (the fuller sheets first), rule 2 the layout used
    // closest to once.
    std::vector<double> partArea(n);
    for (std::size_t i = 0; i < n; ++i)
        partArea[i] = static_cast<double>(items[i].len) * items[i].wid;
    std::vector<double> columnArea;
    const auto dive = [&](int rule, std::vector<SheetFill>& chosen) {
        chosen.clear();
        left.assign(qty.begin(), qty.end());
        std::int64_t partsLeft = 0;
        for (const std::int32_t q : left)
            partsLeft += q;
        bool first = true;
        while (partsLeft > 0) {
            if (chosen.size() >= sheets || over() || !price(first ? 40 : 15))
                return false;
            first = false;
            // The programme holds only the layouts found so far, so its value
            // is no bound; one far above the sheets left is given up.
            if (lp.objective() > static_cast<double>(sheets - chosen.size()) + 0.999)
                return false;
            while (columnArea.size() < lp.columns()) {
                double a = 0;
                for (const FillPlacement& pl : kept.layouts()[columnArea.size()].placed)
                    a += partArea[static_cast<std::size_t>(pl.item)];
                columnArea.push_back(a);
            }
            std::size_t best = 0;
            double most = 0;
            bool have = false;
            for (std::size_t j = 0; j < lp.columns(); ++j) {
                const double x = lp.primal(j);
                if (x <= 1e-9)
                    continue;
                const double key = rule == 0 ? x : (rule == 1 ? x * columnArea[j] : -std::abs(1.0 - x));
                if (!have || key > most + 1e-12) {
                    have = true;
                    most = key;
                    best = j;
                }
            }
            const SheetFill& take = kept.layouts()[best];
            const auto copies = std::max<std::size_t>(1, static_cast<std::size_t>(std::floor(lp.primal(best) + 1e-9)));
            for (std::size_t c = 0; c < copies && partsLeft > 0 && chosen.size() < sheets; ++c) {
                SheetFill f;
                f.leftover = take.leftover;
                for (const FillPlacement& pl : take.placed) {
                    std::int32_t& l = left[static_cast<std::size_t>(pl.item)];
                    if (l > 0) {
                        --l;
                        --partsLeft;
                        f.placed.push_back(pl);
                        f.area += pl.at.area();
                    } else {
                        f.leftover.push_back(pl.at);
                    }
                }
                if (f.placed.empty())
                    return false;
                chosen.push_back(std::move(f));
            }
        }
        return true;
    };
    std::vector<SheetFill> chosen;
    bool found = false;
    for (int rule = 0; rule < 3 && !found && !over(); ++rule)
        found = dive(rule, chosen);
    if (!found)
        chosen.clear();
    work += (spent + filler.work()) / 1000;
    return chosen;
}

} // namespace engine::detail
