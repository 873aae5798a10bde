// The command frame: the drawing environment given back on every way out of a command (its end, a guard that stops
// it, an exception), the contour guard, the status line before or after the work, and a command not built yet.
#include "laser/frame/command_frame.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "cadlib/messages.h"
#include "host/ed/sysvars.h"
#include "host/ed/tests/input_test_drawing.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "host/reg/registry.h"
#include "host/sys/tests/scratch_folder.h"
#include "host/ui/message_box.h"
#include "laser/frame/command_table.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

namespace {

constexpr int kUserOsmode = 33;

class CommandFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::reg::machineRegistry().setFile(scratch / "registry.reg");
        host::ed::resetSystemVariables();
        host::ed::transcript().clear();
        host::ui::clearMessageBoxLog();
        SetLanguageFlag(0);
        drawing.layer("Parts");
        ASSERT_EQ(SetCurrentLayer("Parts"), host::db::RTNORM);
        SetSysVarInt("OSMODE", kUserOsmode);
        SetSysVarInt("CMDECHO", 1);
    }
    void TearDown() override {
        DestroyLaserSettings();
        host::ed::resetSystemVariables();
        SetLanguageFlag(0);
    }

    // The drawing's current slot with a job of `contours` contours, as contour creation leaves it.
    CuttingJob& jobWithContours(int contours) {
        CLaserSettings& settings = LaserSettings();
        settings.DrawingSlots[0] = std::make_unique<DrawingSlot>();
        settings.DrawingSlots[0]->status = kSlotJob;
        settings.DrawingSlots[0]->job = std::make_unique<CuttingJob>();
        settings.DrawingSlotCount = 1;
        settings.CurrentDrawingSlot = 0;
        CuttingJob& job = *settings.DrawingSlots[0]->job;
        job.contourCount = contours;
        job.baseOuter = static_cast<std::uint32_t>(contours);
        return job;
    }

    host::sys::testing::ScratchFolder scratch;
    host::ed::testing::TestDrawing drawing;
};

// A frame that needs no job preparation, with or without the contour guard.
constexpr CommandFrame kGuardedFrame{true, false, FramePrepare::None, false, true, FrameStatusLine::BeforeWork};
constexpr CommandFrame kUnguardedFrame{true, false, FramePrepare::None, false, false, FrameStatusLine::None};

TEST_F(CommandFrameTest, TheEnvironmentComesBackOnEveryWayOut) {
    struct Case {
        const char* what;
        CommandFrame frame;
        int contours;
        bool throws;
        bool workRuns;
    };
    const Case cases[] = {
        {"the work ends normally", kUnguardedFrame, 0, false, true},
        {"the guard passes", kGuardedFrame, 2, false, true},
        {"the guard stops the command", kGuardedFrame, 0, false, false},
        {"the work throws", kUnguardedFrame, 0, true, true},
    };
    for (const Case& c : cases) {
        if (c.contours > 0) jobWithContours(c.contours);
        bool ran = false;
        auto work = [&] {
            ran = true;
            // The frame forced the command's own settings; the work changes the current layer.
            EXPECT_EQ(host::ed::getShort("OSMODE"), 0) << c.what;
            EXPECT_EQ(host::ed::getShort("CMDECHO"), 0) << c.what;
            drawing.layer("Scratch");
            SetCurrentLayer("Scratch");
            if (c.throws) throw std::runtime_error("the work failed");
        };
        if (c.throws) {
            EXPECT_THROW(RunInCommandFrame(c.frame, work), std::runtime_error) << c.what;
        } else {
            RunInCommandFrame(c.frame, work);
        }
        EXPECT_EQ(ran, c.workRuns) << c.what;
        EXPECT_EQ(host::ed::getShort("OSMODE"), kUserOsmode) << c.what;
        EXPECT_EQ(host::ed::getShort("CMDECHO"), 1) << c.what;
        EXPECT_EQ(host::ed::getText("CLAYER"), "Parts") << c.what;
        DestroyLaserSettings();
    }
}

TEST_F(CommandFrameTest, TheGuardShowsItsMessageOnceInTheUsersLanguage) {
    for (int flag : {0, 1}) {
        SetLanguageFlag(flag);
        host::ui::clearMessageBoxLog();
        bool ran = false;
        RunInCommandFrame(kGuardedFrame, [&] { ran = true; });
        EXPECT_FALSE(ran);
        ASSERT_EQ(host::ui::messageBoxLog().size(), 1u);
        const host::ui::MessageBoxRecord& box = host::ui::messageBoxLog().front();
        EXPECT_EQ(box.text, flag == 0 ? "\nError - Contours are not created.\n\nCreate contours and repeat the "
                                        "command.  "
                                      : "\nОшибка - Контуры не созданы.\n\nСоздайте контуры и повторите команду.  ");
        EXPECT_EQ(box.caption, "");
        EXPECT_EQ(box.style & host::ui::MB_ICONMASK, host::ui::MB_ICONERROR);
        // Nothing of the command ran: the status line was not written either.
        EXPECT_EQ(host::ed::getText("MODEMACRO"), "");
    }
}

