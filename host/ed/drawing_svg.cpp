// Rendering model space to SVG: styles (colour, line type, visibility), geometry as path data, texts, blocks.
//
// Index of this file
//   [SECTION] Numbers and text       fixed formatting in the C locale, XML escapes, text codes
//   [SECTION] Placement              transforms to the picture, path data through a transform
//   [SECTION] Styles                 layer, colour and line type as the screen shows them
//   [SECTION] Renderer               the walk over entities and blocks, one element per entity
//   [SECTION] Display                highlighted entities and temporary vectors over the drawing
//   [SECTION] Picture                the document around the elements, the file
#include "host/ed/drawing_svg.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <string_view>
#include <vector>

#include "host/db/entities.h"
#include "host/db/tables.h"
#include "host/ed/aci_colors.h"
#include "host/ed/display.h"
#include "host/sys/atomic_file.h"

namespace host::ed {
namespace {

using db::ObjectId;
using ge::Matrix3d;
using ge::Point3d;
using ge::Vector3d;

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// Four decimals: a tenth of a micrometre in a millimetre drawing, far below what a picture shows, and few
// enough that rounding noise of a transform (1e-12) never reaches the text.
constexpr int kDecimals = 4;
// Stroke width and point dots as shares of the picture's larger side: thin lines that still show at 1000 px.
constexpr double kStrokeShare = 1.0 / 1000;
constexpr double kPointDotStrokes = 3.0;
// A TEXT height is the height of capital letters; an SVG font size is the em. Capitals of the usual sans
// fonts are 0.73 em high (DejaVu Sans 0.729), so a text of height 10 needs font size 13.7.
constexpr double kEmPerCapHeight = 1.0 / 0.73;
// Multiline text: a line advances by 5/3 of the text height times the spacing factor.
constexpr double kMTextLineAdvance = 5.0 / 3.0;
// Height used for a text whose height and style height are both 0.
constexpr double kDefaultTextHeight = 2.5;
// Arcs drawn through a transform that is not a similarity (a block scaled unevenly) become chords of at most
// this angle: 5.6 degrees leave a chord error of 0.12 % of the radius.
constexpr double kChordAngle = kPi / 32;
// Ellipses and splines: chords per full turn and per knot span.
constexpr int kEllipseChordsPerTurn = 64;
constexpr int kSplineChordsPerSpan = 16;
// A drawing with no extents shows this square at the origin.
constexpr double kEmptyDrawingSide = 100.0;
// Extents beyond this are not a drawing's (the "nothing counted" 1e20 or a broken file): treated as empty.
constexpr double kLargestCoordinate = 1e15;

// ===================================================================================================================
// [SECTION] Numbers and text
// ===================================================================================================================

// A number in fixed notation with at most kDecimals decimals, trailing zeros dropped, never "-0".
std::string num(double v) {
    if (!std::isfinite(v)) v = 0.0;
    v = std::clamp(v, -kLargestCoordinate, kLargestCoordinate);
    std::array<char, 64> buf{};
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, kDecimals);
    if (ec != std::errc()) return "0";
    std::string s(buf.data(), end);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string hexColor(std::uint32_t rgb) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s = "#";
    for (int shift = 20; shift >= 0; shift -= 4) s += kDigits[(rgb >> shift) & 0xF];
    return s;
}

// Text for XML content and attribute values: markup characters escaped, control characters (which XML 1.0 does
// not allow) dropped.
std::string xmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                if (static_cast<unsigned char>(ch) >= 0x20 || ch == '\t') out += ch;
        }
    }
    return out;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// "\U+XXXX" at `i` (four hex digits): appends the character and answers true.
bool takeUnicodeEscape(std::string_view s, std::size_t& i, std::string& out) {
    if (s.size() < i + 7 || s[i] != '\\' || (s[i + 1] != 'U' && s[i + 1] != 'u') || s[i + 2] != '+') return false;
    unsigned cp = 0;
    auto [p, ec] = std::from_chars(s.data() + i + 3, s.data() + i + 7, cp, 16);
    if (ec != std::errc() || p != s.data() + i + 7 || cp == 0 || (cp >= 0xD800 && cp < 0xE000)) return false;
    appendUtf8(out, char32_t(cp));
    i += 7;
    return true;
}

