// Node numbering of the drawn pieces, and the lists of pieces that touch one node.
//
// The rule compares every end with the ends of every later piece of its kind, which is quadratic. Only pieces
// with an end within the joining distance can take part, so the ends are put into a grid of cells twice that
// size first and each end looks only at the 3 x 3 cells around it; the candidates are then taken in index
// order, so the node ids and lists come out exactly as the pairwise walk gives them.
#include "laser/contours/node_numbering.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "cadlib/messages.h"
#include "cadlib/numbers.h"

using host::ge::Point3d;

namespace {

const TwoLanguageText kTooManyNearEnds = {
    "\n\rMore than %i object ends lie near one end; the further ones are not joined there.",
    "\n\rВблизи одного конца лежит больше %i концов объектов; остальные к нему не присоединены.",
};
const TwoLanguageText kTooManyNodeMembers = {
    "\n\rMore than %i objects meet at one point (%.4f,%.4f); only the first %i are examined there.",
    "\n\rБольше %i объектов сходится в одной точке (%.4f,%.4f); рассмотрены только первые %i.",
};

bool TakesPart(const ContourEntity& e) {
    return e.type == kEntityLine || e.type == kEntityArc || e.type == kEntityPoint;
}

// A grid of the pieces' ends: cell keys are hashed, so two cells may share a list; that only adds candidates,
// which the exact distances then sort out.
class EndGrid {
public:
    EndGrid(const ContourEntityStage& stage, double radius) : cell_(std::max(2.0 * radius, 1e-9)) {
        for (int j = 0; j < stage.ContourEntityCount; ++j) {
            const ContourEntity& e = stage.ContourEntityTable[static_cast<std::size_t>(j)];
            if (!TakesPart(e)) continue;
            cells_[Key(Cell(e.startPoint.x), Cell(e.startPoint.y))].push_back(j);
            if (!(e.endPoint == e.startPoint)) cells_[Key(Cell(e.endPoint.x), Cell(e.endPoint.y))].push_back(j);
        }
    }

    // The pieces after `after` with an end in the cells around p, ascending, each once.
    void Around(const Point3d& p, int after, std::vector<int>& out) const {
        out.clear();
        const std::int64_t cx = Cell(p.x), cy = Cell(p.y);
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                const auto it = cells_.find(Key(cx + dx, cy + dy));
                if (it == cells_.end()) continue;
                for (int j : it->second) {
                    if (j > after) out.push_back(j);
                }
            }
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }

private:
    static constexpr double kCellLimit = 4.0e18;

    std::int64_t Cell(double v) const {
        const double c = std::floor(v / cell_);
        if (!(c == c)) return 0;  // NaN: any cell will do, the distance test refuses it
        return static_cast<std::int64_t>(std::clamp(c, -kCellLimit, kCellLimit));
    }
    static std::uint64_t Key(std::int64_t x, std::int64_t y) {
        return static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(y);
    }

    double cell_;
    std::unordered_map<std::uint64_t, std::vector<int>> cells_;
};

// The numbering of one end of one piece.
class EndNumbering {
public:
    EndNumbering(ContourEntityStage& stage, std::uint32_t& lastNode, bool& warned)
        : stage_(stage), lastNode_(lastNode), warned_(warned) {}

    void Number(int i, bool atStart, const EndGrid& grid, double joinDist, double exactTolerance) {
        ContourEntity& e = Record(i);
        std::uint32_t& ownNode = atStart ? e.startNode : e.endNode;
        if (ownNode != 0) return;
        const Point3d p = atStart ? e.startPoint : e.endPoint;
        members_ = 0;
        nearStarts_.clear();
        nearEnds_.clear();

        grid.Around(p, i, candidates_);
        for (int j : candidates_) {
            ContourEntity& f = Record(j);
            if (f.kind != e.kind || !TakesPart(f)) continue;
            const double dS = Distance2d(p.x, p.y, f.startPoint.x, f.startPoint.y);
            const double dE = Distance2d(p.x, p.y, f.endPoint.x, f.endPoint.y);
            if (dE < dS) {
                if (dE <= exactTolerance) {
                    if (f.endNode == 0) Join(ownNode, f.endNode);
                } else if (dE <= joinDist) {
                    AddNear(nearEnds_, j);
                }
            } else {
                if (dS <= exactTolerance) {
                    if (f.startNode == 0) Join(ownNode, f.startNode);
                } else if (dS <= joinDist) {
                    AddNear(nearStarts_, j);
                }
            }
        }

        if (members_ > 1) {
            stage_.NodeList.push_back(node_);
            return;
        }
        for (int j : nearStarts_) {
            if (Record(j).startNode == 0) Join(ownNode, Record(j).startNode);
        }
        for (int j : nearEnds_) {
            if (Record(j).endNode == 0) Join(ownNode, Record(j).endNode);
        }
    }

private:
    ContourEntity& Record(int i) { return stage_.ContourEntityTable[static_cast<std::size_t>(i)]; }

    void Join(std::uint32_t& ownNode, std::uint32_t& slot) {
        if (members_ == 0) {
            node_ = ++lastNode_;
            ownNode = node_;
            slot = node_;
            members_ = 2;
        } else {
            slot = node_;
            ++members_;
        }
    }

    void AddNear(std::vector<int>& list, int j) {
        if (list.size() < kNearCandidateCapacity) {
            list.push_back(j);
        } else if (!warned_) {
            warned_ = true;
            PrintLocalized(kTooManyNearEnds, static_cast<int>(kNearCandidateCapacity));
        }
    }

