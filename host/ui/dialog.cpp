// Dialogs built from a template: making the window and its controls, binding members, the dialog's messages and
// the modal loop.
//
// Index: [SECTION] Desktop and modal stack, [SECTION] Life, [SECTION] Making the window, [SECTION] The modal loop,
// [SECTION] Controls, [SECTION] Messages.
#include "host/ui/dialog.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "host/sys/number_text.h"
#include "host/ui/control_support.h"
#include "host/ui/data_exchange.h"
#include "host/ui/desktop.h"
#include "host/ui/dialog_keys.h"
#include "host/ui/dialog_user.h"

namespace host::ui {

// [SECTION] Desktop and modal stack

namespace {

// The modal dialogs running now, outermost first.
std::vector<Dialog*>& modalStack() {
    static std::vector<Dialog*> stack;
    return stack;
}

// Push-button types that can carry the default mark.
bool isPushButton(const Window& w) {
    if (!w.windowClass() || w.className().empty()) return false;
    const std::uint32_t type = w.style() & BS_TYPEMASK;
    return w.desktop().classes().isDerivedFrom(w.className(), kButtonClass) &&
           (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// The first control that takes the focus by Tab, by the controls' own styles (the dialog is still hidden when
// it is asked for), entering nested dialogs.
Window* firstTabStop(Window& dialog) {
    for (Window* c : dialog.children()) {
        const std::uint32_t s = c->style();
        if (!(s & WS_VISIBLE) || (s & WS_DISABLED)) continue;
        if ((s & DS_CONTROL) || (c->exStyle() & WS_EX_CONTROLPARENT)) {
            if (Window* inner = firstTabStop(*c)) return inner;
        } else if (s & WS_TABSTOP) {
            return c;
        }
    }
    return nullptr;
}

// A window and all its descendants.
std::vector<Window*> windowsIn(Window& root) {
    std::vector<Window*> out{&root};
    for (std::size_t i = 0; i < out.size(); ++i)
        for (Window* c : out[i]->children()) out.push_back(c);
    return out;
}

// Undoes what a modal loop changed, on every way out of doModal (an exception from a handler included): the
// owner is enabled first, so that the focus can go back to it once the dialog's window is gone.
class ModalScope {
public:
    ModalScope(Dialog& dialog, Window* focusBefore) : dialog_(dialog), focusBefore_(focusBefore) {
        modalStack().push_back(&dialog);
    }
    ~ModalScope() {
        auto& stack = modalStack();
        stack.erase(std::remove(stack.begin(), stack.end(), &dialog_), stack.end());
        Desktop& d = dialog_.desktop();
        if (disabledOwner_ && d.isWindow(disabledOwner_)) disabledOwner_->enable(true);
        const bool focusBack = focusBefore_ && d.isWindow(focusBefore_) && focusBefore_->isEnabled();
        if (dialog_.exists()) {
            // The dialog has its answer: the focus leaving its controls as it closes is nobody's change, so their
            // kill-focus notifications (a field's check) are held back.
            std::vector<std::unique_ptr<NotificationSuppressor>> quiet;
            for (Window* w : windowsIn(dialog_)) quiet.push_back(std::make_unique<NotificationSuppressor>(*w));
            Window* f = d.focus();
            if (f && (f == &dialog_ || f->isDescendantOf(dialog_))) d.setFocus(focusBack ? focusBefore_ : nullptr);
            if (dialog_.exists()) dialog_.destroy();
        }
        if (focusBack && d.isWindow(focusBefore_) && d.focus() != focusBefore_) d.setFocus(focusBefore_);
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    // Disables the owner for the loop (when it is enabled now); it is enabled again at the end.
    void disableOwner(Window* owner) {
        if (!owner || !owner->isEnabled()) return;
        owner->enable(false);
        disabledOwner_ = owner;
    }

private:
    Dialog& dialog_;
    Window* focusBefore_;
    Window* disabledOwner_ = nullptr;
};

// Counts an exchange in progress on every way out.
class ExchangeScope {
public:
    explicit ExchangeScope(int& depth) : depth_(depth) { ++depth_; }
    ~ExchangeScope() { --depth_; }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    int& depth_;
};

// Where the focus is moving: the last WM_KILLFOCUS sent whose move has not ended in a WM_SETFOCUS yet. A modal
// dialog that starts inside a kill-focus handler (a field's check showing a message box) gives the focus back
// to the window it was leaving, not to the one it was going to: that window would otherwise get the focus and
// lose it again to the check's own SetFocus, running its own check, whose message box would start the same
// round again, without end.
struct FocusMove {
    const Desktop* desktop = nullptr;
    Window* leaving = nullptr;
    Window* going = nullptr;
};

FocusMove& focusMove() {
    static FocusMove move;
    return move;
}

// The dialog class: the face colour behind the controls. Dialogs are only made through a Dialog object, so it
// has no factory; it joins a desktop's classes the first time a dialog is shown there, with the spy that follows
// the focus moves.
void prepareDesktop(Desktop& d) {
    if (d.classes().find(kDialogClass)) return;
    d.classes().registerClass({std::string(kDialogClass), 0, IDC_ARROW, COLOR_BTNFACE, {}, ""});
    Desktop* desktop = &d;
    d.addMessageSpy([desktop](const Message& m, Delivery) {
        if (m.id == WM_KILLFOCUS)
            focusMove() = {desktop, m.window, pointerFromParam<Window>(m.w)};
        else if (m.id == WM_SETFOCUS)
            focusMove() = {};
    });
}

// The window a modal dialog gives the focus back to when it ends.
Window* focusToRestore(Desktop& d) {
    Window* now = d.focus();
    const FocusMove& move = focusMove();
    if (move.desktop == &d && now && move.going == now && d.isWindow(move.leaving)) return move.leaving;
    return now;
}

}  // namespace

Desktop& dialogDesktop() {
    Desktop* d = Desktop::current();
    if (!d) {
        // A program with no desktop of its own (cadhost) gets one the first time it shows a dialog; it lives until
        // the program ends.
        static std::unique_ptr<Desktop> processDesktop;
        processDesktop = std::make_unique<Desktop>();
        d = processDesktop.get();
    }
    prepareDesktop(*d);
    return *d;
}

Dialog* Dialog::activeModal() {
    const auto& stack = modalStack();
    return stack.empty() ? nullptr : stack.back();
}

std::vector<Dialog*> Dialog::modalDialogs() {
    return modalStack();
}

// [SECTION] Life

Dialog::Dialog(DialogTemplate dialogTemplate, Window* owner) : template_(std::move(dialogTemplate)), owner_(owner) {}

Dialog::~Dialog() {
    auto& stack = modalStack();
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    if (exists()) destroy();
}

void Dialog::fail(std::string why) {
    creationError_ = "dialog \"" + template_.caption + "\": " + std::move(why);
    std::fprintf(stderr, "%s\n", creationError_.c_str());
}

// [SECTION] Making the window

bool Dialog::createFromTemplate(Window* parent, bool modal) {
    static std::uint64_t showings = 0;
    showing_ = ++showings;
    creationError_.clear();
    Desktop& d = dialogDesktop();
    if (exists()) {
        fail("it is already shown");
        return false;
    }
    prepareTemplate();
    const bool child = (template_.style & WS_CHILD) != 0;
    font_ = template_.font ? Font::create(*template_.font) : Font();
    const LogFont logFont = template_.font ? *template_.font : d.system().messageFont();
    const Size base = dialogBaseUnits(logFont, d.textMeasurer());
    const Rect client = templateRectToPixels(template_, template_.rect, base);

    std::uint32_t style = template_.style & ~WS_VISIBLE;
    if (child) style &= ~WS_POPUP;
    CreateParams params;
    params.className = std::string(kDialogClass);
    params.text = template_.caption;
    params.style = style;
    params.exStyle = template_.exStyle | (child ? WS_EX_CONTROLPARENT : 0);
    params.rect = Rect::fromSize(0, 0, client.width(), client.height());
    params.parent = parent;
    if (!create(params)) {
        fail("its window could not be made (is the dialog class registered?)");
        return false;
    }

    // The template gives the client area; the window is that plus its frame and caption.
    const Rect insets = nonClientInsets();
    const int width = client.width() + insets.left + insets.right;
    const int height = client.height() + insets.top + insets.bottom;
    Point at{client.left, client.top};
    if (!child) {
        const bool centre = (template_.style & DS_CENTER) || (template_.rect.x == 0 && template_.rect.y == 0);
        const Rect around = parent && d.isWindow(parent) ? parent->windowRect()
                                                         : Rect::fromSize(0, 0, d.screenSize().width,
                                                                          d.screenSize().height);
        if (centre) {
            at = {around.left + (around.width() - width) / 2, around.top + (around.height() - height) / 2};
            at.x = std::max(0, at.x);
            at.y = std::max(0, at.y);
        } else if (parent && d.isWindow(parent)) {
            at = parent->clientToScreen(at);
        }
    }
    move(Rect::fromSize(at.x, at.y, width, height), false);
    if (!font_.isNull()) setFont(font_, false);

    defaultId_ = IDOK;
    for (const DialogItem& row : template_.items) {
        if (d.classes().isDerivedFrom(row.className, kButtonClass) && (row.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            defaultId_ = row.id;
            break;
        }
    }
    if (!createItems(base, font_)) {
        destroy();
        return false;
    }

    Window* first = firstTabStop(*this);
    const std::intptr_t focusFirst = send(WM_INITDIALOG, wParamFromPointer(first), 0);
    if (!exists()) {
        fail("it was destroyed while it started");
        return false;
    }
    if (modal || (template_.style & WS_VISIBLE)) show(SW_SHOW);
    // The hook may have made controls of its own (a sheet its first page): the first tab stop is looked for again.
    if (focusFirst && !child) first = firstTabStop(*this);
    if (focusFirst && first && !child) gotoControl(*first);
    return true;
}

bool Dialog::createItems(Size base, const Font& font) {
    for (const DialogItem& row : template_.items)
        if (!createItem(row, templateRectToPixels(template_, row.rect, base), font)) return false;
    return true;
}

bool Dialog::createItem(const DialogItem& row, const Rect& rect, const Font& font) {
    Desktop& d = desktop();
    const WindowClass* cls = d.classes().find(row.className);
    if (!cls) {
        fail(sys::formatC("control %d names the window class \"%s\", which is not registered", row.id,
                          row.className.c_str()));
        return false;
    }
    CreateParams params;
    params.className = row.className;
    params.text = row.text;
    params.style = row.style | WS_CHILD | WS_VISIBLE;
    params.exStyle = row.exStyle;
    params.rect = rect;
    params.parent = this;
    params.id = row.id;

    Window* member = row.id != kNoControlId ? memberFor(row.id) : nullptr;
    Window* made = nullptr;
    if (member) {
        if (cls->factory) {
            Window* plain = d.createWindow(params);
            if (plain && member->adopt(*plain)) made = member;
            if (made) {
                const Rect c = member->clientRect();
                member->send(WM_SIZE, SIZE_RESTORED, makeLParam(c.width(), c.height()));
            }
        } else if (member->create(params)) {
            made = member;
        }
    } else if (cls->factory) {
        made = d.createWindow(params);
    } else {
        fail(sys::formatC("control %d of the window class \"%s\" can only be made by a member object: bind one "
                          "to it before the dialog is shown",
                          row.id, row.className.c_str()));
        return false;
    }
    if (!made) {
        fail(sys::formatC("control %d (window class \"%s\") could not be made", row.id, row.className.c_str()));
        return false;
    }
    if (!font.isNull()) made->setFont(font, false);
    return true;
}

bool Dialog::createModeless(Window* parent) {
    modal_ = false;
    ended_ = false;
    unanswered_ = false;
    return createFromTemplate(parent, false);
}

// [SECTION] The modal loop

std::intptr_t Dialog::doModal() {
    Desktop& d = dialogDesktop();
    if (exists()) {
        fail("it is already shown");
        return -1;
    }
    Window* focusBefore = focusToRestore(d);
    Window* owner = owner_ && d.isWindow(owner_) ? owner_ : activeModal();
    Window* ownerTop = owner ? owner->topLevel() : nullptr;
    modal_ = true;
    ended_ = false;
    unanswered_ = false;
    result_ = -1;

    ModalScope scope(*this, focusBefore);
    if (!createFromTemplate(owner, true)) {
        modal_ = false;
        return -1;
    }
    scope.disableOwner(ownerTop);
    runModalLoop();
    modal_ = false;
    return result_;
}

void Dialog::runModalLoop() {
    Desktop& d = desktop();
    while (!ended_ && exists()) {
        const ModalEnd end = d.runModalLoop([this] { return !ended_ && exists(); });
        if (ended_ || !exists()) break;
        if (end == ModalEnd::Stalled) {
            DialogUser* user = currentDialogUser();
            if (user && user->act(*this)) continue;
            // Nobody can answer: cancel, as Esc would.
            unanswered_ = true;
            onUnanswered();
            if (!ended_) endDialog(IDCANCEL);
        } else if (end == ModalEnd::Unsettled) {
            std::fprintf(stderr, "dialog \"%s\": its windows never stopped posting, painting or timing; cancelled\n",
                         template_.caption.c_str());
            unanswered_ = true;
            endDialog(IDCANCEL);
        }
    }
    if (!ended_) {
        // The window went without endDialog (destroyed by a handler): as a cancel.
        ended_ = true;
        result_ = IDCANCEL;
    }
}

void Dialog::endDialog(std::intptr_t result) {
    ended_ = true;
    result_ = result;
    if (!modal_ && exists() && !(style() & WS_CHILD)) show(SW_HIDE);
}

// [SECTION] Controls

Window* Dialog::memberFor(int id) const {
    for (const Binding& b : bindings_)
        if (b.id == id) return b.member;
    return nullptr;
}

bool Dialog::bindControl(int id, Window& member) {
    if (Window* bound = memberFor(id)) return bound == &member && (!exists() || member.exists());
    if (!exists()) {
        bindings_.push_back({id, &member});
        return true;
    }
    Window* control = item(id);
    if (!control) return false;
    if (control == &member) {
        bindings_.push_back({id, &member});
        return true;
    }
    if (!member.adopt(*control)) return false;
    bindings_.push_back({id, &member});
    const Rect c = member.clientRect();
    member.send(WM_SIZE, SIZE_RESTORED, makeLParam(c.width(), c.height()));
    return true;
}

std::string Dialog::itemText(int id) const {
    Window* w = item(id);
    return w ? w->text() : std::string();
}

bool Dialog::setItemText(int id, std::string_view text) {
    Window* w = item(id);
    if (!w) return false;
    w->setText(text);
    return true;
}

void Dialog::setDefaultId(int id) {
    if (Window* old = item(defaultId_); old && isPushButton(*old))
        old->send(BM_SETSTYLE, (old->style() & ~BS_TYPEMASK & 0xFFFF) | BS_PUSHBUTTON, 1);
    defaultId_ = id;
    if (Window* now = item(id); now && isPushButton(*now))
        now->send(BM_SETSTYLE, (now->style() & ~BS_TYPEMASK & 0xFFFF) | BS_DEFPUSHBUTTON, 1);
}

void Dialog::gotoControl(Window& control) {
    control.setFocus();
    if (control.hasFocus() && (control.send(WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        control.send(EM_SETSEL, 0, -1);
}

bool Dialog::updateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    {
        // The controls send nothing to the dialog while it runs (and what they send anyway is dropped).
        NotificationSuppressor quiet(*this);
        ExchangeScope exchanging(exchanging_);
        doDataExchange(dx);
    }
    if (!dx.failed()) return true;
    dx.reportFailure();
    return false;
}

// [SECTION] Messages

void Dialog::prepareTemplate() {}

bool Dialog::onInitDialog() {
    updateData(false);
    return true;
}

void Dialog::doDataExchange(DataExchange&) {}

void Dialog::onOK() {
    if (updateData(true)) endDialog(IDOK);
}

void Dialog::onCancel() {
    endDialog(IDCANCEL);
}

void Dialog::onUnanswered() {
    onCancel();
    if (!ended_) endDialog(IDCANCEL);
}

bool Dialog::onCommand(int, int, Window*) {
    return false;
}

bool Dialog::onNotify(const NotifyHeader&, std::intptr_t&) {
    return false;
}

std::intptr_t Dialog::windowProc(Message& m) {
    switch (m.id) {
        case WM_INITDIALOG:
            return onInitDialog() ? 1 : 0;
        case WM_COMMAND: {
            Window* control = pointerFromParam<Window>(m.l);
            // Notifications raised by loading or reading a field are not the user's doing.
            if (exchanging_ > 0 && control) return 0;
            const int id = loWord(m.w);
            const int code = hiWord(m.w);
            if (code == BN_CLICKED && id == IDOK) {
                onOK();
                return 0;
            }
            if (code == BN_CLICKED && id == IDCANCEL) {
                onCancel();
                return 0;
            }
            onCommand(id, code, control);
            return 0;
        }
        case WM_NOTIFY: {
            if (exchanging_ > 0) return 0;
            const auto* header = pointerFromParam<NotifyHeader>(m.l);
            std::intptr_t result = 0;
            if (header && onNotify(*header, result)) return result;
            return 0;
        }
        case WM_CLOSE:
            onCancel();
            return 0;
        case DM_GETDEFID:
            return makeLParam(defaultId_, static_cast<int>(DC_HASDEFID));
        case DM_SETDEFID:
            setDefaultId(static_cast<int>(m.w));
            return 1;
        default:
            return defaultProc(m);
    }
}

bool Dialog::preTranslateMessage(Message& m) {
    // A dialog inside another (a property page) leaves the keys to the top-level dialog, which walks into it.
    if (parent()) return false;
    return routeDialogKey(*this, m);
}

}  // namespace host::ui
