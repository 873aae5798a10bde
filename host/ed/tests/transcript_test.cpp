// The transcript: texts kept exactly as printed, the line a typed answer ends, what the terminal shows, and numbers
// printed in the C locale whatever the process's locale.
#include "host/ed/transcript.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

namespace host::ed {
namespace {

// One step of output: a printed text, or an answer typed after a prompt (at a terminal that echoes typing, or by
// a script).
struct Step {
    enum Kind { Print, Typed, TypedAtTerminal } kind;
    std::string text;
};

struct Case {
    const char* what;
    std::vector<Step> steps;
    std::string transcript;  // what tests read
    std::string terminal;    // what standard output shows with echo on
};

std::string play(const std::vector<Step>& steps, bool echo, std::string* shown) {
    Transcript t;
    t.setEcho(echo);
    if (shown) ::testing::internal::CaptureStdout();
    for (const Step& s : steps) {
        if (s.kind == Step::Print) t.append(s.text);
        else t.appendTyped(s.text, s.kind == Step::TypedAtTerminal);
    }
    if (shown) *shown = ::testing::internal::GetCapturedStdout();
    return t.text();
}

TEST(Transcript, KeepsTextsAndEndsTheLinesOfTypedAnswers) {
    const Case cases[] = {
        {"module texts keep their \\n\\r; the terminal drops \\r and the first blank line",
         {{Step::Print, "\n\rFile a.nc is successfully created"}, {Step::Print, "\n\rDone\n\r"}},
         "\n\rFile a.nc is successfully created\n\rDone\n\r",
         "File a.nc is successfully created\nDone\n"},
        {"a script's answer: the next prompt's \\n ends its line",
         {{Step::Print, "\nCommand: "}, {Step::Typed, "LINE"}, {Step::Print, "\nSpecify first point: "},
          {Step::Typed, "0,0"}},
         "\nCommand: LINE\nSpecify first point: 0,0",
         "Command: LINE\nSpecify first point: 0,0"},
        {"a prompt without \\n still starts on a new line after an answer",
         {{Step::Print, "\nCommand: "}, {Step::Typed, "ERASE"}, {Step::Print, "Select objects: "}},
         "\nCommand: ERASE\nSelect objects: ",
         "Command: ERASE\nSelect objects: "},
        {"at a terminal the person's Enter already ended the line",
         {{Step::Print, "\nCommand: "}, {Step::TypedAtTerminal, "LINE"}, {Step::Print, "\nSpecify first point: "},
          {Step::TypedAtTerminal, "5,5"}, {Step::Print, "Select objects: "}},
         "\nCommand: LINE\nSpecify first point: 5,5\nSelect objects: ",
         "Command: Specify first point: Select objects: "},
        {"only one \\n is dropped after typing: a blank line the text asks for stays",
         {{Step::Print, "Command: "}, {Step::TypedAtTerminal, "X"}, {Step::Print, "\n\nText"}},
         "Command: X\n\nText",
         "Command: \nText"},
    };
    for (const Case& c : cases) {
        std::string shown;
        EXPECT_EQ(play(c.steps, false, nullptr), c.transcript) << c.what;
        EXPECT_EQ(play(c.steps, true, &shown), c.transcript) << c.what << ": echo does not change the transcript";
        EXPECT_EQ(shown, c.terminal) << c.what;
    }
}

TEST(Transcript, EchoOffShowsNothingAndEndTerminalLineEndsAnOpenLine) {
    Transcript t;
    ::testing::internal::CaptureStdout();
    t.append("\nCommand: ");
    t.endTerminalLine();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");

    Transcript shown;
    shown.setEcho(true);
    ::testing::internal::CaptureStdout();
    shown.append("\nCommand: ");
    shown.endTerminalLine();
    shown.endTerminalLine();
    shown.append("saved\n");
    shown.endTerminalLine();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Command: \nsaved\n");
}

TEST(Transcript, PrintfFormats) {
    transcript().clear();
    printf("\n\r%s %i %.2f %6.4f %e", "feed", 42, 2.5, 0.25, 1234.5);
    EXPECT_EQ(transcript().text(), "\n\rfeed 42 2.50 0.2500 1.234500e+03");
}

// Under a locale whose decimal point is a comma the host's output keeps the '.'.
TEST(Transcript, PrintfKeepsTheDecimalPointUnderALocaleWithAComma) {
    const char* names[] = {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.utf8", "de_DE.utf8"};
    const char* active = nullptr;
    for (const char* name : names) {
        if (std::setlocale(LC_ALL, name)) {
            active = name;
            break;
        }
    }
    if (!active) GTEST_SKIP() << "no locale with a decimal comma is installed here";
    transcript().clear();
    printf("%.3f", 1.5);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(transcript().text(), "1.500") << active;
}

TEST(Transcript, LongTextsAreNotCut) {
    transcript().clear();
    const std::string long_(100000, 'x');
    printf("%s|%d", long_.c_str(), 7);
    EXPECT_EQ(transcript().text(), long_ + "|7");
    transcript().clear();
    printf("%s", "");
    EXPECT_EQ(transcript().text(), "");
}

}  // namespace
}  // namespace host::ed
