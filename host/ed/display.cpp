// The headless display: views kept in the drawings' viewport records, per-drawing counts, vectors and undrawn
// entities, highlight as entity state, and the event log.
#include "host/ed/display.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "host/sys/number_text.h"

namespace host::ed {

namespace {

// What the display keeps of one drawing besides its view.
struct DrawingDisplay {
    int regens = 0;
    int redraws = 0;
    std::vector<TemporaryVector> vectors;
    std::set<std::uint32_t> undrawn;  // object indexes
    std::vector<AnimationFrame> frames;
    std::size_t framesDropped = 0;
};

std::function<std::int64_t()>& displayClock() {
    static std::function<std::int64_t()> clock;
    return clock;
}

void recordFrame(DrawingDisplay& d, const db::Entity& e) {
    if (d.frames.size() >= kMaxAnimationFrames) {
        ++d.framesDropped;
        return;
    }
    AnimationFrame frame;
    frame.entity = e.handle();
    frame.time = displayTime();
    frame.color = e.colorIndex();
    if (const auto box = e.geomExtents()) {
        frame.center = {(box->min.x + box->max.x) / 2, (box->min.y + box->max.y) / 2};
        frame.size = std::max(box->max.x - box->min.x, box->max.y - box->min.y);
    }
    d.frames.push_back(frame);
}

// Bound on the temporary vectors of one drawing: a simulation that never redraws keeps the newest ones.
constexpr std::size_t kMaxTemporaryVectors = 1'000'000;

struct DisplayState {
    std::map<std::uint64_t, DrawingDisplay> drawings;  // by database serial
    std::vector<DisplayEvent> log;
    std::size_t dropped = 0;  // events that fell off the front of the log
};

DisplayState& state() {
    static DisplayState s;
    return s;
}

DrawingDisplay& drawingState(const db::Database& database) { return state().drawings[database.serial()]; }

void record(DisplayEvent::Kind kind, std::uint64_t drawing, db::Handle entity, std::string detail) {
    std::vector<DisplayEvent>& log = state().log;
    if (log.size() >= kDisplayLogLimit) {
        // Drop the oldest tenth at once, so that a long run does not shift the whole log on every event.
        const std::size_t drop = kDisplayLogLimit / 10;
        log.erase(log.begin(), log.begin() + std::ptrdiff_t(drop));
        state().dropped += drop;
    }
    log.push_back({kind, drawing, entity, std::move(detail)});
}

std::string num(double v) { return sys::formatShortest(v); }

std::string viewText(const View& v) {
    return "center " + num(v.center.x) + "," + num(v.center.y) + " height " + num(v.height);
}

bool usable(double v) { return std::isfinite(v) && v > 0.0; }

db::ObjectId activeViewport(const db::Database& database) {
    return database.recordId(db::TableKind::Viewport, "*Active");
}

// Writes the view into the viewport record and redraws.
bool applyView(db::Database& database, View view, const char* how) {
    if (!usable(view.height) || !usable(view.aspect) || !std::isfinite(view.center.x) ||
        !std::isfinite(view.center.y))
        return false;
    db::ObjectPtr<db::ViewportTableRecord> vp(activeViewport(database), db::OpenMode::Write);
    if (!vp || vp->setView(view.center, view.height, view.aspect) != db::Status::Ok) return false;
    vp.close();
    record(DisplayEvent::Kind::Zoom, database.serial(), {}, std::string(how) + ": " + viewText(view));
    redraw(database);
    return true;
}

// The view that shows the box from lo to hi whole, keeping the aspect.
View fitting(const View& current, const ge::Point2d& lo, const ge::Point2d& hi) {
    View v = current;
    v.center = {(lo.x + hi.x) / 2, (lo.y + hi.y) / 2};
    const double height = std::max(hi.y - lo.y, (hi.x - lo.x) / current.aspect);
    if (height > 0.0) v.height = height;
    return v;
}

// The entity for a display change. Display state is not a change of the drawing, and the entity may be open for
// write by its caller (a jig drags an entity it holds open): it is looked at, not opened, and its highlight flag,
// which nothing stores in the drawing, is set on it as it is.
db::Entity* entityForDisplay(db::ObjectId id) {
    if (id.isNull() || id.isErased()) return nullptr;
    return const_cast<db::Entity*>(dynamic_cast<const db::Entity*>(id.database()->peek(id)));
}

}  // namespace

View viewOf(const db::Database& database) {
    View v;
    const auto* vp = dynamic_cast<const db::ViewportTableRecord*>(database.peek(activeViewport(database)));
    if (!vp) return v;
    if (usable(vp->height()) && usable(vp->aspectRatio()) && std::isfinite(vp->center().x) &&
        std::isfinite(vp->center().y)) {
        v.center = vp->center();
        v.height = vp->height();
        v.aspect = vp->aspectRatio();
    }
    return v;
}

double unitsPerPixel(const db::Database& database) { return viewOf(database).height / kScreenPixelHeight; }

double pixelsToUnits(const db::Database& database, double pixels) { return pixels * unitsPerPixel(database); }

bool zoomExtents(db::Database& database) {
    const ge::Point3d lo = database.extMin(), hi = database.extMax();
    const View current = viewOf(database);
    if (!(lo.x <= hi.x && lo.y <= hi.y)) {
        record(DisplayEvent::Kind::Zoom, database.serial(), {}, "extents: nothing to show, " + viewText(current));
        redraw(database);
        return true;
    }
    return applyView(database, fitting(current, lo.to2d(), hi.to2d()), "extents");
}

bool zoomCenter(db::Database& database, const ge::Point2d& center, double height) {
    View v = viewOf(database);
    v.center = center;
    v.height = height;
    return applyView(database, v, "center");
}

bool zoomWindow(db::Database& database, const ge::Point2d& corner1, const ge::Point2d& corner2) {
    const ge::Point2d lo{std::min(corner1.x, corner2.x), std::min(corner1.y, corner2.y)};
    const ge::Point2d hi{std::max(corner1.x, corner2.x), std::max(corner1.y, corner2.y)};
    return applyView(database, fitting(viewOf(database), lo, hi), "window");
}

bool zoomScale(db::Database& database, double factor) {
    if (!usable(factor)) return false;
    View v = viewOf(database);
    v.height /= factor;
    return applyView(database, v, "scale");
}

void regen(db::Database& database) {
    DrawingDisplay& d = drawingState(database);
    ++d.regens;
    d.vectors.clear();
    d.undrawn.clear();
    record(DisplayEvent::Kind::Regen, database.serial(), {}, {});
}

void redraw(db::Database& database) {
    DrawingDisplay& d = drawingState(database);
    ++d.redraws;
    d.vectors.clear();
    d.undrawn.clear();
    record(DisplayEvent::Kind::Redraw, database.serial(), {}, {});
}

bool redrawEntity(db::ObjectId entity, RedrawMode mode) {
    db::Entity* e = entityForDisplay(entity);
    if (!e) return false;
    const std::uint64_t serial = entity.database()->serial();
    DrawingDisplay& d = drawingState(*entity.database());
    switch (mode) {
    case RedrawMode::Draw:
        d.undrawn.erase(entity.index());
        recordFrame(d, *e);
        record(DisplayEvent::Kind::EntityRedraw, serial, e->handle(), "draw");
        return true;
    case RedrawMode::Undraw:
        d.undrawn.insert(entity.index());
        record(DisplayEvent::Kind::EntityRedraw, serial, e->handle(), "undraw");
        return true;
    case RedrawMode::Highlight:
    case RedrawMode::Unhighlight: {
        const bool on = mode == RedrawMode::Highlight;
        e->setHighlighted(on);
        record(on ? DisplayEvent::Kind::Highlight : DisplayEvent::Kind::Unhighlight, serial, e->handle(), {});
        return true;
    }
    }
    return false;
}

bool redrawDraggedEntity(db::ObjectId entity) {
    db::Entity* e = entityForDisplay(entity);
    if (!e) return false;
    DrawingDisplay& d = drawingState(*entity.database());
    d.undrawn.erase(entity.index());
    record(DisplayEvent::Kind::EntityRedraw, entity.database()->serial(), e->handle(), "drag");
    return true;
}

bool highlight(db::ObjectId entity, bool on) {
    return redrawEntity(entity, on ? RedrawMode::Highlight : RedrawMode::Unhighlight);
}

std::vector<db::ObjectId> highlightedEntities(const db::Database& database) {
    std::vector<db::ObjectId> out;
    for (db::ObjectId id = database.firstEntity(); !id.isNull(); id = database.nextEntity(id)) {
        const auto* e = dynamic_cast<const db::Entity*>(database.peek(id));
        if (e && e->isHighlighted()) out.push_back(id);
    }
    return out;
}

bool isUndrawn(db::ObjectId entity) {
    if (entity.isNull()) return false;
    const auto it = state().drawings.find(entity.database()->serial());
    return it != state().drawings.end() && it->second.undrawn.count(entity.index()) != 0;
}

void drawTemporaryVector(db::Database& database, const TemporaryVector& vector) {
    std::vector<TemporaryVector>& vectors = drawingState(database).vectors;
    if (vectors.size() >= kMaxTemporaryVectors) vectors.erase(vectors.begin());
    vectors.push_back(vector);
    record(DisplayEvent::Kind::TemporaryVector, database.serial(), {},
           num(vector.from.x) + "," + num(vector.from.y) + " to " + num(vector.to.x) + "," + num(vector.to.y) +
               " color " + std::to_string(vector.color) + (vector.highlighted ? " highlighted" : ""));
}

std::vector<TemporaryVector> temporaryVectors(const db::Database& database) {
    const auto it = state().drawings.find(database.serial());
    return it == state().drawings.end() ? std::vector<TemporaryVector>{} : it->second.vectors;
}

int regenCount(const db::Database& database) {
    const auto it = state().drawings.find(database.serial());
    return it == state().drawings.end() ? 0 : it->second.regens;
}

int redrawCount(const db::Database& database) {
    const auto it = state().drawings.find(database.serial());
    return it == state().drawings.end() ? 0 : it->second.redraws;
}

void updateDisplay() { record(DisplayEvent::Kind::Update, 0, {}, {}); }

const std::vector<DisplayEvent>& displayLog() { return state().log; }

std::size_t displayLogDropped() { return state().dropped; }

void clearDisplayLog() {
    state().log.clear();
    state().dropped = 0;
}

std::string describe(const DisplayEvent& event) {
    auto withDetail = [&](const char* what) {
        std::string s = what;
        if (!event.entity.isNull()) s += " " + event.entity.text();
        if (!event.detail.empty()) s += (event.kind == DisplayEvent::Kind::Zoom ? " " : ": ") + event.detail;
        return s;
    };
    switch (event.kind) {
    case DisplayEvent::Kind::Zoom: return withDetail("zoom");
    case DisplayEvent::Kind::Regen: return withDetail("regen");
    case DisplayEvent::Kind::Redraw: return withDetail("redraw");
    case DisplayEvent::Kind::EntityRedraw: return withDetail("redraw entity");
    case DisplayEvent::Kind::Highlight: return withDetail("highlight");
    case DisplayEvent::Kind::Unhighlight: return withDetail("unhighlight");
    case DisplayEvent::Kind::TemporaryVector: return withDetail("vector");
    case DisplayEvent::Kind::Update: return withDetail("update");
    }
    return "?";
}

const std::vector<AnimationFrame>& animationFrames(const db::Database& database) {
    return drawingState(database).frames;
}

std::size_t animationFramesDropped(const db::Database& database) { return drawingState(database).framesDropped; }

void setDisplayClock(std::function<std::int64_t()> clock) { displayClock() = std::move(clock); }

std::int64_t displayTime() { return displayClock() ? displayClock()() : 0; }

void forgetDisplay(const db::Database& database) { state().drawings.erase(database.serial()); }

}  // namespace host::ed
