// Small helpers around a command's work: elapsed-time text, the current time, a pause prompt and tests of the
// running commands (CMDNAMES).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A reading of the steady wall clock in milliseconds, taken when a command begins (the start of
// FormatElapsedTime).
std::int64_t ElapsedClockMilliseconds();

// Writes "<m> min <s.sss> sec" (or its Russian form) for the time since `startMs`, a reading of
// ElapsedClockMilliseconds: whole minutes and the rest in seconds with three decimals.
void FormatElapsedTime(std::int64_t startMs, std::string& text);
// The same text for a given count of milliseconds (what FormatElapsedTime writes).
std::string ElapsedTimeText(std::int64_t elapsedMs);

// Prints the current date and time with milliseconds on the command line.
void PrintCurrentTime();

// Shows `prompt` and waits for a text answer of at most 132 characters, which is thrown away.
void PauseWithPrompt(std::string_view prompt);

// True when CMDNAMES contains `name` (case-sensitive).
bool IsCommandActive(std::string_view name);
// True when CMDNAMES is exactly `name` (case-sensitive).
bool IsCurrentCommand(std::string_view name);
