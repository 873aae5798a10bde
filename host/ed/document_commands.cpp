// The document commands: new, open, save, save as, close and quit, as a user types them or a script runs them.
#include "host/ed/document_commands.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "host/db/resbuf.h"
#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/documents.h"
#include "host/ed/input.h"
#include "host/ed/prompts.h"
#include "host/ed/transcript.h"

namespace host::ed {
namespace {

// A file name is a path; longer answers than this are no file name of any file system we run on.
constexpr std::size_t kMaxFileNameChars = 4096;

// Asks for a file name; Enter takes `offered` (the name in the prompt's <>) when there is one. Nothing on Esc, on
// Enter with nothing offered, or on a failure (the command is then cancelled).
std::optional<std::string> askFileName(std::string_view prompt, const std::string& offered = {}) {
    std::string name;
    const int status = getString(true, prompt, name, kMaxFileNameChars);
    if ((status == db::RTNORM || status == db::RTNONE) && name.empty() && !offered.empty()) return offered;
    if (status != db::RTNORM || name.empty()) {
        setCommandResult(db::RTCAN);
        return std::nullopt;
    }
    return name;
}

Document* currentOrComplain() {
    Document* doc = documents().current();
    if (!doc) {
        print("\nNo drawing is open.");
        setCommandResult(db::RTERROR);
    }
    return doc;
}

// True when `path` names a file other than the drawing's own that is there already.
bool wouldReplaceAnotherFile(const Document& doc, const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (path.empty() || !fs::exists(path, ec)) return false;
    if (!doc.fileName().empty() && fs::equivalent(path, doc.fileName(), ec)) return false;
    return true;
}

// Asks before a save writes over another file; No (Enter) keeps that file. Answers whether to go on.
bool mayReplace(const std::filesystem::path& path) {
    initGet(0, "Yes No");
    std::string answer;
    const int status =
        getKeyword("\n" + path.string() + " already exists. Replace it? [Yes/No] <No>: ", answer);
    if (status == db::RTNORM && answer == "Yes") return true;
    if (status == db::RTNONE || (status == db::RTNORM && answer == "No"))
        print("\n" + path.string() + " is kept; the drawing was not saved.");
    setCommandResult(status == db::RTERROR ? db::RTERROR : db::RTCAN);
    return false;
}

// Saves a document to `path` (empty: its own file), saying what happened. Another file already there is
// replaced only when the user says so.
bool saveTo(Document& doc, const std::filesystem::path& path) {
    if (wouldReplaceAnotherFile(doc, path) && !mayReplace(path)) return false;
    std::string error;
    if (!documents().save(doc, path, &error)) {
        print("\n" + error);
        setCommandResult(db::RTERROR);
        // A script goes no further than a save it could not make: the lines after it count on the file.
        stopScript(input().position() + ": " + error);
        return false;
    }
    print("\nSaved " + doc.fileName().string());
    return true;
}

// QSAVE's and CLOSE's save: to the drawing's own file, or to one asked for when it has none yet.
bool saveToOwnFile(Document& doc) {
    if (!doc.fileName().empty()) return saveTo(doc, {});
    auto name = askFileName("\nSave drawing as <" + doc.title() + ">: ", doc.title());
    return name && saveTo(doc, *name);
}

void newCommand() {
    Document* doc = documents().newDocument();
    print("\n" + doc->title());
}

void openCommand() {
    auto name = askFileName("\nEnter name of drawing to open: ");
    if (!name) return;
    std::string error;
    if (!documents().open(*name, &error)) {
        print("\n" + error);
        setCommandResult(db::RTERROR);
        return;
    }
    print("\nOpened " + documents().current()->title());
}

void qsaveCommand() {
    if (Document* doc = currentOrComplain()) saveToOwnFile(*doc);
}

void saveAsCommand() {
    Document* doc = currentOrComplain();
    if (!doc) return;
    if (auto name = askFileName("\nSave drawing as: ")) saveTo(*doc, *name);
}

// Asks whether to save a changed drawing; `withCancel` offers Cancel too. Answers whether the caller may go on:
// false after Esc, Cancel, or a save that failed (the drawing stays open, unsaved changes and all).
bool offerToSave(Document& doc, bool withCancel) {
    if (!doc.database().isModified()) return true;
    initGet(0, withCancel ? "Yes No Cancel" : "Yes No");
    std::string answer;
    const std::string choices = withCancel ? "[Yes/No/Cancel]" : "[Yes/No]";
    const int status = getKeyword("\nSave changes to " + doc.title() + "? " + choices + " <Yes>: ", answer);
    if (status == db::RTCAN || status == db::RTERROR || answer == "Cancel") {
        setCommandResult(status == db::RTERROR ? db::RTERROR : db::RTCAN);
        return false;
    }
    const bool save = status == db::RTNONE || answer == "Yes";
    return !save || saveToOwnFile(doc);
}

void closeCommand() {
    Document* doc = currentOrComplain();
    if (!doc) return;
    if (!offerToSave(*doc, false)) return;
    documents().close(*doc);
}

// QUIT: a person at a terminal is asked about each changed drawing (Yes saves it, No drops the changes, Cancel or
// Esc stays in the program); a script's QUIT leaves at once, as its author wrote it.
void quitCommand() {
    if (input().isTerminal()) {
        for (Document* doc : documents().documents()) {
            if (!offerToSave(*doc, true)) {
                print("\n" + doc->title() + " stays open, unsaved: QUIT is cancelled.");
                return;
            }
        }
    }
    requestQuit();
}

}  // namespace

void registerDocumentCommands() {
    CommandStack& stack = commandStack();
    stack.removeGroup(kDocumentCommandGroup);
    struct Entry {
        const char* name;
        int flags;
        void (*body)();
    };
    const Entry entries[] = {
        {"NEW", CMD_SESSION, newCommand},     {"OPEN", CMD_SESSION, openCommand},
        {"QSAVE", 0, qsaveCommand},           {"SAVEAS", 0, saveAsCommand},
        {"CLOSE", CMD_SESSION, closeCommand}, {"QUIT", CMD_SESSION | CMD_NOUNDOMARKER, quitCommand},
    };
    for (const Entry& e : entries) stack.add({kDocumentCommandGroup, e.name, e.name, e.flags, e.body});
}

}  // namespace host::ed
