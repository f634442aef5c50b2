#include "engine/block_storage.h"

namespace engine::detail {

void BlockList::clear()
{
    len.clear();
    wid.clear();
    waste.clear();
    node.clear();
    counts.clear();
}

void BlockList::clearKeeping(std::size_t bytes, std::size_t rows)
{
    clear();
    if (len.capacity() * sizeof(std::uint32_t) > bytes / 4) {
        len.shrink_to_fit();
        wid.shrink_to_fit();
        waste.shrink_to_fit();
        node.shrink_to_fit();
    }
    if (counts.size() == 0 && rows == counts.width())
        counts.clearKeeping(bytes);
    else
        counts.setElementWidth(rows);
}

std::size_t BlockList::bytes() const
{
    return (len.capacity() + wid.capacity() + waste.capacity() + node.capacity()) * sizeof(std::uint32_t) +
           counts.bytes();
}

void BlockNodes::clearKeeping(std::size_t bytes)
{
    m_nodes.clearKeeping(bytes);
    m_liveNodes = 0;
}

void BlockNodes::release()
{
    m_nodes.release();
    m_liveNodes = 0;
}

// Children are always older than their parent, so sliding each kept node
// down to its new place never overwrites one still to move.
void BlockNodes::compact(BlockList& known, BlockList& last)
{
    const std::size_t count = m_nodes.size();
    std::vector<std::uint32_t> index(count, kNoNode);
    std::vector<std::uint32_t> stack;
    const auto mark = [&](std::uint32_t root) {
        stack.push_back(root);
        while (!stack.empty()) {
            const std::uint32_t n = stack.back();
            stack.pop_back();
            if (index[n] != kNoNode)
                continue;
            index[n] = 0;
            const BlockNode& node = *m_nodes.at(n);
            if (node.kind != BlockNodeKind::Part) {
                stack.push_back(node.a);
                stack.push_back(node.b);
            }
        }
    };
    for (const std::uint32_t n : known.node)
        mark(n);
    for (const std::uint32_t n : last.node)
        mark(n);

    std::uint32_t next = 0;
    for (std::size_t n = 0; n < count; ++n) {
        if (index[n] == kNoNode)
            continue;
        index[n] = next;
        BlockNode node = *m_nodes.at(n);
        if (node.kind != BlockNodeKind::Part) {
            node.a = index[node.a];
            node.b = index[node.b];
        }
        *m_nodes.at(next) = node;
        ++next;
    }
    m_nodes.truncate(next);
    for (std::uint32_t& n : known.node)
        n = index[n];
    for (std::uint32_t& n : last.node)
        n = index[n];
    m_liveNodes = next;
    ++m_compactions;
}

void BlockNodes::appendItems(std::uint32_t root, std::vector<BlockItem>& items) const
{
    struct Frame {
        std::uint32_t node;
        std::uint32_t x, y;
        bool wastePending;
    };
    std::vector<Frame> stack{{root, 0, 0, false}};
    while (!stack.empty()) {
        const Frame f = stack.back();
        stack.pop_back();
        const BlockNode& n = *m_nodes.at(f.node);
        if (f.wastePending) {
            const BlockNode& a = *m_nodes.at(n.a);
            const BlockNode& b = *m_nodes.at(n.b);
            const WasteRect r = n.kind == BlockNodeKind::Stacked ? stackedWaste(a.len, a.wid, b.len, b.wid)
                                                                  : sideWaste(a.len, a.wid, b.len, b.wid);
            if (r.area() > 0) {
                items.push_back({0, f.x + r.x1, f.y + r.y1});
                items.push_back({0, f.x + r.x2, f.y + r.y2});
            }
            continue;
        }
        if (n.kind == BlockNodeKind::Part) {
            items.push_back({n.a, f.x, f.y});
            continue;
        }
        const BlockNode& a = *m_nodes.at(n.a);
        const std::uint32_t bx = n.kind == BlockNodeKind::SideBySide ? f.x + a.len : f.x;
        const std::uint32_t by = n.kind == BlockNodeKind::Stacked ? f.y + a.wid : f.y;
        stack.push_back({f.node, f.x, f.y, true});
        stack.push_back({n.b, bx, by, false});
        stack.push_back({n.a, f.x, f.y, false});
    }
}

void KnownBlockIndex::rebuild(const BlockList& known, std::size_t slots)
{
    m_hash.assign(slots, 0);
    const std::size_t mask = slots - 1;
    // Init puts identical blocks (square parts) in the known list; every one
    // goes into the table, the lookup only asks whether a key is present.
    for (std::size_t k = 0; k < known.size(); ++k) {
        std::size_t s = keyHash(known.waste[k], known.len[k], known.wid[k]) & mask;
        while (m_hash[s] != 0)
            s = (s + 1) & mask;
        m_hash[s] = static_cast<std::uint32_t>(k + 1);
    }
}

} // namespace engine::detail
