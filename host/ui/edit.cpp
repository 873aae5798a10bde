// The edit control: text as characters, line layout with wrapping, caret and selection, editing with undo and
// the clipboard, scrolling, painting.
//
// Index of this file: [SECTION] Life and state, Layout, Caret and selection, Scrolling, Editing, Keys and
// mouse, Painting, Messages.
#include "host/ui/edit.h"

#include <algorithm>

#include "host/sys/text_case.h"
#include "host/ui/control_support.h"
#include "host/ui/desktop.h"

namespace host::ui {

namespace {

bool isBreak(char32_t c) { return c == U'\r' || c == U'\n'; }
bool isSpace(char32_t c) { return c == U' ' || c == U'\t' || isBreak(c); }

// Ctrl+letter characters an edit acts on (WM_CHAR).
constexpr char32_t kCtrlA = 1, kCtrlC = 3, kBackspace = 8, kCtrlV = 22, kCtrlX = 24, kCtrlZ = 26;
constexpr char32_t kDelete = 127;

// The top margin of a multi-line edit's text, in pixels.
constexpr int kTopMargin = 1;

int toInt(std::uintptr_t w) { return static_cast<int>(static_cast<std::intptr_t>(w)); }
int toInt(std::intptr_t l) { return static_cast<int>(l); }

}  // namespace

// [SECTION] Life and state

Edit::Edit() = default;
Edit::~Edit() = default;

bool Edit::isMultiLine() const { return (style() & ES_MULTILINE) != 0; }
bool Edit::isReadOnly() const { return (style() & ES_READONLY) != 0; }
bool Edit::wraps() const { return isMultiLine() && (style() & (ES_AUTOHSCROLL | WS_HSCROLL)) == 0; }

int Edit::selectionStart() const { return std::min(anchor_, caret_); }
int Edit::selectionEnd() const { return std::max(anchor_, caret_); }

void Edit::setReadOnly(bool on) {
    if (on == isReadOnly()) return;
    modifyStyle(on ? 0 : ES_READONLY, on ? ES_READONLY : 0);
    invalidate();
}

void Edit::setLimit(int characters) { limit_ = characters <= 0 ? kNoLimit : characters; }

void Edit::loadFromWindow() {
    text_ = toCharacters(storedText());
    anchor_ = caret_ = 0;
    firstLine_ = scrollX_ = 0;
    goalX_ = -1;
    modified_ = false;
    undo_ = {};
    typingRun_ = false;
    passwordChar_ = U'*';
    layoutValid_ = false;
    focused_ = hasFocus();
}

void Edit::preSubclassWindow() {
    loadFromWindow();
    updateScrollBars();
}

// The window's stored text follows ours, so text(), storedText() and a dialog's search by label agree.
void Edit::storeText() {
    const std::string utf8 = toUtf8(text_);
    Message m{this, WM_SETTEXT, 0, lParamFromPointer(utf8.c_str())};
    Window::defaultProc(m);
}

// [SECTION] Layout

char32_t Edit::shownChar(char32_t c) const {
    return (style() & ES_PASSWORD) && !isMultiLine() && passwordChar_ ? passwordChar_ : c;
}

int Edit::lineHeight() const { return std::max(1, controlLineHeight(*this)); }

Rect Edit::formatRect() const {
    const Rect client = clientRect();
    const int height = lineHeight();
    if (isMultiLine()) return {kMargin, kTopMargin, std::max(kMargin, client.right - kMargin), client.bottom};
    // A single line sits in the middle of the client area.
    const int top = std::max(0, (client.height() - height) / 2);
    return {kMargin, top, std::max(kMargin, client.right - kMargin), top + height};
}

int Edit::visibleLineCount() const {
    if (!isMultiLine()) return 1;
    return std::max(1, formatRect().height() / lineHeight());
}

int Edit::textWidth(int start, int end) const {
    int width = 0;
    for (int i = start; i < end; ++i) width += controlCharWidth(*this, shownChar(text_[static_cast<std::size_t>(i)]));
    return width;
}

void Edit::layout() const {
    if (layoutValid_) return;
    layoutValid_ = true;
    lines_.clear();
    const int n = length();
    if (!isMultiLine()) {
        lines_.push_back({0, n, n});
        return;
    }
    const int width = wraps() ? formatRect().width() : 0;
    int i = 0;
    for (;;) {
        int e = i;
        while (e < n && !isBreak(text_[static_cast<std::size_t>(e)])) ++e;
        int breakLength = 0;
        if (e < n) breakLength = (text_[static_cast<std::size_t>(e)] == U'\r' && e + 1 < n &&
                                  text_[static_cast<std::size_t>(e) + 1] == U'\n') ? 2 : 1;
        int s = i;
        // Wrapping: the longest start that fits, cut after its last space, else between characters; a line
        // always keeps at least one character so the walk moves on.
        while (width > 0) {
            int x = 0, j = s, lastSpace = -1;
            while (j < e) {
                const int w = controlCharWidth(*this, shownChar(text_[static_cast<std::size_t>(j)]));
                if (x + w > width && j > s) break;
                x += w;
                if (text_[static_cast<std::size_t>(j)] == U' ') lastSpace = j;
                ++j;
            }
            if (j >= e) break;
            const int cut = lastSpace >= s ? lastSpace + 1 : j;
            lines_.push_back({s, cut, cut});
            s = cut;
        }
        lines_.push_back({s, e, e + breakLength});
        if (e >= n) break;
        i = e + breakLength;
    }
}

const std::vector<Edit::Line>& Edit::lines() const {
    layout();
    return lines_;
}

int Edit::lineOf(int index) const {
    const auto& ls = lines();
    auto it = std::upper_bound(ls.begin(), ls.end(), index, [](int i, const Line& l) { return i < l.start; });
    return it == ls.begin() ? 0 : static_cast<int>(it - ls.begin()) - 1;
}

int Edit::lineCount() const { return static_cast<int>(lines().size()); }

int Edit::lineIndex(int line) const {
    const auto& ls = lines();
    if (line < 0 || line >= static_cast<int>(ls.size())) return -1;
    return ls[static_cast<std::size_t>(line)].start;
}

int Edit::lineFromChar(int index) const { return lineOf(clampPosition(index)); }

std::string Edit::lineText(int line) const {
    const auto& ls = lines();
    if (line < 0 || line >= static_cast<int>(ls.size())) return {};
    const Line& l = ls[static_cast<std::size_t>(line)];
    return toUtf8(std::u32string_view(text_).substr(static_cast<std::size_t>(l.start),
                                                   static_cast<std::size_t>(l.end - l.start)));
}

int Edit::lineX(int line) const {
    const Rect fr = formatRect();
    const Line& l = lines()[static_cast<std::size_t>(line)];
    const int width = textWidth(l.start, l.end);
    int offset = 0;
    if (width < fr.width()) {
        if (style() & ES_CENTER) offset = (fr.width() - width) / 2;
        else if (style() & ES_RIGHT) offset = fr.width() - width;
    }
    return fr.left - scrollX_ + offset;
}

Point Edit::caretPoint() const {
    const int k = lineOf(caret_);
    const Line& l = lines()[static_cast<std::size_t>(k)];
    return {lineX(k) + textWidth(l.start, caret_), formatRect().top + (k - firstLine_) * lineHeight()};
}

int Edit::charFromPoint(Point client) const {
    const Rect fr = formatRect();
    const int count = lineCount();
    int k = firstLine_ + (client.y >= fr.top ? (client.y - fr.top) / lineHeight() : -1);
    k = std::clamp(k, 0, count - 1);
    const Line& l = lines()[static_cast<std::size_t>(k)];
    int x = lineX(k);
    for (int i = l.start; i < l.end; ++i) {
        const int w = controlCharWidth(*this, shownChar(text_[static_cast<std::size_t>(i)]));
        if (client.x < x + (w + 1) / 2) return i;
        x += w;
    }
    return l.end;
}

// [SECTION] Caret and selection

int Edit::clampPosition(int index) const {
    index = std::clamp(index, 0, length());
    // Never between the CR and LF of a line break.
    if (isMultiLine() && index > 0 && index < length() && text_[static_cast<std::size_t>(index) - 1] == U'\r' &&
        text_[static_cast<std::size_t>(index)] == U'\n')
        --index;
    return index;
}

int Edit::previousPosition(int index) const {
    if (index <= 0) return 0;
    if (isMultiLine() && index >= 2 && text_[static_cast<std::size_t>(index) - 1] == U'\n' &&
        text_[static_cast<std::size_t>(index) - 2] == U'\r')
        return index - 2;
    return index - 1;
}

int Edit::nextPosition(int index) const {
    if (index >= length()) return length();
    if (isMultiLine() && index + 1 < length() && text_[static_cast<std::size_t>(index)] == U'\r' &&
        text_[static_cast<std::size_t>(index) + 1] == U'\n')
        return index + 2;
    return index + 1;
}

// A word is a run of characters that are not spaces; Ctrl+Left goes to the start of the word before.
int Edit::wordStart(int index) const {
    int i = index;
    while (i > 0 && isSpace(text_[static_cast<std::size_t>(i) - 1])) --i;
    while (i > 0 && !isSpace(text_[static_cast<std::size_t>(i) - 1])) --i;
    return i;
}

// Ctrl+Right goes to the start of the next word: past this word and the spaces after it.
int Edit::wordEnd(int index) const {
    int i = index;
    while (i < length() && !isSpace(text_[static_cast<std::size_t>(i)])) ++i;
    while (i < length() && text_[static_cast<std::size_t>(i)] == U' ') ++i;
    return i;
}

void Edit::setSelection(int anchor, int caret, bool scroll) {
    anchor = clampPosition(anchor);
    caret = clampPosition(caret);
    const bool changedSelection = anchor != anchor_ || caret != caret_;
    anchor_ = anchor;
    caret_ = caret;
    if (scroll) scrollCaretIntoView();
    if (changedSelection) invalidate(false);
}

void Edit::moveCaret(int to, bool extend) {
    typingRun_ = false;
    setSelection(extend ? anchor_ : to, to);
}

void Edit::setSel(int start, int end) {
    typingRun_ = false;
    goalX_ = -1;
    if (start == -1) {
        setSelection(caret_, caret_);
        return;
    }
    const int n = length();
    auto fix = [n](int v) { return v < 0 || v > n ? n : v; };
    setSelection(fix(start), fix(end));
}

// [SECTION] Scrolling

void Edit::clampScroll() {
    const int count = lineCount();
    firstLine_ = std::clamp(firstLine_, 0, std::max(0, count - visibleLineCount()));
    if (wraps()) {
        scrollX_ = 0;
        return;
    }
    int widest = 0;
    for (const Line& l : lines()) widest = std::max(widest, textWidth(l.start, l.end));
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, widest + 1 - formatRect().width()));
}

