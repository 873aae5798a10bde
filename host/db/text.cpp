// Single-line texts, attributes and attribute definitions: values, the estimated extents and transforms.
//
// The host has no font metrics, so a text's box is an estimate: every character is as wide as the height times
// the width factor, and the box is one height tall above the baseline. The box is placed by the justification
// (groups 72 and 73) at the insertion or alignment point, turned by the rotation, and flipped by the backward and
// upside-down flags.
#include <cmath>

#include "host/db/entities.h"
#include "host/db/entity_geometry.h"
#include "host/ge/angle.h"

namespace host::db {

namespace {

// Horizontal justification (group 72) and vertical justification (group 73).
enum HorizontalMode { kLeft = 0, kCenter = 1, kRight = 2, kAligned = 3, kMiddle = 4, kFit = 5 };
enum VerticalMode { kBaseline = 0, kBottom = 1, kVerticalMiddle = 2, kTop = 3 };
constexpr int kLastHorizontalMode = kFit, kLastVerticalMode = kTop;
// Generation flags (group 71).
constexpr int kBackward = 2, kUpsideDown = 4;

// Characters as the host counts them for the estimate: UTF-8 code points, with the control codes "%%d",
// "%%p", "%%c" (degree, plus-minus, diameter) and "%%%" as one character each.
std::size_t visibleCharacters(const std::string& s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte
        if (c == '%' && i + 2 < s.size() && s[i + 1] == '%') {
            i += 2;
        }
        ++count;
    }
    return count;
}

}  // namespace

namespace detail {

std::vector<ge::Point3d> textBoxCorners(const Text& text) {
    const std::string& s = text.textString();
    if (s.empty()) return {};
    const double h = text.height();
    double w = h * text.widthFactor() * double(visibleCharacters(s));
    ge::Point3d anchor = text.position();
    double rotation = text.rotation();
    const int hmode = text.horizontalMode(), vmode = text.verticalMode();
    const bool aligned = (hmode == kAligned || hmode == kFit) && vmode == kBaseline;
    if (aligned) {
        // The text fills the span from the insertion point to the alignment point.
        const ge::Point3d a = text.alignmentPoint();
        const ge::Point3d local0 = worldToPlane(text.normal(), anchor), local1 = worldToPlane(text.normal(), a);
        const double span = local0.to2d().distanceTo(local1.to2d());
        if (span > 0.0) {
            w = span;
            rotation = ge::angleFromTo(local0, local1);
        }
    } else if (hmode != kLeft || vmode != kBaseline) {
        anchor = text.alignmentPoint();
    }
    double x0 = 0.0, y0 = 0.0;
    if (!aligned) {
        if (hmode == kCenter || hmode == kMiddle) x0 = -w / 2;
        else if (hmode == kRight) x0 = -w;
        if (vmode == kVerticalMiddle || (hmode == kMiddle && vmode == kBaseline)) y0 = -h / 2;
        else if (vmode == kTop) y0 = -h;
    }
    const double xs[4] = {x0, x0 + w, x0 + w, x0}, ys[4] = {y0, y0, y0 + h, y0 + h};
    const double flipX = (text.generationFlags() & kBackward) ? -1.0 : 1.0;
    const double flipY = (text.generationFlags() & kUpsideDown) ? -1.0 : 1.0;
    const double c = std::cos(rotation), sn = std::sin(rotation);
    const ge::Point3d base = worldToPlane(text.normal(), anchor);
    std::vector<ge::Point3d> corners;
    for (int i = 0; i < 4; ++i) {
        const double x = xs[i] * flipX, y = ys[i] * flipY;
        corners.push_back(planeToWorld(text.normal(), {base.x + x * c - y * sn, base.y + x * sn + y * c, base.z}));
    }
    return corners;
}

}  // namespace detail

Status Text::setTextString(std::string text) {
    assertWriteEnabled();
    text_ = std::move(text);
    return Status::Ok;
}

Status Text::setPosition(const ge::Point3d& p) {
    assertWriteEnabled();
    if (!detail::isFinite(p)) return Status::InvalidInput;
    position_ = p;
    return Status::Ok;
}

Status Text::setAlignmentPoint(const ge::Point3d& p) {
    assertWriteEnabled();
    if (!detail::isFinite(p)) return Status::InvalidInput;
    alignment_ = p;
    return Status::Ok;
}

