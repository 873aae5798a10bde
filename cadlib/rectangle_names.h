// Rectangle names ("name_WxH") and the choice of a rectangle's preview drawing by its proportions.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The width and height of a rectangle name: the text after the first "_" up to the next "x" is the width, the text
// after that "x" up to a further "x" or the end is the height. A part that is no decimal number (or is missing, as
// in a name without "_") reads as 0.
void ParseRectangleName(std::string_view name, double& width, double& height);

// The longer side of a rectangle counts as this many steps in the preview drawing names.
inline constexpr int kPreviewLongSide = 10;

// The preview drawing of a width x height rectangle: "<installFolder>/block/<name>.dxf", the name giving the
// proportion with the longer side as 10. Equal sides: 10x10. Wide (W >= H): 10xM with M = trunc(10 * H / W + 0.5),
// or 10x05 when M is 0 (wider than 20 : 1). Tall: Nx10 with N = trunc(10 * W / H + 0.5), or 05x10. A height of 0
// (or a width of 0) counts as the extreme proportion; sides that are not finite give 10x10.
void GetRectangleBlockPath(std::filesystem::path& path, const std::filesystem::path& installFolder, double width,
                           double height);