void Edit::scrollCaretIntoView() {
    const int before = firstLine_, beforeX = scrollX_;
    const int k = lineOf(caret_);
    if (isMultiLine()) {
        const int visible = visibleLineCount();
        if (k < firstLine_) firstLine_ = k;
        else if (k >= firstLine_ + visible) firstLine_ = k - visible + 1;
    }
    if (!wraps()) {
        const Line& l = lines()[static_cast<std::size_t>(k)];
        const int x = textWidth(l.start, caret_);
        const int width = formatRect().width();
        if (x < scrollX_) scrollX_ = x;
        else if (x > scrollX_ + width - 1) scrollX_ = x - width + 1;
    }
    clampScroll();
    if (before != firstLine_ || beforeX != scrollX_) {
        updateScrollBars();
        invalidate(false);
    }
}

// Own scroll bars of a multi-line edit stay shown and are disabled when not needed, so that scrolling never
// changes the client area under the text.
void Edit::updateScrollBars() {
    if (!exists() || !isMultiLine()) return;
    if (style() & WS_VSCROLL) {
        ScrollInfo info{SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, lineCount() - 1,
                        static_cast<unsigned>(visibleLineCount()), firstLine_, 0};
        setScrollInfo(SB_VERT, info);
    }
    if (style() & WS_HSCROLL) {
        int widest = 0;
        for (const Line& l : lines()) widest = std::max(widest, textWidth(l.start, l.end));
        ScrollInfo info{SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, widest,
                        static_cast<unsigned>(std::max(1, formatRect().width())), scrollX_, 0};
        setScrollInfo(SB_HORZ, info);
    }
}

