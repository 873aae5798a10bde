// The system variables of the host, one line each, and the accessors of those that live in the working drawing
// or are computed when read.
//
// Index of this file
//   [SECTION] Drawing variables      CLAYER, CECOLOR, CELTYPE, ... read and written in the working drawing
//   [SECTION] Computed variables     CMDNAMES, drawing name and folder, view, extents, screen, clock
//   [SECTION] Table                  every variable with its type, default and range
#include "host/ed/sysvar_table.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "host/db/database.h"
#include "host/ed/command.h"
#include "host/ed/display.h"
#include "host/ed/documents.h"
#include "host/sys/number_text.h"
#include "host/sys/text_case.h"

namespace host::ed::detail {

namespace {

using db::ResBuf;

// ===================================================================================================================
// [SECTION] Drawing variables
// ===================================================================================================================

db::Database* drawing() { return db::workingDatabase(); }

// A header value changed: the drawing is modified (undo keeps the header with each step).
template <class F>
std::string changeHeader(F&& change) {
    db::Database* db = drawing();
    if (!db) return "no drawing is open";
    change(db->header());
    db->markModified();
    return {};
}

std::string inQuotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

bool getLayer(ResBuf& out) {
    const db::Database* db = drawing();
    if (!db) return false;
    out = ResBuf(db::RTSTR, db->recordName(db->currentLayer()));
    return true;
}
std::string setLayer(const ResBuf& v) {
    db::Database* db = drawing();
    if (!db) return "no drawing is open";
    const db::ObjectId id = db->recordId(db::TableKind::Layer, v.str());
    if (id.isNull()) return "Layer " + inQuotes(v.str()) + " does not exist.";
    switch (db->setCurrentLayer(id)) {
    case db::Status::Ok: return {};
    case db::Status::NotApplicable: return "Layer " + inQuotes(v.str()) + " is frozen and cannot be current.";
    default: return "Layer " + inQuotes(v.str()) + " cannot be current.";
    }
}

bool getLinetype(ResBuf& out) {
    const db::Database* db = drawing();
    if (!db) return false;
    const std::string name = db->recordName(db->currentLinetype());
    out = ResBuf(db::RTSTR, name.empty() ? std::string("ByLayer") : name);
    return true;
}
std::string setLinetype(const ResBuf& v) {
    db::Database* db = drawing();
    if (!db) return "no drawing is open";
    const db::ObjectId id = db->recordId(db::TableKind::Linetype, v.str());
    if (id.isNull() || db->setCurrentLinetype(id) != db::Status::Ok)
        return "Line type " + inQuotes(v.str()) + " is not loaded.";
    return {};
}

bool getTextStyle(ResBuf& out) {
    const db::Database* db = drawing();
    if (!db) return false;
    out = ResBuf(db::RTSTR, db->recordName(db->currentTextStyle()));
    return true;
}
std::string setTextStyle(const ResBuf& v) {
    db::Database* db = drawing();
    if (!db) return "no drawing is open";
    const db::ObjectId id = db->recordId(db::TableKind::TextStyle, v.str());
    if (id.isNull() || db->setCurrentTextStyle(id) != db::Status::Ok)
        return "Text style " + inQuotes(v.str()) + " does not exist.";
    return {};
}

// ---- CECOLOR

std::string colorText(const db::Color& c) {
    if (c.rgb) {
        const std::uint32_t rgb = *c.rgb;
        return "RGB:" + std::to_string((rgb >> 16) & 0xFF) + "," + std::to_string((rgb >> 8) & 0xFF) + "," +
               std::to_string(rgb & 0xFF);
    }
    if (c.index == db::Color::kByLayer) return "BYLAYER";
    if (c.index == db::Color::kByBlock) return "BYBLOCK";
    return std::to_string(c.index);
}

std::optional<db::Color> parseColor(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    const std::string upper = sys::upperCase(text);
    if (upper == "BYLAYER") return db::Color::fromIndex(db::Color::kByLayer);
    if (upper == "BYBLOCK") return db::Color::fromIndex(db::Color::kByBlock);
    static constexpr std::array<const char*, 7> kNames = {"RED", "YELLOW", "GREEN", "CYAN", "BLUE", "MAGENTA",
                                                          "WHITE"};
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (upper == kNames[i]) return db::Color::fromIndex(int(i) + 1);
    if (const auto n = sys::parseInteger(upper, 0, db::Color::kByLayer); n.ok())
        return db::Color::fromIndex(int(n.value));
    constexpr std::string_view kRgb = "RGB:";
    if (upper.starts_with(kRgb)) {
        std::string_view rest = std::string_view(upper).substr(kRgb.size());
        std::uint32_t rgb = 0;
        for (int part = 0; part < 3; ++part) {
            const std::size_t comma = rest.find(',');
            if ((part < 2) != (comma != std::string_view::npos)) return std::nullopt;
            const auto v = sys::parseInteger(rest.substr(0, comma), 0, 255);
            if (!v.ok()) return std::nullopt;
            rgb = (rgb << 8) | std::uint32_t(v.value);
            if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
        }
        db::Color c;
        c.index = 257;  // by entity: the true colour holds
        c.rgb = rgb;
        return c;
    }
    return std::nullopt;
}

bool getColor(ResBuf& out) {
    const db::Database* db = drawing();
    if (!db) return false;
    out = ResBuf(db::RTSTR, colorText(db->header().ceColor));
    return true;
}
std::string setColor(const ResBuf& v) {
    const std::optional<db::Color> c = parseColor(v.str());
    if (!c) return "Invalid colour " + inQuotes(v.str()) + ".";
    return changeHeader([&](db::Header& h) { h.ceColor = *c; });
}

// ---- header values

bool getCeltscale(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RTREAL, drawing()->header().celtScale);
    return true;
}
std::string setCeltscale(const ResBuf& v) {
    return changeHeader([&](db::Header& h) { h.celtScale = v.real(); });
}
bool getLtscale(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RTREAL, drawing()->header().ltScale);
    return true;
}
std::string setLtscale(const ResBuf& v) {
    return changeHeader([&](db::Header& h) { h.ltScale = v.real(); });
}
bool getPdsize(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RTREAL, drawing()->header().pdSize);
    return true;
}
std::string setPdsize(const ResBuf& v) {
    return changeHeader([&](db::Header& h) { h.pdSize = v.real(); });
}
bool getPdmode(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RTSHORT, drawing()->header().pdMode);
    return true;
}
std::string setPdmode(const ResBuf& v) {
    return changeHeader([&](db::Header& h) { h.pdMode = int(v.integer()); });
}
bool getInsunits(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RTSHORT, drawing()->header().insUnits);
    return true;
}
std::string setInsunits(const ResBuf& v) {
    return changeHeader([&](db::Header& h) { h.insUnits = int(v.integer()); });
}
bool getMeasurement(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RTSHORT, drawing()->header().measurement);
    return true;
}
std::string setMeasurement(const ResBuf& v) {
    return changeHeader([&](db::Header& h) { h.measurement = int(v.integer()); });
}
bool getInsbase(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RT3DPOINT, drawing()->header().insBase);
    return true;
}
std::string setInsbase(const ResBuf& v) {
    return changeHeader([&](db::Header& h) { h.insBase = v.point(); });
}
bool getProjectName(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RTSTR, drawing()->header().projectName);
    return true;
}
std::string setProjectName(const ResBuf& v) {
    return changeHeader([&](db::Header& h) { h.projectName = v.str(); });
}

