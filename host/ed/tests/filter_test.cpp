// Selection filters and the wildcard patterns they use: pattern characters, case rules, relational and logical
// operators, groups left out at their defaults, extended data, and malformed filter lists.
#include "host/ed/filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ed/tests/input_test_drawing.h"
#include "host/ed/wildcard.h"

namespace host::ed {
namespace {

using db::ResBuf;
using db::ResBufList;
using ge::Point3d;
using testing::TestDrawing;

TEST(Wildcard, PatternCharacters) {
    struct Case {
        const char* text;
        const char* pattern;
        bool ignoreCase;
        bool expected;
    };
    const Case cases[] = {
        {"NC_Laser", "NC_Laser", false, true},
        {"NC_Laser", "nc_laser", false, false},
        {"NC_Laser", "nc_laser", true, true},
        {"NC_Laser", "NC*", false, true},
        {"NC", "NC*", false, true},  // a star takes nothing too
        {"CENTER2", "CENTER*", false, true},
        {"xCENTER", "CENTER*", false, false},
        {"DOROZ_12", "DOROZ_##", false, true},
        {"DOROZ_1A", "DOROZ_##", false, false},
        {"A1", "@#", false, true},
        {"Ж1", "@#", false, true},  // Cyrillic letters are letters
        {"_1", "@#", false, false},
        {"a-b", "a.b", false, true},
        {"a1b", "a.b", false, false},
        {"abc", "a?c", false, true},
        {"aжc", "a?c", false, true},  // one character, two bytes
        {"ac", "a?c", false, false},
        {"b", "[abc]", false, true},
        {"d", "[a-c]", false, false},
        {"D", "[a-e]", true, true},
        {"d", "[~abc]", false, true},
        {"a", "[~abc]", false, false},
        {"LINE", "LINE,ARC", false, true},
        {"ARC", "LINE,ARC", false, true},
        {"CIRCLE", "LINE,ARC", false, false},
        {"ARC", "~LINE", false, true},
        {"LINE", "~LINE", false, false},
        {"a*b", "a`*b", false, true},
        {"axb", "a`*b", false, false},
        {"a,b", "a`,b", false, true},
        {"[x", "[x", false, true},  // an unclosed set is a literal "["
        {"мост", "МОСТ", true, true},
        {"", "*", false, true},
        {"", "?", false, false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*c", false, false},  // no blow-up on many stars
    };
    for (const Case& c : cases)
        EXPECT_EQ(wildcardMatch(c.text, c.pattern, c.ignoreCase), c.expected)
            << "\"" << c.text << "\" against \"" << c.pattern << "\"";
    EXPECT_TRUE(hasWildcard("NC*"));
    EXPECT_FALSE(hasWildcard("NC_Laser"));
}

// A drawing with the kinds of entity the filters pick among.
class FilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ncLayer = d.layer("NC_Laser");
        d.layer("Clamp");
        auto marker = std::make_unique<db::Text>(Point3d(0, 0, 0), "Kstr_ST", 0.0, 0.0);
        marker->setLayer(ncLayer);
        marker->setVisible(false);
        text = d.add(std::move(marker));
        auto other = std::make_unique<db::Text>(Point3d(0, 0, 0), "Kstr_ST", 2.5, 0.5);
        other->setLayer(ncLayer);
        otherText = d.add(std::move(other));
        line = d.line({0, 0, 0}, {10, 0, 0});
        d.change<db::Line>(line, [&](db::Line& l) {
            l.setLayer("Clamp");
            l.setColorIndex(1);
        });
        circle = d.circle({5, 5, 0}, 2);
        const db::ObjectId clampBlock = d.block("Clamp");
        ref = d.insert(clampBlock, {20, 0, 0});
        pline = d.polyline({{0, 0}, {3, 4}, {6, 0}});
    }

    // The entities of the drawing the filter passes, in drawing order.
    std::vector<db::ObjectId> passing(const ResBufList& list) {
        std::string error;
        const auto filter = SelectionFilter::compile(list, &error);
        EXPECT_TRUE(filter) << error;
        std::vector<db::ObjectId> out;
        if (!filter) return out;
        for (db::ObjectId id = d.db().firstEntity(); !id.isNull(); id = d.db().nextEntity(id))
            if (filter->matches(id)) out.push_back(id);
        return out;
    }

