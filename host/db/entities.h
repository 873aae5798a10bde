// The entity kinds the host models. Every other DXF entity is kept as an OpaqueEntity and written back unchanged.
//
// Coordinates: points answered and taken by these classes are world coordinates (a file reader turns the
// object-coordinate points of drawing files into world points), except where a comment says "in the plane of the
// normal": lightweight and 2D polyline vertices, and angles of arcs, texts and references, which are measured in
// the plane of the entity's normal from its x axis by the arbitrary-axis rule (Matrix3d::planeToWorld). With the
// usual normal (0,0,1) the two are the same. Setters answer InvalidInput for values that are not finite.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/db/entity.h"
#include "host/ge/curve.h"

namespace host::db {

class Line : public Cloneable<Line, Entity> {
public:
    Line() = default;
    Line(const ge::Point3d& start, const ge::Point3d& end) : start_(start), end_(end) {}
    const char* className() const override { return "AcDbLine"; }
    const char* dxfName() const override { return "LINE"; }

    ge::Point3d start() const { return start_; }
    ge::Point3d end() const { return end_; }
    Status setStart(const ge::Point3d& p);
    Status setEnd(const ge::Point3d& p);
    double thickness() const { return thickness_; }
    Status setThickness(double t);
    ge::Vector3d normal() const { return normal_; }
    Status setNormal(const ge::Vector3d& n);

    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

private:
    ge::Point3d start_, end_;
    double thickness_ = 0.0;
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
};

class Circle : public Cloneable<Circle, Entity> {
public:
    Circle() = default;
    Circle(const ge::Point3d& center, double radius) : center_(center), radius_(radius) {}
    const char* className() const override { return "AcDbCircle"; }
    const char* dxfName() const override { return "CIRCLE"; }

    ge::Point3d center() const { return center_; }
    double radius() const { return radius_; }
    Status setCenter(const ge::Point3d& c);
    Status setRadius(double r);  // InvalidInput unless r > 0
    double thickness() const { return thickness_; }
    Status setThickness(double t);
    ge::Vector3d normal() const { return normal_; }
    Status setNormal(const ge::Vector3d& n);

    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

private:
    ge::Point3d center_;
    double radius_ = 1.0;
    double thickness_ = 0.0;
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
};

// Counter-clockwise (about the normal) from startAngle to endAngle, radians, measured in the plane of the normal.
// Equal angles draw a whole circle. Under a mirror the arc stays counter-clockwise: its angles are swapped.
class Arc : public Cloneable<Arc, Entity> {
public:
    Arc() = default;
    Arc(const ge::Point3d& center, double radius, double startAngle, double endAngle);
    const char* className() const override { return "AcDbArc"; }
    const char* dxfName() const override { return "ARC"; }

    ge::Point3d center() const { return center_; }
    double radius() const { return radius_; }
    double startAngle() const { return startAngle_; }
    double endAngle() const { return endAngle_; }
    ge::Point3d startPoint() const;
    ge::Point3d endPoint() const;
    double length() const;
    Status setCenter(const ge::Point3d& c);
    Status setRadius(double r);  // InvalidInput unless r > 0
    Status setStartAngle(double a);  // normalised to [0, 2*pi)
    Status setEndAngle(double a);
    double thickness() const { return thickness_; }
    Status setThickness(double t);
    ge::Vector3d normal() const { return normal_; }
    Status setNormal(const ge::Vector3d& n);

    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

private:
    ge::Point3d center_;
    double radius_ = 1.0;
    double startAngle_ = 0.0, endAngle_ = 0.0;
    double thickness_ = 0.0;
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
};

class PointEntity : public Cloneable<PointEntity, Entity> {
public:
    PointEntity() = default;
    explicit PointEntity(const ge::Point3d& p) : position_(p) {}
    const char* className() const override { return "AcDbPoint"; }
    const char* dxfName() const override { return "POINT"; }

    ge::Point3d position() const { return position_; }
    Status setPosition(const ge::Point3d& p);
    double xAxisAngle() const { return ecsRotation_; }
    Status setXAxisAngle(double a);
    double thickness() const { return thickness_; }
    Status setThickness(double t);
    ge::Vector3d normal() const { return normal_; }
    Status setNormal(const ge::Vector3d& n);

    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

private:
    ge::Point3d position_;
    double ecsRotation_ = 0.0;
    double thickness_ = 0.0;
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
};

// The lightweight polyline (LWPOLYLINE): 2D vertices with bulges and widths at one elevation.
class LwPolyline : public Cloneable<LwPolyline, Entity> {
public:
    struct Vertex {
        ge::Point2d point;
        double bulge = 0.0;
        double startWidth = 0.0;
        double endWidth = 0.0;
        bool operator==(const Vertex&) const = default;
    };
    enum class SegType { Line, Arc, Coincident, Point, Empty };