Status Text::setHeight(double h) {
    assertWriteEnabled();
    if (!(h >= 0.0) || !std::isfinite(h)) return Status::InvalidInput;
    height_ = h;
    return Status::Ok;
}

Status Text::setRotation(double r) {
    assertWriteEnabled();
    if (!std::isfinite(r)) return Status::InvalidInput;
    rotation_ = ge::normalizeAngle(r);
    return Status::Ok;
}

Status Text::setWidthFactor(double w) {
    assertWriteEnabled();
    if (!(w > 0.0) || !std::isfinite(w)) return Status::InvalidInput;
    widthFactor_ = w;
    return Status::Ok;
}

Status Text::setOblique(double a) {
    assertWriteEnabled();
    if (!std::isfinite(a)) return Status::InvalidInput;
    oblique_ = a;
    return Status::Ok;
}

Status Text::setTextStyle(ObjectId style) {
    assertWriteEnabled();
    const Status s = detail::checkRecord<TextStyleTableRecord>(*this, style);
    if (s != Status::Ok) return s;
    style_ = style;
    return Status::Ok;
}

Status Text::setHorizontalMode(int m) {
    assertWriteEnabled();
    if (m < 0 || m > kLastHorizontalMode) return Status::InvalidInput;
    hmode_ = m;
    return Status::Ok;
}

Status Text::setVerticalMode(int m) {
    assertWriteEnabled();
    if (m < 0 || m > kLastVerticalMode) return Status::InvalidInput;
    vmode_ = m;
    return Status::Ok;
}

Status Text::setGenerationFlags(int f) {
    assertWriteEnabled();
    if ((f & ~(kBackward | kUpsideDown)) != 0) return Status::InvalidInput;
    genFlags_ = f;
    return Status::Ok;
}

Status Text::setThickness(double t) {
    assertWriteEnabled();
    if (!std::isfinite(t)) return Status::InvalidInput;
    thickness_ = t;
    return Status::Ok;
}

Status Text::setNormal(const ge::Vector3d& n) {
    assertWriteEnabled();
    const auto u = detail::unitNormal(n);
    if (!u) return Status::InvalidInput;
    normal_ = *u;
    return Status::Ok;
}

std::optional<Extents> Text::geomExtents() const {
    std::optional<Extents> box;
    for (const ge::Point3d& p : detail::textBoxCorners(*this)) detail::grow(box, p);
    return box;
}

// Texts take moves, rotations, uniform scales and mirrors. A mirror is shown as it would be drawn: the text keeps
// the direction of its mirrored baseline and is flagged upside down.
Status Text::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    if (!m.isUniScaledOrtho()) return Status::NotApplicable;
    const ge::Vector3d dir =
        ge::Matrix3d::planeToWorld(normal_) * ge::Vector3d{std::cos(rotation_), std::sin(rotation_), 0};
    const ge::Vector3d n = m.transformNormal(normal_);
    const ge::Vector3d newDir = m * dir;
    position_ = m * position_;
    alignment_ = m * alignment_;
    height_ *= m.scale();
    thickness_ *= m.scale();
    normal_ = n;
    rotation_ = ge::normalizeAngle(detail::planeAngle(n, ge::Point3d::kOrigin(), ge::Point3d::kOrigin() + newDir));
    if (m.isMirroring()) genFlags_ ^= kUpsideDown;
    return Status::Ok;
}

// ---- attributes

Status Attribute::setTag(std::string tag) {
    assertWriteEnabled();
    tag_ = std::move(tag);
    return Status::Ok;
}

Status Attribute::setAttributeFlags(int f) {
    assertWriteEnabled();
    flags_ = f;
    return Status::Ok;
}

Status AttributeDefinition::setTag(std::string tag) {
    assertWriteEnabled();
    tag_ = std::move(tag);
    return Status::Ok;
}

Status AttributeDefinition::setPrompt(std::string prompt) {
    assertWriteEnabled();
    prompt_ = std::move(prompt);
    return Status::Ok;
}

Status AttributeDefinition::setAttributeFlags(int f) {
    assertWriteEnabled();
    flags_ = f;
    return Status::Ok;
}

}  // namespace host::db
