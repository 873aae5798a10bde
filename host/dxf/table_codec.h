// Symbol-table records in DXF: the nine tables' names and markers, and each record kind read from and written to
// its groups.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/db/tables.h"
#include "host/dxf/dxf_output.h"
#include "host/dxf/dxf_record.h"

namespace host::dxf {

// The tables in the order R2000 files hold them (BLOCK_RECORD last, before the BLOCKS section).
inline constexpr db::TableKind kTableOrder[] = {
    db::TableKind::Viewport, db::TableKind::Linetype, db::TableKind::Layer,    db::TableKind::TextStyle,
    db::TableKind::View,     db::TableKind::Ucs,      db::TableKind::RegApp,   db::TableKind::DimStyle,
    db::TableKind::Block,
};

// "LAYER" <-> TableKind; the table's name is also its records' name.
std::optional<db::TableKind> tableKindOf(std::string_view tableName);
const char* tableName(db::TableKind kind);
// The group holding a record's handle: 105 for DIMSTYLE, 5 for the others.
int recordHandleCode(db::TableKind kind);

// What a record names that the reader resolves once the tables are read.
struct RecordLinks {
    std::string linetypeName;           // LAYER: its line type (group 6)
    std::optional<db::Handle> layout;   // BLOCK_RECORD: its layout (group 340)
    // DIMSTYLE: references that hold a record's name where its handle belongs (340 text style, 341-344 blocks,
    // 345-347 line types), each with the index of the kept group that stands for it (its value empty).
    struct NamedReference {
        std::size_t group;
        int code;
        std::string name;
        std::size_t line;
    };
    std::vector<NamedReference> names;
};

// A new record of the table's kind from the record's body groups. Values a record refuses (a layer colour of 0,
// a negative text height) fail naming the line.
// The table whose record a DIMSTYLE reference names: 340 a text style, 341-344 blocks, 345-347 line types.
std::optional<db::TableKind> tableOfDimStyleReference(int code);

std::unique_ptr<db::SymbolTableRecord> readTableRecord(db::TableKind kind, const SplitRecord& record,
                                                       const TextEncoding& encoding, RecordLinks& links);

// Writes a record's groups after its head: the subclass markers, 2 name, 70 flags and the kind's data.
// `layout` is the BLOCK_RECORD's layout handle (the record's own, or one the writer made).
void writeTableRecord(const db::SymbolTableRecord& record, DxfOutput& out, db::Handle layout);

}  // namespace host::dxf
