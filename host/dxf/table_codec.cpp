// Symbol-table records in DXF: each record kind read from and written to its groups.
#include "host/dxf/table_codec.h"

#include <cmath>

#include "host/db/database.h"
#include "host/dxf/dxf_numbers.h"

namespace host::dxf {

namespace {

using db::TableKind;

constexpr int kName = 2;
constexpr int kText3 = 3;
constexpr int kText4 = 4;
constexpr int kLinetype = 6;
constexpr int kFlags = 70;
constexpr int kColor = 62;
constexpr int kSubclass = 100;
constexpr int kPlot = 290;
constexpr int kLineWeight = 370;
constexpr int kTrueColor = 420;
constexpr int kLayout = 340;
constexpr int kDash = 49;
constexpr int kDashFlags = 74;
constexpr int kAlignment = 72;
constexpr int kDashCount = 73;
constexpr int kPatternLength = 40;
constexpr int kLinetypeAlignmentA = 65;  // 'A': the only alignment the format has
constexpr int kDefaultLayerColor = 7;
constexpr std::string_view kRecordMarker = "AcDbSymbolTableRecord";

struct TableName {
    TableKind kind;
    const char* name;
};
constexpr TableName kTableNames[] = {
    {TableKind::Viewport, "VPORT"}, {TableKind::Linetype, "LTYPE"}, {TableKind::Layer, "LAYER"},
    {TableKind::TextStyle, "STYLE"}, {TableKind::View, "VIEW"},     {TableKind::Ucs, "UCS"},
    {TableKind::RegApp, "APPID"},   {TableKind::DimStyle, "DIMSTYLE"}, {TableKind::Block, "BLOCK_RECORD"},
};

void check(const SplitRecord& r, const std::string& name, const char* what, db::Status s) {
    if (s != db::Status::Ok)
        failAt(r.line, std::string(r.name) + " \"" + name + "\": " + what + " is refused (" + db::statusText(s) + ")");
}

std::string nameOf(const SplitRecord& r, const TextEncoding& enc) {
    for (const Group& g : r.body)
        if (g.code == kName) return textOf(g, enc);
    failAt(r.line, std::string(r.name) + " record without a name (group 2)");
}

ge::Point3d pointAt(const std::vector<Group>& body, std::size_t& i) {
    ge::Point3d p(body[i].real, 0.0, 0.0);
    const int c = body[i].code;
    if (i + 1 < body.size() && body[i + 1].code == c + 10) p.y = body[++i].real;
    if (i + 1 < body.size() && body[i + 1].code == c + 20) p.z = body[++i].real;
    return p;
}

double angleOf(const Group& g) {
    const auto r = radiansFromDegrees(g.text);
    if (!r) failAt(g.line + 1, "angle '" + std::string(g.text) + "' is out of range");
    return *r;
}

std::unique_ptr<db::SymbolTableRecord> readLayer(const SplitRecord& r, const TextEncoding& enc, RecordLinks& links) {
    const std::string name = nameOf(r, enc);
    auto rec = std::make_unique<db::LayerTableRecord>(name);
    db::Color color = db::Color::fromIndex(kDefaultLayerColor);
    for (const Group& g : r.body) {
        switch (g.code) {
        case kFlags: check(r, name, "flags", rec->setFlags(int(g.integer))); break;
        case kColor:
            color.index = int(std::abs(g.integer));
            check(r, name, "off flag", rec->setIsOff(g.integer < 0));
            break;
        case kTrueColor: color.rgb = std::uint32_t(g.integer) & 0xFFFFFFu; break;
        case kLinetype: links.linetypeName = textOf(g, enc); break;
        case kPlot: check(r, name, "plot flag", rec->setIsPlottable(g.integer != 0)); break;
        case kLineWeight: check(r, name, "lineweight", rec->setLineWeight(int(g.integer))); break;
        default: break;
        }
    }
    check(r, name, "colour", rec->setColor(color));
    return rec;
}

std::unique_ptr<db::SymbolTableRecord> readLinetype(const SplitRecord& r, const TextEncoding& enc) {
    const std::string name = nameOf(r, enc);
    auto rec = std::make_unique<db::LinetypeTableRecord>(name);
    std::vector<double> dashes;
    db::RawGroups complex;
    bool anyComplex = false;
    bool inDash = false;
    for (const Group& g : r.body) {
        if (g.code == kDash) {
            dashes.push_back(g.real);
            inDash = true;
            continue;
        }
        if (inDash && g.code != kSubclass) {
            // Everything after a dash up to the next one describes that dash; a 74 opens each description.
            if (g.code == kDashFlags && g.integer != 0) anyComplex = true;
            if (g.code != kDashFlags) anyComplex = true;
            complex.push_back(toRawGroup(g, enc));
            continue;
        }
        switch (g.code) {
        case kFlags: check(r, name, "flags", rec->setFlags(int(g.integer))); break;
        case kText3: check(r, name, "description", rec->setDescription(textOf(g, enc))); break;
        default: break;
        }
    }
    check(r, name, "dashes", rec->setDashes(std::move(dashes)));
    if (anyComplex) check(r, name, "shape and text elements", rec->setComplexElements(std::move(complex)));
    return rec;
}

std::unique_ptr<db::SymbolTableRecord> readTextStyle(const SplitRecord& r, const TextEncoding& enc) {
    // Shape-file styles (flag 1) have no name.
    std::string name;
    for (const Group& g : r.body)
        if (g.code == kName) name = textOf(g, enc);
    auto rec = std::make_unique<db::TextStyleTableRecord>(name);
    for (const Group& g : r.body) {
        switch (g.code) {
        case kFlags: check(r, name, "flags", rec->setFlags(int(g.integer))); break;
        case 40: check(r, name, "fixed height", rec->setTextSize(g.real)); break;
        case 41: check(r, name, "width factor", rec->setWidthFactor(g.real)); break;
        case 50: check(r, name, "oblique angle", rec->setObliquingAngle(angleOf(g))); break;
        case 71: check(r, name, "generation flags", rec->setGenerationFlags(int(g.integer))); break;
        case 42: check(r, name, "last height", rec->setPriorSize(g.real)); break;
        case kText3: check(r, name, "font file", rec->setFontFile(textOf(g, enc))); break;
        case kText4: check(r, name, "big font file", rec->setBigFontFile(textOf(g, enc))); break;
        default: break;
        }
    }
    return rec;
}

std::unique_ptr<db::SymbolTableRecord> readViewport(const SplitRecord& r, const TextEncoding& enc) {
    const std::string name = nameOf(r, enc);
    auto rec = std::make_unique<db::ViewportTableRecord>(name);
    ge::Point2d center = rec->center();
    double height = rec->height(), aspect = rec->aspectRatio();
    ge::Point3d origin = rec->ucsOrigin();
    ge::Vector3d x = rec->ucsXAxis(), y = rec->ucsYAxis();
    bool viewGiven = false, ucsGiven = false;
    db::RawGroups other;
    const std::vector<Group>& b = r.body;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const Group& g = b[i];
        switch (g.code) {
        case kName: break;
        case kSubclass: break;
        case kFlags: check(r, name, "flags", rec->setFlags(int(g.integer))); break;
        case 12: center = pointAt(b, i).to2d(), viewGiven = true; break;
        case 40: height = g.real, viewGiven = true; break;
        case 41: aspect = g.real, viewGiven = true; break;
        case 110: origin = pointAt(b, i), ucsGiven = true; break;
        case 111: {
            const ge::Point3d p = pointAt(b, i);
            x = {p.x, p.y, p.z}, ucsGiven = true;
            break;
        }
        case 112: {
            const ge::Point3d p = pointAt(b, i);
            y = {p.x, p.y, p.z}, ucsGiven = true;
            break;
        }
        default: other.push_back(toRawGroup(g, enc)); break;
        }
    }
    if (viewGiven) check(r, name, "view centre, height and aspect ratio", rec->setView(center, height, aspect));
    if (ucsGiven) check(r, name, "UCS", rec->setUcs(origin, x, y));
    check(r, name, "other groups", rec->setOtherGroups(std::move(other)));
    return rec;
}

std::unique_ptr<db::SymbolTableRecord> readBlockRecord(const SplitRecord& r, const TextEncoding& enc, RecordLinks& links) {
    const std::string name = nameOf(r, enc);
    auto rec = std::make_unique<db::BlockTableRecord>(name);
    for (const Group& g : r.body) {
        if (g.code == kLayout) links.layout = handleOf(g);
        else if (g.code == kFlags) check(r, name, "insertion units", rec->setInsertUnits(int(g.integer)));
    }
    return rec;
}

std::unique_ptr<db::SymbolTableRecord> readOpaque(TableKind kind, const SplitRecord& r, const TextEncoding& enc,
                                                  RecordLinks& links) {
    const std::string name = nameOf(r, enc);
    db::RawGroups groups;
    bool nameSeen = false;
    for (const Group& g : r.body) {
        if (g.code == kSubclass) continue;
        if (g.code == kName && !nameSeen) {
            nameSeen = true;
            continue;
        }
        if (kind == TableKind::DimStyle && isTextWhereHandleBelongs(g) && tableOfDimStyleReference(g.code)) {
            links.names.push_back({groups.size(), g.code, textOf(g, enc), g.line + 1});
            groups.push_back({g.code, ""});
            continue;
        }
        groups.push_back(toRawGroup(g, enc));
    }
    return std::make_unique<db::OpaqueTableRecord>(kind, name, std::move(groups));
}

// ---- writing

std::string_view markerOf(const db::SymbolTableRecord& r) { return r.className(); }

void writeLayer(const db::LayerTableRecord& r, DxfOutput& out) {
    const db::Color c = r.color();
    const int index = (c.index >= 1 && c.index <= 255) ? c.index : kDefaultLayerColor;
    out.integer(kColor, r.isOff() ? -index : index);
    if (c.rgb) out.integer(kTrueColor, std::int64_t(*c.rgb));
    const std::string lt = r.database() ? r.database()->recordName(r.linetypeId()) : std::string();
    out.text(kLinetype, lt.empty() ? "Continuous" : lt);
    if (!r.isPlottable()) out.integer(kPlot, 0);
    out.integer(kLineWeight, r.lineWeight());
}

void writeLinetype(const db::LinetypeTableRecord& r, DxfOutput& out) {
    out.text(kText3, r.description());
    out.integer(kAlignment, kLinetypeAlignmentA);
    out.integer(kDashCount, std::int64_t(r.dashes().size()));
    out.real(kPatternLength, r.patternLength());
    // The kept shape and text elements, cut into each dash's part at its 74 group.
    const db::RawGroups& complex = r.complexElements();
    std::size_t next = 0;
    for (double d : r.dashes()) {
        out.real(kDash, d);
        if (next < complex.size() && complex[next].code == kDashFlags) {
            out.raw(complex[next++]);
            while (next < complex.size() && complex[next].code != kDashFlags) out.raw(complex[next++]);
        } else {
            out.integer(kDashFlags, 0);
        }
    }
}

void writeTextStyle(const db::TextStyleTableRecord& r, DxfOutput& out) {
    out.real(40, r.textSize());
    out.real(41, r.widthFactor());
    out.angle(50, r.obliquingAngle());
    out.integer(71, r.generationFlags());
    out.real(42, r.priorSize());
    out.text(kText3, r.fontFile());
    out.text(kText4, r.bigFontFile());
}

void writeViewport(const db::ViewportTableRecord& r, DxfOutput& out) {
    out.point2d(12, r.center());
    out.real(40, r.height());
    out.real(41, r.aspectRatio());
    out.point(110, r.ucsOrigin());
    out.point(111, {r.ucsXAxis().x, r.ucsXAxis().y, r.ucsXAxis().z});
    out.point(112, {r.ucsYAxis().x, r.ucsYAxis().y, r.ucsYAxis().z});
    for (const db::RawGroup& g : r.otherGroups()) out.raw(g);
}

}  // namespace

