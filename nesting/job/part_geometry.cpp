// Offsetting and sorting the contours of a type into the engine's lists, and the rectangle contour of rectangle
// stocks, parts and clamps.
#include "nesting/job/part_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>
#include <vector>

#include "cadlib/angles.h"
#include "cadlib/rectangle_blocks.h"
#include "cadlib/rectangle_names.h"
#include "host/ui/message_box.h"
#include "nesting/geometry/contour_box.h"
#include "nesting/geometry/contour_join.h"
#include "nesting/geometry/contour_offset.h"
#include "nesting/job/job_messages.h"

using host::ge::Point2d;

namespace {

// Height of a clamp's reference point above its bottom edge, so that the clamp's outline lies just below the
// sheet's edge line it stands on.
constexpr double kClampBaseHeight = 0.01;

void MovePoint(Point2d& p, double dx, double dy) {
    p.x += dx;
    p.y += dy;
}

// The contour moved by minus the reference point: every point and centre, and the box.
Contour MovedToReference(Contour contour, const Point2d& reference) {
    for (ContourElement& element : contour.Elements) {
        MovePoint(element.Start, -reference.x, -reference.y);
        MovePoint(element.End, -reference.x, -reference.y);
        MovePoint(element.Centre, -reference.x, -reference.y);
    }
    contour.Box.Translate(-reference.x, -reference.y);
    return contour;
}

void AppendByClass(PartType& type, Contour contour) {
    if (contour.ContourClass == kClassInner) {
        type.Holes[0].push_back(std::move(contour));
    } else {
        type.Outers[0].push_back(std::move(contour));
    }
}

double AngleOf(Point2d from, Point2d to) {
    double angle = std::atan2(to.y - from.y, to.x - from.x);
    NormalizeAngle(angle);
    return angle;
}

ContourElement MakeLine(Point2d from, Point2d to) {
    ContourElement line;
    line.Type = kElementLine;
    line.Start = from;
    line.End = to;
    line.StartAngle = AngleOf(from, to);
    line.EndAngle = line.StartAngle + std::numbers::pi;
    NormalizeAngle(line.EndAngle);
    return line;
}

double AspectOf(const BoundingBox& box) {
    const double w = box.Width();
    const double h = box.Height();
    if (w <= 0.0 || h <= 0.0) {
        return 1.0;
    }
    return std::max(w, h) / std::min(w, h);
}

// Offsets the contour by `gap` and puts the results in the lists; answers how many results there were.
int AppendOffsetResults(CNestingState& state, PartType& type, const Contour& contour, double gap) {
    std::vector<Contour> results;
    const int count = OffsetContour(state.Offset, contour, contour.ContourClass, gap, results, state.Unit);
    for (int i = 0; i < count; ++i) {
        Contour result = std::move(results[static_cast<std::size_t>(i)]);
        if (contour.GeometryKind == kGeometryCircle && !result.Elements.empty()) {
            const double r = result.Elements.front().Radius;
            result.Area = std::numbers::pi * r * r;
        } else {
            result.Area = contour.Area;
        }
        AppendByClass(type, MovedToReference(std::move(result), type.BasePoint));
    }
    return count;
}

}  // namespace

double ContourGapOf(const CNestingEngine& engine, const PartType& type) {
    switch (type.Kind) {
        case kKindStock: return -engine.EdgeGap;
        case kKindClamp: return engine.EdgeGap;
        default: return engine.HalfPartGap;
    }
}

int PlaceLoadedContour(CNestingState& state, PartType& type, const Contour& contour) {
    if (contour.Open != 0) {
        type.Defects[0].push_back(MovedToReference(contour, type.BasePoint));
        return 0;
    }
    if (contour.ContourClass != kClassOuter && contour.ContourClass != kClassInner) {
        return -1;
    }
    const double gap = ContourGapOf(state, type);
    if (gap == 0.0) {
        AppendByClass(type, MovedToReference(contour, type.BasePoint));
        return 0;
    }
    const std::size_t holesBefore = type.Holes[0].size();
    AppendOffsetResults(state, type, contour, gap);
    if (contour.ContourClass != kClassOuter) {
        return 0;
    }
    // An offset can lose a thin outline whole (its two sides offset past each other); a slightly larger gap
    // usually gives it back. A circle's result depends on its radius alone, so it is not repeated. The inner
    // pieces of a try that found no outer contour are dropped before the next.
    double grown = gap;
    for (int repeat = 0; repeat < kOuterOffsetRepeats && type.Outers[0].empty() &&
                         contour.GeometryKind == kGeometryChain;
         ++repeat) {
        type.Holes[0].resize(holesBefore);
        grown *= kOuterOffsetGrowth;
        AppendOffsetResults(state, type, contour, grown);
    }
    if (type.Outers[0].empty()) {
        type.Holes[0].resize(holesBefore);
        return -1;
    }
    return 0;
}

