// What the dialog tests share: a desktop with nobody answering dialogs unless a test says who, steps a test
// takes while a modal loop waits, and a scripted session on the run's input with its transcript.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ed/input.h"
#include "host/ed/transcript.h"
#include "host/ui/desktop.h"
#include "host/ui/dialog.h"
#include "host/ui/dialog_user.h"
#include "host/ui/message_box.h"
#include "host/ui/robot.h"

namespace host::ui::testing {

// Steps a test takes while a modal loop waits: each time the loop is idle the next step runs (it gets the
// innermost modal dialog), until none are left; then the dialog is left to whoever answers next.
class IdleSteps {
public:
    using Step = std::function<void(Dialog&)>;

    IdleSteps(Desktop& desktop, std::vector<Step> steps) : desktop_(desktop), steps_(steps.begin(), steps.end()) {
        token_ = desktop_.addIdleHandler([this] {
            if (steps_.empty()) return false;
            Step step = std::move(steps_.front());
            steps_.pop_front();
            ++taken_;
            if (Dialog* d = Dialog::activeModal()) step(*d);
            return true;
        });
    }
    ~IdleSteps() { desktop_.removeIdleHandler(token_); }
    IdleSteps(const IdleSteps&) = delete;
    IdleSteps& operator=(const IdleSteps&) = delete;

    int taken() const { return taken_; }
    std::size_t left() const { return steps_.size(); }

private:
    Desktop& desktop_;
    std::deque<Step> steps_;
    int token_ = 0;
    int taken_ = 0;
};

// A desktop of its own, with nobody answering dialogs (an unanswered dialog is cancelled), and the message box
// log emptied.
class DialogTest : public ::testing::Test {
protected:
    DialogTest() { clearMessageBoxLog(); }

    Desktop desktop;
    Robot robot{desktop};
    UseDialogUser nobody{nullptr};
};

// The run's input set to script lines and the transcript emptied, for tests of the users; restores an empty
// input afterwards.
class ScriptSession {
public:
    explicit ScriptSession(std::vector<std::string> lines, std::string name = "answers.scr") {
        ed::setInput(ed::ScriptInput::fromLines(std::move(lines), std::move(name)));
        ed::transcript().clear();
    }
    ~ScriptSession() { ed::setInput(nullptr); }
    ScriptSession(const ScriptSession&) = delete;
    ScriptSession& operator=(const ScriptSession&) = delete;

    std::size_t linesLeft() const {
        auto* script = dynamic_cast<ed::ScriptInput*>(&ed::input());
        return script ? script->remaining() : 0;
    }
    const std::string& transcript() const { return ed::transcript().text(); }
};

}  // namespace host::ui::testing
