// The steady and calendar clocks, their text forms, and the virtual clock that replaces both in tests.
#include "host/sys/clock.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace host::sys {

namespace {

std::atomic<VirtualClock*> g_virtualClock{nullptr};

constexpr std::array<const char*, 7> kWeekdayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr int kMinYearInText = 1000;
constexpr int kMaxYearInText = 9999;
constexpr std::int64_t kMillisecondsPerSecond = 1000;

// Milliseconds from 1970-01-01 00:00:00.000 to the calendar time `t`, treating it as UTC (no zone, no DST).
std::int64_t civilMilliseconds(const LocalTime& t) {
    using namespace std::chrono;
    const sys_days date = year{t.year} / month{static_cast<unsigned>(t.month)} / day{static_cast<unsigned>(t.day)};
    const auto stamp = date + hours{t.hour} + minutes{t.minute} + seconds{t.second} + milliseconds{t.millisecond};
    return duration_cast<milliseconds>(stamp.time_since_epoch()).count();
}

LocalTime civilFromMilliseconds(std::int64_t ms) {
    using namespace std::chrono;
    const sys_time<milliseconds> stamp{milliseconds{ms}};
    const sys_days date = floor<days>(stamp);
    const year_month_day ymd{date};
    const hh_mm_ss clockTime{stamp - date};
    LocalTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(clockTime.hours().count());
    t.minute = static_cast<int>(clockTime.minutes().count());
    t.second = static_cast<int>(clockTime.seconds().count());
    t.millisecond = static_cast<int>(clockTime.subseconds().count());
    t.weekday = static_cast<int>(weekday{date}.c_encoding());
    return t;
}

// "Thu Dec 10 12:55:57", the part of the date text before the year.
std::string formatDateAndClock(const LocalTime& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s %s %02d %02d:%02d:%02d", kWeekdayNames[std::clamp(t.weekday, 0, 6)],
                  kMonthNames[std::clamp(t.month, 1, 12) - 1], std::clamp(t.day, 0, 99), std::clamp(t.hour, 0, 99),
                  std::clamp(t.minute, 0, 99), std::clamp(t.second, 0, 99));
    return buffer;
}

std::string formatYear(const LocalTime& t) {
    return std::to_string(std::clamp(t.year, kMinYearInText, kMaxYearInText));
}

LocalTime realLocalTime() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % kMillisecondsPerSecond;
    std::tm tm{};
    localtime_r(&seconds, &tm);
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.millisecond = static_cast<int>(ms < 0 ? ms + kMillisecondsPerSecond : ms);
    t.weekday = tm.tm_wday;
    return t;
}

}  // namespace

std::int64_t steadyMilliseconds() {
    if (const VirtualClock* clock = g_virtualClock.load()) return clock->steady();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

LocalTime currentLocalTime() {
    if (const VirtualClock* clock = g_virtualClock.load()) return clock->local();
    return realLocalTime();
}

std::string formatDateText(const LocalTime& t) { return formatDateAndClock(t) + " " + formatYear(t); }

std::string formatDateTextWithMilliseconds(const LocalTime& t) {
    char ms[8];
    std::snprintf(ms, sizeof ms, ".%03d ", std::clamp(t.millisecond, 0, 999));
    return formatDateAndClock(t) + ms + formatYear(t);
}

std::string currentDateText() { return formatDateText(currentLocalTime()); }

std::string currentDateTextWithMilliseconds() { return formatDateTextWithMilliseconds(currentLocalTime()); }

VirtualClock::VirtualClock(const LocalTime& localStart, std::int64_t steadyStart)
    : steadyMs_(steadyStart), localMs_(civilMilliseconds(localStart)), previous_(g_virtualClock.load()) {
    g_virtualClock.store(this);
}

VirtualClock::~VirtualClock() { g_virtualClock.store(previous_); }

void VirtualClock::advance(std::int64_t milliseconds) {
    if (milliseconds <= 0) return;
    steadyMs_ += milliseconds;
    localMs_ += milliseconds;
}

void VirtualClock::setLocalTime(const LocalTime& local) { localMs_ = civilMilliseconds(local); }

std::int64_t VirtualClock::steady() const { return steadyMs_.load(); }

LocalTime VirtualClock::local() const { return civilFromMilliseconds(localMs_.load()); }

}  // namespace host::sys