    TestDrawing d;
    db::ObjectId ncLayer, text, otherText, line, circle, ref, pline;
};

using Ids = std::vector<db::ObjectId>;

TEST_F(FilterTest, TheJobMarkerFilterFindsTheMarkerOnly) {
    // Type, text, layer, insertion point, height 0 and rotation 0 (left out of the data list), invisible.
    const ResBufList marker = {
        {-4, "<and"}, {0, "TEXT"}, {1, "Kstr_ST"}, {8, "NC_Laser"}, {10, Point3d(0, 0, 0)},
        {40, 0.0},    {50, 0.0},   {60, 1},        {-4, "and>"},
    };
    EXPECT_EQ(passing(marker), Ids{text});
}

TEST_F(FilterTest, GroupsAndNamesTable) {
    struct Case {
        const char* what;
        ResBufList filter;
        Ids expected;
    };
    const std::vector<Case> cases = {
        {"empty filter: everything", {}, {text, otherText, line, circle, ref, pline}},
        {"type, any case", {{0, "text"}}, {text, otherText}},
        {"type list", {{0, "LINE,CIRCLE"}}, {line, circle}},
        {"layer wildcard, any case", {{8, "nc_*"}}, {text, otherText}},
        {"block name", {{0, "INSERT"}, {2, "clamp"}}, {ref}},
        {"texts keep their case", {{1, "kstr_st"}}, {}},
        {"colour index", {{62, 1}}, {line}},
        {"colour BYLAYER is 256", {{0, "LINE,CIRCLE"}, {62, 256}}, {circle}},
        {"visible entities", {{0, "TEXT"}, {60, 0}}, {otherText}},
        {"exact point", {{10, Point3d(5, 5, 0)}}, {circle}},
        {"a near point is not the point", {{10, Point3d(5, 5.000001, 0)}}, {}},
        {"exact real", {{40, 2.0}}, {circle}},
        {"a polyline vertex", {{0, "LWPOLYLINE"}, {10, Point3d(3, 4, 0)}}, {pline}},
        {"rotation a kind does not have", {{0, "LINE"}, {50, 0.0}}, {}},
        {"line type by layer", {{0, "CIRCLE"}, {6, "BYLAYER"}}, {circle}},
    };
    for (const Case& c : cases) EXPECT_EQ(passing(c.filter), c.expected) << c.what;
}

TEST_F(FilterTest, RelationalOperators) {
    struct Case {
        const char* what;
        ResBufList filter;
        Ids expected;
    };
    const std::vector<Case> cases = {
        {"greater", {{0, "TEXT,CIRCLE"}, {-4, ">"}, {40, 1.0}}, {otherText, circle}},
        {"at most", {{0, "TEXT,CIRCLE"}, {-4, "<="}, {40, 2.0}}, {text, circle}},
        {"not equal", {{0, "TEXT"}, {-4, "!="}, {50, 0.0}}, {otherText}},
        {"also /= and <>", {{0, "TEXT"}, {-4, "/="}, {50, 0.0}, {-4, "<>"}, {40, 0.0}}, {otherText}},
        {"anything", {{-4, "*"}, {40, 123.0}, {0, "CIRCLE"}}, {circle}},
        {"operator case and spaces", {{0, "CIRCLE"}, {-4, " >= "}, {40, 2.0}}, {circle}},
        {"point per coordinate", {{-4, ">,>,*"}, {10, Point3d(4, 4, 99)}}, {circle}},
        {"text not equal", {{0, "TEXT"}, {-4, "!="}, {1, "Kstr*"}}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(passing(c.filter), c.expected) << c.what;
}

TEST_F(FilterTest, LogicalOperators) {
    // Everything not on a clamp layer and not a Clamp block, as the placement commands ask.
    const ResBufList notClamps = {{-4, "<not"}, {-4, "<or"}, {8, "Clamp"}, {2, "Clamp"},
                                  {8, "NC_Laser"}, {-4, "or>"}, {-4, "not>"}};
    EXPECT_EQ(passing(notClamps), (Ids{circle, pline}));
    const ResBufList xorList = {{-4, "<XOR"}, {0, "TEXT"}, {60, 1}, {-4, "XOR>"}};
    EXPECT_EQ(passing(xorList), (Ids{otherText}));
    const ResBufList nested = {{-4, "<OR"}, {-4, "<AND"}, {0, "TEXT"}, {40, 2.5}, {-4, "AND>"},
                               {0, "LWPOLYLINE"}, {-4, "OR>"}};
    EXPECT_EQ(passing(nested), (Ids{otherText, pline}));
}

TEST_F(FilterTest, ExtendedDataByApplication) {
    {
        db::ObjectPtr<db::SymbolTable> apps(d.db().tableId(db::TableKind::RegApp), db::OpenMode::Write);
        ASSERT_EQ(apps->add(std::make_unique<db::RegAppTableRecord>("Kstr")), db::Status::Ok);
    }
    d.change(circle, [](db::Entity& e) { e.setXData({{1001, "Kstr"}, {1000, "x"}}); });
    EXPECT_EQ(passing({{-3}, {1001, "KSTR"}}), Ids{circle});
    EXPECT_EQ(passing({{-3}, {1001, "Other"}}), Ids{});
}

TEST_F(FilterTest, AWholeDrawingPassAnswersAsEachEntitysOwnTest) {
    // A pass answers filters of kind and layer once for each kind and layer, by the layer's id; an entity kept as
    // its groups may carry a layer group among its own data and is always tested itself.
    const db::ObjectId special = d.add(std::make_unique<db::OpaqueEntity>(
        "ACME_MARK", db::RawGroups{{100, "AcmeMark"}, {8, "Clamp"}, {1, "note"}}));
    d.change<db::Line>(d.line({1, 1, 0}, {2, 2, 0}), [](db::Line& l) { l.setLayer("Clamp"); });
    const std::vector<ResBufList> filters = {
        {{0, "LINE"}},
        {{-4, "<and"}, {8, "Clamp"}, {0, "LINE"}, {-4, "and>"}},
        {{-4, "<or"}, {0, "INSERT"}, {0, "lwpolyline"}, {-4, "or>"}},
        {{8, "nc_*"}},
        {{8, "CLAMP"}},
        {{8, "0"}, {0, "CIRCLE,LINE"}},
        {{-4, "<not"}, {8, "Clamp"}, {-4, "not>"}},
        {{-4, "<xor"}, {8, "Clamp"}, {0, "LINE"}, {-4, "xor>"}},
        {{-4, "!="}, {0, "TEXT"}},
        {{8, 5}},
        {{0, "LINE"}, {62, 1}},   // the colour too: each entity is tested
    };
    for (const ResBufList& list : filters) {
        const auto filter = SelectionFilter::compile(list);
        ASSERT_TRUE(filter);
        FilterPass pass(&*filter);
        Ids byEntity, byPass;
        for (db::ObjectId id = d.db().firstEntity(); !id.isNull(); id = d.db().nextEntity(id)) {
            const auto* e = dynamic_cast<const db::Entity*>(d.db().peek(id));
            if (e == nullptr) continue;
            if (filter->matches(*e)) byEntity.push_back(id);
            if (pass.passes(*e)) byPass.push_back(id);
        }
        EXPECT_EQ(byPass, byEntity) << list.front().code;
    }
    const auto onClamp = SelectionFilter::compile({{8, "Clamp"}});
    ASSERT_TRUE(onClamp);
    EXPECT_TRUE(onClamp->testsKindAndLayerOnly());
    FilterPass pass(&*onClamp);
    const auto* opaque = dynamic_cast<const db::Entity*>(d.db().peek(special));
    ASSERT_NE(opaque, nullptr);
    EXPECT_TRUE(pass.passes(*opaque)) << "its own layer group counts";
    EXPECT_FALSE(SelectionFilter::compile({{8, "Clamp"}, {62, 1}})->testsKindAndLayerOnly());
    FilterPass none(nullptr);
    EXPECT_TRUE(none.passes(*opaque));
}

TEST(Filter, MalformedListsAreRefusedWithAReason) {
    struct Case {
        ResBufList filter;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {{{-4, "<and"}, {0, "LINE"}}, "\"<AND\" is not closed"},
        {{{0, "LINE"}, {-4, "or>"}}, "closes nothing that is open"},
        {{{-4, "<or"}, {0, "LINE"}, {-4, "and>"}}, "closes nothing that is open"},
        {{{-4, "<xor"}, {0, "LINE"}, {-4, "xor>"}}, "exactly two"},
        {{{-4, "<not"}, {0, "LINE"}, {8, "0"}, {-4, "not>"}}, "exactly one"},
        {{{-4, "<nand"}, {-4, "nand>"}}, "unknown operator"},
        {{{-4, "=="}, {40, 1.0}}, "unknown operator"},
        {{{0, "LINE"}, {-4, ">"}}, "no test after it"},
        {{{-4, "<"}, {8, "A"}}, "compared with"},
        {{{-4, ">,>"}, {10, Point3d()}}, "one operator or three"},
        {{{-4, ">,>,>"}, {40, 1.0}}, "three operators need a point"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(SelectionFilter::compile(c.filter, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << "wanted \"" << c.reason << "\" in: " << error;
        EXPECT_NE(error.find("filter item"), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace host::ed
