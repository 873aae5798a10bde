// Acting on a dialog as a person would, through the robot, and describing what it shows.
//
// Index: [SECTION] Kinds and names, [SECTION] Finding, [SECTION] Describing, [SECTION] Acting.
#include "host/ui/dialog_driver.h"

#include <algorithm>
#include <functional>

#include "host/sys/encoding.h"
#include "host/sys/number_text.h"
#include "host/sys/text_case.h"
#include "host/ui/colour_combo.h"
#include "host/ui/control_support.h"
#include "host/ui/desktop.h"
#include "host/ui/dialog.h"
#include "host/ui/tab_control.h"
#include "host/ui/text_layout.h"

namespace host::ui {

namespace {

std::string_view trimSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// A label as a person reads it: '&' marks removed, spaces around and a trailing ':' dropped.
std::string shownLabel(std::string_view text) {
    std::string s(trimSpaces(stripPrefix(text)));
    while (!s.empty() && s.back() == ':') s.pop_back();
    return std::string(trimSpaces(s));
}

bool isContainer(const Window& w) {
    return (w.exStyle() & WS_EX_CONTROLPARENT) != 0 || (w.style() & DS_CONTROL) != 0;
}

bool derives(const Window& w, std::string_view base) {
    return w.desktop().classes().isDerivedFrom(w.className(), base);
}

std::optional<int> wholeNumber(std::string_view s) {
    const auto parsed = sys::parseInteger(trimSpaces(s), INT32_MIN, INT32_MAX);
    if (!parsed.ok()) return std::nullopt;
    return static_cast<int>(parsed.value);
}

// The check state a value names: 0, 1, 2, or -1 when it names none.
int checkStateOf(std::string_view value) {
    const std::string v = sys::lowerCase(trimSpaces(value));
    for (std::string_view on : {"1", "on", "yes", "true", "checked", "x"})
        if (v == on) return BST_CHECKED;
    for (std::string_view off : {"0", "off", "no", "false", "unchecked"})
        if (v == off) return BST_UNCHECKED;
    for (std::string_view grey : {"2", "indeterminate", "grey", "gray"})
        if (v == grey) return BST_INDETERMINATE;
    return -1;
}

// A multi-line value of a script: "\n" is a line break (CR LF in the edit), "\\" a backslash.
std::string unescapeLines(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && (value[i + 1] == 'n' || value[i + 1] == '\\')) {
            out += value[i + 1] == 'n' ? "\r\n" : "\\";
            ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}

// A multi-line text on one line, as a script would write it: line breaks as "\n", backslashes doubled.
std::string escapeLines(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\r' || text[i] == '\n')
            out += "\\n";
        else if (text[i] == '\\')
            out += "\\\\";
        else
            out += text[i];
    }
    return out;
}

// The first word of `text`, or its first double-quoted run (quotes taken off); `rest` gets what follows.
std::string firstWord(std::string_view text, std::string_view& rest) {
    text = trimSpaces(text);
    std::string word;
    std::size_t end = 0;
    if (!text.empty() && text.front() == '"') {
        const std::size_t close = text.find('"', 1);
        end = close == std::string_view::npos ? text.size() : close + 1;
        word = std::string(text.substr(1, (close == std::string_view::npos ? text.size() : close) - 1));
    } else {
        end = std::min(text.find_first_of(" \t"), text.size());
        word = std::string(text.substr(0, end));
    }
    rest = trimSpaces(text.substr(end));
    return word;
}

// A heading that wraps over lines, on one line.
std::string oneLineText(std::string_view text) {
    std::string s;
    for (char c : text) {
        if (c == '\r') continue;
        s += c == '\n' ? ' ' : c;
    }
    return s;
}

std::string itemText(Window& w, unsigned getText, std::intptr_t index) {
    std::string s;
    if (index >= 0) w.send(getText, static_cast<std::uintptr_t>(index), lParamFromPointer(&s));
    return s;
}

std::vector<std::string> items(Window& w, unsigned getCount, unsigned getText) {
    std::vector<std::string> out;
    const std::intptr_t n = w.send(getCount);
    for (std::intptr_t i = 0; i < n; ++i) out.push_back(itemText(w, getText, i));
    return out;
}

// "an edit", "a check box".
std::string withArticle(std::string_view noun) {
    const bool vowel = !noun.empty() && std::string_view("aeiou").find(noun.front()) != std::string_view::npos;
    return (vowel ? "an " : "a ") + std::string(noun);
}

std::string joinChoices(const std::vector<std::string>& choices) {
    std::string s;
    for (const std::string& c : choices) s += (s.empty() ? "\"" : ", \"") + c + "\"";
    return s.empty() ? "none" : s;
}

std::vector<std::string> tabTitles(Window& tabs) {
    std::vector<std::string> out;
    const std::intptr_t n = tabs.send(TCM_GETITEMCOUNT);
    for (std::intptr_t i = 0; i < n; ++i) {
        TabItem item;
        item.mask = TCIF_TEXT;
        tabs.send(TCM_GETITEM, static_cast<std::uintptr_t>(i), lParamFromPointer(&item));
        out.push_back(shownLabel(item.text));
    }
    return out;
}

}  // namespace

