// Data exchange between a dialog's fields and its controls, both ways, with the checks that refuse a value.
//
// A dialog's doDataExchange(dx) names each field once; Dialog::updateData runs it one way or the other:
//   loading (updateData(false))   each field is written into its control; a control that already shows the
//                                 value is left untouched (so it raises nothing and keeps its caret)
//   saving (updateData(true))     each control is read into its field, then the checks that follow it run
// Notifications from the controls (EN_CHANGE and the like) are not delivered to the dialog while it runs.
//
//   field           control                          loading                        saving
//   text            edit, static, any window text    the text                       the text as it stands
//   integer         edit                             decimal digits                 "Enter an integer." unless
//                                                                                   a whole number (spaces
//                                                                                   around are allowed)
//   real            edit                             shortest text that reads back  "Enter a number." unless a
//                                                    (or fixed decimals), C locale  number in the C locale
//   check           check box (0, 1, 2 = grey)       BM_SETCHECK                    BM_GETCHECK
//   radio           the group from its first button  checks the index-th button,    the index of the checked
//                   (WS_GROUP) to the next group     clears the others; -1 clears   button, -1 for none
//   comboText       combo box                        drop-down list: the item with  the chosen item's text ("" for
//                                                    this whole text, either case   none); drop-down: the edit's
//                                                    (none when absent); drop-      text
//                                                    down: that item or the text
//   comboIndex      combo box                        CB_SETCURSEL                   CB_GETCURSEL (-1 for none)
//   listText        list box                         the item with this whole text  the selected item's text
//                                                    (none when absent)
//   listIndex       list box                         LB_SETCURSEL                   LB_GETCURSEL (-1 for none)
//   slider          slider                           TBM_SETPOS                     TBM_GETPOS
//   control         any                              binds a member object to the control (DDX_Control)
//
// A refusal (a value that does not read, or a check that fails) stops the exchange: the fields after it are left
// alone, updateData answers false, and the user is told with a message box (the dialog's caption, an exclamation
// icon) after which the focus goes to the control the value came from, its text selected.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace host::ui {

class Dialog;
class Window;

class DataExchange {
public:
    // Fixed decimals for real(): kShortest writes the shortest text that reads back as the same number.
    static constexpr int kShortest = -1;

    DataExchange(Dialog& dialog, bool saveAndValidate);

    Dialog& dialog() const { return dialog_; }
    // True when reading the controls into the fields (and checking them).
    bool saving() const { return saving_; }
    bool failed() const { return failed_; }
    // The message of the refusal, and the control it is about (nullptr when none).
    const std::string& failure() const { return failure_; }
    Window* failedControl() const { return failedControl_; }
    // The control of the last field exchanged: the checks that follow a field are about it.
    Window* lastControl() const { return lastControl_; }

    // [SECTION] Fields (see the table above); after a refusal each does nothing.
    void text(int id, std::string& value);
    void integer(int id, int& value);
    void real(int id, double& value, int decimals = kShortest);
    void check(int id, int& state);
    void check(int id, bool& checked);
    void radio(int firstId, int& index);
    void comboText(int id, std::string& value);
    void comboIndex(int id, int& index);
    void listText(int id, std::string& value);
    void listIndex(int id, int& index);
    void slider(int id, int& position);
    void control(int id, Window& member);

    // [SECTION] Checks of the value just saved (they do nothing while loading or after a refusal)
    // "Enter an integer between <min> and <max>."
    void range(int value, int min, int max);
    // "Enter a number between <min> and <max>." (bounds written shortest, in the C locale)
    void range(double value, double min, double max);
    // "Enter no more than <n> characters." (characters, not bytes)
    void maxChars(const std::string& value, std::size_t n);
    // A check of the dialog's own: refuses with `message` when `ok` is false.
    void require(bool ok, std::string_view message);
    // Refuses with `message`, about the last control.
    void refuse(std::string_view message);

    // Tells the user of the refusal: the message box, then the focus to the control. Dialog::updateData calls it
    // once the exchange has ended.
    void reportFailure();

private:
    // The control with `id`, made the last control; nullptr (and a refusal naming the id) when the dialog has no
    // such control, or nullptr when the exchange has already failed.
    Window* begin(int id);
    void refuseAbout(Window* control, std::string message);

    Dialog& dialog_;
    bool saving_;
    bool failed_ = false;
    std::string failure_;
    Window* failedControl_ = nullptr;
    Window* lastControl_ = nullptr;
};

}  // namespace host::ui
