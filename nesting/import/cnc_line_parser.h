// One line of an ISO (G-code) CNC program read back: the modal motion, the end point of the move and the centre
// of an arc, in drawing units.
//
// Address letters are read in either case. A line is split into words at the letters N M T G X Y I J (and, after the first
// word, D F S A B C E H K L P R too) and at the signs ! # * $ ; ( ) : ' " %; blanks stay inside a word. Every
// word holds one number, and after it only blanks and further letters with their numbers, which are passed over
// ("X10 Z5" gives X = 10). Anything else refuses the line as NotANumber: a letter without a number ("XY5"), a
// typo inside a number ("Y4O", "Y4.0.0", "X1,5") or a sign between the words ("N190 ?? Y40"); it is never read
// by the number's prefix.
//   - Comments in parentheses are taken out before the line is read; an unclosed "(" comments the rest out, and
//     so does any of ! " # $ % ' * : ; where a word would begin.
//   - "=" is dropped: X=10 reads as X10.
//   - G0 to G3 set the motion, which holds until the next one; G90 and G91 make X and Y absolute or incremental
//     from their line on, until the next of them, as RS274 controllers read them. G codes that change no geometry are passed over; any other G code is a form the reader does
//     not know and the line is refused.
//   - X, Y, I, J and R are divided by the scale. I and J give the arc's centre as the mode says (table below); an
//     arc line without I and J takes its centre from R: the shorter arc for R > 0, the longer for R < 0.
//   - Bracketed lines: "[LEAD]" and "[CUT]" set the line motion, "[UNDO]", "[MARK]" and "[HOLE]" the rapid
//     motion, "[MISK]", "[[MAT]]", "[MAT]", "[[PCS]]", "[PCS]" and "[HEAD]" are headers and read no further.
//
// Modes: 0 absolute X, Y and centre (I, J); 1 absolute X, Y, centre start + (I, J); 2 absolute X, Y, centre
// start - (I, J); 3 incremental X, Y, centre start + (I, J); 4 incremental X, Y, centre start - (I, J). Any other
// value follows the same arithmetic: above 2 is incremental, and every value but 0, 1 and 3 subtracts I and J.
#pragma once

#include <cstddef>
#include <string_view>

#include "host/ge/point.h"

// Motions of a program line.
inline constexpr int kCncRapid = 0;
inline constexpr int kCncLine = 1;
inline constexpr int kCncClockwise = 2;
inline constexpr int kCncCounterClockwise = 3;

// Longest line the reader takes, in bytes; a longer one is refused whole.
inline constexpr std::size_t kMaxCncLineLength = 1024;
// Largest coordinate, in drawing units, that a program may give; a larger number is refused with its line.
inline constexpr double kMaxCncCoordinate = 1e9;

// Why a line that holds a move adds nothing.
enum class CncLineProblem {
    None,
    LineTooLong,      // longer than kMaxCncLineLength
    NotANumber,       // an address without a number, with "nan", "inf" and the like, or a number with a typo
    OutOfRange,       // a coordinate beyond kMaxCncCoordinate after scaling
    UnknownGCode,     // a G code the reader does not know (its number in CncLineResult::code)
    NotReadable,      // the line begins with neither an address letter, a bracketed key nor a comment
    ArcWithoutCentre, // an arc with neither I, J nor R, or an R arc that ends where it starts
    ArcRadiusTooSmall, // an R arc whose ends lie further apart than its diameter
    ArcOffCircle      // an arc whose start and end lie at different distances from its centre (a wrong mode)
};

// What a line said beside its move.
struct CncLineResult {
    CncLineProblem problem = CncLineProblem::None;
    int code = 0;             // the G number of an UnknownGCode
    bool endKnown = false;    // with a problem: whether `end` still holds where the tool went
    bool absoluteX = false;   // X was given as an absolute coordinate
    bool absoluteY = false;   // Y likewise
};

// Reads `line` from the current position. Answers true when the line gave X, Y, I, J or R (a move); then `end` is
// the move's end point (axes not given keep the current position's) and, for an arc, `centre` its centre. The
// motion is changed by the line's G word even when it gives no coordinate. A refused line (its problem in
// `result`) answers false and changes nothing, except when the problem lies in the arc alone: then the motion is
// the line's and `end` holds where the tool went (result.endKnown). `incremental` is the X, Y mode the earlier lines
// left (the caller starts it from the mode: above 2 is incremental); a G90 or G91 of the line changes it as the
// motion is changed. A scale of 0 or below reads nothing.
bool ParseCncLine(std::string_view line, int& motion, const host::ge::Point2d& current, host::ge::Point2d& end,
                  host::ge::Point2d& centre, double scale, bool& incremental, int mode, CncLineResult& result);
