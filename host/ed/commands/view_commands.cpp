// ZOOM, REGEN and REGENALL: the host's view commands, on the view state of the display.
#include <cmath>

#include "host/ed/answers.h"
#include "host/ed/command.h"
#include "host/ed/command_stack.h"
#include "host/ed/commands/command_bodies.h"
#include "host/ed/commands/command_support.h"
#include "host/ed/display.h"
#include "host/ed/documents.h"
#include "host/ed/prompts.h"
#include "host/ed/transcript.h"
#include "host/sys/number_text.h"

namespace host::ed::commands {

namespace {

// A scale factor as ZOOM takes it: "2", "2x", "2X" (relative to the view; "nXP" is taken as "nX").
std::optional<double> parseScale(std::string text) {
    while (!text.empty() && (text.back() == 'x' || text.back() == 'X' || text.back() == 'p' || text.back() == 'P'))
        text.pop_back();
    const auto value = sys::parseReal(text);
    if (!value.ok() || !(value.value > 0.0) || !std::isfinite(value.value)) return std::nullopt;
    return value.value;
}

void zoomFailed(bool ok) {
    if (!ok) fail("The view cannot be changed so.");
}

std::optional<double> askScale(std::string_view prompt) {
    const Checked<double> answer =
        askNumberChecked(prompt, "Requires a positive scale factor (n or nX).", [](const db::ResBuf& rb) {
            if (rb.code == db::RTSTR) return parseScale(rb.str());
            const double v = rb.code == db::RTREAL ? rb.real() : double(rb.integer());
            return v > 0.0 && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
        });
    if (answer.status != db::RTNORM) return std::nullopt;
    return answer.value;
}

void zoomWindowFrom(db::Database& db, const ge::Point3d& first) {
    ge::Point3d second;
    if (!answered(getCorner(first, "\nSpecify opposite corner: ", second))) return;
    zoomFailed(zoomWindow(db, first.to2d(), second.to2d()));
}

void zoomCenterOption(db::Database& db) {
    ge::Point3d center;
    if (!answered(getPoint(nullptr, "\nSpecify center point: ", center))) return;
    const double current = viewOf(db).height;
    initGet(RSG_OTHER);
    double height = current;
    const int status = getReal("\nEnter magnification or height <" + sys::formatFixed(current, 4) + ">: ", height);
    if (status == db::RTNONE) height = current;
    else if (status == db::RTKWORD) {
        std::string text;
        getInput(text);
        const auto scale = parseScale(text);
        if (!scale || text.find_first_of("xX") == std::string::npos) {
            fail("Requires a height or a magnification (nX).");
            return;
        }
        height = current / *scale;
    } else if (status != db::RTNORM) {
        return;
    }
    zoomFailed(zoomCenter(db, center.to2d(), height));
}

void zoomCommand() {
    db::Database* db = drawing();
    if (!db) return;
    initGet(RSG_OTHER, "All Center Extents Scale Window _All Center Extents Scale Window");
    ge::Point3d corner;
    const int status = getPoint(nullptr,
                                "\nSpecify corner of window, enter a scale factor (nX or nXP), or\n"
                                "[All/Center/Extents/Scale/Window] <real time>: ",
                                corner);
    if (status == db::RTNORM) return zoomWindowFrom(*db, corner);
    if (status == db::RTNONE) return;  // real time: nothing to do without a screen
    if (status != db::RTKWORD) return;
    std::string keyword;
    getInput(keyword);
    if (keyword == "All" || keyword == "Extents") return zoomFailed(zoomExtents(*db));
    if (keyword == "Center") return zoomCenterOption(*db);
    if (keyword == "Window") {
        ge::Point3d first;
        if (answered(getPoint(nullptr, "\nSpecify first corner: ", first))) zoomWindowFrom(*db, first);
        return;
    }
    if (keyword == "Scale") {
        if (const auto scale = askScale("\nEnter a scale factor (nX or nXP): ")) zoomFailed(zoomScale(*db, *scale));
        return;
    }
    if (const auto scale = parseScale(keyword)) return zoomFailed(zoomScale(*db, *scale));
    fail("Requires a point, a scale factor (nX) or an option keyword.");
}

void regenCommand() {
    print("\nRegenerating model.");
    if (db::Database* db = drawing()) regen(*db);
}

void regenAllCommand() {
    print("\nRegenerating model.");
    for (Document* doc : documents().documents()) regen(doc->database());
}

}  // namespace

void registerViewCommands() {
    addHostCommand("ZOOM", CMD_TRANSPARENT, zoomCommand);
    addHostCommand("REGEN", 0, regenCommand);
    addHostCommand("REGENALL", 0, regenAllCommand);
}

}  // namespace host::ed::commands
