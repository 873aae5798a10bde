// Selection filters: compiling a filter list into a tree of tests, and testing an entity's groups against it.
#include "host/ed/filter.h"

#include <cstring>
#include <span>
#include <typeinfo>

#include "host/db/entities.h"
#include "host/db/entity_groups.h"
#include "host/ed/wildcard.h"
#include "host/sys/text_case.h"

namespace host::ed {

namespace {

constexpr int kOperatorCode = -4;
constexpr int kXDataSentinel = -3;
constexpr int kXDataApp = 1001;

enum class Op { Eq, Ne, Lt, Le, Gt, Ge, Any };

std::optional<Op> parseOp(std::string_view s) {
    struct Name {
        const char* text;
        Op op;
    };
    static constexpr Name kNames[] = {{"=", Op::Eq},  {"!=", Op::Ne}, {"/=", Op::Ne}, {"<>", Op::Ne},
                                      {"<", Op::Lt},  {"<=", Op::Le}, {">", Op::Gt},  {">=", Op::Ge},
                                      {"*", Op::Any}};
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    for (const Name& n : kNames)
        if (s == n.text) return n.op;
    return std::nullopt;
}

// Names of symbol-table records and entity kinds: compared without regard to case, as the host treats names.
bool isNameGroup(int code) { return code == 0 || code == 2 || code == 6 || code == 7 || code == 8; }

std::optional<double> numberOf(const db::ResBuf& rb) {
    if (const double* d = std::get_if<double>(&rb.value)) return *d;
    if (const std::int64_t* i = std::get_if<std::int64_t>(&rb.value)) return double(*i);
    return std::nullopt;
}

bool compareNumbers(double a, Op op, double b) {
    switch (op) {
    case Op::Eq: return a == b;
    case Op::Ne: return a != b;
    case Op::Lt: return a < b;
    case Op::Le: return a <= b;
    case Op::Gt: return a > b;
    case Op::Ge: return a >= b;
    case Op::Any: return true;
    }
    return false;
}

// Values a kind leaves out of its data list when they hold their default, as writeEntityGroups leaves them.
struct DefaultGroup {
    const char* kinds;  // comma-separated DXF names; "*" for every entity
    int code;
    db::ResBuf value;
};

const std::vector<DefaultGroup>& defaultGroups() {
    using db::ResBuf;
    static const std::vector<DefaultGroup> table = {
        {"*", 6, ResBuf(6, "BYLAYER")},
        {"*", 62, ResBuf(62, 256)},
        {"*", 48, ResBuf(48, 1.0)},
        {"*", 60, ResBuf(60, 0)},
        {"*", 67, ResBuf(67, 0)},
        {"*", 370, ResBuf(370, -1)},
        {"LINE,CIRCLE,ARC,POINT,LWPOLYLINE,TEXT,ATTRIB,ATTDEF", 39, ResBuf(39, 0.0)},
        {"LINE,CIRCLE,ARC,POINT,LWPOLYLINE,POLYLINE,TEXT,ATTRIB,ATTDEF,MTEXT,ELLIPSE,INSERT", 210,
         ResBuf(210, ge::Point3d(0, 0, 1))},
        {"POINT,TEXT,ATTRIB,ATTDEF,MTEXT,INSERT", 50, ResBuf(50, 0.0)},
        {"LWPOLYLINE", 38, ResBuf(38, 0.0)},
        {"LWPOLYLINE", 43, ResBuf(43, 0.0)},
        {"POLYLINE", 40, ResBuf(40, 0.0)},
        {"POLYLINE", 41, ResBuf(41, 0.0)},
        {"TEXT,ATTRIB,ATTDEF", 41, ResBuf(41, 1.0)},
        {"TEXT,ATTRIB,ATTDEF", 51, ResBuf(51, 0.0)},
        {"TEXT,ATTRIB,ATTDEF", 71, ResBuf(71, 0)},
        {"TEXT,ATTRIB,ATTDEF", 72, ResBuf(72, 0)},
        {"TEXT", 73, ResBuf(73, 0)},
        {"ATTRIB,ATTDEF", 74, ResBuf(74, 0)},
        {"TEXT,ATTRIB,ATTDEF", 11, ResBuf(11, ge::Point3d(0, 0, 0))},
        {"MTEXT", 44, ResBuf(44, 1.0)},
        {"INSERT", 41, ResBuf(41, 1.0)},
        {"INSERT", 42, ResBuf(42, 1.0)},
        {"INSERT", 43, ResBuf(43, 1.0)},
        {"INSERT", 44, ResBuf(44, 0.0)},
        {"INSERT", 45, ResBuf(45, 0.0)},
        {"INSERT", 66, ResBuf(66, 0)},
        {"INSERT", 70, ResBuf(70, 1)},
        {"INSERT", 71, ResBuf(71, 1)},
    };
    return table;
}

bool kindListed(const char* kinds, std::string_view kind) {
    if (std::strcmp(kinds, "*") == 0) return true;
    std::string_view list = kinds;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        if (list.substr(0, comma) == kind) return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

const db::ResBuf* defaultOf(std::string_view kind, int code) {
    for (const DefaultGroup& d : defaultGroups())
        if (d.code == code && kindListed(d.kinds, kind)) return &d.value;
    return nullptr;
}

// What a test looks at: the entity's groups as a data list holds them, with its kind and applications.
struct EntityGroups {
    std::string kind;
    db::ResBufList groups;
    std::vector<std::string> applications;
};

EntityGroups groupsOf(const db::Entity& e) {
    EntityGroups g;
    g.kind = e.dxfName();
    g.groups.emplace_back(0, g.kind);
    g.groups.emplace_back(5, e.handle().text());
    db::ResBufSink sink(g.groups, e.database());
    db::writeEntityGroups(e, sink);
    g.applications = e.xDataApplications();
    return g;
}

}  // namespace

struct SelectionFilter::Node {
    enum class Kind { And, Or, Xor, Not, Test, XData };
    Kind kind = Kind::And;
    std::vector<Node> children;
    // Test
    db::ResBuf value;
    std::vector<Op> ops{Op::Eq};
    // XData
    std::vector<std::string> applications;

