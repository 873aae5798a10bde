// The texts of the automatic cutting order and its command, in English and Russian.
#pragma once

#include "cadlib/messages.h"

// Message box (error icon) when a contour waiting for its path lost its entity.
inline constexpr TwoLanguageText kProfilesErasedText{
    "\nERROR!!!\n\nOne or several profiles are erased.\nRecreate profiles and repeat the command      ",
    "\nОШИБКА!!!\n\nОдин или несколько контуров удалены.\nСоздайте контуры заново и повторите команду      "};
// The same from the simple nearest-first order, in its own words.
inline constexpr TwoLanguageText kSimpleOrderProfilesErasedText{
    "\nERROR!!!\n\nOne or several profiles are erased. \nRecreate profiles and repeat the command.     ",
    "\nОШИБКА!!!\n\nОдин или несколько контуров удалены. \nСоздайте контуры заново и повторите команду.     "};

// After the order: how many contours that could be cut got no path; one line per contour follows.
inline constexpr TwoLanguageText kContoursLeftHead{"\n\rContours left without a cutting path: %i",
                                                   "\n\rКонтуров без траектории резки: %i"};
// One contour left without a path: its index in the contour table, its layer and its box.
inline constexpr TwoLanguageText kContourLeftLine{
    "\n\r  contour %i on layer \"%s\", box (%.4f, %.4f) - (%.4f, %.4f)",
    "\n\r  контур %i на слое \"%s\", габарит (%.4f, %.4f) - (%.4f, %.4f)"};

// NCSliceAuto's last line: the elapsed time.
inline constexpr TwoLanguageText kSliceAutoTimeLine{"\n\rTime  %s\n\r", "\n\rВремя  %s\n\r"};
