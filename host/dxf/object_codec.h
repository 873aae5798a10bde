// Objects of the OBJECTS section in DXF: dictionaries and groups read into their classes, every other object kept
// as read.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/db/dictionary.h"
#include "host/dxf/dxf_output.h"
#include "host/dxf/dxf_record.h"

namespace host::dxf {

// What an object refers to by handle, resolved once the whole file is read.
struct ObjectLinks {
    std::vector<std::pair<std::string, db::Handle>> entries;  // DICTIONARY: name -> object (350 or 360)
    std::vector<db::Handle> members;                          // GROUP: 340 members in order
    std::size_t line = 0;
};

// A new object from a record of the OBJECTS section: a Dictionary, a Group, or an OpaqueObject holding the
// record's groups after its head (application 102 groups first).
std::unique_ptr<db::DbObject> readObject(const SplitRecord& record, const TextEncoding& encoding, ObjectLinks& links);

// Writes an object's groups after its head.
void writeObjectBody(const db::DbObject& object, DxfOutput& out);

}  // namespace host::dxf