void Edit::scrollLines(int delta) {
    const int before = firstLine_;
    firstLine_ += delta;
    clampScroll();
    if (before != firstLine_) {
        updateScrollBars();
        invalidate(false);
    }
}

// [SECTION] Editing

std::u32string Edit::filterTyped(std::u32string_view in) const {
    std::u32string out;
    for (char32_t c : in) {
        if ((style() & ES_NUMBER) && (c < U'0' || c > U'9')) return {};
        if (style() & ES_UPPERCASE) c = host::sys::upperCaseCharacter(c);
        else if (style() & ES_LOWERCASE) c = host::sys::lowerCaseCharacter(c);
        out.push_back(c);
    }
    return out;
}

void Edit::rememberUndo(bool typing) {
    // Characters typed one after another undo together, as one step.
    if (!(typing && typingRun_ && undo_.valid)) undo_ = {true, text_, anchor_, caret_};
    typingRun_ = typing;
}

void Edit::changed(bool notify) {
    storeText();
    layoutValid_ = false;
    clampScroll();
    scrollCaretIntoView();
    updateScrollBars();
    invalidate(false);
    if (notify) {
        notifyCommand(*this, EN_UPDATE);
        notifyCommand(*this, EN_CHANGE);
    }
}

bool Edit::replaceSelection(std::u32string inserted, bool userEdit, bool typing) {
    const int a = selectionStart(), b = selectionEnd();
    if (a == b && inserted.empty()) return false;
    if (userEdit || typing) rememberUndo(typing);
    text_.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a), inserted);
    anchor_ = caret_ = a + static_cast<int>(inserted.size());
    goalX_ = -1;
    modified_ = true;
    changed(true);
    return true;
}

