// The frame every command of the module runs its work in: the drawing environment saved and restored around it,
// the drawing's job brought up to date, the contour guard and the status line, in the variants the commands need.
#pragma once

#include <functional>

// How the frame brings the drawing's job up to date before the work.
enum class FramePrepare {
    None,             // the work finds the drawing's job itself (or needs none)
    DrawingJob,       // PrepareDrawingJob: the current drawing's slot, layers and stored job
    GeometryCommand,  // the preparation of the commands that measure the drawing's geometry
};

// When the frame writes the status line.
enum class FrameStatusLine {
    None,        // the work writes it itself, or it does not change
    BeforeWork,  // after the guard, before the work
    AfterWork,   // after the work (the work recomputes what the line shows)
};

// The steps a command's frame runs, in this order: [current layer "0"], environment saved, [job prepared],
// [settings re-read], [contour guard], [status line], the work, [status line], environment restored.
struct CommandFrame {
    bool framed = true;                  // false: the work runs alone, with none of the steps below
    bool layerZeroFirst = false;         // make "0" the current layer before the environment is saved, so it
                                         // stays current afterwards
    FramePrepare prepare = FramePrepare::DrawingJob;
    bool rereadSettings = false;         // read the settings from the registry again after the preparation
    bool contourGuard = true;            // stop (after the guard's message box) when the drawing has no contours
    FrameStatusLine statusLine = FrameStatusLine::BeforeWork;
};

// The variants the module's commands use.
inline constexpr CommandFrame kNoFrame{false, false, FramePrepare::None, false, false, FrameStatusLine::None};
// Path commands: the whole frame.
inline constexpr CommandFrame kPathFrame{};
// Automatic order: the settings are re-read first.
inline constexpr CommandFrame kRereadSettingsFrame{true, false, FramePrepare::DrawingJob, true, true,
                                                   FrameStatusLine::BeforeWork};
// The home rapid rewrites the status line itself.
inline constexpr CommandFrame kGuardOnlyFrame{true, false, FramePrepare::DrawingJob, false, true,
                                              FrameStatusLine::None};
// Commands that prepare the job but need no contours (kind assignment, engraving text, line-intersection check).
inline constexpr CommandFrame kPrepareFrame{true, false, FramePrepare::DrawingJob, false, false,
                                            FrameStatusLine::None};
// The statistics window: the geometry preparation and the whole frame.
inline constexpr CommandFrame kGeometryFrame{true, false, FramePrepare::GeometryCommand, false, true,
                                             FrameStatusLine::BeforeWork};
// Recomputing the path totals: the status line shows the new totals afterwards.
inline constexpr CommandFrame kRegenFrame{true, false, FramePrepare::GeometryCommand, false, true,
                                          FrameStatusLine::AfterWork};
// Commands that only need the environment around their work (placement, conversion, export, language, points,
// the start of a nesting).
inline constexpr CommandFrame kEnvironmentFrame{true, false, FramePrepare::None, false, false,
                                                FrameStatusLine::None};
// Contour creation: layer "0" current first, then the environment; the work does the rest.
inline constexpr CommandFrame kContourCreationFrame{true, true, FramePrepare::None, false, false,
                                                    FrameStatusLine::None};

// Runs `work` inside `frame`. The command stops before its work when the drawing's job cannot be prepared (the
// drawing got no slot; the user has been told) or the contour guard stops it. The environment saved by the frame is
// restored on every way out: the normal end, a stop, and an exception from the work (which then goes on to the
// host). A command started transparently inside another one works in the environment of the outer command, which
// gives the user's environment back when it ends.
void RunInCommandFrame(const CommandFrame& frame, const std::function<void()>& work);