    const char* className() const override { return "AcDbPolyline"; }
    const char* dxfName() const override { return "LWPOLYLINE"; }

    unsigned numVerts() const { return unsigned(verts_.size()); }
    const std::vector<Vertex>& vertices() const { return verts_; }
    // Index checks: an index past the end answers InvalidIndex and changes nothing.
    Status getPointAt(unsigned i, ge::Point2d& out) const;
    Status getPointAt(unsigned i, ge::Point3d& out) const;  // at the elevation
    Status getBulgeAt(unsigned i, double& out) const;
    Status getWidthsAt(unsigned i, double& start, double& end) const;
    Status setPointAt(unsigned i, const ge::Point2d& p);
    Status setBulgeAt(unsigned i, double bulge);
    Status setWidthsAt(unsigned i, double start, double end);
    // Inserts before index (index == numVerts appends). Widths of -1 take the constant width.
    Status addVertexAt(unsigned index, const ge::Point2d& p, double bulge = 0.0, double startWidth = -1.0,
                       double endWidth = -1.0);
    Status removeVertexAt(unsigned i);
    void clearVertices();

    bool isClosed() const { return closed_; }
    Status setClosed(bool closed);
    bool plinegen() const { return plinegen_; }
    Status setPlinegen(bool on);
    double constantWidth() const { return constantWidth_; }
    Status setConstantWidth(double w);
    double elevation() const { return elevation_; }
    Status setElevation(double z);
    double thickness() const { return thickness_; }
    Status setThickness(double t);
    ge::Vector3d normal() const { return normal_; }
    Status setNormal(const ge::Vector3d& n);

    // Segment i runs from vertex i to vertex i+1 (to vertex 0 for the closing segment of a closed polyline).
    unsigned numSegments() const;
    // Empty with no vertices (or past the last segment), Point with one vertex, Coincident when the segment's
    // ends are the same point under the global tolerance, Arc for a bulge other than exactly 0, else Line.
    SegType segType(unsigned i) const;
    // The segment as a line, in the plane of the normal. InvalidIndex past the last segment, NotApplicable for an
    // arc segment.
    Status getLineSegAt(unsigned i, ge::LineSeg2d& out) const;
    // The arc of segment i: start point at vertex i, end point at vertex i+1, clockwise for a negative bulge.
    // InvalidIndex past the last segment, NotApplicable for a straight or zero-length segment.
    Status getArcSegAt(unsigned i, ge::CircArc2d& out) const;
    // World points; a closed polyline ends where it starts.
    ge::Point3d startPoint() const;
    ge::Point3d endPoint() const;
    double length() const;
    // Enclosed area, positive; an open polyline answers the area of its closed outline.
    double area() const;
    // Reverses the direction, keeping the shape: vertex j becomes old vertex n-1-j, and segment j takes the
    // negated bulge and swapped widths of the old segment it retraces. Reversing twice gives the polyline back.
    Status reverseCurve();

    // Vertices and arcs; widths play no part.
    std::optional<Extents> geomExtents() const override;
    // A mirror negates the bulges (the normal goes where the transform carries it). A non-uniform scale is
    // NotApplicable unless every segment is straight and of zero width.
    Status transformBy(const ge::Matrix3d& m) override;

private:
    std::vector<Vertex> verts_;
    bool closed_ = false;
    bool plinegen_ = false;
    double constantWidth_ = 0.0;
    double elevation_ = 0.0;
    double thickness_ = 0.0;
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
};

// A vertex of an old-style POLYLINE, owned by its polyline (its own object with a handle).
class PolylineVertex : public Cloneable<PolylineVertex, Entity> {
public:
    PolylineVertex() = default;
    explicit PolylineVertex(const ge::Point3d& p, double bulge = 0.0) : position_(p), bulge_(bulge) {}
    const char* className() const override { return is3d_ ? "AcDb3dPolylineVertex" : "AcDb2dVertex"; }
    const char* dxfName() const override { return "VERTEX"; }

