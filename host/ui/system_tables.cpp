// The system tables with their classic defaults.
#include "host/ui/system_tables.h"

namespace host::ui {

SystemTables::SystemTables() {
    // The classic scheme: grey faces, white windows, navy selection.
    colors_[COLOR_SCROLLBAR] = rgb(212, 208, 200);
    colors_[COLOR_BACKGROUND] = rgb(58, 110, 165);
    colors_[COLOR_ACTIVECAPTION] = rgb(10, 36, 106);
    colors_[COLOR_INACTIVECAPTION] = rgb(128, 128, 128);
    colors_[COLOR_MENU] = rgb(212, 208, 200);
    colors_[COLOR_WINDOW] = rgb(255, 255, 255);
    colors_[COLOR_WINDOWFRAME] = rgb(0, 0, 0);
    colors_[COLOR_MENUTEXT] = rgb(0, 0, 0);
    colors_[COLOR_WINDOWTEXT] = rgb(0, 0, 0);
    colors_[COLOR_CAPTIONTEXT] = rgb(255, 255, 255);
    colors_[COLOR_ACTIVEBORDER] = rgb(212, 208, 200);
    colors_[COLOR_INACTIVEBORDER] = rgb(212, 208, 200);
    colors_[COLOR_APPWORKSPACE] = rgb(128, 128, 128);
    colors_[COLOR_HIGHLIGHT] = rgb(10, 36, 106);
    colors_[COLOR_HIGHLIGHTTEXT] = rgb(255, 255, 255);
    colors_[COLOR_BTNFACE] = rgb(212, 208, 200);
    colors_[COLOR_BTNSHADOW] = rgb(128, 128, 128);
    colors_[COLOR_GRAYTEXT] = rgb(128, 128, 128);
    colors_[COLOR_BTNTEXT] = rgb(0, 0, 0);
    colors_[COLOR_INACTIVECAPTIONTEXT] = rgb(212, 208, 200);
    colors_[COLOR_BTNHIGHLIGHT] = rgb(255, 255, 255);
    colors_[COLOR_3DDKSHADOW] = rgb(64, 64, 64);
    colors_[COLOR_3DLIGHT] = rgb(212, 208, 200);
    colors_[COLOR_INFOTEXT] = rgb(0, 0, 0);
    colors_[COLOR_INFOBK] = rgb(255, 255, 225);
    colors_[25] = rgb(181, 181, 181);
    colors_[COLOR_HOTLIGHT] = rgb(0, 0, 128);
    colors_[COLOR_GRADIENTACTIVECAPTION] = rgb(166, 202, 240);
    colors_[COLOR_GRADIENTINACTIVECAPTION] = rgb(192, 192, 192);
    colors_[COLOR_MENUHILIGHT] = rgb(10, 36, 106);
    colors_[COLOR_MENUBAR] = rgb(212, 208, 200);

    metrics_[SM_CXSCREEN] = 1280;
    metrics_[SM_CYSCREEN] = 1024;
    metrics_[SM_CXVSCROLL] = 17;
    metrics_[SM_CYHSCROLL] = 17;
    metrics_[SM_CYCAPTION] = 18;
    metrics_[SM_CXBORDER] = 1;
    metrics_[SM_CYBORDER] = 1;
    metrics_[SM_CXDLGFRAME] = 3;
    metrics_[SM_CYDLGFRAME] = 3;
    metrics_[SM_CYVTHUMB] = 17;
    metrics_[SM_CXHTHUMB] = 17;
    metrics_[SM_CXICON] = 32;
    metrics_[SM_CYICON] = 32;
    metrics_[SM_CXCURSOR] = 32;
    metrics_[SM_CYCURSOR] = 32;
    metrics_[SM_CYMENU] = 19;
    metrics_[SM_CXFULLSCREEN] = 1280;
    metrics_[SM_CYFULLSCREEN] = 1004;
    metrics_[SM_MOUSEPRESENT] = 1;
    metrics_[SM_CYVSCROLL] = 17;
    metrics_[SM_CXHSCROLL] = 17;
    metrics_[SM_CXMIN] = 112;
    metrics_[SM_CYMIN] = 27;
    metrics_[SM_CXSIZE] = 18;
    metrics_[SM_CYSIZE] = 18;
    metrics_[SM_CXFRAME] = 4;
    metrics_[SM_CYFRAME] = 4;
    metrics_[SM_CXDOUBLECLK] = 4;
    metrics_[SM_CYDOUBLECLK] = 4;
    metrics_[SM_CXEDGE] = 2;
    metrics_[SM_CYEDGE] = 2;
    metrics_[SM_CXSMICON] = 16;
    metrics_[SM_CYSMICON] = 16;
    metrics_[SM_CXDRAG] = 4;
    metrics_[SM_CYDRAG] = 4;
    metrics_[SM_CXMENUCHECK] = 13;
    metrics_[SM_CYMENUCHECK] = 13;
    metrics_[SM_MOUSEWHEELPRESENT] = 1;
    metrics_[SM_CMONITORS] = 1;

    messageFont_.height = -12;
    messageFont_.faceName = "MS Shell Dlg";
}

ColorRef SystemTables::color(int index) const {
    return index >= 0 && index < kSysColorCount ? colors_[static_cast<std::size_t>(index)] : 0;
}

void SystemTables::setColor(int index, ColorRef c) {
    if (index >= 0 && index < kSysColorCount) colors_[static_cast<std::size_t>(index)] = c;
}

int SystemTables::metric(int index) const {
    return index >= 0 && index < kSystemMetricCount ? metrics_[static_cast<std::size_t>(index)] : 0;
}

void SystemTables::setMetric(int index, int value) {
    if (index >= 0 && index < kSystemMetricCount) metrics_[static_cast<std::size_t>(index)] = value;
}

}  // namespace host::ui