// The special characters of single-line text: %%c diameter, %%d degree, %%p plus-minus, %%% percent, %%nnn a
// character code; %%u and %%o (underline, overline toggles) are dropped. "\U+XXXX" becomes its character.
std::string plainText(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        if (takeUnicodeEscape(s, i, out)) continue;
        if (s.compare(i, 2, "%%") == 0 && i + 2 < s.size()) {
            char c = char(std::tolower(static_cast<unsigned char>(s[i + 2])));
            if (c == 'c') { out += "\xC3\x98"; i += 3; continue; }  // U+00D8
            if (c == 'd') { out += "\xC2\xB0"; i += 3; continue; }  // U+00B0
            if (c == 'p') { out += "\xC2\xB1"; i += 3; continue; }  // U+00B1
            if (c == '%') { out += '%'; i += 3; continue; }
            if (c == 'u' || c == 'o' || c == 'k') { i += 3; continue; }
            if (std::isdigit(static_cast<unsigned char>(c))) {
                std::size_t j = i + 2;
                unsigned code = 0;
                while (j < s.size() && j < i + 5 && std::isdigit(static_cast<unsigned char>(s[j])))
                    code = code * 10 + unsigned(s[j++] - '0');
                if (code >= 0x20) appendUtf8(out, char32_t(code));
                i = j;
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

// The lines of a multiline text without its format codes: \P (and \X) break lines, \~ is a no-break space, \\ \{
// \} are the characters, braces group and vanish, \f \F \H \W \Q \T \A \C \c \p take arguments up to ';',
// \L \l \O \o \K \k toggle and vanish, \S a^b; \S a/b; \S a#b; stack two texts and show as "a/b".
std::vector<std::string> plainMTextLines(std::string_view s) {
    std::vector<std::string> lines(1);
    auto skipArgument = [&](std::size_t& i) {
        std::size_t semi = s.find(';', i);
        i = semi == std::string_view::npos ? s.size() : semi + 1;
    };
    for (std::size_t i = 0; i < s.size();) {
        std::string& line = lines.back();
        if (takeUnicodeEscape(s, i, line)) continue;
        char c = s[i];
        if (c == '{' || c == '}') {
            ++i;
            continue;
        }
        if (c != '\\' || i + 1 >= s.size()) {
            if (c == '%' && s.compare(i, 2, "%%") == 0 && i + 2 < s.size()) {
                std::string special = plainText(s.substr(i, 3));
                line += special;
                i += 3;
                continue;
            }
            line += c;
            ++i;
            continue;
        }
        char code = s[i + 1];
        i += 2;
        switch (code) {
            case 'P': case 'X': lines.emplace_back(); break;
            case '~': line += "\xC2\xA0"; break;  // U+00A0
            case '\\': case '{': case '}': line += code; break;
            case 'f': case 'F': case 'H': case 'W': case 'Q': case 'T': case 'A': case 'C': case 'c': case 'p':
                skipArgument(i);
                break;
            case 'L': case 'l': case 'O': case 'o': case 'K': case 'k': break;
            case 'S': {
                std::size_t semi = s.find(';', i);
                std::size_t stop = semi == std::string_view::npos ? s.size() : semi;
                for (char ch : s.substr(i, stop - i)) line += (ch == '^' || ch == '#') ? '/' : ch;
                i = semi == std::string_view::npos ? s.size() : semi + 1;
                break;
            }
            default: line += code; break;
        }
    }
    return lines;
}

// ===================================================================================================================
// [SECTION] Placement
// ===================================================================================================================

// A transform from some entity's coordinates to the picture, and what it does to the plane of the picture.
struct Placement {
    Matrix3d m;
    double det2 = 1.0;        // determinant of the plan-view linear part (negative: mirrored)
    double scale = 1.0;       // sqrt(|det2|): the length factor of a similarity
    bool similarity = true;   // plan view keeps angles: circles stay circles

    explicit Placement(const Matrix3d& matrix) : m(matrix) {
        const double a = m.entry(0, 0), b = m.entry(0, 1), c = m.entry(1, 0), d = m.entry(1, 1);
        det2 = a * d - b * c;
        scale = std::sqrt(std::abs(det2));
        const double tol = 1e-9 * std::max({std::abs(a), std::abs(b), std::abs(c), std::abs(d), 1e-300});
        const bool rotation = std::abs(a - d) <= tol && std::abs(b + c) <= tol;
        const bool mirrored = std::abs(a + d) <= tol && std::abs(b - c) <= tol;
        similarity = (rotation || mirrored) && scale > 0.0;
    }

    // The picture's coordinates of a point: the plan view with y pointing down.
    std::pair<double, double> picture(const Point3d& p) const {
        Point3d w = m * p;
        return {w.x, -w.y};
    }
    // The angle in the picture (degrees, clockwise on screen as SVG turns) of a direction given in entity terms.
    double pictureAngleDegrees(const Vector3d& direction) const {
        Vector3d w = m * direction;
        return -std::atan2(w.y, w.x) * 180.0 / kPi;
    }
};

// Path data ("M x y L x y A r r 0 0 1 x y Z") of entity geometry drawn through a placement.
class PathData {
public:
    explicit PathData(const Placement& placement) : p_(placement) {}

    void moveTo(const Point3d& q) { command("M", q); }
    void lineTo(const Point3d& q) { command("L", q); }
    void close() { d_ += d_.empty() ? "" : " Z"; }

    // An arc of the entity's plane from the current point (which must be centre + r at angle `start`) sweeping
    // `sweep` radians (positive counter-clockwise), at height z. Through a similarity it is one or two SVG arc
    // commands (two when it turns more than half way, so the large-arc choice never rests on rounding); through
    // any other transform, chords of at most kChordAngle.
    void arc(const Point3d& center, double radius, double start, double sweep) {
        auto at = [&](double angle) {
            return Point3d(center.x + radius * std::cos(angle), center.y + radius * std::sin(angle), center.z);
        };
        if (!p_.similarity) {
            int chords = std::max(1, int(std::ceil(std::abs(sweep) / kChordAngle)));
            for (int i = 1; i <= chords; ++i) lineTo(at(start + sweep * i / chords));
            return;
        }
        const int pieces = std::abs(sweep) > kPi - 1e-9 ? 2 : 1;
        // Counter-clockwise in the entity's plane stays so in the world unless mirrored; the picture's y flip
        // turns the world's counter-clockwise into SVG's negative sweep direction (flag 0).
        const bool worldCounterClockwise = (sweep > 0) == (p_.det2 > 0);
        const std::string r = num(radius * p_.scale);
        for (int i = 1; i <= pieces; ++i) {
            auto [x, y] = p_.picture(at(start + sweep * i / pieces));
            d_ += " A " + r + " " + r + " 0 0 " + (worldCounterClockwise ? "0 " : "1 ") + num(x) + " " + num(y);
        }
    }

    bool empty() const { return d_.empty(); }
    const std::string& text() const { return d_; }

private:
    void command(const char* op, const Point3d& q) {
        auto [x, y] = p_.picture(q);
        if (!d_.empty()) d_ += ' ';
        d_ += op;
        d_ += ' ' + num(x) + ' ' + num(y);
    }

    const Placement& p_;
    std::string d_;
};

// The arc of a polyline segment from a to b with a bulge (tan of a quarter of the included angle, positive
// counter-clockwise): centre, radius, start angle, sweep. The centre lies off the chord's midpoint by
// chord * (1 - b^2) / (4b) along the chord's left normal.
struct BulgeArc {
    Point3d center;
    double radius, start, sweep;
};
BulgeArc arcFromBulge(const Point3d& a, const Point3d& b, double bulge) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double offset = (1 - bulge * bulge) / (4 * bulge);
    Point3d center((a.x + b.x) / 2 - dy * offset, (a.y + b.y) / 2 + dx * offset, a.z);
    return {center, std::hypot(a.x - center.x, a.y - center.y), std::atan2(a.y - center.y, a.x - center.x),
            4 * std::atan(bulge)};
}

// A bulge this small draws as a straight segment: the arc rises less than a billionth of its chord.
constexpr double kStraightBulge = 1e-9;

void polylineSegment(PathData& path, const Point3d& a, const Point3d& b, double bulge) {
    if (std::abs(bulge) < kStraightBulge || (a.x == b.x && a.y == b.y)) {
        path.lineTo(b);
        return;
    }
    BulgeArc arc = arcFromBulge(a, b, bulge);
    path.arc(arc.center, arc.radius, arc.start, arc.sweep);
}

// ===================================================================================================================
// [SECTION] Styles
// ===================================================================================================================

// What a block reference hands to the entities of its block.
struct Scope {
    Matrix3d transform;               // block space to world
    ObjectId layer;                   // the reference's layer, taken by entities on layer "0"; null at the top
    std::uint32_t byBlockRgb = 0xFFFFFF;  // BYBLOCK colour (white at the top: the foreground colour)
    ObjectId byBlockLinetype;         // BYBLOCK line type (null: continuous)
    int depth = 0;
};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// A stroke-dasharray (and offset) from a line type's elements scaled to drawing units. SVG patterns start with a
// dash and alternate; a DXF pattern may start with a gap or hold two dashes (or gaps) in a row, so neighbours of
// one kind are merged around the cycle and the pattern is turned to start at a dash, the turn made good by the
// offset. Answers "" for a continuous line (no elements, all dashes, or a pattern of no length).
std::string dashAttributes(const std::vector<double>& elements, double factor) {
    if (elements.empty() || !(factor > 0) || !std::isfinite(factor)) return {};
    struct Run {
        bool dash;
        double length;
    };
    std::vector<Run> runs;
    for (double e : elements) {
        Run r{e >= 0, std::abs(e) * factor};
        if (!runs.empty() && runs.back().dash == r.dash) runs.back().length += r.length;
        else runs.push_back(r);
    }
    if (runs.size() > 1 && runs.front().dash == runs.back().dash) {
        runs.front().length += runs.back().length;
        runs.pop_back();
    }
    double total = 0;
    for (const Run& r : runs) total += r.length;
    if (runs.size() < 2 || !(total > 0) || !std::isfinite(total)) return {};
    // Start at the first dash; the elements before it (one gap) move to the end and the offset moves the
    // pattern's start back to where the line type starts.
    double offset = 0;
    if (!runs.front().dash) {
        offset = total - runs.front().length;
        std::rotate(runs.begin(), runs.begin() + 1, runs.end());
    }
    std::string out = " stroke-dasharray=\"";
    for (std::size_t i = 0; i < runs.size(); ++i) out += (i ? " " : "") + num(runs[i].length);
    out += '"';
    if (offset > 0) out += " stroke-dashoffset=\"" + num(offset) + '"';
    return out;
}

// ===================================================================================================================
// [SECTION] Renderer
// ===================================================================================================================

class Renderer {
public:
    Renderer(const db::Database& db, const SvgOptions& options, double strokeWidth)
        : db_(db), options_(options), strokeWidth_(strokeWidth) {}

    void drawModelSpace() {
        const auto* space = dynamic_cast<const db::BlockTableRecord*>(db_.peek(db_.modelSpaceId()));
        if (!space) return;
        Scope top;
        drawEntities(space->entityIds(), top);
    }

    const std::string& elements() const { return out_; }
    SvgReport& report() { return report_; }

private:
    // The layer an entity shows on: its own, or inside a block the reference's when it is on layer "0".
    ObjectId effectiveLayer(const db::Entity& e, const Scope& scope) const {
        if (!scope.layer.isNull() && db_.recordName(e.layerId()) == "0") return scope.layer;
        return e.layerId();
    }
    const db::LayerTableRecord* layerRecord(ObjectId id) const {
        return dynamic_cast<const db::LayerTableRecord*>(db_.peek(id));
    }

    // Shown: visible, and its effective layer is on and thawed. A layer that is missing (a broken file) shows.
    bool shows(const db::Entity& e, const Scope& scope) const {
        if (!e.isVisible()) return false;
        const db::LayerTableRecord* layer = layerRecord(effectiveLayer(e, scope));
        return !layer || layer->isVisible();
    }

    std::uint32_t rgbOf(const db::Entity& e, const Scope& scope) const {
        const db::Color c = e.color();
        if (c.rgb) return *c.rgb & 0xFFFFFF;
        if (c.index == db::Color::kByLayer) {
            const db::LayerTableRecord* layer = layerRecord(effectiveLayer(e, scope));
            if (!layer) return aciToRgb(kAciForeground);
            const db::Color lc = layer->color();
            if (lc.rgb) return *lc.rgb & 0xFFFFFF;
            return aciToRgb(lc.index >= 1 && lc.index < kAciCount ? lc.index : kAciForeground);
        }
        if (c.index == db::Color::kByBlock) return scope.byBlockRgb;
        return aciToRgb(c.index >= 1 && c.index < kAciCount ? c.index : kAciForeground);
    }

    // The line type the entity is drawn with: its own, BYLAYER through the effective layer, BYBLOCK through the
    // reference. The null id means continuous.
    ObjectId linetypeOf(const db::Entity& e, const Scope& scope) const {
        ObjectId lt = e.linetypeId();
        const std::string name = db_.recordName(lt);
        if (lt.isNull() || sameName(name, "ByLayer")) {
            const db::LayerTableRecord* layer = layerRecord(effectiveLayer(e, scope));
            return layer ? layer->linetypeId() : ObjectId();
        }
        if (sameName(name, "ByBlock")) return scope.byBlockLinetype;
        return lt;
    }

    std::string dashesOf(const db::Entity& e, const Scope& scope, const Placement& placement) const {
        const auto* lt = dynamic_cast<const db::LinetypeTableRecord*>(db_.peek(linetypeOf(e, scope)));
        if (!lt) return {};
        // Patterns are laid out in the entity's own units, so a block reference's scale stretches them too.
        return dashAttributes(lt->dashes(), db_.header().ltScale * e.linetypeScale() * placement.scale);
    }

    std::string handleAttribute(const db::Entity& e) const {
        return " data-handle=\"" + e.handle().text() + '"';
    }

    // One element per entity. Answers false when the work bound stops the picture.
    bool spend() {
        if (work_ >= options_.maxWork) {
            report_.cutOff = true;
            return false;
        }
        ++work_;
        return true;
    }

    void emitPath(const db::Entity& e, const Scope& scope, const Placement& placement, const PathData& path) {
        if (path.empty() || !spend()) return;
        out_ += "<path d=\"" + path.text() + "\" stroke=\"" + hexColor(onWhiteBackground(rgbOf(e, scope))) + '"' +
                dashesOf(e, scope, placement) + handleAttribute(e) + "/>\n";
        ++report_.drawn;
    }

    void drawEntities(const std::vector<ObjectId>& ids, const Scope& scope) {
        for (ObjectId id : ids) {
            if (report_.cutOff) return;
            const auto* e = dynamic_cast<const db::Entity*>(db_.peek(id));
            if (!e || e->isErased()) continue;
            const bool highlighted = options_.showDisplay && scope.depth == 0 && e->isHighlighted();
            const std::size_t start = out_.size();
            drawEntity(*e, scope);
            if (highlighted && out_.size() > start) {
                // The entity's elements twice: under a wide pale halo, then dashed (the look of the style sheet
                // in the picture's head).
                const std::string elements = out_.substr(start);
                out_.resize(start);
                out_ += "<g class=\"highlight-halo\">\n" + elements + "</g>\n";
                out_ += "<g class=\"highlighted\"" + handleAttribute(*e) + ">\n" + elements + "</g>\n";
                ++report_.highlighted;
            }
        }
    }

    void drawEntity(const db::Entity& e, const Scope& scope) {
        // Records that only frame other records draw nothing of their own.
        if (dynamic_cast<const db::BlockBegin*>(&e) || dynamic_cast<const db::BlockEnd*>(&e) ||
            dynamic_cast<const db::SequenceEnd*>(&e) || dynamic_cast<const db::PolylineVertex*>(&e))
            return;
        if (const auto* ref = dynamic_cast<const db::BlockReference*>(&e)) return drawReference(*ref, scope);
        if (!shows(e, scope)) {
            ++report_.hidden;
            return;
        }
        if (const auto* x = dynamic_cast<const db::Line*>(&e)) return drawLine(*x, scope);
        if (const auto* x = dynamic_cast<const db::Circle*>(&e)) return drawCircle(*x, scope);
        if (const auto* x = dynamic_cast<const db::Arc*>(&e)) return drawArc(*x, scope);
        if (const auto* x = dynamic_cast<const db::PointEntity*>(&e)) return drawPoint(*x, scope);
        if (const auto* x = dynamic_cast<const db::LwPolyline*>(&e)) return drawLwPolyline(*x, scope);
        if (const auto* x = dynamic_cast<const db::PolylineWithVertices*>(&e)) return drawPolyline(*x, scope);
        if (const auto* x = dynamic_cast<const db::Ellipse*>(&e)) return drawEllipse(*x, scope);
        if (const auto* x = dynamic_cast<const db::Spline*>(&e)) return drawSpline(*x, scope);
        if (const auto* x = dynamic_cast<const db::AttributeDefinition*>(&e)) {
            // A definition shows its tag where it stands in model space; inside a block only a constant one
            // shows (the others become the references' attributes).
            const bool constant = (x->attributeFlags() & 2) != 0, invisible = (x->attributeFlags() & 1) != 0;
            if (invisible) {
                ++report_.hidden;
                return;
            }
            if (scope.depth == 0) return drawText(*x, scope, x->tag());
            if (constant) return drawText(*x, scope, x->textString());
            return;
        }
        if (const auto* x = dynamic_cast<const db::Attribute*>(&e)) {
            if (x->attributeFlags() & 1) {
                ++report_.hidden;
                return;
            }
            return drawText(*x, scope, x->textString());
        }
        if (const auto* x = dynamic_cast<const db::Text*>(&e)) return drawText(*x, scope, x->textString());
        if (const auto* x = dynamic_cast<const db::MText*>(&e)) return drawMText(*x, scope);
        ++report_.notDrawn[e.dxfName()];
    }

    void drawLine(const db::Line& e, const Scope& scope) {
        Placement placement(scope.transform);
        PathData path(placement);
        path.moveTo(e.start());
        path.lineTo(e.end());
        emitPath(e, scope, placement, path);
    }

    // Circles and arcs keep their centre in world coordinates and measure angles in the plane of their normal:
    // they are drawn about the origin of that plane, moved to the centre.
    static Matrix3d circlePlane(const Scope& scope, const Point3d& center, const Vector3d& normal) {
        return scope.transform * Matrix3d::translation(center - Point3d::kOrigin()) * Matrix3d::planeToWorld(normal);
    }

    void drawCircle(const db::Circle& e, const Scope& scope) {
        Placement placement(circlePlane(scope, e.center(), e.normal()));
        if (placement.similarity) {
            if (!spend()) return;
            auto [x, y] = placement.picture(Point3d::kOrigin());
            out_ += "<circle cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"" + num(e.radius() * placement.scale) +
                    "\" stroke=\"" + hexColor(onWhiteBackground(rgbOf(e, scope))) + '"' +
                    dashesOf(e, scope, placement) + handleAttribute(e) + "/>\n";
            ++report_.drawn;
            return;
        }
        PathData path(placement);
        path.moveTo(Point3d(e.radius(), 0, 0));
        path.arc(Point3d::kOrigin(), e.radius(), 0, kTwoPi);
        path.close();
        emitPath(e, scope, placement, path);
    }

    void drawArc(const db::Arc& e, const Scope& scope) {
        Placement placement(circlePlane(scope, e.center(), e.normal()));
        double sweep = std::fmod(e.endAngle() - e.startAngle(), kTwoPi);
        if (sweep <= 0) sweep += kTwoPi;
        PathData path(placement);
        path.moveTo(Point3d(e.radius() * std::cos(e.startAngle()), e.radius() * std::sin(e.startAngle()), 0));
        path.arc(Point3d::kOrigin(), e.radius(), e.startAngle(), sweep);
        emitPath(e, scope, placement, path);
    }

    void drawPoint(const db::PointEntity& e, const Scope& scope) {
        if (!spend()) return;
        Placement placement(scope.transform);
        auto [x, y] = placement.picture(e.position());
        out_ += "<circle cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"" + num(strokeWidth_ * kPointDotStrokes) +
                "\" fill=\"" + hexColor(onWhiteBackground(rgbOf(e, scope))) + "\" stroke=\"none\"" +
                handleAttribute(e) + "/>\n";
        ++report_.drawn;
    }

    void drawLwPolyline(const db::LwPolyline& e, const Scope& scope) {
        const auto& v = e.vertices();
        if (v.size() < 2) return;
        Placement placement(scope.transform * Matrix3d::planeToWorld(e.normal()));
        PathData path(placement);
        auto at = [&](std::size_t i) { return Point3d(v[i].point.x, v[i].point.y, e.elevation()); };
        path.moveTo(at(0));
        for (std::size_t i = 0; i + 1 < v.size(); ++i) polylineSegment(path, at(i), at(i + 1), v[i].bulge);
        if (e.isClosed()) {
            polylineSegment(path, at(v.size() - 1), at(0), v.back().bulge);
            path.close();
        }
        emitPath(e, scope, placement, path);
    }

    void drawPolyline(const db::PolylineWithVertices& e, const Scope& scope) {
        constexpr int kPolygonMesh = 16, kPolyfaceMesh = 64;
        constexpr int kSplineFrameVertex = 16;
        if (e.flags() & (kPolygonMesh | kPolyfaceMesh)) {
            ++report_.notDrawn[std::string(e.dxfName()) + " mesh"];
            return;
        }
        struct V {
            Point3d p;
            double bulge;
        };
        // A 3D polyline's vertices are world points; a 2D one's are x, y in the plane of its normal, at its
        // elevation.
        const bool is3d = dynamic_cast<const db::Polyline3d*>(&e) != nullptr;
        std::vector<V> verts;
        for (ObjectId id : e.vertexIds()) {
            const auto* v = dynamic_cast<const db::PolylineVertex*>(db_.peek(id));
            if (!v || v->isErased() || (v->flags() & kSplineFrameVertex)) continue;
            const Point3d p = v->position();
            verts.push_back({is3d ? p : Point3d(p.x, p.y, e.elevation()), is3d ? 0.0 : v->bulge()});
        }
        if (verts.size() < 2) return;
        Placement placement(is3d ? scope.transform : scope.transform * Matrix3d::planeToWorld(e.normal()));
        PathData path(placement);
        path.moveTo(verts[0].p);
        for (std::size_t i = 0; i + 1 < verts.size(); ++i)
            polylineSegment(path, verts[i].p, verts[i + 1].p, verts[i].bulge);
        if (e.isClosed()) {
            polylineSegment(path, verts.back().p, verts[0].p, verts.back().bulge);
            path.close();
        }
        emitPath(e, scope, placement, path);
    }

    void drawEllipse(const db::Ellipse& e, const Scope& scope) {
        double start = e.startParam(), sweep = e.endParam() - e.startParam();
        if (e.isClosed()) sweep = kTwoPi;
        else if (sweep <= 0) sweep += kTwoPi;
        const int chords = std::max(2, int(std::ceil(sweep / kTwoPi * kEllipseChordsPerTurn)));
        Placement placement(scope.transform);
        PathData path(placement);
        path.moveTo(e.pointAtParam(start));
        for (int i = 1; i <= chords; ++i) path.lineTo(e.pointAtParam(start + sweep * i / chords));
        if (e.isClosed()) path.close();
        emitPath(e, scope, placement, path);
    }

    void drawSpline(const db::Spline& e, const Scope& scope) {
        std::vector<Point3d> points = e.tessellate(kSplineChordsPerSpan);
        if (points.size() < 2) return;
        Placement placement(scope.transform);
        PathData path(placement);
        path.moveTo(points[0]);
        for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
        emitPath(e, scope, placement, path);
    }

    double textHeight(double height, ObjectId style) const {
        if (height > 0) return height;
        const auto* st = dynamic_cast<const db::TextStyleTableRecord*>(db_.peek(style));
        if (st && st->textSize() > 0) return st->textSize();
        return kDefaultTextHeight;
    }

    // The opening of a <text> element at an anchor, with its rotation and size.
    std::string textOpening(const db::Entity& e, const Scope& scope, const Placement& placement, const Point3d& anchor,
                            double angleDegrees, double height, std::string_view extra) const {
        auto [x, y] = placement.picture(anchor);
        std::string s = "<text x=\"" + num(x) + "\" y=\"" + num(y) + '"';
        if (const std::string angle = num(angleDegrees); angle != "0")
            s += " transform=\"rotate(" + angle + " " + num(x) + " " + num(y) + ")\"";
        s += " font-family=\"sans-serif\" font-size=\"" + num(height * placement.scale * kEmPerCapHeight) + '"';
        s += extra;
        s += " fill=\"" + hexColor(onWhiteBackground(rgbOf(e, scope))) + "\" stroke=\"none\"" + handleAttribute(e);
        return s + ">";
    }

    void drawText(const db::Text& e, const Scope& scope, const std::string& raw) {
        const std::string text = xmlEscape(plainText(raw));
        if (text.empty()) return;
        if (!spend()) return;
        // Position and alignment point are world points; the rotation is measured in the plane of the normal.
        Placement placement(scope.transform);
        const int h = e.horizontalMode(), v = e.verticalMode();
        constexpr int kAligned = 3, kFit = 5, kMiddle = 4;
        // Left-on-baseline texts stand at their position; every other justification at the alignment point,
        // except aligned and fit texts, which run from the position to the alignment point.
        const bool stretched = (h == kAligned || h == kFit) && v == 0;
        const bool atPosition = (h == 0 && v == 0) || stretched;
        const Point3d anchor = atPosition ? e.position() : e.alignmentPoint();
        std::string extra;
        double angle = placement.pictureAngleDegrees(Matrix3d::planeToWorld(e.normal()) *
                                                     Vector3d(std::cos(e.rotation()), std::sin(e.rotation()), 0));
        if (stretched) {
            const Point3d a = e.position(), b = e.alignmentPoint();
            if (std::hypot(b.x - a.x, b.y - a.y) > 0) {
                angle = placement.pictureAngleDegrees(b - a);
                extra += " textLength=\"" + num(std::hypot(b.x - a.x, b.y - a.y) * placement.scale) +
                         "\" lengthAdjust=\"spacingAndGlyphs\"";
            }
        } else if (h == 1 || h == kMiddle) {
            extra += " text-anchor=\"middle\"";
        } else if (h == 2) {
            extra += " text-anchor=\"end\"";
        }
        if (h == kMiddle || v == 2) extra += " dominant-baseline=\"central\"";
        else if (v == 1) extra += " dominant-baseline=\"text-after-edge\"";
        else if (v == 3) extra += " dominant-baseline=\"hanging\"";
        out_ += textOpening(e, scope, placement, anchor, angle, textHeight(e.height(), e.textStyle()), extra) + text +
                "</text>\n";
        ++report_.drawn;
    }

    void drawMText(const db::MText& e, const Scope& scope) {
        std::vector<std::string> lines = plainMTextLines(e.contents());
        bool any = false;
        for (const std::string& l : lines) any = any || !l.empty();
        if (!any || !spend()) return;
        Placement placement(scope.transform);
        const double height = textHeight(e.textHeight(), e.textStyle());
        const double advance = height * kMTextLineAdvance * (e.lineSpacingFactor() > 0 ? e.lineSpacingFactor() : 1.0);
        // Attachment 1-9: top, middle, bottom rows of left, centre, right.
        const int attachment = std::clamp(e.attachment(), 1, 9);
        const int column = (attachment - 1) % 3, row = (attachment - 1) / 3;
        std::string extra = column == 1 ? " text-anchor=\"middle\"" : column == 2 ? " text-anchor=\"end\"" : "";
        // The first baseline sits one capital height below the top, and the block of lines is moved up by its
        // height for a bottom attachment, by half of it for a middle one (in picture units, y down).
        const double block = advance * double(lines.size() - 1) + height;
        const double firstBaseline = row == 0 ? height : row == 1 ? height - block / 2 : height - block;
        const double angle = placement.pictureAngleDegrees(e.xDirection());
        auto [x, y] = placement.picture(e.location());
        std::string s = textOpening(e, scope, placement, e.location(), angle, height, extra);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const double dy = (i == 0 ? firstBaseline : advance) * placement.scale;
            s += "<tspan x=\"" + num(x) + "\" dy=\"" + num(dy) + "\">" + xmlEscape(lines[i]) + "</tspan>";
        }
        out_ += s + "</text>\n";
        ++report_.drawn;
    }

    void drawReference(const db::BlockReference& ref, const Scope& scope) {
        const db::LayerTableRecord* ownLayer = layerRecord(effectiveLayer(ref, scope));
        // A reference that is invisible or on a frozen layer hides its whole block; one on a layer that is off
        // still shows what its block draws on other layers.
        if (!ref.isVisible() || (ownLayer && ownLayer->isFrozen())) {
            ++report_.hidden;
            return;
        }
        if (scope.depth >= options_.maxBlockDepth) {
            ++report_.tooDeep;
            return;
        }
        const auto* block = dynamic_cast<const db::BlockTableRecord*>(db_.peek(ref.blockTableRecord()));
        if (!block || block->isErased()) {
            ++report_.notDrawn["INSERT without its block"];
            return;
        }
        Scope inner;
        inner.layer = effectiveLayer(ref, scope);
        inner.byBlockRgb = rgbOf(ref, scope);
        inner.byBlockLinetype = linetypeOf(ref, scope);
        inner.depth = scope.depth + 1;
        // The reference's transform (block space to its owner's space) holds the plane of its normal already.
        const Matrix3d blockTransform = ref.blockTransform();
        const Matrix3d plane = Matrix3d::planeToWorld(ref.normal());
        // Arrays (MINSERT): each copy moves by its column and row spacing along the reference's rotated axes in
        // the plane of its normal, before the transform (so the spacing is not scaled).
        const int columns = std::max(1, ref.columnCount()), rows = std::max(1, ref.rowCount());
        const double c = std::cos(ref.rotation()), s = std::sin(ref.rotation());
        const std::vector<ObjectId> ids = block->entityIds();
        out_ += "<g data-block=\"" + xmlEscape(block->name()) + '"' + handleAttribute(ref) + ">\n";
        for (int r = 0; r < rows && !report_.cutOff; ++r) {
            for (int k = 0; k < columns && !report_.cutOff; ++k) {
                if (!spend()) break;
                const double ox = k * ref.columnSpacing(), oy = r * ref.rowSpacing();
                const Vector3d offset = plane * Vector3d(ox * c - oy * s, ox * s + oy * c, 0);
                inner.transform = scope.transform * Matrix3d::translation(offset) * blockTransform;
                drawEntities(ids, inner);
            }
        }
        out_ += "</g>\n";
        // Attributes stand where they were placed (in the coordinates of the reference's owner).
        for (ObjectId id : ref.attributeIds()) {
            const auto* a = dynamic_cast<const db::Attribute*>(db_.peek(id));
            if (a && !a->isErased() && !report_.cutOff) drawEntity(*a, scope);
        }
    }

    const db::Database& db_;
    const SvgOptions& options_;
    double strokeWidth_;
    std::string out_;
    SvgReport report_;
    std::size_t work_ = 0;
};

// ===================================================================================================================
// [SECTION] Display
// ===================================================================================================================

// How highlighted entities look: a halo four strokes wide in a pale blue under the entity, and the entity
// itself dashed with dashes of six strokes. CSS rules win over the elements' own presentation attributes.
std::string displayStyle(double stroke) {
    return "<style>\n.highlight-halo * { stroke: #7fb2f0; stroke-opacity: 0.6; stroke-width: " + num(stroke * 4) +
           "; stroke-dasharray: none; }\n.highlighted * { stroke-dasharray: " + num(stroke * 6) + " " +
           num(stroke * 4) + "; }\n</style>\n";
}

// The temporary vectors as lines in their colours (a negative colour is drawn in the colour of its index).
std::string vectorElements(const std::vector<TemporaryVector>& vectors, double stroke) {
    if (vectors.empty()) return {};
    std::string s = "<g class=\"temporary-vectors\">\n";
    for (const TemporaryVector& v : vectors) {
        const int index = std::abs(v.color);
        s += "<line x1=\"" + num(v.from.x) + "\" y1=\"" + num(-v.from.y) + "\" x2=\"" + num(v.to.x) + "\" y2=\"" +
             num(-v.to.y) + "\" stroke=\"" +
             hexColor(onWhiteBackground(aciToRgb(index >= 1 && index < kAciCount ? index : kAciForeground))) + '"';
        if (v.highlighted) s += " stroke-dasharray=\"" + num(stroke * 6) + " " + num(stroke * 4) + '"';
        s += "/>\n";
    }
    return s + "</g>\n";
}

// The smallest dot a moving entity is drawn as, a share of the picture's larger side (8 pixels of 1000).
constexpr double kMinAnimatedDotShare = 0.008;

// The entities that moved on the display, each as a dot that plays its frames. Times are relative to the first
// frame of the drawing, so several markers keep their order; a run shown in no time still plays, a millisecond a
// frame.
std::string animationElements(const std::vector<AnimationFrame>& frames, double pictureSide) {
    std::map<std::uint64_t, std::vector<const AnimationFrame*>> byEntity;  // by handle value
    for (const AnimationFrame& f : frames) byEntity[f.entity.value].push_back(&f);
    std::string s;
    for (const auto& [handle, list] : byEntity) {
        if (list.size() < 2) continue;
        const std::int64_t start = list.front()->time;
        std::int64_t span = list.back()->time - start;
        const bool timed = span > 0;
        if (!timed) span = static_cast<std::int64_t>(list.size() - 1);
        std::string values, times, colours, stamps;
        bool oneColour = true;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const AnimationFrame& f = *list[i];
            if (i) {
                values += ';';
                times += ';';
                colours += ';';
            }
            values += num(f.center.x) + "," + num(-f.center.y);
            stamps += (i ? " " : "") + std::to_string(f.time - start);
            const double at = timed ? double(f.time - start) / double(span) : double(i) / double(span);
            times += num(std::clamp(at, 0.0, 1.0));
            const int index = f.color >= 1 && f.color < kAciCount ? f.color : kAciForeground;
            colours += hexColor(onWhiteBackground(aciToRgb(index)));
            if (f.color != list.front()->color) oneColour = false;
        }
        // A marker sized for a screen's view is a speck in a picture of the whole drawing: it is drawn at least
        // kMinAnimatedDotShare of the picture's side across.
        const double radius = std::max(list.front()->size / 2, pictureSide * kMinAnimatedDotShare / 2);
        const std::string first = colours.substr(0, colours.find(';'));
        const std::string dur = num(double(span) / 1000.0) + "s";
        s += "<g class=\"animation\" data-handle=\"" + db::Handle(handle).text() + "\" data-times=\"" + stamps +
             "\">\n<circle r=\"" + num(radius) +
             "\" fill=\"" + first + "\" stroke=\"none\">\n<animateMotion dur=\"" + dur +
             "\" repeatCount=\"indefinite\" calcMode=\"linear\" keyTimes=\"" + times + "\" values=\"" + values +
             "\"/>\n";
        if (!oneColour)
            s += "<animate attributeName=\"fill\" dur=\"" + dur +
                 "\" repeatCount=\"indefinite\" calcMode=\"discrete\" keyTimes=\"" + times + "\" values=\"" +
                 colours + "\"/>\n";
        s += "</circle>\n</g>\n";
    }
    return s;
}

