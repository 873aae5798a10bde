// Test support for the path of one contour: small drawings turned into contours by contour creation, the
// settings that steer start points, leads, jumper gaps and loops put back after each test, and readers of the
// groups the writers lay.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "cadlib/groups.h"
#include "host/db/entities.h"
#include "laser/contours/contour_creation.h"
#include "laser/contours/tests/creation_drawing_fixture.h"
#include "laser/path/tests/contour_lookup_fixture.h"
#include "laser/path/contour_path.h"
#include "laser/path/path_groups.h"

namespace leads_testing {

using host::db::ObjectId;
using host::ge::Point3d;

// The settings the path of one contour reads, as they stood before a test.
struct PathSettings {
    std::int8_t zahodTypePoint;
    int cutLineDirection, autoCorrectLeadin, useJamper, useLoop;
    double markingLineLength, jamperWidth, jamperLenOut, jamperLenIn, loopAngle, loopLength, loopRadius,
        leadInSpan, diameterTool;

    static PathSettings Take(const CLaserSettings& s) {
        return {s.ZahodTypePoint, s.CutLineDirection, s.AutoCorrectLeadin, s.UseJamper,   s.UseLoop,
                s.MarkingLineLength, s.JamperWidth, s.JamperLenOut,      s.JamperLenIn, s.LoopAngle,
                s.LoopLength,     s.LoopRadius,     s.LeadInSpan,        s.DiameterTool};
    }
    void Restore(CLaserSettings& s) const {
        s.ZahodTypePoint = zahodTypePoint;
        s.CutLineDirection = cutLineDirection;
        s.AutoCorrectLeadin = autoCorrectLeadin;
        s.UseJamper = useJamper;
        s.UseLoop = useLoop;
        s.MarkingLineLength = markingLineLength;
        s.JamperWidth = jamperWidth;
        s.JamperLenOut = jamperLenOut;
        s.JamperLenIn = jamperLenIn;
        s.LoopAngle = loopAngle;
        s.LoopLength = loopLength;
        s.LoopRadius = loopRadius;
        s.LeadInSpan = leadInSpan;
        s.DiameterTool = diameterTool;
    }
};

class LeadsTest : public path_testing::ContourLookupTest {
protected:
    void SetUp() override {
        CreationTest::SetUp();
        saved_ = PathSettings::Take(settings());
        // Every test starts from the same path settings, whatever the registry file of the binary holds.
        settings().ZahodTypePoint = 2;
        settings().CutLineDirection = 0;
        settings().AutoCorrectLeadin = 1;
        settings().UseJamper = 1;
        settings().UseLoop = 0;
        settings().MarkingLineLength = 0.02;
        settings().JamperWidth = 1.0;
        settings().JamperLenOut = 0.5;
        settings().JamperLenIn = 6.0;
        settings().LeadInSpan = 6.0;
        settings().DiameterTool = 0.2;
    }
    void TearDown() override {
        saved_.Restore(settings());
        CreationTest::TearDown();
    }

public:
    // Contour creation on what the test drew, then a fresh path state: no groups, the tool at the origin, cutting
    // not started at home, leads of 6 in and 3 out at 30 degrees, tool diameter 0.2.
    void Create() {
        ASSERT_EQ(CreateContours(), 0) << Transcript();
        CuttingJob& job = Job();
        job.pathGroupCount = 0;
        job.currentPoint = Point3d();
        job.startAtHome = 0;
        job.homePoint = Point3d();
        job.leadInSpan = 6.0;
        job.leadOutSpan = 3.0;
        job.leadAngle = 30.0;
        job.leadAngleRad = 30.0 * std::numbers::pi / 180.0;
        job.toolDiameter = 0.2;
        job.unit = 0;
    }

    // Writes the path of contour `index` from `start`; answers the description of the group it made ("" when
    // none).
    std::string Write(const Point3d& start, int index) {
        const int before = Job().pathGroupCount;
        EXPECT_EQ(WriteContourPath(start, index), 0);
        if (Job().pathGroupCount == before) return {};
        return Description(static_cast<unsigned>(Job().pathGroupCount));
    }
    std::string Description(unsigned n) {
        std::string d;
        GetGroupDescription(FormatPathGroupName(n), d);
        return d;
    }
    PathRecord Path(unsigned n) {
        PathRecord r;
        ReadPathRecord(n, r);
        return r;
    }
    std::vector<ObjectId> Members(unsigned n) {
        std::vector<ObjectId> ids;
        GetGroupEntityIds(FormatPathGroupName(n), ids);
        return ids;
    }
    // The lines of group n as (start, end) pairs, arcs as (start point, end point) of their drawn direction.
    struct Member {
        bool arc = false;
        Point3d a, b;
        std::string linetype;
    };
    std::vector<Member> MemberShapes(unsigned n) {
        std::vector<Member> out;
        for (ObjectId id : Members(n)) {
            auto e = Open<host::db::Entity>(id);
            if (!e) continue;
            Member m;
            m.linetype = e->linetype();
            if (auto* line = dynamic_cast<const host::db::Line*>(e.get())) {
                m.a = line->start();
                m.b = line->end();
            } else if (auto* arc = dynamic_cast<const host::db::Arc*>(e.get())) {
                m.arc = true;
                const Point3d c = arc->center();
                m.a = {c.x + arc->radius() * std::cos(arc->startAngle()),
                       c.y + arc->radius() * std::sin(arc->startAngle()), 0.0};
                m.b = {c.x + arc->radius() * std::cos(arc->endAngle()),
                       c.y + arc->radius() * std::sin(arc->endAngle()), 0.0};
            }
            out.push_back(m);
        }
        return out;
    }

private:
    PathSettings saved_{};
};

// The blank-separated words of a description.
inline std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

inline bool Near(const Point3d& a, const Point3d& b, double tol = 1e-4) {
    return std::abs(a.x - b.x) <= tol && std::abs(a.y - b.y) <= tol;
}

inline double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

}  // namespace leads_testing
