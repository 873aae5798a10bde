// The module's language flag, which picks the English or the Russian form of every message.
#include "cadlib/messages.h"
#include "laser/settings/laser_settings.h"

namespace {

int g_languageFlag = 0;

}  // namespace

int LanguageFlag() { return g_languageFlag; }

void SetLanguageFlag(int flag) {
    g_languageFlag = flag == 0 ? 0 : 1;
    SetLibraryLanguage(g_languageFlag == 0 ? Language::English : Language::Russian);
}