// A text of several lines as a terminal shows it: each line on its own, after `indent` (CR LF, CR and LF all end a
// line; a line end at the very end starts no empty line).
std::string textAsLines(std::string_view text, std::string_view indent) {
    std::string out;
    std::string line;
    auto flush = [&] {
        out += "\n";
        out += indent;
        out += line;
        line.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            flush();
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) flush();
    return out;
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// [SECTION] Kinds and names

ControlKind controlKind(const Window& w) {
    if (derives(w, kButtonClass)) {
        switch (w.style() & BS_TYPEMASK) {
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE: return ControlKind::CheckBox;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON: return ControlKind::RadioButton;
            case BS_GROUPBOX: return ControlKind::GroupBox;
            default: return ControlKind::PushButton;
        }
    }
    if (derives(w, kEditClass)) return (w.style() & ES_MULTILINE) ? ControlKind::MultiLineEdit : ControlKind::Edit;
    if (derives(w, kStaticClass))
        return (w.style() & SS_TYPEMASK) == SS_BITMAP || (w.style() & SS_TYPEMASK) == SS_ICON ? ControlKind::Picture
                                                                                            : ControlKind::Label;
    if (derives(w, kComboBoxClass)) return ControlKind::ComboBox;
    if (derives(w, kListBoxClass)) return ControlKind::ListBox;
    if (derives(w, kSliderClass)) return ControlKind::Slider;
    if (derives(w, kTabControlClass)) return ControlKind::TabControl;
    if (derives(w, kSpinClass)) return ControlKind::Spin;
    return ControlKind::Other;
}

std::string_view controlKindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit: return "edit";
        case ControlKind::MultiLineEdit: return "multi-line edit";
        case ControlKind::CheckBox: return "check box";
        case ControlKind::RadioButton: return "radio button";
        case ControlKind::PushButton: return "button";
        case ControlKind::GroupBox: return "group box";
        case ControlKind::Label: return "label";
        case ControlKind::Picture: return "picture";
        case ControlKind::ComboBox: return "combo box";
        case ControlKind::ListBox: return "list box";
        case ControlKind::Slider: return "slider";
        case ControlKind::TabControl: return "tab control";
        case ControlKind::Spin: return "spin";
        case ControlKind::Other: return "control";
    }
    return "control";
}

DialogDriver::DialogDriver(Dialog& dialog) : dialog_(dialog), robot_(dialog.desktop()) {}

// [SECTION] Finding

std::vector<Window*> DialogDriver::visibleControls() const {
    std::vector<Window*> out;
    std::function<void(Window&)> walk = [&](Window& parent) {
        for (Window* c : parent.children()) {
            if (!c->isVisible()) continue;
            if (isContainer(*c)) {
                walk(*c);
            } else {
                out.push_back(c);
                // Pages a dialog puts inside its tab control are children of the tab control.
                if (controlKind(*c) == ControlKind::TabControl) walk(*c);
            }
        }
    };
    walk(dialog_);
    return out;
}

std::string DialogDriver::nameOf(const Window& control) const {
    const ControlKind kind = controlKind(control);
    if (kind == ControlKind::PushButton) return buttonName(control);
    if (kind == ControlKind::CheckBox || kind == ControlKind::RadioButton || kind == ControlKind::PushButton ||
        kind == ControlKind::GroupBox || kind == ControlKind::Label)
        return shownLabel(control.text());
    // The label just before the control in the tab order names it.
    const std::vector<Window*> all = visibleControls();
    auto at = std::find(all.begin(), all.end(), &control);
    if (at == all.end()) return {};
    // Without a label, the title of the group box it opens names it (the job path under "File Nesting").
    std::string group;
    while (at != all.begin()) {
        --at;
        const ControlKind before = controlKind(**at);
        if (before == ControlKind::Label) return shownLabel((*at)->text());
        if (before == ControlKind::GroupBox && group.empty()) group = shownLabel((*at)->text());
        if (before != ControlKind::GroupBox && before != ControlKind::Picture) break;
    }
    return group;
}

std::string DialogDriver::buttonName(const Window& button) const {
    const std::string own = shownLabel(button.text());
    const std::vector<Window*> all = visibleControls();
    const bool shared = std::any_of(all.begin(), all.end(), [&](const Window* c) {
        return c != &button && controlKind(*c) == ControlKind::PushButton &&
               sys::equalsNoCase(shownLabel(c->text()), own);
    });
    if (!shared) return own;
    // Buttons of one text are told apart by what they serve: the label on their row, to their left ("Select..."
    // beside two fields), else the title of the group box they stand in ("Insert" in "Automatic" and "Manual").
    const Rect at = button.windowRect();
    const Window* label = nullptr;
    const Window* group = nullptr;
    for (const Window* c : all) {
        const ControlKind kind = controlKind(*c);
        if (shownLabel(c->text()).empty()) continue;
        const Rect r = c->windowRect();
        if (kind == ControlKind::Label && r.right <= at.left && r.top < at.bottom && at.top < r.bottom &&
            (!label || r.right > label->windowRect().right))
            label = c;
        if (kind == ControlKind::GroupBox && r.encloses(at) &&
            (!group || group->windowRect().encloses(r)))
            group = c;
    }
    if (label) return own + " (" + shownLabel(label->text()) + ")";
    if (group) return own + " (" + shownLabel(group->text()) + ")";
    return own + " (#" + std::to_string(button.id()) + ")";
}

