// The About box: the product line and its version.
#pragma once

#include <string>

#include "host/ui/dialog.h"

inline constexpr int kAboutProductLine = 312;
inline constexpr int kAboutVersion = 313;

class CAbout : public host::ui::Dialog {
public:
    explicit CAbout(host::ui::Window* parent = nullptr);

    std::string productLine;  // control 312
    std::string version;      // control 313, set again whenever the box paints

protected:
    void doDataExchange(host::ui::DataExchange& dx) override;
    std::intptr_t windowProc(host::ui::Message& m) override;
};

// AboutKestrion: the About box, modal; OK closes it.
void CommandAboutKestrion();
