// Numbers and points as text: trailing zeros of NC values, point arguments for host commands, the checks of
// numeric edit fields, and the folder and name parts of a path.
#pragma once

#include <string>

#include "host/ge/point.h"

// Removes the trailing zeros of a decimal fraction, and the decimal point when only zeros followed it: 12.500
// becomes 12.5, 10.000 becomes 10, 0.000 becomes 0, 5. becomes 5; 1.205 and a text without a point (an integer,
// trailing zeros included) stay as they are. The first character is never removed (".000" stays).
void TrimTrailingZeros(std::string& text);

// text = "x,y" with four decimals each ("%.4f,%.4f"), in the C locale whatever the user's locale: the form the
// host's point prompts read. Answers 0.
int FormatPoint2d(std::string& text, const host::ge::Point3d& point);

// text = "x,y,z" with four decimals each. Answers 0.
int FormatPoint3d(std::string& text, const host::ge::Point3d& point);

// Removes every blank (the space character); tabs and other white space stay.
void RemoveSpaces(std::string& text);

// 1 when `text` holds a character that is not in `allowed`, else 0 (the empty text gives 0). Characters are
// compared whole, so a Cyrillic letter is one character of either text.
int HasCharsOutsideSet(std::string text, std::string allowed);

// folder = the path before its last separator, answer 0; a path without a separator gives an empty folder and
// -1. Stored paths hold '\' and native ones '/': both separate ("C:\Jobs\a.nst" gives "C:\Jobs").
int GetPathDirectory(const std::string& path, std::string& folder);

// name = the path after its last separator, answer 0; a path without a separator gives the whole path and -1.
int GetPathFileName(const std::string& path, std::string& name);
