// The command group: every command with its local and global name, its frame, and its registration on the host's
// command stack and removal from it.
#include "laser/frame/command_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "host/ed/command_stack.h"

namespace {

const LaserCommand* find(const std::string& localName) {
    for (const LaserCommand& c : LaserCommandTable()) {
        if (localName == c.localName) return &c;
    }
    return nullptr;
}

TEST(LaserCommands, NamesFollowTheGroupRuleExceptTheSevenOlderGlobals) {
    const std::map<std::string, std::string> olderGlobals = {
        {"NCCreateContour", "_vesk_CreateContour"},     {"NCCheckIntersect", "_vesk_CheckIntersect"},
        {"NCCheckUnclose", "_vesk_CheckUnclose"},       {"InsertItemLib", "_vesk_InsertItemLib_ACAD2016"},
        {"vesk_ExportContours", "_vesk_ExportContours"}, {"vesk_ReExportContours", "_vesk_ReExportContours"},
        {"CCSS", "_vesk_CreateStock"},
    };
    std::set<std::string> locals, globals;
    for (const LaserCommand& c : LaserCommandTable()) {
        locals.insert(c.localName);
        globals.insert(c.globalName);
        const auto older = olderGlobals.find(c.localName);
        EXPECT_EQ(c.globalName, older != olderGlobals.end() ? older->second : "_vesk_" + std::string(c.localName));
    }
    EXPECT_EQ(LaserCommandTable().size(), 64u);
    EXPECT_EQ(locals.size(), 64u) << "a local name twice";
    EXPECT_EQ(globals.size(), 64u) << "a global name twice";
    // The order of registration: first, a few in between, last.
    EXPECT_STREQ(LaserCommandTable().front().localName, "IniKestrion");
    EXPECT_STREQ(LaserCommandTable()[14].localName, "NCCreateContour");
    EXPECT_STREQ(LaserCommandTable()[39].localName, "InsertItemLib");
    EXPECT_STREQ(LaserCommandTable().back().localName, "TTPost");
}

TEST(LaserCommands, EachCommandRunsInItsFrame) {
    struct Case {
        const char* command;
        bool framed;
        FramePrepare prepare;
        bool guard;
        FrameStatusLine statusLine;
    };
    using P = FramePrepare;
    using S = FrameStatusLine;
    const Case cases[] = {
        {"NCDelLast", true, P::DrawingJob, true, S::BeforeWork},
        {"CreateBridge", true, P::DrawingJob, true, S::BeforeWork},
        {"NCPlay1", true, P::DrawingJob, true, S::BeforeWork},
        {"NCRapidHome", true, P::DrawingJob, true, S::None},
        {"NCCheckIntersect", true, P::DrawingJob, false, S::None},
        {"NCInfo", true, P::GeometryCommand, true, S::BeforeWork},
        {"NCRegen", true, P::GeometryCommand, true, S::AfterWork},
        {"setJumperLine", true, P::DrawingJob, false, S::None},
        {"InsertText2", true, P::DrawingJob, false, S::None},
        {"SetStartNesting", true, P::None, false, S::None},
        {"KestrionLangRU", true, P::None, false, S::None},
        {"vesk_ReExportContours", true, P::None, false, S::None},
        {"IniKestrion", false, P::None, false, S::None},
        {"DeleteAllCenterLine", false, P::None, false, S::None},
        {"ExportCncInDxf", false, P::None, false, S::None},
        {"TTF", false, P::None, false, S::None},
    };
    for (const Case& c : cases) {
        const LaserCommand* command = find(c.command);
        ASSERT_NE(command, nullptr) << c.command;
        EXPECT_EQ(command->frame.framed, c.framed) << c.command;
        EXPECT_EQ(command->frame.prepare, c.prepare) << c.command;
        EXPECT_EQ(command->frame.contourGuard, c.guard) << c.command;
        EXPECT_EQ(command->frame.statusLine, c.statusLine) << c.command;
        EXPECT_FALSE(command->frame.layerZeroFirst) << c.command;
    }
    EXPECT_TRUE(find("NCSliceAuto")->frame.rereadSettings);
    EXPECT_FALSE(find("NCSlice")->frame.rereadSettings);
    EXPECT_TRUE(find("NCCreateContour")->frame.layerZeroFirst);
}

TEST(LaserCommands, AreRegisteredTransparentAndRemovedAgain) {
    host::ed::CommandStack& stack = host::ed::commandStack();
    RegisterLaserCommands();
    const auto registered = stack.commands(kLaserCommandGroup);
    ASSERT_EQ(registered.size(), 64u);
    for (std::size_t i = 0; i < registered.size(); ++i) {
        EXPECT_EQ(registered[i]->localName, LaserCommandTable()[i].localName);
        EXPECT_EQ(registered[i]->globalName, LaserCommandTable()[i].globalName);
        EXPECT_EQ(registered[i]->flags, host::ed::CMD_TRANSPARENT);
    }
    // Typed by either name ("_" asks for the global name, which itself begins with "_").
    EXPECT_NE(stack.lookup("NCCreateContour"), nullptr);
    EXPECT_NE(stack.lookup("__vesk_CreateStock"), nullptr);
    EXPECT_EQ(stack.lookup("ccss"), stack.lookup("__vesk_CreateStock"));

    RemoveLaserCommands();
    EXPECT_TRUE(stack.commands(kLaserCommandGroup).empty());
    EXPECT_EQ(stack.lookup("NCCreateContour"), nullptr);
}

}  // namespace
