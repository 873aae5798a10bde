// The open drawings: new, open, save, close and switch, with the modules told at each step.
#include "host/ed/documents.h"

#include <algorithm>
#include <system_error>

#include "host/dxf/dxf_file.h"
#include "host/ed/display.h"
#include "host/ed/transcript.h"

namespace host::ed {
namespace {

namespace fs = std::filesystem;

// Makes a document current for as long as the guard lives, then the one that was current before (when it is
// still open).
class CurrentFor {
public:
    CurrentFor(DocumentManager& manager, Document& doc) : manager_(manager), previous_(manager.current()) {
        manager_.setCurrent(doc);
    }
    ~CurrentFor() {
        const auto open = manager_.documents();
        if (previous_ && std::find(open.begin(), open.end(), previous_) != open.end()) manager_.setCurrent(*previous_);
    }
    CurrentFor(const CurrentFor&) = delete;
    CurrentFor& operator=(const CurrentFor&) = delete;

private:
    DocumentManager& manager_;
    Document* previous_;
};

}  // namespace

Document::Document(std::unique_ptr<db::Database> database) : db_(std::move(database)) {
    if (!db_) db_ = std::make_unique<db::Database>();
    title_ = db_->fileName().filename().string();
}

DocumentManager& documents() {
    static DocumentManager manager;
    return manager;
}

void DocumentManager::tell(DocumentEvent event, Document& doc) {
    if (!listener_) return;
    CurrentFor current(*this, doc);
    listener_(event, doc);
}

Document* DocumentManager::newDocument() {
    auto doc = std::make_unique<Document>(std::make_unique<db::Database>());
    doc->setTitle("Drawing" + std::to_string(++untitled_) + ".dxf");
    Document* added = doc.get();
    docs_.push_back(std::move(doc));
    setCurrent(*added);
    tell(DocumentEvent::Loaded, *added);
    return added;
}

Document* DocumentManager::open(const fs::path& path, std::string* error) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    auto fail = [&](std::string why) -> Document* {
        if (error) *error = std::move(why);
        return nullptr;
    };
    if (!fs::exists(status)) return fail("cannot open " + path.string() + ": no such file");
    if (fs::is_directory(status)) return fail("cannot open " + path.string() + ": it is a folder, not a drawing");
    dxf::ReadResult read = dxf::readDxfFile(path);
    if (!read) return fail("cannot open drawing: " + read.error);
    // What the reader repaired (a reused handle, a colour out of range) is told, as a CAD program's audit does.
    for (const std::string& note : read.notes) print("\n" + note);
    auto doc = std::make_unique<Document>(std::move(read.database));
    Document* added = doc.get();
    docs_.push_back(std::move(doc));
    setCurrent(*added);
    tell(DocumentEvent::Loaded, *added);
    return added;
}

bool DocumentManager::save(Document& doc, const fs::path& path, std::string* error) {
    const fs::path target = path.empty() ? doc.fileName() : path;
    if (target.empty()) {
        if (error) *error = doc.title() + " has no file yet: give a file name to save it";
        return false;
    }
    // The modules write what they keep in memory into the drawing first, so the file holds it.
    tell(DocumentEvent::Saving, doc);
    std::string why;
    if (!dxf::writeDxfFile(doc.database(), target, &why)) {
        if (error) *error = "cannot save " + target.string() + ": " + why;
        return false;
    }
    doc.database().setFileName(target);
    doc.setTitle(target.filename().string());
    doc.database().clearModified();
    return true;
}

void DocumentManager::detachFromFile(Document& doc) {
    if (doc.fileName().empty()) return;
    doc.database().setFileName({});
    doc.setTitle("Drawing" + std::to_string(++untitled_) + ".dxf");
}

void DocumentManager::close(Document& doc) {
    const auto it = std::find_if(docs_.begin(), docs_.end(), [&](const auto& d) { return d.get() == &doc; });
    if (it == docs_.end()) return;
    tell(DocumentEvent::Unloading, doc);
    // Find it again: a module may have opened or closed documents while it was told.
    const auto at = std::find_if(docs_.begin(), docs_.end(), [&](const auto& d) { return d.get() == &doc; });
    if (at == docs_.end()) return;
    std::unique_ptr<Document> closing = std::move(*at);
    docs_.erase(at);
    forgetDisplay(closing->database());
    if (current_ == &doc) {
        current_ = nullptr;
        db::setWorkingDatabase(nullptr);
        if (!docs_.empty()) setCurrent(*docs_.back());
    } else if (db::workingDatabase() == &doc.database()) {
        db::setWorkingDatabase(current_ ? &current_->database() : nullptr);
    }
}

void DocumentManager::setCurrent(Document& doc) {
    current_ = &doc;
    db::setWorkingDatabase(&doc.database());
}

std::vector<Document*> DocumentManager::documents() const {
    std::vector<Document*> all;
    for (const auto& d : docs_) all.push_back(d.get());
    return all;
}

Document* DocumentManager::documentOf(const db::Database* database) const {
    for (const auto& d : docs_) {
        if (&d->database() == database) return d.get();
    }
    return nullptr;
}

void DocumentManager::closeAll() {
    // Newest first, so the current document changes as little as possible on the way.
    while (!docs_.empty()) close(*docs_.back());
}

}  // namespace host::ed
