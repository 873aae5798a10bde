// Time for the host and the modules: a steady millisecond clock, the local date and time, and a virtual clock
// that tests install to fix both.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace host::sys {

// Milliseconds of wall time from an arbitrary start, never going back. This is what the modules' "clock()
// ticks" are: elapsed times are differences of two readings. Under a VirtualClock it answers the virtual value.
std::int64_t steadyMilliseconds();

// A local calendar date and clock time, to the millisecond.
struct LocalTime {
    int year = 1970;      // e.g. 2026
    int month = 1;        // 1..12
    int day = 1;          // 1..31
    int hour = 0;         // 0..23
    int minute = 0;       // 0..59
    int second = 0;       // 0..60 (60 only for a leap second)
    int millisecond = 0;  // 0..999
    int weekday = 4;      // 0 = Sunday .. 6 = Saturday (1 Jan 1970 was a Thursday)

    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// Now, in the process's time zone (or the virtual clock's time when one is installed).
LocalTime currentLocalTime();

// Length of the standard date text, "Thu Dec 10 12:55:57 2026".
inline constexpr std::size_t kDateTextLength = 24;

// The standard 24-character date text: weekday, month, two-digit day, hh:mm:ss, four-digit year, one space
// between each, no line end: "Thu Dec 10 12:55:57 2026", "Wed Jan 02 02:03:55 1980". Years outside
// 1000..9999 are clamped to that range so the length holds.
std::string formatDateText(const LocalTime& t);

// The same with milliseconds after the seconds: "Thu Dec 10 12:55:57.042 2026" (28 characters).
std::string formatDateTextWithMilliseconds(const LocalTime& t);

// The text of now, in both forms.
std::string currentDateText();
std::string currentDateTextWithMilliseconds();

// While an object of this class lives, steadyMilliseconds() and currentLocalTime() answer its values instead of
// the real clocks; time moves only when the test calls advance(). Virtual clocks nest: destroying one
// reinstates the one it replaced. Install and remove them from one thread; reading is safe from any thread.
//
//   VirtualClock clock({.year = 2026, .month = 12, .day = 10, .hour = 12, .minute = 55, .second = 57});
//   auto start = steadyMilliseconds();  clock.advance(125123);  // steadyMilliseconds() - start == 125123
class VirtualClock {
public:
    // Starts at steady time `steadyStart` and at the local time `localStart` (its weekday is recomputed).
    explicit VirtualClock(const LocalTime& localStart = {}, std::int64_t steadyStart = 0);
    ~VirtualClock();
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    // Moves both the steady and the local time forward by `milliseconds` (a negative value is ignored: the
    // steady clock never goes back).
    void advance(std::int64_t milliseconds);
    // Sets the local time without touching the steady clock.
    void setLocalTime(const LocalTime& local);

    std::int64_t steady() const;
    LocalTime local() const;

private:
    std::atomic<std::int64_t> steadyMs_;
    std::atomic<std::int64_t> localMs_;  // milliseconds of the local calendar time counted as if it were UTC
    VirtualClock* previous_;
};

}  // namespace host::sys
