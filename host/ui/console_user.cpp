// The console user: dialogs written out as text on the command line and answered by a person's lines.
#include "host/ui/console_user.h"

#include "host/ed/answers.h"
#include "host/ed/transcript.h"
#include "host/ui/dialog.h"
#include "host/ui/dialog_driver.h"
#include "host/ui/file_dialog.h"
#include "host/ui/message_box.h"
#include "host/ui/scripted_user.h"

namespace host::ui {

namespace {

// A folder's listing is cut here on the terminal; the rest is one line saying how many more.
constexpr std::size_t kListedOnConsole = 30;

std::string buttonsOf(const MessageBoxDialog& box) {
    std::string s;
    for (int id : box.answers()) s += " [" + std::string(answerName(id)) + "]";
    return s;
}

std::string listing(const std::vector<std::string>& names) {
    std::string s;
    for (std::size_t i = 0; i < names.size() && i < kListedOnConsole; ++i) s += "\n    " + names[i];
    if (names.size() > kListedOnConsole)
        s += "\n    ... and " + std::to_string(names.size() - kListedOnConsole) + " more";
    return s;
}

}  // namespace

std::string describeForConsole(Dialog& dialog) {
    if (auto* box = dynamic_cast<MessageBoxDialog*>(&dialog))
        return "Message box \"" + box->text() + "\":" + textAsLines(box->message(), "  ") + "\n  Answers:" +
               buttonsOf(*box);
    if (auto* files = dynamic_cast<FileDialog*>(&dialog)) {
        std::string filter;
        if (Window* types = files->item(kFileTypeComboId)) {
            std::string s;
            types->send(CB_GETLBTEXT, static_cast<std::uintptr_t>(types->send(CB_GETCURSEL)), lParamFromPointer(&s));
            filter = s;
        }
        const std::string proposed = files->itemText(kFileNameEditId);
        return "File dialog \"" + files->text() + "\" in " + files->currentFolder().string() +
               (filter.empty() ? "" : " (" + filter + ")") + ":" + listing(files->listedNames()) +
               (proposed.empty() ? "" : "\n  Name: " + proposed + " (Enter takes it)") +
               "\n  Type a file name (relative to this folder, or absolute), a folder to open it, or cancel.";
    }
    if (auto* folders = dynamic_cast<FolderDialog*>(&dialog))
        return "Folder dialog \"" + folders->text() + "\" in " + folders->currentFolder().string() + ":" +
               listing(folders->listedNames()) +
               "\n  Type a folder (relative to this one, or absolute), an empty name for this one, or cancel.";
    return DialogDriver(dialog).describe(true) + "\n  Type set <field> <value>, press <button>, ok, cancel or help.";
}

bool ConsoleUser::act(Dialog& dialog) {
    if (endedOn_ != 0 && endedOn_ == dialog.showing()) return false;
    if (shown_ != dialog.showing()) {
        ed::print("\n" + describeForConsole(dialog));
        shown_ = dialog.showing();
    }
    std::optional<std::string> line = ed::readInputLine("\n" + dialog.text() + "> ");
    if (!line) {
        endedOn_ = dialog.showing();
        DialogDriver(dialog).escape();
        return true;
    }
    endedOn_ = 0;
    const AnswerOutcome outcome = applyAnswerLine(dialog, *line, AnswerSyntax::Console);
    if (!outcome.complaint.empty()) ed::print("\n" + outcome.complaint);
    if (!outcome.shown.empty()) {
        ed::print("\n" + outcome.shown);
    } else if (outcome.complaint.empty()) {
        // Something was done: the dialog (or the one its action opened) is shown again before the next line.
        shown_ = 0;
    }
    return true;
}

}  // namespace host::ui
