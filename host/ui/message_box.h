// Message boxes: a text, a caption, an icon and a set of buttons, shown modally and answered with the id of the
// button pressed; every box shown is recorded for tests.
//
// The box is a real dialog on the desktop (so a robot can press its buttons and a picture shows it): the icon at
// the left, the text wrapped to at most kMaxTextWidth pixels, the buttons centred below, the default one
// (MB_DEFBUTTON1..4) marked and holding the focus. It is answered like any modal dialog: by the dialog user
// (dialog_user.h) when nothing else acts; the scripted user's line is "msgbox <answer>".
//
//   style            buttons, in order                 Esc answers          nobody answers
//   MB_OK            OK                                IDOK                 IDOK
//   MB_OKCANCEL      OK, Cancel                        IDCANCEL             IDCANCEL
//   MB_YESNOCANCEL   Yes, No, Cancel                   IDCANCEL             IDCANCEL
//   MB_YESNO         Yes, No                           (nothing)            IDNO
//   MB_RETRYCANCEL   Retry, Cancel                     IDCANCEL             IDCANCEL
//   MB_ABORTRETRYIGNORE  Abort, Retry, Ignore          (nothing)            IDABORT
//   MB_CANCELTRYCONTINUE Cancel, Try Again, Continue   IDCANCEL             IDCANCEL
// MB_HELP adds a Help button that sends WM_HELP to the owner and does not end the box. The owner is the window
// given, else the innermost modal dialog; it is disabled while the box shows. The caption is shown as given; a box
// given none (an empty caption, as field checks show) shows the application's name in its title, as a desktop
// program's boxes do, so the user knows who asks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/ui/constants.h"
#include "host/ui/dialog.h"

namespace host::ui {

class Window;

// Widest the text of a box is laid out before it wraps, in pixels.
inline constexpr int kMaxTextWidth = 400;
// The control id of a box's text (as the system's boxes have it).
inline constexpr int kMessageBoxTextId = 0xFFFF;

// The title of a box shown with an empty caption: the product's name unless the program sets another.
const std::string& applicationName();
void setApplicationName(std::string name);

// Shows a message box and answers the id of the button pressed (IDOK, IDCANCEL, IDYES, IDNO, ...).
int messageBox(std::string_view text, std::string_view caption = {}, unsigned style = MB_OK,
               Window* owner = nullptr);

// One box as it was shown and answered.
struct MessageBoxRecord {
    std::string text;
    std::string caption;      // as the caller gave it (empty for none; the box then shows applicationName())
    unsigned style = MB_OK;
    int answer = 0;
    bool unanswered = false;  // nobody acted: the box took the answer of the table's last column
    std::string owner;        // the owner's caption, empty for none
};

// Every box shown since the log was last cleared, oldest first.
const std::vector<MessageBoxRecord>& messageBoxLog();
void clearMessageBoxLog();

// The answers (button ids) of a style, in the order the buttons stand; Help is not an answer.
std::vector<int> messageBoxAnswers(unsigned style);
// "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No", "Close", "Help", "Try Again", "Continue"; "" for others.
std::string_view answerName(int id);
// The id of an answer's name, ignoring case and spaces ("try again", "TryAgain"); 0 when it names none.
int answerFromName(std::string_view name);

// The box itself, for users and tests that look at the one showing (Dialog::activeModal()).
class MessageBoxDialog : public Dialog {
public:
    MessageBoxDialog(std::string text, std::string caption, unsigned style, Window* owner);

    const std::string& message() const { return text_; }
    unsigned boxStyle() const { return style_; }
    std::vector<int> answers() const { return messageBoxAnswers(style_); }
    // What Esc answers (0 when Esc does nothing), and what the box answers when nobody acts.
    int escapeAnswer() const;
    int unansweredAnswer() const;
    // Ends the box with `answer` as a press of that button would; false when the box has no such button.
    bool answer(int id);

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;
    void onUnanswered() override;
    bool onCommand(int id, int code, Window* control) override;
    std::intptr_t windowProc(Message& m) override;

private:
    void paintIcon();

    std::string text_;
    unsigned style_;
    Rect iconRect_{};
};

}  // namespace host::ui