TEST_F(CommandFrameTest, TheStatusLineIsWrittenBeforeOrAfterTheWork) {
    CuttingJob& job = jobWithContours(3);
    const std::string before = FormatStatusLine(job, Language::English);
    // Before the work: the work sees the line of the job as it was.
    RunInCommandFrame(kGuardedFrame, [&] {
        EXPECT_EQ(host::ed::getText("MODEMACRO"), before);
        job.pathGroupCount = 3;
    });
    EXPECT_EQ(host::ed::getText("MODEMACRO"), before);
    // After the work: the line shows what the work changed.
    constexpr CommandFrame kAfter{true, false, FramePrepare::None, false, true, FrameStatusLine::AfterWork};
    RunInCommandFrame(kAfter, [&] { job.totalSeconds = 90.0; });
    EXPECT_EQ(host::ed::getText("MODEMACRO"), FormatStatusLine(job, Language::English));
    EXPECT_NE(host::ed::getText("MODEMACRO").find("Contours=3/3 "), std::string::npos);
    EXPECT_NE(host::ed::getText("MODEMACRO").find("Time=1min30sec"), std::string::npos);
}

TEST_F(CommandFrameTest, ContourCreationLeavesLayerZeroCurrent) {
    constexpr CommandFrame kCreation{true, true, FramePrepare::None, false, false, FrameStatusLine::None};
    RunInCommandFrame(kCreation, [] {
        EXPECT_EQ(host::ed::getText("CLAYER"), "0");
        SetSysVarInt("OSMODE", 7);
    });
    EXPECT_EQ(host::ed::getText("CLAYER"), "0");
    EXPECT_EQ(host::ed::getShort("OSMODE"), kUserOsmode);
}

TEST_F(CommandFrameTest, ACommandNotBuiltSaysSoInOneLineInsideItsFrame) {
    const LaserCommand command{"NCOrder", "_vesk_NCOrder", kUnguardedFrame, nullptr};
    RunLaserCommand(command);
    SetLanguageFlag(1);
    RunLaserCommand(command);
    EXPECT_EQ(host::ed::transcript().text(),
              "\n\rThe command NCOrder is not built yet.\n\rКоманда NCOrder ещё не реализована.");
    EXPECT_EQ(host::ed::getShort("OSMODE"), kUserOsmode);
}

TEST_F(CommandFrameTest, ADrawingWithoutASlotRunsNoWork) {
    // Every slot is taken by other drawings: this drawing gets none, so the work must not run on another
    // drawing's job.
    CuttingJob& other = jobWithContours(2);
    CLaserSettings& settings = LaserSettings();
    for (int i = 1; i < kMaxDrawingSlots; ++i) {
        settings.DrawingSlots[static_cast<std::size_t>(i)] = std::make_unique<DrawingSlot>();
        settings.DrawingSlots[static_cast<std::size_t>(i)]->jobId = 1000 + i;
    }
    settings.DrawingSlots[0]->jobId = 1000;
    settings.DrawingSlotCount = kMaxDrawingSlots;
    bool ran = false;
    RunInCommandFrame(kPrepareFrame, [&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_EQ(other.contourCount, 2);
    EXPECT_EQ(host::ed::getShort("OSMODE"), kUserOsmode);
    EXPECT_EQ(host::ed::getText("CLAYER"), "Parts");
}

TEST_F(CommandFrameTest, ACommandInsideAnotherLeavesTheUsersEnvironmentToTheOuterOne) {
    // A command typed transparently at a prompt of another command of the module.
    RunInCommandFrame(kUnguardedFrame, [&] {
        SetSysVarInt("OSMODE", 5);  // the outer command's own setting while it works
        RunInCommandFrame(kUnguardedFrame, [&] {
            drawing.layer("Inner");
            SetCurrentLayer("Inner");
        });
        EXPECT_EQ(host::ed::getShort("OSMODE"), 5) << "the inner command leaves the outer one's settings";
    });
    EXPECT_EQ(host::ed::getShort("OSMODE"), kUserOsmode);
    EXPECT_EQ(host::ed::getShort("CMDECHO"), 1);
    EXPECT_EQ(host::ed::getText("CLAYER"), "Parts");
}

}  // namespace
