// The command stack: which command a typed name finds ("_" global names, "." the host's own, local names first,
// newer registrations first), what add refuses, removing by name, group and module.
#include "host/ed/command_stack.h"

#include <gtest/gtest.h>

#include <string>

#include "host/app/module.h"

namespace host::ed {
namespace {

// Each command says who it is through its group and global name.
std::string who(const CommandInfo* c) {
    return c ? c->group + ":" + c->globalName : "none";
}

TEST(CommandStack, FindsWhatATypedNameMeans) {
    CommandStack stack;
    app::Module laser;
    laser.name = "laser";
    auto body = [] {};
    ASSERT_TRUE(stack.add({"HOST", "ERASE", "", 0, body}));
    ASSERT_TRUE(stack.add({"HOST", "ZOOM", "", CMD_TRANSPARENT, body}));
    ASSERT_TRUE(stack.add({"veskNesting", "vesk_LoadNestOptions", "LoadNestOptions", CMD_TRANSPARENT, body, &laser}));
    ASSERT_TRUE(stack.add({"LASER", "ERASE", "", 0, body, &laser}));          // a module's own ERASE
    ASSERT_TRUE(stack.add({"LASER", "NCINFO", "NCINFORMATION", 0, body, &laser}));
    ASSERT_TRUE(stack.add({"OTHER", "SWAPPED", "NCINFO", 0, body, &laser}));  // a local name equal to a global
    ASSERT_TRUE(stack.add({"VESKLaser", "_vesk_NCCreate", "NCCreate", 0, body, &laser}));  // "_" in the name itself

    const struct {
        const char* typed;
        std::string found;
    } cases[] = {
        {"erase", "LASER:ERASE"},            // the newer registration shadows the host's
        {".ERASE", "HOST:ERASE"},            // "." asks for the host's own
        {"_.erase", "HOST:ERASE"},
        {"._ERASE", "HOST:ERASE"},
        {"_ERASE", "LASER:ERASE"},
        {".NCINFO", "OTHER:SWAPPED"},        // no host command of that name: "." takes the module's
        {"NCINFO", "OTHER:SWAPPED"},         // local names come first
        {"_NCINFO", "LASER:NCINFO"},         // "_" looks at global names only
        {"ncinformation", "LASER:NCINFO"},
        {"_NCINFORMATION", "none"},
        {"LoadNestOptions", "veskNesting:vesk_LoadNestOptions"},
        {"vesk_loadnestoptions", "veskNesting:vesk_LoadNestOptions"},  // a global name typed without "_"
        {"_vesk_LoadNestOptions", "veskNesting:vesk_LoadNestOptions"},
        {"_vesk_NCCreate", "VESKLaser:_vesk_NCCreate"},   // typed as a menu macro writes it
        {"__vesk_NCCreate", "VESKLaser:_vesk_NCCreate"},
        {"_._vesk_NCCreate", "VESKLaser:_vesk_NCCreate"},  // no host command of that name
        {"NCCreate", "VESKLaser:_vesk_NCCreate"},
        {"ZOOM", "HOST:ZOOM"},
        {"__ZOOM", "none"},
        {"..ZOOM", "none"},
        {"_", "none"},
        {"", "none"},
        {"ZOOMX", "none"},
    };
    for (const auto& c : cases) EXPECT_EQ(who(stack.lookup(c.typed)), c.found) << '"' << c.typed << '"';
}

TEST(CommandStack, AddRefusesDuplicatesAndEmptyParts) {
    CommandStack stack;
    auto body = [] {};
    EXPECT_TRUE(stack.add({"G", "ONE", "", 0, body}));
    EXPECT_FALSE(stack.add({"g", "one", "", 0, body})) << "the group already has the name";
    EXPECT_TRUE(stack.add({"H", "ONE", "", 0, body})) << "another group may";
    EXPECT_FALSE(stack.add({"", "TWO", "", 0, body}));
    EXPECT_FALSE(stack.add({"G", "", "TWO", 0, body}));
    EXPECT_FALSE(stack.add({"G", "TWO", "", 0, nullptr}));
    EXPECT_EQ(stack.commands("G").size(), 1u);
    EXPECT_EQ(stack.commands("G").front()->localName, "ONE") << "an empty local name is the global one";
    EXPECT_EQ(stack.groups(), (std::vector<std::string>{"G", "H"}));
}

TEST(CommandStack, RemovesByNameGroupAndModule) {
    CommandStack stack;
    app::Module nesting;
    auto body = [] {};
    stack.add({"G", "ONE", "", 0, body});
    stack.add({"G", "TWO", "", 0, body});
    stack.add({"H", "THREE", "", 0, body});
    // Added while the module's entry point runs, so the module's.
    stack.setRegisteringModule(&nesting);
    stack.add({"N", "FOUR", "", 0, body});
    stack.add({"N2", "FIVE", "", 0, body});
    stack.setRegisteringModule(nullptr);
    EXPECT_EQ(stack.lookup("FOUR")->module, &nesting);
    EXPECT_EQ(stack.lookup("ONE")->module, nullptr);

    EXPECT_TRUE(stack.remove("g", "one"));
    EXPECT_FALSE(stack.remove("G", "ONE"));
    EXPECT_EQ(stack.lookup("ONE"), nullptr);
    stack.removeGroup("h");
    EXPECT_EQ(stack.lookup("THREE"), nullptr);
    stack.removeModule(&nesting);
    EXPECT_EQ(stack.groups(), (std::vector<std::string>{"G"}));
    EXPECT_NE(stack.lookup("TWO"), nullptr);
}

}  // namespace
}  // namespace host::ed