    bool test(const EntityGroups& e) const {
        switch (kind) {
        case Kind::And:
            for (const Node& c : children)
                if (!c.test(e)) return false;
            return true;
        case Kind::Or:
            for (const Node& c : children)
                if (c.test(e)) return true;
            return false;
        case Kind::Xor: return children[0].test(e) != children[1].test(e);
        case Kind::Not: return !children[0].test(e);
        case Kind::XData:
            for (const std::string& pattern : applications) {
                bool found = false;
                for (const std::string& app : e.applications) found = found || wildcardMatch(app, pattern, true);
                if (!found) return false;
            }
            return true;
        case Kind::Test: {
            bool any = false;
            for (const db::ResBuf& g : e.groups) {
                if (g.code != value.code) continue;
                any = true;
                if (holds(g)) return true;
            }
            if (any) return false;
            const db::ResBuf* d = defaultOf(e.kind, value.code);
            return d && holds(*d);
        }
        }
        return false;
    }

    // Whether one group of the entity passes this test.
    bool holds(const db::ResBuf& g) const {
        if (ops.size() == 1 && ops[0] == Op::Any) return true;
        if (const auto* pattern = std::get_if<std::string>(&value.value)) {
            const auto* text = std::get_if<std::string>(&g.value);
            if (!text) return false;
            const bool match = wildcardMatch(*text, *pattern, isNameGroup(value.code));
            return ops[0] == Op::Ne ? !match : match;
        }
        if (const auto* p = std::get_if<ge::Point3d>(&value.value)) {
            const auto* q = std::get_if<ge::Point3d>(&g.value);
            if (!q) return false;
            const double mine[3] = {q->x, q->y, q->z}, theirs[3] = {p->x, p->y, p->z};
            if (ops.size() == 1 && ops[0] == Op::Ne) {
                // "!=" on a point: the points differ (in any coordinate).
                return !(mine[0] == theirs[0] && mine[1] == theirs[1] && mine[2] == theirs[2]);
            }
            for (int i = 0; i < 3; ++i)
                if (!compareNumbers(mine[i], ops[ops.size() == 1 ? 0 : i], theirs[i])) return false;
            return true;
        }
        if (const auto* name = std::get_if<db::EntityName>(&value.value)) {
            const auto* other = std::get_if<db::EntityName>(&g.value);
            return other && ((*other == *name) != (ops[0] == Op::Ne));
        }
        const std::optional<double> a = numberOf(g), b = numberOf(value);
        return a && b && compareNumbers(*a, ops[0], *b);
    }
};

namespace {

using Node = SelectionFilter::Node;

struct Parser {
    explicit Parser(const db::ResBufList& l) : list(l) {}
    const db::ResBufList& list;
    std::size_t i = 0;
    std::string error;

