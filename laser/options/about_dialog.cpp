// The About box.
#include "laser/options/about_dialog.h"

#include "host/sys/number_text.h"
#include "host/sys/version.h"
#include "host/ui/constants.h"
#include "host/ui/data_exchange.h"
#include "host/ui/message.h"
#include "laser/options/option_texts.h"

namespace {

// The host the module runs in, as the product line names it.
constexpr const char* kHostName = "cadhost";

host::ui::DialogTemplate AboutTemplate() {
    host::ui::DialogTemplate t(Localized(kAboutCaption), 226, 148);
    t.style |= host::ui::DS_CENTER;
    t.groupBox("", {7, 7, 212, 113});
    t.label("Kestrion", {15, 17, 47, 44}, host::ui::kNoControlId, host::ui::SS_CENTER);
    t.label("Kestrion for AutoCAD and Mechanical", {72, 18, 138, 9}, kAboutProductLine);
    t.label("Version", {72, 36, 138, 8}, kAboutVersion);
    t.defaultButton(host::ui::IDOK, Localized(kOkText), {89, 125, 51, 15});
    return t;
}

}  // namespace

CAbout::CAbout(host::ui::Window* parent) : Dialog(AboutTemplate(), parent) {}

void CAbout::doDataExchange(host::ui::DataExchange& dx) {
    dx.text(kAboutProductLine, productLine);
    dx.text(kAboutVersion, version);
}

std::intptr_t CAbout::windowProc(host::ui::Message& m) {
    if (m.id == host::ui::WM_PAINT) {
        version = host::sys::formatC("%s %s", Localized(kVersionText),
                                     std::string(host::sys::kProductVersion).c_str());
        if (itemText(kAboutVersion) != version) setItemText(kAboutVersion, version);
    }
    return Dialog::windowProc(m);
}

void CommandAboutKestrion() {
    CAbout about;
    const std::string product(host::sys::kProductName);
    const std::string version(host::sys::kProductVersion);
    about.productLine = host::sys::formatC(Localized(kProductLine), product.c_str(), kHostName);
    about.version = host::sys::formatC("%s %s", Localized(kVersionText), version.c_str());
    about.doModal();
}
