// A box tree over the contours of a table, walked nearest box first from a point, so that a search for the nearest
// contour looks only at the contours whose boxes lie within the best distance found so far.
#pragma once

#include <cstdint>
#include <limits>
#include <algorithm>
#include <vector>

#include "host/ge/point.h"

struct ContourRecord;

class NearestBoxTree {
public:
    // The records `members` of `records`, with the boxes the records hold now.
    NearestBoxTree(const ContourRecord* records, const std::vector<int>& members);

    // Visits the records still kept in increasing order of the squared plane distance of their boxes from `p`,
    // while that distance is at most the limit the last visit answered (at first there is none). `visit(i, d2)`
    // answers the new squared limit; Drop(i) inside it takes record i out of the tree for good.
    template <class Visit>
    void Walk(const host::ge::Point3d& p, Visit&& visit);

    // Takes record i out (nothing when it is not in the tree or already out).
    void Drop(int record);

private:
    struct Node {
        double minX, minY, maxX, maxY;
        int first, last;        // entries first .. last - 1
        int left, right;        // children, -1 for a leaf
        int parent;
        int kept;               // entries under the node still in the tree
    };
    struct Entry {
        int record;
        double minX, minY, maxX, maxY;
    };
    // An item of the walk: a node (index >= 0) or an entry (-1 - index), with its squared distance.
    struct Item {
        double d2;
        int at;
    };

    int Build(int first, int last, int parent);
    static double SquaredDistance(const host::ge::Point3d& p, double minX, double minY, double maxX, double maxY);

    std::vector<Node> nodes_;
    std::vector<Entry> entries_;
    std::vector<int> leafOf_;     // per entry: its leaf
    std::vector<int> entryOf_;    // per record index: its entry, or -1
    std::vector<std::uint8_t> out_;   // per entry: dropped
    std::vector<Item> heap_;
};

template <class Visit>
void NearestBoxTree::Walk(const host::ge::Point3d& p, Visit&& visit) {
    if (nodes_.empty() || nodes_[0].kept == 0) return;
    const auto later = [](const Item& a, const Item& b) { return a.d2 > b.d2; };
    const auto push = [&](Item item) {
        heap_.push_back(item);
        std::push_heap(heap_.begin(), heap_.end(), later);
    };
    heap_.clear();
    double limit = std::numeric_limits<double>::infinity();
    const Node& root = nodes_[0];
    push({SquaredDistance(p, root.minX, root.minY, root.maxX, root.maxY), 0});
    while (!heap_.empty()) {
        const Item item = heap_.front();
        if (item.d2 > limit) break;
        std::pop_heap(heap_.begin(), heap_.end(), later);
        heap_.pop_back();
        if (item.at < 0) {
            const int e = -1 - item.at;
            if (out_[static_cast<std::size_t>(e)] != 0) continue;
            limit = visit(entries_[static_cast<std::size_t>(e)].record, item.d2);
            continue;
        }
        const Node& n = nodes_[static_cast<std::size_t>(item.at)];
        if (n.kept == 0) continue;
        if (n.left < 0) {
            for (int e = n.first; e < n.last; ++e) {
                if (out_[static_cast<std::size_t>(e)] != 0) continue;
                const Entry& en = entries_[static_cast<std::size_t>(e)];
                const double d2 = SquaredDistance(p, en.minX, en.minY, en.maxX, en.maxY);
                if (d2 <= limit) push({d2, -1 - e});
            }
            continue;
        }
        for (const int c : {n.left, n.right}) {
            const Node& child = nodes_[static_cast<std::size_t>(c)];
            if (child.kept == 0) continue;
            const double d2 = SquaredDistance(p, child.minX, child.minY, child.maxX, child.maxY);
            if (d2 <= limit) push({d2, c});
        }
    }
}