    bool fail(std::string why) {
        if (error.empty()) error = "filter item " + std::to_string(i + 1) + ": " + std::move(why);
        return false;
    }

    static bool allLetters(std::string_view s) {
        for (char c : s)
            if (c < 'A' || c > 'Z') return false;
        return true;
    }

    static std::string upper(const db::ResBuf& rb) {
        std::string s = sys::upperCase(rb.str());
        while (!s.empty() && s.front() == ' ') s.erase(0, 1);
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }

    // Items up to the closing operator `closing` ("" at the top level, where the list's end closes).
    bool items(std::vector<Node>& out, const std::string& closing) {
        while (i < list.size()) {
            const db::ResBuf& rb = list[i];
            if (rb.code == kOperatorCode) {
                const std::string op = upper(rb);
                if (op.size() > 1 && op.front() == '<' && allLetters(op.substr(1))) {
                    const std::string name = op.substr(1);
                    if (name != "AND" && name != "OR" && name != "XOR" && name != "NOT")
                        return fail("unknown operator \"" + rb.str() + "\"");
                    ++i;
                    Node group;
                    group.kind = name == "AND" ? Node::Kind::And
                                 : name == "OR" ? Node::Kind::Or
                                 : name == "XOR" ? Node::Kind::Xor
                                                 : Node::Kind::Not;
                    if (!items(group.children, name + ">")) return false;
                    if (group.kind == Node::Kind::Xor && group.children.size() != 2)
                        return fail("\"<XOR\" takes exactly two tests");
                    if (group.kind == Node::Kind::Not && group.children.size() != 1)
                        return fail("\"<NOT\" takes exactly one test");
                    out.push_back(std::move(group));
                    continue;
                }
                if (op.size() > 1 && op.back() == '>' && allLetters(op.substr(0, op.size() - 1))) {
                    if (op != closing) return fail("\"" + rb.str() + "\" closes nothing that is open");
                    ++i;
                    return true;
                }
                // A relational operator for the test that follows.
                std::vector<Op> ops;
                std::string_view rest = op;
                while (true) {
                    const std::size_t comma = rest.find(',');
                    const std::optional<Op> o = parseOp(rest.substr(0, comma));
                    if (!o) return fail("unknown operator \"" + rb.str() + "\"");
                    ops.push_back(*o);
                    if (comma == std::string_view::npos) break;
                    rest.remove_prefix(comma + 1);
                }
                if (ops.size() != 1 && ops.size() != 3) return fail("a point takes one operator or three");
                ++i;
                if (i >= list.size() || list[i].code == kOperatorCode || list[i].code == kXDataSentinel)
                    return fail("\"" + rb.str() + "\" has no test after it");
                Node test = makeTest(list[i]);
                test.ops = ops;
                if (std::holds_alternative<std::string>(test.value.value) &&
                    (ops.size() != 1 || (ops[0] != Op::Eq && ops[0] != Op::Ne && ops[0] != Op::Any)))
                    return fail("a text is compared with \"=\", \"!=\" or \"*\" only");
                if (ops.size() == 3 && !std::holds_alternative<ge::Point3d>(test.value.value))
                    return fail("three operators need a point");
                ++i;
                out.push_back(std::move(test));
                continue;
            }
            if (rb.code == kXDataSentinel) {
                Node x;
                x.kind = Node::Kind::XData;
                ++i;
                while (i < list.size() && list[i].code == kXDataApp) x.applications.push_back(list[i++].str());
                out.push_back(std::move(x));
                continue;
            }
            out.push_back(makeTest(rb));
            ++i;
        }
        if (!closing.empty()) return fail("\"<" + closing.substr(0, closing.size() - 1) + "\" is not closed");
        return true;
    }

