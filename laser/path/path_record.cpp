// Reading a path group's description back into its record: the tokens of the text, then the points of the lines
// it names.
#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "cadlib/entity_access.h"
#include "cadlib/groups.h"
#include "laser/path/path_groups.h"

using host::ge::Point3d;

namespace {

// Index of the contour handle among the tokens (after the type word, the kind, the offset word and "HP=").
constexpr std::size_t kHandleToken = 4;

std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

template <class T>
bool ParseNumber(std::string_view token, T& out) {
    T value{};
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || end != token.data() + token.size()) return false;
    out = value;
    return true;
}

bool ParseByte(std::string_view token, std::uint8_t& out) {
    int value = 0;
    if (!ParseNumber(token, value) || value < 0 || value > 255) return false;
    out = static_cast<std::uint8_t>(value);
    return true;
}

// A line token: "N" for no line (handle 0), else the handle. False for a text that is neither.
bool ParseLineToken(std::string_view token, std::uint64_t& handle) {
    if (token == kAbsentLineToken) {
        handle = 0;
        return true;
    }
    const std::uint64_t h = ParsePathHandle(token);
    if (h == 0) return false;
    handle = h;
    return true;
}

// The role tokens ("R=<handle>", "S=<handle>") among `tokens`, wherever they stand after the type word.
void ReadMemberRoles(const std::vector<std::string_view>& tokens, PathRecord& record) {
    const auto take = [](std::string_view token, std::string_view mark, std::vector<std::uint64_t>& list) {
        if (!token.starts_with(mark)) return;
        if (const std::uint64_t h = ParsePathHandle(token.substr(mark.size())); h != 0) list.push_back(h);
    };
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        take(tokens[i], kRapidMemberMark, record.rapidMembers);
        take(tokens[i], kSensorOffMemberMark, record.sensorOffMembers);
    }
}

// The start and end of the line `handle`; both stay as they are when it names no line of the drawing.
void LinePoints(std::uint64_t handle, Point3d& start, Point3d& end) {
    Point3d a, b;
    if (GetLineEndpointsByHandle(handle, a, b) != 0) return;
    start = a;
    end = b;
}

}  // namespace

void ParsePathDescription(std::string_view description, PathRecord& record) {
    record = PathRecord{};
    record.description = std::string(description);
    const std::vector<std::string_view> tokens = Tokens(description);
    if (tokens.empty()) return;
    record.typeWord = std::string(tokens[0]);
    ReadMemberRoles(tokens, record);
    if (record.typeWord.find(kHomeGroupWord) != std::string::npos) {
        if (tokens.size() > 1) record.rapidHandle = ParsePathHandle(tokens[1]);
        record.shape = kShapeHomeGroup;
        return;
    }
    if (tokens.size() > 1 && tokens[1].size() > 1) ParseByte(tokens[1].substr(1), record.kind);

    // The tokens after "HP=", read in order until the text ends or one does not read.
    double startX = 0.0, startY = 0.0, endX = 0.0, endY = 0.0;
    bool haveStart = false, haveEnd = false;
    std::size_t i = kHandleToken;
    auto next = [&]() -> std::string_view { return i < tokens.size() ? tokens[i++] : std::string_view(); };
    [&] {
        const std::string_view handle = next();
        if (handle.empty()) return;
        record.contourHandle = ParsePathHandle(handle);
        for (std::uint8_t* field : {&record.shape, &record.offsetSide, &record.placement, &record.closure}) {
            if (!ParseByte(next(), *field)) return;
        }
        for (std::uint64_t* field : {&record.rapidHandle, &record.leadInHandle, &record.leadOutHandle}) {
            if (!ParseLineToken(next(), *field)) return;
        }
        haveStart = ParseNumber(next(), startX) && ParseNumber(next(), startY);
        if (!haveStart) return;
        haveEnd = ParseNumber(next(), endX) && ParseNumber(next(), endY);
    }();

    const bool rapid = record.rapidHandle != 0, leadIn = record.leadInHandle != 0,
               leadOut = record.leadOutHandle != 0;
    if (rapid) LinePoints(record.rapidHandle, record.rapidStart, record.leadInStart);
    if (leadIn) LinePoints(record.leadInHandle, record.leadInStart, record.contourStart);
    if (leadOut) LinePoints(record.leadOutHandle, record.contourEnd, record.leadOutEnd);
    if (!rapid && leadIn) record.rapidStart = record.leadInStart;
    if (!rapid && !leadIn) {
        const Point3d start = haveStart ? Point3d(startX, startY, 0.0) : Point3d();
        record.rapidStart = record.contourStart = start;
    }
    if (rapid && !leadIn) record.contourStart = record.leadInStart;
    if (!leadOut) {
        const Point3d end = haveEnd ? Point3d(endX, endY, 0.0) : Point3d();
        record.contourEnd = record.leadOutEnd = end;
    }
}

PathMemberRole RoleOfPathMember(const PathRecord& record, std::uint64_t handle) {
    const auto named = [handle](const std::vector<std::uint64_t>& list) {
        return std::find(list.begin(), list.end(), handle) != list.end();
    };
    if (handle == 0) return PathMemberRole::Cut;
    if (named(record.rapidMembers)) return PathMemberRole::Rapid;
    if (named(record.sensorOffMembers)) return PathMemberRole::SensorOff;
    if (record.shape != kShapeHomeGroup && handle == record.rapidHandle) return PathMemberRole::Rapid;
    return PathMemberRole::Cut;
}

int ReadPathRecord(unsigned n, PathRecord& record) {
    std::string description;
    if (GetGroupDescription(FormatPathGroupName(n), description) != kGroupDone) description.clear();
    ParsePathDescription(description, record);
    return 0;
}
