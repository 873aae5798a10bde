// The cut simulation: SimulateCutPath and the marker it moves.
//
// One step of the marker, as the display and the keys see it:
//   the marker's three vertices are set about the new point, the entity is redrawn (the display keeps the frame,
//   stamped with the desktop's clock) and the display is updated; then the step waits: one key line the run's
//   input holds is queued as a key press, the desktop's queue is pumped, and the desktop's clock is advanced to
//   the end of the delay. The clock is virtual: a script plays a large sheet without waiting for it, and the
//   frames still carry the times a screen would have shown them at.
//   While the run lasts a keyboard hook takes every key before any window: Esc sets the stop flag (the run ends
//   at the next step), keypad plus and minus change the delay by one tick within its bounds, other keys do
//   nothing.
#include "laser/nc/cut_simulation.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "cadlib/entity_creation.h"
#include "cadlib/host_variables.h"
#include "cadlib/messages.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ed/display.h"
#include "host/ed/input.h"
#include "host/sys/number_text.h"
#include "host/ui/constants.h"
#include "host/ui/desktop.h"
#include "host/ui/dialog.h"
#include "host/ui/typed_keys.h"
#include "laser/job/drawing_slot.h"
#include "laser/nc/nc_messages.h"
#include "laser/nc/nc_services.h"
#include "laser/nc/path_walkers.h"
#include "laser/path/path_lookup.h"
#include "laser/post/postprocessor_runtime.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::ge::Point3d;

constexpr double kTwoPi = 2.0 * std::numbers::pi;

const TwoLanguageText kPlayOnePrompt{
    "\n\rChoose a processed contour\nTo change the speed use '+' or '-', 'Esc'- cancel  ",
    "\n\rВыбери обработанный контур\nДля изменения скорости используй '+' или '-', 'Esc'- отмена  "};

int ColourIndexOf(const std::string& text, int fallback) {
    const host::sys::Parsed<std::int64_t> value = host::sys::parseInteger(text, 0, 256);
    return value.ok() ? static_cast<int>(value.value) : fallback;
}

class MarkerPlayer : public SimulationMarker {
public:
    MarkerPlayer(NcOutputState& state, const CLaserSettings& settings, double viewSize)
        : state_(state), desktop_(host::ui::dialogDesktop()) {
        const bool usable = std::isfinite(viewSize) && viewSize > 0.0;
        half_ = usable ? viewSize * kMarkerHalfShare : 0.0;
        width_ = usable ? viewSize * kMarkerWidthShare : 0.0;
        step_ = usable ? viewSize * kMarkerStepShare : 0.0;
        feedColour_ = ColourIndexOf(settings.ColorFeed, 1);
        rapidColour_ = ColourIndexOf(settings.ColorMove, 3);
        // Two half circles (bulge 1) from (-h, 0) to (h, 0) and back: a round dot of width w.
        auto marker = std::make_unique<host::db::LwPolyline>();
        for (const double x : {-half_, half_, -half_})
            marker->addVertexAt(marker->numVerts(), {x, 0.0}, 1.0, width_, width_);
        marker->setColorIndex(feedColour_);
        AppendToModelSpace(marker_, std::move(marker));
        hook_ = desktop_.addKeyHook([this](unsigned vk, bool down) { return OnKey(vk, down); });
    }
    ~MarkerPlayer() override {
        desktop_.removeKeyHook(hook_);
        if (!marker_.isNull()) {
            host::db::ObjectPtr<host::db::Entity> e(marker_, host::db::OpenMode::Write);
            if (e) e->erase();
        }
        host::ed::updateDisplay();
    }
    MarkerPlayer(const MarkerPlayer&) = delete;
    MarkerPlayer& operator=(const MarkerPlayer&) = delete;

    void ShowToolOn(bool on) override {
        host::db::ObjectPtr<host::db::Entity> e(marker_, host::db::OpenMode::Write);
        if (e) e->setColorIndex(on ? feedColour_ : rapidColour_);
    }

    void MoveAlongLine(const Point3d& from, const Point3d& to) override {
        const int k = StepsOfMove(std::hypot(to.x - from.x, to.y - from.y), step_);
        MoveMarker(from);
        Point3d at = from;
        for (int i = 1; i < k && !state_.StopFlag; ++i) {
            at = Point3d(at.x + (to.x - from.x) / k, at.y + (to.y - from.y) / k);
            MoveMarker(at);
        }
        MoveMarker(to);
    }

