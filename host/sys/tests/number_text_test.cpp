// Numbers formatted and parsed in the C locale, whatever the process locale.
#include "host/sys/number_text.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "host/sys/tests/scratch_folder.h"

namespace host::sys {
namespace {

// Puts a comma-decimal locale in place for the test, as a Russian user's session would. When the machine has
// none installed, one is compiled from the C library's locale sources into a scratch folder (about a second).
class CommaLocale {
public:
    CommaLocale() {
        if (std::setlocale(LC_ALL, "ru_RU.UTF-8")) {
            active_ = true;
            return;
        }
        const std::string command =
            "localedef -i ru_RU -f UTF-8 '" + (folder_ / "ru_RU.UTF-8").string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return;
        ::setenv("LOCPATH", folder_.path().c_str(), 1);
        active_ = std::setlocale(LC_ALL, "ru_RU.UTF-8") != nullptr;
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
    }
    bool active() const { return active_; }

private:
    testing::ScratchFolder folder_;
    bool active_ = false;
};

TEST(NumberText, FormatsAsPrintfDoesInTheCLocale) {
    struct Case {
        double value;
        int decimals;
        const char* fixed;
        const char* exponent;
    };
    const Case cases[] = {
        {2.5, 4, "2.5000", "2.5000e+00"},
        {7.85, 6, "7.850000", "7.850000e+00"},
        {-0.00001, 4, "-0.0000", "-1.0000e-05"},
        {0.125, 2, "0.12", "1.25e-01"},  // ties go to even, as glibc's printf
        {1234.5, 0, "1234", "1e+03"},    // 1234.5 rounds to even at 0 decimals
        {7850.0, 16, "7850.0000000000000000", "7.8500000000000000e+03"},
        {1e300, 1, nullptr, "1.0e+300"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        char printed[512];
        std::snprintf(printed, sizeof printed, "%.*f", c.decimals, c.value);
        if (c.fixed) {
            EXPECT_EQ(formatFixed(c.value, c.decimals), c.fixed);
        }
        EXPECT_EQ(formatFixed(c.value, c.decimals), printed);
        std::snprintf(printed, sizeof printed, "%.*e", c.decimals, c.value);
        EXPECT_EQ(formatExponent(c.value, c.decimals), c.exponent);
        EXPECT_EQ(formatExponent(c.value, c.decimals), printed);
    }
    EXPECT_EQ(formatFixed(1.0), "1.000000");
    EXPECT_EQ(formatExponent(7850.0), "7.850000e+03");
    EXPECT_EQ(formatShortest(0.1), "0.1");
    EXPECT_EQ(formatFixed(std::numeric_limits<double>::infinity(), 3), "inf");
    EXPECT_EQ(formatFixed(std::nan(""), 3), "nan");
}

TEST(NumberText, UserLocaleDoesNotChangeTheText) {
    CommaLocale locale;
    if (!locale.active()) GTEST_SKIP() << "no comma-decimal locale here, and localedef could not make one";
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.1f", 2.5);
    ASSERT_STREQ(printed, "2,5") << "the locale really is in force";
    EXPECT_EQ(formatFixed(2.5, 4), "2.5000");
    EXPECT_EQ(formatC("%.4f,%.4f", 1.5, -2.25), "1.5000,-2.2500");
    EXPECT_EQ(parseReal("2.5").value, 2.5);
    EXPECT_FALSE(parseReal("2,5").ok());
}

TEST(NumberText, FormatC) {
    EXPECT_EQ(formatC("%i min %.3f sec", 2, 5.123), "2 min 5.123 sec");
    EXPECT_EQ(formatC("%s", std::string(1000, 'x').c_str()).size(), 1000u);  // longer than the first buffer
    EXPECT_EQ(formatC("%+.*f", 3, 1.0), "+1.000");
}

TEST(NumberText, StrictParse) {
    struct Case {
        const char* text;
        ParseStatus status;
        double value;
    };
    const Case cases[] = {
        {"12", ParseStatus::Ok, 12},           {"-0.5", ParseStatus::Ok, -0.5},    {"+3.", ParseStatus::Ok, 3},
        {".5", ParseStatus::Ok, 0.5},          {"1e-3", ParseStatus::Ok, 0.001},   {"7.85E+3", ParseStatus::Ok, 7850},
        {"", ParseStatus::Malformed, 0},       {" 1", ParseStatus::Malformed, 0},  {"1 ", ParseStatus::Malformed, 0},
        {"1,5", ParseStatus::Malformed, 0},    {"1e", ParseStatus::Malformed, 0},  {"--1", ParseStatus::Malformed, 0},
        {"+-1", ParseStatus::Malformed, 0},    {".", ParseStatus::Malformed, 0},   {"-", ParseStatus::Malformed, 0},
        {"inf", ParseStatus::Malformed, 0},    {"nan", ParseStatus::Malformed, 0}, {"0x10", ParseStatus::Malformed, 0},
        {"1e999", ParseStatus::OutOfRange, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = parseReal(c.text);
        EXPECT_EQ(parsed.status, c.status);
        EXPECT_EQ(parsed.value, c.value);
    }
    EXPECT_EQ(parseReal("100", 0, 100).status, ParseStatus::Ok);
    EXPECT_EQ(parseReal("100.0001", 0, 100).status, ParseStatus::OutOfRange);
    EXPECT_EQ(parseReal("-0.0001", 0, 100).status, ParseStatus::OutOfRange);
}

TEST(NumberText, StrictIntegerParse) {
    struct Case {
        const char* text;
        std::int64_t min, max;
        ParseStatus status;
        std::int64_t value;
    };
    const Case cases[] = {
        {"42", 0, 100, ParseStatus::Ok, 42},
        {"+7", 0, 100, ParseStatus::Ok, 7},
        {"-32768", -32768, 32767, ParseStatus::Ok, -32768},
        {"32768", -32768, 32767, ParseStatus::OutOfRange, 0},
        {"-1", 0, 10, ParseStatus::OutOfRange, 0},
        {"99999999999999999999", INT64_MIN, INT64_MAX, ParseStatus::OutOfRange, 0},
        {"1.0", 0, 10, ParseStatus::Malformed, 0},
        {"", 0, 10, ParseStatus::Malformed, 0},
        {"+-1", -10, 10, ParseStatus::Malformed, 0},
        {"-+1", -10, 10, ParseStatus::Malformed, 0},
        {"12a", 0, 100, ParseStatus::Malformed, 0},
        {" 1", 0, 100, ParseStatus::Malformed, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = parseInteger(c.text, c.min, c.max);
        EXPECT_EQ(parsed.status, c.status);
        EXPECT_EQ(parsed.value, c.value);
    }
}

// A field's text is one number or none: a text of a number's characters is not taken by its prefix.
TEST(NumberText, FieldTextsAreReadWhole) {
    struct Case {
        const char* text;
        std::optional<double> real;
        std::optional<int> integer;
    };
    const Case cases[] = {
        {"42", 42, 42},       {" 5 ", 5, 5},       {"\t7", 7, 7},      {"2.", 2, std::nullopt},
        {"1e3", 1000, std::nullopt},              {"-0.5", -0.5, std::nullopt},
        {"42.0.0", std::nullopt, std::nullopt},   {".", std::nullopt, std::nullopt},
        {"2..", std::nullopt, std::nullopt},      {"2.5.1", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},         {"  ", std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt},      {"3OO", std::nullopt, std::nullopt},
        {"1 2", std::nullopt, std::nullopt},      {"inf", std::nullopt, std::nullopt},
        {"2147483648", 2147483648.0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fieldReal(c.text), c.real);
        EXPECT_EQ(fieldInteger(c.text), c.integer);
    }
}

TEST(NumberText, LeadingNumbersReadAsTheCLibraryDoes) {
    struct Case {
        const char* text;
        double value;
        std::size_t length;
    };
    const Case cases[] = {
        {"12.5mm", 12.5, 4}, {"  -3e2,", -300, 6}, {"abc", 0, 0}, {"", 0, 0},
        {"\t+.5", 0.5, 4},   {"1e", 1, 1},         {"- 1", 0, 0}, {"1e999", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto read = parseLeadingReal(c.text);
        EXPECT_EQ(read.value, c.value);
        EXPECT_EQ(read.length, c.length);
        if (c.length > 0) {
            EXPECT_EQ(std::strtod(c.text, nullptr), c.value);
        }
    }
    EXPECT_EQ(parseLeadingInteger(" 42abc").value, 42);
    EXPECT_EQ(parseLeadingInteger(" 42abc").length, 3u);
    EXPECT_EQ(parseLeadingInteger("-7").value, -7);
    EXPECT_EQ(parseLeadingInteger("+7").value, 7);
    EXPECT_EQ(parseLeadingInteger("x").length, 0u);
    EXPECT_EQ(parseLeadingInteger("99999999999999999999").length, 0u);
}

}  // namespace
}  // namespace host::sys
