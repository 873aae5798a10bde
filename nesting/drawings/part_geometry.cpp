// Converting, offsetting and placing the contours of a loaded type, and making its block.
#include "nesting/drawings/part_geometry.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "cadlib/rectangle_blocks.h"
#include "host/db/database.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/sys/number_text.h"
#include "host/ui/message_box.h"
#include "nesting/drawings/drawing_messages.h"
#include "nesting/drawings/entity_contours.h"
#include "nesting/drawings/part_drawing_reader.h"
#include "nesting/geometry/contour_box.h"
#include "nesting/geometry/contour_join.h"
#include "nesting/geometry/contour_offset.h"

using host::db::ObjectPtr;
using host::db::OpenMode;

namespace {

constexpr const char* kByLayer = "ByLayer";
constexpr std::int32_t kColourByLayer = 256;
// Each further try of an outer offset grows the gap by this factor.
constexpr double kOuterRetryFactor = 1.01;
// A contour's answer when its offset left no outline: a stock smaller than twice its edge offset.
constexpr int kNoRoomInsideOffsets = -2;

// Part kinds drawn by their layer: open cuts, engraving, jumper lines, common lines, heat treatment, inside cuts.
bool DrawnByLayer(std::uint8_t kind) {
    return kind == 1 || kind == 2 || kind == 4 || kind == 5 || kind == 8 || kind == 9;
}

bool IsClassified(const Contour& c) {
    return c.Open == 0 && (c.ContourClass == kClassOuter || c.ContourClass == kClassInner);
}

// The gap by which the type's closed contours are offset: a part grows by half the part gap, a stock shrinks by
// the edge gap, a clamp rectangle grows by the edge gap.
double GapOf(const CNestingState& state, const PartType& type) {
    if (type.Kind == kKindStock) return -state.EdgeGap;
    if (type.Kind == kKindClamp && type.JobFileType != kJobFileDrawing) return state.EdgeGap;
    return state.HalfPartGap;
}

// Line type and colour of a drawn contour, for its entity and for the contour.
struct ContourLook {
    std::string linetype;
    std::int32_t colour = 0;
};

ContourLook LookOf(const CNestingState& state, const PartType& type, const Contour& c) {
    const bool inner = c.ContourClass == kClassInner;
    if (type.Kind == kKindStock) return {state.TypeLineStock, inner ? state.StockHoleColor : state.StockColor};
    if (DrawnByLayer(c.KindCode)) return {kByLayer, kColourByLayer};
    return {state.TypeLinePart, inner ? state.PartHoleColor : state.PartColor};
}

void ApplyLook(host::db::Entity& entity, const ContourLook& look) {
    // a line type the drawing lacks leaves the entity's own
    entity.setLinetype(look.linetype);
    entity.setColorIndex(look.colour);
}

// Adds a closed contour (a copy with its own elements) to the type's list of its class, moved by minus the
// reference point.
void AppendClosed(PartType& type, const Contour& c) {
    ContourList& list = c.ContourClass == kClassInner ? type.Holes[0] : type.Outers[0];
    Contour& kept = list.emplace_back(c);
    TranslateContourBy(kept, -type.BasePoint.x, -type.BasePoint.y);
}

void AppendOpen(PartType& type, const Contour& c) {
    Contour& kept = type.Defects[0].emplace_back(c);
    TranslateContourBy(kept, -type.BasePoint.x, -type.BasePoint.y);
}

// Offsets a closed contour by `gap` and adds every result by its own class; `area` gives each result's area (a
// circle's own, from its radius, when negative). Answers the number of outer results.
int AppendOffset(CNestingState& state, PartType& type, const Contour& c, double gap, double area) {
    std::vector<Contour> results;
    const int mode = c.ContourClass == kClassInner ? kOffsetInward : kOffsetOutward;
    const int n = OffsetContour(state.Offset, c, mode, gap, results, state.Unit);
    int outers = 0;
    for (int k = 0; k < n; ++k) {
        Contour& r = results[static_cast<std::size_t>(k)];
        if (area < 0.0 && !r.Elements.empty()) r.Area = std::numbers::pi * r.Elements[0].Radius * r.Elements[0].Radius;
        else if (area >= 0.0) r.Area = area;
        if (r.ContourClass == kClassOuter) ++outers;
        AppendClosed(type, r);
    }
    return outers;
}

// Routes a converted contour: open and unclassified ones to the open list, closed ones to their class list,
// offset by the gap when it is not 0. `retryOuter` repeats a failed outer offset with a larger gap. False when no
// outer contour resulted from the tries.
bool RouteContour(CNestingState& state, PartType& type, const Contour& c, bool circle, bool retryOuter) {
    if (!IsClassified(c)) {
        AppendOpen(type, c);
        return true;
    }
    const double gap = GapOf(state, type);
    if (gap == 0.0) {
        AppendClosed(type, c);
        return true;
    }
    const double area = circle ? -1.0 : c.Area;
    const std::size_t holesBefore = type.Holes[0].size();
    AppendOffset(state, type, c, gap, area);
    if (!retryOuter || c.ContourClass != kClassOuter) return true;
    // the inner pieces of a try that found no outer contour are dropped before the next
    double tried = gap;
    for (int attempt = 1; type.Outers[0].empty() && attempt < kOuterOffsetTries; ++attempt) {
        type.Holes[0].resize(holesBefore);
        tried *= kOuterRetryFactor;
        AppendOffset(state, type, c, tried, area);
    }
    if (!type.Outers[0].empty()) return true;
    type.Holes[0].resize(holesBefore);
    return false;
}

// The copied entity behind contour i, opened for write as T.
template <class T>
ObjectPtr<T> OpenCopied(const CNestingState& state, int i) {
    const auto& names = state.CopiedEntities.Names();
    if (i < 0 || static_cast<std::size_t>(i) >= names.size()) return {};
    return ObjectPtr<T>(host::db::nameToId(names[static_cast<std::size_t>(i)]), OpenMode::Write);
}

// Whether a polyline contour whose entity cannot be read may be left out of the type: a part's hole only. The
// part is then nested as if the hole were solid, which wastes the hole but harms nothing; without its outline a
// part would be placed over its neighbours, and without a cut-out a stock would have parts placed over the gap.
bool MayPassOver(const PartType& type, const Contour& read) {
    return type.Kind != kKindStock && read.ContourClass == kClassInner;
}

}  // namespace

