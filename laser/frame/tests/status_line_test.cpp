// The status line: its text for a table of job counters in both languages, the machining time cut down to whole
// minutes and seconds, counts too large for any fixed line, and the host variable it is written to.
#include "laser/frame/status_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "host/ed/sysvars.h"
#include "host/reg/machine_registry.h"
#include "host/reg/registry.h"
#include "host/sys/tests/scratch_folder.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

namespace {

// The counters a case sets; every other field of the job stays 0.
struct Counts {
    std::uint32_t baseOuter = 0, baseInner = 0, tool2Outer = 0, tool2Inner = 0, noLeadInOuter = 0,
                  noLeadInInner = 0, jumperLineOuter = 0, jumperLineInner = 0, commonCount = 0, insideCutCount = 0,
                  engraveCount = 0, engraveMarkCount = 0, markCount = 0, heatCount = 0, unclosedCount = 0,
                  noCloseCount = 0, markPointCount = 0, jumperPointCount = 0, stockOuter = 0, stockInner = 0;
    int pathGroupCount = 0;
    std::uint32_t homeGroupPresent = 0;
    double totalSeconds = 0.0;
};

CuttingJob jobWith(const Counts& c) {
    CuttingJob job;
    job.baseOuter = c.baseOuter, job.baseInner = c.baseInner, job.tool2Outer = c.tool2Outer;
    job.tool2Inner = c.tool2Inner, job.noLeadInOuter = c.noLeadInOuter, job.noLeadInInner = c.noLeadInInner;
    job.jumperLineOuter = c.jumperLineOuter, job.jumperLineInner = c.jumperLineInner;
    job.commonCount = c.commonCount, job.insideCutCount = c.insideCutCount, job.engraveCount = c.engraveCount;
    job.engraveMarkCount = c.engraveMarkCount, job.markCount = c.markCount, job.heatCount = c.heatCount;
    job.unclosedCount = c.unclosedCount, job.noCloseCount = c.noCloseCount, job.markPointCount = c.markPointCount;
    job.jumperPointCount = c.jumperPointCount, job.stockOuter = c.stockOuter, job.stockInner = c.stockInner;
    job.pathGroupCount = c.pathGroupCount, job.homeGroupPresent = c.homeGroupPresent;
    job.totalSeconds = c.totalSeconds;
    return job;
}

TEST(StatusLine, ShowsTheCountersOfEachGroupInOrder) {
    struct Case {
        const char* what;
        Counts counts;
        const char* english;
    };
    Counts plate;  // 3 outer and 2 inner contours, each cut, and the home group
    plate.baseOuter = 3, plate.baseInner = 2, plate.pathGroupCount = 6, plate.homeGroupPresent = 1;
    Counts tool2;  // the second tool's contours count in the total only
    tool2.tool2Outer = 4, tool2.tool2Inner = 5, tool2.pathGroupCount = 2;
    Counts distinct;  // every counter its own value, so a value in the wrong place shows
    distinct.baseOuter = 1, distinct.noLeadInOuter = 2, distinct.jumperLineOuter = 3, distinct.baseInner = 4;
    distinct.noLeadInInner = 5, distinct.jumperLineInner = 6, distinct.commonCount = 7, distinct.insideCutCount = 8;
    distinct.engraveCount = 9, distinct.engraveMarkCount = 10, distinct.markCount = 11, distinct.heatCount = 12;
    distinct.unclosedCount = 13, distinct.noCloseCount = 14, distinct.markPointCount = 15;
    distinct.jumperPointCount = 16, distinct.stockOuter = 17, distinct.stockInner = 18;
    distinct.pathGroupCount = 40, distinct.homeGroupPresent = 1, distinct.totalSeconds = 3725.0;
    Counts noPath;  // contours but no path yet: none processed
    noPath.baseOuter = 2, noPath.jumperPointCount = 3, noPath.stockOuter = 1;

    const Case cases[] = {
        {"an empty job", {},
         "Contours=0/0 Out=0/0/0 In=0/0/0/0/0 Engr=0/0/0 Heat=0 Uncl=0/0 Pt=0/0 Stock=0/0 Time=0min0sec"},
        {"a cut plate with its home group", plate,
         "Contours=5/5 Out=3/0/0 In=2/0/0/0/0 Engr=0/0/0 Heat=0 Uncl=0/0 Pt=0/0 Stock=0/0 Time=0min0sec"},
        {"second-tool contours", tool2,
         "Contours=9/2 Out=0/0/0 In=0/0/0/0/0 Engr=0/0/0 Heat=0 Uncl=0/0 Pt=0/0 Stock=0/0 Time=0min0sec"},
        // total 1+2+3+4+5+6+7+8+9+10+11+12+13+14+15 = 120: jumper points and stock contours not in it
        {"every counter distinct", distinct,
         "Contours=120/39 Out=1/2/3 In=4/5/6/7/8 Engr=9/10/11 Heat=12 Uncl=13/14 Pt=15/16 Stock=17/18 "
         "Time=62min5sec"},
        {"contours without a path", noPath,
         "Contours=2/0 Out=2/0/0 In=0/0/0/0/0 Engr=0/0/0 Heat=0 Uncl=0/0 Pt=0/3 Stock=1/0 Time=0min0sec"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatStatusLine(jobWith(c.counts), Language::English), c.english) << c.what;
}

TEST(StatusLine, TheRussianLineAlsoShowsTheSecondToolInItsGroups) {
    Counts c;
    c.baseOuter = 1, c.noLeadInOuter = 2, c.tool2Outer = 3, c.jumperLineOuter = 4, c.baseInner = 5;
    c.noLeadInInner = 6, c.tool2Inner = 7, c.jumperLineInner = 8, c.commonCount = 9, c.insideCutCount = 10;
    c.pathGroupCount = 3, c.totalSeconds = 61.5;
    EXPECT_EQ(FormatStatusLine(jobWith(c), Language::Russian),
              "Контуры=55/3 Внеш=1/2/3/4 Внутр=5/6/7/8/9/10 Грав=0/0/0 Терм=0 Незамк=0/0 Тчк=0/0 Лист=0/0 "
              "Время=1мин1сек");
}

TEST(StatusLine, MinutesAndSecondsAreCutDownNotRounded) {
    struct Case {
        double seconds;
        const char* time;
    };
    const Case cases[] = {
        {59.99, "Time=0min59sec"}, {60.0, "Time=1min0sec"},   {125.7, "Time=2min5sec"},
        {0.999, "Time=0min0sec"},  {3600.0, "Time=60min0sec"},
        // a damaged total shows as no time rather than as garbage
        {-5.0, "Time=0min0sec"},   {std::nan(""), "Time=0min0sec"},
    };
    for (const Case& c : cases) {
        Counts counts;
        counts.totalSeconds = c.seconds;
        const std::string line = FormatStatusLine(jobWith(counts), Language::English);
        EXPECT_EQ(line.substr(line.find("Time=")), c.time) << c.seconds;
    }
}

TEST(StatusLine, HugeCountsKeepTheWholeLine) {
    // Every counter at its largest: far beyond a status bar's 119 characters, and the total beyond 32 bits.
    constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();
    Counts c;
    c.baseOuter = c.baseInner = c.tool2Outer = c.tool2Inner = c.noLeadInOuter = c.noLeadInInner = kMax;
    c.jumperLineOuter = c.jumperLineInner = c.commonCount = c.insideCutCount = c.engraveCount = kMax;
    c.engraveMarkCount = c.markCount = c.heatCount = c.unclosedCount = c.noCloseCount = c.markPointCount = kMax;
    c.jumperPointCount = c.stockOuter = c.stockInner = kMax;
    c.pathGroupCount = std::numeric_limits<int>::max();
    c.totalSeconds = 1e300;
    for (Language language : {Language::English, Language::Russian}) {
        const std::string line = FormatStatusLine(jobWith(c), language);
        EXPECT_GT(line.size(), 119u);
        // 17 counters of 4294967295 in the total
        EXPECT_NE(line.find("=73014444015/2147483647 "), std::string::npos) << line;
        EXPECT_NE(line.find("=4294967295/4294967295"), std::string::npos) << line;  // the stock group, last counters
        EXPECT_TRUE(line.ends_with(language == Language::English ? "sec" : "сек")) << line;
    }
}

TEST(StatusLine, IsWrittenToTheHostsStatusLineVariable) {
    host::sys::testing::ScratchFolder folder;
    host::reg::machineRegistry().setFile(folder / "registry.reg");
    host::ed::resetSystemVariables();
    // No drawing has a slot here: the line shows an empty job.
    UpdateStatusLine();
    EXPECT_EQ(host::ed::getText("MODEMACRO"),
              "Contours=0/0 Out=0/0/0 In=0/0/0/0/0 Engr=0/0/0 Heat=0 Uncl=0/0 Pt=0/0 Stock=0/0 Time=0min0sec");
    DestroyLaserSettings();
    host::ed::resetSystemVariables();
}

}  // namespace