    ge::Point3d position() const { return position_; }
    Status setPosition(const ge::Point3d& p);
    double bulge() const { return bulge_; }
    Status setBulge(double b);
    double startWidth() const { return startWidth_; }
    double endWidth() const { return endWidth_; }
    Status setWidths(double start, double end);
    int flags() const { return flags_; }  // DXF group 70
    Status setFlags(int f);
    bool is3d() const { return is3d_; }
    // Used by the file reader, which attaches vertices with their handles instead of appending them: a vertex of
    // a 3D polyline is marked so before it is added.
    void setIs3d(bool on) { is3d_ = on; }

    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

private:
    friend class PolylineWithVertices;
    ge::Point3d position_;
    double bulge_ = 0.0;
    double startWidth_ = 0.0, endWidth_ = 0.0;
    int flags_ = 0;
    bool is3d_ = false;
};

// The end marker of a vertex or attribute list (SEQEND), owned by its polyline or block reference.
class SequenceEnd : public Cloneable<SequenceEnd, Entity> {
public:
    const char* className() const override { return "AcDbSequenceEnd"; }
    const char* dxfName() const override { return "SEQEND"; }
    std::optional<Extents> geomExtents() const override { return std::nullopt; }
    Status transformBy(const ge::Matrix3d&) override { return Status::Ok; }
};

// Old-style POLYLINE with VERTEX objects: the 2D form (with bulges) and the 3D form.
class PolylineWithVertices : public Entity {
public:
    // Vertex ids in order. Vertices are their own objects: open them to read their positions.
    const std::vector<ObjectId>& vertexIds() const { return vertices_; }
    // Appends a vertex. The polyline must be in a database and open for write; the vertex becomes its own.
    Status appendVertex(std::unique_ptr<PolylineVertex> vertex, ObjectId* id = nullptr);
    // The world positions of the live (not erased) vertices, read without opening each one. A 2D polyline's
    // vertices are x and y in the plane of its normal, at its elevation (their own z plays no part).
    std::vector<ge::Point3d> vertexPositions() const;
    // The bulges of the same vertices, in the same order (all 0 for a 3D polyline).
    std::vector<double> vertexBulges() const;
    ObjectId sequenceEnd() const { return seqEnd_; }

    bool isClosed() const { return (flags_ & 1) != 0; }
    Status setClosed(bool closed);
    int flags() const { return flags_; }  // DXF group 70: 1 closed, 8 a 3D polyline (kept to match the class)
    Status setFlags(int f);
    static constexpr int kFlagClosed = 1;
    static constexpr int kFlag3d = 8;
    double elevation() const { return elevation_; }
    Status setElevation(double z);
    double defaultStartWidth() const { return startWidth_; }
    double defaultEndWidth() const { return endWidth_; }
    Status setDefaultWidths(double start, double end);
    ge::Vector3d normal() const { return normal_; }
    Status setNormal(const ge::Vector3d& n);

    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

    // Used by the file reader: attaches an already added vertex or end marker.
    void attachVertex(ObjectId vertex) { vertices_.push_back(vertex); }
    void attachSequenceEnd(ObjectId seqEnd) { seqEnd_ = seqEnd; }

protected:
    // A 3D polyline carries flag 8 from the start, as files mark it.
    explicit PolylineWithVertices(bool is3d) : flags_(is3d ? kFlag3d : 0), is3d_(is3d) {}
    PolylineWithVertices(const PolylineWithVertices&) = default;

private:
    std::vector<ObjectId> vertices_;
    ObjectId seqEnd_;
    int flags_ = 0;
    double elevation_ = 0.0;
    double startWidth_ = 0.0, endWidth_ = 0.0;
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
    bool is3d_;
};

class Polyline2d : public Cloneable<Polyline2d, PolylineWithVertices> {
public:
    Polyline2d() : Cloneable(false) {}
    const char* className() const override { return "AcDb2dPolyline"; }
    const char* dxfName() const override { return "POLYLINE"; }
};

class Polyline3d : public Cloneable<Polyline3d, PolylineWithVertices> {
public:
    Polyline3d() : Cloneable(true) {}
    const char* className() const override { return "AcDb3dPolyline"; }
    const char* dxfName() const override { return "POLYLINE"; }
};

// Single-line text (TEXT). The invisible flag is the entity's visibility.
class Text : public Cloneable<Text, Entity> {
public:
    Text() = default;
    Text(const ge::Point3d& position, std::string text, double height = 0.0, double rotation = 0.0)
        : position_(position), text_(std::move(text)), height_(height), rotation_(rotation) {}
    const char* className() const override { return "AcDbText"; }
    const char* dxfName() const override { return "TEXT"; }

