// Contours, types and instances of test jobs, made without drawings.
#include "nesting/testing/job_builder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "cadlib/angles.h"
#include "host/sys/number_text.h"

namespace {

using host::ge::Point2d;

constexpr double kPi = std::numbers::pi;

// Colours the loader gives to contours by owner and class.
constexpr std::int32_t kStockOuterColour = 191;
constexpr std::int32_t kStockInnerColour = 241;
constexpr std::int32_t kPartOuterColour = 140;
constexpr std::int32_t kPartInnerColour = 30;
constexpr std::int32_t kClampColour = 12;

// Height of a clamp's reference point above its bottom edge.
constexpr double kClampBaseHeight = 0.01;

double Normalized(double angle) {
    NormalizeAngle(angle);
    return angle;
}

double DirectionAngle(Point2d from, Point2d to) { return Normalized(std::atan2(to.y - from.y, to.x - from.x)); }

ContourElement MakeLine(Point2d from, Point2d to) {
    ContourElement line;
    line.Type = kElementLine;
    line.Start = from;
    line.End = to;
    line.StartAngle = DirectionAngle(from, to);
    line.EndAngle = Normalized(line.StartAngle + kPi);
    return line;
}

// The arc of a chain from `from` to `to` with the bulge (not 0), stored counter-clockwise.
ContourElement MakeBulgeArc(Point2d from, Point2d to, double bulge) {
    const double sweep = 4.0 * std::atan(std::fabs(bulge));
    const double chord = from.distanceTo(to);
    const double radius = chord / (2.0 * std::sin(sweep / 2.0));
    // Distance of the centre from the chord's middle, to the left of the way the arc is run when it sweeps less
    // than half a turn (a negative distance puts it on the right).
    const double offset = (chord / 2.0) / std::tan(sweep / 2.0);
    const double ux = (to.x - from.x) / chord;
    const double uy = (to.y - from.y) / chord;
    const double side = bulge > 0.0 ? 1.0 : -1.0;
    const Point2d middle{(from.x + to.x) / 2.0, (from.y + to.y) / 2.0};
    ContourElement arc;
    arc.Type = kElementArc;
    arc.Centre = {middle.x - uy * offset * side, middle.y + ux * offset * side};
    arc.Radius = radius;
    arc.Reversed = bulge > 0.0 ? 0 : 1;
    arc.Start = bulge > 0.0 ? from : to;
    arc.End = bulge > 0.0 ? to : from;
    arc.StartAngle = DirectionAngle(arc.Centre, arc.Start);
    arc.EndAngle = DirectionAngle(arc.Centre, arc.End);
    return arc;
}

// The box of one element: its end points, and for an arc every axis point it passes.
BoundingBox ElementBox(const ContourElement& element) {
    if (element.Type == kElementCircle) {
        const double r = element.Radius;
        return {element.Centre.x - r, element.Centre.y - r, element.Centre.x + r, element.Centre.y + r};
    }
    BoundingBox box = BoundingBox::Empty();
    box.Include({element.Start.x, element.Start.y, element.Start.x, element.Start.y});
    box.Include({element.End.x, element.End.y, element.End.x, element.End.y});
    if (element.Type == kElementArc) {
        for (int quarter = 0; quarter < 4; ++quarter) {
            const double angle = quarter * kPi / 2.0;
            if (IsAngleInRange(element.StartAngle, element.EndAngle, angle)) {
                const double x = element.Centre.x + element.Radius * std::cos(angle);
                const double y = element.Centre.y + element.Radius * std::sin(angle);
                box.Include({x, y, x, y});
            }
        }
    }
    return box;
}

void FinishChain(Contour& contour, double signedArea) {
    contour.GeometryKind = kGeometryChain;
    contour.Open = 0;
    contour.ContourClass = kClassOuter;
    contour.Owner = kOwnerPart;
    contour.Colour = kPartOuterColour;
    contour.Area = std::fabs(signedArea);
    contour.Box = BoundingBox::Empty();
    for (const ContourElement& element : contour.Elements) {
        contour.Box.Include(ElementBox(element));
    }
}

void SetRoles(Contour& contour, std::uint8_t kind, std::uint8_t contourClass) {
    contour.ContourClass = contourClass;
    contour.Owner = kind == kKindStock ? kOwnerStock : kOwnerPart;
    if (kind == kKindStock) {
        contour.Colour = contourClass == kClassInner ? kStockInnerColour : kStockOuterColour;
    } else if (kind == kKindClamp) {
        contour.Colour = kClampColour;
    } else {
        contour.Colour = contourClass == kClassInner ? kPartInnerColour : kPartOuterColour;
    }
}

double Aspect(const BoundingBox& box) {
    const double w = box.Width();
    const double h = box.Height();
    if (w <= 0.0 || h <= 0.0) {
        return 1.0;
    }
    return std::max(w, h) / std::min(w, h);
}

void MovePoint(Point2d& p, double dx, double dy) {
    p.x += dx;
    p.y += dy;
}

// Puts `type` before the spare record that closes the array, and answers its index.
int InsertType(std::vector<PartType>& types, std::int32_t& count, PartType type) {
    types.resize(static_cast<std::size_t>(count));
    types.push_back(std::move(type));
    ++count;
    types.emplace_back();  // the spare record
    return count - 1;
}

int AddTypeOfKind(CNestingEngine& engine, std::vector<PartType>& types, std::int32_t& count, PartType type,
                  int quantity) {
    type.Quantity = quantity;
    type.TypeIndex = engine.StockTypeCount + engine.PartTypeCount;
    return InsertType(types, count, std::move(type));
}

std::int32_t TotalQuantity(const std::vector<PartType>& types, std::int32_t typeCount) {
    std::int64_t total = 0;
    for (std::int32_t t = 0; t < typeCount; ++t) {
        total += std::max(0, types[static_cast<std::size_t>(t)].Quantity);
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(total, INT32_MAX));
}

}  // namespace

