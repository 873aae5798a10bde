// Prompts: asking the user for strings, numbers, points, angles, keywords and entity picks. Every function answers
// the host's status: RTNORM, RTNONE (Enter on an empty answer), RTCAN (Esc or the end of the input), RTKWORD (a
// keyword of the last initGet), RTERROR (a pick that hit nothing: ERRNO is 7; other failures set other ERRNO).
//
// Answers come first from the answer queue of a command run by a module (see command.h), then from the run's input
// source. A wrong answer (text where a number is asked) prints the host's complaint and asks again; from a queue it
// fails the prompt with RTERROR instead, so a module's arguments never fall out of step.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/db/ids.h"
#include "host/db/resbuf.h"
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

// String: with spaces allowed (otherwise a space ends the answer, as Enter does). An answer longer than maxChars
// characters answers RTINPUTTRUNCATED with its first maxChars characters in `out`.
int getString(bool allowSpaces, std::string_view prompt, std::string& out, std::size_t maxChars = 132);
int getInt(std::string_view prompt, int& out);
int getReal(std::string_view prompt, double& out);
// Distance: a number, or a point (then the distance from base, which is asked first when no base is given).
int getDist(const ge::Point3d* base, std::string_view prompt, double& out);
// Angle in radians: a number of degrees, or a point (the angle from base to it).
int getAngle(const ge::Point3d* base, std::string_view prompt, double& out);
int getOrient(const ge::Point3d* base, std::string_view prompt, double& out);
// Point: "x,y" or "x,y,z" (and "@dx,dy" relative to base or to the last point).
int getPoint(const ge::Point3d* base, std::string_view prompt, ge::Point3d& out);
int getCorner(const ge::Point3d& base, std::string_view prompt, ge::Point3d& out);
int getKeyword(std::string_view prompt, std::string& out);

// Entity pick: the answer is a point; the entity under the pick box (aperture PICKBOX pixels at the view's scale)
// nearest to the point, the last drawn among equals. RTERROR with ERRNO 7 when nothing is hit.
int entSel(std::string_view prompt, db::EntityName& entity, ge::Point3d& pickPoint);
// Nested pick: the innermost entity inside block references, with the transform to world.
int nentSel(std::string_view prompt, db::EntityName& entity, ge::Point3d& pickPoint);

// The last point given at any point prompt (LASTPOINT).
ge::Point3d lastPoint();

}  // namespace host::ed
