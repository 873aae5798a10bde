// The open-contour check: the cut contours whose polyline does not close, walked one by one on the command line,
// with the gap between their ends, zoom, deletion and closing.
#pragma once

#include <vector>

#include "laser/contours/contour_creation.h"
#include "laser/contours/intersection_browser.h"

struct CuttingJob;

// Room of the list of open contours; a job with more lists the first ones and says so.
inline constexpr int kOpenContourListCapacity = 6000;

// Longest answer read at the browser's prompt; only its first character counts.
inline constexpr std::size_t kOpenContourAnswerChars = 20;

// The zoom window around the two ends of an open contour: per axis the ends' extent times
// (CheckZoomScale - 1) x kOpenZoomFactor is added on both sides (with the scale 2.0: twice the extent), each at
// least kOpenZoomSmallestMargin; the horizontal margin is then raised to the vertical one when that is larger.
inline constexpr double kOpenZoomFactor = 2.0;
inline constexpr double kOpenZoomSmallestMargin = 0.00001;

// Whether record `r` of the contour table is an open cut contour that the check lists: a polyline of kind
// KindBase, NoLeadIn or JumperLine whose record says open (NoLeadIn records are stored with closure 2, "no
// leads", so for them the polyline itself is asked), and whose polyline has not been closed since (by the
// check's Connect). A record whose polyline cannot be read is listed when its record says open: the browser then
// reports it and leaves it out.
bool IsListedOpenContour(const ContourRecord& r);

// The record indices of the listed open contours of `job` (records 0 .. contourCount - 1), in record order, at
// most kOpenContourListCapacity of them; `more` (when given) receives how many more there were.
std::vector<int> ListOpenContours(const CuttingJob& job, int* more = nullptr);

// The zoom window of an open contour whose ends are `a` and `b`, as its lower and upper corners.
struct ZoomWindow {
    host::ge::Point2d low, high;
};
ZoomWindow OpenContourZoomWindow(const host::ge::Point2d& a, const host::ge::Point2d& b, double zoomScale);

// The core of NCCheckUnclose. Prepares the drawing's job and lists its open contours ("Open contours are not
// present" when there are none). Otherwise each listed contour in turn is highlighted with the gap between its
// first and last vertex, and one answer is read:
//   Z  zoom to the two ends;                     N, P  the next or previous contour (wrapping round);
//   C  close the polyline (its record stays as it is until contours are made again) and take it off the list;
//   D  delete the contour and take it off the list;  A  delete every contour still listed;
//   E  or a cancelled prompt: end;  anything else: the "Invalid symbol" box, and the same contour again.
// A contour taken off the list leaves its place to the last one. A listed contour whose polyline cannot be opened
// for write (erased meanwhile, or on a locked layer) is reported and taken off the list, never used. When a
// contour was deleted, `recreate` makes the contours again (null: it is not run). Every run ends by counting a
// change of the job and writing it.
void CheckOpenContours(RecreateContours recreate = CreateContours);
