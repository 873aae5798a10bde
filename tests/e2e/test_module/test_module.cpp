// The test module: a module built only for the whole-program tests, loaded by cadhost like the real ones. It
// registers a group of commands that prompt for points and keywords, run commands by name through command(),
// report the application messages the module got, and show modal dialogs (the UI layer's samples and a message
// box), so a script can show the whole loop from loading to saving.
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/app/module.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/menu_model.h"
#include "host/ed/documents.h"
#include "host/ed/prompts.h"
#include "host/ed/transcript.h"
#include "host/ui/message_box.h"
#include "host/ui/tests/sample_dialogs.h"

namespace {

using host::db::ResBuf;
using host::db::RTNORM;
using host::db::RTSTR;

constexpr const char* kGroup = "TESTMODULE";

// The messages this module got, as "<number> <document title>" (no title for the others).
std::vector<std::string> messagesGot;

host::db::ObjectId appendLine(const host::ge::Point3d& a, const host::ge::Point3d& b) {
    host::db::Database* db = host::db::workingDatabase();
    host::db::ObjectPtr<host::db::BlockTableRecord> space(db->modelSpaceId(), host::db::OpenMode::Write);
    host::db::ObjectId id;
    if (space) space->appendEntity(std::make_unique<host::db::Line>(a, b), &id);
    return id;
}

// TESTLINE: a line between two points the user gives; the second prompt rubber-bands from the first.
void testLine() {
    host::ge::Point3d first, second;
    if (host::ed::getPoint(nullptr, "\nFirst point: ", first) != RTNORM) return;
    if (host::ed::getPoint(&first, "\nNext point: ", second) != RTNORM) return;
    appendLine(first, second);
    host::ed::printf("\n\rLine from %.4f,%.4f to %.4f,%.4f", first.x, first.y, second.x, second.y);
}

// TESTKWORD: a keyword, Enter taking the offered one.
void testKeyword() {
    host::ed::initGet(0, "Circle Square");
    std::string shape;
    const int status = host::ed::getKeyword("\nShape [Circle/Square] <Circle>: ", shape);
    if (status == host::db::RTNONE) shape = "Circle";
    else if (status != RTNORM) return;
    host::ed::print("\n\rShape: " + shape);
}

// TESTRUN: runs the command given as "NAME|answer|answer..." through command(), as modules run the host's
// commands ("" answers Enter, "\" is the pause token), and tells its status.
void testRun() {
    std::string line;
    if (host::ed::getString(true, "\nCommand and answers: ", line, 1000) != RTNORM || line.empty()) return;
    host::db::ResBufList args;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = line.find('|', start);
        args.push_back(ResBuf(RTSTR, line.substr(start, bar - start)));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    const int status = host::ed::command(args);
    host::ed::printf("\n\rcommand() answered %d", status);
}

// TESTPAUSE: draws with TESTLINE from the origin to a point the user gives for the pause token.
void testPause() {
    const int status = host::ed::command({ResBuf(RTSTR, "TESTLINE"), ResBuf(RTSTR, "0,0"), ResBuf(RTSTR, "\\")});
    host::ed::printf("\n\rTESTLINE answered %d", status);
}

// TESTDOCS: the messages this module got so far.
void testDocs() {
    std::string list;
    for (const std::string& m : messagesGot) list += (list.empty() ? "" : "; ") + m;
    host::ed::print("\n\rMessages: " + list);
}

// TESTTHROW: draws, then fails with an exception; the host stops it and takes its line back.
void testThrow() {
    appendLine({0, 0, 0}, {-1, -1, 0});
    throw std::runtime_error("the test module's deliberate failure");
}

// TESTDIALOG: the sample dialog, modal; what it answered and the fields it holds then.
void testDialog() {
    host::ui::samples::CuttingOptionsDialog dialog;
    const auto answer = static_cast<int>(dialog.doModal());
    const host::ui::samples::CuttingOptions& o = dialog.options;
    host::ed::printf("\n\rDialog answered %d: name %s, quantity %d, gap %g, mirror %d, units %d, material %s", answer,
                     o.name.c_str(), o.quantity, o.gap, o.mirror ? 1 : 0, o.units, o.material.c_str());
}

// TESTSHEET: the sample property sheet, modal; what it answered and the settings then.
void testSheet() {
    host::ui::samples::MachineSettings settings;
    host::ui::samples::MachineSettingsSheet sheet(settings);
    const auto answer = static_cast<int>(sheet.doModal());
    host::ed::printf("\n\rSheet answered %d: machine %s, speed %g, power %s", answer, settings.machine.c_str(),
                     settings.speed, settings.power.c_str());
}

// TESTMSGBOX: a Yes/No/Cancel question; the answer's name.
void testMessageBox() {
    const int answer =
        host::ui::messageBox("Keep the changes?", "Test", host::ui::MB_YESNOCANCEL | host::ui::MB_ICONQUESTION);
    host::ed::print("\n\rMessage box answered " + std::string(host::ui::answerName(answer)));
}

// Set once TESTMENUS ran: the session then sees the menus again when this module is unloaded.
bool menusAsked = false;

// TESTMENUS: the menu bar, as "group/popup" entries, and the toolbars shown.
void testMenus() {
    menusAsked = true;
    host::ed::MenuModel* menus = host::ed::menuApplication();
    if (menus == nullptr) return;
    std::string bar, shown;
    for (const host::ed::MenuBarEntry& e : menus->menuBar()) bar += (bar.empty() ? "" : " | ") + e.group + "/" + e.popup;
    for (std::size_t g = 0; g < menus->groupCount(); ++g) {
        for (const host::ed::Toolbar& t : menus->group(g)->toolbars)
            if (t.visible) shown += (shown.empty() ? "" : ", ") + t.name;
    }
    host::ed::print("\n\rMenu bar: " + bar + "\n\rToolbars shown: " + shown);
}

void registerCommands() {
    struct Entry {
        const char* name;
        void (*body)();
    };
    const Entry entries[] = {
        {"TESTLINE", testLine}, {"TESTKWORD", testKeyword}, {"TESTRUN", testRun},
        {"TESTPAUSE", testPause}, {"TESTDOCS", testDocs},   {"TESTTHROW", testThrow},
        {"TESTDIALOG", testDialog}, {"TESTSHEET", testSheet}, {"TESTMSGBOX", testMessageBox},
        {"TESTMENUS", testMenus},
    };
    for (const Entry& e : entries)
        host::ed::commandStack().add({kGroup, e.name, e.name, host::ed::CMD_TRANSPARENT, e.body});
}

}  // namespace

KESTRION_MODULE_ENTRY(int message, void* packet, host::app::Module*) {
    try {
        std::string got = std::to_string(message);
        if (packet) got += " " + static_cast<host::ed::Document*>(packet)->title();
        messagesGot.push_back(got);
        switch (message) {
            case host::app::kInitAppMsg: registerCommands(); break;
            case host::app::kUnloadAppMsg:
                if (menusAsked) testMenus();
                host::ed::commandStack().removeGroup(kGroup);
                host::ed::print("\n\r[testmodule] unloaded");
                break;
            case host::app::kQuitMsg: host::ed::print("\n\r[testmodule] the host quits"); break;
            case host::app::kUnloadDwgMsg:
                host::ed::print("\n\r[testmodule] unloading " + static_cast<host::ed::Document*>(packet)->title());
                break;
            default: break;
        }
        return host::app::kRetOK;
    } catch (const std::exception&) {
        return host::app::kRetError;
    }
}
