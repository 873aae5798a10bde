// The host's clipboard for entities: copies kept in a drawing of their own, pasted back as new entities.
#pragma once

#include <memory>
#include <vector>

#include "host/db/database.h"

namespace host::ed {

class Clipboard {
public:
    Clipboard();
    ~Clipboard();
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    // Replaces the contents with copies of the live entities given (in that order), with the records they name.
    // Entities the host keeps as read (it cannot move them, so they could not be pasted elsewhere) and ids that
    // name no live entity are passed over. The base point is the lower-left corner of the copied entities'
    // extents (z 0). Answers the ids copied; the contents are empty when none was (or a copy failed: then
    // nothing is kept and nothing is answered).
    std::vector<db::ObjectId> copyFrom(const std::vector<db::ObjectId>& entities);
    bool empty() const;
    std::size_t size() const;
    ge::Point3d basePoint() const { return base_; }
    void clear();

    // Copies the contents into the model space of `target`, moved so that the base point lands on `at`: new
    // entities with new handles every time (layers and other records made where missing). Fails, leaving
    // nothing behind, with the status of a copy that could not be made (InvalidInput when empty).
    db::Status pasteInto(db::Database& target, const ge::Point3d& at, std::vector<db::ObjectId>* created = nullptr);

private:
    std::unique_ptr<db::Database> store_;
    ge::Point3d base_;
};

// The session's clipboard (it lives until the process ends).
Clipboard& clipboard();

}  // namespace host::ed
