// System variables: types and defaults, names without regard to case, what setVar takes and refuses with the
// host's messages, the variables of the working drawing, and the computed read-only ones.
#include "host/ed/sysvars.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/display.h"
#include "host/ed/documents.h"
#include "host/ed/tests/input_test_drawing.h"
#include "host/ed/transcript.h"

namespace host::ed {
namespace {

using db::ResBuf;
using ge::Point3d;
using testing::TestDrawing;

class SysVars : public ::testing::Test {
protected:
    void SetUp() override {
        resetSystemVariables();
        transcript().clear();
    }
    void TearDown() override { resetSystemVariables(); }

    static ResBuf get(const char* name) {
        ResBuf v;
        EXPECT_EQ(getVar(name, v), db::RTNORM) << name;
        return v;
    }
};

TEST_F(SysVars, DefaultsAnswerWithTheirTypes) {
    TestDrawing d;
    struct Case {
        const char* name;
        ResBuf expected;
    };
    const Case cases[] = {
        {"OSMODE", ResBuf(db::RTSHORT, 4133)},
        {"osmode", ResBuf(db::RTSHORT, 4133)},
        {"SelectionCycling", ResBuf(db::RTSHORT, 2)},
        {"thumbsize", ResBuf(db::RTSHORT, 2)},
        {"PICKBOX", ResBuf(db::RTSHORT, 3)},
        {"APERTURE", ResBuf(db::RTSHORT, 10)},
        {"ERRNO", ResBuf(db::RTSHORT, 0)},
        {"TEXTSIZE", ResBuf(db::RTREAL, 2.5)},
        {"modemacro", ResBuf(db::RTSTR, "")},
        {"LASTPOINT", ResBuf(db::RT3DPOINT, Point3d(0, 0, 0))},
        {"LIMMAX", ResBuf(db::RTPOINT, Point3d(420, 297, 0))},
        {"CLAYER", ResBuf(db::RTSTR, "0")},
        {"CECOLOR", ResBuf(db::RTSTR, "BYLAYER")},
        {"CELTYPE", ResBuf(db::RTSTR, "ByLayer")},
        {"CELTSCALE", ResBuf(db::RTREAL, 1.0)},
        {"TEXTSTYLE", ResBuf(db::RTSTR, "Standard")},
        {"INSUNITS", ResBuf(db::RTSHORT, 4)},
        {"INSBASE", ResBuf(db::RT3DPOINT, Point3d(0, 0, 0))},
        {"PDMODE", ResBuf(db::RTSHORT, 0)},
        {"PDSIZE", ResBuf(db::RTREAL, 0.0)},
        {"CMDNAMES", ResBuf(db::RTSTR, "")},
        {"ANGBASE", ResBuf(db::RTREAL, 0.0)},
        {"ANGDIR", ResBuf(db::RTSHORT, 0)},
        {"DWGTITLED", ResBuf(db::RTSHORT, 0)},
    };
    for (const Case& c : cases) EXPECT_EQ(get(c.name), c.expected) << c.name;
    EXPECT_EQ(get("MILLISECS").code, db::RTLONG);
    // The notes list every one of these; each must be there.
    for (const char* name : {"SAVETIME", "FILEDIA", "CMDECHO", "PICKSTYLE", "DRAWORDERCTL", "PLINETYPE", "DYNMODE",
                             "DYNPROMPT", "GRIDMODE", "PELLIPSE", "PEDITACCEPT", "PLINECONVERTMODE", "SPLINESEGS",
                             "CONSTRAINTBARMODE", "LTSCALE", "EXTMIN", "EXTMAX", "VIEWSIZE", "DWGNAME",
                             "DWGPREFIX"})
        EXPECT_NE(get(name).code, db::RTNONE) << name;
}

TEST_F(SysVars, UnknownNamesAnswerErrorQuietlyWhenReadAndWithAMessageWhenSet) {
    ResBuf v;
    EXPECT_EQ(getVar("NOSUCHVAR", v), db::RTERROR);
    EXPECT_EQ(transcript().text(), "");
    EXPECT_EQ(setVar("NOSUCHVAR", ResBuf(db::RTSHORT, 1)), db::RTERROR);
    EXPECT_EQ(transcript().text(), "\nUnknown variable \"NOSUCHVAR\".");
}

TEST_F(SysVars, SetTakesAndRefusesTable) {
    TestDrawing d;
    struct Case {
        const char* name;
        ResBuf value;
        int status;
        ResBuf readBack;        // when taken
        const char* message;    // when refused
    };
    const Case cases[] = {
        {"SELECTIONCYCLING", ResBuf(db::RTSHORT, -2), db::RTNORM, ResBuf(db::RTSHORT, -2), ""},
        {"SELECTIONCYCLING", ResBuf(db::RTSHORT, -3), db::RTERROR, {},
         "Value out of range for \"SELECTIONCYCLING\": -3 (from -2 to 2)."},
        {"OSMODE", ResBuf(db::RTLONG, 549), db::RTNORM, ResBuf(db::RTSHORT, 549), ""},
        {"OSMODE", ResBuf(db::RTREAL, 1.0), db::RTERROR, {}, "Variable \"OSMODE\" takes an integer."},
        {"OSMODE", ResBuf(db::RTLONG, 40000), db::RTERROR, {}, "Value out of range for \"OSMODE\""},
        {"PDSIZE", ResBuf(db::RTSHORT, 7), db::RTNORM, ResBuf(db::RTREAL, 7.0), ""},  // set with an integer
        {"TEXTSIZE", ResBuf(db::RTREAL, 0.0), db::RTERROR, {}, "(greater than 0)"},
        {"CELTSCALE", ResBuf(db::RTREAL, -1.0), db::RTERROR, {}, "(greater than 0)"},
        {"modemacro", ResBuf(db::RTSTR, "Contours 12"), db::RTNORM, ResBuf(db::RTSTR, "Contours 12"), ""},
        {"MODEMACRO", ResBuf(db::RTSTR, std::string(4097, 'x')), db::RTERROR, {}, "at most 4096 characters"},
        {"MODEMACRO", ResBuf(db::RTSHORT, 1), db::RTERROR, {}, "takes a text"},
        {"LASTPOINT", ResBuf(db::RTPOINT, Point3d(1, 2, 9)), db::RTNORM, ResBuf(db::RT3DPOINT, Point3d(1, 2, 0)),
         ""},
        {"LIMMIN", ResBuf(db::RT3DPOINT, Point3d(1, 2, 3)), db::RTNORM, ResBuf(db::RTPOINT, Point3d(1, 2, 0)), ""},
        {"INSBASE", ResBuf(db::RT3DPOINT, Point3d(5, 6, 7)), db::RTNORM, ResBuf(db::RT3DPOINT, Point3d(5, 6, 7)),
         ""},
        {"INSBASE", ResBuf(db::RTSTR, "5,6"), db::RTERROR, {}, "takes a point"},
        {"DWGNAME", ResBuf(db::RTSTR, "x.dxf"), db::RTERROR, {}, "Variable \"DWGNAME\" is read-only."},
        {"CMDNAMES", ResBuf(db::RTSTR, "LINE"), db::RTERROR, {}, "is read-only"},
        {"EXTMIN", ResBuf(db::RT3DPOINT, Point3d()), db::RTERROR, {}, "is read-only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        transcript().clear();
        EXPECT_EQ(setVar(c.name, c.value), c.status);
        if (c.status == db::RTNORM) {
            EXPECT_EQ(get(c.name), c.readBack);
            EXPECT_EQ(transcript().text(), "");
        } else {
            EXPECT_NE(transcript().text().find(c.message), std::string::npos) << transcript().text();
        }
    }
}

TEST_F(SysVars, CurrentLayerMustExistAndBeThawed) {
    TestDrawing d;
    d.layer("NC_Laser");
    d.layer("Frozen", false, true);
    EXPECT_EQ(setVar("CLayer", ResBuf(db::RTSTR, "nc_laser")), db::RTNORM);
    EXPECT_EQ(get("CLAYER"), ResBuf(db::RTSTR, "NC_Laser"));  // the layer's own spelling
    EXPECT_EQ(setVar("CLAYER", ResBuf(db::RTSTR, "NoSuchLayer")), db::RTERROR);
    EXPECT_EQ(transcript().text(), "\nLayer \"NoSuchLayer\" does not exist.");
    EXPECT_EQ(setVar("CLAYER", ResBuf(db::RTSTR, "Frozen")), db::RTERROR);
    EXPECT_NE(transcript().text().find("is frozen"), std::string::npos);
    EXPECT_EQ(get("CLAYER"), ResBuf(db::RTSTR, "NC_Laser"));  // the current layer stays
    // New entities take it.
    const db::ObjectId line = d.line({0, 0, 0}, {1, 0, 0});
    db::ObjectPtr<db::Entity> e(line, db::OpenMode::Read);
    EXPECT_EQ(e->layer(), "NC_Laser");
}

TEST_F(SysVars, CurrentColourIsAciText) {
    TestDrawing d;
    struct Case {
        const char* set;
        const char* read;  // nullptr: refused
    };
    const Case cases[] = {
        {"3", "3"},         {"256", "BYLAYER"},    {"0", "BYBLOCK"},       {"bylayer", "BYLAYER"},
        {"ByBlock", "BYBLOCK"}, {"red", "1"},      {"WHITE", "7"},         {" 200 ", "200"},
        {"RGB:255,128,0", "RGB:255,128,0"},        {"257", nullptr},       {"-1", nullptr},
        {"blue-ish", nullptr},  {"RGB:1,2", nullptr}, {"RGB:1,2,300", nullptr}, {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        ASSERT_EQ(setVar("CECOLOR", ResBuf(db::RTSTR, "5")), db::RTNORM);
        transcript().clear();
        if (c.read) {
            EXPECT_EQ(setVar("cecolor", ResBuf(db::RTSTR, c.set)), db::RTNORM);
            EXPECT_EQ(get("CECOLOR").str(), c.read);
        } else {
            EXPECT_EQ(setVar("cecolor", ResBuf(db::RTSTR, c.set)), db::RTERROR);
            EXPECT_EQ(get("CECOLOR").str(), "5");
            EXPECT_NE(transcript().text().find("Invalid colour"), std::string::npos);
        }
    }
    ASSERT_EQ(setVar("CECOLOR", ResBuf(db::RTSTR, "3")), db::RTNORM);
    const db::ObjectId line = d.line({0, 0, 0}, {1, 0, 0});
    db::ObjectPtr<db::Entity> e(line, db::OpenMode::Read);
    EXPECT_EQ(e->colorIndex(), 3);
}

TEST_F(SysVars, CurrentLinetypeMustBeLoaded) {
    TestDrawing d;
    EXPECT_EQ(setVar("celtype", ResBuf(db::RTSTR, "CONTINUOUS")), db::RTNORM);
    EXPECT_EQ(get("CELTYPE").str(), "Continuous");
    EXPECT_EQ(setVar("CELTYPE", ResBuf(db::RTSTR, "HIDDEN")), db::RTERROR);
    EXPECT_EQ(transcript().text(), "\nLine type \"HIDDEN\" is not loaded.");
    d.linetype("HIDDEN");
    EXPECT_EQ(setVar("CELTYPE", ResBuf(db::RTSTR, "hidden")), db::RTNORM);
    EXPECT_EQ(get("CELTYPE").str(), "HIDDEN");
    EXPECT_EQ(setVar("TEXTSTYLE", ResBuf(db::RTSTR, "NoStyle")), db::RTERROR);
}

TEST_F(SysVars, DrawingVariablesFollowTheWorkingDrawing) {
    TestDrawing a;
    ASSERT_EQ(setVar("PDMODE", ResBuf(db::RTSHORT, 35)), db::RTNORM);
    {
        TestDrawing b;
        EXPECT_EQ(get("PDMODE"), ResBuf(db::RTSHORT, 0));
        b.line({-1, -2, 0}, {3, 4, 5});
        EXPECT_EQ(get("EXTMIN"), ResBuf(db::RT3DPOINT, Point3d(-1, -2, 0)));
        EXPECT_EQ(get("EXTMAX"), ResBuf(db::RT3DPOINT, Point3d(3, 4, 5)));
        ASSERT_TRUE(zoomCenter(b.db(), {7, 8}, 25));
        EXPECT_EQ(get("VIEWSIZE"), ResBuf(db::RTREAL, 25.0));
        EXPECT_EQ(get("VIEWCTR"), ResBuf(db::RT3DPOINT, Point3d(7, 8, 0)));
    }
    EXPECT_EQ(get("PDMODE"), ResBuf(db::RTSHORT, 35));
    EXPECT_TRUE(a.db().isModified());

    // With no drawing they have nothing to answer.
    db::setWorkingDatabase(nullptr);
    ResBuf v;
    EXPECT_EQ(getVar("CLAYER", v), db::RTERROR);
    EXPECT_EQ(setVar("PDMODE", ResBuf(db::RTSHORT, 1)), db::RTERROR);
    EXPECT_EQ(getVar("OSMODE", v), db::RTNORM);
    db::setWorkingDatabase(&a.db());
}

TEST_F(SysVars, DrawingNameAndFolder) {
    // A drawing never saved: its title, in a folder where no such file is.
    Document* doc = documents().newDocument();
    ASSERT_NE(doc, nullptr);
    const std::string name = get("DWGNAME").str();
    const std::string prefix = get("DWGPREFIX").str();
    EXPECT_EQ(name, doc->title());
    EXPECT_EQ(prefix.back(), '/');
    EXPECT_FALSE(std::filesystem::exists(prefix + name));
    EXPECT_EQ(get("DWGTITLED"), ResBuf(db::RTSHORT, 0));
    documents().close(*doc);

    // A drawing with a file: the file's name and its folder.
    TestDrawing d;
    d.db().setFileName("/some/folder/plate.dxf");
    EXPECT_EQ(get("DWGNAME").str(), "plate.dxf");
    EXPECT_EQ(get("DWGPREFIX").str(), "/some/folder/");
    EXPECT_EQ(get("DWGTITLED"), ResBuf(db::RTSHORT, 1));
}

TEST_F(SysVars, CommandNamesWhileACommandRuns) {
    TestDrawing d;
    std::string seen;
    CommandInfo info;
    info.group = "SYSVARS_TEST";
    info.globalName = "SHOWNAMES";
    info.localName = "SHOWNAMES";
    info.body = [&] { seen = getText("CMDNAMES"); };
    ASSERT_TRUE(commandStack().add(info));
    EXPECT_EQ(command({ResBuf(db::RTSTR, "_SHOWNAMES")}), db::RTNORM);
    commandStack().removeGroup("SYSVARS_TEST");
    EXPECT_EQ(seen, "SHOWNAMES");
    EXPECT_EQ(getText("CMDNAMES"), "");
}

TEST_F(SysVars, ConveniencesAndErrno) {
    TestDrawing d;
    EXPECT_EQ(getShort("NOSUCH", -7), -7);
    EXPECT_EQ(getShort("TEXTSIZE", -7), -7);  // a real is not a short
    EXPECT_EQ(getRealVar("PICKBOX"), 3.0);       // an integer is a real
    EXPECT_EQ(getText("CLAYER"), "0");
    setErrno(7);
    EXPECT_EQ(getShort("ERRNO"), 7);
    ASSERT_EQ(setVar("ERRNO", ResBuf(db::RTSHORT, 0)), db::RTNORM);
    EXPECT_EQ(getShort("ERRNO"), 0);
    ASSERT_EQ(setVar("SAVETIME", ResBuf(db::RTSHORT, 0)), db::RTNORM);
    resetSystemVariables();
    EXPECT_EQ(getShort("SAVETIME"), 10);
}

// Setting a drawing's variable to the value it holds changes nothing: a module that sets its variables when a
// drawing opens must leave an untouched drawing unmodified (QUIT would otherwise offer to save it). Another value
// marks it changed.
TEST_F(SysVars, ADrawingVariableSetToItsOwnValueLeavesTheDrawingUnchanged) {
    TestDrawing d;
    struct Case {
        const char* name;
        ResBuf same;
        ResBuf other;
    };
    const Case cases[] = {
        {"PROJECTNAME", ResBuf(db::RTSTR, ""), ResBuf(db::RTSTR, "JOB 7")},
        {"CLAYER", ResBuf(db::RTSTR, "0"), ResBuf(db::RTSTR, "0")},
        {"CELTSCALE", ResBuf(db::RTREAL, 1.0), ResBuf(db::RTREAL, 2.0)},
        {"INSBASE", ResBuf(db::RT3DPOINT, Point3d(0, 0, 0)), ResBuf(db::RT3DPOINT, Point3d(5, 0, 0))},
        {"PDMODE", ResBuf(db::RTSHORT, 0), ResBuf(db::RTSHORT, 35)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        d.db().clearModified();
        ASSERT_EQ(setVar(c.name, c.same), db::RTNORM);
        EXPECT_FALSE(d.db().isModified());
        if (c.other == c.same) continue;
        ASSERT_EQ(setVar(c.name, c.other), db::RTNORM);
        EXPECT_TRUE(d.db().isModified());
        EXPECT_EQ(get(c.name), c.other);
    }
}

}  // namespace
}  // namespace host::ed
