// The HEADER section: the variables the host keeps by name, and every other variable kept as read.
#include "host/dxf/header_vars.h"

#include "host/db/entity_groups.h"
#include "host/dxf/dxf_numbers.h"
#include "host/dxf/dxf_record.h"

namespace host::dxf {

namespace {

constexpr int kVariableName = 9;
constexpr int kColor = 62;
constexpr int kTrueColor = 420;
constexpr int kColorByEntity = 257;
constexpr std::string_view kWrittenVersion = "AC1015";
constexpr std::string_view kDefaultCodePage = "ANSI_1252";
constexpr int kLastUnit = 20;  // $INSUNITS: 0 unitless to 20 parsecs

// The variable's group of `code`, or a failure naming the variable's line and the groups it holds instead.
const Group& groupOf(const HeaderVariable& v, int code) {
    for (const Group& g : v.groups)
        if (g.code == code) return g;
    std::string held;
    for (const Group& g : v.groups) {
        if (held.size() > 40) break;
        held += (held.empty() ? "" : ", ") + std::to_string(g.code);
    }
    failAt(v.line, "header variable " + std::string(v.name) + " has no group " + std::to_string(code) +
                       (held.empty() ? std::string(" (it holds none)") : " (it holds group " + held + ")"));
}

ge::Point3d pointOf(const HeaderVariable& v) {
    ge::Point3d p;
    p.x = groupOf(v, 10).real;
    p.y = groupOf(v, 20).real;
    for (const Group& g : v.groups)
        if (g.code == 30) p.z = g.real;
    return p;
}

}  // namespace

HeaderFacts readHeaderVariables(const std::vector<HeaderVariable>& vars, db::Header& header,
                                const HeaderFacts* earlier) {
    HeaderFacts facts;
    // The version and code page decide how every string is decoded, so they are taken first.
    // A malformed known variable is skipped, never the drawing.
    std::vector<bool> skip(vars.size(), false);
    auto skipping = [&](std::size_t i, const ReadFailure& f) {
        if (!skip[i]) facts.skipped.push_back({f.line, f.what});
        skip[i] = true;
    };
    if (earlier) {
        facts = *earlier;
        facts.skipped.clear();
    }
    for (std::size_t i = 0; i < vars.size() && !earlier; ++i) {
        const HeaderVariable& v = vars[i];
        try {
            if (v.name == "$ACADVER") facts.acadVersion = std::string(groupOf(v, 1).text);
            else if (v.name == "$DWGCODEPAGE") facts.codePage = std::string(groupOf(v, 3).text);
        } catch (const ReadFailure& f) {
            skipping(i, f);
        }
    }
    if (!earlier) {
        facts.encoding = TextEncoding::of(facts.acadVersion, facts.codePage);
        // The page is declared again on a save; one we cannot read is declared as the page it was read as.
        header.codePage = facts.encoding.isKnown() ? facts.encoding.codePage() : std::string(kDefaultCodePage);
    }
    auto text = [&](const HeaderVariable& v, int code) { return textOf(groupOf(v, code), facts.encoding); };
    auto integer = [&](const HeaderVariable& v, int code) { return int(groupOf(v, code).integer); };
    // A value is checked by the range the drawing takes it in (a line-type scale above 0, as an entity's), so
    // that no value the file gives reaches an entity that refuses it.
    auto refused = [&](const HeaderVariable& v, const Group& g, const std::string& range) {
        failAt(v.line, "header variable " + std::string(v.name) + ": " + std::string(trimSpaces(g.text).substr(0, 40)) +
                           " is out of range (" + range + ")");
    };
    auto scale = [&](const HeaderVariable& v) {
        const Group& g = groupOf(v, 40);
        if (!(g.real > 0.0)) refused(v, g, "above 0");
        return g.real;
    };
    auto integerIn = [&](const HeaderVariable& v, int code, int low, int high) {
        const Group& g = groupOf(v, code);
        if (g.integer < low || g.integer > high)
            refused(v, g, std::to_string(low) + " to " + std::to_string(high));
        return int(g.integer);
    };

    auto take = [&](const HeaderVariable& v) {
        const std::string_view n = v.name;
        if (n == "$ACADVER") {
            if (!earlier) header.acadVersion = facts.acadVersion;
        }
        else if (n == "$DWGCODEPAGE" || n == "$EXTMIN" || n == "$EXTMAX" || n == "$HANDLING") return;
        else if (n == "$HANDSEED") facts.handSeed = handleOf(groupOf(v, 5));
        else if (n == "$INSBASE") header.insBase = pointOf(v);
        else if (n == "$INSUNITS") header.insUnits = integerIn(v, 70, 0, kLastUnit);
        else if (n == "$PDMODE") header.pdMode = integer(v, 70);
        else if (n == "$PDSIZE") header.pdSize = groupOf(v, 40).real;
        else if (n == "$LTSCALE") header.ltScale = scale(v);
        else if (n == "$CELTSCALE") header.celtScale = scale(v);
        else if (n == "$MEASUREMENT") header.measurement = integerIn(v, 70, 0, 1);
        else if (n == "$PROJECTNAME") header.projectName = text(v, 1);
        else if (n == "$CLAYER") facts.currentLayer = text(v, 8);
        else if (n == "$CELTYPE") facts.currentLinetype = text(v, 6);
        else if (n == "$TEXTSTYLE") facts.currentTextStyle = text(v, 7);
        else if (n == "$CECOLOR") {
            db::Color c;
            bool hasIndex = false;
            for (const Group& g : v.groups) {
                if (g.code == kColor) c.index = int(g.integer), hasIndex = true;
                else if (g.code == kTrueColor) c.rgb = std::uint32_t(g.integer) & 0xFFFFFFu;
            }
            if (!hasIndex && !c.rgb) failAt(v.line, "header variable $CECOLOR has no group 62");
            if (!hasIndex) c.index = kColorByEntity;
            // 0 BYBLOCK to 256 BYLAYER; 257 only stands beside a true colour.
            if (c.index < 0 || c.index > kColorByEntity || (c.index == kColorByEntity && !c.rgb))
                failAt(v.line, "header variable $CECOLOR: " + std::to_string(c.index) + " is not a colour");
            header.ceColor = c;
        } else {
            // A point without its y is refused in a variable as in an entity; kept, it was written so.
            for (std::size_t k = 0; k < v.groups.size(); ++k) {
                const int c = v.groups[k].code;
                // A y or z without the x or y before it (a point given only by its y) is a point without its x.
                for (const int back : {10, 20}) {
                    if (!db::isPointGroup(c - back)) continue;
                    if (k == 0 || v.groups[k - 1].code != c - 10)
                        failAt(v.line, "header variable " + std::string(n) + ": group " + std::to_string(c) +
                                           " of a point does not follow its group " + std::to_string(c - 10));
                }
                if (!db::isPointGroup(c)) continue;
                if (k + 1 >= v.groups.size() || v.groups[k + 1].code != c + 10)
                    failAt(v.line, "header variable " + std::string(n) + ": the x of a point (group " +
                                       std::to_string(c) + ") is not followed by its y (group " +
                                       std::to_string(c + 10) + ")");
            }
            db::Header::Other other{std::string(n), {}};
            other.groups.reserve(v.groups.size());
            for (const Group& g : v.groups) other.groups.push_back(toRawGroup(g, facts.encoding));
            header.others.push_back(std::move(other));
        }
    };
    for (std::size_t i = 0; i < vars.size(); ++i) {
        if (skip[i]) continue;
        try {
            take(vars[i]);
        } catch (const ReadFailure& f) {
            skipping(i, f);
        }
    }
    return facts;
}

void writeHeaderSection(const db::Database& db, db::Handle handSeed, DxfOutput& out) {
    const db::Header& h = db.header();
    auto var = [&](std::string_view name) { out.plain(kVariableName, name); };
    out.plain(0, "SECTION");
    out.plain(2, "HEADER");
    var("$ACADVER");
    out.plain(1, kWrittenVersion);
    var("$HANDSEED");
    out.handle(5, handSeed);
    var("$DWGCODEPAGE");
    out.plain(3, h.codePage);
    var("$INSBASE");
    out.point(10, h.insBase);
    var("$EXTMIN");
    out.point(10, db.extMin());
    var("$EXTMAX");
    out.point(10, db.extMax());
    var("$INSUNITS");
    out.integer(70, h.insUnits);
    var("$PDMODE");
    out.integer(70, h.pdMode);
    var("$PDSIZE");
    out.real(40, h.pdSize);
    var("$LTSCALE");
    out.real(40, h.ltScale);
    var("$CELTSCALE");
    out.real(40, h.celtScale);
    var("$CECOLOR");
    if (h.ceColor.index != kColorByEntity) out.integer(kColor, h.ceColor.index);
    if (h.ceColor.rgb) out.integer(kTrueColor, std::int64_t(*h.ceColor.rgb));
    var("$CLAYER");
    out.text(8, db.recordName(db.currentLayer()).empty() ? "0" : db.recordName(db.currentLayer()));
    var("$CELTYPE");
    out.text(6, db.recordName(db.currentLinetype()).empty() ? "ByLayer" : db.recordName(db.currentLinetype()));
    var("$TEXTSTYLE");
    out.text(7, db.recordName(db.currentTextStyle()).empty() ? "Standard" : db.recordName(db.currentTextStyle()));
    var("$PROJECTNAME");
    out.text(1, h.projectName);
    var("$MEASUREMENT");
    out.integer(70, h.measurement);
    for (const db::Header::Other& o : h.others) {
        var(o.name);
        for (const db::RawGroup& g : o.groups) out.raw(g);
    }
    out.plain(0, "ENDSEC");
}

}  // namespace host::dxf
