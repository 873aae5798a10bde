// Acting on a dialog as a person would: find a control by its id or its label, set it, press a button, pick a
// tab, press Enter or Esc; and describe what the dialog shows, as text. The scripted user, the console user and
// tests drive dialogs through it; its hands are the robot, so every action takes the path a person's would
// (the focus moves to the control first, its kill-focus checks run, notifications go out as the control sends
// them).
//
// Naming a control: a number is a control id (where a page shown in the dialog reuses an id of the dialog's own
// controls, the page's control: the one the user sees there); any other text is a label, compared without '&'
// marks, spaces around, a trailing ':' and the case of letters: a button's, check box's, radio button's or group
// box's own text, or, for the other controls, the text of the label just before it in the tab order
// ("Quantity:" names the edit after it), or, with no label there, the title of the group box just before it. Only visible controls are looked at; on a property sheet that is the page shown and the
// sheet's own buttons, in a dialog whose tab control holds pages the page shown and the dialog's controls. The
// first match in the tab order wins. Push buttons that show one text ("Select..." beside two fields) are named
// each by its text and what it serves, "Select... (Postprocessor)": the nearest label on its row to its left,
// else the title of the group box it stands in, else its id ("Select... (#1005)"); the text alone names none
// of them.
//
// Setting a control, by its kind:
//   edit                 the text is replaced: a click into it, all selected, and the value put in as one
//                        replacement, as a paste puts it (an empty value deletes the selection), so the field's
//                        checks see the whole value once: a value the field refuses leaves its previous text
//                        whole. A value longer than the field allows (EM_GETLIMITTEXT), or with other than
//                        digits for a digits-only edit, is refused and changes nothing. A multi-line edit takes
//                        "\n" in the value for a line break and "\\" for a backslash
//   check box            1, on, yes, true, checked, x  /  0, off, no, false, unchecked  /  2, indeterminate:
//                        clicked until it shows that state
//   radio button         1, on, yes, true, checked: clicked (a radio button is turned off by choosing another)
//   combo box            the item with this text (either case) is chosen (CBN_SELCHANGE); a drop-down combo
//                        with no such item gets the text typed into its edit; a colour combo also takes a
//                        colour it has no item for ("Color 30", "30"), which becomes a recent colour
//   list box             the item with exactly this text is selected (LBN_SELCHANGE when it notifies)
//   slider               a whole number: the position, then WM_HSCROLL (WM_VSCROLL) TB_THUMBPOSITION, TB_ENDTRACK
//   tab control          the tab with that title, or a number counting tabs from 1: clicked
//   a table              (a custom control that answers WM_DRIVER_GETTABLE) "<row> <column> <text>" types the
//                        text into that cell, "<row> <column>" or "<row>" clicks the cell (the row's first
//                        column shown): the row is picked. A row is its number as the table shows it (1 to N:
//                        the heading rows are none), or a text other than a whole number one of its cells shows
//                        (a part's name); a column its number or its heading (either case), never a column of
//                        row numbers. Both in double quotes when they have spaces. The cell is then set as
//                        below, by numbers
//   a custom control     the value is sent to it as WM_DRIVER_SETVALUE (lParam: const std::string*); a control
//                        that answers 1 took it (a table: "<row> <column> <text>" sets that cell, by numbers),
//                        one that answers 0 cannot be set
// Labels, group boxes, pictures and push buttons cannot be set.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/ui/robot.h"

