// The one rule by which the system decides that two points are the same point.
//
// Two forms: a precision n (grid steps per drawing unit) compares strictly, so coordinates exactly 1/n apart
// differ; a tolerance t compares inclusively, so coordinates exactly t apart are equal. Only x and y are looked
// at. Each answers 1 when the points differ and 0 when they are equal; a NaN coordinate makes them differ.
#pragma once

#include "host/ge/point.h"

// Grid steps per drawing unit of the path code and of the manual part commands: points closer than 0.0001 in
// x and in y are the same point.
inline constexpr int kPathPointPrecision = 10000;

// 1 unless 1 > |p.x - q.x| * n and 1 > |p.y - q.y| * n.
int PointsDifferAtPrecision(const host::ge::Point3d& p, const host::ge::Point3d& q, int n);
int CoordinatesDifferAtPrecision(double x1, double y1, double x2, double y2, int n);

// 1 unless t >= |dx| and t >= |dy|.
int PointsDifferByTolerance(const host::ge::Point3d& p, const host::ge::Point3d& q, double t);
int CoordinatesDifferByTolerance(double x1, double y1, double x2, double y2, double t);