Window* DialogDriver::find(std::string_view name, std::string* why) const {
    const std::string_view wanted = trimSpaces(name);
    const std::vector<Window*> all = visibleControls();
    if (const auto id = wholeNumber(wanted)) {
        // A page may reuse an id of the dialog around it: the id names the control of the page the user sees.
        Window* first = nullptr;
        for (Window* c : all) {
            if (c->id() != *id) continue;
            if (c->parent() != &dialog_) return c;
            if (!first) first = c;
        }
        if (first) return first;
    }
    const std::string label = shownLabel(wanted);
    if (!label.empty()) {
        // Controls that take a value or a press first, so "Quantity" finds the edit and not its label.
        for (Window* c : all) {
            const ControlKind k = controlKind(*c);
            if (k == ControlKind::Label || k == ControlKind::GroupBox || k == ControlKind::Picture) continue;
            if (sys::equalsNoCase(nameOf(*c), label)) return c;
        }
        for (Window* c : all)
            if (sys::equalsNoCase(nameOf(*c), label)) return c;
    }
    if (why && !label.empty()) {
        // A text that several buttons show: the user is told the names that tell them apart.
        std::string names;
        int shared = 0;
        for (Window* c : all) {
            if (controlKind(*c) != ControlKind::PushButton || !sys::equalsNoCase(shownLabel(c->text()), label)) continue;
            names += (shared++ ? " or \"" : "\"") + nameOf(*c) + "\"";
        }
        if (shared > 1) {
            *why = "The dialog \"" + dialog_.text() + "\" has " + std::to_string(shared) + " buttons \"" +
                   std::string(wanted) + "\": name one as " + names + ".";
            return nullptr;
        }
    }
    if (why) {
        const auto id = wholeNumber(wanted);
        const bool hidden = id && *id != kNoControlId && dialog_.item(*id) != nullptr;
        *why = "The dialog \"" + dialog_.text() + "\" shows no control \"" + std::string(wanted) + "\"" +
               (hidden ? " (it is hidden)." : ".");
    }
    return nullptr;
}

// [SECTION] Describing

ControlView DialogDriver::view(Window& control) const {
    ControlView v;
    v.control = &control;
    v.kind = controlKind(control);
    v.id = control.id();
    v.label = nameOf(control);
    v.enabled = control.isEnabled();
    switch (v.kind) {
        case ControlKind::Edit:
        case ControlKind::MultiLineEdit:
            v.value = control.text();
            v.readOnly = (control.style() & ES_READONLY) != 0;
            break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: v.value = std::to_string(control.send(BM_GETCHECK)); break;
        case ControlKind::ComboBox:
            v.choices = items(control, CB_GETCOUNT, CB_GETLBTEXT);
            v.value = (control.style() & 0x3) == CBS_DROPDOWNLIST
                          ? itemText(control, CB_GETLBTEXT, control.send(CB_GETCURSEL))
                          : control.text();
            break;
        case ControlKind::ListBox:
            v.choices = items(control, LB_GETCOUNT, LB_GETTEXT);
            v.value = itemText(control, LB_GETTEXT, control.send(LB_GETCURSEL));
            break;
        case ControlKind::Slider: v.value = std::to_string(control.send(TBM_GETPOS)); break;
        case ControlKind::TabControl: {
            v.choices = tabTitles(control);
            const std::intptr_t i = control.send(TCM_GETCURSEL);
            if (i >= 0 && static_cast<std::size_t>(i) < v.choices.size())
                v.value = v.choices[static_cast<std::size_t>(i)];
            break;
        }
        case ControlKind::Spin: v.value = std::to_string(control.send(UDM_GETPOS32)); break;
        default: v.value = shownLabel(control.text()); break;
    }
    return v;
}

std::vector<ControlView> DialogDriver::fields() const {
    std::vector<ControlView> out;
    for (Window* c : visibleControls()) {
        const ControlKind k = controlKind(*c);
        if (k == ControlKind::Label || k == ControlKind::GroupBox || k == ControlKind::Picture) continue;
        out.push_back(view(*c));
    }
    return out;
}

