// One record of a DXF file split into the parts every object has, and its values turned into database forms.
#include "host/dxf/dxf_record.h"

#include <algorithm>

#include "host/db/entity_groups.h"
#include "host/dxf/dxf_limits.h"
#include "host/dxf/dxf_numbers.h"

namespace host::dxf {

namespace {

constexpr int kControl = 102;
constexpr int kSubclass = 100;
constexpr int kOwner = 330;
constexpr int kHardOwner = 360;
constexpr int kXDataApp = 1001;
constexpr std::string_view kReactors = "{ACAD_REACTORS";
constexpr std::string_view kXDictionary = "{ACAD_XDICTIONARY";
constexpr std::string_view kXrecordMarker = "AcDbXrecord";

std::vector<std::uint8_t> bytesOf(std::string_view hex) {
    std::vector<std::uint8_t> out;
    out.reserve(hex.size() / 2);
    auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(std::uint8_t(digit(hex[i]) * 16 + digit(hex[i + 1])));
    return out;
}

}  // namespace

std::string textOf(const Group& g, const TextEncoding& encoding) {
    std::string text = decodeDxfText(g.text, encoding);
    if (text.size() > limits::kMaxTextBytes)
        failAt(g.line + 1, "a text longer than " + std::to_string(limits::kMaxTextBytes) + " bytes (value of group code " +
                               std::to_string(g.code) + ")");
    return text;
}

// A group of a handle code that holds text instead (the tokenizer answers it as String). Group 5 is exempt: the
// DIMSTYLE records of R12 files hold a name there.
bool isTextWhereHandleBelongs(const Group& g) {
    const auto kind = groupKindOf(g.code);
    return g.kind == GroupKind::String && kind && *kind == GroupKind::Handle && g.code != 5;
}

bool isEmptyHandle(const Group& g) {
    if (g.kind != GroupKind::String || !trimSpaces(g.text).empty()) return false;
    const auto kind = groupKindOf(g.code);
    return kind && *kind == GroupKind::Handle;
}

[[noreturn]] void failNotAHandle(const Group& g) {
    failAt(g.line + 1, "'" + std::string(g.text.substr(0, 40)) + "' is not a handle (value of group code " +
                           std::to_string(g.code) + ")");
}

db::Handle handleOf(const Group& g) {
    if (g.kind != GroupKind::Handle) failNotAHandle(g);
    return db::Handle(std::uint64_t(g.integer));
}

void splitRecord(const std::vector<Group>& groups, int handleCode, SplitRecord& out) {
    out.name = groups.front().text;
    out.line = groups.front().line;
    out.head = {};
    out.body.clear();
    out.appGroups.clear();
    out.xdata.clear();
    out.emptyHandleLine = 0;
    bool seenSubclass = false;
    bool xrecordData = false;  // after "100 AcDbXrecord" every group up to the extended data is data, 102 too
    const std::size_t n = groups.size();
    for (std::size_t i = 1; i < n; ++i) {
        const Group& g = groups[i];
        if (g.code == kXDataApp) {
            out.xdata.assign(groups.begin() + std::ptrdiff_t(i), groups.end());
            return;
        }
        if (g.code == handleCode && !out.head.handle) {
            if (isEmptyHandle(g)) {
                if (out.emptyHandleLine == 0) out.emptyHandleLine = g.line;
                continue;
            }
            out.head.handle = handleOf(g);
            continue;
        }
        if (g.code == kControl && !xrecordData && !g.text.empty() && g.text.front() == '{') {
            // A 102 group runs to its closing "}".
            std::size_t end = i + 1;
            while (end < n && !(groups[end].code == kControl && groups[end].text == "}")) ++end;
            if (end >= n) failAt(g.line, "102 group \"" + std::string(g.text) + "\" has no closing \"}\"");
            if (g.text == kReactors) {
                for (std::size_t k = i + 1; k < end; ++k)
                    if (groups[k].code == kOwner) out.head.reactors.push_back(handleOf(groups[k]));
            } else if (g.text == kXDictionary) {
                for (std::size_t k = i + 1; k < end; ++k)
                    if (groups[k].code == kHardOwner) out.head.extensionDictionary = handleOf(groups[k]);
            } else {
                out.appGroups.insert(out.appGroups.end(), groups.begin() + std::ptrdiff_t(i),
                                     groups.begin() + std::ptrdiff_t(end + 1));
            }
            i = end;
            continue;
        }
        if (g.code == kSubclass) {
            seenSubclass = true;
            if (g.text == kXrecordMarker) xrecordData = true;
        }
        if (g.code == kOwner && !seenSubclass && !out.head.owner) {
            out.head.owner = handleOf(g);
            continue;
        }
        out.body.push_back(g);
    }
}

std::size_t pairPointGroups(std::vector<Group>& body) {
    std::size_t firstMoved = 0;
    const std::size_t n = body.size();
    // Moves the first group of `code` after `at`, up to the next x of `x`, to `at`; false when there is none.
    auto pull = [&](std::size_t at, int x, int code) {
        if (at < n && body[at].code == code) return true;
        for (std::size_t j = at; j < n && body[j].code != x; ++j) {
            if (body[j].code != code) continue;
            std::rotate(body.begin() + std::ptrdiff_t(at), body.begin() + std::ptrdiff_t(j),
                        body.begin() + std::ptrdiff_t(j + 1));
            if (firstMoved == 0) firstMoved = body[at - 1].line;
            return true;
        }
        return false;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const int x = body[i].code;
        if (!db::isPointGroup(x) || (i + 1 < n && body[i + 1].code == x + 10 && (i + 2 >= n || body[i + 2].code == x + 20)))
            continue;
        if (pull(i + 1, x, x + 10)) pull(i + 2, x, x + 20);
    }
    return firstMoved;
}

void toResBufs(const std::vector<Group>& groups, const TextEncoding& encoding, bool anglesInDegrees, db::ResBufList& out) {
    out.clear();
    const std::size_t n = groups.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Group& g = groups[i];
        if (db::isPointGroup(g.code)) {
            ge::Point3d p(g.real, 0.0, 0.0);
            if (i + 1 >= n || groups[i + 1].code != g.code + 10)
                failAt(g.line, "the x of a point (group " + std::to_string(g.code) + ") is not followed by its y (group " +
                                   std::to_string(g.code + 10) + ")");
            p.y = groups[++i].real;
            if (i + 1 < n && groups[i + 1].code == g.code + 20) p.z = groups[++i].real;
            out.emplace_back(g.code, p);
            continue;
        }
        switch (g.kind) {
        case GroupKind::Real:
            if (anglesInDegrees && db::isAngleGroup(g.code)) {
                const auto r = radiansFromDegrees(g.text);
                if (!r) failAt(g.line + 1, "angle '" + std::string(g.text) + "' is out of range");
                out.emplace_back(g.code, *r);
            } else {
                out.emplace_back(g.code, g.real);
            }
            break;
        case GroupKind::Int16:
        case GroupKind::Int32:
        case GroupKind::Int64:
        case GroupKind::Bool: out.emplace_back(g.code, g.integer); break;
        case GroupKind::String:
            if (isTextWhereHandleBelongs(g)) failNotAHandle(g);
            out.emplace_back(g.code, textOf(g, encoding));
            break;
        case GroupKind::Handle: out.emplace_back(g.code, std::string(g.text)); break;
        case GroupKind::Binary: {
            db::ResBuf rb(g.code);
            rb.value = bytesOf(g.text);
            out.push_back(std::move(rb));
            break;
        }
        }
    }
}

db::RawGroup toRawGroup(const Group& g, const TextEncoding& encoding) {
    if (isTextWhereHandleBelongs(g)) failNotAHandle(g);
    if (g.kind == GroupKind::String) return {g.code, textOf(g, encoding)};
    return {g.code, std::string(g.text)};
}

}  // namespace host::dxf
