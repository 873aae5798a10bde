// The display of a host without a screen: each drawing's view (centre, height, aspect), zooms, regens and
// redraws, highlighted entities and temporary vectors, all recorded in a log that tests read; `cadhost --svg`
// shows the highlights and the temporary vectors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/ge/point.h"

namespace host::ed {

// The screen views are measured against: a view shows `height` drawing units on kScreenPixelHeight pixels, and is
// `aspect` times as wide. Pick boxes and snap apertures are given in pixels (PICKBOX, APERTURE) and become
// drawing units through it: with a view 250 units high a pixel is 0.25 units, and PICKBOX 3 reaches 0.75 units
// from the cursor.
inline constexpr int kScreenPixelHeight = 1000;

struct View {
    ge::Point2d center;
    double height = 1.0;  // drawing units from the bottom of the screen to the top
    double aspect = 1.0;  // width / height
    double width() const { return height * aspect; }
};

// The view of a drawing: its "*Active" viewport record, so a drawing keeps its view in its file. A drawing
// without a usable record (a broken file) answers the default view (centre 0,0, height 1, aspect 1).
View viewOf(const db::Database& database);
// Drawing units per screen pixel in the drawing's view (height / kScreenPixelHeight).
double unitsPerPixel(const db::Database& database);
// `pixels` screen pixels in drawing units.
double pixelsToUnits(const db::Database& database, double pixels);

// Zooms. Each changes the view (in the viewport record), redraws (temporary vectors go) and is logged. They
// answer false and change nothing for a height or factor that is not positive and finite, or when the viewport
// record cannot be written.
// - Extents: the drawing's extents (EXTMIN, EXTMAX) fill the view without a margin; the extents' width counts
//   through the aspect, so a wide drawing sets the height to width / aspect. An empty drawing keeps its view (and
//   the zoom answers true); a single point is centred at the height the view had.
bool zoomExtents(db::Database& database);
bool zoomCenter(db::Database& database, const ge::Point2d& center, double height);
// A window given by two opposite corners fills the view (its width through the aspect, as for the extents). A
// window of no width and no height only moves the centre.
bool zoomWindow(db::Database& database, const ge::Point2d& corner1, const ge::Point2d& corner2);
// A scale relative to the view ("2X"): the height becomes height / factor about the same centre.
bool zoomScale(db::Database& database, double factor);

// Regenerating builds the picture again from the database; redrawing shows again what was generated. Both
// clear the drawing's temporary vectors and are counted and logged.
void regen(db::Database& database);
void redraw(db::Database& database);

// How one entity is redrawn (the host's redraw modes).
enum class RedrawMode : int {
    Draw = 1,         // show it as it now is (after a change, a jig's update)
    Undraw = 2,       // take it off the picture until the next redraw or regen
    Highlight = 3,
    Unhighlight = 4,
};
// Redraws one entity of any open drawing. False for a name of nothing, an erased entity or an object that is not
// an entity. Highlighting is the entity's state (db::Entity::isHighlighted): it stays through regens until it is
// taken off, and pictures show it.
bool redrawEntity(db::ObjectId entity, RedrawMode mode);
bool highlight(db::ObjectId entity, bool on);
// Redraws an entity that a drag moves (jig.h): shown where the cursor took it, but no frame of an animation (a
// drag is the user's hand, not a played motion, and a picture never shows it).
bool redrawDraggedEntity(db::ObjectId entity);
// The highlighted entities of a drawing, in drawing order.
std::vector<db::ObjectId> highlightedEntities(const db::Database& database);
// Entities taken off the picture by RedrawMode::Undraw (until the next redraw or regen).
bool isUndrawn(db::ObjectId entity);

// A temporary vector: a line drawn over the picture that is not part of the drawing (a rubber band, a marker of
// a simulation). `color` is an ACI index (a negative index draws in the complement colour, as the host's
// temporary vectors may); a highlighted vector is dashed.
struct TemporaryVector {
    ge::Point3d from, to;
    int color = 7;
    bool highlighted = false;
};
void drawTemporaryVector(db::Database& database, const TemporaryVector& vector);
// The temporary vectors drawn on the drawing since its last redraw or regen, oldest first.
std::vector<TemporaryVector> temporaryVectors(const db::Database& database);

// Counts since the drawing was first shown.
int regenCount(const db::Database& database);
int redrawCount(const db::Database& database);
// The host brings the screen up to date (a module calls this after each step of a long job): logged only.
void updateDisplay();

// The log of display events, oldest first. It keeps the last kDisplayLogLimit events (a long simulation draws
// many vectors); displayLogDropped() counts what fell off its front.
inline constexpr std::size_t kDisplayLogLimit = 100'000;
struct DisplayEvent {
    enum class Kind {
        Zoom,             // detail: "extents", "center", "window" or "scale", then the new view
        Regen,
        Redraw,
        EntityRedraw,     // detail: "draw", "undraw" or "drag" (a drag moved it: no animation frame)
        Highlight,
        Unhighlight,
        TemporaryVector,  // detail: the two ends and the colour
        Update,
    };
    Kind kind = Kind::Update;
    std::uint64_t drawing = 0;  // the database's serial number (0 for Update)
    db::Handle entity;          // entity events only
    std::string detail;
};
const std::vector<DisplayEvent>& displayLog();
std::size_t displayLogDropped();
void clearDisplayLog();
// One line per event, for messages and test output: "zoom window: center 5,5 height 10", "highlight 2A".
std::string describe(const DisplayEvent& event);

// [SECTION] Animation
// A moving marker (the cut simulation's dot) is an entity that is changed and redrawn step by step. Every Draw
// redraw of an entity is kept as a frame of its animation: where it stood (the centre of its extents), how large
// it was (the larger side of its extents) and its colour, stamped with the display clock. A picture of the
// drawing can then play the frames back at the speed they were shown (drawing_svg.h, `animate`). Frames stay
// when the entity is erased afterwards, so the marker of a finished simulation can still be played.
struct AnimationFrame {
    db::Handle entity;
    std::int64_t time = 0;  // milliseconds of the display clock
    ge::Point2d center;
    double size = 0.0;
    int color = 7;  // ACI index as the entity had it (BYLAYER 256 and BYBLOCK 0 as they are)
};
// Resource bound on the frames of one drawing; later frames are counted and not kept.
inline constexpr std::size_t kMaxAnimationFrames = 500'000;
const std::vector<AnimationFrame>& animationFrames(const db::Database& database);
std::size_t animationFramesDropped(const db::Database& database);
// The display's clock: by default 0 for every frame; the user interface installs its own (the desktop's tick
// count, a virtual clock that a waiting simulation advances without sleeping). An empty function puts the
// default back.
void setDisplayClock(std::function<std::int64_t()> clock);
std::int64_t displayTime();

// Forgets the display state kept for a drawing (its vectors, counts and undrawn entities): the document manager
// calls this when the drawing closes. Its log events stay.
void forgetDisplay(const db::Database& database);

}  // namespace host::ed
