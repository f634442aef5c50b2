#pragma once

// A plain, step-by-step version of the manual block search, kept as the
// reference the fast engine is checked against (tests) and timed against
// (bench): every block is its own heap array laid out as
// [n, length, width, counts[R], (id, x, y) * n], duplicates are found by a
// scan of the known list and every pair runs the count test first.

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/log3.h"
#include "engine/project.h"

namespace reference {

using u32 = std::uint32_t;
using BlockPtr = std::unique_ptr<u32[]>;

struct BlockList {
    std::vector<BlockPtr> blocks;
    std::vector<u32> waste;
    std::size_t count() const { return blocks.size(); }
};

class Log3 {
public:
    u32 limit = 0;
    float alpha = 0;
    u32 L = 0, W = 0, area = 0;
    std::int32_t pi = 0;
    u32 R = 0, turned = 0;
    std::vector<u32> avail;
    BlockList known, last, fresh;
    std::vector<u32> scores;
    std::size_t best = 0;
    u32 generation = 0;
    bool generated = false, goodEnough = false;

    static BlockPtr make(u32 n, u32 len, u32 wid, u32 rows)
    {
        BlockPtr b(new u32[3 + rows + 3 * n]());
        b[0] = n;
        b[1] = len;
        b[2] = wid;
        return b;
    }
    static std::size_t sizeOf(const u32* b, u32 rows) { return 3 + rows + 3 * std::size_t{b[0]}; }
    BlockPtr copy(const u32* b) const
    {
        BlockPtr c(new u32[sizeOf(b, R)]);
        std::copy_n(b, sizeOf(b, R), c.get());
        return c;
    }

    void Init(const std::vector<engine::PartDemand>& rows, u32 lim, float a, u32 l, u32 w, std::int32_t p, u32 off)
    {
        limit = lim;
        alpha = a;
        L = l;
        W = w;
        area = L * W;
        pi = p;
        R = static_cast<u32>(rows.size());
        turned = off;
        generation = 0;
        generated = true;
        goodEnough = false;
        known = {};
        last = {};
        fresh = {};
        avail.assign(R, 0);
        for (u32 i = 0; i < R; ++i) {
            const auto len = static_cast<u32>(rows[i].len), wid = static_cast<u32>(rows[i].wid);
            if (rows[i].qty <= 0 || len * wid == 0)
                continue;
            const auto add = [&](u32 id, u32 bl, u32 bw) {
                for (BlockList* list : {&known, &last}) {
                    BlockPtr b = make(1, bl, bw, R);
                    b[3 + i] = 1;
                    b[3 + R] = id;
                    list->blocks.push_back(std::move(b));
                    list->waste.push_back(0);
                }
            };
            if (len <= L && wid <= W)
                add(static_cast<u32>(rows[i].row), len, wid);
            if (rows[i].lock == 0 && wid <= L && len <= W)
                add(static_cast<u32>(rows[i].row) + turned, wid, len);
            avail[i] = std::min(static_cast<u32>(rows[i].qty), area / (len * wid));
        }
    }

    // One generation; false when the search ends after it.
    bool Step(const std::atomic<bool>* stop = nullptr)
    {
        generated = false;
        fresh = {};
        ++generation;
        bool leave = false;
        for (std::size_t i = 0; i < known.count() && !leave; ++i)
            for (std::size_t j = 0; j < last.count(); ++j)
                if (TryPair(i, j) == 2) {
                    leave = true;
                    break;
                }
        if (!generated)
            return false;
        MergeNewBlocks();
        if ((stop != nullptr && stop->load()) || goodEnough)
            return false;
        last = std::move(fresh);
        fresh = {};
        return true;
    }

    void Search(const std::atomic<bool>* stop = nullptr)
    {
        while (generated && Step(stop)) {
        }
        ChooseBlock();
    }

    int TryPair(std::size_t i, std::size_t j)
    {
        const u32* a = known.blocks[i].get();
        const u32* b = last.blocks[j].get();
        for (u32 l = 0; l < R; ++l)
            if (a[3 + l] + b[3 + l] > avail[l])
                return 1;
        if (Join(i, j, true) == 2)
            return 2;
        return Join(i, j, false) == 2 ? 2 : 1;
    }

