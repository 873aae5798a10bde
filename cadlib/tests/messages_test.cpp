// The library's language flag picks a text's form at the moment it is shown, formats in the C locale, and
// prints on the command line.
#include "cadlib/messages.h"

#include <gtest/gtest.h>

#include "host/ed/transcript.h"

namespace {

constexpr TwoLanguageText kTime = {"\n\rTime %i min %.3f sec", "\n\rВремя %i мин %.3f сек"};
constexpr TwoLanguageText kPercent = {"100% done", "100% готово"};

// Sets a language for the test and puts English back afterwards, as other tests expect.
class LanguageScope {
public:
    explicit LanguageScope(Language l) { SetLibraryLanguage(l); }
    ~LanguageScope() { SetLibraryLanguage(Language::English); }
};

TEST(Messages, TheFlagPicksTheFormWhenShown) {
    EXPECT_EQ(LibraryLanguage(), Language::English);
    EXPECT_STREQ(Localized(kPercent), "100% done");
    {
        LanguageScope russian(Language::Russian);
        EXPECT_STREQ(Localized(kPercent), "100% готово");
        EXPECT_EQ(FormatLocalized(kTime, 2, 5.25), "\n\rВремя 2 мин 5.250 сек");
    }
    EXPECT_EQ(FormatLocalized(kTime, 2, 5.25), "\n\rTime 2 min 5.250 sec");
    // Without arguments the text is not a format: its '%' stays.
    EXPECT_EQ(FormatLocalized(kPercent), "100% done");
}

TEST(Messages, StoredCodes) {
    EXPECT_EQ(LanguageFromCode(0), Language::English);
    EXPECT_EQ(LanguageFromCode(1), Language::Russian);
    EXPECT_EQ(LanguageFromCode(7), Language::English);
    EXPECT_EQ(LanguageFromCode(-1), Language::English);
}

TEST(Messages, PrintsOnTheCommandLine) {
    host::ed::transcript().clear();
    LanguageScope russian(Language::Russian);
    PrintLocalized(kTime, 0, 0.5);
    PrintText("\n\rdone");
    EXPECT_EQ(host::ed::transcript().text(), "\n\rВремя 0 мин 0.500 сек\n\rdone");
}

}  // namespace