// ===================================================================================================================
// [SECTION] Computed variables
// ===================================================================================================================

bool getCmdnames(ResBuf& out) {
    out = ResBuf(db::RTSTR, runningCommandNames());
    return true;
}

bool getExtmin(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RT3DPOINT, drawing()->extMin());
    return true;
}
bool getExtmax(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RT3DPOINT, drawing()->extMax());
    return true;
}

bool getViewsize(ResBuf& out) {
    if (!drawing()) return false;
    out = ResBuf(db::RTREAL, viewOf(*drawing()).height);
    return true;
}
bool getViewctr(ResBuf& out) {
    if (!drawing()) return false;
    const View v = viewOf(*drawing());
    out = ResBuf(db::RT3DPOINT, ge::Point3d(v.center.x, v.center.y, 0));
    return true;
}
bool getScreensize(ResBuf& out) {
    const double aspect = drawing() ? viewOf(*drawing()).aspect : 1.0;
    out = ResBuf(db::RTPOINT, ge::Point3d(kScreenPixelHeight * aspect, kScreenPixelHeight, 0));
    return true;
}

// The file of the working drawing, and the name a drawing shows before it is first saved.
struct DrawingFile {
    std::filesystem::path path;
    std::string title;
};
std::optional<DrawingFile> drawingFile() {
    const db::Database* db = drawing();
    if (!db) return std::nullopt;
    DrawingFile f{db->fileName(), db->fileName().filename().string()};
    if (const Document* doc = documents().documentOf(db)) f.title = doc->title();
    if (f.title.empty()) f.title = "Drawing.dxf";
    return f;
}

