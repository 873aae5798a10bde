// The status line: the current drawing's job counters shown in the host's status bar.
#include "laser/frame/status_line.h"

#include <cmath>

#include "cadlib/host_variables.h"
#include "host/sys/number_text.h"
#include "laser/frame/frame_messages.h"
#include "laser/job/drawing_slot.h"
#include "laser/settings/laser_settings.h"

namespace {

// The longest time the line shows, in seconds (about 31,700 years): a larger total, from a damaged drawing,
// would not fit the integers the minutes and seconds are shown as.
constexpr double kMaxShownSeconds = 1e12;

}  // namespace

std::string FormatStatusLine(const CuttingJob& job, Language language) {
    // The jumper points and the stock contours are no contours of the part.
    const unsigned long long total =
        0ULL + job.baseInner + job.baseOuter + job.tool2Inner + job.tool2Outer + job.unclosedCount +
        job.noCloseCount + job.engraveCount + job.engraveMarkCount + job.markCount + job.heatCount +
        job.commonCount + job.insideCutCount + job.noLeadInInner + job.noLeadInOuter + job.jumperLineOuter +
        job.jumperLineInner + job.markPointCount;
    // The final home group cuts no contour.
    const long long processed = static_cast<long long>(job.pathGroupCount) - job.homeGroupPresent;
    double seconds = job.totalSeconds;
    if (!(seconds >= 0.0)) seconds = 0.0;  // negative or NaN
    if (seconds > kMaxShownSeconds) seconds = kMaxShownSeconds;
    const auto minutes = static_cast<long long>(seconds / 60.0);
    const auto restSeconds = static_cast<long long>(seconds - static_cast<double>(minutes) * 60.0);

    if (language == Language::Russian) {
        return host::sys::formatC(
            kStatusLineText.russian, total, processed, job.baseOuter, job.noLeadInOuter, job.tool2Outer,
            job.jumperLineOuter, job.baseInner, job.noLeadInInner, job.tool2Inner, job.jumperLineInner,
            job.commonCount, job.insideCutCount, job.engraveCount, job.engraveMarkCount, job.markCount,
            job.heatCount, job.unclosedCount, job.noCloseCount, job.markPointCount, job.jumperPointCount,
            job.stockOuter, job.stockInner, minutes, restSeconds);
    }
    // The English line shows the second tool's contours only inside the total.
    return host::sys::formatC(kStatusLineText.english, total, processed, job.baseOuter, job.noLeadInOuter,
                              job.jumperLineOuter, job.baseInner, job.noLeadInInner, job.jumperLineInner,
                              job.commonCount, job.insideCutCount, job.engraveCount, job.engraveMarkCount,
                              job.markCount, job.heatCount, job.unclosedCount, job.noCloseCount,
                              job.markPointCount, job.jumperPointCount, job.stockOuter, job.stockInner, minutes,
                              restSeconds);
}

int UpdateStatusLine() {
    const CuttingJob* job = CurrentJob(LaserSettings());
    const CuttingJob empty;
    return SetSysVarString("MODEMACRO",
                           FormatStatusLine(job != nullptr ? *job : empty, LanguageFromCode(LanguageFlag())));
}
