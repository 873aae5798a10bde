// Keys typed while a command runs: key lines of the run's input become key presses that a keyboard hook takes
// before any window; other lines stay for the prompts.
#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

#include "host/ui/constants.h"
#include "host/ui/tests/dialog_test_support.h"
#include "host/ui/typed_keys.h"

namespace host::ui {
namespace {

using testing::ScriptSession;

TEST(TypedKeys, KeyLinesOfTheScriptBecomeKeysOneAtATimeAndTheHookTakesThem) {
    Desktop desktop;
    std::vector<std::pair<unsigned, bool>> seen;
    const int hook = desktop.addKeyHook([&](unsigned vk, bool down) {
        seen.emplace_back(vk, down);
        return true;
    });
    ScriptSession script({"+", " - ", "^C", "<Esc>", "LINE", "+"});
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(queueTypedKey(desktop)) << i;
        desktop.pumpUntilIdle();
    }
    // A line that is no key stays for the prompt that reads it; the key after it waits behind it.
    EXPECT_FALSE(queueTypedKey(desktop));
    EXPECT_EQ(ed::input().readLine({}), "LINE");
    desktop.removeKeyHook(hook);
    const std::vector<std::pair<unsigned, bool>> expected = {
        {VK_ADD, true},    {VK_ADD, false},    {VK_SUBTRACT, true}, {VK_SUBTRACT, false},
        {VK_ESCAPE, true}, {VK_ESCAPE, false}, {VK_ESCAPE, true},   {VK_ESCAPE, false}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(virtualKeyOfLine("x"), 0u);
}

TEST(TypedKeys, AtTheTerminalALineTypedAheadThatIsNoKeyIsKeptForTheNextPrompt) {
    std::istringstream typed("-\nNCPLAY\n");
    ed::TerminalInput terminal(typed, false);
    EXPECT_EQ(terminal.takeTypedKey(), "-");
    EXPECT_EQ(terminal.takeTypedKey(), std::nullopt);
    EXPECT_EQ(terminal.readLine({}), "NCPLAY");
    EXPECT_EQ(terminal.takeTypedKey(), std::nullopt);  // nothing typed: it does not wait
}

}  // namespace
}  // namespace host::ui