std::string DialogDriver::describe(bool numbered) const {
    std::string out = "Dialog \"" + dialog_.text() + "\"";
    std::string buttons;
    int number = 0;
    bool anyField = false;
    for (const ControlView& f : fields()) {
        if (f.kind == ControlKind::PushButton) {
            buttons += " [" + f.label + (f.enabled ? "" : ", disabled") + "]";
            continue;
        }
        anyField = true;
        out += "\n  ";
        if (numbered) out += std::to_string(++number) + ". ";
        const std::string name = f.label.empty() ? "#" + std::to_string(f.id) : f.label;
        const std::string mark = !f.enabled ? " (disabled)" : f.readOnly ? " (read-only)" : "";
        bool marked = false;
        switch (f.kind) {
            case ControlKind::CheckBox:
                out += (f.value == "1" ? "[x] " : f.value == "2" ? "[-] " : "[ ] ") + name;
                break;
            case ControlKind::RadioButton: out += (f.value == "1" ? "(o) " : "( ) ") + name; break;
            case ControlKind::TabControl:
                out += "tabs: " + joinChoices(f.choices) + ", showing \"" + f.value + "\"";
                break;
            case ControlKind::ComboBox:
            case ControlKind::ListBox:
                out += name + ": \"" + f.value + "\" of " + joinChoices(f.choices);
                break;
            case ControlKind::MultiLineEdit:
                // At a terminal a report reads as its lines; a script's listing keeps the line it would set.
                if (numbered && hasLineBreak(f.value))
                    out += name + mark + ":" + textAsLines(f.value, "       "), marked = true;
                else
                    out += name + ": \"" + escapeLines(f.value) + "\"";
                break;
            case ControlKind::Other: {
                DriverTable table;
                if (f.control->send(WM_DRIVER_GETTABLE, 0, lParamFromPointer(&table)) == 1) {
                    const std::size_t data =
                        table.cells.size() > std::size_t(table.headingRows) ? table.cells.size() - std::size_t(table.headingRows) : 0;
                    out += name + ": table of " + std::to_string(data) + (data == 1 ? " row" : " rows") +
                           " (set it with <row> <column> <text>, or <row> to pick a row)\n" +
                           describeTable(table, "       ");
                    if (!out.empty() && out.back() == '\n') out.pop_back();
                } else {
                    out += name + ": \"" + f.value + "\"";
                }
                break;
            }
            default:
                if (numbered && hasLineBreak(f.value))
                    out += name + mark + ":" + textAsLines(f.value, "       "), marked = true;
                else
                    out += name + ": \"" + f.value + "\"";
                break;
        }
        // A text shown as its lines carries the mark by its name: after its last line it read as part of the text.
        if (!marked) out += mark;
    }
    // A dialog that only informs (an About box) has no field to set: its texts are what it has to say, and
    // without them it showed as an empty dialog.
    if (!anyField) {
        for (Window* c : visibleControls()) {
            if (controlKind(*c) != ControlKind::Label) continue;
            const std::string text = shownLabel(c->text());
            if (!text.empty()) out += textAsLines(text, "  ");
        }
    }
    if (!buttons.empty()) out += "\n  Buttons:" + buttons;
    return out;
}

std::string describeTable(const DriverTable& table, std::string_view indent) {
    // A cell longer than this is cut, with "..." after it, so a row stays readable on a terminal.
    constexpr std::size_t kShownCell = 32;
    const int rows = static_cast<int>(table.cells.size());
    const int columns = table.cells.empty() ? 0 : static_cast<int>(table.cells.front().size());
    auto shown = [&](int c) { return c >= static_cast<int>(table.hidden.size()) || !table.hidden[std::size_t(c)]; };
    auto cut = [&](std::string s) {
        s = oneLineText(s);
        if (sys::utf8CharacterCount(s) > kShownCell) s = std::string(sys::utf8Prefix(s, kShownCell - 3)) + "...";
        return s;
    };
    // The lines as cells: the headings (with the columns' numbers), then each row of data after its number.
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> head{"#"};
    for (int c = table.numberColumns; c < columns; ++c) {
        if (!shown(c)) continue;
        std::string heading;
        for (int h = 0; h < table.headingRows && h < rows; ++h) {
            const std::string part = oneLineText(table.cells[std::size_t(h)][std::size_t(c)]);
            if (!part.empty()) heading += (heading.empty() ? "" : " ") + part;
        }
        head.push_back(std::to_string(c) + ":" + cut(heading));
    }
    lines.push_back(head);
    for (int r = table.headingRows; r < rows; ++r) {
        const auto& row = table.cells[std::size_t(r)];
        std::vector<std::string> line{std::to_string(r)};
        for (int c = table.numberColumns; c < columns; ++c)
            if (shown(c)) line.push_back(cut(c < static_cast<int>(row.size()) ? row[std::size_t(c)] : std::string()));
        lines.push_back(line);
    }
    std::vector<std::size_t> widths;
    for (const auto& line : lines)
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (widths.size() <= i) widths.push_back(0);
            widths[i] = std::max(widths[i], sys::utf8CharacterCount(line[i]));
        }
    std::string out;
    for (const auto& line : lines) {
        std::string text(indent);
        for (std::size_t i = 0; i < line.size(); ++i) {
            text += line[i];
            if (i + 1 < line.size()) text += std::string(widths[i] - sys::utf8CharacterCount(line[i]), ' ') + " | ";
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out += text + "\n";
    }
    // The choices are shown whole: a cell takes nothing else, so a script writer needs every one of them.
    for (int c = table.numberColumns; c < columns && c < static_cast<int>(table.choices.size()); ++c) {
        const auto& choices = table.choices[std::size_t(c)];
        if (!shown(c) || choices.empty()) continue;
        std::string heading;
        for (int h = 0; h < table.headingRows && h < rows; ++h) {
            const std::string part = oneLineText(table.cells[std::size_t(h)][std::size_t(c)]);
            if (!part.empty()) heading += (heading.empty() ? "" : " ") + part;
        }
        std::string list;
        for (const std::string& choice : choices) list += (list.empty() ? "" : ", ") + oneLineText(choice);
        out += std::string(indent) + std::to_string(c) + ":" + heading + " takes one of: " + list + "\n";
    }
    return out;
}

