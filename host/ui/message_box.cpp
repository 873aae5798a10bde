// Message boxes: the box's layout and buttons, its answers, and the log of boxes shown.
#include "host/ui/message_box.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "host/sys/version.h"
#include "host/ui/desktop.h"
#include "host/ui/text_layout.h"

namespace host::ui {

namespace {

// Layout of a box, in pixels: margins round everything, the icon's side, the buttons' size and the gap between
// them (the proportions of the system's boxes at the default font).
constexpr int kMargin = 12;
constexpr int kIconSide = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kMinTextWidth = 120;

std::string& applicationNameSlot() {
    static std::string name(sys::kProductName);
    return name;
}

struct AnswerName {
    int id;
    std::string_view name;   // as the transcript and scripts spell it
    std::string_view label;  // on the button, with its mnemonic
};

constexpr AnswerName kAnswers[] = {
    {IDOK, "OK", "OK"},
    {IDCANCEL, "Cancel", "Cancel"},
    {IDABORT, "Abort", "&Abort"},
    {IDRETRY, "Retry", "&Retry"},
    {IDIGNORE, "Ignore", "&Ignore"},
    {IDYES, "Yes", "&Yes"},
    {IDNO, "No", "&No"},
    {IDCLOSE, "Close", "&Close"},
    {IDHELP, "Help", "Help"},
    {IDTRYAGAIN, "Try Again", "&Try Again"},
    {IDCONTINUE, "Continue", "&Continue"},
};

std::string_view buttonLabel(int id) {
    for (const AnswerName& a : kAnswers)
        if (a.id == id) return a.label;
    return {};
}

std::vector<MessageBoxRecord>& log() {
    static std::vector<MessageBoxRecord> records;
    return records;
}

// Letters only, lower case: "Try Again" and "tryagain" are the same name.
std::string squeezed(std::string_view s) {
    std::string out;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalpha(u)) out += static_cast<char>(std::tolower(u));
    }
    return out;
}

// The buttons of a box: its answers, then Help.
std::vector<int> buttonsOf(unsigned style) {
    std::vector<int> ids = messageBoxAnswers(style);
    if (style & MB_HELP) ids.push_back(IDHELP);
    return ids;
}

DialogTemplate layoutBox(const std::string& text, const std::string& caption, unsigned style, Rect& iconRect) {
    Desktop& d = dialogDesktop();
    const LogFont font = d.system().messageFont();
    const TextMeasurer measurer = d.textMeasurer();
    const bool hasIcon = (style & MB_ICONMASK) != 0;

    const TextLayout wrapped = layoutText(text, Rect{0, 0, kMaxTextWidth, 1 << 20},
                                          DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_CALCRECT, font, measurer);
    const int textWidth = std::clamp(wrapped.extent.width(), kMinTextWidth, kMaxTextWidth);
    const int lineHeight = measureMetrics(measurer, font).height;
    const int textHeight = std::max(wrapped.extent.height(), lineHeight);

    const int textLeft = kMargin + (hasIcon ? kIconSide + kMargin : 0);
    const int contentHeight = std::max(textHeight, hasIcon ? kIconSide : 0);
    const std::vector<int> buttons = buttonsOf(style);
    const int buttonsWidth = static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    const int width = std::max(textLeft + textWidth + kMargin, buttonsWidth + 2 * kMargin);
    const int buttonsTop = kMargin + contentHeight + kMargin;
    const int height = buttonsTop + kButtonHeight + kMargin;

    DialogTemplate t(caption, width, height, TemplateUnits::Pixels);
    t.style = DialogTemplate::kModalStyle | DS_CENTER;
    iconRect = hasIcon ? Rect::fromSize(kMargin, kMargin, kIconSide, kIconSide) : Rect{};
    const int textTop = kMargin + (contentHeight - textHeight) / 2;
    t.control(kStaticClass, kMessageBoxTextId, text, {textLeft, textTop, textWidth, textHeight},
              SS_LEFT | SS_NOPREFIX);

    const unsigned defaultIndex = (style & MB_DEFMASK) >> 8;
    int x = (width - buttonsWidth) / 2;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const bool isDefault = i == (defaultIndex < buttons.size() ? defaultIndex : 0);
        const std::uint32_t type = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        t.control(kButtonClass, buttons[i], buttonLabel(buttons[i]), {x, buttonsTop, kButtonWidth, kButtonHeight},
                  type | WS_TABSTOP | (i == 0 ? WS_GROUP : 0));
        x += kButtonWidth + kButtonGap;
    }
    return t;
}

}  // namespace

// [SECTION] Answers

std::vector<int> messageBoxAnswers(unsigned style) {
    switch (style & MB_TYPEMASK) {
        case MB_OKCANCEL: return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO: return {IDYES, IDNO};
        case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
        case MB_CANCELTRYCONTINUE: return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
        default: return {IDOK};
    }
}