    const std::string& textString() const { return text_; }
    Status setTextString(std::string text);
    ge::Point3d position() const { return position_; }                 // group 10
    Status setPosition(const ge::Point3d& p);
    ge::Point3d alignmentPoint() const { return alignment_; }          // group 11
    Status setAlignmentPoint(const ge::Point3d& p);
    double height() const { return height_; }
    Status setHeight(double h);
    double rotation() const { return rotation_; }                      // radians
    Status setRotation(double r);
    double widthFactor() const { return widthFactor_; }
    Status setWidthFactor(double w);
    double oblique() const { return oblique_; }
    Status setOblique(double a);
    ObjectId textStyle() const { return style_; }
    Status setTextStyle(ObjectId style);
    int horizontalMode() const { return hmode_; }                      // group 72
    int verticalMode() const { return vmode_; }                        // group 73
    Status setHorizontalMode(int m);
    Status setVerticalMode(int m);
    int generationFlags() const { return genFlags_; }                  // group 71
    Status setGenerationFlags(int f);
    double thickness() const { return thickness_; }
    Status setThickness(double t);
    ge::Vector3d normal() const { return normal_; }
    Status setNormal(const ge::Vector3d& n);

    // Extents estimated from height, width factor and character count; nullopt for an empty string.
    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

private:
    ge::Point3d position_, alignment_;
    std::string text_;
    double height_ = 0.0, rotation_ = 0.0, widthFactor_ = 1.0, oblique_ = 0.0, thickness_ = 0.0;
    ObjectId style_;
    int hmode_ = 0, vmode_ = 0, genFlags_ = 0;
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
};

// An attribute of a block reference (ATTRIB), owned by the reference.
class Attribute : public Cloneable<Attribute, Text> {
public:
    const char* className() const override { return "AcDbAttribute"; }
    const char* dxfName() const override { return "ATTRIB"; }
    const std::string& tag() const { return tag_; }
    Status setTag(std::string tag);
    int attributeFlags() const { return flags_; }  // group 70
    Status setAttributeFlags(int f);

private:
    std::string tag_;
    int flags_ = 0;
};

// An attribute definition inside a block (ATTDEF).
class AttributeDefinition : public Cloneable<AttributeDefinition, Text> {
public:
    const char* className() const override { return "AcDbAttributeDefinition"; }
    const char* dxfName() const override { return "ATTDEF"; }
    const std::string& tag() const { return tag_; }
    Status setTag(std::string tag);
    const std::string& prompt() const { return prompt_; }
    Status setPrompt(std::string prompt);
    int attributeFlags() const { return flags_; }
    Status setAttributeFlags(int f);

private:
    std::string tag_, prompt_;
    int flags_ = 0;
};

class MText : public Cloneable<MText, Entity> {
public:
    const char* className() const override { return "AcDbMText"; }
    const char* dxfName() const override { return "MTEXT"; }

    const std::string& contents() const { return contents_; }  // with format codes, as stored
    Status setContents(std::string text);
    ge::Point3d location() const { return location_; }
    Status setLocation(const ge::Point3d& p);
    double textHeight() const { return height_; }
    Status setTextHeight(double h);
    double width() const { return width_; }
    Status setWidth(double w);
    int attachment() const { return attachment_; }  // 1-9, group 71
    Status setAttachment(int a);
    int drawingDirection() const { return direction_; }  // group 72
    Status setDrawingDirection(int d);
    double rotation() const { return rotation_; }
    Status setRotation(double r);
    ge::Vector3d xDirection() const;  // from rotation
    ObjectId textStyle() const { return style_; }
    Status setTextStyle(ObjectId style);
    double lineSpacingFactor() const { return spacing_; }
    Status setLineSpacingFactor(double f);
    ge::Vector3d normal() const { return normal_; }
    Status setNormal(const ge::Vector3d& n);

    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

private:
    std::string contents_;
    ge::Point3d location_;
    double height_ = 2.5, width_ = 0.0, rotation_ = 0.0, spacing_ = 1.0;
    int attachment_ = 1, direction_ = 1;
    ObjectId style_;
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
};

// A NURBS curve (SPLINE) with its knots, control points, weights and fit points.
class Spline : public Cloneable<Spline, Entity> {
public:
    const char* className() const override { return "AcDbSpline"; }
    const char* dxfName() const override { return "SPLINE"; }