    static Node makeTest(const db::ResBuf& rb) {
        Node t;
        t.kind = Node::Kind::Test;
        t.value = rb;
        return t;
    }
};

}  // namespace

namespace {

// Whether no test under `node` looks at anything but the kind (group 0) and the layer (group 8), both of which
// every entity's data list holds once.
bool looksAtKindAndLayerOnly(const Node& node) {
    switch (node.kind) {
    case Node::Kind::XData: return false;
    case Node::Kind::Test: return node.value.code == 0 || node.value.code == 8;
    default:
        for (const Node& c : node.children)
            if (!looksAtKindAndLayerOnly(c)) return false;
        return true;
    }
}

}  // namespace

SelectionFilter::SelectionFilter() : root_(std::make_unique<Node>()) {}
SelectionFilter::SelectionFilter(const SelectionFilter& o)
    : root_(std::make_unique<Node>(*o.root_)), kindAndLayerOnly_(o.kindAndLayerOnly_) {}
SelectionFilter::SelectionFilter(SelectionFilter&& o) noexcept = default;
SelectionFilter& SelectionFilter::operator=(SelectionFilter o) noexcept {
    root_ = std::move(o.root_);
    kindAndLayerOnly_ = o.kindAndLayerOnly_;
    return *this;
}
SelectionFilter::~SelectionFilter() = default;

std::optional<SelectionFilter> SelectionFilter::compile(const db::ResBufList& list, std::string* error) {
    Parser parser(list);
    SelectionFilter filter;
    if (!parser.items(filter.root_->children, "")) {
        if (error) *error = parser.error;
        return std::nullopt;
    }
    filter.kindAndLayerOnly_ = looksAtKindAndLayerOnly(*filter.root_);
    return filter;
}

bool SelectionFilter::empty() const { return !root_ || root_->children.empty(); }

bool SelectionFilter::matchesKindAndLayer(const char* kind, const std::string& layer) const {
    if (empty()) return true;
    EntityGroups g;
    g.kind = kind;
    g.groups.emplace_back(0, g.kind);
    g.groups.emplace_back(8, layer);
    return root_->test(g);
}

bool FilterPass::passes(const db::Entity& entity) {
    if (filter_ == nullptr || filter_->empty()) return true;
    // An entity the host keeps as its groups may hold groups of any code among them.
    if (!filter_->testsKindAndLayerOnly() || typeid(entity) == typeid(db::OpaqueEntity))
        return filter_->matches(entity);
    const Key key{entity.dxfName(), entity.layerId()};
    const auto known = answers_.find(key);
    if (known != answers_.end()) return known->second;
    const bool answer = filter_->matchesKindAndLayer(key.kind, entity.layer());
    answers_.emplace(key, answer);
    return answer;
}

bool SelectionFilter::matches(const db::Entity& entity) const {
    if (empty()) return true;
    return root_->test(groupsOf(entity));
}

bool SelectionFilter::matches(db::ObjectId entity) const {
    if (entity.isNull()) return false;
    const auto* e = dynamic_cast<const db::Entity*>(entity.database()->peek(entity));
    return e && !e->isErased() && matches(*e);
}

}  // namespace host::ed