int BuildPartGeometry(CNestingState& state, PartType& type) {
    for (const Contour& contour : type.DrawingContours) {
        if (contour.GeometryKind != kGeometryCircle && contour.GeometryKind != kGeometryChain) {
            continue;
        }
        if (PlaceLoadedContour(state, type, contour) != 0) {
            host::ui::messageBox(FormatLocalized(kPartExcluded, type.Path.c_str()), {}, host::ui::MB_OK);
            type.Quantity = 0;
            return -1;
        }
    }
    for (ContourList* list : {&type.Holes[0], &type.Outers[0]}) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            JoinContourElements(std::span<Contour>(*list), static_cast<int>(i));
            Contour& contour = (*list)[i];
            ComputeContourBox(contour, contour.Box);
        }
    }
    type.OuterBox = BoundingBox::Empty();
    for (const Contour& outer : type.Outers[0]) {
        type.OuterBox.Include(outer.Box);
    }
    return 0;
}

int MakeRectangleContour(CNestingState& state, PartType& type) {
    double width = 0.0;
    double height = 0.0;
    if (type.Kind == kKindClamp) {
        width = state.ClampWidth;
        height = state.ClampHeight;
    } else {
        ParseRectangleName(type.Path, width, height);
    }
    BoundingBox box{0.0, 0.0, width, height};
    Point2d reference{0.0, 0.0};
    std::int32_t colour = state.PartColor;
    const std::string* linetype = &state.TypeLinePart;
    host::db::Status made = host::db::Status::Ok;
    if (type.Kind == kKindStock) {
        const double x = state.StockPointOrigin.x;
        const double y = state.StockPointOrigin.y;
        box = {x, y, x + width, y + height};
        colour = state.StockColor;
        linetype = &state.TypeLineStock;
        made = DefineRectangleBlockAt(type.BlockName, width, height, kAnchorLowerLeft, *linetype, colour, x, y);
    } else if (type.Kind == kKindClamp) {
        box = {-width / 2.0, 0.0, width / 2.0, height};
        reference = {0.0, kClampBaseHeight};
        colour = state.ClampColor;
        linetype = &state.TypeLineStock;
        made = DefineRectangleBlock(type.BlockName, width, height, kAnchorBottomCentre, *linetype, colour);
    } else {
        reference = {width / 2.0, height / 2.0};
        made = DefineRectangleBlock(type.BlockName, width, height, kAnchorCentre, *linetype, colour);
    }
    if (made != host::db::Status::Ok) {
        const TwoLanguageText& text = made == host::db::Status::DuplicateKey ? kBlockNameTaken : kBlockNotMade;
        host::ui::messageBox(FormatLocalized(text, type.BlockName.c_str(), type.Path.c_str()), {},
                             host::ui::MB_OK | host::ui::MB_ICONERROR);
        return -1;
    }

    Contour contour;
    contour.Colour = colour;
    contour.LineType = *linetype;
    contour.GeometryKind = kGeometryChain;
    contour.Owner = type.Kind == kKindStock ? kOwnerStock : kOwnerPart;
    contour.ContourClass = kClassOuter;
    contour.Open = 0;
    const std::array<Point2d, 4> corners{Point2d{box.minX, box.minY}, Point2d{box.maxX, box.minY},
                                         Point2d{box.maxX, box.maxY}, Point2d{box.minX, box.maxY}};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        contour.Elements.push_back(MakeLine(corners[i], corners[(i + 1) % corners.size()]));
    }
    contour.Box = box;
    contour.Area = width * height;

    type.Area = contour.Area;
    type.DrawingBox = box;
    type.Aspect = AspectOf(box);
    type.BasePoint = reference;
    type.DrawingContours.assign(1, std::move(contour));
    for (int set = 0; set < kContourSetCount; ++set) {
        type.Holes[set].clear();
        type.Outers[set].clear();
        type.Defects[set].clear();
    }
    type.Holes[0].reserve(4);
    type.Outers[0].reserve(2);
    return 0;
}
