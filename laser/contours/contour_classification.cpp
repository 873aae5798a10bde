// Inner and outer contours of the contour table: enclosing contours found by a ray test, colours, counters and
// areas.
#include "laser/contours/contour_classification.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "cadlib/entity_access.h"
#include "cadlib/host_variables.h"
#include "cadlib/messages.h"
#include "cadlib/segment_box.h"
#include "cadlib/polyline_contour.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "laser/contours/contour_box_index.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;
using host::ge::Point3d;

namespace {

const TwoLanguageText kContourNotOpened = {
    "\n\rA contour on layer \"%s\" cannot be changed (%s) and is not classified.",
    "\n\rКонтур на слое \"%s\" нельзя изменить (%s), он не классифицирован.",
};

// Nearest crossing distance before any is found.
constexpr double kNoCrossing = 1e10;

// The colour indices of the classes, read once per run.
struct ClassColours {
    int profInside, profOutside, t2Inside, t2Outside, unclose, insideNL, outsideNL, stock, noClose, engrave,
        engraveAndMark, mark, heat, common, insideCut, jumperOutside, jumperInside;

    explicit ClassColours(const CLaserSettings& s)
        : profInside(ColourIndexOf(s.ColorProfInside)), profOutside(ColourIndexOf(s.ColorProfOutside)),
          t2Inside(ColourIndexOf(s.ColorProfT2Inside)), t2Outside(ColourIndexOf(s.ColorProfT2Outside)),
          unclose(ColourIndexOf(s.ColorProfUnclose)), insideNL(ColourIndexOf(s.ColorProfInsideNL)),
          outsideNL(ColourIndexOf(s.ColorProfOutsideNL)), stock(ColourIndexOf(s.ColorStock)),
          noClose(ColourIndexOf(s.ColorNoCloseLine)), engrave(ColourIndexOf(s.ColorEngraveLine)),
          engraveAndMark(ColourIndexOf(s.ColorEngraveAndMarkLine)), mark(ColourIndexOf(s.ColorMarkLine)),
          heat(ColourIndexOf(s.ColorHeatTreatmentLine)), common(ColourIndexOf(s.ColorCommonLine)),
          insideCut(ColourIndexOf(s.ColorInsideCutLine)), jumperOutside(ColourIndexOf(s.ColorJumperLineOutside)),
          jumperInside(ColourIndexOf(s.ColorJumperLineInside)) {}

    // The inner or outer colour of a closed cut contour of kind 0, 25, 3 or 4; -1 for other kinds.
    int Placed(ContourKind kind, bool inner) const {
        switch (kind) {
            case ContourKind::KindBase: return inner ? profInside : profOutside;
            case ContourKind::CutT2Line: return inner ? t2Inside : t2Outside;
            case ContourKind::NoLeadIn: return inner ? insideNL : outsideNL;
            case ContourKind::JumperLine: return inner ? jumperInside : jumperOutside;
            default: return -1;
        }
    }
};

void SetColour(host::db::Entity& entity, int colour) {
    if (colour >= 0) entity.setColorIndex(colour);
}

bool IsOneOf(ContourKind kind, std::initializer_list<ContourKind> kinds) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// Kinds whose closed outline bounds the material of a part.
bool IsPartMaterialKind(ContourKind kind) {
    const auto k = static_cast<int>(kind);
    return IsOneOf(kind, {ContourKind::KindBase, ContourKind::NoLeadIn, ContourKind::JumperLine,
                          ContourKind::CutT2Line}) ||
           (k >= static_cast<int>(ContourKind::KindLayer1) && k <= static_cast<int>(ContourKind::KindLayer9));
}

bool IsCutOpenKind(ContourKind kind) {
    return IsOneOf(kind, {ContourKind::KindBase, ContourKind::NoLeadIn, ContourKind::JumperLine});
}

// The record's box grown by `margin` on every side.
ContourBox BoxOf(const ContourRecord& r, double margin = 0.0) {
    return {r.minX - margin, r.minY - margin, r.maxX + margin, r.maxY + margin};
}

// Margin of the box test of a point that lies on a contour within the host's tolerance.
constexpr double kOnContourMargin = 1e-6;

// The result of the container search of one record.
struct Enclosure {
    int depth = 0;              // containers crossed an odd number of times
    std::uint64_t parent = 0;   // the nearest of them (or the container a common line starts on)
};

class NestingSearch {
public:
    NestingSearch(const CuttingJob& job, double rayLength)
        : job_(job), index_(job.contours.data(), job.contourCount, IsContainer) {
        const double angle = kNestingRayDegrees * std::numbers::pi / 180.0;
        rayX_ = rayLength * std::cos(angle);
        rayY_ = rayLength * std::sin(angle);
    }

