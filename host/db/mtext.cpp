// Multi-line texts: values, the estimated extents from their plain lines, and transforms.
//
// The box is an estimate like a single-line text's: characters as wide as the height, lines 5/3 of the height
// apart times the spacing factor. The width is the reference width when one is set, else the longest line.
// Format codes are left out of the count: braces, "\P" (a new paragraph, also a plain line end), and codes
// such as "\H2.5;" or "\fArial|b0;" up to their semicolon.
#include <algorithm>
#include <cmath>

#include "host/db/entities.h"
#include "host/db/entity_geometry.h"
#include "host/ge/angle.h"

namespace host::db {

namespace {

// The line pitch of a multi-line text with spacing factor 1, in text heights.
constexpr double kLinePitch = 5.0 / 3.0;
constexpr int kFirstAttachment = 1, kLastAttachment = 9;
// Drawing directions (group 72): left to right, top to bottom, by style.
constexpr int kDirections[] = {1, 3, 5};
constexpr double kMinSpacing = 0.25, kMaxSpacing = 4.0;

// Lengths in characters of the plain lines of a contents string.
std::vector<std::size_t> plainLineLengths(const std::string& s) {
    std::vector<std::size_t> lines{0};
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c & 0xC0) == 0x80) continue;  // a UTF-8 continuation byte
        if (c == '{' || c == '}') continue;
        if (c == '\n') {
            lines.push_back(0);
            continue;
        }
        if (c == '\\' && i + 1 < s.size()) {
            const char code = s[i + 1];
            ++i;
            switch (code) {
                case 'P': lines.push_back(0); break;
                case '\\': case '{': case '}': case '~': ++lines.back(); break;  // an escaped character, a space
                case 'L': case 'l': case 'O': case 'o': case 'K': case 'k': break;  // on/off switches
                default: {
                    // A code with an argument, up to its semicolon (or the end of a damaged string).
                    const std::size_t semi = s.find(';', i);
                    i = semi == std::string::npos ? s.size() : semi;
                }
            }
            continue;
        }
        ++lines.back();
    }
    return lines;
}

}  // namespace

namespace detail {

std::vector<ge::Point3d> textBoxCorners(const MText& text) {
    const std::vector<std::size_t> lines = plainLineLengths(text.contents());
    const std::size_t longest = *std::max_element(lines.begin(), lines.end());
    if (longest == 0 && lines.size() == 1) return {};
    const double h = text.textHeight();
    const double w = text.width() > 0.0 ? text.width() : h * double(longest);
    const double tall = h + h * kLinePitch * text.lineSpacingFactor() * double(lines.size() - 1);
    // Attachment 1-9: top, middle, bottom rows of left, centre, right.
    const int row = (text.attachment() - 1) / 3, column = (text.attachment() - 1) % 3;
    const double x0 = column == 0 ? 0.0 : (column == 1 ? -w / 2 : -w);
    const double y1 = row == 0 ? 0.0 : (row == 1 ? tall / 2 : tall);
    const double xs[4] = {x0, x0 + w, x0 + w, x0}, ys[4] = {y1 - tall, y1 - tall, y1, y1};
    const double c = std::cos(text.rotation()), sn = std::sin(text.rotation());
    const ge::Point3d base = worldToPlane(text.normal(), text.location());
    std::vector<ge::Point3d> corners;
    for (int i = 0; i < 4; ++i)
        corners.push_back(planeToWorld(
            text.normal(), {base.x + xs[i] * c - ys[i] * sn, base.y + xs[i] * sn + ys[i] * c, base.z}));
    return corners;
}

}  // namespace detail

Status MText::setContents(std::string text) {
    assertWriteEnabled();
    contents_ = std::move(text);
    return Status::Ok;
}

Status MText::setLocation(const ge::Point3d& p) {
    assertWriteEnabled();
    if (!detail::isFinite(p)) return Status::InvalidInput;
    location_ = p;
    return Status::Ok;
}

Status MText::setTextHeight(double h) {
    assertWriteEnabled();
    if (!(h > 0.0) || !std::isfinite(h)) return Status::InvalidInput;
    height_ = h;
    return Status::Ok;
}

Status MText::setWidth(double w) {
    assertWriteEnabled();
    if (!(w >= 0.0) || !std::isfinite(w)) return Status::InvalidInput;
    width_ = w;
    return Status::Ok;
}

Status MText::setAttachment(int a) {
    assertWriteEnabled();
    if (a < kFirstAttachment || a > kLastAttachment) return Status::InvalidInput;
    attachment_ = a;
    return Status::Ok;
}

Status MText::setDrawingDirection(int d) {
    assertWriteEnabled();
    if (std::find(std::begin(kDirections), std::end(kDirections), d) == std::end(kDirections))
        return Status::InvalidInput;
    direction_ = d;
    return Status::Ok;
}

Status MText::setRotation(double r) {
    assertWriteEnabled();
    if (!std::isfinite(r)) return Status::InvalidInput;
    rotation_ = ge::normalizeAngle(r);
    return Status::Ok;
}

ge::Vector3d MText::xDirection() const {
    return ge::Matrix3d::planeToWorld(normal_) * ge::Vector3d{std::cos(rotation_), std::sin(rotation_), 0};
}

Status MText::setTextStyle(ObjectId style) {
    assertWriteEnabled();
    const Status s = detail::checkRecord<TextStyleTableRecord>(*this, style);
    if (s != Status::Ok) return s;
    style_ = style;
    return Status::Ok;
}

Status MText::setLineSpacingFactor(double f) {
    assertWriteEnabled();
    if (!(f >= kMinSpacing && f <= kMaxSpacing)) return Status::InvalidInput;
    spacing_ = f;
    return Status::Ok;
}

Status MText::setNormal(const ge::Vector3d& n) {
    assertWriteEnabled();
    const auto u = detail::unitNormal(n);
    if (!u) return Status::InvalidInput;
    normal_ = *u;
    return Status::Ok;
}

std::optional<Extents> MText::geomExtents() const {
    std::optional<Extents> box;
    for (const ge::Point3d& p : detail::textBoxCorners(*this)) detail::grow(box, p);
    return box;
}

// Moves, rotations, uniform scales and mirrors. A multi-line text cannot be drawn mirrored: it keeps reading
// along the image of its x direction.
Status MText::transformBy(const ge::Matrix3d& m) {
    assertWriteEnabled();
    if (!m.isUniScaledOrtho()) return Status::NotApplicable;
    const ge::Vector3d newDir = m * xDirection();
    const ge::Vector3d n = m.transformNormal(normal_);
    location_ = m * location_;
    height_ *= m.scale();
    width_ *= m.scale();
    normal_ = n;
    rotation_ = ge::normalizeAngle(detail::planeAngle(n, ge::Point3d::kOrigin(), ge::Point3d::kOrigin() + newDir));
    return Status::Ok;
}

}  // namespace host::db
