// Geometry conversion: splines through the host's polyline editing, ellipses by circular arcs drawn here, and the
// smoothing of polylines; each prints how many objects it converted.
#include "laser/drawing/conversion_commands.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "cadlib/entity_creation.h"
#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ed/command.h"
#include "host/ed/prompts.h"
#include "host/ed/selection.h"
#include "host/ed/sysvars.h"
#include "host/sys/number_text.h"
#include "laser/contours/segment_correction.h"
#include "laser/drawing/drawing_messages.h"
#include "laser/settings/laser_settings.h"
#include "laser/job/drawing_slot.h"

namespace {

using host::db::ObjectId;
using host::db::OpenMode;
using host::db::ResBuf;
using host::db::RTNORM;
using host::db::RTSTR;

constexpr int kDefaultSegmentType = 0;  // straight segments
constexpr int kMaxSegmentType = 1;      // arcs
constexpr int kDefaultSplinePrecision = 10;
constexpr int kMaxSplinePrecision = 99;
constexpr double kMinDeviation = 0.0000001;
constexpr double kMaxDeviation = 10.0;

// The user's selection, released when it goes out of scope; empty when nothing was selected or it was cancelled.
class UserSelection {
public:
    UserSelection() {
        PrintLocalized(kSelectContoursText);
        held_ = host::ed::ssGet(nullptr, nullptr, nullptr, nullptr, set_) == RTNORM;
    }
    ~UserSelection() {
        if (held_) host::ed::ssFree(set_);
    }
    UserSelection(const UserSelection&) = delete;
    UserSelection& operator=(const UserSelection&) = delete;

    std::vector<ObjectId> ids() const { return held_ ? host::ed::selectionIds(set_) : std::vector<ObjectId>(); }

private:
    host::db::EntityName set_;
    bool held_ = false;
};

// Asks for a whole number from 0 to `max` after printing `question`, again while the answer is outside (a negative
// one too). An empty answer or a cancel takes `fallback`, also after a refused answer: the question never waits
// on an answer it has already refused.
int AskWholeNumber(const TwoLanguageText& question, int fallback, int max) {
    while (true) {
        PrintLocalized(question);
        int value = fallback;
        if (host::ed::getInt("", value) != RTNORM) return fallback;
        if (static_cast<unsigned>(value) <= static_cast<unsigned>(max)) return value;
    }
}

// Asks for the maximum deviation, offering `offered`, again while it lies outside [kMinDeviation, kMaxDeviation].
// An empty answer keeps the value (the offered one, or the last refused one, which is then asked again). False
// after a cancel.
bool AskDeviation(double offered, double& deviation) {
    deviation = offered;
    while (true) {
        PrintLocalized(kMaxDeviationText, offered);
        const int status = host::ed::getReal("", deviation);
        if (status != RTNORM && status != host::db::RTNONE) return false;
        if (deviation >= kMinDeviation && deviation <= kMaxDeviation) return true;
    }
}

bool IsClass(const host::db::Entity& entity, const char* className) {
    return std::strcmp(entity.className(), className) == 0;
}

// Draws the ellipse as circular arcs in the working drawing. An ellipse whose normal points down runs clockwise
// seen from above: with the same major axis it is the upward ellipse over the mirrored parameters, so its polar
// angles are mirrored too and the arcs are drawn where the ellipse lies (drawn over the unmirrored angles, a
// mirrored elliptical arc came out on the other side of its axis). The arcs lie in plan: an ellipse tilted out of
// the plan (a normal with x or y) is drawn as if seen along its own normal, not as its shadow in plan.
void DrawEllipseAsArcs(const host::db::Ellipse& ellipse) {
    const host::ge::Vector3d major = ellipse.majorAxis();
    const double axisAngle = std::atan2(major.y, major.x);
    const double a = major.length();
    const double b = a * ellipse.radiusRatio();
    if (ellipse.isClosed()) {
        AddEllipseAsArcs(ellipse.center(), axisAngle, a, b);
        return;
    }
    double start = ellipse.startAngle();
    double end = ellipse.endAngle();
    if (ellipse.normal().z < 0.0) {
        const double mirroredStart = -end;
        end = -start;
        start = mirroredStart;
    }
    AddEllipseArcAsArcs(ellipse.center(), axisAngle, a, b, start, end);
}

}  // namespace

