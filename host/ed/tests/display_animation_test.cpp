// A moving entity on the display: each Draw redraw is a frame stamped with the display clock, kept after the
// entity is erased, and played back by the animated picture at the recorded times.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/ed/display.h"
#include "host/ed/drawing_svg.h"
#include "host/ed/tests/input_test_drawing.h"

namespace host::ed {
namespace {

using ge::Point3d;
using testing::TestDrawing;

TEST(DisplayAnimation, FramesFollowTheEntityAndPlayAtTheirTimes) {
    TestDrawing d;
    std::int64_t now = 100;
    setDisplayClock([&] { return now; });
    const db::ObjectId marker = d.line({-1, 0, 0}, {1, 0, 0});
    const db::ObjectId still = d.line({0, 5, 0}, {1, 5, 0});
    ASSERT_TRUE(redrawEntity(still, RedrawMode::Draw));  // one frame: nothing moves, nothing plays
    for (int step = 0; step < 3; ++step) {
        {
            db::ObjectPtr<db::Line> line(marker, db::OpenMode::Write);
            ASSERT_TRUE(line);
            line->setStart(Point3d(10.0 * step - 1, 0, 0));
            line->setEnd(Point3d(10.0 * step + 1, 0, 0));
            if (step == 2) line->setColorIndex(3);
        }
        ASSERT_TRUE(redrawEntity(marker, RedrawMode::Draw));
        now += step == 0 ? 20 : 19;
    }
    EXPECT_TRUE(redrawEntity(marker, RedrawMode::Undraw));  // not a frame
    d.erase(marker);
    setDisplayClock({});

    const std::vector<AnimationFrame>& frames = animationFrames(d.db());
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[1].time, 100);
    EXPECT_EQ(frames[3].time, 139);
    EXPECT_DOUBLE_EQ(frames[3].center.x, 20.0);
    EXPECT_DOUBLE_EQ(frames[3].size, 2.0);
    EXPECT_EQ(frames[3].color, 3);

    SvgOptions options;
    options.animate = true;
    const std::string svg = renderSvg(d.db(), options).text;
    const std::string handle = d.db().handleOf(marker).text();
    EXPECT_NE(svg.find("<g class=\"animation\" data-handle=\"" + handle + "\" data-times=\"0 20 39\">"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("dur=\"0.039s\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("values=\"0,0;10,0;20,0\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("attributeName=\"fill\""), std::string::npos) << "the colour changes at the last frame";
    EXPECT_EQ(svg.find("data-handle=\"" + d.db().handleOf(still).text() + "\" data-times"), std::string::npos);
    // Without the option the picture is still.
    EXPECT_EQ(renderSvg(d.db()).text.find("class=\"animation\""), std::string::npos);
}

}  // namespace
}  // namespace host::ed
