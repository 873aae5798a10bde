// DrawText's layout: where each line of a text goes in a rectangle for a DT_* format, with prefix marks, line
// breaks, word wrapping, tab expansion and the end ellipsis, measured by a font and a measurer.
//
//   DT_LEFT / DT_CENTER / DT_RIGHT   each line's place across the rectangle
//   DT_TOP / DT_VCENTER / DT_BOTTOM  the text's place down the rectangle, with DT_SINGLELINE only
//   DT_SINGLELINE                    one line; CR and LF do not break it
//   DT_WORDBREAK                     lines wrap at spaces to the rectangle's width (a word wider than the
//                                    rectangle is broken between characters only with DT_EDITCONTROL)
//   DT_EXPANDTABS                    a tab goes to the next multiple of 8 average character widths
//   DT_NOPREFIX                      '&' is shown; without it "&x" underlines x and "&&" shows one '&'
//   DT_END_ELLIPSIS                  a line wider than the rectangle is cut and ends in "..." so it fits
//   DT_CALCRECT                      the caller wants the extent: right and bottom of the rectangle grow or
//                                    shrink to the text (the width stays for wrapped text)
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/ui/dc.h"
#include "host/ui/font.h"
#include "host/ui/geometry.h"

namespace host::ui {

struct TextLayout {
    std::vector<TextLine> lines;  // placed lines, device coordinates of the rectangle given
    Rect extent{};                // the rectangle the lines cover
    int height = 0;               // the line height times the number of lines
    int resultHeight = 0;         // what DrawText answers
};

TextLayout layoutText(std::string_view text, const Rect& r, unsigned format, const LogFont& font,
                      TextMeasurer measurer);

// Removes prefix marks as DrawText shows them ("&Save" -> "Save", "&&" -> "&"); `underlined` receives the
// byte offset of the marked character in the result, or -1.
std::string stripPrefix(std::string_view text, int* underlined = nullptr);

// The longest start of `text` that, followed by "...", fits in `width`; the whole text when it fits as it is.
std::string ellipsize(std::string_view text, int width, const LogFont& font, TextMeasurer measurer);

}  // namespace host::ui