    Enclosure Search(int i, const Point3d& test, bool isCircle) {
        const ContourRecord& me = job_.contours[static_cast<std::size_t>(i)];
        const bool commonOrInside = IsOneOf(me.kind, {ContourKind::CommonLine, ContourKind::InsideCutLine});
        Enclosure result;
        double best = kNoCrossing;
        const host::db::Line ray(test, Point3d(test.x + rayX_, test.y + rayY_, test.z));
        const host::db::PointEntity probePoint(test);
        for (int j : index_.Query(BoxOf(me, kOnContourMargin))) {
            if (j == i) continue;
            const ContourRecord& other = job_.contours[static_cast<std::size_t>(j)];
            if (commonOrInside) {
                if (isCircle) break;   // a common-line circle is never tested against containers
                ObjectPtr<host::db::Entity> container(IdOfHandle(other.handle), OpenMode::Read);
                if (container && !container->intersectWith(probePoint).empty()) {
                    result.parent = other.handle;
                    return result;
                }
            }
            if (me.role != other.role ||
                BoxesOverlap(me.minX, me.minY, me.maxX, me.maxY, other.minX, other.minY, other.maxX,
                             other.maxY) == 0) {
                continue;
            }
            ObjectPtr<host::db::Entity> container(IdOfHandle(other.handle), OpenMode::Read);
            if (!container) continue;
            const std::vector<Point3d> crossings = container->intersectWith(ray);
            if (crossings.size() % 2 == 0) continue;
            ++result.depth;
            for (const Point3d& p : crossings) {
                const double d = std::hypot(p.x - test.x, p.y - test.y, p.z - test.z);
                if (d < best) {
                    best = d;
                    result.parent = other.handle;
                }
            }
        }
        return result;
    }

private:
    const CuttingJob& job_;
    ContourBoxIndex index_;
    double rayX_ = 0.0, rayY_ = 0.0;
};

void ResetCounters(CuttingJob& job) {
    job.baseInner = job.baseOuter = job.tool2Inner = job.tool2Outer = job.unclosedCount = job.noCloseCount = 0;
    job.engraveCount = job.engraveMarkCount = job.markCount = job.heatCount = job.commonCount = 0;
    job.insideCutCount = job.noLeadInInner = job.noLeadInOuter = job.jumperLineOuter = job.jumperLineInner = 0;
    job.jumperPointCount = job.markPointCount = job.stockCount = job.stockInner = job.stockOuter = 0;
    job.partArea = job.stockArea = 0.0;
}

// The counter of a closed cut contour of kind 0, 25, 3 or 4 by its placement; null for other kinds.
std::uint32_t* PlacedCounter(CuttingJob& job, ContourKind kind, bool inner) {
    switch (kind) {
        case ContourKind::KindBase: return inner ? &job.baseInner : &job.baseOuter;
        case ContourKind::CutT2Line: return inner ? &job.tool2Inner : &job.tool2Outer;
        case ContourKind::NoLeadIn: return inner ? &job.noLeadInInner : &job.noLeadInOuter;
        case ContourKind::JumperLine: return inner ? &job.jumperLineInner : &job.jumperLineOuter;
        default: return nullptr;
    }
}

// The length of the ray: the drawing's diagonal plus the spare. An empty drawing's extents (the lower corner
// above the upper one) give way to the box of the table.
double RayLength(const CuttingJob& job) {
    Point3d low, high;
    GetSysVarPoint3d("EXTMIN", low);
    GetSysVarPoint3d("EXTMAX", high);
    if (low.x > high.x || low.y > high.y) {
        low = Point3d(0, 0, 0);
        high = Point3d(0, 0, 0);
        for (int i = 0; i < job.contourCount; ++i) {
            const ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
            if (i == 0) low = Point3d(r.minX, r.minY, 0), high = Point3d(r.maxX, r.maxY, 0);
            low.x = std::min(low.x, r.minX), low.y = std::min(low.y, r.minY);
            high.x = std::max(high.x, r.maxX), high.y = std::max(high.y, r.maxY);
        }
    }
    return std::hypot(high.x - low.x, high.y - low.y) + kNestingRaySpare;
}

}  // namespace

bool IsContainer(const ContourRecord& r) {
    return r.closure != kClosureOpen &&
           !IsOneOf(r.kind, {ContourKind::EngraveLine, ContourKind::CommonLine, ContourKind::MarkPoint,
                             ContourKind::KindJumperPoint, ContourKind::HeatTreatmentLine,
                             ContourKind::InsideCutLine, ContourKind::EngraveAndMarkLine, ContourKind::MarkLine});
}

int ColourIndexOf(const std::string& settingText) {
    int value = -1;
    const char* first = settingText.data();
    while (first != settingText.data() + settingText.size() && *first == ' ') ++first;
    const auto [end, error] = std::from_chars(first, settingText.data() + settingText.size(), value);
    (void)end;
    return error == std::errc() ? value : -1;
}