Contour MakeRectangle(double width, double height, Point2d corner) {
    return MakePolygon({corner,
                        {corner.x + width, corner.y},
                        {corner.x + width, corner.y + height},
                        {corner.x, corner.y + height}});
}

Contour MakePolygon(const std::vector<Point2d>& points) {
    std::vector<ChainVertex> vertices;
    vertices.reserve(points.size());
    for (const Point2d& p : points) {
        vertices.push_back({p, 0.0});
    }
    return MakeChain(vertices);
}

Contour MakeChain(const std::vector<ChainVertex>& vertices) {
    Contour contour;
    double signedArea = 0.0;
    const std::size_t n = vertices.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2d from = vertices[i].point;
        const Point2d to = vertices[(i + 1) % n].point;
        const double bulge = vertices[i].bulge;
        signedArea += (from.x * to.y - to.x * from.y) / 2.0;
        if (bulge == 0.0) {
            contour.Elements.push_back(MakeLine(from, to));
        } else {
            const ContourElement arc = MakeBulgeArc(from, to, bulge);
            const double sweep = 4.0 * std::atan(std::fabs(bulge));
            const double segment = arc.Radius * arc.Radius * (sweep - std::sin(sweep)) / 2.0;
            signedArea += bulge > 0.0 ? segment : -segment;
            contour.Elements.push_back(arc);
        }
    }
    FinishChain(contour, signedArea);
    return contour;
}

Contour MakeCircle(double radius, Point2d centre) {
    Contour contour;
    ContourElement circle;
    circle.Type = kElementCircle;
    circle.Centre = centre;
    circle.Radius = radius;
    circle.Start = {centre.x + radius, centre.y};
    circle.End = circle.Start;
    contour.Elements.push_back(circle);
    contour.GeometryKind = kGeometryCircle;
    contour.ContourClass = kClassOuter;
    contour.Owner = kOwnerPart;
    contour.Colour = kPartOuterColour;
    contour.Area = kPi * radius * radius;
    contour.Box = ElementBox(circle);
    return contour;
}

Contour MakeArcSlot(double length, double width, Point2d start) {
    const double r = width / 2.0;
    // A half circle has the bulge tan(pi / 4) = 1.
    return MakeChain({{{start.x, start.y - r}, 0.0},
                      {{start.x + length, start.y - r}, 1.0},
                      {{start.x + length, start.y + r}, 0.0},
                      {{start.x, start.y + r}, 1.0}});
}

Contour ReverseContour(const Contour& contour) {
    Contour reversed = contour;
    if (contour.GeometryKind == kGeometryCircle) {
        return reversed;
    }
    reversed.Elements.clear();
    for (auto it = contour.Elements.rbegin(); it != contour.Elements.rend(); ++it) {
        ContourElement element = *it;
        if (element.Type == kElementLine) {
            element = MakeLine(it->End, it->Start);
        } else if (element.Type == kElementArc) {
            element.Reversed = element.Reversed ? 0 : 1;  // the stored arc stays counter-clockwise
        }
        reversed.Elements.push_back(element);
    }
    return reversed;
}

