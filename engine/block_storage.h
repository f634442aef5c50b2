#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace engine {

// One entry of a block's item list. id: part row (1-based) as entered,
// part row + turned offset when turned by 90 degrees, 0 for a waste marker.
// Waste markers come in pairs, the two corners of one waste rectangle.
// x, y are relative to the block's lower-left corner.
struct BlockItem {
    std::uint32_t id = 0;
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    bool operator==(const BlockItem&) const = default;
};

namespace detail {

// Where the manual search keeps its blocks: the join tree that says how each
// block was made, the block lists as parallel arrays, and the index that
// finds a known block by its size and waste. The search (log3) decides
// what to join and what to keep; everything here only stores and finds.
// The small members are defined here, in the header, because the search's
// inner loop calls them once per join.

constexpr std::uint32_t kNoNode = 0xFFFFFFFFu;

// Waste rectangle of B stacked above A: right of B when A is longer, else
// right of A. Corners (x1, y1)-(x2, y2).
struct WasteRect {
    std::uint32_t x1, y1, x2, y2;
    std::uint32_t area() const { return (x2 - x1) * (y2 - y1); }
};

inline WasteRect stackedWaste(std::uint32_t aL, std::uint32_t aW, std::uint32_t bL, std::uint32_t bW)
{
    if (aL > bL)
        return {bL, aW, aL, aW + bW};
    return {aL, 0, bL, aW};
}

// Waste rectangle of B right of A: above B when B is narrower, else above A.
inline WasteRect sideWaste(std::uint32_t aL, std::uint32_t aW, std::uint32_t bL, std::uint32_t bW)
{
    if (bW < aW)
        return {aL, bW, aL + bL, aW};
    return {0, aW, aL, bW};
}

// Fixed-size pages (up to about 1 MiB each), so that growing never copies
// what is there and the peak memory stays close to what is held.
template <class T>
class PagedArray {
public:
    PagedArray() = default;
    void setElementWidth(std::size_t width)
    {
        release();
        m_perPage = std::max<std::size_t>(width, 1);
        m_shift = 13;
        while (m_shift > 0 && (std::size_t{1} << m_shift) * m_perPage * sizeof(T) > (std::size_t{1} << 20))
            --m_shift;
        m_mask = (std::size_t{1} << m_shift) - 1;
    }
    void clear() { m_size = 0; }  // keeps the pages for reuse
    void release()
    {
        m_pages.clear();
        m_size = 0;
    }
    // Keeps the first `size` elements, frees the pages beyond.
    void truncate(std::size_t size)
    {
        m_size = std::min(size, m_size);
        m_pages.resize((m_size + m_mask) >> m_shift);
    }
    // Empties, keeps up to `bytes` of pages for reuse.
    void clearKeeping(std::size_t bytes)
    {
        const std::size_t pageBytes = (m_mask + 1) * m_perPage * sizeof(T);
        m_size = 0;
        m_pages.resize(std::min(m_pages.size(), bytes / pageBytes));
    }
    std::size_t size() const { return m_size; }
    std::size_t width() const { return m_perPage; }
    // Room for one element of `width` values.
    T* append()
    {
        if (m_size == m_pages.size() << m_shift)
            m_pages.push_back(std::make_unique_for_overwrite<T[]>((m_mask + 1) * m_perPage));
        return at(m_size++);
    }
    T* at(std::size_t k) { return m_pages[k >> m_shift].get() + (k & m_mask) * m_perPage; }
    const T* at(std::size_t k) const { return m_pages[k >> m_shift].get() + (k & m_mask) * m_perPage; }
    std::size_t bytes() const { return m_pages.size() * (m_mask + 1) * m_perPage * sizeof(T); }

private:
    std::size_t m_perPage = 1;
    std::size_t m_shift = 13;
    std::size_t m_mask = (std::size_t{1} << 13) - 1;
    std::size_t m_size = 0;
    std::vector<std::unique_ptr<T[]>> m_pages;
};

// How a block was made. Part blocks name their item id in `a`; joins name
// the nodes of A and B.
enum class BlockNodeKind : std::uint32_t { Part, Stacked, SideBySide };
struct BlockNode {
    std::uint32_t len;
    std::uint32_t wid;
    std::uint32_t a;
    std::uint32_t b;
    std::uint32_t items;  // n
    std::uint32_t parts;
    BlockNodeKind kind;
};

// A block list as parallel arrays: size, waste, node and the pieces of each
// part row (`rows` values a block).
struct BlockList {
    std::vector<std::uint32_t> len;
    std::vector<std::uint32_t> wid;
    std::vector<std::uint32_t> waste;
    std::vector<std::uint32_t> node;
    PagedArray<std::uint32_t> counts;
    std::size_t size() const { return len.size(); }
    void clear();
    // Empties the list for a search over `rows` part rows, keeping up to
    // about `bytes` of its storage.
    void clearKeeping(std::size_t bytes, std::size_t rows);
    void push(std::uint32_t l, std::uint32_t w, std::uint32_t ws, std::uint32_t n, const std::uint32_t* c,
              std::size_t rows)
    {
        len.push_back(l);
        wid.push_back(w);
        waste.push_back(ws);
        node.push_back(n);
        std::copy_n(c, rows, counts.append());
    }
    std::size_t bytes() const;
};

// The join tree of every block a search has made. Nodes are appended in
// order of creation; the new blocks of a generation that were duplicates and
// were never joined are garbage, which compact() squeezes out once it
// outweighs the rest.
class BlockNodes {
public:
    std::uint32_t add(const BlockNode& node)
    {
        const auto n = static_cast<std::uint32_t>(m_nodes.size());
        *m_nodes.append() = node;
        return n;
    }
    const BlockNode& operator[](std::uint32_t n) const { return *m_nodes.at(n); }
    std::size_t size() const { return m_nodes.size(); }
    std::size_t bytes() const { return m_nodes.bytes(); }

