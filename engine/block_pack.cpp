#include "engine/block_pack.h"

#include <algorithm>
#include <bit>

namespace engine::detail {

std::size_t BlockPacker::KeyHash::operator()(const Key& k) const noexcept
{
    std::uint64_t h = 0x9E3779B97F4A7C15ULL;
    for (const std::uint64_t v : k) {
        h ^= v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
        h *= 0xBF58476D1CE4E5B9ULL;
    }
    return static_cast<std::size_t>(h ^ (h >> 31));
}

bool BlockPacker::add(const Block& b)
{
    std::vector<std::int32_t>& same = m_byKey[b.key];
    for (const std::int32_t j : same) {
        const Block& o = m_blocks[static_cast<std::size_t>(j)];
        if (!o.dead && o.w <= b.w && o.h <= b.h)
            return false;
    }
    for (const std::int32_t j : same) {
        Block& o = m_blocks[static_cast<std::size_t>(j)];
        if (b.w <= o.w && b.h <= o.h)
            o.dead = true;
    }
    same.push_back(static_cast<std::int32_t>(m_blocks.size()));
    m_blocks.push_back(b);
    return true;
}

bool BlockPacker::pack(std::int32_t w, std::int32_t h, std::span<const FillItem> items, std::span<const double> value,
                       std::span<const std::int32_t> avail, std::int64_t minArea, std::size_t maxBlocks, SheetFill& out)
{
    out.placed.clear();
    out.leftover.clear();
    out.value = 0;
    out.area = 0;
    m_blocks.clear();
    m_byKey.clear();
    m_check.fill(0);
    m_guard.fill(0);
    const std::int64_t sheetArea = static_cast<std::int64_t>(w) * h;
    if (w <= 0 || h <= 0 || minArea > sheetArea)
        return false;
    const std::int64_t slack = sheetArea - std::max<std::int64_t>(minArea, 0);

    // One field per kind with parts left: its count, and two guard bits.
    std::vector<Key> unit(items.size(), Key{});
    std::size_t word = 0;
    int bit = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (avail[i] <= 0)
            continue;
        const auto n = static_cast<std::uint64_t>(avail[i]);
        const int b = std::bit_width(n);
        const int width = b + 2;
        if (bit + width > 64) {
            ++word;
            bit = 0;
        }
        if (word >= kKeyWords || width > 64)
            return false;  // too many kinds for the search
        unit[i][word] = std::uint64_t{1} << bit;
        m_check[word] |= (((std::uint64_t{1} << b) - 1) - n) << bit;
        m_guard[word] |= std::uint64_t{3} << (bit + b);
        bit += width;
    }

    for (std::size_t i = 0; i < items.size(); ++i) {
        if (avail[i] <= 0)
            continue;
        const FillItem& it = items[i];
        const std::int64_t area = static_cast<std::int64_t>(it.len) * it.wid;
        for (const bool turned : {false, true}) {
            if (turned && (!it.turnable || it.len == it.wid))
                continue;
            const std::int32_t pw = turned ? it.wid : it.len;
            const std::int32_t ph = turned ? it.len : it.wid;
            if (pw > w || ph > h)
                continue;
            Block b;
            b.key = unit[i];
            b.w = pw;
            b.h = ph;
            b.area = area;
            b.value = value[i];
            b.a = static_cast<std::int32_t>(i);
            b.turned = turned;
            add(b);
        }
    }

    // Each block with every block made before it (itself included), in the
    // order they were made: every pair is tried once.
    for (std::size_t i = 0; i < m_blocks.size() && m_blocks.size() < maxBlocks; ++i) {
        for (std::size_t j = 0; j <= i && m_blocks.size() < maxBlocks; ++j) {
            if (m_blocks[i].dead)
                break;
            if (m_blocks[j].dead)
                continue;
            ++m_work;
            const Block& p = m_blocks[i];
            const Block& q = m_blocks[j];
            const std::int64_t area = p.area + q.area;
            const std::int32_t sw = p.w + q.w;
            const std::int32_t sh = std::max(p.h, q.h);
            const std::int32_t tw = std::max(p.w, q.w);
            const std::int32_t th = p.h + q.h;
            const bool beside = sw <= w && static_cast<std::int64_t>(sw) * sh - area <= slack;
            const bool above = th <= h && static_cast<std::int64_t>(tw) * th - area <= slack;
            if (!beside && !above)
                continue;
            Key key;
            bool fits = true;
            for (std::size_t k = 0; k < kKeyWords; ++k) {
                key[k] = p.key[k] + q.key[k];
                fits = fits && ((key[k] + m_check[k]) & m_guard[k]) == 0;
            }
            if (!fits)
                continue;
            Block c;
            c.key = key;
            c.area = area;
            c.value = p.value + q.value;
            c.a = static_cast<std::int32_t>(i);
            c.b = static_cast<std::int32_t>(j);
            if (beside) {
                c.w = sw;
                c.h = sh;
                c.beside = true;
                add(c);
            }
            if (above && m_blocks.size() < maxBlocks) {
                c.w = tw;
                c.h = th;
                c.beside = false;
                add(c);
            }
        }
    }

    std::int32_t best = -1;
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        const Block& b = m_blocks[i];
        if (b.area < minArea)
            continue;
        if (best < 0 || b.value > m_blocks[static_cast<std::size_t>(best)].value
            || (b.value == m_blocks[static_cast<std::size_t>(best)].value
                && b.area > m_blocks[static_cast<std::size_t>(best)].area))
            best = static_cast<std::int32_t>(i);
    }
    if (best < 0)
        return false;
    emit(best, 0, 0, w, h, out);
    out.value = m_blocks[static_cast<std::size_t>(best)].value;
    return true;
}

// Lays block `index` into the corner of the piece (x, y, rw, rh); what the
// block leaves of the piece is cut off first, in the way that keeps the
// larger offcut whole.
void BlockPacker::emit(std::int32_t index, std::int32_t x, std::int32_t y, std::int32_t rw, std::int32_t rh,
                       SheetFill& out) const
{
    const Block& b = m_blocks[static_cast<std::size_t>(index)];
    const std::int64_t restW = rw - b.w;
    const std::int64_t restH = rh - b.h;
    if (restW > 0 || restH > 0) {
        // Down the whole height right of the block, then above it; or across
        // the whole width above the block, then right of it.
        const bool downFirst = restW * rh >= restH * rw;
        const FillRect right = downFirst ? FillRect{x + b.w, y, x + rw, y + rh} : FillRect{x + b.w, y, x + rw, y + b.h};
        const FillRect top = downFirst ? FillRect{x, y + b.h, x + b.w, y + rh} : FillRect{x, y + b.h, x + rw, y + rh};
        if (right.x1 > right.x && right.y1 > right.y)
            out.leftover.push_back(right);
        if (top.x1 > top.x && top.y1 > top.y)
            out.leftover.push_back(top);
    }
    if (b.b < 0) {
        const FillRect part{x, y, x + b.w, y + b.h};
        out.placed.push_back(FillPlacement{b.a, part, b.turned});
        out.area += part.area();
        return;
    }
    const Block& first = m_blocks[static_cast<std::size_t>(b.a)];
    if (b.beside) {
        emit(b.a, x, y, first.w, b.h, out);
        emit(b.b, x + first.w, y, b.w - first.w, b.h, out);
    } else {
        emit(b.a, x, y, b.w, first.h, out);
        emit(b.b, x, y + first.h, b.w, b.h - first.h, out);
    }
}

} // namespace engine::detail