// [SECTION] Acting

void DialogDriver::click(Window& control) {
    const Rect client = control.clientRect();
    const Point centre = control.clientToScreen(client.center());
    Window* hit = control.desktop().windowFromPoint(centre);
    if (hit && (hit == &control || hit->isDescendantOf(control))) {
        robot_.click(centre);
        return;
    }
    control.setFocus();
    if (control.exists()) control.send(BM_CLICK);
    control.desktop().pumpUntilIdle();
}

bool DialogDriver::focusIsInDialog() const {
    Window* f = dialog_.desktop().focus();
    return f && (f == &dialog_ || f->isDescendantOf(dialog_));
}

DriveResult DialogDriver::set(std::string_view name, std::string_view value) {
    std::string why;
    Window* control = find(name, &why);
    if (!control) return DriveResult::refused(why);
    return set(*control, value);
}

DriveResult DialogDriver::set(Window& control, std::string_view value) {
    const ControlKind kind = controlKind(control);
    const std::string name = nameOf(control).empty() ? "#" + std::to_string(control.id()) : nameOf(control);
    if (!control.isEnabled())
        return DriveResult::refused("The " + std::string(controlKindName(kind)) + " \"" + name + "\" is disabled.");
    switch (kind) {
        case ControlKind::Edit: return setEdit(control, value, false);
        case ControlKind::MultiLineEdit: return setEdit(control, value, true);
        case ControlKind::CheckBox: return setCheck(control, value, false);
        case ControlKind::RadioButton: return setCheck(control, value, true);
        case ControlKind::ComboBox: return setCombo(control, value);
        case ControlKind::ListBox: return setList(control, value);
        case ControlKind::Slider: return setSlider(control, value);
        case ControlKind::TabControl: return chooseTab(control, value);
        case ControlKind::PushButton:
            return DriveResult::refused("\"" + name + "\" is a button: press it instead of setting it.");
        case ControlKind::Spin:
            return DriveResult::refused("\"" + name + "\" is a spin: set the edit beside it instead.");
        default: {
            DriverTable table;
            if (control.send(WM_DRIVER_GETTABLE, 0, lParamFromPointer(&table)) == 1)
                return setTable(control, table, value);
            const std::string text(value);
            if (control.send(WM_DRIVER_SETVALUE, 0, lParamFromPointer(&text)) == 1) return DriveResult::ok();
            return DriveResult::refused("The " + std::string(controlKindName(kind)) + " \"" + name + "\" (class " +
                                        control.className() + ") cannot be set.");
        }
    }
}

DriveResult DialogDriver::setEdit(Window& edit, std::string_view value, bool multiLine) {
    if (edit.style() & ES_READONLY)
        return DriveResult::refused("The edit \"" + nameOf(edit) + "\" is read-only.");
    click(edit);
    if (!edit.exists()) return DriveResult::ok();
    if (!edit.hasFocus()) {
        // A check elsewhere kept the focus (its message box was answered): the value is not typed.
        return DriveResult::declinedByDialog("The edit \"" + nameOf(edit) + "\" did not get the focus.");
    }
    // The value goes in as one replacement, as a paste would put it: the field's checks run once, on the whole
    // value (a refused value leaves the previous text whole, never a prefix of the value), and a long value costs
    // its length, not its length squared.
    std::string text = multiLine ? unescapeLines(value) : std::string(value);
    if (!multiLine) text = text.substr(0, text.find_first_of("\r\n"));
    const std::size_t characters = sys::utf8CharacterCount(text);
    const auto limit = static_cast<std::size_t>(std::max<std::intptr_t>(0, edit.send(EM_GETLIMITTEXT)));
    if (characters > limit)
        return DriveResult::refused("The edit \"" + nameOf(edit) + "\" takes at most " + std::to_string(limit) +
                                    " characters; the value has " + std::to_string(characters) +
                                    ". The field keeps its value.");
    if ((edit.style() & ES_NUMBER) && text.find_first_not_of("0123456789") != std::string::npos)
        return DriveResult::refused("The edit \"" + nameOf(edit) + "\" takes digits only, not \"" + text +
                                    "\". The field keeps its value.");
    edit.send(EM_SETSEL, 0, -1);
    if (value.empty()) {
        robot_.key(VK_DELETE);
        return DriveResult::ok();
    }
    if (edit.exists()) edit.send(EM_REPLACESEL, 1, lParamFromPointer(text.c_str()));
    dialog_.desktop().pumpUntilIdle();
    return DriveResult::ok();
}

