// Drag jigs: an entity follows the cursor while the user drags it, until a pick, Enter or Esc ends the drag.
//
// The host has no mouse: the cursor is the run's input. While a jig drags, each answer is one of
//   "drag x,y"  "drag x,y,z"  "drag @dx,dy"   a cursor sample: the cursor is there now (any case; the point is
//                                            written as at a point prompt, relative to the last point)
//   "x,y"  "x,y,z"  "@dx,dy"  "d<a"          a pick there (a module's RTPOINT / RT3DPOINT answers the same)
//   ""                                       Enter
//   "^C"  "<Esc>"                            Esc
//   a keyword of setKeywordList              that keyword
//   any other text                           taken as other input under kAcceptOtherInputString, else the
//                                            host's complaint and the next answer
// A script that drags a part into place reads, for instance:
//   drag 10,0
//   drag 20,5
//   25,5
// The loop, for each answer: the jig's sampler() runs and acquires the answer. After a sample, update() runs
// (and the entity is redrawn) when the sampler answered kNormal; kNoChange leaves everything as it is, and the
// drag goes on. A pick runs the sampler the same way and then ends the drag with the sampler's status, unless the
// sampler answered kNoChange (it could not use the point: a rotation picked on its own base point), in which case
// the drag goes on. Enter, Esc, a keyword and other input end the drag with the sampler's status (Esc always with
// kCancel). The end of the input or of a module's arguments is Esc. Enter ends the drag whether or not
// kNullResponseAccepted is set: a drag that only Esc could end would trap a script.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/db/database.h"
#include "host/ge/point.h"

namespace host::ed {

class Jig {
public:
    // Drag statuses, with the host's values. Keywords answer kKW1 for the first keyword of setKeywordList,
    // kKW2 for the second, and so on.
    enum DragStatus : int {
        kNoChange = -6,  // the sample changed nothing: no update, the drag goes on
        kCancel = -4,    // Esc
        kOther = -3,     // other text (kAcceptOtherInputString)
        kNull = -1,      // Enter
        kNormal = 0,
        kKW1 = 1, kKW2, kKW3, kKW4, kKW5, kKW6, kKW7, kKW8, kKW9,
    };

    // User-input controls, with the host's values (224 = no zero, no negative, 3D coordinates).
    enum UserInputControls : int {
        kGovernedByOrthoMode = 0x1,
        kNullResponseAccepted = 0x2,
        kDontEchoCancelForCtrlC = 0x4,
        kDontUpdateLastPoint = 0x8,      // picks do not become LASTPOINT
        kNoDwgLimitsChecking = 0x10,
        kNoZeroResponseAccepted = 0x20,  // a typed distance or angle of 0 is refused
        kNoNegativeResponseAccepted = 0x40,  // a typed negative distance or angle is refused
        kAccept3dCoordinates = 0x80,     // without it, a point typed with z is refused
        kAcceptMouseUpAsPoint = 0x100,
        kAnyBlankTerminatesInput = 0x200,
        kInitialBlankTerminatesInput = 0x400,
        kAcceptOtherInputString = 0x800,  // text that is nothing else answers kOther
    };

    // How the entity is shown while dragged: what stays at the start and what moves (the host's style values:
    // 0 none, 1 hidden, 2 and 3 transparent, 4 deleted look, 5 highlighted). Kept and answered; a host without a
    // screen draws neither.
    struct DragStyle {
        int original = 0;
        int dragged = 0;
    };

    Jig() = default;
    virtual ~Jig() = default;
    Jig(const Jig&) = delete;
    Jig& operator=(const Jig&) = delete;

    // Runs the drag loop (above) and answers how it ended; the first form with the style {0, 0}.
    DragStatus drag();
    DragStatus drag(const DragStyle& style);

    // Called for every answer: acquire it (exactly one acquire call) and say whether it changed anything.
    virtual DragStatus sampler() = 0;
    // Called after a sample the sampler answered kNormal for: apply it to the entity. Answers whether it did.
    virtual bool update() = 0;
    // The entity being dragged (owned by whoever made the jig).
    virtual db::Entity* entity() const = 0;

    // Acquiring, inside sampler(): the answer as a point, an angle (radians, counter-clockwise from +x; typed as
    // degrees, or a point whose direction from `base` counts) or a distance (typed, or a point's distance from
    // `base`). Without a base, angles and distances are measured from the last point (LASTPOINT). A sample or
    // a pick answers kNormal with the value; Enter kNull, Esc kCancel, a keyword kKWn, other text kOther.
    DragStatus acquirePoint(ge::Point3d& point);
    DragStatus acquirePoint(ge::Point3d& point, const ge::Point3d& base);
    DragStatus acquireAngle(double& angle);
    DragStatus acquireAngle(double& angle, const ge::Point3d& base);
    DragStatus acquireDist(double& distance);
    DragStatus acquireDist(double& distance, const ge::Point3d& base);

    // The prompt shown for every answer the drag reads.
    void setDispPrompt(std::string_view prompt) { prompt_ = prompt; }
    const std::string& dispPrompt() const { return prompt_; }
    // Keywords answered as kKW1, kKW2, ...: "Base Copy" (a "_" and global forms are read as initGet reads them).
    void setKeywordList(std::string_view keywords) { keywords_ = keywords; }
    const std::string& keywordList() const { return keywords_; }
    void setUserInputControls(int controls) { controls_ = controls; }
    int userInputControls() const { return controls_; }
    const DragStyle& dragStyle() const { return style_; }
    // The text of the last kOther answer, or the global form of the last keyword.
    const std::string& lastInputText() const { return lastText_; }

    // Appends a copy of entity() to model space of the working drawing and answers its id in `id`. An entity that
    // already belongs to a drawing is not appended: AlreadyInDb, nothing printed (a jig on an entity of the
    // drawing calls this without harm). NullObjectId without an entity or a drawing.
    db::Status append(db::ObjectId* id = nullptr);

private:
    enum class Input { None, Sample, Pick, Enter, Cancel, Keyword, Other };
    struct Acquired;
    DragStatus acquire(Acquired& out, const ge::Point3d* base, int kind);

    std::string prompt_;
    std::string keywords_;
    std::string lastText_;
    int controls_ = 0;
    DragStyle style_;
    Input input_ = Input::None;  // what the sampler's acquire read this round
};

}  // namespace host::ed
