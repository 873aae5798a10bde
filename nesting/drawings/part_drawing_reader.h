// Reading the contours that the cutting-path module stored in a part or stock drawing: the drawing is read beside
// the current one, its stored contour table is walked, and every contour entity is copied into the current
// drawing, where it will become the type's block.
#pragma once

#include <optional>
#include <string_view>

#include "host/db/database.h"
#include "host/ge/matrix.h"
#include "nesting/frame/nesting_state.h"
#include "nesting/model/part_type.h"

// Answers of ReadPartDrawing.
inline constexpr int kDrawingRead = 0;
// The file cannot be read, holds no usable contour data, or (data version 2008.01) lacks a stored entity.
inline constexpr int kDrawingUnusable = -1;
// A stock holds contour kinds that stocks may not have (engraving, common lines, points, heat treatment).
inline constexpr int kDrawingIllegalStockContours = -2;

// Reads the drawing of `type` (its Path; a stored "x.dwg" is read as "x.dxf" beside it when only that exists),
// brought into the job's unit (state.Unit) when it is drawn in the other ($INSUNITS 1 inches, 4 millimetres;
// else the unit of the job stored in it): entities, boxes and areas scaled, and a line printed naming the drawing.
// What is read:
// the list of contours as read (DrawingContours, entry i being entity i of CopiedEntities), the special part
// entities (SpecialEntities: engraving, common lines, points, heat treatment, which join the block but are no
// contours), the stored box, area and aspect, the reference point (the box's minimum corner for a stock, its
// centre for a part) and empty class lists. In data version 2008.01 the engraving texts are copied as well.
//   - A stored handle of 0 names no entity and is passed over; an entity listed twice is copied once.
//   - A handle that names nothing, or an erased entity, is passed over in 2005.0 and 2008.0, and makes the
//     drawing unusable in 2008.01 (it was changed after its contours were made).
// Messages (error icon): the file that cannot be read, the drawing without usable contour data. On a failure the
// entities copied so far are erased again, so the current drawing is as it was.
int ReadPartDrawing(CNestingState& state, PartType& type);

// Checks the drawing of `type` as ReadPartDrawing would read it, without copying anything: it can be read, holds
// its stored contour table whole, and for a stock no contour kind a stock may not have. Answers kDrawingRead, or
// kDrawingUnusable / kDrawingIllegalStockContours after the message ReadPartDrawing's load would show.
int CheckPartDrawing(const PartType& type);

// Copies every live TEXT on layer "EngraveLine" of `drawing` into the current drawing (on that layer), moved by
// `transform`, and adds the copies to CopiedEntities.
void CopyEngraveTexts(CNestingState& state, const host::db::Database& drawing,
                      const host::ge::Matrix3d& transform = host::ge::Matrix3d::identity());

// Erases from the current drawing every entity in CopiedEntities and SpecialEntities and empties both lists: what
// a failed load leaves behind.
void EraseCopiedEntities(CNestingState& state);

// Answers of ReadPartDrawingSize.
inline constexpr int kSizeRead = 0;
inline constexpr int kSizeFileUnreadable = 1;
inline constexpr int kSizeNoContours = 2;

// The width and height of the stored contour box of the drawing at `path`, in the nesting job's unit `jobUnit`
// (the module state's Unit when not given), as ReadPartDrawing brings the drawing. 0 read (with a data version other than
// 2005.0, 2008.0 and 2008.01 the sizes stay unchanged); 1 the file cannot be read; 2 no stored contour data, or a
// status other than 1. With `showMessages` the failures are told in a message box (error icon).
int ReadPartDrawingSize(std::string_view path, double& width, double& height, bool showMessages,
                        std::optional<int> jobUnit = std::nullopt);