    int degree() const { return degree_; }
    int flags() const { return flags_; }  // group 70: 1 closed, 2 periodic, 4 rational, 8 planar, 16 linear
    bool isClosed() const { return (flags_ & 1) != 0; }
    bool isRational() const { return (flags_ & 4) != 0; }
    const std::vector<double>& knots() const { return knots_; }
    const std::vector<ge::Point3d>& controlPoints() const { return ctrl_; }
    const std::vector<double>& weights() const { return weights_; }  // empty when not rational
    const std::vector<ge::Point3d>& fitPoints() const { return fit_; }
    ge::Vector3d startTangent() const { return startTan_; }
    ge::Vector3d endTangent() const { return endTan_; }
    double knotTolerance() const { return knotTol_; }
    double controlTolerance() const { return ctrlTol_; }
    double fitTolerance() const { return fitTol_; }
    ge::Vector3d normal() const { return normal_; }

    // Sets the NURBS data. InvalidInput unless degree >= 1, control points >= degree + 1, knots = control points
    // + degree + 1, knots do not decrease and span a range, and weights are empty or one per control point, all
    // positive. The rational flag (4) follows the weights given.
    Status setNurbsData(int degree, int flags, std::vector<double> knots, std::vector<ge::Point3d> ctrl,
                        std::vector<double> weights = {});
    Status setFitData(std::vector<ge::Point3d> fit, const ge::Vector3d& startTangent = {},
                      const ge::Vector3d& endTangent = {});
    // Sets the flags of group 70 but the rational flag, which follows the weights (a spline given by fit points
    // alone keeps its closed flag so). InvalidInput for a negative value.
    Status setFlags(int flags);
    Status setTolerances(double knotTol, double ctrlTol, double fitTol);
    Status setNormal(const ge::Vector3d& n);

    // Parameter range [knot[degree], knot[n]] and evaluation (de Boor); with no control points, the cubic through
    // the fit points (ge::interpolateCubicThrough) over their chord lengths, with the file's end tangents.
    double startParam() const;
    double endParam() const;
    ge::Point3d evaluate(double t) const;
    // Points along the curve: `segmentsPerSpan` per non-empty knot span, ends included.
    std::vector<ge::Point3d> tessellate(int segmentsPerSpan = 16) const;

    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

private:
    int degree_ = 3;
    int flags_ = 8;
    std::vector<double> knots_;
    std::vector<ge::Point3d> ctrl_;
    std::vector<double> weights_;
    std::vector<ge::Point3d> fit_;
    ge::Vector3d startTan_, endTan_;
    double knotTol_ = 1e-10, ctrlTol_ = 1e-10, fitTol_ = 1e-10;
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
};

// An ellipse or elliptical arc: centre, major axis (vector from the centre), ratio minor/major, parameters.
class Ellipse : public Cloneable<Ellipse, Entity> {
public:
    Ellipse() = default;
    // InvalidInput from set() unless 0 < ratio <= 1 and the major axis is not zero.
    Status set(const ge::Point3d& center, const ge::Vector3d& normal, const ge::Vector3d& majorAxis, double ratio,
               double startParam = 0.0, double endParam = 6.283185307179586);
    const char* className() const override { return "AcDbEllipse"; }
    const char* dxfName() const override { return "ELLIPSE"; }

    ge::Point3d center() const { return center_; }
    ge::Vector3d majorAxis() const { return major_; }
    ge::Vector3d minorAxis() const;
    ge::Vector3d normal() const { return normal_; }
    double radiusRatio() const { return ratio_; }
    double startParam() const { return startParam_; }
    double endParam() const { return endParam_; }
    // Start and end angles as the host reports them (the angle of the point from the major axis, in [0, 2*pi)).
    // startParam() is in [0, 2*pi) and endParam() in (startParam, startParam + 2*pi].
    double startAngle() const;
    double endAngle() const;
    bool isClosed() const;
    ge::Point3d pointAtParam(double t) const;
    ge::Point3d startPoint() const { return pointAtParam(startParam_); }
    ge::Point3d endPoint() const { return pointAtParam(endParam_); }
    std::vector<ge::Point3d> tessellate(int segments = 64) const;

    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

private:
    ge::Point3d center_;
    ge::Vector3d major_ = {1, 0, 0};
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
    double ratio_ = 1.0;
    double startParam_ = 0.0, endParam_ = 6.283185307179586;
};

// A block reference (INSERT), with its attributes as owned objects.
class BlockReference : public Cloneable<BlockReference, Entity> {
public:
    BlockReference() = default;
    BlockReference(const ge::Point3d& position, ObjectId block) : position_(position), block_(block) {}
    const char* className() const override { return "AcDbBlockReference"; }
    const char* dxfName() const override { return "INSERT"; }

