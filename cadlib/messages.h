// Two-language texts: the library's language flag and the choice of a message's English or Russian form.
//
// Every user text of the library and of the modules built on it is a TwoLanguageText in a table of its file
// ({english, russian}). The form is picked when the text is shown, so a change of language takes effect at the
// next message. The flag is a static of this library; the library is linked statically into each module, so
// each module has its own flag and sets it from its own settings.
#pragma once

#include <string>
#include <string_view>

#include "host/sys/number_text.h"

// The languages of the product's texts, with the codes the settings store (0 English, 1 Russian).
enum class Language : int {
    English = 0,
    Russian = 1,
};

// One user text in both languages. Both are literals of the program (printf formats where a caller formats
// them): never text read from a file or typed by a user.
struct TwoLanguageText {
    const char* english;
    const char* russian;
};

// The module's language for the library's texts; English until set.
void SetLibraryLanguage(Language language);
Language LibraryLanguage();

// The language of a stored code: 1 is Russian, every other value English (a damaged setting shows English).
Language LanguageFromCode(int code);

// The form of `text` for the module's language.
const char* Localized(const TwoLanguageText& text);

// The form for the module's language formatted like printf, in the C locale whatever the process's locale.
// Without arguments the text is answered as it is (a '%' in it is then not a format).
template <class... Args>
std::string FormatLocalized(const TwoLanguageText& text, Args... args) {
    if constexpr (sizeof...(Args) == 0) {
        return Localized(text);
    } else {
        return host::sys::formatC(Localized(text), args...);
    }
}

// Prints a text on the command line.
void PrintText(std::string_view text);

// FormatLocalized printed on the command line.
template <class... Args>
void PrintLocalized(const TwoLanguageText& text, Args... args) {
    PrintText(FormatLocalized(text, args...));
}
