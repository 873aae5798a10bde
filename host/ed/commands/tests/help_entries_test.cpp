// The entries of a help file by command name: the heading's names, the text up to the next heading.
#include "host/ed/commands/help_entries.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace host::ed {
namespace {

constexpr std::string_view kHelp =
    "# Help\r\n"
    "\r\n"
    "## Commands\r\n"
    "\r\n"
    "### NCOrder\r\n"
    "Moves cut contours.\r\n"
    "Asks twice.\r\n"
    "\r\n"
    "### NCDelLast, NCDelAll,NCDelPick\r\n"
    "Remove path groups.\r\n"
    "## Settings\r\n"
    "Not part of an entry.\r\n"
    "### -BLOCK\r\n"
    "Blocks.";

TEST(HelpEntries, AnEntryIsFoundByAnyOfItsNamesAndEndsAtTheNextHeading) {
    struct Case {
        const char* name;
        std::optional<std::string> entry;
    };
    const std::vector<Case> cases = {
        {"NCOrder", "### NCOrder\nMoves cut contours.\nAsks twice."},
        {"ncorder", "### NCOrder\nMoves cut contours.\nAsks twice."},
        {"_NCORDER", "### NCOrder\nMoves cut contours.\nAsks twice."},
        {"NCDelAll", "### NCDelLast, NCDelAll,NCDelPick\nRemove path groups."},
        {"NCDelPick", "### NCDelLast, NCDelAll,NCDelPick\nRemove path groups."},
        {"-block", "### -BLOCK\nBlocks."},
        {"BLOCK", std::nullopt},
        {"NCDel", std::nullopt},
        {"Commands", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(helpEntry(kHelp, c.name), c.entry);
    }
    EXPECT_EQ(helpEntryNames(kHelp),
              (std::vector<std::string>{"NCOrder", "NCDelLast", "NCDelAll", "NCDelPick", "-BLOCK"}));
}

}  // namespace
}  // namespace host::ed
