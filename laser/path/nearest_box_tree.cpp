// The box tree of the nearest-contour search: built by halving the contours along the longer side of their box,
// with a count of the contours kept under each node so that emptied branches are passed over.
#include "laser/path/nearest_box_tree.h"

#include "storedjob/stored_contour.h"

namespace {

// Entries a leaf holds at most.
constexpr int kLeafEntries = 8;

}  // namespace

NearestBoxTree::NearestBoxTree(const ContourRecord* records, const std::vector<int>& members) {
    entries_.reserve(members.size());
    int most = -1;
    for (const int i : members) {
        const ContourRecord& r = records[static_cast<std::size_t>(i)];
        entries_.push_back({i, r.minX, r.minY, r.maxX, r.maxY});
        most = std::max(most, i);
    }
    entryOf_.assign(static_cast<std::size_t>(most + 1), -1);
    out_.assign(entries_.size(), 0);
    leafOf_.assign(entries_.size(), -1);
    if (entries_.empty()) return;
    nodes_.reserve(2 * entries_.size() / kLeafEntries + 2);
    Build(0, static_cast<int>(entries_.size()), -1);
    for (std::size_t e = 0; e < entries_.size(); ++e) entryOf_[static_cast<std::size_t>(entries_[e].record)] = int(e);
}

int NearestBoxTree::Build(int first, int last, int parent) {
    const int at = static_cast<int>(nodes_.size());
    Node node{entries_[static_cast<std::size_t>(first)].minX, entries_[static_cast<std::size_t>(first)].minY,
              entries_[static_cast<std::size_t>(first)].maxX, entries_[static_cast<std::size_t>(first)].maxY,
              first, last, -1, -1, parent, last - first};
    for (int e = first + 1; e < last; ++e) {
        const Entry& en = entries_[static_cast<std::size_t>(e)];
        node.minX = std::min(node.minX, en.minX);
        node.minY = std::min(node.minY, en.minY);
        node.maxX = std::max(node.maxX, en.maxX);
        node.maxY = std::max(node.maxY, en.maxY);
    }
    nodes_.push_back(node);
    if (last - first <= kLeafEntries) {
        for (int e = first; e < last; ++e) leafOf_[static_cast<std::size_t>(e)] = at;
        return at;
    }
    // Halve by the middles of the boxes along the longer side; equal middles keep the table order.
    const bool alongX = node.maxX - node.minX >= node.maxY - node.minY;
    const int middle = first + (last - first) / 2;
    const auto begin = entries_.begin();
    std::nth_element(begin + first, begin + middle, begin + last, [alongX](const Entry& a, const Entry& b) {
        const double ma = alongX ? a.minX + a.maxX : a.minY + a.maxY;
        const double mb = alongX ? b.minX + b.maxX : b.minY + b.maxY;
        return ma < mb || (ma == mb && a.record < b.record);
    });
    const int left = Build(first, middle, at);
    const int right = Build(middle, last, at);
    nodes_[static_cast<std::size_t>(at)].left = left;
    nodes_[static_cast<std::size_t>(at)].right = right;
    return at;
}

void NearestBoxTree::Drop(int record) {
    if (record < 0 || static_cast<std::size_t>(record) >= entryOf_.size()) return;
    const int e = entryOf_[static_cast<std::size_t>(record)];
    if (e < 0 || out_[static_cast<std::size_t>(e)] != 0) return;
    out_[static_cast<std::size_t>(e)] = 1;
    for (int n = leafOf_[static_cast<std::size_t>(e)]; n >= 0; n = nodes_[static_cast<std::size_t>(n)].parent) {
        --nodes_[static_cast<std::size_t>(n)].kept;
    }
}

double NearestBoxTree::SquaredDistance(const host::ge::Point3d& p, double minX, double minY, double maxX,
                                       double maxY) {
    const double dx = std::max({minX - p.x, 0.0, p.x - maxX});
    const double dy = std::max({minY - p.y, 0.0, p.y - maxY});
    return dx * dx + dy * dy;
}
