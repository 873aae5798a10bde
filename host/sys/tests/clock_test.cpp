// The steady clock, the date text and the virtual clock.
#include "host/sys/clock.h"

#include <gtest/gtest.h>

#include <thread>

namespace host::sys {
namespace {

TEST(Clock, SteadyClockCountsWallTimeNotProcessorTime) {
    const auto start = steadyMilliseconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // asleep: no processor time is spent
    const auto elapsed = steadyMilliseconds() - start;
    EXPECT_GE(elapsed, 50);
    EXPECT_LT(elapsed, 5000);
}

TEST(Clock, DateTextLayout) {
    struct Case {
        LocalTime t;
        const char* text;
        const char* withMilliseconds;
    };
    const Case cases[] = {
        {{2026, 12, 10, 12, 55, 57, 42, 4}, "Thu Dec 10 12:55:57 2026", "Thu Dec 10 12:55:57.042 2026"},
        {{1980, 1, 2, 2, 3, 55, 999, 3}, "Wed Jan 02 02:03:55 1980", "Wed Jan 02 02:03:55.999 1980"},
        {{2000, 2, 29, 0, 0, 0, 0, 2}, "Tue Feb 29 00:00:00 2000", "Tue Feb 29 00:00:00.000 2000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatDateText(c.t), c.text);
        EXPECT_EQ(formatDateText(c.t).size(), kDateTextLength);
        EXPECT_EQ(formatDateTextWithMilliseconds(c.t), c.withMilliseconds);
    }
}

TEST(Clock, RealDateTextHasTheStandardLength) {
    EXPECT_EQ(currentDateText().size(), kDateTextLength);
    const LocalTime now = currentLocalTime();
    EXPECT_GE(now.year, 2000);
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LE(now.millisecond, 999);
}

TEST(VirtualClock, FixesAndAdvancesBothClocks) {
    VirtualClock clock({.year = 2026, .month = 12, .day = 31, .hour = 23, .minute = 59, .second = 59}, 1000);
    EXPECT_EQ(steadyMilliseconds(), 1000);
    EXPECT_EQ(currentDateText(), "Thu Dec 31 23:59:59 2026");  // the weekday is worked out from the date
    clock.advance(125123);
    EXPECT_EQ(steadyMilliseconds(), 126123);
    EXPECT_EQ(currentDateTextWithMilliseconds(), "Fri Jan 01 00:02:04.123 2027");
    clock.advance(-5000);  // the steady clock never goes back
    EXPECT_EQ(steadyMilliseconds(), 126123);
}

TEST(VirtualClock, NestedClocksRestoreTheOuterOne) {
    {
        VirtualClock outer({}, 10);
        {
            VirtualClock inner({}, 500);
            EXPECT_EQ(steadyMilliseconds(), 500);
        }
        EXPECT_EQ(steadyMilliseconds(), 10);
        EXPECT_EQ(currentDateText(), "Thu Jan 01 00:00:00 1970");
    }
    EXPECT_GT(steadyMilliseconds(), 1000);  // the real clock again
}

}  // namespace
}  // namespace host::sys