DriveResult DialogDriver::setCheck(Window& box, std::string_view value, bool radio) {
    const int wanted = checkStateOf(value);
    if (wanted < 0)
        return DriveResult::refused("\"" + std::string(value) + "\" is not a state of the " +
                                    (radio ? "radio button" : "check box") + " \"" + nameOf(box) +
                                    "\": use 1 or 0 (on or off).");
    if (radio && wanted != BST_CHECKED)
        return DriveResult::refused("The radio button \"" + nameOf(box) +
                                    "\" is turned off by choosing another of its group.");
    // A three-state box steps through three states: at most two further clicks reach any of them.
    for (int clicks = 0; clicks < 3 && box.exists() && box.send(BM_GETCHECK) != wanted; ++clicks) click(box);
    if (box.exists() && box.send(BM_GETCHECK) != wanted)
        return DriveResult::declinedByDialog("The " + std::string(radio ? "radio button" : "check box") + " \"" +
                                             nameOf(box) + "\" does not take that state.");
    return DriveResult::ok();
}

DriveResult DialogDriver::setCombo(Window& combo, std::string_view value) {
    const std::string text(value);
    const std::intptr_t found =
        combo.send(CB_FINDSTRINGEXACT, static_cast<std::uintptr_t>(-1), lParamFromPointer(text.c_str()));
    const bool dropList = (combo.style() & 0x3) == CBS_DROPDOWNLIST;
    if (found < 0 && derives(combo, kColourComboClass)) return setColour(combo, value);
    if (found < 0 && dropList)
        return DriveResult::refused("The combo box \"" + nameOf(combo) + "\" has no item \"" + text + "\"; it has " +
                                    joinChoices(items(combo, CB_GETCOUNT, CB_GETLBTEXT)) + ".");
    if (found < 0) {
        Window* edit = combo.child(kComboEditId);
        if (!edit) return DriveResult::refused("The combo box \"" + nameOf(combo) + "\" has no edit to type into.");
        return setEdit(*edit, value, false);
    }
    dialog_.gotoControl(combo);
    if (!combo.exists()) return DriveResult::ok();
    if (combo.send(CB_GETCURSEL) != found) {
        combo.send(CB_SETCURSEL, static_cast<std::uintptr_t>(found));
        notifyCommand(combo, CBN_SELCHANGE);
    }
    dialog_.desktop().pumpUntilIdle();
    return DriveResult::ok();
}

DriveResult DialogDriver::setColour(Window& combo, std::string_view value) {
    // A colour with no item of its own ("Color 30", "30") is chosen as the colour dialog would add it: it
    // becomes a recent colour and the current item.
    const std::string text(value);
    dialog_.gotoControl(combo);
    if (!combo.exists()) return DriveResult::ok();
    const std::intptr_t before = combo.send(CB_GETCURSEL);
    if (combo.send(WM_SETTEXT, 0, lParamFromPointer(text.c_str())) == CB_ERR)
        return DriveResult::refused("The colour combo box \"" + nameOf(combo) + "\" has no colour \"" + text +
                                    "\"; it takes a colour's name or \"Color 1\" to \"Color 255\".");
    if (combo.send(CB_GETCURSEL) != before || before < 0) notifyCommand(combo, CBN_SELCHANGE);
    dialog_.desktop().pumpUntilIdle();
    return DriveResult::ok();
}

DriveResult DialogDriver::setList(Window& list, std::string_view value) {
    const std::string text(value);
    const std::intptr_t found =
        list.send(LB_FINDSTRINGEXACT, static_cast<std::uintptr_t>(-1), lParamFromPointer(text.c_str()));
    if (found < 0)
        return DriveResult::refused("The list box \"" + nameOf(list) + "\" has no item \"" + text + "\"; it has " +
                                    joinChoices(items(list, LB_GETCOUNT, LB_GETTEXT)) + ".");
    dialog_.gotoControl(list);
    if (!list.exists()) return DriveResult::ok();
    if (list.send(LB_GETCURSEL) != found) {
        list.send(LB_SETCURSEL, static_cast<std::uintptr_t>(found));
        if (list.style() & LBS_NOTIFY) notifyCommand(list, LBN_SELCHANGE);
    }
    dialog_.desktop().pumpUntilIdle();
    return DriveResult::ok();
}

