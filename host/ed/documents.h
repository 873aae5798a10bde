// Documents: the open drawings, one of them current (its database is the working database).
#pragma once

#include <filesystem>
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

// Opening and closing send the modules their messages (load drawing, unload drawing) with the document current;
// saving sends "save" before the file is written.
class DocumentManager {
public:
    Document* newDocument();
    // nullptr with the reader's message in `error` when the file cannot be read; nothing else changes.
    Document* open(const std::filesystem::path& path, std::string* error);
    // Saves to `path` (empty: the document's own file). A failed save says why and leaves the old file.
    bool save(Document& doc, const std::filesystem::path& path, std::string* error);
    void close(Document& doc);
    void setCurrent(Document& doc);
    Document* current() const { return current_; }
    std::vector<Document*> documents() const;
    // Closes every document (unload-drawing messages first).
    void closeAll();

private:
    std::vector<std::unique_ptr<Document>> docs_;
    Document* current_ = nullptr;
    int untitled_ = 0;
};

DocumentManager& documents();

}  // namespace host::ed