// ===================================================================================================================
// [SECTION] Picture
// ===================================================================================================================

struct ViewBox {
    double x, y, width, height;
};

bool usableCoordinate(double v) { return std::abs(v) < kLargestCoordinate; }

// The drawing's extents (and the temporary vectors) with the margin, in picture coordinates (y down).
ViewBox viewBoxOf(const db::Database& db, const SvgOptions& options, const std::vector<TemporaryVector>& vectors) {
    Point3d lo = db.extMin(), hi = db.extMax();
    bool usable = lo.x <= hi.x && lo.y <= hi.y && usableCoordinate(lo.x) && usableCoordinate(lo.y) &&
                  usableCoordinate(hi.x) && usableCoordinate(hi.y);
    for (const TemporaryVector& v : vectors) {
        for (const Point3d& p : {v.from, v.to}) {
            if (!usableCoordinate(p.x) || !usableCoordinate(p.y)) continue;
            if (!usable) {
                lo = hi = p;
                usable = true;
            }
            lo = Point3d(std::min(lo.x, p.x), std::min(lo.y, p.y));
            hi = Point3d(std::max(hi.x, p.x), std::max(hi.y, p.y));
        }
    }
    if (!usable) {
        lo = Point3d(0, 0);
        hi = Point3d(kEmptyDrawingSide, kEmptyDrawingSide);
    }
    const double side = std::max(hi.x - lo.x, hi.y - lo.y);
    // A drawing of one point or one straight line along an axis still gets a box.
    const double margin = side > 0 ? side * std::max(options.marginShare, 0.0) : 1.0;
    const double pad = side > 0 && margin == 0 ? 0 : margin;
    return {lo.x - pad, -(hi.y + pad), hi.x - lo.x + 2 * pad, hi.y - lo.y + 2 * pad};
}

