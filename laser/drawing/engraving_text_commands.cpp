// Engraving text. A glyph drawing holds one character 10 units high on its base point; its width is the width of
// its extents. Along a line, a character advances the current point by its width and a gap of 3 units (times the
// spacing ratio), a blank by 5 units (times the ratio), all at the text's scale (height / 10).
//
// Positions, scales and angles go to the host's insert at full precision: written with five significant digits,
// a glyph at x = 1234.5678 landed on 1234.6, and the characters of a text far from the origin shifted against each
// other.
#include "laser/drawing/engraving_text_commands.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <optional>
#include <system_error>
#include <vector>

#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/dxf/dxf_file.h"
#include "host/ed/command.h"
#include "host/ed/commands/block_edit.h"
#include "host/ed/prompts.h"
#include "host/sys/encoding.h"
#include "host/sys/number_text.h"
#include "host/sys/paths.h"
#include "laser/drawing/drawing_messages.h"
#include "laser/drawing/installed_files.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::db::ResBuf;
using host::db::RTNONE;
using host::db::RTNORM;
using host::db::RTSTR;
using host::ge::Point3d;

constexpr EngravingFont kArialFont{"Fonts/Arial", ""};
constexpr EngravingFont kSimplexFont{"Fonts/Simplex", "S"};

// The height a glyph drawing is drawn at, and the advances in its units.
constexpr double kGlyphHeight = 10.0;
constexpr double kBlankAdvance = 5.0;
constexpr double kGlyphGap = 3.0;
// The next line starts this many text heights below the start of the line before.
constexpr double kLineSpacing = 1.4;
// The longest text line read at once.
constexpr std::size_t kMaxTextChars = 250;
constexpr double kNoAngleYet = -1000.0;
constexpr double kDefaultHeightMillimetres = 10.0;
constexpr double kDefaultHeightInches = 0.5;
constexpr const char* kEngraveLayer = "EngraveLine";

// A number written so that it reads back to the same double.
std::string FullPrecision(double value) { return host::sys::formatC("%.17g", value); }

// Asks a real number offering `offered`: Enter keeps it. nullopt on Esc.
std::optional<double> AskReal(const TwoLanguageText& prompt, double offered) {
    double value = offered;
    const int status = host::ed::getReal(FormatLocalized(prompt, offered), value);
    if (status == RTNONE) return offered;
    if (status != RTNORM) return std::nullopt;
    return value;
}

// The largest height taken: far above any text engraved on a sheet, and small enough that every glyph stays finite
// (a height of 1e300 made coordinates no DXF file can hold, and the drawing could no longer be saved).
constexpr double kMaxTextHeight = 1000000.0;

// The height: asked again, with the reason, until it is greater than 0 (a glyph inserted at scale 0 is refused by
// the host, and the explode that follows would take whatever entity came last) and at most kMaxTextHeight.
// nullopt on Esc.
std::optional<double> AskHeight(double offered) {
    for (;;) {
        const std::optional<double> height = AskReal(kTextHeightText, offered);
        if (!height || (*height > 0.0 && *height <= kMaxTextHeight)) return height;
        PrintLocalized(kTextHeightPositiveText, kMaxTextHeight);
    }
}

// The width of a glyph drawing from its extents; nullopt when it cannot be read. The drawing is read into a
// database of its own, which goes when the width has been taken.
std::optional<double> GlyphWidth(const std::string& path) {
    host::db::Database* current = host::db::workingDatabase();
    if (current == nullptr) return std::nullopt;
    const std::optional<std::filesystem::path> file = host::ed::findDrawingFile(path, *current);
    if (!file) return std::nullopt;
    const host::dxf::ReadResult read = host::dxf::readDxfFile(*file);
    if (!read) return std::nullopt;
    const Point3d lo = read.database->extMin();
    const Point3d hi = read.database->extMax();
    return hi.x >= lo.x ? hi.x - lo.x : 0.0;
}

// Inserts the glyph at `at` and explodes it; answers whether the host inserted it.
bool InsertGlyph(const std::string& path, const Point3d& at, const std::string& scale, const std::string& rotation) {
    const int inserted = host::ed::command(
        {ResBuf(RTSTR, "_.-INSERT"), ResBuf(RTSTR, path),
         ResBuf(RTSTR, FullPrecision(at.x) + "," + FullPrecision(at.y)), ResBuf(RTSTR, scale), ResBuf(RTSTR, scale),
         ResBuf(RTSTR, rotation)});
    if (inserted != RTNORM) return false;
    host::ed::command({ResBuf(RTSTR, "_.explode"), ResBuf(RTSTR, "_L"), ResBuf(RTSTR, "")});
    return true;
}