    int Join(std::size_t i, std::size_t j, bool stacked)
    {
        const u32* a = known.blocks[i].get();
        const u32* b = last.blocks[j].get();
        u32 x1, y1, x2, y2, len, wid, bx = 0, by = 0;
        if (stacked) {
            if (a[2] + b[2] > W)
                return 1;
            if (a[1] > b[1]) {
                x1 = b[1]; y1 = a[2]; x2 = a[1]; y2 = a[2] + b[2];
            } else {
                x1 = a[1]; y1 = 0; x2 = b[1]; y2 = a[2];
            }
            len = std::max(a[1], b[1]);
            wid = a[2] + b[2];
            by = a[2];
        } else {
            if (a[1] + b[1] > L)
                return 1;
            if (b[2] < a[2]) {
                x1 = a[1]; y1 = b[2]; x2 = a[1] + b[1]; y2 = a[2];
            } else {
                x1 = 0; y1 = a[2]; x2 = a[1]; y2 = b[2];
            }
            len = a[1] + b[1];
            wid = std::max(a[2], b[2]);
            bx = a[1];
        }
        const u32 waste = (x2 - x1) * (y2 - y1);
        const u32 total = waste + known.waste[i] + last.waste[j];
        const u32 product = len * wid;
        const float lim = alpha * static_cast<float>(product);
        if (static_cast<double>(total) > std::trunc(static_cast<double>(lim)))
            return 1;
        generated = true;
        if (fresh.count() >= limit)
            return 2;
        const u32 n = a[0] + b[0] + (waste > 0 ? 2 : 0);
        BlockPtr c = make(n, len, wid, R);
        for (u32 l = 0; l < R; ++l)
            c[3 + l] = a[3 + l] + b[3 + l];
        u32* item = c.get() + 3 + R;
        for (u32 k = 0; k < a[0]; ++k, item += 3)
            std::copy_n(a + 3 + R + 3 * k, 3, item);
        for (u32 k = 0; k < b[0]; ++k, item += 3) {
            const u32* s = b + 3 + R + 3 * k;
            item[0] = s[0];
            item[1] = s[1] + bx;
            item[2] = s[2] + by;
        }
        if (waste > 0) {
            item[0] = 0; item[1] = x1; item[2] = y1;
            item[3] = 0; item[4] = x2; item[5] = y2;
        }
        fresh.blocks.push_back(std::move(c));
        fresh.waste.push_back(total);
        const u32 used = (len * wid - total) / std::max<u32>(area / 100, 1);
        if (static_cast<std::int64_t>(used) > pi) {
            goodEnough = true;
            return 2;
        }
        return 1;
    }

    void MergeNewBlocks()
    {
        alpha = static_cast<float>(static_cast<double>(alpha) * 1.2);
        for (std::size_t p = 0; p < fresh.count(); ++p) {
            const u32* b = fresh.blocks[p].get();
            bool dup = false;
            for (std::size_t k = 0; k < known.count() && !dup; ++k)
                dup = known.waste[k] == fresh.waste[p] && known.blocks[k][1] == b[1] && known.blocks[k][2] == b[2];
            if (dup)
                continue;
            known.blocks.push_back(copy(b));
            known.waste.push_back(fresh.waste[p]);
        }
    }

    void ChooseBlock()
    {
        scores.assign(known.count(), 0);
        best = 0;
        u32 bestScore = 2147483647, bestWaste = 2147483647;
        for (std::size_t k = 0; k < known.count(); ++k) {
            const u32* b = known.blocks[k].get();
            u32 s = 2147483647, w = 2147483647;
            if (b[1] <= L && b[2] <= W) {
                s = area + known.waste[k] - b[1] * b[2];
                w = known.waste[k];
            }
            scores[k] = s;
            if (s < bestScore || (s == bestScore && w < bestWaste)) {
                bestScore = s;
                bestWaste = w;
                best = k;
            }
        }
    }

    // Known block k in the engine's form, for comparisons.
    engine::Block block(std::size_t k) const
    {
        const u32* b = known.blocks[k].get();
        engine::Block out;
        out.length = b[1];
        out.width = b[2];
        out.counts.assign(b + 3, b + 3 + R);
        for (u32 i = 0; i < b[0]; ++i)
            out.items.push_back({b[3 + R + 3 * i], b[4 + R + 3 * i], b[5 + R + 3 * i]});
        return out;
    }
};

} // namespace reference