    void MoveAlongArc(const Point3d& centre, const Point3d& from, const Point3d& to, bool clockwise) override {
        double a = std::atan2(from.y - centre.y, from.x - centre.x);
        const double b = std::atan2(to.y - centre.y, to.x - centre.x);
        double sweep = clockwise ? a - b : b - a;
        if (sweep <= 0.0) sweep += kTwoPi;
        const double r = std::hypot(to.x - centre.x, to.y - centre.y);
        const int k = StepsOfMove(r * sweep, step_);
        MoveMarker(from);
        for (int i = 1; i < k && !state_.StopFlag; ++i) {
            a += clockwise ? -sweep / k : sweep / k;
            MoveMarker(Point3d(centre.x + r * std::cos(a), centre.y + r * std::sin(a)));
        }
        MoveMarker(to);
    }

private:
    // Moves the marker to p and waits one step.
    void MoveMarker(const Point3d& p) {
        {
            host::db::ObjectPtr<host::db::LwPolyline> marker(marker_, host::db::OpenMode::Write);
            if (!marker) return;
            marker->setPointAt(0, {p.x - half_, p.y});
            marker->setPointAt(1, {p.x + half_, p.y});
            marker->setPointAt(2, {p.x - half_, p.y});
        }
        host::ed::redrawEntity(marker_, host::ed::RedrawMode::Draw);
        host::ed::updateDisplay();
        WaitStep();
    }

    // Waits the delay, taking the keys that came meanwhile.
    void WaitStep() {
        const std::uint32_t start = desktop_.tickCount();
        host::ui::queueTypedKey(desktop_);
        desktop_.pumpUntilIdle();
        const std::uint32_t elapsed = desktop_.tickCount() - start;
        if (elapsed < static_cast<std::uint32_t>(delay_)) desktop_.advance(static_cast<unsigned>(delay_) - elapsed);
    }

    bool OnKey(unsigned vk, bool down) {
        if (!down) return true;
        if (vk == host::ui::VK_ESCAPE) state_.StopFlag = true;
        if (vk == host::ui::VK_ADD) delay_ = std::max(kMinStepDelay, delay_ - 1);
        if (vk == host::ui::VK_SUBTRACT) delay_ = std::min(kMaxStepDelay, delay_ + 1);
        return true;
    }

    NcOutputState& state_;
    host::ui::Desktop& desktop_;
    host::db::ObjectId marker_;
    double half_ = 0.0, width_ = 0.0, step_ = 0.0;
    int feedColour_ = 1, rapidColour_ = 3;
    int delay_ = kStartStepDelay;
    int hook_ = 0;
};

}  // namespace

int StepsOfMove(double length, double step) {
    if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(length) || length <= 0.0) return 0;
    const double k = std::floor(length / step);
    return k >= kMaxStepsPerMove ? kMaxStepsPerMove : static_cast<int>(k);
}

int SimulateCutPath(int pathGroup) {
    CLaserSettings& settings = LaserSettings();
    CuttingJob* job = CurrentJob(settings);
    DrawingSlot* slot = CurrentSlot(settings);
    NcOutputState& state = NcState();
    // The simulation compares points at four decimals and scale 1, whatever the postprocessor prints: a copy of
    // the runtime loaded last carries that for the run, and the loaded one stays as it was.
    PostprocessorRuntime runtime = PostRuntime();
    runtime.Decimals = 4;
    runtime.Precision = 10000;
    runtime.ScaleXYZ = 1.0;
    runtime.JobUnitCode = runtime.UnitCode;  // the grid in the job's own unit

    StartNcProgramState(state, runtime);
    state.ToolIsOn = kToolOff;
    state.PreviousToolKind = 0;
    state.Feed = 0.0;
    state.WantedComp = kCompOff;
    state.Modal.PrintedComp = state.WrittenModal.PrintedComp = kCompOff;
    state.Current = state.Target = NcPoint{};
    state.StopFlag = false;
    state.OutputMode = 0;

    double viewSize = 0.0;
    GetSysVarReal("VIEWSIZE", viewSize);
    MarkerPlayer marker(state, settings, viewSize);
    NcRun run{state, runtime, settings, job, &marker};
    int first = 0;
    if (job != nullptr && slot != nullptr && slot->status == kSlotJob) {
        const int from = pathGroup > 0 ? pathGroup : 1;
        const int to = pathGroup > 0 ? pathGroup : job->pathGroupCount;
        for (int n = from; n <= to; ++n) {
            if (runtime.UseProfilesCut != 0)
                EmitProfilePath(run, static_cast<unsigned>(n), first);
            else
                EmitContourPath(run, static_cast<unsigned>(n), first);
            if (state.StopFlag) break;
        }
    }
    return 0;
}

void PlayCutPath(int pathGroup) {
    host::db::Database* db = host::db::workingDatabase();
    const std::size_t framesBefore = db != nullptr ? host::ed::animationFrames(*db).size() : 0;
    SimulateCutPath(pathGroup);
    if (db == nullptr || !host::ed::input().isInteractive()) return;
    const std::vector<host::ed::AnimationFrame>& frames = host::ed::animationFrames(*db);
    const std::size_t steps = frames.size() > framesBefore ? frames.size() - framesBefore : 0;
    const double seconds =
        steps > 0 ? static_cast<double>(frames.back().time - frames[framesBefore].time) / 1000.0 : 0.0;
    PrintLocalized(kPlayedAtTerminalText, static_cast<unsigned long long>(steps), seconds);
}

void CommandNCPlay1() {
    std::string name;
    const unsigned n = PickPathGroup(FormatLocalized(kPlayOnePrompt), name);
    if (n != 0) PlayCutPath(static_cast<int>(n));
}