int ReadCircleContour(CNestingState& state, PartType& type, int i) {
    const Contour& read = type.DrawingContours[static_cast<std::size_t>(i)];
    Contour c;
    {
        ObjectPtr<host::db::Circle> circle = OpenCopied<host::db::Circle>(state, i);
        if (!circle) return -1;
        CircleToContour(*circle, c);
        c.Colour = circle->colorIndex();
        c.Layer = circle->layer();
        c.Owner = read.Owner;
        c.ContourClass = read.ContourClass;
        c.KindCode = read.KindCode;
        const ContourLook look = LookOf(state, type, c);
        c.LineType = look.linetype;
        c.Colour = look.colour;
        ApplyLook(*circle, look);
    }
    RouteContour(state, type, c, true, false);
    return 0;
}

int ReadPolylineContour(CNestingState& state, PartType& type, int i) {
    const Contour& read = type.DrawingContours[static_cast<std::size_t>(i)];
    Contour c;
    if (type.JobFileType == kJobFileDrawing) {
        ObjectPtr<host::db::LwPolyline> polyline = OpenCopied<host::db::LwPolyline>(state, i);
        if (!polyline) {
            if (!MayPassOver(type, read)) return -1;
            host::ui::messageBox(FormatLocalized(kPartHoleUnreadable, type.Path.c_str()), {},
                                 host::ui::MB_OK | host::ui::MB_ICONERROR);
            return 0;
        }
        // the polyline's own closed flag decides the segments: a closed contour drawn without leads is closed too
        PolylineToContour(*polyline, c);
        std::vector<Contour> one(1, c);
        JoinContourElements(one, 0);
        c = std::move(one[0]);
        c.Colour = polyline->colorIndex();
        c.Layer = polyline->layer();
        c.GeometryKind = kGeometryChain;
        c.Owner = read.Owner;
        c.ContourClass = read.ContourClass;
        c.KindCode = read.KindCode;
        const ContourLook look = LookOf(state, type, c);
        c.LineType = look.linetype;
        c.Colour = look.colour;
        ApplyLook(*polyline, look);
    } else {
        c = read;   // the rectangle as it was made from its size
    }
    return RouteContour(state, type, c, false, true) ? 0 : kNoRoomInsideOffsets;
}

