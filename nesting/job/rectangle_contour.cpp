// The rectangle contour of rectangle stocks, parts and clamps, and its block.
#include "nesting/job/rectangle_contour.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "cadlib/rectangle_blocks.h"
#include "cadlib/rectangle_names.h"
#include "host/ui/message_box.h"
#include "nesting/drawings/entity_contours.h"
#include "nesting/job/job_messages.h"

using host::ge::Point2d;

namespace {

// Height of a clamp's reference point above its bottom edge, so that the clamp's outline lies just below the
// sheet's edge line it stands on.
constexpr double kClampBaseHeight = 0.01;

double AspectOf(const BoundingBox& box) {
    const double w = box.Width();
    const double h = box.Height();
    if (w <= 0.0 || h <= 0.0) {
        return 1.0;
    }
    return std::max(w, h) / std::min(w, h);
}

}  // namespace

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
        contour.Elements.push_back(LineElement(corners[i], corners[(i + 1) % corners.size()]));
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
