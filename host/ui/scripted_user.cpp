// The scripted user: answer lines read from the run's input, and what each line does to the dialog waiting.
#include "host/ui/scripted_user.h"

#include <algorithm>
#include <optional>

#include "host/ed/answers.h"
#include "host/ed/input.h"
#include "host/ed/transcript.h"
#include "host/sys/number_text.h"
#include "host/sys/text_case.h"
#include "host/ui/dialog.h"
#include "host/ui/desktop.h"
#include "host/ui/dialog_driver.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"
#include "host/ui/property_sheet.h"

namespace host::ui {

namespace {

std::string_view trimSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// Splits off the first word, or the first double-quoted run; `rest` gets what follows, spaces trimmed.
std::string firstToken(std::string_view text, std::string_view& rest) {
    text = trimSpaces(text);
    std::string token;
    std::size_t end = 0;
    if (!text.empty() && text.front() == '"') {
        const std::size_t close = text.find('"', 1);
        if (close == std::string_view::npos) {
            token = std::string(text.substr(1));
            end = text.size();
        } else {
            token = std::string(text.substr(1, close - 1));
            end = close + 1;
        }
    } else {
        end = std::min(text.find_first_of(" \t"), text.size());
        token = std::string(text.substr(0, end));
    }
    rest = trimSpaces(text.substr(end));
    return token;
}

// A value as written: double quotes round it are taken off.
std::string unquoted(std::string_view value) {
    value = trimSpaces(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string oneLine(std::string_view text) {
    std::string s(text);
    std::replace(s.begin(), s.end(), '\n', ' ');
    s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
    return s;
}

std::string answersOf(const MessageBoxDialog& box) {
    std::string s;
    for (int id : box.answers()) s += (s.empty() ? "" : "/") + std::string(answerName(id));
    return s;
}

// What a line that answers none of a box's buttons is told: the box's own buttons, and what Enter presses.
std::string notABoxAnswer(MessageBoxDialog& box, std::string_view line) {
    std::string buttons;
    const std::vector<int> answers = box.answers();
    for (std::size_t i = 0; i < answers.size(); ++i)
        buttons += (i == 0 ? "" : i + 1 == answers.size() ? " or " : ", ") + std::string(answerName(answers[i]));
    const std::string_view enter = answerName(box.defaultId());
    return "\"" + std::string(trimSpaces(line)) + "\" does not answer the message box \"" + box.text() +
           "\": answer " + buttons + (enter.empty() ? "" : " (Enter: " + std::string(enter) + ")") + ".";
}

constexpr std::string_view kConsoleHelp =
    "Type one of:\n"
    "  set <field> <value>     a field by its number or label (\"#1001\" for a control id)\n"
    "  set <table> <row> <column> <text>\n"
    "                          a cell of a table: the row by its number or a name in it, the column by its\n"
    "                          number or heading (in double quotes when it has spaces); set <table> <row>\n"
    "                          picks the row\n"
    "  press <button>          a button by its label (OK, Cancel, \"Select... (Postprocessor)\", ...)\n"
    "  tab <title | number>    another page\n"
    "  ok, cancel              the dialog's OK (its default button), Esc\n"
    "  show                    the dialog again (or an empty line)\n"
    "  picture <file.png>      a picture of the dialog as a screen shows it\n"
    "For a message box type its answer (Yes, No, OK, ...); for a file dialog the file name, or cancel.";

// In the console's syntax a plain number is the n-th field of the listing; "#N" names the id N. A number past
// the listing names nothing there (nullopt, with the reason in `why`): it is never taken for an id.
std::optional<std::string> controlName(DialogDriver& driver, const std::string& token, AnswerSyntax syntax,
                                       std::string& why) {
    if (!token.empty() && token.front() == '#') return token.substr(1);
    if (syntax == AnswerSyntax::Console) {
        const auto n = sys::parseInteger(token, 1, 100000);
        if (n.ok()) {
            int number = 0;
            for (const ControlView& f : driver.fields()) {
                if (f.kind == ControlKind::PushButton) continue;
                if (++number == n.value) return std::to_string(f.id);
            }
            why = "The dialog \"" + driver.dialog().text() + "\" lists " + std::to_string(number) +
                  (number == 1 ? " field" : " fields") + ", not " + token +
                  ": name a button by its label, a control by its id as \"#" + token + "\".";
            return std::nullopt;
        }
    }
    return token;
}

// The control a plain number of the console's listing shows, itself: its id may be shared by a control of the
// page shown (the job dialog's path edit and a page's thickness are both 201), and the id would name that one.
Window* listedControl(DialogDriver& driver, const std::string& token, AnswerSyntax syntax) {
    if (syntax != AnswerSyntax::Console) return nullptr;
    const auto n = sys::parseInteger(token, 1, 100000);
    if (!n.ok()) return nullptr;
    int number = 0;
    for (const ControlView& f : driver.fields()) {
        if (f.kind == ControlKind::PushButton) continue;
        if (++number == n.value) return f.control;
    }
    return nullptr;
}

// True when `word`, the first word of a line given to an OK-only box, addresses the dialog the box stands over
// rather than the box.
bool linePassesInformationBox(const MessageBoxDialog& box, const std::string& word, AnswerSyntax syntax) {
    if (box.answers() != std::vector<int>{IDOK} || Dialog::modalDialogs().size() < 2) return false;
    if (word == "dlg" || word == "file" || word == "folder") return true;
    return syntax == AnswerSyntax::Console && (word == "set" || word == "press" || word == "tab" || word == "show");
}

// The name the file dialog's name box holds now, as the prompt shows it: `, name "plate.nc"`; "" when empty.
std::string proposedName(const FileDialog& files) {
    const std::string name = files.itemText(kFileNameEditId);
    return name.empty() ? std::string() : ", name \"" + name + "\"";
}

AnswerOutcome fromResult(const DriveResult& r) {
    return {r.done ? std::string() : r.why, {}, !r.done && r.declined};
}

AnswerOutcome answerFileDialog(Dialog& dialog, DialogDriver& driver, std::string_view rest) {
    if (sys::equalsNoCase(trimSpaces(rest), "cancel")) {
        Window* cancel = dialog.item(IDCANCEL);
        return fromResult(cancel ? driver.press(*cancel) : driver.escape());
    }
    Window* name = dialog.item(kFileNameEditId);
    Window* ok = dialog.item(IDOK);
    if (!name || !ok) return {"The dialog \"" + dialog.text() + "\" has no name box.", {}};
    // A button's label ("Save", "Open") presses it, taking the name the box holds (the one proposed), as a
    // click on it would; it is never a file name.
    for (const ControlView& f : driver.fields()) {
        if (f.kind == ControlKind::PushButton && sys::equalsNoCase(f.label, trimSpaces(rest)))
            return fromResult(driver.press(*f.control));
    }
    const DriveResult typed = driver.set(*name, std::string(trimSpaces(rest)));
    if (!typed.done) return fromResult(typed);
    if (!dialog.hasEnded() && ok->exists()) return fromResult(driver.press(*ok));
    return {};
}

AnswerOutcome answerDialogVerb(Dialog& dialog, DialogDriver& driver, std::string_view text, AnswerSyntax syntax) {
    std::string_view rest;
    const std::string verb = sys::lowerCase(firstToken(text, rest));
    if (verb == "set") {
        std::string_view value;
        const std::string control = firstToken(rest, value);
        if (control.empty()) return {"\"set\" needs a control and a value: set <control> <value>.", {}};
        if (Window* listed = listedControl(driver, control, syntax))
            return fromResult(driver.set(*listed, unquoted(value)));
        std::string why;
        const auto name = controlName(driver, control, syntax, why);
        if (!name) return {why, {}};
        return fromResult(driver.set(*name, unquoted(value)));
    }
    if (verb == "press") {
        if (rest.empty()) return {"\"press\" needs a button: press <button>.", {}};
        std::string why;
        const auto name = controlName(driver, unquoted(rest), syntax, why);
        if (!name) return {why, {}};
        return fromResult(driver.press(*name));
    }
    if (verb == "tab") {
        if (rest.empty()) return {"\"tab\" needs a title or a number: tab <title | number>.", {}};
        return fromResult(driver.selectTab(unquoted(rest)));
    }
    if (verb == "ok" && rest.empty()) return fromResult(driver.ok());
    if (verb == "cancel" && rest.empty()) return fromResult(driver.escape());
    if (verb == "show" && rest.empty()) return {{}, driver.describe(syntax == AnswerSyntax::Console)};
    if (verb == "picture") {
        if (rest.empty()) return {"\"picture\" needs a file: picture <file.png>.", {}};
        std::string error;
        Desktop& desktop = dialog.desktop();
        if (!desktop.rasterEnabled()) {
            // Pixels are kept from now on: every window paints again before the picture is taken.
            desktop.setRasterEnabled(true);
            desktop.pumpUntilIdle();
        }
        if (!desktop.saveSnapshot(&dialog, unquoted(rest), &error)) return {error, {}};
        return {};
    }
    if (auto* box = dynamic_cast<MessageBoxDialog*>(&dialog)) return {notABoxAnswer(*box, text), {}};
    return {"\"" + std::string(trimSpaces(text)) + "\" is not something to do to the dialog \"" + dialog.text() +
                "\": use set, press, tab, ok, cancel, show or picture.",
            {}};
}

}  // namespace

std::string answerPrompt(Dialog& dialog) {
    if (auto* box = dynamic_cast<MessageBoxDialog*>(&dialog))
        return "\nMessage box \"" + box->text() + "\": " + oneLine(box->message()) + " [" + answersOf(*box) + "]: ";
    if (auto* files = dynamic_cast<FileDialog*>(&dialog))
        return "\nFile dialog \"" + files->text() + "\" in " + files->currentFolder().string() +
               proposedName(*files) + ": ";
    if (auto* folders = dynamic_cast<FolderDialog*>(&dialog))
        return "\nFolder dialog \"" + folders->text() + "\" in " + folders->currentFolder().string() + ": ";
    if (auto* sheet = dynamic_cast<PropertySheet*>(&dialog); sheet && sheet->activePage())
        return "\nDialog \"" + sheet->text() + "\", page \"" + sheet->activePage()->title() + "\": ";
    return "\nDialog \"" + dialog.text() + "\": ";
}

AnswerOutcome applyAnswerLine(Dialog& dialog, std::string_view line, AnswerSyntax syntax) {
    DialogDriver driver(dialog);
    const std::string_view text = trimSpaces(line);
    if (ed::isCancelToken(text)) return fromResult(driver.escape());

    auto* box = dynamic_cast<MessageBoxDialog*>(&dialog);
    const bool fileLike = dynamic_cast<FileDialog*>(&dialog) || dynamic_cast<FolderDialog*>(&dialog);
    if (auto answer = ed::optionalAnswer(text)) {
        // An answer for a box that may not come: without a box it is passed over and the next line is read.
        if (!box) return {{}, "(No message box shows: the optional answer is passed over.)"};
        if (ed::isOptionalBoxAnswer(text)) return applyAnswerLine(dialog, *answer, AnswerSyntax::Script);
        return applyAnswerLine(dialog, "msgbox " + std::string(*answer), AnswerSyntax::Script);
    }
    std::string_view rest;
    const std::string word = sys::lowerCase(firstToken(text, rest));

    if (box && text.empty()) {
        // Enter presses the default button, as on a screen.
        Window* button = box->item(box->defaultId());
        return fromResult(button ? driver.press(*button) : DriveResult::refused("The box has no default button."));
    }
    if (box && linePassesInformationBox(*box, word, syntax)) {
        // A box that only informs (a field check's "Invalid symbol") has nothing to decide: a line meant for the
        // dialog beneath acknowledges it, and goes on to that dialog.
        ed::giveBackInputLine(std::string(text));
        box->answer(IDOK);
        return {{}, "(The message box is answered OK; the line goes to the dialog beneath.)"};
    }

    if (syntax == AnswerSyntax::Console) {
        if (text.empty() && fileLike && !dialog.itemText(kFileNameEditId).empty()) return fromResult(driver.enter());
        if (text.empty()) return {{}, driver.describe(true)};
        if (word == "help" || word == "?") return {{}, std::string(kConsoleHelp)};
        if (box && answerFromName(text) != 0) return applyAnswerLine(dialog, "msgbox " + std::string(text), syntax);
        const bool known = word == "dlg" || word == "msgbox" || word == "file" || word == "folder";
        if (!known) {
            const bool dialogVerb = word == "set" || word == "press" || word == "tab" || word == "ok" ||
                                    word == "cancel" || word == "show";
            if (fileLike && !dialogVerb) return answerFileDialog(dialog, driver, text);
            return answerDialogVerb(dialog, driver, text, syntax);
        }
    }

    if (word == "dlg") return answerDialogVerb(dialog, driver, rest, syntax);
    if (word == "msgbox") {
        if (!box) return {"\"" + std::string(text) + "\" answers a message box, but the dialog \"" + dialog.text() +
                              "\" is waiting.",
                          {}};
        const int id = answerFromName(rest);
        const std::vector<int> answers = box->answers();
        if (id == 0 || std::find(answers.begin(), answers.end(), id) == answers.end())
            return {"The message box \"" + box->text() + "\" has no button \"" + std::string(rest) + "\"; it has " +
                        answersOf(*box) + ".",
                    {}};
        Window* button = box->item(id);
        return fromResult(button ? driver.press(*button) : DriveResult::refused("The button is missing."));
    }
    if (word == "file" || word == "folder") {
        if (!fileLike)
            return {"\"" + std::string(text) + "\" answers a file dialog, but the dialog \"" + dialog.text() +
                        "\" is waiting.",
                    {}};
        return answerFileDialog(dialog, driver, rest);
    }
    if (box) return {notABoxAnswer(*box, text) + " A script writes msgbox <answer>.", {}};
    return {"\"" + std::string(text) + "\" is not an answer to the dialog \"" + dialog.text() +
                "\": start it with dlg, msgbox, file or folder.",
            {}};
}

bool ScriptedUser::act(Dialog& dialog) {
    if (endedOn_ != 0 && endedOn_ == dialog.showing()) return false;
    std::optional<std::string> line = ed::readInputLine(answerPrompt(dialog));
    if (!line) {
        // The script has ended: the dialog is cancelled; if it does not end, nobody can answer it.
        endedOn_ = dialog.showing();
        DialogDriver(dialog).escape();
        return true;
    }
    endedOn_ = 0;
    // Where the line stands, taken now: answering it may read further lines (for a message box it opens).
    const std::string where = ed::input().position();
    const AnswerOutcome outcome = applyAnswerLine(dialog, *line, AnswerSyntax::Script);
    if (!outcome.complaint.empty() && outcome.declined) {
        ed::print("\n" + outcome.complaint + (where.empty() ? "" : " (" + where + ")"));
    } else if (!outcome.complaint.empty()) {
        ed::print("\n" + outcome.complaint + (where.empty() ? "" : " (" + where + ")"));
        // The script was written for another dialog, or for this one as it is not: what it does next would
        // answer the wrong thing. It stops here, and the run with it.
        std::string why = outcome.complaint;
        while (!why.empty() && (why.back() == '.' || why.back() == ' ')) why.pop_back();
        ed::stopScript(where.empty() ? why : where + ": " + why);
    }
    if (!outcome.shown.empty()) ed::print("\n" + outcome.shown);
    return true;
}

}  // namespace host::ui
