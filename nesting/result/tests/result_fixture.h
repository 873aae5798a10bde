// A nested result to draw: a drawing of the real editor with the host's commands, the module's state holding a
// job of rectangles made by the job builder, the blocks the loader would have made, and parts put on their sheets
// by hand. Message boxes are logged and answered by nobody; the transcript starts empty.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "cadlib/host_variables.h"
#include "cadlib/layers.h"
#include "cadlib/messages.h"
#include "cadlib/rectangle_blocks.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/ui/dialog_user.h"
#include "host/ui/message_box.h"
#include "nesting/frame/nesting_state.h"
#include "nesting/testing/job_builder.h"

namespace nesting_result_testing {

using host::db::ObjectId;
using host::db::ObjectPtr;
using host::db::OpenMode;

class ResultTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::ed::documents().closeAll();
        host::ed::registerHostCommands();
        db_ = &host::ed::documents().newDocument()->database();
        SetSysVarInt("CMDECHO", 0);
        host::ed::transcript().clear();
        host::ui::clearMessageBoxLog();
        SetLibraryLanguage(Language::English);
        state = std::make_unique<CNestingState>();
    }
    void TearDown() override {
        state.reset();
        host::ed::commandStack().removeGroup(host::ed::kHostCommandGroup);
        host::ed::documents().closeAll();
        host::ed::resetSystemVariables();
        SetLibraryLanguage(Language::English);
    }

    host::db::Database& Drawing() { return *db_; }

    // A stock type and a part type of rectangles as the loader defines their blocks: the stock's lower-left
    // corner and the part's centre on the block's origin. Answer the type's index.
    int Stock(double width, double height, int quantity, bool defineBlock = true) {
        const int t = AddStockType(*state, MakeRectangleType(kKindStock, width, height), quantity);
        if (defineBlock) Define(state->StockTypes[static_cast<std::size_t>(t)].BlockName, width, height, 0);
        return t;
    }
    int Part(double width, double height, int quantity, bool defineBlock = true) {
        const int t = AddPartType(*state, MakeRectangleType(kKindPart, width, height), quantity);
        if (defineBlock) Define(state->PartTypes[static_cast<std::size_t>(t)].BlockName, width, height, 1);
        return t;
    }
    // Clamps in use, `perSheet` of them (their type and block "Clamp" come last).
    void Clamps(int perSheet, double width = 40, double height = 20) {
        AddClampType(*state, width, height, perSheet);
        Define("Clamp", width, height, kAnchorBottomCentre);
        state->ClampUse = 1;
        state->ClampQuantity = perSheet;
    }
    void Define(const std::string& name, double width, double height, int anchor) {
        ASSERT_EQ(DefineRectangleBlock(name, width, height, anchor, "Continuous", 7), host::db::Status::Ok) << name;
    }
    void MakeInstances() { ASSERT_TRUE(AddInstances(*state)); }

    // Puts part instance i on stock instance `stock` at (x, y) turned by `angle`, its pose box that of its
    // type's outer box turned by a multiple of pi/2 and grown by half the part gap `gap`; the stock counts as a
    // used sheet.
    void Place(int i, int stock, double x, double y, double angle = 0.0, double gap = 0.0) {
        PartInstance& part = state->PartInstances[static_cast<std::size_t>(i)];
        part.Placed = 1;
        part.Stock = stock;
        PartPose& pose = *part.CommittedPose;
        pose.Valid = 1;
        pose.X = x;
        pose.Y = y;
        pose.Angle = angle;
        const BoundingBox& b = part.Type->OuterBox;
        const bool turned = std::lround(angle / (std::numbers::pi / 2)) % 2 != 0;
        const double halfW = (turned ? b.Height() : b.Width()) / 2 + gap / 2;
        const double halfH = (turned ? b.Width() : b.Height()) / 2 + gap / 2;
        pose.Box = {x - halfW, y - halfH, x + halfW, y + halfH};
        UseSheet(stock);
    }
    void UseSheet(int stock) {
        PartInstance& sheet = state->StockInstances[static_cast<std::size_t>(stock)];
        if (sheet.Placed == 1) return;
        sheet.Placed = 1;
        ++state->UsedStockCount;
    }

    // A line in model space, on `layer` (made when missing) or the current layer.
    ObjectId Line(const host::ge::Point3d& start, const host::ge::Point3d& end, const std::string& layer = {}) {
        if (!layer.empty()) CreateLayer(layer, 7, kFallbackLinetype, false);
        auto line = std::make_unique<host::db::Line>(start, end);
        if (!layer.empty()) line->setLayer(layer);
        ObjectPtr<host::db::BlockTableRecord> model(db_->modelSpaceId(), OpenMode::Write);
        ObjectId id;
        EXPECT_EQ(model->appendEntity(std::move(line), &id), host::db::Status::Ok);
        return id;
    }

    // The live entities of model space, in drawing order.
    std::vector<ObjectId> ModelSpace() {
        ObjectPtr<host::db::BlockTableRecord> model(db_->modelSpaceId(), OpenMode::Read);
        return model->entityIds();
    }
    // Block name, position and rotation of every block reference of model space, in drawing order.
    struct Insert {
        std::string block;
        host::ge::Point3d at;
        double rotation = 0.0;
    };
    std::vector<Insert> Inserts() {
        std::vector<Insert> found;
        for (ObjectId id : ModelSpace()) {
            ObjectPtr<host::db::BlockReference> ref(id, OpenMode::Read);
            if (!ref) continue;
            found.push_back({db_->recordName(ref->blockTableRecord()), ref->position(), ref->rotation()});
        }
        return found;
    }
    static std::string Transcript() { return host::ed::transcript().text(); }
    static std::vector<std::string> MessageBoxTexts() {
        std::vector<std::string> texts;
        for (const auto& box : host::ui::messageBoxLog()) texts.push_back(box.text);
        return texts;
    }

    std::unique_ptr<CNestingState> state;
    host::ui::UseDialogUser nobody_{nullptr};

private:
    host::db::Database* db_ = nullptr;
};

}  // namespace nesting_result_testing