void CommandConvertSplineToPolyline() {
    SetSysVarInt("PLINECONVERTMODE", 1);
    int converted = 0;
    {
        const UserSelection selection;
        const std::vector<ObjectId> ids = selection.ids();
        if (!ids.empty()) {
            const int segmentType = AskWholeNumber(kSegmentTypeText, kDefaultSegmentType, kMaxSegmentType);
            SetSysVarInt("PLINECONVERTMODE", static_cast<short>(segmentType));
            const int precision = AskWholeNumber(kSplinePrecisionText, kDefaultSplinePrecision, kMaxSplinePrecision);
            const std::string precisionText = host::sys::formatC("%i", precision);
            for (const ObjectId id : ids) {
                {
                    host::db::ObjectPtr<host::db::Entity> entity(id, OpenMode::Read);
                    if (!entity || !IsClass(*entity, "AcDbSpline")) continue;
                }
                host::db::ResBufList args = {ResBuf(RTSTR, "_.PEDIT"), ResBuf(host::db::RTENAME, host::db::idToName(id))};
                // PEDIT asks whether to turn the spline into a polyline only while PEDITACCEPT is 0; a "yes" given
                // where it does not ask would be taken as the precision and fail the edit.
                if (host::ed::getShort("PEDITACCEPT") == 0) args.emplace_back(RTSTR, "_Y");
                args.emplace_back(RTSTR, precisionText);
                args.emplace_back(RTSTR, "");
                host::ed::command(args);
                ++converted;
            }
        }
    }
    PrintLocalized(kConvertedSplinesText, converted);
}

void CommandConvertEllipseToPolyline() {
    SetSysVarInt("PELLIPSE", 1);
    int converted = 0;
    {
        const UserSelection selection;
        for (const ObjectId id : selection.ids()) {
            host::db::ObjectPtr<host::db::Entity> entity(id, OpenMode::Write);
            if (!entity || !IsClass(*entity, "AcDbEllipse")) continue;
            const auto* ellipse = dynamic_cast<const host::db::Ellipse*>(entity.get());
            if (ellipse == nullptr) continue;
            // The new arcs take the current layer: the ellipse's own. The frame gives the user's layer back.
            SetCurrentLayer(entity->layer());
            DrawEllipseAsArcs(*ellipse);
            entity->erase();
            ++converted;
        }
    }
    PrintLocalized(kConvertedEllipsesText, converted);
}

void CommandSmoothingPolyline() {
    const CLaserSettings& settings = LaserSettings();
    int converted = 0, pointsBefore = 0, pointsAfter = 0;
    {
        const UserSelection selection;
        const std::vector<ObjectId> ids = selection.ids();
        double deviation = 0.0;
        if (AskDeviation(SettingLength(settings, settings.AutoDelSementMinChord), deviation)) {
            for (const ObjectId id : ids) {
                ObjectId target = id;
                {
                    host::db::ObjectPtr<host::db::Polyline3d> polyline3d(id, OpenMode::Write);
                    if (polyline3d) {
                        ObjectId flat;
                        Replace3dPolyline(*polyline3d, flat);
                        if (flat.isNull()) continue;
                        target = flat;
                    }
                }
                host::db::ObjectPtr<host::db::LwPolyline> polyline(target, OpenMode::Write);
                if (!polyline) continue;
                ++converted;
                pointsBefore += static_cast<int>(polyline->numVerts());
                SmoothPolyline(*polyline, 1, SettingLength(settings, settings.AutoDelSementMinSize), deviation);
                pointsAfter += static_cast<int>(polyline->numVerts());
            }
        }
    }
    PrintLocalized(kConvertedPolylinesText, converted, pointsBefore, pointsAfter);
}