std::optional<TableKind> tableKindOf(std::string_view tableName) {
    for (const TableName& t : kTableNames)
        if (tableName == t.name) return t.kind;
    return std::nullopt;
}

const char* tableName(TableKind kind) {
    for (const TableName& t : kTableNames)
        if (t.kind == kind) return t.name;
    return "";
}

std::optional<TableKind> tableOfDimStyleReference(int code) {
    if (code == 340) return TableKind::TextStyle;
    if (code >= 341 && code <= 344) return TableKind::Block;
    if (code >= 345 && code <= 347) return TableKind::Linetype;
    return std::nullopt;
}

int recordHandleCode(TableKind kind) { return kind == TableKind::DimStyle ? 105 : 5; }

std::unique_ptr<db::SymbolTableRecord> readTableRecord(TableKind kind, const SplitRecord& r, const TextEncoding& enc,
                                                       RecordLinks& links) {
    switch (kind) {
    case TableKind::Layer: return readLayer(r, enc, links);
    case TableKind::Linetype: return readLinetype(r, enc);
    case TableKind::TextStyle: return readTextStyle(r, enc);
    case TableKind::Viewport: return readViewport(r, enc);
    case TableKind::Block: return readBlockRecord(r, enc, links);
    case TableKind::RegApp: {
        auto rec = std::make_unique<db::RegAppTableRecord>(nameOf(r, enc));
        for (const Group& g : r.body)
            if (g.code == kFlags) check(r, rec->name(), "flags", rec->setFlags(int(g.integer)));
        return rec;
    }
    case TableKind::View:
    case TableKind::Ucs:
    case TableKind::DimStyle: return readOpaque(kind, r, enc, links);
    }
    return nullptr;
}

void writeTableRecord(const db::SymbolTableRecord& r, DxfOutput& out, db::Handle layout) {
    out.plain(kSubclass, kRecordMarker);
    out.plain(kSubclass, markerOf(r));
    out.text(kName, r.name());
    if (auto* b = dynamic_cast<const db::BlockTableRecord*>(&r)) {
        if (!layout.isNull()) out.handle(kLayout, layout);
        out.integer(kFlags, b->insertUnits());
        return;
    }
    if (auto* o = dynamic_cast<const db::OpaqueTableRecord*>(&r)) {
        for (const db::RawGroup& g : o->groups()) out.raw(g);
        return;
    }
    out.integer(kFlags, r.flags());
    if (auto* x = dynamic_cast<const db::LayerTableRecord*>(&r)) writeLayer(*x, out);
    else if (auto* x = dynamic_cast<const db::LinetypeTableRecord*>(&r)) writeLinetype(*x, out);
    else if (auto* x = dynamic_cast<const db::TextStyleTableRecord*>(&r)) writeTextStyle(*x, out);
    else if (auto* x = dynamic_cast<const db::ViewportTableRecord*>(&r)) writeViewport(*x, out);
}

}  // namespace host::dxf