namespace host::ui {

// Asks a custom control to take a value a person would give it (see above). A control that answers it sets the
// value through its own input handling, so its owner hears of the change as from the user's hands.
inline constexpr unsigned WM_DRIVER_SETVALUE = WM_APP + 0x3A0;

// What a table shows, as a person reads it: the answer to WM_DRIVER_GETTABLE.
struct DriverTable {
    // Every row as the control counts them (the heading rows first), each with every column as it counts them
    // (the row-number columns first).
    std::vector<std::vector<std::string>> cells;
    int headingRows = 1;         // rows of headings before the first row of data
    int numberColumns = 1;       // columns of row numbers before the first column of data
    std::vector<bool> hidden;    // per column: true for one the user does not see
    // Per column: the values its cells take when they take one of a list (a choice cell), else empty.
    std::vector<std::vector<std::string>> choices;
};

// Asks a custom control whether it is a table (lParam: DriverTable*); a table fills it in and answers 1. The
// driver then shows it as rows and columns and takes rows and columns by name (see above).
inline constexpr unsigned WM_DRIVER_GETTABLE = WM_APP + 0x3A1;

// A table's text as the driver shows it: a line of headings with the columns' numbers, then a line per row with
// its number, then for each column of choice cells a line with its choices; hidden columns are left out. Each
// line starts with `indent`.
std::string describeTable(const DriverTable& table, std::string_view indent);

// A text of several lines as a terminal shows it: each line on a line of its own after `indent`, each starting
// with "\n" (CR LF, CR and LF all end a line).
std::string textAsLines(std::string_view text, std::string_view indent);
// True when the text holds a line end.
bool hasLineBreak(std::string_view text);

class Dialog;
class Window;

struct DriveResult {
    bool done = true;
    std::string why;  // what stopped the action, in the user's words, when not done
    // Not done, but the action was a person's: the dialog declined it after its own check told the user why
    // (a page that refused to be left, a field check that kept the focus). Otherwise the action itself did not
    // fit the dialog (no such control, no such item, a value the control cannot take).
    bool declined = false;
    static DriveResult ok() { return {}; }
    static DriveResult refused(std::string why) { return {false, std::move(why), false}; }
    static DriveResult declinedByDialog(std::string why) { return {false, std::move(why), true}; }
};

enum class ControlKind {
    Edit,
    MultiLineEdit,
    CheckBox,
    RadioButton,
    PushButton,
    GroupBox,
    Label,
    Picture,
    ComboBox,
    ListBox,
    Slider,
    TabControl,
    Spin,
    Other,  // a class the driver does not know (a custom control)
};

// One control as a person sees it.
struct ControlView {
    Window* control = nullptr;
    ControlKind kind = ControlKind::Other;
    int id = 0;
    std::string label;                 // as shown, '&' marks removed, without a trailing ':'
    std::string value;                 // the text, the chosen item, "1"/"0"/"2" for checks, the position
    std::vector<std::string> choices;  // items of combo and list boxes, tab titles
    bool enabled = true;
    bool readOnly = false;
};

ControlKind controlKind(const Window& control);
// "edit", "check box", "combo box", ... for messages.
std::string_view controlKindName(ControlKind kind);

class DialogDriver {
public:
    explicit DialogDriver(Dialog& dialog);

    Dialog& dialog() const { return dialog_; }
    Robot& robot() { return robot_; }

    // The control a name stands for (see above); nullptr with the reason in `why` when none.
    Window* find(std::string_view name, std::string* why = nullptr) const;
    // The controls a person can see, in the tab order, entering property pages; labels and group boxes included.
    std::vector<Window*> visibleControls() const;
    // What the visible controls show, labels and group boxes left out (they label the others).
    std::vector<ControlView> fields() const;
    ControlView view(Window& control) const;
    // The dialog as text: its caption, one line per field, then the buttons; numbered from 1 when asked (the
    // console user's form, where a number may stand for a field). A dialog without fields (one that only
    // informs) shows the texts of its labels instead.
    std::string describe(bool numbered = false) const;

    DriveResult set(std::string_view name, std::string_view value);
    DriveResult set(Window& control, std::string_view value);
    DriveResult press(std::string_view name);
    DriveResult press(Window& button);
    // A tab of the sheet, or of the dialog's first visible tab control, by title or number (from 1).
    DriveResult selectTab(std::string_view titleOrNumber);
    // Enter and Esc, to the control with the focus (or, when the focus is not in the dialog, to the dialog as
    // its keyboard handling would: the default button, IDCANCEL).
    DriveResult enter();
    DriveResult escape();
    // The dialog's OK: Enter, except where the focus is on another push button (Enter would press that one,
    // say Load after a load): then the default button is clicked.
    DriveResult ok();

    // Clicks a control at its centre, as the mouse would; a control the mouse cannot reach there (covered) is
    // given the focus and sent BM_CLICK instead.
    void click(Window& control);

private:
    DriveResult setEdit(Window& edit, std::string_view value, bool multiLine);
    DriveResult setCheck(Window& box, std::string_view value, bool radio);
    DriveResult setCombo(Window& combo, std::string_view value);
    DriveResult setColour(Window& combo, std::string_view value);
    DriveResult setList(Window& list, std::string_view value);
    DriveResult setSlider(Window& slider, std::string_view value);
    DriveResult setTable(Window& table, const DriverTable& cells, std::string_view value);
    DriveResult chooseTab(Window& tabs, std::string_view titleOrNumber);
    Window* tabControl() const;
    bool focusIsInDialog() const;
    std::string nameOf(const Window& control) const;
    std::string buttonName(const Window& button) const;

    Dialog& dialog_;
    Robot robot_;
};

}  // namespace host::ui