void Edit::typeCharacter(char32_t c) {
    if (isReadOnly()) return;
    std::u32string typed = c == U'\r' ? std::u32string(U"\r\n") : std::u32string(1, c);
    typed = filterTyped(typed);
    if (typed.empty()) return;
    const int kept = length() - (selectionEnd() - selectionStart());
    if (kept + static_cast<int>(typed.size()) > limit_) {
        notifyCommand(*this, EN_MAXTEXT);
        return;
    }
    replaceSelection(std::move(typed), true, true);
}

void Edit::copy() {
    if ((style() & ES_PASSWORD) || selectionStart() == selectionEnd()) return;
    const std::u32string_view selected = std::u32string_view(text_).substr(
        static_cast<std::size_t>(selectionStart()), static_cast<std::size_t>(selectionEnd() - selectionStart()));
    desktop().clipboard().setText(toUtf8(selected), this);
}

void Edit::clear() {
    if (isReadOnly()) return;
    replaceSelection({}, true, false);
}

void Edit::cut() {
    if (style() & ES_PASSWORD) return;
    if (isReadOnly()) return;
    copy();
    clear();
}

void Edit::paste() {
    if (isReadOnly()) return;
    const auto clip = desktop().clipboard().text();
    if (!clip) return;
    std::u32string raw = toCharacters(*clip);
    std::u32string text;
    if (isMultiLine()) {
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == U'\r' || raw[i] == U'\n') {
                if (raw[i] == U'\r' && i + 1 < raw.size() && raw[i + 1] == U'\n') ++i;
                text += U"\r\n";
            } else {
                text.push_back(raw[i]);
            }
        }
    } else {
        text = raw.substr(0, std::min(raw.size(), raw.find_first_of(U"\r\n")));
    }
    text = filterTyped(text);
    if (text.empty() && selectionStart() == selectionEnd()) return;
    const int room = std::max(0, limit_ - (length() - (selectionEnd() - selectionStart())));
    const bool cutShort = static_cast<int>(text.size()) > room;
    if (cutShort) {
        text.resize(static_cast<std::size_t>(room));
        // Never leave half a line break behind.
        if (!text.empty() && text.back() == U'\r') text.pop_back();
    }
    if (!text.empty() || selectionStart() != selectionEnd()) replaceSelection(std::move(text), true, false);
    if (cutShort) notifyCommand(*this, EN_MAXTEXT);
}

