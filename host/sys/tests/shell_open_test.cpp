// Open-for-user requests: recorded always, and run through the set program without a shell.
#include "host/sys/shell_open.h"

#include <gtest/gtest.h>

#include "host/sys/tests/scratch_folder.h"

namespace host::sys {
namespace {

class ShellOpen : public ::testing::Test {
protected:
    void SetUp() override { clearOpenedForUser(), setOpenCommand(""); }
    void TearDown() override { clearOpenedForUser(), setOpenCommand(""); }
};

TEST_F(ShellOpen, WithoutAProgramOnlyRecords) {
    EXPECT_EQ(openForUser("/opt/k/Tutorial_RU.pdf"), OpenResult::Recorded);
    EXPECT_EQ(openForUser("/tmp/a.nc"), OpenResult::Recorded);
    EXPECT_EQ(openedForUser(), (std::vector<std::filesystem::path>{"/opt/k/Tutorial_RU.pdf", "/tmp/a.nc"}));
}

TEST_F(ShellOpen, PathReachesTheProgramAsOneUninterpretedArgument) {
    testing::ScratchFolder dir;
    // A name a shell would expand or split: spaces, quotes, $, backquotes, ;.
    const auto target = dir / "prog $(touch pwned) `x` \"q\" ; y.nc";
    setOpenCommand("/usr/bin/touch");
    std::string error;
    EXPECT_EQ(openForUser(target, &error), OpenResult::Started) << error;
    EXPECT_EQ(waitForStartedPrograms(std::chrono::seconds(10)), 0u);
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
    EXPECT_FALSE(std::filesystem::exists(dir / "pwned"));
    EXPECT_EQ(openedForUser().size(), 1u);
}

TEST_F(ShellOpen, MissingProgramIsReportedAndStillRecorded) {
    setOpenCommand("/no/such/viewer --flag");
    std::string error;
    EXPECT_EQ(openForUser("/tmp/a.pdf", &error), OpenResult::StartFailed);
    EXPECT_NE(error.find("/no/such/viewer"), std::string::npos) << error;
    EXPECT_NE(error.find("/tmp/a.pdf"), std::string::npos) << error;
    EXPECT_EQ(openedForUser().size(), 1u);
}

TEST(ShellCommandWords, SplitsAtBlanksWithQuotes) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(splitCommandWords("gedit --new-window"), (Words{"gedit", "--new-window"}));
    EXPECT_EQ(splitCommandWords("  'my viewer'  -a\t\"b c\"d "), (Words{"my viewer", "-a", "b cd"}));
    EXPECT_EQ(splitCommandWords("x ''"), (Words{"x", ""}));
    EXPECT_EQ(splitCommandWords(""), Words{});
}

}  // namespace
}  // namespace host::sys
