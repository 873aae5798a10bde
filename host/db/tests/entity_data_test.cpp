// Entity data lists: entGet's groups, entMod's changes (all or nothing), entNext/entLast walks and entDel's
// delete and undelete, through entity names.
#include "host/db/entity_data.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "db_test_support.h"
#include "host/db/database.h"
#include "host/db/entity_groups.h"

namespace host::db {
namespace {

using testing::addLayer;
using testing::addToModelSpace;
using testing::registerApp;

// A drawing that is the working drawing for the test's lifetime.
struct WorkingDrawing {
    Database db;
    WorkingDrawing() { setWorkingDatabase(&db); }
    ~WorkingDrawing() { setWorkingDatabase(nullptr); }
};

const ResBuf* find(const ResBufList& list, int code) {
    for (const ResBuf& rb : list)
        if (rb.code == code) return &rb;
    return nullptr;
}

// The list with the group of `code` set to `value`; a group it lacks is added where it belongs: a common group
// after the layer (in the AcDbEntity part), any other at the end.
ResBufList withChanged(ResBufList list, int code, ResBuf::Value value) {
    for (ResBuf& rb : list)
        if (rb.code == code) {
            rb.value = std::move(value);
            return list;
        }
    ResBuf added(code);
    added.value = std::move(value);
    auto layer = std::find_if(list.begin(), list.end(), [](const ResBuf& rb) { return rb.code == 8; });
    if (isCommonEntityGroup(code) && layer != list.end()) list.insert(layer + 1, added);
    else list.push_back(added);
    return list;
}

// Groups as a file or a list gives them: common groups after the kind's subclass marker count (some writers put
// layer and colour there), except where the kind's own data uses the code (an MTEXT's 48 is a column width). A
// refused colour names its own group: checking it after the walk once read past the end of the list.
TEST(EntityData, CommonGroupsWhereverTheyStandAndARefusedColourNamesItsGroup) {
    WorkingDrawing w;
    addLayer(w.db, "CUT");
    struct Resolver : RecordResolver {
        Database& db;
        explicit Resolver(Database& d) : db(d) {}
        ObjectId record(TableKind kind, std::string_view name) override { return db.recordId(kind, name); }
    } resolver(w.db);

    Line line;
    const ResBufList afterMarker = {{100, "AcDbEntity"}, {100, "AcDbLine"}, {8, "CUT"}, {62, std::int64_t(1)},
                                    {10, ge::Point3d(0, 0, 0)}, {11, ge::Point3d(1, 0, 0)}};
    ASSERT_EQ(applyEntityGroups(line, afterMarker, resolver), Status::Ok);
    EXPECT_EQ(line.layer(), "CUT");
    EXPECT_EQ(line.colorIndex(), 1);

    MText text;
    const ResBufList columns = {{100, "AcDbEntity"}, {48, 2.0}, {100, "AcDbMText"}, {48, 30.0}, {1, "x"}};
    ASSERT_EQ(applyEntityGroups(text, columns, resolver), Status::Ok);
    EXPECT_EQ(text.linetypeScale(), 2.0);

    for (const ResBufList& bad : {ResBufList{{8, "CUT"}, {62, std::int64_t(300)}},
                                  ResBufList{{62, std::int64_t(300)}, {8, "CUT"}, {10, ge::Point3d(0, 0, 0)}}}) {
        GroupError error;
        Line l;
        EXPECT_EQ(applyEntityGroups(l, bad, resolver, &error), Status::InvalidInput);
        EXPECT_EQ(bad[error.index].code, 62);
        EXPECT_EQ(error.what, "colour group 62 value 300 is refused (eInvalidInput)");
    }
}

TEST(EntityData, EntGetGivesTheHostsListOfALine) {
    WorkingDrawing w;
    const ObjectId id = testing::addLine(w.db, {1, 2, 0}, {3, 4, 5});
    const EntityName name = idToName(id);
    const ResBufList expected = {
        {-1, name},
        {0, "LINE"},
        {330, idToName(w.db.modelSpaceId())},
        {5, id.handle().text()},
        {100, "AcDbEntity"},
        {8, "0"},
        {100, "AcDbLine"},
        {10, ge::Point3d(1, 2, 0)},
        {11, ge::Point3d(3, 4, 5)},
    };
    EXPECT_EQ(entGet(name), expected);
    // Every value is of the kind the host's code map says.
    for (const ResBuf& rb : entGet(name)) {
        switch (valueKindOf(rb.code)) {
        case ValueKind::Name: EXPECT_TRUE(std::holds_alternative<EntityName>(rb.value)) << rb.code; break;
        case ValueKind::String: EXPECT_TRUE(std::holds_alternative<std::string>(rb.value)) << rb.code; break;
        case ValueKind::Point: EXPECT_TRUE(std::holds_alternative<ge::Point3d>(rb.value)) << rb.code; break;
        default: ADD_FAILURE() << rb.code;
        }
    }
}

// The common groups appear only when they say something: 6 and 62 not for BYLAYER, 48 not for 1, 60 only when
// invisible, 67 only in paper space; group 6 gives the line type's name as the table has it.
TEST(EntityData, CommonGroupsOnlyWhenNotDefault) {
    WorkingDrawing w;
    addLayer(w.db, "NC_Laser");
    auto text = std::make_unique<Text>(ge::Point3d(0, 0, 0), "Kstr_ST", 0.0, 0.0);
    text->setPropertiesFrom(w.db);
    text->setLayer("NC_Laser");
    text->setLinetype("CONTINUOUS");
    text->setColorIndex(3);
    text->setLinetypeScale(0.5);
    text->setVisible(false);
    const ResBufList list = entGet(idToName(addToModelSpace(w.db, std::move(text))));
    EXPECT_EQ(find(list, 8)->str(), "NC_Laser");
    EXPECT_EQ(find(list, 6)->str(), "Continuous");
    EXPECT_EQ(find(list, 62)->integer(), 3);
    EXPECT_EQ(find(list, 48)->real(), 0.5);
    EXPECT_EQ(find(list, 60)->integer(), 1);
    EXPECT_EQ(find(list, 67), nullptr);
    EXPECT_EQ(find(list, 1)->str(), "Kstr_ST");

    const ResBufList plain = entGet(idToName(testing::addLine(w.db, {0, 0}, {1, 1})));
    for (int code : {6, 62, 48, 60, 67, 370, 420}) EXPECT_EQ(find(plain, code), nullptr) << code;

    ObjectId paper;
    {
        ObjectPtr<BlockTableRecord> ps(w.db.paperSpaceId(), OpenMode::Write);
        ps->appendEntity(std::make_unique<PointEntity>(ge::Point3d(1, 1, 0)), &paper);
    }
    const ResBufList onPaper = entGet(idToName(paper));
    ASSERT_TRUE(find(onPaper, 67));
    EXPECT_EQ(find(onPaper, 67)->integer(), 1);
    EXPECT_EQ(find(onPaper, 330)->name(), idToName(w.db.paperSpaceId()));
}

// INSERT as the nesting module reads it: 0, 2 (block name), 10 (insertion point), 50 (rotation in radians).
TEST(EntityData, BlockReferenceGivesNamePositionAndRotationInRadians) {
    WorkingDrawing w;
    ObjectId block;
    {
        ObjectPtr<SymbolTable> blocks(w.db.tableId(TableKind::Block), OpenMode::Write);
        blocks->add(std::make_unique<BlockTableRecord>("Clamp"), &block);
    }
    auto ref = std::make_unique<BlockReference>(ge::Point3d(5, 6, 0), block);
    ref->setRotation(1.25);
    const ResBufList list = entGet(idToName(addToModelSpace(w.db, std::move(ref))));
    EXPECT_EQ(find(list, 0)->str(), "INSERT");
    EXPECT_EQ(find(list, 2)->str(), "Clamp");
    EXPECT_EQ(find(list, 10)->point(), ge::Point3d(5, 6, 0));
    EXPECT_EQ(find(list, 50)->real(), 1.25);
}

TEST(EntityData, ExtendedDataOfNamedApplicationsOrAll) {
    WorkingDrawing w;
    ASSERT_EQ(registerApp(w.db, "Kstr"), Status::Ok);
    ASSERT_EQ(registerApp(w.db, "Other"), Status::Ok);
    const ObjectId id = testing::addLine(w.db, {0, 0}, {1, 1});
    {
        ObjectPtr<Line> l(id, OpenMode::Write);
        ASSERT_EQ(l->setXData({{1001, "Kstr"}, {1000, "a"}, {1040, 1.5}, {1001, "Other"}, {1071, 7}}), Status::Ok);
    }
    const EntityName name = idToName(id);
    EXPECT_EQ(find(entGet(name), -3), nullptr);  // no application asked for: no extended data
    const ResBufList kstr = entGet(name, {"Kstr"});
    const std::size_t sentinel = std::size_t(find(kstr, -3) - kstr.data());
    EXPECT_EQ(ResBufList(kstr.begin() + std::ptrdiff_t(sentinel) + 1, kstr.end()),
              (ResBufList{{1001, "Kstr"}, {1000, "a"}, {1040, 1.5}}));
    const ResBufList all = entGet(name, {"*"});
    EXPECT_EQ(all.back(), (ResBuf{1071, 7}));
    EXPECT_EQ(find(entGet(name, {"Missing"}), -3), nullptr);
}

TEST(EntityData, EntGetOfNothingIsEmpty) {
    auto gone = std::make_unique<Database>();
    const EntityName closed = idToName(testing::addLine(*gone, {0, 0}, {1, 1}));
    gone.reset();
    WorkingDrawing w;
    const ObjectId erased = testing::addLine(w.db, {0, 0}, {1, 1});
    ASSERT_EQ(testing::eraseObject(erased), Status::Ok);
    EXPECT_TRUE(entGet(EntityName{}).empty());
    EXPECT_TRUE(entGet(closed).empty());
    EXPECT_TRUE(entGet(idToName(erased)).empty());
    EXPECT_TRUE(entGet(idToName(w.db.tableId(TableKind::Layer))).empty());
}

// entMod(entGet(e)) changes nothing, for every kind the host models: the codec reads back what it writes.
TEST(EntityData, ListOfEveryKindAppliesBackUnchanged) {
    WorkingDrawing w;
    ASSERT_EQ(registerApp(w.db, "Kstr"), Status::Ok);
    std::vector<ObjectId> ids;
    auto add = [&](auto e) {
        e->setPropertiesFrom(w.db);
        ids.push_back(addToModelSpace(w.db, std::move(e)));
    };
    add(std::make_unique<Line>(ge::Point3d(0.1, 0.2, 0.3), ge::Point3d(1, 2, 3)));
    add(std::make_unique<Circle>(ge::Point3d(5, 5, 0), 2.5));
    add(std::make_unique<Arc>(ge::Point3d(0, 0, 0), 10.0, 0.1, 4.0));
    add(std::make_unique<PointEntity>(ge::Point3d(7, 8, 9)));
    auto lw = std::make_unique<LwPolyline>();
    lw->addVertexAt(0, {0, 0}, 0.5, 0.1, 0.2);
    lw->addVertexAt(1, {10, 0});
    lw->addVertexAt(2, {10, 10}, -1.0);
    lw->setClosed(true);
    lw->setConstantWidth(0.0);
    add(std::move(lw));
    auto text = std::make_unique<Text>(ge::Point3d(1, 1, 0), "Привет", 2.5, 0.3);
    text->setHorizontalMode(2);
    text->setAlignmentPoint({5, 1, 0});
    add(std::move(text));
    auto mtext = std::make_unique<MText>();
    mtext->setContents(std::string(600, 'x') + "Ж\\P");
    add(std::move(mtext));
    auto spline = std::make_unique<Spline>();
    ASSERT_EQ(spline->setNurbsData(2, 12, {0, 0, 0, 1, 1, 1}, {{0, 0, 0}, {1, 2, 0}, {3, 0, 0}}, {1, 0.5, 1}), Status::Ok);
    add(std::move(spline));
    auto ellipse = std::make_unique<Ellipse>();
    ASSERT_EQ(ellipse->set({1, 2, 0}, {0, 0, 1}, {3, 4, 0}, 0.5, 0.25, 5.0), Status::Ok);
    add(std::move(ellipse));
    add(std::make_unique<OpaqueEntity>("SOLID", RawGroups{{100, "AcDbTrace"}, {10, "0.0"}, {20, "1.0"}, {30, "0.0"}}));
    {
        ObjectPtr<Line> l(ids[0], OpenMode::Write);
        ASSERT_EQ(l->setXData({{1001, "Kstr"}, {1000, "x"}, {1010, ge::Point3d(1, 2, 3)}}), Status::Ok);
    }
    for (ObjectId id : ids) {
        const ResBufList before = entGet(idToName(id), {"*"});
        SCOPED_TRACE(before[1].str());
        EXPECT_EQ(entMod(before), RTNORM);
        EXPECT_EQ(entGet(idToName(id), {"*"}), before);
    }
}

// A data list holds what a file holds: the centre of a circle, the position and alignment point of a text and the
// insertion point of a reference in the plane of the entity's normal (here (0,0,-1): x and z turned over), while
// the entity answers world points. Lines keep world points.
TEST(EntityData, PointsInThePlaneOfTheNormalAsInAFile) {
    WorkingDrawing w;
    const ge::Vector3d down(0, 0, -1);
    ObjectId block;
    {
        ObjectPtr<SymbolTable> blocks(w.db.tableId(TableKind::Block), OpenMode::Write);
        blocks->add(std::make_unique<BlockTableRecord>("Clamp"), &block);
    }
    auto circle = std::make_unique<Circle>(ge::Point3d(10, 5, 1), 1.0);
    circle->setNormal(down);
    auto text = std::make_unique<Text>(ge::Point3d(30, 5, 1), "Plate", 2.5);
    text->setHorizontalMode(2);
    text->setAlignmentPoint({40, 5, 1});
    text->setNormal(down);
    auto ref = std::make_unique<BlockReference>(ge::Point3d(50, 5, 2), block);
    ref->setNormal(down);
    auto line = std::make_unique<Line>(ge::Point3d(1, 2, 3), ge::Point3d(4, 5, 6));
    line->setNormal(down);
    const ObjectId circleId = addToModelSpace(w.db, std::move(circle)), textId = addToModelSpace(w.db, std::move(text));
    struct Case {
        const char* kind;
        ObjectId id;
        int code;
        ge::Point3d inList;
    };
    const Case cases[] = {
        {"circle centre", circleId, 10, {-10, 5, -1}},
        {"text position", textId, 10, {-30, 5, -1}},
        {"text alignment point", textId, 11, {-40, 5, -1}},
        {"insertion point", addToModelSpace(w.db, std::move(ref)), 10, {-50, 5, -2}},
        {"line start", addToModelSpace(w.db, std::move(line)), 10, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        const ResBufList list = entGet(idToName(c.id));
        ASSERT_TRUE(find(list, c.code)) << c.kind;
        EXPECT_EQ(find(list, c.code)->point(), c.inList) << c.kind;
        EXPECT_EQ(find(list, 210)->point(), ge::Point3d(0, 0, -1)) << c.kind;
        EXPECT_EQ(entMod(list), RTNORM) << c.kind;  // and the list applies back unchanged
        EXPECT_EQ(entGet(idToName(c.id)), list) << c.kind;
    }

    // entMod reads a list's points in the plane of the list's normal wherever 210 stands in it, and of the
    // entity's own normal when the list has none.
    const EntityName name = idToName(circleId);
    ResBufList turnUp;
    for (const ResBuf& rb : entGet(name))
        if (rb.code != 10 && rb.code != 210) turnUp.push_back(rb);
    turnUp.emplace_back(210, ge::Point3d(0, 0, 1));
    turnUp.emplace_back(10, ge::Point3d(7, 8, 0));
    ASSERT_EQ(entMod(turnUp), RTNORM);
    {
        ObjectPtr<Circle> c(circleId, OpenMode::Read);
        EXPECT_EQ(c->center(), ge::Point3d(7, 8, 0));
        EXPECT_EQ(c->normal(), ge::Vector3d(0, 0, 1));
    }
    ResBufList moveDown = entGet(name);
    moveDown.emplace_back(210, ge::Point3d(0, 0, -1));  // after the centre, as files have it
    moveDown = withChanged(std::move(moveDown), 10, ge::Point3d(-2, 3, 0));
    ASSERT_EQ(entMod(moveDown), RTNORM);
    {
        ObjectPtr<Circle> c(circleId, OpenMode::Read);
        EXPECT_EQ(c->center(), ge::Point3d(2, 3, 0));
    }
    // A list that turns the plane over and gives no centre leaves the circle where it is in the world.
    ResBufList onlyNormal;
    for (const ResBuf& rb : entGet(name))
        if (rb.code != 10) onlyNormal.push_back(rb);
    onlyNormal = withChanged(std::move(onlyNormal), 210, ge::Point3d(0, 0, 1));
    ASSERT_EQ(entMod(onlyNormal), RTNORM);
    ObjectPtr<Circle> c(circleId, OpenMode::Read);
    EXPECT_EQ(c->center(), ge::Point3d(2, 3, 0));
    EXPECT_EQ(c->normal(), ge::Vector3d(0, 0, 1));
}

TEST(EntityData, EntModChangesWhatTheListSays) {
    WorkingDrawing w;
    ASSERT_EQ(registerApp(w.db, "Kstr"), Status::Ok);
    const ObjectId id = testing::addLine(w.db, {0, 0}, {1, 1});
    const EntityName name = idToName(id);
    ResBufList list = entGet(name);
    list = withChanged(list, 10, ge::Point3d(5, 5, 0));
    list = withChanged(list, 8, std::string("NEW_LAYER"));  // made, as a CAD host does
    list.emplace_back(-3);
    list.emplace_back(1001, "Kstr");
    list.emplace_back(1000, "job");
    ASSERT_EQ(entMod(list), RTNORM);
    ObjectPtr<Line> l(id, OpenMode::Read);
    EXPECT_EQ(l->start(), ge::Point3d(5, 5, 0));
    EXPECT_EQ(l->end(), ge::Point3d(1, 1, 0));
    EXPECT_EQ(l->layer(), "NEW_LAYER");
    EXPECT_EQ(l->xData("Kstr"), (ResBufList{{1001, "Kstr"}, {1000, "job"}}));
    l.close();

    // A polyline's vertices are replaced whole when the list has any.
    auto lw = std::make_unique<LwPolyline>();
    lw->addVertexAt(0, {0, 0});
    lw->addVertexAt(1, {1, 0});
    const ObjectId pid = addToModelSpace(w.db, std::move(lw));
    ResBufList pl;
    for (const ResBuf& rb : entGet(idToName(pid)))
        if (rb.code != 10) pl.push_back(rb);
    pl.emplace_back(10, ge::Point3d(7, 7, 0));
    pl.emplace_back(42, 1.0);
    pl.emplace_back(10, ge::Point3d(8, 8, 0));
    ASSERT_EQ(entMod(pl), RTNORM);
    ObjectPtr<LwPolyline> p(pid, OpenMode::Read);
    ASSERT_EQ(p->numVerts(), 2u);
    EXPECT_EQ(p->vertices()[0].point, ge::Point2d(7, 7));
    EXPECT_EQ(p->vertices()[0].bulge, 1.0);
}

// A refused list leaves the entity and the drawing as they were, whichever group is at fault.
TEST(EntityData, EntModIsAllOrNothing) {
    WorkingDrawing w;
    ASSERT_EQ(registerApp(w.db, "Kstr"), Status::Ok);
    const ObjectId circle = addToModelSpace(w.db, std::make_unique<Circle>(ge::Point3d(1, 1, 0), 2.0));
    const ObjectId locked = addToModelSpace(w.db, std::make_unique<Circle>(ge::Point3d(1, 1, 0), 2.0));
    addLayer(w.db, "Locked", false, false, true);
    {
        ObjectPtr<Circle> c(locked, OpenMode::Write);
        c->setLayer("Locked");
    }
    const EntityName name = idToName(circle);
    const ResBufList original = entGet(name);
    const std::size_t layers = dynamic_cast<const SymbolTable*>(w.db.peek(w.db.tableId(TableKind::Layer)))->recordIds().size();

    // Each case also moves the centre and names a new layer, which must not happen when the list is refused.
    auto changed = [&](ResBufList l) {
        l = withChanged(std::move(l), 10, ge::Point3d(9, 9, 0));
        return withChanged(std::move(l), 8, std::string("MADE_BY_A_REFUSED_LIST"));
    };
    struct Case {
        const char* name;
        ResBufList list;
    };
    ResBufList noName(original.begin() + 1, original.end());
    ResBufList unregistered = original;
    unregistered.emplace_back(-3);
    unregistered.emplace_back(1001, "NotRegistered");
    unregistered.emplace_back(1000, "x");
    const Case cases[] = {
        {"type changed", withChanged(original, 0, std::string("ARC"))},
        {"handle changed", withChanged(original, 5, std::string("FFFF"))},
        {"moved to paper space", withChanged(original, 67, std::int64_t(1))},
        {"radius refused", withChanged(original, 40, 0.0)},
        {"wrong value type", withChanged(original, 40, std::string("two"))},
        {"unknown line type", withChanged(original, 6, std::string("NO_SUCH_LINETYPE"))},
        {"unknown lineweight", withChanged(original, 370, std::int64_t(33))},
        {"unregistered application", unregistered},
        {"no name", noName},
        {"name of nothing", withChanged(original, -1, EntityName{})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(entMod(changed(c.list)), RTERROR) << c.name;
        EXPECT_EQ(entGet(name), original) << c.name;
    }
    EXPECT_EQ(dynamic_cast<const SymbolTable*>(w.db.peek(w.db.tableId(TableKind::Layer)))->recordIds().size(), layers);
    EXPECT_EQ(entMod(withChanged(entGet(idToName(locked)), 40, 5.0)), RTERROR);  // on a locked layer
}

TEST(EntityData, WalkAndDeleteByName) {
    WorkingDrawing w;
    EntityName none;
    EXPECT_EQ(entLast(none), RTERROR);
    EXPECT_EQ(entNext(EntityName{}, none), RTERROR);
    const ObjectId a = testing::addLine(w.db, {0, 0}, {1, 1});
    const ObjectId b = testing::addLine(w.db, {1, 1}, {2, 2});
    const ObjectId c = testing::addLine(w.db, {2, 2}, {3, 3});
    ObjectId p;
    {
        ObjectPtr<BlockTableRecord> ps(w.db.paperSpaceId(), OpenMode::Write);
        ps->appendEntity(std::make_unique<PointEntity>(ge::Point3d(1, 1, 0)), &p);
    }
    auto walk = [] {
        std::vector<EntityName> out;
        EntityName n;
        for (int r = entNext(EntityName{}, n); r == RTNORM; r = entNext(out.back(), n)) out.push_back(n);
        return out;
    };
    EXPECT_EQ(walk(), (std::vector<EntityName>{idToName(a), idToName(b), idToName(c), idToName(p)}));

    // Deleting the current entity after taking the next one, as the modules do while walking.
    EntityName next;
    ASSERT_EQ(entNext(idToName(a), next), RTNORM);
    ASSERT_EQ(entDel(idToName(a)), RTNORM);
    EXPECT_EQ(next, idToName(b));
    EXPECT_EQ(entDel(idToName(c)), RTNORM);
    EXPECT_EQ(walk(), (std::vector<EntityName>{idToName(b), idToName(p)}));
    EntityName last;
    ASSERT_EQ(entLast(last), RTNORM);
    EXPECT_EQ(last, idToName(p));
    EXPECT_TRUE(entGet(idToName(c)).empty());

    // A second entDel undeletes.
    ASSERT_EQ(entDel(idToName(c)), RTNORM);
    EXPECT_FALSE(entGet(idToName(c)).empty());
    EXPECT_EQ(walk(), (std::vector<EntityName>{idToName(b), idToName(c), idToName(p)}));

    // An entity on a locked layer is neither deleted nor undeleted; a name of nothing is refused.
    addLayer(w.db, "Locked", false, false, true);
    {
        ObjectPtr<Line> l(b, OpenMode::Write);
        l->setLayer("Locked");
    }
    EXPECT_EQ(entDel(idToName(b)), RTERROR);
    EXPECT_FALSE(entGet(idToName(b)).empty());
    EXPECT_EQ(entDel(EntityName{}), RTERROR);
    EXPECT_EQ(entNext(EntityName{{12345, 1}}, next), RTERROR);
}

}  // namespace
}  // namespace host::db
