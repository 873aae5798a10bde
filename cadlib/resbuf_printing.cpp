// Printing result-buffer lists and entity data lists for diagnostics.
#include "cadlib/resbuf_printing.h"

#include <cstdint>

#include "cadlib/messages.h"
#include "host/db/entity_data.h"
#include "host/ed/selection.h"
#include "host/sys/number_text.h"

namespace {

using host::db::ResBuf;
using host::sys::formatC;

constexpr int kEntityNameGroup = -1;
constexpr int kOwnerNameGroup = -2;

unsigned long nameWord(const ResBuf& rb) { return static_cast<unsigned long>(rb.name().word[1]); }

// The DXF ranges whose values are not printed: true colours, transparencies and the 1071 long.
bool isSilentGroup(int code) {
    return (code >= 420 && code <= 429) || (code >= 440 && code <= 459) || code == 1071;
}

}  // namespace

void PrintResbufList(const host::db::ResBufList& list) {
    for (const ResBuf& rb : list) {
        const int c = rb.code;
        if (c == kEntityNameGroup || c == kOwnerNameGroup) {
            PrintText(formatC("(%d . <Entity name: %8lx>)\n", c, nameWord(rb)));
            continue;
        }
        switch (c) {
        case host::db::RTNONE:
            PrintText(formatC("RTNONE=5000    (%d . Unknown type)   - No result\n", c));
            break;
        case host::db::RTREAL:
            PrintText(formatC("RTREAL=5001    (%d . %0.3f)  - Real number\n", c, rb.real()));
            break;
        case host::db::RTSHORT:
            PrintText(formatC("RTSHORT=5003   (%d . %d)   - Short integer\n", c, static_cast<int>(rb.integer())));
            break;
        case host::db::RTSTR:
            PrintText(formatC("RTSTR=5005     (%d . \"%s\")   - String\n", c, rb.str().c_str()));
            break;
        case host::db::RTENAME:
            PrintText(formatC("RTENAME=5006   (%d . <Entity name: %8lx>)   - Entity name\n", c, nameWord(rb)));
            break;
        case host::db::RT3DPOINT: {
            const auto p = rb.point();
            PrintText(formatC("RT3DPOINT=5009 (%d . %0.3f %0.3f %0.3f)   - 3D point - X, Y, and Z\n", c, p.x, p.y,
                              p.z));
            break;
        }
        case host::db::RTLB:
            PrintText("RTLB=5016      (        - list begin\n");
            break;
        case host::db::RTLE:
            PrintText("RTLE=5017      )        - list end\n");
            break;
        default:
            break;
        }
    }
}

void PrintEntityData(const host::db::ResBufList& list) {
    for (const ResBuf& rb : list) {
        const int c = rb.code;
        if (c == host::db::RTNONE) {
            PrintText(formatC("(%d . Unknown type)\n", c));
            continue;
        }
        if (isSilentGroup(c)) continue;
        switch (host::db::valueKindOf(c)) {
        case host::db::ValueKind::String:
            PrintText(formatC("(%d . \"%s\")\n", c, rb.str().c_str()));
            break;
        case host::db::ValueKind::Point: {
            const auto p = rb.point();
            PrintText(formatC("(%d . %0.3f %0.3f %0.3f)\n", c, p.x, p.y, p.z));
            break;
        }
        case host::db::ValueKind::Real:
            PrintText(formatC("(%d . %0.3f)\n", c, rb.real()));
            break;
        case host::db::ValueKind::Int16:
        case host::db::ValueKind::Bool:
            PrintText(formatC("(%d . %d)\n", c, static_cast<int>(rb.integer())));
            break;
        case host::db::ValueKind::Int64:
            PrintText(formatC("(%d . %lld)\n", c, static_cast<long long>(rb.integer())));
            break;
        case host::db::ValueKind::Name:
            PrintText(formatC("(%d . <Entity name: %8lx>)\n", c, nameWord(rb)));
            break;
        case host::db::ValueKind::None:
            PrintText(formatC("(%d . Unknown type)\n", c));
            break;
        case host::db::ValueKind::Int32:
        case host::db::ValueKind::Binary:
            break;
        }
    }
}

void PrintSelectionSetData(const host::db::EntityName& set) {
    std::int32_t length = 0;
    if (host::ed::ssLength(set, length) != host::db::RTNORM) return;
    for (std::int32_t i = 0; i < length; ++i) {
        host::db::EntityName member;
        if (host::ed::ssName(set, i, member) != host::db::RTNORM) continue;
        PrintText(formatC("index = %i\n", static_cast<int>(i)));
        PrintEntityData(host::db::entGet(member));
    }
}