bool Edit::undo() {
    if (!undo_.valid || isReadOnly()) return false;
    UndoState redo{true, text_, anchor_, caret_};
    text_ = std::move(undo_.text);
    anchor_ = clampPosition(undo_.anchor);
    caret_ = clampPosition(undo_.caret);
    undo_ = std::move(redo);  // undoing again brings the change back
    typingRun_ = false;
    modified_ = true;
    changed(true);
    return true;
}

void Edit::replaceSel(std::string_view utf8, bool canUndo) {
    std::u32string text = toCharacters(utf8);
    typingRun_ = false;
    if (canUndo) rememberUndo(false);
    replaceSelection(std::move(text), false, false);
    if (!canUndo) undo_ = {};
}

// [SECTION] Keys and mouse

bool Edit::handleKey(unsigned vk) {
    const bool shift = desktop().isKeyDown(VK_SHIFT);
    const bool ctrl = desktop().isKeyDown(VK_CONTROL);
    const bool multi = isMultiLine();
    const bool selected = anchor_ != caret_;
    const int keepGoal = goalX_;
    goalX_ = -1;
    switch (vk) {
    case VK_LEFT:
        if (!shift && selected && !ctrl) moveCaret(selectionStart(), false);
        else moveCaret(ctrl ? wordStart(caret_) : previousPosition(caret_), shift);
        return true;
    case VK_RIGHT:
        if (!shift && selected && !ctrl) moveCaret(selectionEnd(), false);
        else moveCaret(ctrl ? wordEnd(caret_) : nextPosition(caret_), shift);
        return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (!multi) {  // a single line takes Up and Down as Left and Right
            if (vk == VK_UP) moveCaret(previousPosition(caret_), shift);
            if (vk == VK_DOWN) moveCaret(nextPosition(caret_), shift);
            return vk == VK_UP || vk == VK_DOWN;
        }
        const int k = lineOf(caret_);
        const int step = (vk == VK_UP || vk == VK_DOWN) ? 1 : visibleLineCount();
        const int target = std::clamp(k + ((vk == VK_UP || vk == VK_PRIOR) ? -step : step), 0, lineCount() - 1);
        const int x = keepGoal >= 0 ? keepGoal : caretPoint().x;
        if (vk == VK_PRIOR || vk == VK_NEXT) scrollLines(target - k);
        const int y = formatRect().top + (target - firstLine_) * lineHeight();
        moveCaret(charFromPoint({x, y}), shift);
        goalX_ = x;
        return true;
    }
    case VK_HOME:
        moveCaret(ctrl || !multi ? 0 : lines()[static_cast<std::size_t>(lineOf(caret_))].start, shift);
        return true;
    case VK_END:
        moveCaret(ctrl || !multi ? length() : lines()[static_cast<std::size_t>(lineOf(caret_))].end, shift);
        return true;
    case VK_DELETE:
        if (shift) {
            cut();
        } else if (!isReadOnly()) {
            if (!selected && caret_ < length()) anchor_ = nextPosition(caret_);
            clear();
        }
        return true;
    case VK_INSERT:
        if (ctrl) copy();
        else if (shift) paste();
        return true;
    default: return false;
    }
}

