// The block drag jig driven by scripted cursor samples: moves, turns, no-change samples, Enter and Esc.
#include "cadlib/block_drag_jig.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cadlib/angles.h"
#include "host/ed/display.h"
#include "host/ed/input.h"
#include "host/ed/sysvars.h"
#include "host/ed/tests/input_test_drawing.h"
#include "host/ed/transcript.h"

namespace {

using host::ge::Point3d;
using cadlib::kPi;

class BlockDragJigTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::ed::resetSystemVariables();
        host::ed::transcript().clear();
        const host::db::ObjectId block = d.block("PART");
        d.line({0, 0, 0}, {10, 0, 0}, block);
        refId = d.insert(block, {1, 1, 0});
        ref = std::make_unique<host::db::ObjectPtr<host::db::BlockReference>>(refId, host::db::OpenMode::Write);
        jig = std::make_unique<CBlockDragJig>(ref->get());
    }
    void TearDown() override {
        jig.reset();
        ref.reset();
        host::ed::setInput(nullptr);
        host::ed::resetSystemVariables();
    }
    static void typed(std::vector<std::string> lines) {
        host::ed::setInput(host::ed::ScriptInput::fromLines(std::move(lines)));
    }
    host::db::BlockReference& reference() { return **ref; }
    std::size_t modelSpaceEntities() {
        const auto* ms = dynamic_cast<const host::db::BlockTableRecord*>(d.db().peek(d.db().modelSpaceId()));
        return ms ? ms->entityIds().size() : 0;
    }
    static int entityRedraws() {
        int n = 0;
        for (const auto& e : host::ed::displayLog()) n += e.kind == host::ed::DisplayEvent::Kind::EntityRedraw;
        return n;
    }

    host::ed::testing::TestDrawing d;
    host::db::ObjectId refId;
    std::unique_ptr<host::db::ObjectPtr<host::db::BlockReference>> ref;
    std::unique_ptr<CBlockDragJig> jig;
};

TEST_F(BlockDragJigTest, MoveThenRotateByPicks) {
    host::ed::clearDisplayLog();
    typed({"drag 2,2", "drag 2,2", "drag 4,3", "5,5"});
    EXPECT_EQ(jig->DragPosition(), 0);
    EXPECT_EQ(reference().position(), Point3d(5, 5, 0));
    EXPECT_EQ(entityRedraws(), 3);  // the repeated sample changed nothing
    EXPECT_EQ(jig->entity(), &reference());
    EXPECT_EQ(jig->dragStyle().original, 0);
    EXPECT_EQ(jig->dragStyle().dragged, 1);

    typed({"drag 5,9", "5,0"});
    EXPECT_EQ(jig->DragRotation(), 0);
    EXPECT_DOUBLE_EQ(reference().rotation(), 3 * kPi / 2);
    EXPECT_EQ(reference().position(), Point3d(5, 5, 0));
    const std::string& said = host::ed::transcript().text();
    EXPECT_NE(said.find("\nSpecify a point: drag 2,2"), std::string::npos) << said;
    EXPECT_NE(said.find("\nSpecify angle: 5,0"), std::string::npos) << said;
    EXPECT_EQ(modelSpaceEntities(), 1u);  // nothing appended
}

TEST_F(BlockDragJigTest, PickOnTheBaseIsNoDirection) {
    typed({"drag 1,1", "1,1", "1,4"});
    EXPECT_EQ(jig->DragRotation(), 0);
    EXPECT_DOUBLE_EQ(reference().rotation(), kPi / 2);
}

TEST_F(BlockDragJigTest, EnterAndEsc) {
    // Enter at the first prompt: 1, the reference where it was.
    typed({""});
    EXPECT_EQ(jig->DragPosition(), 1);
    EXPECT_EQ(reference().position(), Point3d(1, 1, 0));
    // Enter after a sample: the sample stays applied.
    typed({"drag 3,3", ""});
    EXPECT_EQ(jig->DragPosition(), 1);
    EXPECT_EQ(reference().position(), Point3d(3, 3, 0));
    // Esc in a move: back to the start of that drag.
    typed({"drag 8,8", "^C"});
    EXPECT_EQ(jig->DragPosition(), -1);
    EXPECT_EQ(reference().position(), Point3d(3, 3, 0));
    // A turn, then Esc in the next turn: the rotation of that turn's start comes back, the move stays.
    typed({"drag 2,3", "3,6"});
    ASSERT_EQ(jig->DragRotation(), 0);
    typed({"drag 0,3", "<Esc>"});
    EXPECT_EQ(jig->DragRotation(), -1);
    EXPECT_DOUBLE_EQ(reference().rotation(), kPi / 2);
    EXPECT_EQ(reference().position(), Point3d(3, 3, 0));
    // Enter in a turn after a sample: the sampled angle stays.
    typed({"drag 3,0", ""});
    EXPECT_EQ(jig->DragRotation(), 1);
    EXPECT_DOUBLE_EQ(reference().rotation(), 3 * kPi / 2);
}

}  // namespace
