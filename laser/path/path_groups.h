// The cutting path as it lives in the drawing: one named group per processed contour ("DOROZ_n", n its place in
// the cut order), the one-line description each group carries, its parsed form, and the writer through which
// every path writer draws (pen, opening and closing a group, lines and arcs, the rapid and lead-in of a contour).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/ids.h"
#include "host/ge/point.h"

struct CuttingJob;

// Prefix of every path group name; the group number follows in decimal without leading zeros.
inline constexpr std::string_view kPathGroupPrefix = "DOROZ_";
// The layer every path member lies on.
inline constexpr std::string_view kPathLayer = "NC_Laser";
// First word of the home group's description.
inline constexpr std::string_view kHomeGroupWord = "Rapid_Home";
// PathRecord::shape of the home group (contour shapes are 0 circle, 1 polyline, 2 point).
inline constexpr std::uint8_t kShapeHomeGroup = 127;
// Description word of an absent line.
inline constexpr std::string_view kAbsentLineToken = "N";
// Description tokens that name a member crossed with the tool off ("R=" and its handle) or cut with the height
// sensor off ("S=" and its handle). They follow the tokens of the contour or home group.
inline constexpr std::string_view kRapidMemberMark = "R=";
inline constexpr std::string_view kSensorOffMemberMark = "S=";

// Pen states (CuttingJob::penState holds the last one set).
inline constexpr int kPenRapid = 0;      // ColorMove, TypeLineMove
inline constexpr int kPenCut = 1;        // ColorFeed (the current cut colour), "CONTINUOUS"
inline constexpr int kPenNoPath = 3;     // as the rapid pen: no path yet
inline constexpr int kPenSensorOff = 4;  // ColorSensorOff, TypeLineSensorOff

// One path group's description, parsed. Fields the text does not set keep the values the caller gave them.
struct PathRecord {
    std::string description;              // the whole description
    std::string typeWord;                 // "Slice_Polyline", "Slice_Circle", "MarkingPoint", "Rapid_Home"
    std::uint8_t kind = 0;                // ContourKind number written after "T"
    std::uint8_t shape = 0;               // 0 circle, 1 polyline, 2 point, kShapeHomeGroup
    std::uint64_t contourHandle = 0;
    std::uint8_t offsetSide = 0;          // 0 none ("NO"), 1 left ("NL"), 2 right ("NR")
    std::uint8_t placement = 0;           // 1 outer, 2 inner, 0 not classified
    std::uint8_t closure = 0;             // 0 closed, 1 open, 2 no leads
    std::uint64_t rapidHandle = 0;        // 0 = none; the home group: its last line
    std::uint64_t leadInHandle = 0;       // 0 = none
    std::uint64_t leadOutHandle = 0;      // 0 = none
    host::ge::Point3d rapidStart;         // where the rapid move starts
    host::ge::Point3d leadInStart;        // where the rapid ends and the lead-in starts
    host::ge::Point3d contourStart;       // where the contour cut starts
    host::ge::Point3d contourEnd;         // where the contour cut ends
    host::ge::Point3d leadOutEnd;         // where the lead-out, and the whole path, ends
    std::vector<std::uint64_t> rapidMembers;      // members named "R=": crossed with the tool off
    std::vector<std::uint64_t> sensorOffMembers;  // members named "S=": cut with the height sensor off
};

// What the tool does along a member of a path group.
enum class PathMemberRole {
    Cut,        // the tool on: every member the description does not name otherwise
    Rapid,      // the tool off: a contour group's rapid line, or a member named "R="
    SensorOff,  // the tool on with the height sensor off: a member named "S="
};

// The role of the member `handle` in the group `record` was read from. The description is the one truth: a
// member's line type only shows the role, and shows it wrongly when the rapid line type could not be loaded (rapids
// then come out Continuous, and a reader going by the line type would cut across every jumper gap and the move
// home).
PathMemberRole RoleOfPathMember(const PathRecord& record, std::uint64_t handle);

// The state of the one path being written (module-wide; one path is written at a time).
struct PathWriterState {
    std::string PathGroupName;            // name of the group being written
    std::string PathDescriptionText;      // the description being built
    int PathGroupCreated = 0;             // 0 until the group exists, then 1
    host::db::ObjectId LastPathEntity;    // the last line or arc made for a path
    int SavedPen = 0;                     // the job's penState at BeginPathGroup
    std::string MemberRoleTokens;         // " R=<handle>" and " S=<handle>" of the members drawn so far
};

