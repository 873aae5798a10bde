// System variables: one typed table with the host's defaults, read and set by name without regard to case.
//
// Most variables belong to the session. Those of a drawing read and write the working drawing: CLAYER, CECOLOR,
// CELTYPE, CELTSCALE, TEXTSTYLE, INSBASE, INSUNITS, PDMODE, PDSIZE, LTSCALE, MEASUREMENT, PROJECTNAME, and the
// read-only EXTMIN, EXTMAX, VIEWSIZE, VIEWCTR, DWGNAME, DWGPREFIX, DWGTITLED; with no working drawing they answer
// RTERROR. Computed read-only ones: CMDNAMES (the running commands), SCREENSIZE, MILLISECS. The table is in
// sysvar_table.cpp, one line per variable with its type, default and range.
#pragma once

#include <string>
#include <string_view>

#include "host/db/resbuf.h"

namespace host::ed {

enum class VarType { Short, Long, Real, String, Point2d, Point3d };

// Reads a variable into `value` (code RTSHORT, RTLONG, RTREAL, RTSTR, RTPOINT or RT3DPOINT with its value).
// RTERROR for an unknown name (nothing is printed: modules probe for variables).
int getVar(std::string_view name, db::ResBuf& value);
// Sets a variable. RTERROR for an unknown or read-only name, a value of the wrong type, or one out of range (the
// table holds each variable's range); the host's message is printed as a host would. Types taken: an integer
// (RTSHORT, RTLONG) for Short, Long and Real variables; a real (RTREAL, RTANG) for Real ones; RTSTR for String;
// RTPOINT or RT3DPOINT for either kind of point (a 2D variable drops z, a 3D one takes z 0 from a 2D point).
// Drawing variables refuse what the drawing cannot take: CLAYER a layer that does not exist or is frozen (the
// current layer stays), CELTYPE a line type that is not loaded, TEXTSTYLE a style that does not exist, CECOLOR a
// text that is no colour. CECOLOR reads "BYLAYER", "BYBLOCK", "1".."255" or "RGB:r,g,b", and takes those, "0"
// and "256", and the names red, yellow, green, cyan, blue, magenta and white.
int setVar(std::string_view name, const db::ResBuf& value);

// Conveniences for the host's own code: the value, or `fallback` for an unknown variable or one of another type
// (getRealVar takes integers too; it is not called getReal, which is the real-number prompt of prompts.h).
int getShort(std::string_view name, int fallback = 0);
double getRealVar(std::string_view name, double fallback = 0.0);
std::string getText(std::string_view name);
void setErrno(int value);  // ERRNO, which the host itself sets on failed picks and selections

// Puts every variable of the session back to the host's default (a new session; tests start from it). Drawing
// variables are the drawings' own and stay.
void resetSystemVariables();

}  // namespace host::ed