std::string notDrawnComment(const SvgReport& report, int maxDepth) {
    std::string s;
    if (!report.notDrawn.empty()) {
        std::size_t total = 0;
        std::string list;
        for (const auto& [name, count] : report.notDrawn) {
            total += count;
            list += (list.empty() ? "" : ", ") + std::to_string(count) + " " + name;
        }
        s += "<!-- not drawn: " + std::to_string(total) + (total == 1 ? " entity (" : " entities (") +
             xmlEscape(list) + ") -->\n";
    }
    if (report.tooDeep)
        s += "<!-- not drawn: " + std::to_string(report.tooDeep) + " block references nested deeper than " +
             std::to_string(maxDepth) + " -->\n";
    if (report.cutOff) s += "<!-- picture cut off: the drawing needs more elements than one picture holds -->\n";
    return s;
}

}  // namespace

SvgPicture renderSvg(const db::Database& database, const SvgOptions& options) {
    const std::vector<TemporaryVector> vectors =
        options.showDisplay ? temporaryVectors(database) : std::vector<TemporaryVector>{};
    const ViewBox box = viewBoxOf(database, options, vectors);
    const double side = std::max(box.width, box.height);
    const double stroke = side * kStrokeShare;
    Renderer renderer(database, options, stroke);
    renderer.drawModelSpace();

    const int pixels = std::max(options.pixelSize, 1);
    const double pxPerUnit = side > 0 ? pixels / side : 1.0;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           num(std::round(box.width * pxPerUnit)) + "\" height=\"" + num(std::round(box.height * pxPerUnit)) +
           "\" viewBox=\"" + num(box.x) + " " + num(box.y) + " " + num(box.width) + " " + num(box.height) + "\">\n";
    if (const std::string name = database.fileName().filename().string(); !name.empty())
        svg += "<title>" + xmlEscape(name) + "</title>\n";
    svg += "<rect x=\"" + num(box.x) + "\" y=\"" + num(box.y) + "\" width=\"" + num(box.width) + "\" height=\"" +
           num(box.height) + "\" fill=\"#ffffff\"/>\n";
    svg += "<g fill=\"none\" stroke-width=\"" + num(stroke) +
           "\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
    if (renderer.report().highlighted) svg += displayStyle(stroke);
    svg += renderer.elements();
    svg += vectorElements(vectors, stroke);
    svg += "</g>\n";
    if (options.animate) svg += animationElements(animationFrames(database), side);
    svg += notDrawnComment(renderer.report(), options.maxBlockDepth);
    svg += "</svg>\n";
    return {std::move(svg), std::move(renderer.report())};
}

bool writeSvgFile(const db::Database& database, const std::filesystem::path& path, std::string* error,
                  const SvgOptions& options, SvgReport* report) {
    SvgPicture picture = renderSvg(database, options);
    if (report) *report = picture.report;
    sys::AtomicFile file(path);
    std::string why;
    bool ok = file.open(&why);
    if (ok) {
        file.write(picture.text);  // a failed write is remembered and reported by commit()
        ok = file.commit(&why);
    }
    if (!ok && error) *error = why.empty() ? "cannot write " + path.string() : why;
    return ok;
}

}  // namespace host::ed
