// Rectangle names and the preview drawing chosen by a rectangle's proportions.
#include "cadlib/rectangle_names.h"

#include <cmath>
#include <cstdlib>

namespace {

// The decimal number at the start of `text`, 0 when it starts with none (as atof reads it).
double LeadingNumber(std::string_view text) {
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}

// trunc(v + 0.5) for a proportion step, kept within 0..kPreviewLongSide.
int ProportionStep(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= kPreviewLongSide) return kPreviewLongSide;
    return static_cast<int>(v + 0.5);
}

// "10", "5" or, for the step 0, "05".
std::string StepText(int step) { return step == 0 ? std::string("05") : std::to_string(step); }

}  // namespace

void ParseRectangleName(std::string_view name, double& width, double& height) {
    width = 0.0;
    height = 0.0;
    const auto underscore = name.find('_');
    if (underscore == std::string_view::npos) return;
    const std::string_view rest = name.substr(underscore + 1);
    const auto x = rest.find('x');
    width = LeadingNumber(rest.substr(0, x));
    if (x == std::string_view::npos) return;
    const std::string_view after = rest.substr(x + 1);
    height = LeadingNumber(after.substr(0, after.find('x')));
}

void GetRectangleBlockPath(std::filesystem::path& path, const std::filesystem::path& installFolder, double width,
                           double height) {
    std::string file;
    const std::string longSide = std::to_string(kPreviewLongSide);
    if (!std::isfinite(width) || !std::isfinite(height) || width == height) {
        file = longSide + "x" + longSide;
    } else if (std::fabs(width) >= std::fabs(height)) {
        file = longSide + "x" + StepText(ProportionStep(kPreviewLongSide * std::fabs(height) / std::fabs(width)));
    } else {
        file = StepText(ProportionStep(kPreviewLongSide * std::fabs(width) / std::fabs(height))) + "x" + longSide;
    }
    path = installFolder / "block" / (file + ".dxf");
}
