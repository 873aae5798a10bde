// The part list: a record of the parts of a job with their drawings and defaults, and its operations (adding a
// part, choosing a part's file, inserting a part from the navigation dialog, turning a part's angles and points).
// No command of the module uses them yet; they are kept for the part-list dialog that will.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "host/ge/point.h"

// Most parts one list holds.
inline constexpr std::size_t kMaxPartListEntries = 20;

// One part of the list. The numbers and the flag are kept as given: the list gives them no meaning of its own.
struct PartListEntry {
    std::string name;
    std::string drawingPath;
    int firstNumber = 0;
    int secondNumber = 0;
    double realValue = 0.0;
    bool flag = false;
};

// The defaults a new list starts with: the settings' default density and thickness, then the further values.
struct PartListDefaults {
    double density = 7.85e-06;
    double thickness = 1.0;
    double firstValue = 30.0;
    double secondValue = 20.0;
    int wholeValue = 1;
    double lastValue = 600.0;
};

struct PartList {
    std::array<std::string, 5> texts;
    double firstValue = 5.0;
    double secondValue = 4.0;
    bool firstFlag = false;
    bool secondFlag = false;
    PartListDefaults defaults;
    std::vector<PartListEntry> entries;  // at most kMaxPartListEntries
};

// Adds a part. With kMaxPartListEntries listed the message box "The detail will be not added..." shows and
// nothing is added. Otherwise the part's drawing is read into a database of its own (which goes again: the list
// only checks that the drawing can be read; a ".dwg" name is looked for as ".dxf"); a drawing that cannot be read
// is reported in a message box with the reader's reason and the part is not added. 0 when it was added, else -1
// (the user has been told); the list is unchanged on -1.
int AddPart(PartList& list, const PartListEntry& entry);

// The open-file dialog for a part's drawing, in the folder of `path` (the working folder when `path` names
// none), default extension "*.dxf"; OK takes only a file that exists. true when the user chose a file with OK;
// the file itself is not used.
bool ChoosePartFile(const std::string& path);

// The navigation dialog "Nesting Insert Part" (several files, preview): the first file chosen is inserted at 0,0
// at scale 1 through the host's "-insert", then dragged to its place and turned by the user; a cancelled drag
// erases it again. The part stays a block reference. 0 when a part was placed, 1 when the dialog was cancelled
// or named no file, -1 when the host could not insert it or a drag was cancelled.
int InsertPartFromNavigation();

// The points of a part turned by `rotation`.
struct TurnedPartPoints {
    host::ge::Point3d along;   // `distance` from the base along the first turned angle (+pi in mode 2)
    host::ge::Point3d first;   // `firstDistance` from the base towards firstAngle + rotation
    host::ge::Point3d second;  // `secondDistance` from the base towards secondAngle + rotation
};

// Adds `rotation` to each of the five `angles`, each then brought into [0, 2*pi), and answers the points from
// `base`. Angles are radians.
TurnedPartPoints TurnPartPoints(std::array<double, 5>& angles, double rotation, const host::ge::Point3d& base,
                                double distance, int mode, double firstAngle, double firstDistance,
                                double secondAngle, double secondDistance);
