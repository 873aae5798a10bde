// The system tables: colours, metrics and parameters (GetSysColor, GetSystemMetrics, SystemParametersInfo),
// with the classic defaults. Tests may change any entry; Desktop::broadcastSysColorChange() tells the windows.
#pragma once

#include <array>

#include "host/ui/constants.h"
#include "host/ui/font.h"
#include "host/ui/geometry.h"

namespace host::ui {

class SystemTables {
public:
    SystemTables();

    // GetSysColor; 0 for an index out of range.
    ColorRef color(int index) const;
    void setColor(int index, ColorRef c);
    // GetSystemMetrics; 0 for an index out of range or not kept.
    int metric(int index) const;
    void setMetric(int index, int value);

    // SPI_GETWHEELSCROLLLINES (3), or WHEEL_PAGESCROLL.
    unsigned wheelScrollLines() const { return wheelLines_; }
    void setWheelScrollLines(unsigned lines) { wheelLines_ = lines; }
    // GetDoubleClickTime: a second press within this many milliseconds (and SM_CXDOUBLECLK x SM_CYDOUBLECLK
    // pixels) makes a double click. 500.
    unsigned doubleClickTime() const { return doubleClickTime_; }
    void setDoubleClickTime(unsigned ms) { doubleClickTime_ = ms; }
    // The message font of SPI_GETNONCLIENTMETRICS: 12-pixel "MS Shell Dlg". Also the default font of windows
    // and device contexts that select none.
    const LogFont& messageFont() const { return messageFont_; }
    void setMessageFont(const LogFont& f) { messageFont_ = f; }
    // Tool tip delays (TTDT_INITIAL, TTDT_AUTOPOP): 500 and 5000 ms.
    unsigned toolTipInitialDelay() const { return tipInitial_; }
    unsigned toolTipAutoPop() const { return tipAutoPop_; }
    void setToolTipDelays(unsigned initial, unsigned autoPop) { tipInitial_ = initial; tipAutoPop_ = autoPop; }

private:
    std::array<ColorRef, kSysColorCount> colors_{};
    std::array<int, kSystemMetricCount> metrics_{};
    unsigned wheelLines_ = 3;
    unsigned doubleClickTime_ = 500;
    unsigned tipInitial_ = 500;
    unsigned tipAutoPop_ = 5000;
    LogFont messageFont_{};
};

}  // namespace host::ui
