// Clean-up at listed nodes: duplicate pieces, nodes of three or more cut pieces, and snapping shared ends.
#include "laser/contours/node_cleanup.h"

#include <algorithm>
#include <string>
#include <vector>

#include "cadlib/arc_construction.h"
#include "cadlib/messages.h"
#include "cadlib/point_equality.h"
#include "host/db/database.h"
#include "host/ui/message_box.h"
#include "laser/contours/node_browser.h"
#include "laser/contours/node_numbering.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

namespace {

const TwoLanguageText kTripleNodeError = {
    "\nERROR!!!\nThe geometry contains common points for three or more objects.",
    "\nОШИБКА!!!\nГеометрия содержит общие точки для трёх и более объектов.",
};
const TwoLanguageText kTripleNodeCorrect = {
    "\nCorrect an error and continue to form contours.",
    "\nИсправьте ошибку и продолжите формирование контуров.",
};
const TwoLanguageText kInterrupted = {"\n\rFUNCTION IS INTERRUPTED!!!", "\n\rФУНКЦИЯ ПРЕРВАНА!!!"};
const TwoLanguageText kTriplePoints = {
    "\n\rTHE GEOMETRY CONTAINS POINTS - COMMON FOR THREE OR MORE OBJECTS.",
    "\n\rГЕОМЕТРИЯ СОДЕРЖИТ ТОЧКИ - ОБЩИЕ ДЛЯ ТРЁХ И БОЛЕЕ ОБЪЕКТОВ.",
};
const TwoLanguageText kCorrectAndRepeat = {
    "\n\rCORRECT GEOMETRY AND REPEAT THE COMMAND TO FORM CONTOURS.",
    "\n\rИСПРАВЬТЕ ГЕОМЕТРИЮ И ПОВТОРИТЕ КОМАНДУ ФОРМИРОВАНИЯ КОНТУРОВ.",
};
// A cancelled browser: the objects at the node stay, and creation goes on.
const TwoLanguageText kNodeLeftAsItIs = {
    "\n\rThe objects meeting at this point are left as they are.",
    "\n\rОбъекты, сходящиеся в этой точке, оставлены как есть.",
};
const TwoLanguageText kNotChanged = {
    "\n\rAn object on layer \"%s\" cannot be changed (%s); it is left as it is.",
    "\n\rОбъект на слое \"%s\" нельзя изменить (%s); он оставлен как есть.",
};

ContourEntity& Piece(ContourEntityStage& stage, int index) {
    return stage.ContourEntityTable[static_cast<std::size_t>(index)];
}

void ReportNotChanged(const ContourEntity& piece, host::db::Status status) {
    PrintLocalized(kNotChanged, piece.layer.c_str(), host::db::statusText(status));
}

bool AreDuplicates(const ContourEntity& a, const ContourEntity& b, int grid) {
    if (a.type == kEntityDropped || a.type != b.type) return false;
    if (a.startNode == 0 || a.endNode == 0 || b.startNode == 0 || b.endNode == 0) return false;
    switch (a.type) {
        case kEntityLine:
            return (a.startNode == b.startNode && a.endNode == b.endNode) ||
                   (a.startNode == b.endNode && a.endNode == b.startNode);
        case kEntityArc:
            return a.startNode == b.startNode && a.endNode == b.endNode &&
                   PointsDifferAtPrecision(a.center, b.center, grid) == 0;
        case kEntityCircle:
            return PointsDifferAtPrecision(a.center, b.center, grid) == 0 &&
                   PointsDifferAtPrecision(a.startPoint, b.startPoint, grid) == 0;
        default:
            return false;
    }
}

// A circle or arc drawn twice over itself: the same kind, centre, radius and (for an arc) the same start and end
// points, at `grid`. Circles have no nodes, and an arc whose ends meet nothing lists no node, so these pairs are
// looked for apart from the nodes: before, a hole drawn twice was left as two contours without a cutting path.
bool AreDrawnOverEachOther(const ContourEntity& a, const ContourEntity& b, int grid) {
    if (a.type == kEntityDropped || a.type != b.type || a.kind != b.kind) return false;
    if (a.type != kEntityCircle && a.type != kEntityArc) return false;
    return PointsDifferAtPrecision(a.center, b.center, grid) == 0 &&
           PointsDifferAtPrecision(a.startPoint, b.startPoint, grid) == 0 &&
           PointsDifferAtPrecision(a.endPoint, b.endPoint, grid) == 0;
}

// An arc lying on a circle: the same kind, centre and radius at `grid`.
bool LiesOnCircle(const ContourEntity& arc, const ContourEntity& circle, int grid) {
    if (arc.type != kEntityArc || circle.type != kEntityCircle || arc.kind != circle.kind) return false;
    const Point3d arcRight(arc.center.x + arc.radius, arc.center.y, arc.center.z);
    return PointsDifferAtPrecision(arc.center, circle.center, grid) == 0 &&
           PointsDifferAtPrecision(arcRight, circle.startPoint, grid) == 0;
}

void DropDuplicate(ContourEntity& piece);

// Erases the arcs drawn over a circle (an arc, or the arcs of a polyline drawn round it) whose ends meet nothing
// but arcs on that circle: the circle cuts all of them. An arc whose end meets any other piece belongs to another
// contour and stays. Before, the circle and its copy were both made contours, one taken for a part inside the
// other: the hole was cut twice, or (a circle with two half arcs over it) not at all. `round` holds the circles and
// arcs sorted by the centre's x. Answers how many were removed.
int RemoveArcsDrawnOverCircles(ContourEntityStage& stage, const std::vector<int>& round, int grid) {
    const double step = 1.0 / grid;
    std::vector<int> over;
    std::vector<int> dropped;
    int removed = 0;
    // The arcs, in the order of `round` (by the centre's x).
    std::vector<int> arcs;
    for (int i : round) {
        if (Piece(stage, i).type == kEntityArc) arcs.push_back(i);
    }
    if (arcs.empty()) return 0;
    const NodeMemberIndex index(stage);
    for (int c : round) {
        const ContourEntity& circle = Piece(stage, c);
        if (circle.type != kEntityCircle) continue;
        // Arcs on it lie within one step of x on either side.
        over.clear();
        auto b = std::lower_bound(arcs.begin(), arcs.end(), circle.center.x - step,
                                  [&](int arc, double x) { return Piece(stage, arc).center.x <= x; });
        for (; b != arcs.end(); ++b) {
            const ContourEntity& arc = Piece(stage, *b);
            if (arc.center.x - circle.center.x >= step) break;
            if (LiesOnCircle(arc, circle, grid)) over.push_back(*b);
        }
        const auto meetsOnlyArcsOnCircle = [&](const ContourEntity& arc) {
            for (const std::uint32_t node : {arc.startNode, arc.endNode}) {
                if (node == 0) continue;
                for (int member : index.Candidates(node)) {
                    const ContourEntity& m = Piece(stage, member);
                    if (m.type == kEntityDropped || (m.startNode != node && m.endNode != node)) continue;
                    if (std::find(over.begin(), over.end(), member) == over.end()) return false;
                }
            }
            return true;
        };
        for (int i : over) {
            if (meetsOnlyArcsOnCircle(Piece(stage, i))) dropped.push_back(i);
        }
        for (int i : dropped) {
            if (Piece(stage, i).type == kEntityDropped) continue;
            DropDuplicate(Piece(stage, i));
            ++removed;
        }
        dropped.clear();
    }
    return removed;
}

// Erases a duplicate from the drawing and drops it from the table (also when the erase is refused: it is
// reported, and a second copy must not be joined into the contours).
void DropDuplicate(ContourEntity& piece) {
    ObjectPtr<host::db::Entity> entity(host::db::nameToId(piece.entityName), OpenMode::Write);
    if (entity) {
        entity->erase();
    } else {
        ReportNotChanged(piece, entity.status());
    }
    piece.type = kEntityDropped;
    piece.startNode = piece.endNode = 0;
}

// Moves piece b in the drawing to its (already changed) ends in the table.
void MovePieceToRecord(ContourEntity& b) {
    if (b.type != kEntityLine && b.type != kEntityArc) return;  // a point stays where it is drawn
    ObjectPtr<host::db::Entity> entity(host::db::nameToId(b.entityName), OpenMode::Write);
    if (!entity) {
        ReportNotChanged(b, entity.status());
        return;
    }
    if (auto* line = dynamic_cast<host::db::Line*>(entity.get())) {
        line->setStart(b.startPoint);
        line->setEnd(b.endPoint);
        return;
    }
    if (auto* arc = dynamic_cast<host::db::Arc*>(entity.get())) {
        Point3d centre = b.center;  // the old centre chooses between the two that fit
        ArcCentreFromEndPoints(b.startPoint, b.endPoint, arc->radius(), centre);
        arc->setCenter(centre);
        arc->setRadius(centre.distanceTo(Point3d(b.startPoint.x, b.startPoint.y, centre.z)));
        arc->setStartAngle((b.startPoint - centre).to2d().angle());
        arc->setEndAngle((b.endPoint - centre).to2d().angle());
        b.startPoint = arc->startPoint();
        b.endPoint = arc->endPoint();
        b.center = arc->center();
        b.radius = arc->radius();
        b.startAngle = arc->startAngle();
        b.endAngle = arc->endAngle();
    }
}

}  // namespace

