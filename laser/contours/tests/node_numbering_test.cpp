// The table of drawn pieces and its nodes: what is read from a drawing, what is erased or left out, and which ends
// share a node (listed or not) under the two tolerances.
#include "laser/contours/node_numbering.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cadlib/angles.h"
#include "host/db/database.h"
#include "host/ed/transcript.h"
#include "laser/contours/contour_entity_table.h"
#include "laser/contours/tests/contour_stage_fixture.h"

namespace {

using host::db::ObjectId;
using contour_testing::StageOf;
using host::ge::Point3d;

ContourEntity Piece(std::uint8_t type, Point3d a, Point3d b, ContourKind kind = ContourKind::KindBase) {
    ContourEntity e;
    e.type = type;
    e.startPoint = a;
    e.endPoint = b;
    e.kind = kind;
    return e;
}

struct Nodes {
    std::uint32_t start, end;
    bool operator==(const Nodes&) const = default;
};

std::vector<Nodes> NodesOf(const ContourEntityStage& stage) {
    std::vector<Nodes> out;
    for (int i = 0; i < stage.ContourEntityCount; ++i) {
        out.push_back({stage.ContourEntityTable[i].startNode, stage.ContourEntityTable[i].endNode});
    }
    return out;
}

TEST(NodeNumbering, ExactToleranceFollowsAutoConnect) {
    EXPECT_EQ(ExactNodeTolerance(0.0001, 0), 1e-7);
    EXPECT_EQ(ExactNodeTolerance(1e-9, 0), 1e-9);
    EXPECT_EQ(ExactNodeTolerance(0.01, 1), 0.01);
}

TEST(NodeNumbering, NodesAndListsForTypicalMeetings) {
    const std::uint8_t L = kEntityLine, A = kEntityArc, C = kEntityCircle, P = kEntityPoint;
    struct Case {
        const char* what;
        std::vector<ContourEntity> pieces;
        double joinDist;
        int autoConnect;
        std::vector<Nodes> nodes;
        std::vector<std::uint32_t> listed;
    } cases[] = {
        {"end to end within 1e-7",
         {Piece(L, {0, 0}, {10, 0}), Piece(L, {10, 5e-8}, {10, 10})},
         0.0001, 0, {{0, 1}, {1, 0}}, {1}},
        {"0.005 apart with AutoConnect 0: a node of near ends, not listed",
         {Piece(L, {0, 0}, {10, 0}), Piece(L, {10.005, 0}, {20, 0})},
         0.01, 0, {{0, 1}, {1, 0}}, {}},
        {"0.005 apart with AutoConnect 1: the same node, listed",
         {Piece(L, {0, 0}, {10, 0}), Piece(L, {10.005, 0}, {20, 0})},
         0.01, 1, {{0, 1}, {1, 0}}, {1}},
        {"beyond the joining distance: no node",
         {Piece(L, {0, 0}, {10, 0}), Piece(L, {10.02, 0}, {20, 0})},
         0.01, 1, {{0, 0}, {0, 0}}, {}},
        {"different kinds never meet",
         {Piece(L, {0, 0}, {10, 0}), Piece(L, {10, 0}, {10, 10}, ContourKind::EngraveLine)},
         0.0001, 1, {{0, 0}, {0, 0}}, {}},
        {"the nearer end of the later piece is taken (its end here)",
         {Piece(L, {0, 0}, {10, 0}), Piece(L, {10, 10}, {10, 0})},
         0.0001, 1, {{0, 1}, {0, 1}}, {1}},
        {"a closed square: four listed nodes, numbered in walking order",
         {Piece(L, {0, 0}, {10, 0}), Piece(L, {10, 0}, {10, 10}), Piece(L, {10, 10}, {0, 10}),
          Piece(L, {0, 10}, {0, 0})},
         0.0001, 1, {{1, 2}, {2, 3}, {3, 4}, {4, 1}}, {1, 2, 3, 4}},
        {"three lines at one point share one node",
         {Piece(L, {0, 0}, {10, 0}), Piece(L, {10, 0}, {10, 10}), Piece(L, {10, 0}, {20, 5})},
         0.0001, 1, {{0, 1}, {1, 0}, {1, 0}}, {1}},
        {"a circle never gets a node",
         {Piece(C, {5, 0}, {5, 0}), Piece(L, {5, 0}, {10, 10})},
         0.0001, 1, {{0, 0}, {0, 0}}, {}},
        {"a point gets a node where a line ends on it",
         {Piece(L, {0, 0}, {10, 0}), Piece(P, {10, 0}, {10, 0})},
         0.0001, 1, {{0, 1}, {1, 0}}, {1}},
        {"an arc meets a line at its start",
         {Piece(A, {1, 0}, {0, 1}), Piece(L, {0, 1}, {-5, 1})},
         0.0001, 1, {{0, 1}, {1, 0}}, {1}},
    };
    for (const Case& c : cases) {
        ContourEntityStage stage = StageOf(c.pieces);
        NumberContourNodes(stage, c.joinDist, ExactNodeTolerance(c.joinDist, c.autoConnect));
        EXPECT_EQ(NodesOf(stage), c.nodes) << c.what;
        EXPECT_EQ(stage.NodeList, c.listed) << c.what;
    }
}

TEST(NodeNumbering, ExactMembersWinOverNearOnesAndNearOnesJoinOnlyWithoutThem) {
    // Piece 0's end has an exact partner (piece 1) and a near one (piece 2, 0.005 away): the node is listed and
    // the near piece stays out of it. Then piece 2's start finds nothing later and keeps no node.
    ContourEntityStage stage = StageOf({Piece(kEntityLine, {0, 0}, {10, 0}), Piece(kEntityLine, {10, 0}, {10, 10}),
                                        Piece(kEntityLine, {10.005, 0}, {20, 0})});
    NumberContourNodes(stage, 0.01, ExactNodeTolerance(0.01, 0));
    EXPECT_EQ(NodesOf(stage), (std::vector<Nodes>{{0, 1}, {1, 0}, {0, 0}}));
    EXPECT_EQ(stage.NodeList, (std::vector<std::uint32_t>{1}));
}

TEST(NodeNumbering, TooManyNearEndsAreReportedAndLeftOut) {
    // 60 short lines fanning out from near (0,0): each start lies within the joining distance of piece 0's start
    // but none exactly on it.
    std::vector<ContourEntity> pieces = {Piece(kEntityLine, {0, 0}, {-10, 0})};
    for (int k = 0; k < 60; ++k) {
        pieces.push_back(Piece(kEntityLine, {0.001 + k * 1e-5, 0.001}, {5.0 + k, 10}));
    }
    ContourEntityStage stage = StageOf(pieces);
    host::ed::transcript().clear();
    NumberContourNodes(stage, 0.01, ExactNodeTolerance(0.01, 0));
    int joined = 0;
    for (int i = 1; i <= 60; ++i) joined += stage.ContourEntityTable[i].startNode == 1 ? 1 : 0;
    EXPECT_EQ(joined, static_cast<int>(kNearCandidateCapacity));
    EXPECT_NE(host::ed::transcript().text().find("More than 52 object ends lie near one end"), std::string::npos);
}

TEST(NodeNumbering, TheBasicNumberingTakesCirclesAndListsEveryNode) {
    const std::uint8_t L = kEntityLine, C = kEntityCircle;
    struct Case {
        const char* what;
        std::vector<ContourEntity> pieces;
        double joinDist;
        std::vector<Nodes> nodes;
        std::vector<std::uint32_t> listed;
    } cases[] = {
        {"a line ending on a circle's point at angle 0: the circle's ends share the node",
         {Piece(L, {0, 0}, {10, 0}), Piece(C, {10, 0}, {10, 0})}, 0.01, {{0, 1}, {1, 1}}, {1}},
        {"ends 0.005 apart meet under 0.01 and the node is listed",
         {Piece(L, {0, 0}, {10, 0}), Piece(L, {10.005, 0}, {20, 0})}, 0.01, {{0, 1}, {1, 0}}, {1}},
        {"ends exactly the distance apart do not meet",
         {Piece(L, {0, 0}, {10, 0}), Piece(L, {10.25, 0}, {20, 0})}, 0.25, {{0, 0}, {0, 0}}, {}},
    };
    for (const Case& c : cases) {
        ContourEntityStage stage = StageOf(c.pieces);
        NumberContourNodesBasic(stage, c.joinDist);
        EXPECT_EQ(NodesOf(stage), c.nodes) << c.what;
        EXPECT_EQ(stage.NodeList, c.listed) << c.what;
    }
}

TEST(NodeNumbering, NodeMembersKeepTheirLimitAndSayWhereItWasPassed) {
    // 801 lines from one point: one listed node with every line in it.
    std::vector<ContourEntity> pieces;
    for (int k = 0; k < 801; ++k) pieces.push_back(Piece(kEntityLine, {1, 2}, {10.0 + k, 10}));
    pieces.push_back(Piece(kEntityLine, {1, 2}, {0, -10}, ContourKind::NoLeadIn));  // never counted at triples
    ContourEntityStage stage = StageOf(pieces);
    NumberContourNodes(stage, 0.0001, ExactNodeTolerance(0.0001, 1));
    ASSERT_EQ(stage.NodeList, (std::vector<std::uint32_t>{1}));
    const NodeMemberIndex index(stage);

    host::ed::transcript().clear();
    EXPECT_EQ(FillNodeMembers(stage, index, 1, NodeMemberFilter::All), kNodeMembersCapacity);
    EXPECT_EQ(stage.NodeMembers.front(), 0);
    EXPECT_EQ(stage.NodeMembers.back(), kNodeMembersCapacity - 1);
    EXPECT_NE(host::ed::transcript().text().find("More than 800 objects meet at one point (1.0000,2.0000)"),
              std::string::npos)
        << host::ed::transcript().text();

    // Pieces that lost their node since the index was made are not members any more.
    stage.ContourEntityTable[0].startNode = 0;
    stage.ContourEntityTable[0].type = kEntityDropped;
    host::ed::transcript().clear();
    EXPECT_EQ(FillNodeMembers(stage, index, 1, NodeMemberFilter::TripleCounted), kNodeMembersCapacity);
    EXPECT_EQ(stage.NodeMembers.front(), 1);
    EXPECT_EQ(stage.NodeMembers.back(), kNodeMembersCapacity);
    EXPECT_EQ(host::ed::transcript().text().find("More than 800"), std::string::npos) << "800 left exactly";
}

class EntityTable : public contour_testing::DrawingTest {};

TEST_F(EntityTable, ReadsVisiblePiecesAndDropsShortOnesAndJobLayers) {
    settings().AutoConnectDist = 0.0001;
    settings().AutoConnect = 1;
    const ObjectId line = Line({0, 0}, {10, 0});
    const ObjectId arc = Arc({10, 5}, 5, -cadlib::kHalfPi, cadlib::kHalfPi);
    const ObjectId circle = Circle({50, 50}, 3);
    const ObjectId point = Point({7, 7}, "MarkPoint");
    const ObjectId shortLine = Line({30, 30}, {30.00005, 30});
    const ObjectId jobText = Line({0, 0}, {1, 1}, "NC_Laser");
    Layer("Frozen", false, true);
    const ObjectId frozen = Line({0, 0}, {0, 5}, "Frozen");
    Layer("Off", true, false);
    const ObjectId off = Line({0, 0}, {0, 6}, "Off");
    const ObjectId engraved = Line({10, 10}, {0, 0}, "EngraveLine");

    ContourEntityStage& stage = ContourEntities();
    BuildContourEntities(stage);

    ASSERT_EQ(stage.ContourEntityCount, 5);
    EXPECT_EQ(stage.ContourEntityTable.size(), 6u);
    const std::vector<ContourEntity>& t = stage.ContourEntityTable;
    EXPECT_EQ(host::db::nameToId(t[0].entityName), line);
    EXPECT_EQ(t[0].type, kEntityLine);
    EXPECT_EQ(t[0].endPoint, Point3d(10, 0));
    EXPECT_EQ(t[0].kind, ContourKind::KindBase);
    EXPECT_EQ(host::db::nameToId(t[1].entityName), arc);
    EXPECT_EQ(t[1].type, kEntityArc);
    EXPECT_NEAR(t[1].startPoint.x, 10.0, 1e-12);
    EXPECT_NEAR(t[1].endPoint.y, 10.0, 1e-12);
    EXPECT_EQ(t[1].radius, 5.0);
    EXPECT_EQ(host::db::nameToId(t[2].entityName), circle);
    EXPECT_EQ(t[2].startPoint, Point3d(53, 50));
    EXPECT_EQ(t[2].endPoint, Point3d(53, 50));
    EXPECT_EQ(host::db::nameToId(t[3].entityName), point);
    EXPECT_EQ(t[3].kind, ContourKind::MarkPoint);
    EXPECT_EQ(t[3].layer, "MarkPoint");
    EXPECT_EQ(host::db::nameToId(t[4].entityName), engraved);
    EXPECT_EQ(t[4].kind, ContourKind::EngraveLine);

    EXPECT_TRUE(shortLine.isErased()) << "a line shorter than the joining distance is erased";
    EXPECT_TRUE(jobText.isErased()) << "everything on the job layer goes";
    EXPECT_FALSE(frozen.isErased());
    EXPECT_FALSE(off.isErased());
    EXPECT_TRUE(stage.ContourSelection.isNil()) << "the set is freed";
}

TEST_F(EntityTable, APieceOnALockedLayerIsReportedAndLeftOut) {
    Layer("Locked");
    const ObjectId locked = Line({0, 0}, {10, 0}, "Locked");
    Layer("Locked", false, false, true);
    Line({10, 0}, {10, 10});

    ContourEntityStage& stage = ContourEntities();
    BuildContourEntities(stage);
    ASSERT_EQ(stage.ContourEntityCount, 1);
    EXPECT_NE(host::db::nameToId(stage.ContourEntityTable[0].entityName), locked);
    EXPECT_NE(host::ed::transcript().text().find("An object on layer \"Locked\" cannot be changed"),
              std::string::npos)
        << host::ed::transcript().text();
}

TEST_F(EntityTable, LoosePolylinesAreExplodedAndTheirCornersListedAsNodes) {
    settings().AutoConnect = 1;
    auto square = std::make_unique<host::db::LwPolyline>();
    const Point3d corners[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    for (unsigned k = 0; k < 4; ++k) square->addVertexAt(k, corners[k].to2d());
    square->setClosed(true);
    const ObjectId polyline = Add(std::move(square));
    Circle({5, 5}, 1);

    ContourEntityStage& stage = ContourEntities();
    ExplodeLoosePolylines(stage);

    EXPECT_TRUE(polyline.isErased());
    ASSERT_EQ(stage.ContourEntityCount, 5);
    int lines = 0;
    for (int i = 0; i < stage.ContourEntityCount; ++i) {
        const ContourEntity& e = stage.ContourEntityTable[i];
        if (e.type != kEntityLine) continue;
        ++lines;
        EXPECT_NE(e.startNode, 0u);
        EXPECT_NE(e.endNode, 0u);
    }
    EXPECT_EQ(lines, 4);
    EXPECT_EQ(stage.NodeList.size(), 4u);
}

}  // namespace
