// The option, language, help and tutorial commands.
#include "laser/options/option_commands.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "cadlib/host_variables.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/sys/folders.h"
#include "host/sys/shell_open.h"
#include "host/ui/constants.h"
#include "host/ui/message_box.h"
#include "laser/frame/frame_messages.h"
#include "laser/frame/status_line.h"
#include "laser/job/drawing_slot.h"
#include "laser/job/job_life_cycle.h"
#include "laser/options/option_sheets.h"
#include "laser/options/option_texts.h"
#include "laser/path/path_lookup.h"
#include "laser/path/path_totals.h"
#include "laser/settings/laser_settings.h"

namespace {

using host::db::ResBuf;
using host::db::RTNORM;
using host::db::RTSTR;

// The nesting module's command that reads its options from the registry again. When the nesting module is not
// loaded the host does not know it; that is no fault of ours.
void ReloadNestingOptions() { host::ed::command({ResBuf(RTSTR, "LoadNestOptions")}); }

// The installation folder: DirInstall, or the host's when the registry names none; '\' read as '/'.
std::filesystem::path InstallFolder() {
    std::string folder = LaserSettings().DirInstall;
    if (folder.empty()) return host::sys::installFolder();
    for (char& c : folder) {
        if (c == '\\') c = '/';
    }
    return std::filesystem::path(folder);
}

// Opens a document for the user, and says where it is when no program opens it (a terminal without
// --open-with), that it is missing, or why the program did not start.
void OpenDocument(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        PrintLocalized(kDocumentMissingText, file.string().c_str());
        return;
    }
    std::string why;
    switch (host::sys::openForUser(file, &why)) {
        case host::sys::OpenResult::Started: break;
        case host::sys::OpenResult::Recorded: PrintLocalized(kDocumentIsText, file.string().c_str()); break;
        case host::sys::OpenResult::StartFailed:
            PrintLocalized(kDocumentNotOpenedText, file.string().c_str(), why.c_str());
            break;
    }
}

void SwitchLanguage(int flag, const char* menu) {
    SetSysVarInt("FILEDIA", 0);
    host::ed::command({ResBuf(RTSTR, "_.MENUUNLOAD"), ResBuf(RTSTR, "kestrion")});
    const int loaded = host::ed::command({ResBuf(RTSTR, "_.MENULOAD"), ResBuf(RTSTR, menu)});
    SetLanguageFlag(flag);
    if (loaded != RTNORM) PrintLocalized(kMenuNotLoaded, menu);
    LaserSettings().WriteLanguageSetting();
    ReloadNestingOptions();
}

}  // namespace

void CommandNCConfig() {
    ShowSystemOptions();
    ReloadNestingOptions();
}

void CommandIniKestrion() {
    CLaserSettings& settings = LaserSettings();
    const int modeEndPoint = settings.ModeEndPoint;
    SelectDrawingSlot(settings);
    DrawingSlot* slot = CurrentSlot(settings);
    if (slot == nullptr || slot->status != kSlotJob) {
        host::ui::messageBox(Localized(kContoursNotCreatedText), "", host::ui::MB_OK | host::ui::MB_ICONERROR);
        settings.ModeEndPoint = modeEndPoint;
        return;
    }
    if (PrepareDrawingJob(settings) == 0) {
        UpdateStatusLine();
        ShowDrawingOptions();
        RedrawStartRapid();
        RegenPathTotals();
        UpdateStatusLine();
        if (DrawingSlot* current = CurrentSlot(settings)) ++current->changeCounter;
        WriteJobData(settings);
    }
    settings.ModeEndPoint = modeEndPoint;
}

void CommandKestrionLangEN() { SwitchLanguage(0, "kestrion"); }

void CommandKestrionLangRU() { SwitchLanguage(1, "kestrion_ru"); }

void CommandHelpKestrion() {
    std::string help = LaserSettings().FileHelp;
    for (char& c : help) {
        if (c == '\\') c = '/';
    }
    // Without a help file in the registry, the installation's own help in the module's language.
    const std::filesystem::path file =
        help.empty() ? InstallFolder() / "help" / (LanguageFlag() == 1 ? "Help_RU.md" : "Help.md")
                     : std::filesystem::path(help);
    OpenDocument(file);
}

void CommandTutorialKestrion() {
    OpenDocument(InstallFolder() / (LanguageFlag() == 1 ? "Tutorial_RU.md" : "Tutorial.md"));
}
