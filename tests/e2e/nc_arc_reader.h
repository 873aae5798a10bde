// The arcs of an NC program as an RS274 controller reads them, for tests that check every arc block of a program
// without the writer's code: the position the blocks take the machine to (G90/G91, X and Y), and for each G02 or
// G03 block its start, centre (I and J from the start), end and the radii at both ends.
#pragma once

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace nc_arc_reader {

// One arc block as the controller meets it.
struct ArcBlock {
    int line = 0;         // 1-based line of the program
    std::string text;     // the block
    double startX = 0, startY = 0, endX = 0, endY = 0, centreX = 0, centreY = 0;
    bool clockwise = false;  // G02
    // The end is the start (to far below any printed decimal: incremental words are added up).
    bool wholeCircle() const { return chord() < 1e-7; }
    // The angle the controller turns through, in degrees: 360 for a whole circle.
    double sweepDegrees() const {
        if (wholeCircle()) return 360.0;
        const double a = std::atan2(startY - centreY, startX - centreX);
        const double b = std::atan2(endY - centreY, endX - centreX);
        double sweep = clockwise ? a - b : b - a;
        while (sweep <= 0) sweep += 2 * std::numbers::pi;
        while (sweep > 2 * std::numbers::pi) sweep -= 2 * std::numbers::pi;
        return sweep * 180.0 / std::numbers::pi;
    }
    double chord() const { return std::hypot(endX - startX, endY - startY); }
    double radiusMismatch() const {
        return std::fabs(std::hypot(startX - centreX, startY - centreY) - std::hypot(endX - centreX, endY - centreY));
    }
};

// The words of a block: letter (upper case) and the number after it; comments in parentheses and a line of "%"
// are no words.
struct Word {
    char letter;
    double value;
};

inline std::vector<Word> wordsOf(const std::string& block) {
    std::vector<Word> words;
    int depth = 0;
    for (std::size_t i = 0; i < block.size(); ++i) {
        const char c = block[i];
        if (c == '(') ++depth;
        if (c == ')' && depth > 0) --depth;
        if (depth > 0 || !std::isalpha(static_cast<unsigned char>(c))) continue;
        const char* begin = block.c_str() + i + 1;
        char* end = nullptr;
        const double value = std::strtod(begin, &end);
        if (end == begin) continue;
        words.push_back({static_cast<char>(std::toupper(static_cast<unsigned char>(c))), value});
        i = static_cast<std::size_t>(end - block.c_str()) - 1;
    }
    return words;
}

// Every arc block of `program` (lines ended by LF or CR LF). The machine starts at (0, 0) in absolute mode;
// motion words (G00 to G03) and G90/G91 are modal; I and J are offsets from the start (0 when left out).
inline std::vector<ArcBlock> arcBlocks(const std::string& program) {
    std::vector<ArcBlock> arcs;
    std::istringstream in(program);
    double x = 0, y = 0;
    int motion = 0;
    bool absolute = true;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<Word> words = wordsOf(line);
        bool hasX = false, hasY = false;
        double wx = 0, wy = 0, i = 0, j = 0;
        for (const Word& w : words) {
            if (w.letter == 'G') {
                const int g = static_cast<int>(std::lround(w.value * 10));
                if (g == 0 || g == 10 || g == 20 || g == 30) motion = g / 10;
                if (g == 900) absolute = true;
                if (g == 910) absolute = false;
            }
            switch (w.letter) {
                case 'X': hasX = true; wx = w.value; break;
                case 'Y': hasY = true; wy = w.value; break;
                case 'I': i = w.value; break;
                case 'J': j = w.value; break;
                default: break;
            }
        }
        if (!hasX && !hasY) {
            if ((motion == 2 || motion == 3) && (std::fabs(i) > 0 || std::fabs(j) > 0)) {
                // An arc block without end words ends where it starts.
                arcs.push_back({number, line, x, y, x, y, x + i, y + j, motion == 2});
            }
            continue;
        }
        const double nx = hasX ? (absolute ? wx : x + wx) : x;
        const double ny = hasY ? (absolute ? wy : y + wy) : y;
        if (motion == 2 || motion == 3) arcs.push_back({number, line, x, y, nx, ny, x + i, y + j, motion == 2});
        x = nx;
        y = ny;
    }
    return arcs;
}

// What is wrong with the arcs of `program` for a controller, one line per fault: an arc block whose end lies
// within `nearStart` of its start without being it (a sliver where a whole circle was meant), and start and end
// radii that differ by more than half of `step` (the program's last printed decimal).
inline std::string arcFaults(const std::string& program, double step, double nearStart, int* arcCount = nullptr,
                             int* wholeCircles = nullptr) {
    std::ostringstream faults;
    const std::vector<ArcBlock> arcs = arcBlocks(program);
    int whole = 0;
    for (const ArcBlock& a : arcs) {
        if (a.wholeCircle()) ++whole;
        if (!a.wholeCircle() && a.chord() < nearStart)
            faults << "line " << a.line << " \"" << a.text << "\" ends " << a.chord() << " from its start\n";
        if (a.radiusMismatch() > step / 2 + 1e-9)
            faults << "line " << a.line << " \"" << a.text << "\": start and end radii differ by "
                   << a.radiusMismatch() << "\n";
    }
    if (arcCount) *arcCount = static_cast<int>(arcs.size());
    if (wholeCircles) *wholeCircles = whole;
    return faults.str();
}

}  // namespace nc_arc_reader
