// Elapsed time, current time, pause prompt and CMDNAMES tests for the library's commands.
#include "cadlib/command_frame.h"

#include <chrono>
#include <ctime>

#include "cadlib/host_variables.h"
#include "cadlib/messages.h"
#include "host/ed/prompts.h"

namespace {

constexpr std::int64_t kMillisecondsPerMinute = 60000;
constexpr double kMillisecondsPerSecond = 1000.0;
constexpr std::size_t kPauseAnswerChars = 132;
// ctime's text: "Wed Jan 02 02:03:55 1980\n"; the clock time ends at 19, the year starts at 20.
constexpr int kDateAndClockChars = 19;
constexpr std::size_t kYearOffset = 20;
constexpr std::size_t kCtimeBufferChars = 64;  // ctime_r needs at least 26

constexpr TwoLanguageText kElapsed{"%i min %.3f sec", "%i мин %.3f сек"};
constexpr TwoLanguageText kTimeIs{"\n\rThe time is %.19s.%hu %s", "\n\rВремя %.19s.%hu %s"};

}  // namespace

std::int64_t ElapsedClockMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string ElapsedTimeText(std::int64_t elapsedMs) {
    const int minutes = static_cast<int>(elapsedMs / kMillisecondsPerMinute);
    const double seconds = static_cast<double>(elapsedMs) / kMillisecondsPerSecond - minutes * 60.0;
    return FormatLocalized(kElapsed, minutes, seconds);
}

void FormatElapsedTime(std::int64_t startMs, std::string& text) {
    text = ElapsedTimeText(ElapsedClockMilliseconds() - startMs);
}

void PrintCurrentTime() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = static_cast<unsigned short>(
        duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    char buffer[kCtimeBufferChars] = {};
    const std::string text(ctime_r(&seconds, buffer) ? buffer : "");
    const std::string year = text.size() > kYearOffset ? text.substr(kYearOffset) : std::string();
    PrintLocalized(kTimeIs, std::string(text, 0, kDateAndClockChars).c_str(), millis, year.c_str());
}

void PauseWithPrompt(std::string_view prompt) {
    std::string answer;
    host::ed::getString(false, prompt, answer, kPauseAnswerChars);
}

bool IsCommandActive(std::string_view name) {
    std::string names;
    if (GetSysVarString("CMDNAMES", names) != host::db::RTNORM) return false;
    return names.find(name) != std::string::npos;
}

bool IsCurrentCommand(std::string_view name) {
    std::string names;
    if (GetSysVarString("CMDNAMES", names) != host::db::RTNORM) return false;
    return names == name;
}