int RemoveDuplicateEntities(ContourEntityStage& stage, int* roundRemoved) {
    const CLaserSettings& settings = LaserSettings();
    if (settings.AutoDelCopy == 0) return 0;
    // Circles first: a drawing of circles alone lists no node.
    const int round = RemoveCirclesDrawnTwice(stage, settings.AutoConnectGrid);
    if (roundRemoved != nullptr) *roundRemoved = round;
    if (stage.NodeList.empty()) return 0;
    const NodeMemberIndex index(stage);
    for (std::uint32_t node : stage.NodeList) {
        FillNodeMembers(stage, index, node, NodeMemberFilter::All);
        const std::vector<int> members = stage.NodeMembers;
        for (std::size_t a = 0; a < members.size(); ++a) {
            for (std::size_t b = a + 1; b < members.size(); ++b) {
                ContourEntity& pa = Piece(stage, members[a]);
                ContourEntity& pb = Piece(stage, members[b]);
                if (AreDuplicates(pa, pb, settings.AutoConnectGrid)) DropDuplicate(pb);
            }
        }
    }
    return 0;
}

int RemoveCirclesDrawnTwice(ContourEntityStage& stage, int grid) {
    if (grid <= 0) return 0;
    int removed = 0;
    // Sorted by the centre's x: a pair lies within one grid step of x of each other.
    std::vector<int> round;
    for (int i = 0; i < stage.ContourEntityCount; ++i) {
        const ContourEntity& e = Piece(stage, i);
        if (e.type == kEntityCircle || e.type == kEntityArc) round.push_back(i);
    }
    std::stable_sort(round.begin(), round.end(),
                     [&](int a, int b) { return Piece(stage, a).center.x < Piece(stage, b).center.x; });
    const double step = 1.0 / grid;
    for (std::size_t a = 0; a < round.size(); ++a) {
        for (std::size_t b = a + 1; b < round.size(); ++b) {
            ContourEntity& pa = Piece(stage, round[a]);
            ContourEntity& pb = Piece(stage, round[b]);
            if (pb.center.x - pa.center.x >= step) break;
            if (!AreDrawnOverEachOther(pa, pb, grid)) continue;
            // The later one in the table goes, as with lines.
            DropDuplicate(round[a] < round[b] ? pb : pa);
            ++removed;
            if (pa.type == kEntityDropped) break;
        }
    }
    return removed + RemoveArcsDrawnOverCircles(stage, round, grid);
}

