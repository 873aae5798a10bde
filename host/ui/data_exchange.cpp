// Data exchange between a dialog's fields and its controls, with the checks that refuse a value.
#include "host/ui/data_exchange.h"

#include <utility>

#include "host/sys/number_text.h"
#include "host/ui/desktop.h"
#include "host/ui/dialog.h"
#include "host/ui/message_box.h"

namespace host::ui {

namespace {

std::string_view trimSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

bool isClass(const Window& w, std::string_view base) {
    return w.desktop().classes().isDerivedFrom(w.className(), base);
}

bool isRadioButton(const Window& w) {
    const std::uint32_t type = w.style() & BS_TYPEMASK;
    return isClass(w, kButtonClass) && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

// Sets a control's text only when it differs, so that an unchanged field raises nothing.
void setTextIfDifferent(Window& w, const std::string& text) {
    if (w.text() != text) w.setText(text);
}

// The text of item `index` of a combo or list box (CB_GETLBTEXT / LB_GETTEXT).
std::string itemText(Window& w, unsigned getText, std::intptr_t index) {
    std::string s;
    if (index >= 0) w.send(getText, static_cast<std::uintptr_t>(index), lParamFromPointer(&s));
    return s;
}

// The index of the item whose text is exactly `text` (CB_FINDSTRINGEXACT / LB_FINDSTRINGEXACT), -1 when none.
std::intptr_t findExact(Window& w, unsigned findExactMessage, const std::string& text) {
    const std::intptr_t i =
        w.send(findExactMessage, static_cast<std::uintptr_t>(-1), lParamFromPointer(text.c_str()));
    return i < 0 ? -1 : i;
}

}  // namespace

DataExchange::DataExchange(Dialog& dialog, bool saveAndValidate) : dialog_(dialog), saving_(saveAndValidate) {}

Window* DataExchange::begin(int id) {
    if (failed_) return nullptr;
    Window* w = dialog_.item(id);
    if (!w) {
        refuseAbout(nullptr, sys::formatC("The dialog \"%s\" has no control %d to exchange a value with.",
                                          dialog_.dialogTemplate().caption.c_str(), id));
        return nullptr;
    }
    lastControl_ = w;
    return w;
}

void DataExchange::refuseAbout(Window* control, std::string message) {
    if (failed_) return;
    failed_ = true;
    failure_ = std::move(message);
    failedControl_ = control;
}

void DataExchange::refuse(std::string_view message) {
    refuseAbout(lastControl_, std::string(message));
}

void DataExchange::require(bool ok, std::string_view message) {
    if (saving_ && !failed_ && !ok) refuse(message);
}

void DataExchange::reportFailure() {
    if (!failed_) return;
    messageBox(failure_, dialog_.dialogTemplate().caption, MB_OK | MB_ICONEXCLAMATION, &dialog_);
    if (failedControl_ && dialog_.desktop().isWindow(failedControl_) && failedControl_->isVisible() &&
        failedControl_->isEnabled())
        dialog_.gotoControl(*failedControl_);
}

// [SECTION] Fields

void DataExchange::text(int id, std::string& value) {
    Window* w = begin(id);
    if (!w) return;
    if (saving_)
        value = w->text();
    else
        setTextIfDifferent(*w, value);
}

void DataExchange::integer(int id, int& value) {
    Window* w = begin(id);
    if (!w) return;
    if (!saving_) {
        setTextIfDifferent(*w, std::to_string(value));
        return;
    }
    const auto parsed = sys::parseInteger(trimSpaces(w->text()), INT32_MIN, INT32_MAX);
    if (!parsed.ok()) {
        refuse("Enter an integer.");
        return;
    }
    value = static_cast<int>(parsed.value);
}

void DataExchange::real(int id, double& value, int decimals) {
    Window* w = begin(id);
    if (!w) return;
    if (!saving_) {
        setTextIfDifferent(*w, decimals < 0 ? sys::formatShortest(value) : sys::formatFixed(value, decimals));
        return;
    }
    const auto parsed = sys::parseReal(trimSpaces(w->text()));
    if (!parsed.ok()) {
        refuse("Enter a number.");
        return;
    }
    value = parsed.value;
}

void DataExchange::check(int id, int& state) {
    Window* w = begin(id);
    if (!w) return;
    if (saving_) {
        state = static_cast<int>(w->send(BM_GETCHECK));
    } else if (w->send(BM_GETCHECK) != state) {
        w->send(BM_SETCHECK, static_cast<std::uintptr_t>(state));
    }
}

void DataExchange::check(int id, bool& checked) {
    int state = checked ? BST_CHECKED : BST_UNCHECKED;
    check(id, state);
    if (saving_ && !failed_) checked = state == BST_CHECKED;
}

void DataExchange::radio(int firstId, int& index) {
    Window* first = begin(firstId);
    if (!first) return;
    // The group: this button and the radio buttons after it in the tab order, up to the next WS_GROUP.
    std::vector<Window*> group;
    bool inGroup = false;
    for (Window* w : dialog_.children()) {
        if (w == first) inGroup = true;
        if (!inGroup) continue;
        if (w != first && ((w->style() & WS_GROUP) || !isRadioButton(*w))) break;
        group.push_back(w);
    }
    if (saving_) {
        index = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (group[i]->send(BM_GETCHECK) == BST_CHECKED) index = static_cast<int>(i);
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        const int want = static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED;
        if (group[i]->send(BM_GETCHECK) != want) group[i]->send(BM_SETCHECK, static_cast<std::uintptr_t>(want));
    }
}

void DataExchange::comboText(int id, std::string& value) {
    Window* w = begin(id);
    if (!w) return;
    const bool dropList = (w->style() & 0x3) == CBS_DROPDOWNLIST;
    if (saving_) {
        value = dropList ? itemText(*w, CB_GETLBTEXT, w->send(CB_GETCURSEL)) : w->text();
        return;
    }
    const std::intptr_t found = findExact(*w, CB_FINDSTRINGEXACT, value);
    if (dropList || found >= 0) {
        if (w->send(CB_GETCURSEL) != found) w->send(CB_SETCURSEL, static_cast<std::uintptr_t>(found));
    } else {
        setTextIfDifferent(*w, value);
    }
}

void DataExchange::comboIndex(int id, int& index) {
    Window* w = begin(id);
    if (!w) return;
    if (saving_)
        index = static_cast<int>(w->send(CB_GETCURSEL));
    else if (w->send(CB_GETCURSEL) != index)
        w->send(CB_SETCURSEL, static_cast<std::uintptr_t>(index));
}

void DataExchange::listText(int id, std::string& value) {
    Window* w = begin(id);
    if (!w) return;
    if (saving_) {
        value = itemText(*w, LB_GETTEXT, w->send(LB_GETCURSEL));
        return;
    }
    const std::intptr_t found = findExact(*w, LB_FINDSTRINGEXACT, value);
    if (w->send(LB_GETCURSEL) != found) w->send(LB_SETCURSEL, static_cast<std::uintptr_t>(found));
}

void DataExchange::listIndex(int id, int& index) {
    Window* w = begin(id);
    if (!w) return;
    if (saving_)
        index = static_cast<int>(w->send(LB_GETCURSEL));
    else if (w->send(LB_GETCURSEL) != index)
        w->send(LB_SETCURSEL, static_cast<std::uintptr_t>(index));
}

void DataExchange::slider(int id, int& position) {
    Window* w = begin(id);
    if (!w) return;
    if (saving_)
        position = static_cast<int>(w->send(TBM_GETPOS));
    else if (w->send(TBM_GETPOS) != position)
        w->send(TBM_SETPOS, 1, position);
}

void DataExchange::control(int id, Window& member) {
    if (failed_) return;
    if (!dialog_.bindControl(id, member)) {
        refuseAbout(nullptr, sys::formatC("The dialog \"%s\" cannot bind a member to its control %d.",
                                          dialog_.dialogTemplate().caption.c_str(), id));
        return;
    }
    lastControl_ = &member;
}

// [SECTION] Checks

void DataExchange::range(int value, int min, int max) {
    if (!saving_ || failed_) return;
    if (value < min || value > max) refuse(sys::formatC("Enter an integer between %d and %d.", min, max));
}

void DataExchange::range(double value, double min, double max) {
    if (!saving_ || failed_) return;
    if (value < min || value > max)
        refuse("Enter a number between " + sys::formatShortest(min) + " and " + sys::formatShortest(max) + ".");
}

void DataExchange::maxChars(const std::string& value, std::size_t n) {
    if (!saving_ || failed_) return;
    if (characterCount(value) > n) refuse(sys::formatC("Enter no more than %zu characters.", n));
}

}  // namespace host::ui