bool getDwgname(ResBuf& out) {
    const auto f = drawingFile();
    if (!f) return false;
    out = ResBuf(db::RTSTR, f->title);
    return true;
}
// The drawing's folder with its trailing separator. A drawing not yet saved has the current folder, where no file
// of its name ("Drawing1.dxf") is expected: a module that looks for prefix + name finds nothing there.
bool getDwgprefix(ResBuf& out) {
    const auto f = drawingFile();
    if (!f) return false;
    std::filesystem::path folder;
    if (!f->path.empty()) {
        std::error_code ec;
        folder = std::filesystem::absolute(f->path, ec).parent_path();
        if (ec) folder = f->path.parent_path();
    } else {
        std::error_code ec;
        folder = std::filesystem::current_path(ec);
    }
    std::string text = folder.string();
    if (text.empty() || text.back() != '/') text += '/';
    out = ResBuf(db::RTSTR, text);
    return true;
}
bool getDwgtitled(ResBuf& out) {
    const db::Database* db = drawing();
    if (!db) return false;
    out = ResBuf(db::RTSHORT, db->fileName().empty() ? 0 : 1);
    return true;
}

bool getMillisecs(ResBuf& out) {
    static const auto start = std::chrono::steady_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    out = ResBuf(db::RTLONG, std::int64_t(ms.count() % 2'147'483'648));
    return true;
}

// ===================================================================================================================
// [SECTION] Table
// ===================================================================================================================

constexpr double kShortMin = -32768, kShortMax = 32767;

SysVarSpec shortVar(const char* name, int initial, double min, double max) {
    SysVarSpec s;
    s.name = name;
    s.type = VarType::Short;
    s.initial = ResBuf(db::RTSHORT, initial);
    s.min = min;
    s.max = max;
    return s;
}
SysVarSpec realVar(const char* name, double initial, std::optional<double> min = {}, bool aboveMin = false) {
    SysVarSpec s;
    s.name = name;
    s.type = VarType::Real;
    s.initial = ResBuf(db::RTREAL, initial);
    s.min = min;
    s.aboveMin = aboveMin;
    return s;
}
SysVarSpec stringVar(const char* name, const char* initial) {
    SysVarSpec s;
    s.name = name;
    s.type = VarType::String;
    s.initial = ResBuf(db::RTSTR, initial);
    return s;
}
SysVarSpec pointVar(const char* name, VarType type, ge::Point3d initial) {
    SysVarSpec s;
    s.name = name;
    s.type = type;
    s.initial = ResBuf(type == VarType::Point2d ? db::RTPOINT : db::RT3DPOINT, initial);
    return s;
}
SysVarSpec readOnly(SysVarSpec s) {
    s.readOnly = true;
    return s;
}
SysVarSpec inDrawing(SysVarSpec s, SysVarGetter get, SysVarSetter set = nullptr) {
    s.get = get;
    s.set = set;
    s.readOnly = set == nullptr;
    return s;
}

std::vector<SysVarSpec> buildTable() {
    const auto P2 = VarType::Point2d;
    const auto P3 = VarType::Point3d;
    return {
        // ---- the session: picking, snapping, prompts and command-line behaviour
        shortVar("APERTURE", 10, 1, 50),              // object snap aperture, pixels
        shortVar("PICKBOX", 3, 0, 50),                // pick box, pixels
        shortVar("OSMODE", 4133, 0, 32767),           // running object snaps (bit codes; taken, not applied)
        shortVar("SELECTIONCYCLING", 2, -2, 2),
        shortVar("PICKSTYLE", 1, 0, 3),
        shortVar("PICKFIRST", 1, 0, 1),
        shortVar("HIGHLIGHT", 1, 0, 1),
        shortVar("CMDECHO", 1, 0, 1),
        shortVar("FILEDIA", 1, 0, 1),
        shortVar("EXPERT", 0, 0, 5),
        shortVar("ATTREQ", 1, 0, 1),
        shortVar("ATTDIA", 0, 0, 1),
        shortVar("DYNMODE", 3, -3, 3),
        shortVar("DYNPROMPT", 1, 0, 1),
        shortVar("GRIDMODE", 0, 0, 1),
        shortVar("SNAPMODE", 0, 0, 1),
        shortVar("ORTHOMODE", 0, 0, 1),
        shortVar("BLIPMODE", 0, 0, 1),
        shortVar("DRAWORDERCTL", 3, 0, 3),
        shortVar("CONSTRAINTBARMODE", 4, 0, 4095),
        shortVar("SAVETIME", 10, 0, 600),              // minutes between automatic saves (the host saves none)
        shortVar("THUMBSIZE", 2, 0, 8),
        shortVar("ERRNO", 0, kShortMin, kShortMax),    // set by the host on failed picks and selections
        // ---- the session: how commands build and convert geometry
        shortVar("PLINETYPE", 2, 0, 2),
        shortVar("PLINECONVERTMODE", 0, 0, 1),
        shortVar("PEDITACCEPT", 0, 0, 1),
        shortVar("PELLIPSE", 0, 0, 1),
        shortVar("SPLINESEGS", 8, kShortMin, kShortMax),
        shortVar("SPLINETYPE", 6, 5, 6),
        realVar("TEXTSIZE", 2.5, 0.0, true),
        stringVar("MODEMACRO", ""),                    // the status line's text
        pointVar("LASTPOINT", P3, {0, 0, 0}),          // the last point given at any point prompt
        pointVar("LIMMIN", P2, {0, 0, 0}),
        pointVar("LIMMAX", P2, {420, 297, 0}),
        // ---- read-only: angles are decimal degrees counter-clockwise from +x in the world coordinate system
        readOnly(shortVar("AUNITS", 0, 0, 4)),
        readOnly(realVar("ANGBASE", 0.0)),
        readOnly(shortVar("ANGDIR", 0, 0, 1)),
        readOnly(shortVar("WORLDUCS", 1, 0, 1)),
        readOnly(pointVar("UCSORG", P3, {0, 0, 0})),
        readOnly(pointVar("UCSXDIR", P3, {1, 0, 0})),
        readOnly(pointVar("UCSYDIR", P3, {0, 1, 0})),
        // ---- computed
        inDrawing(stringVar("CMDNAMES", ""), getCmdnames),
        inDrawing(pointVar("SCREENSIZE", P2, {}), getScreensize),
        [] {
            SysVarSpec s;
            s.name = "MILLISECS";
            s.type = VarType::Long;
            s.initial = ResBuf(db::RTLONG, 0);
            return inDrawing(s, getMillisecs);
        }(),
        // ---- the working drawing
        inDrawing(stringVar("CLAYER", "0"), getLayer, setLayer),
        inDrawing(stringVar("CECOLOR", "BYLAYER"), getColor, setColor),
        inDrawing(stringVar("CELTYPE", "ByLayer"), getLinetype, setLinetype),
        inDrawing(realVar("CELTSCALE", 1.0, 0.0, true), getCeltscale, setCeltscale),
        inDrawing(realVar("LTSCALE", 1.0, 0.0, true), getLtscale, setLtscale),
        inDrawing(stringVar("TEXTSTYLE", "Standard"), getTextStyle, setTextStyle),
        inDrawing(pointVar("INSBASE", P3, {}), getInsbase, setInsbase),
        inDrawing(shortVar("INSUNITS", 4, 0, 20), getInsunits, setInsunits),
        inDrawing(shortVar("MEASUREMENT", 1, 0, 1), getMeasurement, setMeasurement),
        inDrawing(shortVar("PDMODE", 0, kShortMin, kShortMax), getPdmode, setPdmode),
        inDrawing(realVar("PDSIZE", 0.0), getPdsize, setPdsize),
        inDrawing(stringVar("PROJECTNAME", ""), getProjectName, setProjectName),
        inDrawing(pointVar("EXTMIN", P3, {}), getExtmin),
        inDrawing(pointVar("EXTMAX", P3, {}), getExtmax),
        inDrawing(realVar("VIEWSIZE", 1.0), getViewsize),
        inDrawing(pointVar("VIEWCTR", P3, {}), getViewctr),
        inDrawing(stringVar("DWGNAME", ""), getDwgname),
        inDrawing(stringVar("DWGPREFIX", ""), getDwgprefix),
        inDrawing(shortVar("DWGTITLED", 0, 0, 1), getDwgtitled),
    };
}

}  // namespace

const std::vector<SysVarSpec>& sysVarTable() {
    static const std::vector<SysVarSpec> table = buildTable();
    return table;
}

const SysVarSpec* findSysVar(std::string_view name) {
    const std::string upper = sys::upperCase(name);
    for (const SysVarSpec& s : sysVarTable())
        if (s.name == upper) return &s;
    return nullptr;
}

int resultTypeOf(VarType type) {
    switch (type) {
    case VarType::Short: return db::RTSHORT;
    case VarType::Long: return db::RTLONG;
    case VarType::Real: return db::RTREAL;
    case VarType::String: return db::RTSTR;
    case VarType::Point2d: return db::RTPOINT;
    case VarType::Point3d: return db::RT3DPOINT;
    }
    return db::RTNONE;
}

}  // namespace host::ed::detail