    ContourEntityStage& stage_;
    std::uint32_t& lastNode_;
    bool& warned_;
    std::uint32_t node_ = 0;
    int members_ = 0;
    std::vector<int> nearStarts_, nearEnds_, candidates_;
};

}  // namespace

double ExactNodeTolerance(double joinDist, int autoConnect) {
    if (autoConnect == 1) return joinDist;
    return std::min(kExactNodeTolerance, joinDist);
}

int NumberContourNodes(ContourEntityStage& stage, double joinDist, double exactTolerance) {
    const EndGrid grid(stage, std::max({joinDist, exactTolerance, 0.0}));
    std::uint32_t lastNode = 0;
    bool warned = false;
    EndNumbering numbering(stage, lastNode, warned);
    for (int i = 0; i + 1 < stage.ContourEntityCount; ++i) {
        if (!TakesPart(stage.ContourEntityTable[static_cast<std::size_t>(i)])) continue;
        numbering.Number(i, true, grid, joinDist, exactTolerance);
        numbering.Number(i, false, grid, joinDist, exactTolerance);
    }
    return 0;
}

int NumberContourNodesBasic(ContourEntityStage& stage, double joinDist) {
    auto takesPart = [](const ContourEntity& e) { return TakesPart(e) || e.type == kEntityCircle; };
    // The grid holds lines, arcs and points; circles are few and are looked at apart.
    const EndGrid grid(stage, std::max(joinDist, 0.0));
    std::vector<int> circles, candidates;
    for (int j = 0; j < stage.ContourEntityCount; ++j) {
        if (stage.ContourEntityTable[static_cast<std::size_t>(j)].type == kEntityCircle) circles.push_back(j);
    }
    std::uint32_t lastNode = 0;
    for (int i = 0; i + 1 < stage.ContourEntityCount; ++i) {
        ContourEntity& e = stage.ContourEntityTable[static_cast<std::size_t>(i)];
        if (!takesPart(e)) continue;
        for (bool atStart : {true, false}) {
            std::uint32_t& ownNode = atStart ? e.startNode : e.endNode;
            if (ownNode != 0) continue;
            const Point3d p = atStart ? e.startPoint : e.endPoint;
            grid.Around(p, i, candidates);
            for (int j : circles) {
                if (j > i) candidates.push_back(j);
            }
            std::sort(candidates.begin(), candidates.end());
            std::uint32_t node = 0;
            int members = 0;
            for (int j : candidates) {
                ContourEntity& f = stage.ContourEntityTable[static_cast<std::size_t>(j)];
                if (f.kind != e.kind || !takesPart(f)) continue;
                const double dS = Distance2d(p.x, p.y, f.startPoint.x, f.startPoint.y);
                const double dE = Distance2d(p.x, p.y, f.endPoint.x, f.endPoint.y);
                std::uint32_t* slot = nullptr;
                if (dE < dS) {
                    if (dE < joinDist && f.endNode == 0) slot = &f.endNode;
                } else if (dS < joinDist && f.startNode == 0) {
                    slot = &f.startNode;
                }
                if (!slot) continue;
                if (members == 0) {
                    node = ++lastNode;
                    ownNode = node;
                    members = 1;
                }
                *slot = node;
                ++members;
                if (f.type == kEntityCircle) f.endNode = f.startNode;
            }
            if (e.type == kEntityCircle) e.endNode = e.startNode;
            if (members > 1) stage.NodeList.push_back(node);
        }
    }
    return 0;
}

NodeMemberIndex::NodeMemberIndex(const ContourEntityStage& stage) {
    for (int i = 0; i < stage.ContourEntityCount; ++i) {
        const ContourEntity& e = stage.ContourEntityTable[static_cast<std::size_t>(i)];
        for (std::uint32_t node : {e.startNode, e.endNode}) {
            if (node == 0) continue;
            if (byNode_.size() <= node) byNode_.resize(node + 1);
            std::vector<int>& list = byNode_[node];
            if (list.empty() || list.back() != i) list.push_back(i);
        }
    }
}

const std::vector<int>& NodeMemberIndex::Candidates(std::uint32_t node) const {
    static const std::vector<int> kNone;
    return node < byNode_.size() ? byNode_[node] : kNone;
}

bool CountsAtTripleNode(ContourKind kind) {
    switch (kind) {
        case ContourKind::EngraveLine:
        case ContourKind::NoLeadIn:
        case ContourKind::CommonLine:
        case ContourKind::MarkPoint:
        case ContourKind::KindJumperPoint:
        case ContourKind::HeatTreatmentLine:
        case ContourKind::InsideCutLine:
        case ContourKind::EngraveAndMarkLine:
        case ContourKind::MarkLine:
            return false;
        default:
            return true;
    }
}

int FillNodeMembers(ContourEntityStage& stage, const NodeMemberIndex& index, std::uint32_t node,
                    NodeMemberFilter filter) {
    stage.NodeMembers.clear();
    bool reported = false;
    for (int i : index.Candidates(node)) {
        const ContourEntity& e = stage.ContourEntityTable[static_cast<std::size_t>(i)];
        if (e.startNode != node && e.endNode != node) continue;
        if (filter == NodeMemberFilter::TripleCounted && !CountsAtTripleNode(e.kind)) continue;
        if (stage.NodeMembers.size() >= static_cast<std::size_t>(kNodeMembersCapacity)) {
            if (!reported) {
                reported = true;
                const Point3d at = e.startNode == node ? e.startPoint : e.endPoint;
                PrintLocalized(kTooManyNodeMembers, kNodeMembersCapacity, at.x, at.y, kNodeMembersCapacity);
            }
            continue;
        }
        stage.NodeMembers.push_back(i);
    }
    return static_cast<int>(stage.NodeMembers.size());
}