    // Empties the tree, keeping up to `bytes` of pages for the next search.
    void clearKeeping(std::size_t bytes);
    void release();

    // Amortised: a compaction costs one pass over the nodes and is due only
    // when at least half of them have become garbage since the last one.
    bool compactionDue() const { return m_nodes.size() > 2 * m_liveNodes + m_compactionSlack; }
    // Keeps the nodes that the two lists reach, in their order, renumbers
    // them and the lists' node fields.
    void compact(BlockList& known, BlockList& last);
    void setCompactionSlack(std::size_t nodes) { m_compactionSlack = nodes; }
    std::size_t compactions() const { return m_compactions; }

    // The items of the block made at `root`, depth-first, A before B; a
    // join's waste pair follows B's items.
    void appendItems(std::uint32_t root, std::vector<BlockItem>& items) const;

private:
    PagedArray<BlockNode> m_nodes;
    std::size_t m_liveNodes = 0;  // nodes kept by the last compaction
    std::size_t m_compactionSlack = std::size_t{1} << 20;
    std::size_t m_compactions = 0;  // since construction
};

// Duplicate detection on (waste, length, width) over the known list: an
// open-addressing table of known index + 1, 0 = empty slot.
class KnownBlockIndex {
public:
    bool has(const BlockList& known, std::uint32_t waste, std::uint32_t len, std::uint32_t wid) const
    {
        const std::size_t mask = m_hash.size() - 1;
        for (std::size_t s = keyHash(waste, len, wid) & mask;; s = (s + 1) & mask) {
            const std::uint32_t e = m_hash[s];
            if (e == 0)
                return false;
            const std::size_t k = e - 1;
            if (known.waste[k] == waste && known.len[k] == len && known.wid[k] == wid)
                return true;
        }
    }
    // Puts known block k in, growing the table when it is half full.
    void insert(const BlockList& known, std::size_t k)
    {
        if (known.size() * 2 > m_hash.size()) {
            rebuild(known, m_hash.size() * 2);  // puts k in with the others
            return;
        }
        const std::size_t mask = m_hash.size() - 1;
        std::size_t s = keyHash(known.waste[k], known.len[k], known.wid[k]) & mask;
        while (m_hash[s] != 0)
            s = (s + 1) & mask;
        m_hash[s] = static_cast<std::uint32_t>(k + 1);
    }
    // A table of `slots` (a power of two) holding every known block.
    void rebuild(const BlockList& known, std::size_t slots);
    std::size_t slotCount() const { return m_hash.size(); }
    std::size_t bytes() const { return m_hash.capacity() * sizeof(std::uint32_t); }
    void release() { m_hash = {}; }

private:
    static std::uint64_t keyHash(std::uint32_t waste, std::uint32_t len, std::uint32_t wid)
    {
        std::uint64_t h = (std::uint64_t{waste} * 0x9E3779B97F4A7C15ull) ^ (std::uint64_t{len} << 32 | wid);
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 32;
        return h;
    }

    std::vector<std::uint32_t> m_hash;
};

} // namespace detail
} // namespace engine
