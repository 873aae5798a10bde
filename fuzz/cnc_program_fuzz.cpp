// libFuzzer target of the CNC program reader: any bytes must be read to their end without a crash or a hang, and
// every element drawn must have finite coordinates within the reader's bound; a line the reader cannot take is
// told, never drawn. The first byte picks the answers (leads dropped, mode, scale) so that every mode is tried.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "nesting/import/cnc_program_reader.h"

namespace {

// Drawn points may lie a little beyond the bound: an arc's centre from R, or a circle's extent.
constexpr double kDrawnBound = 4.0 * kMaxCncCoordinate;

bool Sound(const host::ge::Point2d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) <= kDrawnBound && std::fabs(p.y) <= kDrawnBound;
}

void Check(const Contour& contour) {
    for (const ContourElement& e : contour.Elements) {
        if (!Sound(e.Start) || !Sound(e.End) || !Sound(e.Centre) || !std::isfinite(e.Radius)) {
            std::fprintf(stderr, "cnc_program_fuzzer: an element with a point out of bounds was drawn\n");
            std::abort();
        }
    }
    if (contour.Elements.size() > kCncContourElements) {
        std::fprintf(stderr, "cnc_program_fuzzer: a contour holds more elements than the store\n");
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CncImportAnswers answers;
    if (size > 0) {
        constexpr double kScales[] = {1.0, 1000.0, 0.001, 25.4};
        answers.dropLeads = (data[0] & 1) != 0;
        answers.mode = (data[0] >> 1) & 7;  // 5 to 7 follow the arithmetic of the others
        answers.scale = kScales[(data[0] >> 4) & 3];
        ++data;
        --size;
    }
    CncProgramReader reader(answers, Check, nullptr);
    ReadCncProgramText(std::string_view(reinterpret_cast<const char*>(data), size), reader);
    return 0;
}