// The characters of a line that were not drawn, each once, in the order they came: "中 (U+4E2D), Z (U+005A)".
std::string NamedCharacters(const std::vector<char32_t>& characters) {
    std::string out;
    for (const char32_t c : characters) {
        if (!out.empty()) out += ", ";
        host::sys::appendUtf8(out, c);
        out += host::sys::formatC(" (U+%04X)", static_cast<unsigned>(c));
    }
    return out;
}

// Tells the user which characters of a line were left out, and why.
void ReportCharactersNotDrawn(const EngravingFont& font, const std::vector<char32_t>& missing) {
    if (missing.empty()) return;
    const std::string folder = InstalledFolder(font.folder);
    std::error_code error;
    if (!std::filesystem::is_directory(host::sys::toNativePath(folder), error)) {
        PrintLocalized(kGlyphFolderMissingText, folder.c_str());
        return;
    }
    PrintLocalized(kCharactersNotDrawnText, folder.c_str(), NamedCharacters(missing).c_str());
}

// One line of text from `start`: blanks advance, other characters are drawn from their glyph drawings; a
// character without one is left out, the following ones close up, and the user is told which were left out.
// Glyph drawings are named by a 16-bit code, so a character beyond U+FFFF (a surrogate pair) has none.
void WriteTextLine(const EngravingFont& font, const std::u16string& text, Point3d start, double scale, double ratio,
                   double angle) {
    SetCurrentLayer(kEngraveLayer);
    SetSysVarInt("OSMODE", 0);
    const std::string scaleText = FullPrecision(scale);
    const std::string rotationText = FullPrecision(angle * 180.0 / std::numbers::pi);
    const double cosA = std::cos(angle);
    const double sinA = std::sin(angle);
    Point3d at = start;
    const auto advance = [&](double distance) {
        at.x += distance * cosA;
        at.y += distance * sinA;
    };
    std::vector<char32_t> missing;
    const auto leftOut = [&](char32_t c) {
        if (std::find(missing.begin(), missing.end(), c) == missing.end()) missing.push_back(c);
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u' ' || unit == u'\u00A0') {
            advance(kBlankAdvance * ratio * scale);
            continue;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            leftOut(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
            continue;
        }
        const std::string path = GlyphDrawingPath(font, unit);
        const std::optional<double> width = GlyphWidth(path);
        if (!width || !InsertGlyph(path, at, scaleText, rotationText)) {
            leftOut(unit);
            continue;
        }
        advance(*width * scale + kGlyphGap * ratio * scale);
    }
    ReportCharactersNotDrawn(font, missing);
}

void InsertText(const EngravingFont& font, EngravingTextValues& values) {
    SetSysVarInt("OSMODE", 0);
    const double unitHeight =
        CurrentJobUnit(LaserSettings()) == 0 ? kDefaultHeightMillimetres : kDefaultHeightInches;
    const std::optional<double> height = AskHeight(values.height != 0.0 ? values.height : unitHeight);
    if (!height) return;
    const std::optional<double> ratio = AskReal(kCharacterSpacingText, values.ratio);
    if (!ratio) return;
    values.height = *height;
    values.ratio = *ratio;
    const double scale = *height / kGlyphHeight;

    // Without a start point the text has no place: the command ends.
    Point3d start;
    if (host::ed::getPoint(nullptr, Localized(kTextStartPointText), start) != RTNORM) return;
    if (values.angle == kNoAngleYet) values.angle = 0.0;
    double angle = values.angle;
    if (host::ed::getAngle(&start, FormatLocalized(kTextAngleText, values.angle * 180.0 / std::numbers::pi), angle) !=
        RTNORM) {
        angle = values.angle;
    }
    values.angle = angle;

    for (;;) {
        std::string line;
        // A longer line is engraved with its first kMaxTextChars characters.
        const int status = host::ed::getString(true, Localized(kTextStringText), line, kMaxTextChars);
        if ((status != RTNORM && status != host::db::RTINPUTTRUNCATED) || line.empty()) return;
        WriteTextLine(font, host::sys::utf8ToUtf16(line), start, scale, *ratio, angle);
        const double down = angle - std::numbers::pi / 2.0;
        start.x += kLineSpacing * *height * std::cos(down);
        start.y += kLineSpacing * *height * std::sin(down);
    }
}

}  // namespace

std::string GlyphDrawingPath(const EngravingFont& font, char16_t unit) {
    return InstalledFolder(font.folder) + font.filePrefix + host::sys::formatC("%04X", static_cast<unsigned>(unit)) +
           ".dwg";
}

EngravingTextValues& InsertTextValues() {
    static EngravingTextValues values;
    return values;
}

EngravingTextValues& InsertText2Values() {
    static EngravingTextValues values;
    return values;
}

void CommandInsertText() { InsertText(kArialFont, InsertTextValues()); }

void CommandInsertText2() { InsertText(kSimplexFont, InsertText2Values()); }