int ClassifyContourNesting(CuttingJob& job) {
    const CLaserSettings& settings = LaserSettings();
    const ClassColours colours(settings);
    ResetCounters(job);
    if (job.contourCount <= 0) return 0;
    NestingSearch search(job, RayLength(job));

    for (int i = 0; i < job.contourCount; ++i) {
        ContourRecord& r = job.contours[static_cast<std::size_t>(i)];
        r.parentHandle = 0;
        if (r.kind == ContourKind::MarkPoint) {
            ++job.markPointCount;
            r.closure = kClosureNoLeads;
            r.parentHandle = search.Search(i, Point3d(r.maxX, r.maxY, 0.0), false).parent;
            continue;
        }
        if (r.kind == ContourKind::KindJumperPoint) {
            ++job.jumperPointCount;
            continue;
        }
        if (r.shape == kShapePoint) continue;   // a point on no marking layer is no contour to classify
        if (r.role == kRoleStock) ++job.stockCount;

        const ObjectId id = IdOfHandle(r.handle);
        ObjectPtr<host::db::Entity> entity(id, OpenMode::Write);
        if (!entity) {
            std::string layer;
            if (!id.isNull()) {
                if (const auto* e = dynamic_cast<const host::db::Entity*>(id.database()->peek(id))) layer = e->layer();
            }
            PrintLocalized(kContourNotOpened, layer.c_str(), host::db::statusText(entity.status()));
            continue;
        }
        Point3d test;
        if (auto* circle = dynamic_cast<host::db::Circle*>(entity.get())) {
            const Point3d c = circle->center();
            test = Point3d(c.x, c.y + circle->radius(), c.z);
            r.closure = kClosureClosed;
        } else if (auto* polyline = dynamic_cast<host::db::LwPolyline*>(entity.get())) {
            test = polyline->startPoint();
            if (polyline->isClosed()) {
                r.closure = kClosureClosed;
                OrientPolylineCounterClockwise(*polyline);
                test = polyline->startPoint();
            } else {
                r.closure = kClosureOpen;
            }
        } else {
            continue;
        }

        switch (r.kind) {
            case ContourKind::EngraveLine:
            case ContourKind::EngraveAndMarkLine:
            case ContourKind::MarkLine:
                SetColour(*entity, r.kind == ContourKind::EngraveLine          ? colours.engrave
                                   : r.kind == ContourKind::EngraveAndMarkLine ? colours.engraveAndMark
                                                                                : colours.mark);
                ++(r.kind == ContourKind::EngraveLine          ? job.engraveCount
                   : r.kind == ContourKind::EngraveAndMarkLine ? job.engraveMarkCount
                                                                : job.markCount);
                if (settings.CutEngraveType != 0) continue;
                break;
            case ContourKind::HeatTreatmentLine:
                SetColour(*entity, colours.heat);
                ++job.heatCount;
                // A heat treatment gets the part around it, as every contour inside a part does: cut among the cuts
                // (no phases), it must come before the part is cut free. Found whatever the phase setting, so a
                // change of that setting after creation cannot leave it without.
                break;
            case ContourKind::CommonLine:
                SetColour(*entity, colours.common);
                ++job.commonCount;
                break;
            case ContourKind::InsideCutLine:
                SetColour(*entity, colours.insideCut);
                ++job.insideCutCount;
                break;
            default:
                break;
        }

        const Enclosure enclosure = search.Search(i, test, r.shape == kShapeCircle);
        r.parentHandle = enclosure.parent;

        if (r.closure == kClosureOpen && IsCutOpenKind(r.kind)) {
            SetColour(*entity, colours.unclose);
            ++job.unclosedCount;
        } else if (r.kind == ContourKind::NoCloseLine) {
            SetColour(*entity, colours.noClose);
            ++job.noCloseCount;
        } else {
            const bool inner = enclosure.depth % 2 == 1;
            r.placement = inner ? kPlacementInner : kPlacementOuter;
            const double signedArea = inner ? -r.area : r.area;
            if (r.role == kRoleStock) {
                SetColour(*entity, colours.stock);
                job.stockArea += signedArea;
                ++(inner ? job.stockInner : job.stockOuter);
            } else {
                SetColour(*entity, colours.Placed(r.kind, inner));
                if (std::uint32_t* counter = PlacedCounter(job, r.kind, inner)) ++*counter;
                if (IsPartMaterialKind(r.kind)) job.partArea += signedArea;
            }
        }
    }
    return 0;
}

int RestoreContourColour(CuttingJob& job, int index) {
    if (index < 0 || index >= job.contourCount) return -1;
    const ContourRecord& r = job.contours[static_cast<std::size_t>(index)];
    ObjectPtr<host::db::Entity> entity(IdOfHandle(r.handle), OpenMode::Write);
    if (!entity) return -1;
    const ClassColours colours(LaserSettings());
    if (r.role == kRoleStock) {
        SetColour(*entity, colours.stock);
    } else if (IsCutOpenKind(r.kind)) {
        SetColour(*entity, r.closure == kClosureOpen ? colours.unclose
                                                     : colours.Placed(r.kind, r.placement == kPlacementInner));
    }
    return 0;
}
