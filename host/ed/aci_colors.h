// The AutoCAD Color Index (ACI) palette of 256 colours, and the way a drawing colour becomes a screen colour.
#pragma once

#include <cstdint>

namespace host::ed {

// Indices 0-255. 0 is BYBLOCK and 256 BYLAYER in entity colours; neither is a palette colour of its own.
inline constexpr int kAciCount = 256;
// The index every CAD program shows white on a dark background and black on a light one.
inline constexpr int kAciForeground = 7;

// 0xRRGGBB of a palette index. The table is the standard one: 1-9 the named colours, 10-249 twenty-four hues
// (15 degrees apart) in five brightness levels (100, 65, 50, 30, 15 %), each as a full and a pale shade, 250-255
// greys. Outside 0-255 answers the foreground colour's white.
std::uint32_t aciToRgb(int index);

// The palette index (1-255) whose colour is nearest to `rgb` in RGB distance; the lower index on a tie, so
// 0xFFFFFF answers 7 and not 255.
int nearestAci(std::uint32_t rgb);

// The colour to draw with on a white background: white (index 7, index 255, a true colour 0xFFFFFF) shows black,
// as a CAD program shows its foreground colour on a light background; every other colour stays as it is.
std::uint32_t onWhiteBackground(std::uint32_t rgb);

}  // namespace host::ed
