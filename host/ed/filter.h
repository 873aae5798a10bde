// Selection filters: lists of DXF groups with relational and logical operators, compiled once and then tested
// against each entity of a selection.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/db/database.h"
#include "host/db/resbuf.h"

namespace host::ed {

// A filter list, as modules pass it to ssGet:
//   (code . value)        the entity has a group `code` whose value matches: strings as wildcard patterns
//                         (wildcard.h), without regard to case for the names of groups 0, 2, 6, 7 and 8, with
//                         case for other texts; numbers and points exactly. An entity with several groups of the
//                         code (the vertices of a polyline) matches when one of them does.
//   (-4 . "op") (code . value)
//                         a relational test: "=", "!=", "/=", "<>", "<", "<=", ">", ">=", "*" (anything); for a
//                         point one operator per coordinate, comma separated (">,>,*"). Texts take "=", "!="
//                         and "*" only.
//   (-4 . "<AND") ... (-4 . "AND>")   all of the enclosed tests (a list is an AND of its items anyway)
//   (-4 . "<OR") ... (-4 . "OR>")     one of them at least
//   (-4 . "<XOR") a b (-4 . "XOR>")   exactly one of exactly two tests
//   (-4 . "<NOT") a (-4 . "NOT>")     the one test does not hold
//   (-3) (1001 . "APP") ...           the entity has extended data of every application named (wildcards)
// Operators are read without regard to case. A group the entity leaves out of its data list because it holds
// its default value is tested at that value: (62 . 256) finds entities of colour BYLAYER, (60 . 0) visible ones,
// (50 . 0.0) texts at rotation 0, (6 . "BYLAYER") entities whose line type is by layer. A kind that does not have
// the group at all never matches a test of it.
class SelectionFilter {
public:
    // A compiled filter, or nullopt with the reason in `error`: an operator that does not close or closes what
    // is not open, "<XOR" without exactly two tests, "<NOT" without exactly one, an unknown operator, a relational
    // operator with no test after it, a text compared with "<".
    static std::optional<SelectionFilter> compile(const db::ResBufList& list, std::string* error = nullptr);

    // An empty filter passes every entity.
    bool empty() const;
    bool matches(db::ObjectId entity) const;
    bool matches(const db::Entity& entity) const;

    // Whether the filter looks at nothing but the kind and the layer (groups 0 and 8), and its answer for an
    // entity of that kind on that layer; see FilterPass.
    bool testsKindAndLayerOnly() const { return kindAndLayerOnly_; }
    bool matchesKindAndLayer(const char* kind, const std::string& layer) const;

    struct Node;
    SelectionFilter(const SelectionFilter&);
    SelectionFilter(SelectionFilter&&) noexcept;
    SelectionFilter& operator=(SelectionFilter) noexcept;
    ~SelectionFilter();

private:
    SelectionFilter();
    std::unique_ptr<Node> root_;
    bool kindAndLayerOnly_ = false;
};

// One pass of a filter (or of none) over a drawing that does not change meanwhile. A filter that looks at the kind
// and the layer alone is answered once for each kind and layer the pass meets, by the kind's name and the layer's
// id, so that a whole-drawing selection makes no data list and compares no name for each entity; any other
// filter is tested on each entity as SelectionFilter::matches does. The answers are those of matches().
class FilterPass {
public:
    explicit FilterPass(const SelectionFilter* filter) : filter_(filter) {}
    bool passes(const db::Entity& entity);

private:
    struct Key {
        const char* kind;
        db::ObjectId layer;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const noexcept {
            return std::hash<const void*>()(k.kind) ^ (std::hash<db::ObjectId>()(k.layer) * 31u);
        }
    };
    const SelectionFilter* filter_;
    std::unordered_map<Key, bool, KeyHash> answers_;
};

}  // namespace host::ed
