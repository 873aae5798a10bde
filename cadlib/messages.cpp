// The library's language flag and the choice of a text's form.
#include "cadlib/messages.h"

#include "host/ed/transcript.h"

namespace {

// One per module: see messages.h.
Language g_language = Language::English;

}  // namespace

void SetLibraryLanguage(Language language) { g_language = language; }

Language LibraryLanguage() { return g_language; }

Language LanguageFromCode(int code) {
    return code == static_cast<int>(Language::Russian) ? Language::Russian : Language::English;
}

const char* Localized(const TwoLanguageText& text) {
    return g_language == Language::Russian ? text.russian : text.english;
}

void PrintText(std::string_view text) { host::ed::print(text); }