// [SECTION] Painting

void Edit::paint() {
    PaintDC dc(*this);
    const Rect client = clientRect();
    const bool greyed = !isEnabled() || isReadOnly();
    const Brush background = controlBrush(*this, dc, greyed ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                          greyed ? COLOR_BTNFACE : COLOR_WINDOW);
    dc.fillRect(client, background);
    if (!isEnabled()) dc.setTextColor(desktop().sysColor(COLOR_GRAYTEXT));
    const ColorRef textColor = dc.textColor();
    dc.selectFont(font());
    dc.setBkMode(TRANSPARENT);
    const Rect fr = formatRect();
    dc.intersectClipRect({fr.left, client.top, fr.right + 1, client.bottom});

    const bool showSelection = focused_ || (style() & ES_NOHIDESEL);
    const int selStart = showSelection ? selectionStart() : 0;
    const int selEnd = showSelection ? selectionEnd() : 0;
    const int height = lineHeight();
    const int last = std::min(lineCount(), firstLine_ + visibleLineCount() + 1);
    for (int k = firstLine_; k < last; ++k) {
        const Line& l = lines()[static_cast<std::size_t>(k)];
        const int y = fr.top + (k - firstLine_) * height;
        int x = lineX(k);
        // Three runs: before, inside and after the selection.
        const int cuts[4] = {l.start, std::clamp(selStart, l.start, l.end), std::clamp(selEnd, l.start, l.end), l.end};
        for (int run = 0; run < 3; ++run) {
            const int a = cuts[run], b = cuts[run + 1];
            if (a >= b) continue;
            std::u32string shown;
            for (int i = a; i < b; ++i) shown.push_back(shownChar(text_[static_cast<std::size_t>(i)]));
            const int width = textWidth(a, b);
            if (run == 1) {
                dc.fillSolidRect({x, y, x + width, y + height}, desktop().sysColor(COLOR_HIGHLIGHT));
                dc.setTextColor(desktop().sysColor(COLOR_HIGHLIGHTTEXT));
            } else {
                dc.setTextColor(textColor);
            }
            dc.textOut(x, y, toUtf8(shown));
            x += width;
        }
    }
    if (focused_) {
        const Point c = caretPoint();
        dc.selectPen(Pen::solid(textColor));
        dc.moveTo(c);
        dc.lineTo({c.x, c.y + height});
    }
}

// [SECTION] Messages

