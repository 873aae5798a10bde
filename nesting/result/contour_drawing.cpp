// Engine contours drawn into the drawing.
#include "nesting/result/contour_drawing.h"

#include <string_view>

#include "cadlib/entity_creation.h"
#include "cadlib/host_variables.h"

namespace {

host::ge::Point3d At(const host::ge::Point2d& p, double dx = 0.0, double dy = 0.0) {
    return {p.x + dx, p.y + dy, 0.0};
}

// One circle, line or arc element moved by (dx, dy); other types draw nothing.
void DrawElement(const ContourElement& e, std::int8_t type, double dx = 0.0, double dy = 0.0) {
    host::db::ObjectId id;
    switch (type) {
        case kElementCircle: AddCircle(id, At(e.Centre, dx, dy), e.Radius); break;
        case kElementLine: AddLine(id, At(e.Start, dx, dy), At(e.End, dx, dy)); break;
        case kElementArc: AddArcByPoints(id, At(e.Centre, dx, dy), At(e.Start, dx, dy), At(e.End, dx, dy)); break;
        default: break;
    }
}

}  // namespace

void DrawContour(const Contour& contour) {
    std::string_view colour = kRapidColour;
    SetSysVarString("CECOLOR", colour);
    for (const ContourElement& e : contour.Elements) {
        const bool rapid = e.Type == kImportedRapid;
        if (!rapid && e.Type != kElementCircle && e.Type != kElementLine && e.Type != kElementArc) continue;
        const std::string_view wanted = rapid ? kRapidColour : kContourColour;
        if (wanted != colour) {
            colour = wanted;
            SetSysVarString("CECOLOR", colour);
        }
        DrawElement(e, rapid ? kElementLine : e.Type);
    }
}

void DrawPartContours(const PartType& type) {
    for (const Contour& contour : type.Holes[0]) DrawContour(contour);
    for (const Contour& contour : type.Outers[0]) DrawContour(contour);
    for (const Contour& contour : type.DrawingContours) {
        for (const ContourElement& e : contour.Elements) DrawElement(e, e.Type, -type.BasePoint.x, -type.BasePoint.y);
    }
}
