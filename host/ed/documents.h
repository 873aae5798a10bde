// Documents: the open drawings, one of them current (its database is the working database).
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/db/database.h"

namespace host::ed {

class Document {
public:
    explicit Document(std::unique_ptr<db::Database> database);
    db::Database& database() { return *db_; }
    const db::Database& database() const { return *db_; }
    // The file the drawing belongs to ("" for a new, unsaved drawing) and its title ("Drawing1.dxf" when new).
    const std::filesystem::path& fileName() const { return db_->fileName(); }
    const std::string& title() const { return title_; }
    void setTitle(std::string t) { title_ = std::move(t); }

private:
    std::unique_ptr<db::Database> db_;
    std::string title_;
};

// What happens to a document, as the modules are told (host/app turns these into application messages).
enum class DocumentEvent {
    Loaded,     // opened or created, and current (load drawing)
    Unloading,  // about to close, and current (unload drawing)
    Saving,     // about to be written, and current (save): what the modules write into it goes into the file
};
// Called with the document current (the working database is its database); the previous current document is
// current again afterwards. Set by the module loader; nothing is told while none is set.
using DocumentListener = std::function<void(DocumentEvent, Document&)>;

// Opening and closing send the modules their messages (load drawing, unload drawing) with the document current;
// saving sends "save" before the file is written.
class DocumentManager {
public:
    // A new drawing titled "DrawingN.dxf" (N counts up in the session); it becomes current.
    Document* newDocument();
    // nullptr with the reader's message in `error` when the file cannot be read; nothing else changes. The opened
    // drawing becomes current. A file that is open already is opened once more, as a second document. What the
    // reader repaired while reading is printed, one line each.
    Document* open(const std::filesystem::path& path, std::string* error);
    // Saves to `path` (empty: the document's own file). A failed save says why and leaves the old file. After a
    // save the document belongs to `path` (its file name and title follow) and is no longer modified.
    bool save(Document& doc, const std::filesystem::path& path, std::string* error);
    // The document no longer belongs to its file: it is titled as a new drawing ("DrawingN.dxf") and a later save
    // asks for a name instead of writing over that file. For a module that puts other content in place of the
    // drawing's (a nested sheet over a part drawing). Nothing when it belongs to no file.
    void detachFromFile(Document& doc);
    // Tells the modules, then closes the drawing. When it was current, the most recently opened of the others
    // becomes current (none: there is no working database).
    void close(Document& doc);
    void setCurrent(Document& doc);
    Document* current() const { return current_; }
    std::vector<Document*> documents() const;
    // The document of a database, or nullptr (a side database read from a file is no document).
    Document* documentOf(const db::Database* database) const;
    // Closes every document (unload-drawing messages first).
    void closeAll();
    void setListener(DocumentListener listener) { listener_ = std::move(listener); }

private:
    void tell(DocumentEvent event, Document& doc);

    std::vector<std::unique_ptr<Document>> docs_;
    Document* current_ = nullptr;
    int untitled_ = 0;
    DocumentListener listener_;
};

DocumentManager& documents();

}  // namespace host::ed