std::string_view answerName(int id) {
    for (const AnswerName& a : kAnswers)
        if (a.id == id) return a.name;
    return {};
}

int answerFromName(std::string_view name) {
    const std::string wanted = squeezed(name);
    if (wanted.empty()) return 0;
    for (const AnswerName& a : kAnswers)
        if (squeezed(a.name) == wanted) return a.id;
    return 0;
}

const std::vector<MessageBoxRecord>& messageBoxLog() {
    return log();
}

void clearMessageBoxLog() {
    log().clear();
}

const std::string& applicationName() {
    return applicationNameSlot();
}

void setApplicationName(std::string name) {
    applicationNameSlot() = std::move(name);
}

int messageBox(std::string_view text, std::string_view caption, unsigned style, Window* owner) {
    MessageBoxDialog box{std::string(text), std::string(caption), style, owner};
    Window* shownOwner = owner ? owner : Dialog::activeModal();
    MessageBoxRecord record{std::string(text), std::string(caption), style, 0, false,
                            shownOwner && shownOwner->exists() ? shownOwner->text() : std::string()};
    const std::intptr_t answer = box.doModal();
    record.answer = answer < 0 ? box.unansweredAnswer() : static_cast<int>(answer);
    record.unanswered = box.unanswered() || answer < 0;
    log().push_back(record);
    return record.answer;
}

// [SECTION] The box

MessageBoxDialog::MessageBoxDialog(std::string text, std::string caption, unsigned style, Window* owner)
    : Dialog(DialogTemplate{}, owner), text_(std::move(text)), style_(style) {
    dialogTemplate() = layoutBox(text_, caption.empty() ? applicationName() : caption, style_, iconRect_);
}

int MessageBoxDialog::escapeAnswer() const {
    const std::vector<int> ids = answers();
    if (std::find(ids.begin(), ids.end(), IDCANCEL) != ids.end()) return IDCANCEL;
    if (std::find(ids.begin(), ids.end(), IDOK) != ids.end()) return IDOK;
    return 0;
}

int MessageBoxDialog::unansweredAnswer() const {
    if (const int esc = escapeAnswer()) return esc;
    const std::vector<int> ids = answers();
    if (std::find(ids.begin(), ids.end(), IDNO) != ids.end()) return IDNO;
    return ids.front();
}

bool MessageBoxDialog::answer(int id) {
    const std::vector<int> ids = answers();
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) return false;
    endDialog(id);
    return true;
}

bool MessageBoxDialog::onInitDialog() {
    // The default button holds the focus, so Enter and Space answer it.
    if (Window* button = item(defaultId())) {
        gotoControl(*button);
        return false;
    }
    return true;
}

void MessageBoxDialog::onOK() {
    answer(IDOK);
}

void MessageBoxDialog::onCancel() {
    if (const int esc = escapeAnswer()) endDialog(esc);
}

void MessageBoxDialog::onUnanswered() {
    endDialog(unansweredAnswer());
}

bool MessageBoxDialog::onCommand(int id, int code, Window*) {
    if (code != BN_CLICKED) return false;
    if (id == IDHELP) {
        if (Window* owner = dialogOwner()) owner->send(WM_HELP, 0, 0);
        return true;
    }
    return answer(id);
}

std::intptr_t MessageBoxDialog::windowProc(Message& m) {
    if (m.id == WM_PAINT) {
        paintIcon();
        return 0;
    }
    return Dialog::windowProc(m);
}

void MessageBoxDialog::paintIcon() {
    PaintDC dc(*this);
    if (iconRect_.isEmpty()) return;
    // The icons as shapes: a red disc with a cross (error), a yellow triangle with "!" (warning), a blue disc
    // with "?" or "i".
    const unsigned icon = style_ & MB_ICONMASK;
    ColorRef fill = rgb(0, 90, 200);
    ColorRef ink = rgb(255, 255, 255);
    std::string_view mark = "i";
    if (icon == MB_ICONERROR) {
        fill = rgb(200, 30, 30);
        mark = "X";
    } else if (icon == MB_ICONWARNING) {
        fill = rgb(250, 200, 0);
        ink = rgb(0, 0, 0);
        mark = "!";
    } else if (icon == MB_ICONQUESTION) {
        mark = "?";
    }
    dc.selectPen(Pen::solid(fill));
    dc.selectBrush(Brush::solid(fill));
    if (icon == MB_ICONWARNING) {
        const Point corners[] = {{iconRect_.center().x, iconRect_.top},
                                 {iconRect_.right - 1, iconRect_.bottom - 1},
                                 {iconRect_.left, iconRect_.bottom - 1}};
        dc.polygon(corners);
    } else {
        dc.ellipse(iconRect_);
    }
    dc.setBkMode(TRANSPARENT);
    dc.setTextColor(ink);
    dc.drawText(mark, iconRect_, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace host::ui
