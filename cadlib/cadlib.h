// The CAD helper library: everything a module includes to use it.
#pragma once

#include "cadlib/angles.h"
#include "cadlib/arc_construction.h"
#include "cadlib/circle_intersections.h"
#include "cadlib/corner_loops.h"
#include "cadlib/line_intersections.h"
#include "cadlib/material_dialogs.h"
#include "cadlib/material_file.h"
#include "cadlib/messages.h"
#include "cadlib/number_text.h"
#include "cadlib/numbers.h"
#include "cadlib/point_equality.h"
#include "cadlib/point_in_contour.h"
#include "cadlib/polyline_contour.h"
#include "cadlib/segment_box.h"
#include "cadlib/text_lines.h"
