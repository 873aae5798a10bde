// Layout files of the nesting benchmark: every layout it reports, as a picture (SVG: parts filled by type, holes
// open, the used length marked) and as plain coordinates (JSON) that anyone can check without our code.
//
// The JSON file holds the job's name and quality, its sheets (index, width, height, used length: the largest x
// of the parts on it) and for each placed part its type, instance, sheet, angle (degrees, counter-clockwise),
// position (the placed reference point) and its outline and holes in sheet coordinates, each a closed list of
// vertices [x, y, bulge] (bulge 0: a straight edge to the next vertex; otherwise tan of a quarter of the arc's
// included angle, positive counter-clockwise, as polylines carry it).
#pragma once

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/ge/point.h"

namespace layout_files {

using Polygon = std::vector<host::ge::Point2d>;

struct PlacedPart {
    int type = 0;
    int instance = 0;
    int sheet = 0;
    double angleDegrees = 0.0;
    host::ge::Point2d position;
    Polygon outline;
    std::vector<Polygon> holes;
};

struct Sheet {
    int index = 0;
    double width = 0.0;
    double height = 0.0;
    double usedLength = 0.0;
};

struct Layout {
    std::string job;
    int quality = 0;
    std::vector<Sheet> sheets;
    std::vector<PlacedPart> parts;
};

inline std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6f", v);
    return text;
}

inline void WriteRing(std::ostream& out, const Polygon& ring) {
    out << '[';
    for (std::size_t i = 0; i < ring.size(); ++i) {
        out << (i ? ", " : "") << '[' << Number(ring[i].x) << ", " << Number(ring[i].y) << ", 0]";
    }
    out << ']';
}

inline std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// Writes `layout` to `path`; false with the reason in `error` when the file cannot be written.
inline bool WriteJson(const Layout& layout, const std::filesystem::path& path, std::string& error) {
    std::ofstream out(path);
    out << "{\n  \"job\": " << JsonText(layout.job) << ",\n  \"quality\": " << layout.quality << ",\n  \"sheets\": [";
    for (std::size_t s = 0; s < layout.sheets.size(); ++s) {
        const Sheet& sheet = layout.sheets[s];
        out << (s ? ",\n" : "\n") << "    {\"index\": " << sheet.index << ", \"width\": " << Number(sheet.width)
            << ", \"height\": " << Number(sheet.height) << ", \"used_length\": " << Number(sheet.usedLength) << '}';
    }
    out << "\n  ],\n  \"parts\": [";
    for (std::size_t p = 0; p < layout.parts.size(); ++p) {
        const PlacedPart& part = layout.parts[p];
        out << (p ? ",\n" : "\n") << "    {\"type\": " << part.type << ", \"instance\": " << part.instance
            << ", \"sheet\": " << part.sheet << ", \"angle\": " << Number(part.angleDegrees) << ", \"x\": "
            << Number(part.position.x) << ", \"y\": " << Number(part.position.y) << ",\n     \"outline\": ";
        WriteRing(out, part.outline);
        out << ",\n     \"holes\": [";
        for (std::size_t h = 0; h < part.holes.size(); ++h) {
            out << (h ? ", " : "");
            WriteRing(out, part.holes[h]);
        }
        out << "]}";
    }
    out << "\n  ]\n}\n";
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

// The fill of a part type: a small palette, repeated.
inline const char* TypeColour(int type) {
    static const char* const kColours[] = {"#4e79a7", "#f28e2b", "#59a14f", "#e15759", "#76b7b2",
                                           "#edc948", "#b07aa1", "#ff9da7", "#9c755f", "#bab0ac"};
    return kColours[static_cast<std::size_t>(std::max(type, 0)) % (sizeof kColours / sizeof kColours[0])];
}

// Writes the sheets of `layout` one above the other, each with its parts and a dashed line at its used length.
inline bool WriteSvg(const Layout& layout, const std::filesystem::path& path, std::string& error) {
    constexpr double kPictureWidth = 1000.0;
    constexpr double kMargin = 10.0;
    double widest = 1.0;
    for (const Sheet& sheet : layout.sheets) widest = std::max(widest, sheet.width);
    const double scale = (kPictureWidth - 2 * kMargin) / widest;
    std::vector<double> top;  // picture y of each sheet's top side
    double y = kMargin + 20.0;
    for (const Sheet& sheet : layout.sheets) {
        top.push_back(y);
        y += sheet.height * scale + kMargin + 20.0;
    }
    std::ofstream out(path);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Number(kPictureWidth) << "\" height=\"" << Number(y)
        << "\" viewBox=\"0 0 " << Number(kPictureWidth) << ' ' << Number(y) << "\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    for (std::size_t s = 0; s < layout.sheets.size(); ++s) {
        const Sheet& sheet = layout.sheets[s];
        const double bottom = top[s] + sheet.height * scale;
        out << "<text x=\"" << Number(kMargin) << "\" y=\"" << Number(top[s] - 6) << "\" font-family=\"sans-serif\" "
            << "font-size=\"13\">" << layout.job << ", quality " << layout.quality << ", sheet " << sheet.index + 1
            << ", used length " << Number(sheet.usedLength) << "</text>\n";
        out << "<rect x=\"" << Number(kMargin) << "\" y=\"" << Number(top[s]) << "\" width=\""
            << Number(sheet.width * scale) << "\" height=\"" << Number(sheet.height * scale)
            << "\" fill=\"#f4f4f4\" stroke=\"black\" stroke-width=\"1\"/>\n";
        auto point = [&](const host::ge::Point2d& p) {
            return Number(kMargin + p.x * scale) + ',' + Number(bottom - p.y * scale);
        };
        for (const PlacedPart& part : layout.parts) {
            if (part.sheet != sheet.index) continue;
            out << "<path fill-rule=\"evenodd\" fill=\"" << TypeColour(part.type)
                << "\" stroke=\"black\" stroke-width=\"0.5\" d=\"";
            auto ring = [&](const Polygon& r) {
                for (std::size_t i = 0; i < r.size(); ++i) out << (i ? " L" : "M") << point(r[i]);
                out << " Z ";
            };
            ring(part.outline);
            for (const Polygon& hole : part.holes) ring(hole);
            out << "\"><title>type " << part.type << ", instance " << part.instance << ", "
                << Number(part.angleDegrees) << " degrees</title></path>\n";
        }
        const double x = kMargin + sheet.usedLength * scale;
        out << "<line x1=\"" << Number(x) << "\" y1=\"" << Number(top[s] - 4) << "\" x2=\"" << Number(x) << "\" y2=\""
            << Number(bottom + 4) << "\" stroke=\"red\" stroke-width=\"1.5\" stroke-dasharray=\"6,4\"/>\n";
    }
    out << "</svg>\n";
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

// Writes `<name>.svg` and `<name>.json` into `folder`, which is made when missing.
inline bool WriteLayout(const Layout& layout, const std::filesystem::path& folder, const std::string& name,
                        std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = "cannot make the folder " + folder.string() + ": " + ec.message();
        return false;
    }
    return WriteSvg(layout, folder / (name + ".svg"), error) && WriteJson(layout, folder / (name + ".json"), error);
}

}  // namespace layout_files
