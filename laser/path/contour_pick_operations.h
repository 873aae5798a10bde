// Operations for building the path of one picked contour step by step, from a picked entity and a side point: the
// classification of a pick, its messages, the side the contour is processed from and the lead points on that side,
// the snap of a pick onto its entity, the entities at a point, the pick of a processed contour's group, and the
// reset of the styles of the entities on the module's layers. No command reaches them.
#pragma once

#include <string>

#include "host/db/ids.h"
#include "host/ge/point.h"

// Codes of ClassifyPickedSelection (1 to 4 are the entity types: line, arc, polyline, circle).
inline constexpr int kPickNothing = 0;
inline constexpr int kPickAmbiguous = 5;
inline constexpr int kPickProcessedPoint = 6;
inline constexpr int kPickNoCurve = 7;

// Classifies the entities of a selection set: kPickNothing for an empty set, kPickAmbiguous for more than one
// entity, kPickProcessedPoint when a point is among them, else the type code (1 to 4) of the last line, arc,
// polyline or circle, or kPickNoCurve. `length` receives the set's length.
int ClassifyPickedSelection(const host::db::EntityName& set, int& length);
// Shows the message of a classification code (nothing for 1 to 4).
void ShowPickMessage(int code);

// The lead-in and lead-out points of a contour processed from one side.
struct SideLeadPoints {
    host::ge::Point3d contourPoint;  // where the cut of the contour starts and ends
    host::ge::Point3d leadInStart;
    host::ge::Point3d leadOutEnd;
};

// The lead points of a line (from its start), an arc (from its start point) or a circle (from its point towards
// `side`), on the side of `side`, with the job's lead lengths and angle. Arcs and circles: with AutoCorrectLeadin,
// the lead angle is at most 15 degrees when 1.5 x the lead-in length exceeds the radius, and at most 5 degrees with
// both lengths cut to the radius when the lead-in length exceeds it. A lead-out length of 0 puts the lead-out point
// on the contour point. Answer the side: 1 left of the direction of travel, 2 right.
int LineLeadPoints(const host::ge::Point3d& start, const host::ge::Point3d& end, const host::ge::Point3d& side,
                   SideLeadPoints& leads);
int ArcLeadPoints(const host::ge::Point3d& centre, double radius, double startAngle, const host::ge::Point3d& side,
                  SideLeadPoints& leads);
int CircleLeadPoints(const host::ge::Point3d& centre, double radius, const host::ge::Point3d& side,
                     SideLeadPoints& leads);

// Asks from which side the contour `entity` (a line, arc or circle) is processed, refusing a point on the entity
// itself, and fills `leads`. Answers 1 when the user cancels, else 0; `sideCode` receives the side (1 or 2).
int AskContourSide(host::db::ObjectId entity, SideLeadPoints& leads, int& sideCode);

// Snaps `picked` onto `entity` (the nearest point); `onEntity` is true for arcs and circles, and for a line only when
// the point lies between its ends. Answers the distance from the picked point (-1 when the entity has no snap).
double SnapPickToEntity(host::db::ObjectId entity, const host::ge::Point3d& picked, host::ge::Point3d& snapped,
                        bool& onEntity);

// Puts into a new selection set every drawn line, arc, circle or point that starts or ends at `point` (within the
// host's tolerance). Answers the number of entities (0: no set was made).
int SelectEntitiesAtPoint(const host::ge::Point3d& point, host::db::EntityName& set);

// Asks for a processed contour (repeating on an empty pick) and finds its path group among 1..pathGroupCount: the
// picked entity must lie on the path layer. Answers 0 with the group's name, 1 when none was found or the user
// ended.
int PickProcessedContourGroup(std::string& groupName);

// The entities on the module's layers get their layer's colour and line type again (heat treatment: its own colour
// and Continuous; jumper lines: the JumperLine line type). Answers 0.
int ResetCamLayerEntityStyles();