int BuildPartGeometry(CNestingState& state, PartType& type) {
    for (int i = 0; i < type.DrawingContourCount(); ++i) {
        const std::uint8_t shape = type.DrawingContours[static_cast<std::size_t>(i)].GeometryKind;
        int result = 0;
        if (shape == kGeometryCircle) result = ReadCircleContour(state, type, i);
        else if (shape == kGeometryChain) result = ReadPolylineContour(state, type, i);
        if (result == kNoRoomInsideOffsets && type.Kind == kKindStock) {
            // Nothing is wrong with the drawing: the stock-edge offset takes the whole sheet.
            host::ui::messageBox(FormatLocalized(kStockTooSmallForOffsets, type.Path.c_str(),
                                                 host::sys::formatShortest(state.EdgeGap).c_str()),
                                 {}, host::ui::MB_OK | host::ui::MB_ICONERROR);
            type.Quantity = 0;
            return result;
        }
        if (result != 0) {
            host::ui::messageBox(FormatLocalized(kPartExcluded, type.Path.c_str()));
            type.Quantity = 0;
            return result;
        }
    }
    for (ContourList* list : {&type.Holes[0], &type.Outers[0]}) {
        for (int k = 0; k < static_cast<int>(list->size()); ++k) {
            JoinContourElements(*list, k);
            Contour& c = (*list)[static_cast<std::size_t>(k)];
            ComputeContourBox(c, c.Box);
        }
    }
    type.OuterBox = BoundingBox::Empty();
    for (const Contour& c : type.Outers[0]) type.OuterBox.Include(c.Box);
    return 0;
}

int MakePartBlock(CNestingState& state, PartType& type) {
    if (state.CopiedEntities.Count() == 0) return 0;
    using host::db::ResBuf;
    host::db::ResBufList args = {ResBuf(host::db::RTSTR, "_.-block"), ResBuf(host::db::RTSTR, type.BlockName)};
    if (BlockExists(type.BlockName)) args.emplace_back(host::db::RTSTR, "_Y");
    args.emplace_back(host::db::RTSTR,
                      host::sys::formatC("%.16e,%.16e", type.BasePoint.x, type.BasePoint.y));
    for (const EntityNameList* list : {&state.CopiedEntities, &state.SpecialEntities})
        for (const host::db::EntityName& name : list->Names()) args.emplace_back(host::db::RTENAME, name);
    args.emplace_back(host::db::RTSTR, "");
    host::ed::command(args);
    // the block holds the copies now; what did not become the block must not stay in the drawing
    bool left = false;
    for (const EntityNameList* list : {&state.CopiedEntities, &state.SpecialEntities}) {
        for (const host::db::EntityName& name : list->Names()) {
            ObjectPtr<host::db::Entity> entity(host::db::nameToId(name), OpenMode::Read);
            if (entity) left = true;
        }
    }
    if (left) EraseCopiedEntities(state);
    return BlockExists(type.BlockName) && !left ? 0 : -1;
}