std::intptr_t Edit::windowProc(Message& m) {
    switch (m.id) {
    case WM_CREATE: {
        const std::intptr_t result = Window::windowProc(m);
        loadFromWindow();
        updateScrollBars();
        return result;
    }
    case WM_SETTEXT: {
        const char* utf8 = pointerFromParam<const char>(m.l);
        std::u32string text = toCharacters(utf8 ? utf8 : "");
        if (text == text_) return 1;
        text_ = std::move(text);
        anchor_ = caret_ = 0;
        firstLine_ = scrollX_ = 0;
        goalX_ = -1;
        modified_ = false;
        undo_ = {};
        typingRun_ = false;
        changed(!isMultiLine());
        return 1;
    }
    case WM_SIZE:
        layoutValid_ = false;
        clampScroll();
        updateScrollBars();
        invalidate(false);
        return 0;
    case WM_SETFONT: {
        const std::intptr_t result = Window::windowProc(m);
        layoutValid_ = false;
        clampScroll();
        updateScrollBars();
        return result;
    }
    case WM_ENABLE:
        invalidate();
        return 0;
    case WM_ERASEBKGND: return 1;  // the background is filled in WM_PAINT with the owner's brush
    case WM_PAINT:
        paint();
        return 0;
    case WM_GETDLGCODE: {
        unsigned code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (isMultiLine() && (style() & ES_WANTRETURN) && m.w == VK_RETURN) code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETFOCUS:
        focused_ = true;
        typingRun_ = false;
        invalidate(false);
        notifyCommand(*this, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        focused_ = false;
        tracking_ = false;
        invalidate(false);
        notifyCommand(*this, EN_KILLFOCUS);
        return 0;
    case WM_KEYDOWN:
        if (handleKey(static_cast<unsigned>(m.w))) return 0;
        return Window::windowProc(m);
    case WM_CHAR:
    case WM_IME_CHAR: {
        const char32_t c = static_cast<char32_t>(m.w);
        switch (c) {
        case kCtrlA: setSel(0, -1); break;
        case kCtrlC: copy(); break;
        case kCtrlV: paste(); break;
        case kCtrlX: cut(); break;
        case kCtrlZ: undo(); break;
        case kBackspace:
            if (isReadOnly()) break;
            if (anchor_ == caret_) anchor_ = previousPosition(caret_);
            if (anchor_ != caret_) replaceSelection({}, true, true);
            break;
        case U'\r':
        case U'\n':
            if (isMultiLine()) typeCharacter(U'\r');
            break;
        case U'\t':
            if (isMultiLine()) typeCharacter(c);
            break;
        default:
            if (c >= U' ' && c != kDelete) typeCharacter(c);
            break;
        }
        return 0;
    }
    case WM_LBUTTONDOWN: {
        if (!focused_) {
            setFocus();
            // A kill-focus handler elsewhere may have kept the focus (a check that failed): then the click is
            // over.
            if (!hasFocus()) return 0;
        }
        const int i = charFromPoint(pointFromLParam(m.l));
        typingRun_ = false;
        goalX_ = -1;
        setSelection((m.w & MK_SHIFT) ? anchor_ : i, i);
        tracking_ = true;
        setCapture();
        return 0;
    }
    case WM_MOUSEMOVE:
        if (tracking_ && hasCapture()) setSelection(anchor_, charFromPoint(pointFromLParam(m.l)));
        return 0;
    case WM_LBUTTONUP:
        if (tracking_) {
            tracking_ = false;
            if (hasCapture()) desktop().releaseCapture();
        }
        return 0;
    case WM_LBUTTONDBLCLK: {
        if (!focused_) {
            setFocus();
            if (!hasFocus()) return 0;
        }
        const int i = charFromPoint(pointFromLParam(m.l));
        int start = i;
        while (start > 0 && !isSpace(text_[static_cast<std::size_t>(start) - 1])) --start;
        int end = i;
        while (end < length() && !isSpace(text_[static_cast<std::size_t>(end)])) ++end;
        setSelection(start, end);
        return 0;
    }
    case WM_CAPTURECHANGED:
        tracking_ = false;
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: {
        if (!isMultiLine() || m.l != 0) return Window::windowProc(m);
        const bool vertical = m.id == WM_VSCROLL;
        const int code = loWord(m.w);
        if (code == SB_ENDSCROLL) return 0;
        const int page = vertical ? visibleLineCount() : std::max(1, formatRect().width());
        const int line = vertical ? 1 : std::max(1, controlCharWidth(*this, U'x'));
        int& pos = vertical ? firstLine_ : scrollX_;
        const int before = pos;
        switch (code) {
        case SB_LINEUP: pos -= line; break;
        case SB_LINEDOWN: pos += line; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = hiWord(m.w); break;
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = lineCount() + 100000; break;
        default: break;
        }
        clampScroll();
        if (pos != before) {
            updateScrollBars();
            invalidate(false);
            notifyCommand(*this, vertical ? EN_VSCROLL : EN_HSCROLL);
        }
        return 0;
    }
    case WM_MOUSEWHEEL: {
        if (!isMultiLine()) return Window::windowProc(m);
        const unsigned perNotch = desktop().system().wheelScrollLines();
        const int lines = perNotch == WHEEL_PAGESCROLL ? visibleLineCount() : static_cast<int>(perNotch);
        const int before = firstLine_;
        scrollLines(-wheelDeltaOf(m.w) * lines / WHEEL_DELTA);
        if (before != firstLine_) notifyCommand(*this, EN_VSCROLL);
        return 0;
    }
    case WM_CUT: cut(); return 0;
    case WM_COPY: copy(); return 0;
    case WM_PASTE: paste(); return 0;
    case WM_CLEAR: clear(); return 0;
    case WM_UNDO:
    case EM_UNDO: return undo() ? 1 : 0;
    case EM_CANUNDO: return undo_.valid ? 1 : 0;
    case EM_EMPTYUNDOBUFFER: undo_ = {}; return 0;
    case EM_GETSEL: {
        if (auto* start = pointerFromParam<int>(m.w)) *start = selectionStart();
        if (auto* end = pointerFromParam<int>(m.l)) *end = selectionEnd();
        return makeLParam(selectionStart(), selectionEnd());
    }
    case EM_SETSEL: setSel(toInt(m.w), toInt(m.l)); return 0;
    case EM_REPLACESEL: {
        const char* utf8 = pointerFromParam<const char>(m.l);
        replaceSel(utf8 ? utf8 : "", m.w != 0);
        return 0;
    }
    case EM_GETRECT:
        if (auto* r = pointerFromParam<Rect>(m.l)) *r = formatRect();
        return 0;
    case EM_SCROLLCARET: scrollCaretIntoView(); return 1;
    case EM_GETMODIFY: return modified_ ? 1 : 0;
    case EM_SETMODIFY: modified_ = m.w != 0; return 0;
    case EM_GETLINECOUNT: return lineCount();
    case EM_LINEINDEX: return lineIndex(toInt(m.w) < 0 ? lineOf(caret_) : toInt(m.w));
    case EM_LINELENGTH: {
        const int k = toInt(m.w) < 0 ? lineOf(caret_) : lineFromChar(toInt(m.w));
        const Line& l = lines()[static_cast<std::size_t>(k)];
        return l.end - l.start;
    }
    case EM_LINEFROMCHAR: return lineFromChar(toInt(m.w) < 0 ? selectionStart() : toInt(m.w));
    case EM_GETLINE: {
        auto* out = pointerFromParam<std::string>(m.l);
        const int k = toInt(m.w);
        if (!out || k < 0 || k >= lineCount()) return 0;
        *out = lineText(k);
        const Line& l = lines()[static_cast<std::size_t>(k)];
        return l.end - l.start;
    }
    case EM_GETFIRSTVISIBLELINE: {
        if (isMultiLine()) return firstLine_;
        int i = 0, x = 0;
        for (; i < length() && x < scrollX_; ++i) x += textWidth(i, i + 1);
        return i;
    }
    case EM_LINESCROLL: {
        if (!isMultiLine()) return 0;
        scrollX_ += toInt(m.w) * std::max(1, controlCharWidth(*this, U'x'));
        scrollLines(toInt(m.l));
        clampScroll();
        updateScrollBars();
        invalidate(false);
        return 1;
    }
    case EM_SCROLL: {
        if (!isMultiLine()) return 0;
        const int before = firstLine_;
        switch (toInt(m.w)) {
        case SB_LINEUP: scrollLines(-1); break;
        case SB_LINEDOWN: scrollLines(1); break;
        case SB_PAGEUP: scrollLines(-visibleLineCount()); break;
        case SB_PAGEDOWN: scrollLines(visibleLineCount()); break;
        default: return 0;
        }
        return makeLParam(firstLine_ - before, 1);
    }
    case EM_LIMITTEXT: setLimit(toInt(m.w)); return 0;
    case EM_GETLIMITTEXT: return limit_;
    case EM_SETPASSWORDCHAR:
        passwordChar_ = static_cast<char32_t>(m.w);
        modifyStyle(passwordChar_ ? 0 : ES_PASSWORD, passwordChar_ ? ES_PASSWORD : 0);
        layoutValid_ = false;
        invalidate();
        return 0;
    case EM_SETREADONLY: setReadOnly(m.w != 0); return 1;
    default: return Window::windowProc(m);
    }
}

}  // namespace host::ui