int CheckTripleNodes(ContourEntityStage& stage) {
    if (LaserSettings().Warn3Point == 0) return 0;
    bool told = false;
    bool again = true;
    while (again) {
        again = false;
        const NodeMemberIndex index(stage);
        for (std::uint32_t node : stage.NodeList) {
            if (node == 0) continue;
            if (FillNodeMembers(stage, index, node, NodeMemberFilter::TripleCounted) < 3) continue;
            if (!told) {
                told = true;
                host::ui::messageBox(std::string(Localized(kTripleNodeError)) + Localized(kTripleNodeCorrect), "",
                                     host::ui::MB_OK | host::ui::MB_ICONSTOP);
            }
            int exitCode = kNodeBrowserCancelled;
            const int left = BrowseNodeObjects(node, exitCode, stage);
            // Esc closes the browser and nothing more: the node is left as it is and is not shown again (a pass
            // repeated for it would ask again at every cancel, and a script at its end would never stop). Before,
            // a cancel ended contour creation as Exit does.
            if (exitCode == kNodeBrowserCancelled) {
                PrintLocalized(kNodeLeftAsItIs);
                continue;
            }
            if (left > 2) again = true;
            if (exitCode == kNodeBrowserExit) {
                PrintLocalized(kInterrupted);
                PrintLocalized(kTriplePoints);
                PrintLocalized(kCorrectAndRepeat);
                return -1;
            }
        }
    }
    return 0;
}

int MergeEntitiesAtNodes(ContourEntityStage& stage) {
    if (LaserSettings().AutoConnect == 0) return 0;
    const NodeMemberIndex index(stage);
    for (std::uint32_t node : stage.NodeList) {
        if (FillNodeMembers(stage, index, node, NodeMemberFilter::All) < 2) continue;
        const std::vector<int> members = stage.NodeMembers;
        for (std::size_t ia = 0; ia < members.size(); ++ia) {
            for (std::size_t ib = ia + 1; ib < members.size(); ++ib) {
                ContourEntity& a = Piece(stage, members[ia]);
                ContourEntity& b = Piece(stage, members[ib]);
                if (a.type == kEntityCircle || b.type == kEntityCircle || a.kind != b.kind) continue;
                const bool aStarts = a.startNode == node;
                const Point3d& aPoint = aStarts ? a.startPoint : a.endPoint;
                const std::uint32_t shared = aStarts ? a.startNode : a.endNode;
                Point3d& bPoint = b.startNode == shared ? b.startPoint : b.endPoint;
                if (aPoint.isEqualTo(bPoint)) continue;
                bPoint = aPoint;
                MovePieceToRecord(b);
            }
        }
    }
    return 0;
}
