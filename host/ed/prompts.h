// Prompts: asking the user for strings, numbers, points, angles, keywords and entity picks. Every function answers
// the host's status: RTNORM, RTNONE (Enter on an empty answer), RTCAN (Esc, the end of the input, or the end of a
// module's argument list), RTKWORD (a keyword of the last initGet), RTERROR (a pick that hit nothing: ERRNO is 7;
// an argument of a module the prompt cannot take).
//
// Answers come first from the answer queue of a command run by a module (see command.h), then from the run's input
// source. A wrong answer (text where a number is asked) prints the host's complaint and asks again; from a queue it
// fails the prompt with RTERROR instead, so a module's arguments never fall out of step.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/ids.h"
#include "host/db/resbuf.h"
#include "host/ge/matrix.h"
#include "host/ge/point.h"

namespace host::ed {

// initGet flags (they hold for the next prompt only).
enum InitGetFlags : int {
    RSG_NONULL = 1,     // Enter is refused
    RSG_NOZERO = 2,
    RSG_NONEG = 4,
    RSG_NOLIM = 8,
    RSG_GETZ = 16,
    RSG_DASH = 32,      // rubber band drawn dashed
    RSG_2D = 64,        // distances ignore Z
    RSG_OTHER = 128,    // arbitrary text answers RTKWORD with the text
    RSG_DDISTFIRST = 256,
    RSG_TRACKUCS = 512,
    RSG_NOORTHOZ = 1024,
    RSG_NOOSNAP = 2048,
    RSG_NODDIST = 4096,
};

// Sets flags and keywords ("Yes No _Y N": local keywords, then "_" and the global ones) for the next prompt.
int initGet(int flags, std::string_view keywords = {});
// The keyword chosen by the last RTKWORD answer (its global form when keywords had one), or the text for RSG_OTHER.
int getInput(std::string& keyword);

// The complaints printed before asking again (each on a line of its own, ending in "."): "Requires an integer
// value", "Requires an integer between -32768 and 32767", "Requires a number", "Requires a distance or two
// points", "Requires an angle or a second point", "Invalid point", "Invalid option keyword", "Requires a text",
// "An answer is required" (Enter under RSG_NONULL), "Value must not be zero" (RSG_NOZERO), "Value must not be
// negative" (RSG_NONEG), "Value must be positive and not zero" (both); while keywords are offered the first
// five add " or option keyword". Keywords are tried on text the prompt cannot take as its own kind of answer.

// String: with spaces allowed (otherwise a space ends the answer, as Enter does). Enter answers RTNORM with an
// empty text, as the host's string prompt does (so a caller tells an empty answer from Esc, which is RTCAN). An
// answer longer than maxChars characters answers RTINPUTTRUNCATED with its first maxChars characters in `out`.
int getString(bool allowSpaces, std::string_view prompt, std::string& out, std::size_t maxChars = 132);
// Integer: -32768 to 32767, typed in decimal digits or an RTSHORT / RTLONG from a module.
int getInt(std::string_view prompt, int& out);
// Real: a decimal number ("12", "-0.5", "1e3"), or any number from a module.
int getReal(std::string_view prompt, double& out);
// Distance: a number, or a point (then the distance from base; without a base the point is the first of two and
// "Specify second point: " asks for the other).
int getDist(const ge::Point3d* base, std::string_view prompt, double& out);
// Angle in radians in [0, 2*pi), counter-clockwise from +x: a number of degrees (as typed; a number from a module
// is degrees too), or a point (the angle from base to it; without a base, two points as for getDist).
int getAngle(const ge::Point3d* base, std::string_view prompt, double& out);
int getOrient(const ge::Point3d* base, std::string_view prompt, double& out);
// Point: "x,y" or "x,y,z"; "@dx,dy[,dz]" relative to base, or to the last point without one ("@" alone is that
// point); "d<a" and "@d<a" polar, the angle in degrees. Every point given becomes LASTPOINT. Typed points are
// taken as they are: running object snaps (OSMODE) are not applied to them.
int getPoint(const ge::Point3d* base, std::string_view prompt, ge::Point3d& out);
int getCorner(const ge::Point3d& base, std::string_view prompt, ge::Point3d& out);
// Keyword: only a keyword of initGet (or any text under RSG_OTHER) is taken; answers RTNORM with its global form.
int getKeyword(std::string_view prompt, std::string& out);

// Entity pick: the answer is a point; the entity under the pick box (aperture PICKBOX pixels at the view's scale)
// nearest to the point, the last drawn among equals. RTERROR with ERRNO 7 when nothing is hit.
//   - Entities that show count: visible, in model space, on a layer that is on and thawed. A text is hit
//     anywhere inside its box; a block reference through what its block draws.
//   - ERRNO afterwards: 0 after a hit or Esc (RTCAN), 7 after a miss (RTERROR), 52 after Enter (RTNONE). A
//     caller that asks again while ERRNO is 7 ends on Enter and Esc.
//   - A module's argument may be the point or the entity name itself (RTENAME: the pick point is the entity's
//     nearest point to the last point).
//   - Keywords of initGet answer RTKWORD.
int entSel(std::string_view prompt, db::EntityName& entity, ge::Point3d& pickPoint);
// Nested pick: as entSel, but the innermost entity hit inside block references (an entity of a block, or an
// attribute), with the transform from its own coordinates to world and the references around it, innermost
// first (both optional). For an entity outside any block the transform is the identity and there are none.
int nentSel(std::string_view prompt, db::EntityName& entity, ge::Point3d& pickPoint,
            ge::Matrix3d* toWorld = nullptr, std::vector<db::EntityName>* containers = nullptr);

// The last point given at any point prompt (LASTPOINT).
ge::Point3d lastPoint();

}  // namespace host::ed