DriveResult DialogDriver::setSlider(Window& slider, std::string_view value) {
    const auto position = wholeNumber(value);
    if (!position)
        return DriveResult::refused("The slider \"" + nameOf(slider) + "\" takes a whole number, not \"" +
                                    std::string(value) + "\".");
    const auto low = slider.send(TBM_GETRANGEMIN), high = slider.send(TBM_GETRANGEMAX);
    if (*position < low || *position > high)
        return DriveResult::refused("The slider \"" + nameOf(slider) + "\" goes from " + std::to_string(low) + " to " +
                                    std::to_string(high) + ", not to " + std::to_string(*position) + ".");
    dialog_.gotoControl(slider);
    if (!slider.exists()) return DriveResult::ok();
    slider.send(TBM_SETPOS, 1, *position);
    const int shown = static_cast<int>(slider.send(TBM_GETPOS));
    Window* owner = slider.ownerOrParent();
    const unsigned scroll = (slider.style() & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    if (owner) {
        owner->send(scroll, makeWParam(TB_THUMBPOSITION, shown), lParamFromPointer(&slider));
        if (slider.exists()) owner->send(scroll, makeWParam(TB_ENDTRACK, 0), lParamFromPointer(&slider));
    }
    dialog_.desktop().pumpUntilIdle();
    return DriveResult::ok();
}

DriveResult DialogDriver::setTable(Window& control, const DriverTable& table, std::string_view value) {
    const std::string name = nameOf(control).empty() ? "#" + std::to_string(control.id()) : nameOf(control);
    const int rows = static_cast<int>(table.cells.size());
    const int columns = table.cells.empty() ? 0 : static_cast<int>(table.cells.front().size());
    auto shown = [&](int c) { return c >= static_cast<int>(table.hidden.size()) || !table.hidden[std::size_t(c)]; };
    auto cell = [&](int r, int c) -> std::string {
        const auto& row = table.cells[std::size_t(r)];
        return c < static_cast<int>(row.size()) ? row[std::size_t(c)] : std::string();
    };
    std::string_view rest = value;
    const std::string rowWord = firstWord(rest, rest);
    const std::string columnWord = firstWord(rest, rest);
    if (rowWord.empty())
        return DriveResult::refused("The table \"" + name + "\" takes <row> [<column> [<text>]].");

    int row = -1;
    // Rows are numbered as the table shows them: its rows of data only. The heading rows are no row to set or
    // to pick (a number of one is refused, as any other number outside the rows is).
    // A number names a row by its number only: "0" found the first row whose grain angle shows 0.
    const auto rowNumber = wholeNumber(rowWord);
    if (rowNumber && *rowNumber >= table.headingRows && *rowNumber < rows) row = *rowNumber;
    for (int r = table.headingRows; r < rows && row < 0 && !rowNumber; ++r)
        for (int c = table.numberColumns; c < columns && row < 0; ++c)
            if (shown(c) && !cell(r, c).empty() && sys::equalsNoCase(trimSpaces(cell(r, c)), rowWord)) row = r;
    if (row < 0) {
        const int data = rows - table.headingRows;
        return DriveResult::refused(
            "The table \"" + name + "\" has no row \"" + rowWord + "\"; " +
            (data <= 0 ? std::string("it has no rows.")
                       : "its rows are " + std::to_string(table.headingRows) + " to " + std::to_string(rows - 1) +
                             ", or a name one of their cells shows."));
    }

    int column = -1;
    if (columnWord.empty()) {
        for (int c = table.numberColumns; c < columns && column < 0; ++c)
            if (shown(c)) column = c;
    } else {
        // The row-number columns show the rows' numbers: no column to set.
        if (const auto n = wholeNumber(columnWord); n && *n >= table.numberColumns && *n < columns) column = *n;
        for (int c = table.numberColumns; c < columns && column < 0; ++c) {
            if (!shown(c)) continue;
            for (int h = 0; h < table.headingRows && column < 0; ++h)
                if (sys::equalsNoCase(shownLabel(oneLineText(cell(h, c))), shownLabel(columnWord))) column = c;
        }
        if (column < 0) {
            std::string headings;
            for (int c = table.numberColumns; c < columns; ++c) {
                if (!shown(c)) continue;
                headings += (headings.empty() ? "" : ", ") + std::to_string(c) + " \"" +
                            (table.headingRows > 0 ? oneLineText(cell(table.headingRows - 1, c)) : std::string()) +
                            "\"";
            }
            return DriveResult::refused("The table \"" + name + "\" has no column \"" + columnWord +
                                        "\"; its columns are " + headings + ".");
        }
    }
    if (column < 0) return DriveResult::refused("The table \"" + name + "\" shows no column to click.");

    std::string text(trimSpaces(rest));
    std::string byNumbers = std::to_string(row) + " " + std::to_string(column);
    if (!text.empty()) byNumbers += " " + text;
    if (control.send(WM_DRIVER_SETVALUE, 0, lParamFromPointer(&byNumbers)) == 1) {
        dialog_.desktop().pumpUntilIdle();
        return DriveResult::ok();
    }
    const std::string heading =
        table.headingRows > 0 ? oneLineText(cell(table.headingRows - 1, column)) : std::to_string(column);
    return DriveResult::refused("The cell of row " + std::to_string(row) + ", column \"" + heading +
                                "\" of the table \"" + name + "\" cannot be set (it is read-only).");
}

DriveResult DialogDriver::press(std::string_view name) {
    std::string why;
    Window* control = find(name, &why);
    if (!control) return DriveResult::refused(why);
    return press(*control);
}

DriveResult DialogDriver::press(Window& button) {
    const ControlKind kind = controlKind(button);
    const std::string name = nameOf(button).empty() ? "#" + std::to_string(button.id()) : nameOf(button);
    if (kind != ControlKind::PushButton && kind != ControlKind::CheckBox && kind != ControlKind::RadioButton)
        return DriveResult::refused("\"" + name + "\" is " + withArticle(controlKindName(kind)) + ", not a button.");
    if (!button.isEnabled()) return DriveResult::refused("The button \"" + name + "\" is disabled.");
    click(button);
    return DriveResult::ok();
}

Window* DialogDriver::tabControl() const {
    for (Window* c : visibleControls())
        if (controlKind(*c) == ControlKind::TabControl) return c;
    return nullptr;
}

DriveResult DialogDriver::selectTab(std::string_view titleOrNumber) {
    Window* tabs = tabControl();
    if (!tabs) return DriveResult::refused("The dialog \"" + dialog_.text() + "\" has no tabs.");
    return chooseTab(*tabs, titleOrNumber);
}

DriveResult DialogDriver::chooseTab(Window& tabs, std::string_view titleOrNumber) {
    const std::vector<std::string> titles = tabTitles(tabs);
    const std::string wanted = shownLabel(titleOrNumber);
    int index = -1;
    for (std::size_t i = 0; i < titles.size() && index < 0; ++i)
        if (sys::equalsNoCase(titles[i], wanted)) index = static_cast<int>(i);
    if (index < 0) {
        if (const auto n = wholeNumber(wanted); n && *n >= 1 && static_cast<std::size_t>(*n) <= titles.size())
            index = *n - 1;
    }
    if (index < 0)
        return DriveResult::refused("There is no tab \"" + std::string(titleOrNumber) + "\"; the tabs are " +
                                    joinChoices(titles) + ".");
    if (tabs.send(TCM_GETCURSEL) == index) return DriveResult::ok();
    Rect item{};
    tabs.send(TCM_GETITEMRECT, static_cast<std::uintptr_t>(index), lParamFromPointer(&item));
    const Point centre = tabs.clientToScreen(item.center());
    Window* hit = tabs.desktop().windowFromPoint(centre);
    if (!item.isEmpty() && hit && (hit == &tabs || hit->isDescendantOf(tabs))) {
        robot_.click(centre);
    } else {
        tabs.setFocus();
        NotifyHeader changing;
        if (notifyOwner(tabs, changing, TCN_SELCHANGING) == 0 && tabs.exists()) {
            tabs.send(TCM_SETCURSEL, static_cast<std::uintptr_t>(index));
            NotifyHeader changed;
            notifyOwner(tabs, changed, TCN_SELCHANGE);
        }
        dialog_.desktop().pumpUntilIdle();
    }
    if (tabs.exists() && tabs.send(TCM_GETCURSEL) != index)
        return DriveResult::declinedByDialog("The tab \"" + titles[static_cast<std::size_t>(index)] +
                                             "\" was not opened: the page shown refused to be left.");
    return DriveResult::ok();
}

DriveResult DialogDriver::enter() {
    if (focusIsInDialog()) {
        robot_.key(VK_RETURN);
        return DriveResult::ok();
    }
    const std::intptr_t answer = dialog_.send(DM_GETDEFID);
    const int id = static_cast<unsigned>(hiWord(answer)) == DC_HASDEFID ? loWord(answer) : IDOK;
    Window* button = dialog_.item(id);
    if (button && !button->isEnabled()) return DriveResult::refused("The default button is disabled.");
    dialog_.send(WM_COMMAND, makeWParam(id, BN_CLICKED), lParamFromPointer(button));
    dialog_.desktop().pumpUntilIdle();
    return DriveResult::ok();
}

DriveResult DialogDriver::ok() {
    Window* focus = dialog_.desktop().focus();
    const std::intptr_t answer = dialog_.send(DM_GETDEFID);
    const int id = static_cast<unsigned>(hiWord(answer)) == DC_HASDEFID ? loWord(answer) : IDOK;
    Window* button = dialog_.item(id);
    if (focusIsInDialog() && focus != button && controlKind(*focus) == ControlKind::PushButton && button &&
        button->isVisible())
        return press(*button);
    return enter();
}

DriveResult DialogDriver::escape() {
    if (focusIsInDialog()) {
        robot_.key(VK_ESCAPE);
        return DriveResult::ok();
    }
    dialog_.send(WM_COMMAND, makeWParam(IDCANCEL, BN_CLICKED), lParamFromPointer(dialog_.item(IDCANCEL)));
    dialog_.desktop().pumpUntilIdle();
    return DriveResult::ok();
}

}  // namespace host::ui