void MoveContour(Contour& contour, double dx, double dy) {
    for (ContourElement& element : contour.Elements) {
        MovePoint(element.Start, dx, dy);
        MovePoint(element.End, dx, dy);
        MovePoint(element.Centre, dx, dy);
    }
    contour.Box.Translate(dx, dy);
}

PartType MakeType(std::uint8_t kind, const Contour& outer, const std::string& path) {
    PartType type;
    type.Kind = kind;
    type.Path = path;
    type.BlockName = path;
    type.JobFileType = kJobFileDrawing;
    Contour contour = outer;
    SetRoles(contour, kind, kClassOuter);
    type.Area = contour.Area;
    type.DrawingBox = contour.Box;
    type.OuterBox = contour.Box;
    type.Aspect = Aspect(contour.Box);
    type.Outers[0].push_back(std::move(contour));
    return type;
}

PartType MakeRectangleType(std::uint8_t kind, double width, double height) {
    // The loader moves a rectangle by minus its reference point: the middle of a part, a point just above the
    // middle of a clamp's bottom edge, the corner of a stock.
    Point2d base{0.0, 0.0};
    Point2d corner{0.0, 0.0};
    if (kind == kKindPart) {
        base = {width / 2.0, height / 2.0};
        corner = {-width / 2.0, -height / 2.0};
    } else if (kind == kKindClamp) {
        base = {0.0, kClampBaseHeight};
        corner = {-width / 2.0, -kClampBaseHeight};
    }
    PartType type = MakeType(kind, MakeRectangle(width, height, corner));
    type.BasePoint = base;
    type.JobFileType = kJobFileRectangle;
    const char* format = kind == kKindStock ? "Stosk_%ix%i" : "Part_%ix%i";
    type.Path = host::sys::formatC(format, static_cast<int>(width), static_cast<int>(height));
    type.BlockName = type.Path;
    return type;
}

void AddHole(PartType& type, const Contour& hole) {
    Contour contour = hole;
    SetRoles(contour, type.Kind, kClassInner);
    type.Area -= contour.Area;
    type.Holes[0].push_back(std::move(contour));
}

void AddOuter(PartType& type, const Contour& outer) {
    Contour contour = outer;
    SetRoles(contour, type.Kind, kClassOuter);
    type.Area += contour.Area;
    type.OuterBox.Include(contour.Box);
    type.DrawingBox.Include(contour.Box);
    type.Aspect = Aspect(type.DrawingBox);
    type.Outers[0].push_back(std::move(contour));
}

void AddOpenContour(PartType& type, const Contour& open) {
    Contour contour = open;
    contour.Open = 1;
    SetRoles(contour, type.Kind, 0);
    type.Defects[0].push_back(std::move(contour));
}

int AddStockType(CNestingEngine& engine, PartType type, int quantity) {
    type.Kind = kKindStock;
    return AddTypeOfKind(engine, engine.StockTypes, engine.StockTypeCount, std::move(type), quantity);
}

int AddPartType(CNestingEngine& engine, PartType type, int quantity, int priority, std::uint8_t rotationMode) {
    type.Kind = kKindPart;
    type.Priority = static_cast<std::int8_t>(priority);
    type.RotationMode = rotationMode;
    return AddTypeOfKind(engine, engine.PartTypes, engine.PartTypeCount, std::move(type), quantity);
}

int AddClampType(CNestingEngine& engine, double width, double height, int quantity) {
    PartType type = MakeRectangleType(kKindClamp, width, height);
    type.BlockName = "Clamp";
    return AddTypeOfKind(engine, engine.PartTypes, engine.PartTypeCount, std::move(type), quantity);
}

bool AddInstances(CNestingEngine& engine) {
    const std::int32_t parts = TotalQuantity(engine.PartTypes, engine.PartTypeCount);
    const std::int32_t sheets = TotalQuantity(engine.StockTypes, engine.StockTypeCount);
    const std::int32_t previousParts = engine.PartInstanceCount;
    engine.PartInstanceCount = parts;
    if (!engine.CheckJobLimits()) {
        engine.PartInstanceCount = previousParts;
        return false;
    }
    engine.StockInstanceCount = sheets;
    engine.StockInstances = MakeTypeInstances(engine.StockTypes, engine.StockTypeCount);
    engine.PartInstances = MakeTypeInstances(engine.PartTypes, engine.PartTypeCount);
    engine.CurrentStockInstance = nullptr;
    engine.CurrentStock = 0;
    return true;
}
