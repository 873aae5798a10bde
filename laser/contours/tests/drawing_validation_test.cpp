// Tests of the check that refuses drawings with splines, ellipses, foreign layers and stray points.
#include <gtest/gtest.h>

#include <functional>

#include "laser/contours/drawing_validation.h"
#include "laser/contours/tests/creation_drawing_fixture.h"

namespace {

using contour_testing::CreationTest;
using host::ge::Point3d;

class DrawingValidation : public CreationTest {
public:
    void AddSpline(const std::string& layer = "0") { Add(std::make_unique<host::db::Spline>(), layer); }
    void AddEllipse() {
        auto ellipse = std::make_unique<host::db::Ellipse>();
        ellipse->set({0, 0, 0}, {0, 0, 1}, {10, 0, 0}, 0.5);
        Add(std::move(ellipse));
    }
};

struct ValidationCase {
    const char* what;
    std::function<void(DrawingValidation&)> draw;
    InvalidGeometryCounts expected;
};

TEST_F(DrawingValidation, CountsEachRefusedClassOnce) {
    const ValidationCase cases[] = {
        {"allowed layers, texts and block references",
         [](DrawingValidation& t) {
             t.Line({0, 0}, {10, 0});
             t.Circle({5, 5}, 2, "EngraveLine");
             t.Point({1, 1}, "MarkPoint");
             t.Point({2, 2}, "JumperLine");
             t.Add(std::make_unique<host::db::Text>(Point3d{0, 0, 0}, "A", 2.0), "MarkingText");
             t.Line({0, 0}, {0, 5}, "TrimLine");
         },
         {}},
        {"two splines and a point on layer 0: the point is not also on an unused layer",
         [](DrawingValidation& t) {
             t.AddSpline();
             t.AddSpline();
             t.Point({0, 0});
         },
         {2, 0, 0, 1}},
        {"a numbered layer is not a layer contours come from",
         [](DrawingValidation& t) { t.Line({0, 0}, {1, 1}, "1"); }, {0, 0, 1, 0}},
        {"a spline on an allowed layer is still a spline", [](DrawingValidation& t) { t.AddSpline("EngraveLine"); },
         {1, 0, 0, 0}},
        {"an ellipse", [](DrawingValidation& t) { t.AddEllipse(); }, {0, 1, 0, 0}},
        {"a point on a foreign layer counts twice: as an entity and as a point",
         [](DrawingValidation& t) { t.Point({0, 0}, "Dimensions"); }, {0, 0, 1, 1}},
    };
    for (const ValidationCase& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        c.draw(*this);
        const InvalidGeometryCounts counts = CountInvalidGeometry();
        EXPECT_EQ(counts.splines, c.expected.splines);
        EXPECT_EQ(counts.ellipses, c.expected.ellipses);
        EXPECT_EQ(counts.onUnusedLayers, c.expected.onUnusedLayers);
        EXPECT_EQ(counts.strayPoints, c.expected.strayPoints);
        EXPECT_EQ(ValidateContourDrawing(), c.expected.Clean() ? 0 : -1);
        EXPECT_EQ(Boxes().size(), c.expected.Clean() ? 0u : 1u);
    }
}

TEST_F(DrawingValidation, MessageNumbersOnlyTheClassesFound) {
    AddSpline();
    AddSpline();
    Point({0, 0});
    ASSERT_EQ(ValidateContourDrawing(), -1);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0],
              "The part contains invalid contours\n"
              "\n1) Number of splines - 2\nConvert splines to polylines"
              "\n2) Number of points on unused layers - 1\nSet points to the correct layer (for example - "
              "MarkPoint, JumperLine...)"
              "\n\nCorrect the errors and resubmit the command.");
}

TEST_F(DrawingValidation, MessageFollowsTheModuleLanguage) {
    AddEllipse();
    SetLanguageFlag(1);
    const std::string text = FormatInvalidGeometryMessage(CountInvalidGeometry());
    EXPECT_NE(text.find("1) Количество эллипсов - 1"), std::string::npos) << text;
    EXPECT_EQ(text.find("ellipses"), std::string::npos);
}

}  // namespace