    ObjectId blockTableRecord() const { return block_; }
    Status setBlockTableRecord(ObjectId block);
    std::string blockName() const;
    ge::Point3d position() const { return position_; }
    Status setPosition(const ge::Point3d& p);
    ge::Vector3d scaleFactors() const { return scale_; }
    Status setScaleFactors(const ge::Vector3d& s);  // InvalidInput for a zero factor
    double rotation() const { return rotation_; }  // radians
    Status setRotation(double r);
    ge::Vector3d normal() const { return normal_; }
    Status setNormal(const ge::Vector3d& n);
    // MINSERT arrays (kept for files that have them; 1 x 1 for a plain INSERT).
    int columnCount() const { return columns_; }
    int rowCount() const { return rows_; }
    double columnSpacing() const { return colSpacing_; }
    double rowSpacing() const { return rowSpacing_; }
    Status setArray(int columns, int rows, double colSpacing, double rowSpacing);

    // Block space to world: scale, rotate, move to position, less the block's base point.
    ge::Matrix3d blockTransform() const;
    // Under a mirror the reference keeps its normal and takes a negative x scale; attributes go along.

    const std::vector<ObjectId>& attributeIds() const { return attributes_; }
    Status appendAttribute(std::unique_ptr<Attribute> attribute, ObjectId* id = nullptr);
    ObjectId sequenceEnd() const { return seqEnd_; }
    // Used by the file reader: attaches an already added attribute or end marker.
    void attachAttribute(ObjectId a) { attributes_.push_back(a); }
    void attachSequenceEnd(ObjectId s) { seqEnd_ = s; }

    // The block's visible entity extents, transformed (every cell of an array), with the visible attributes;
    // nested references are followed to a bounded depth.
    std::optional<Extents> geomExtents() const override;
    Status transformBy(const ge::Matrix3d& m) override;

private:
    ge::Point3d position_;
    ObjectId block_;
    ge::Vector3d scale_ = {1, 1, 1};
    double rotation_ = 0.0;
    ge::Vector3d normal_ = ge::Vector3d::kZAxis();
    int columns_ = 1, rows_ = 1;
    double colSpacing_ = 0.0, rowSpacing_ = 0.0;
    std::vector<ObjectId> attributes_;
    ObjectId seqEnd_;
};

// The BLOCK and ENDBLK records that open and close each block definition in a file.
class BlockBegin : public Cloneable<BlockBegin, Entity> {
public:
    const char* className() const override { return "AcDbBlockBegin"; }
    const char* dxfName() const override { return "BLOCK"; }
    std::optional<Extents> geomExtents() const override { return std::nullopt; }
    Status transformBy(const ge::Matrix3d&) override { return Status::Ok; }
};
class BlockEnd : public Cloneable<BlockEnd, Entity> {
public:
    const char* className() const override { return "AcDbBlockEnd"; }
    const char* dxfName() const override { return "ENDBLK"; }
    std::optional<Extents> geomExtents() const override { return std::nullopt; }
    Status transformBy(const ge::Matrix3d&) override { return Status::Ok; }
};

// Any other entity (HATCH, DIMENSION, SOLID, ...): kept as its DXF groups after the common ones, written back as
// read. It has no geometry the host understands and refuses transforms.
class OpaqueEntity : public Cloneable<OpaqueEntity, Entity> {
public:
    OpaqueEntity(std::string dxfName, RawGroups groups) : name_(std::move(dxfName)), groups_(std::move(groups)) {}
    const char* className() const override { return "AcDbEntity"; }
    const char* dxfName() const override { return name_.c_str(); }
    const RawGroups& groups() const { return groups_; }
    std::optional<Extents> geomExtents() const override { return std::nullopt; }
    Status transformBy(const ge::Matrix3d&) override { return Status::NotApplicable; }

private:
    std::string name_;
    RawGroups groups_;
};

}  // namespace host::db