// The module's path writer state.
PathWriterState& PathWriter();

// The name of path group n: "DOROZ_" and n in decimal.
std::string FormatPathGroupName(unsigned n);
// The number of a path group name: the decimal after the prefix; 0 for a name that is no path group name.
unsigned PathGroupNumber(std::string_view name);

// A handle as the description prints it (the host's hexadecimal text), and back; 0 for a text that is no handle.
std::string FormatPathHandle(std::uint64_t handle);
std::uint64_t ParsePathHandle(std::string_view text);

// The path writer works on the current drawing's job; without one every operation below does nothing.

// Sets the host pen for `penState` (CECOLOR, CELTYPE; states other than 0, 1, 3, 4 leave the host pen as it is)
// and stores the state in the job's penState.
void SetPen(int penState);
// Sets the current cut colour (the settings' ColorFeed) for an offset side 0, 1, 2 (ColorFeed_G40/41/42) and
// answers the offset word " Offset=NO", " Offset=NL" or " Offset=NR" to append to the description.
std::string_view SetCutColourForSide(int offsetSide);

// Opens the next group: SavedPen := penState, PathGroupCreated := 0, pathGroupCount += 1, the name of that
// number, current layer "NC_Laser". The host group is made with the first member. A group of that name left
// over in the drawing is removed first, so a path is never split over two groups.
void BeginPathGroup();
// Closes the group: when no member was added the count is taken back and the pen restored (SetPen(SavedPen)).
void EndPathGroup();

// A line from a to b into the group (creating the group with the description as it stands when it is the first
// member). Nothing at all when a and b coincide in x and y. Answers the line's id (null when none was drawn);
// LastPathEntity and the job's currentPoint follow the line.
host::db::ObjectId AddPathLine(const host::ge::Point3d& a, const host::ge::Point3d& b);
// Arcs about `centre` into the group: CW from `from` to `to` (drawn counter-clockwise from `to` to `from`), CCW
// from `from` to `to`. `to` becomes the current point. Answer as AddPathLine.
host::db::ObjectId AddPathArcCW(const host::ge::Point3d& centre, const host::ge::Point3d& from,
                                const host::ge::Point3d& to);
host::db::ObjectId AddPathArcCCW(const host::ge::Point3d& centre, const host::ge::Point3d& from,
                                 const host::ge::Point3d& to);
// Puts an entity made elsewhere (an arc by cadlib's AddArcByPoints, say) into the group as AddPathLine does and
// makes it LastPathEntity; a null id does nothing. The current point is the caller's to move.
void AddEntityToPathGroup(host::db::ObjectId id);
// Puts LastPathEntity into the group.
void AddLastEntityToPathGroup();

// Appends " " and the handle of `id` to the description, or " N" for a null id.
void AppendPathHandleToken(host::db::ObjectId id);
// Appends the role tokens of the members drawn in this group: every member drawn with the rapid pen (but a contour
// group's rapid line, which its own token names) and every member drawn with the sensor-off pen. Every group's
// description ends with them.
void AppendMemberRoleTokens();

// The rapid to a contour and its lead-in. The rapid target is leadInStart when leadInLength is not 0, else
// contourStart. Group 1 gets no rapid unless cutting starts at home (then from the home point); the others get one
// from the current point. Then the cut pen, and a lead-in from the target to contourStart when leadInLength > 0.
// Appends the rapid and lead-in tokens (handle or "N") to the description.
void AddRapidAndLeadIn(const host::ge::Point3d& contourStart, double leadInLength,
                       const host::ge::Point3d& leadInStart);

// Stores the description being built as the group's description (when the group exists).
void StorePathDescription();

// Fills `record` from the description of group n (of the working drawing). A missing group or an empty text
// gives an empty description, zero numbers, no handles and zero points. Answers 0.
int ReadPathRecord(unsigned n, PathRecord& record);
// The same for a description text; the points are taken from the named lines where they exist in the drawing.
void ParsePathDescription(std::string_view description, PathRecord& record);
