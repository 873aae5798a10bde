// The developers' diagnostic commands: they take part in nothing else.
#include <exception>
#include <iostream>
#include <numbers>
#include <string>

#include "cadlib/entity_creation.h"
#include "cadlib/host_variables.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"
#include "host/ed/prompts.h"
#include "host/sys/number_text.h"
#include "laser/frame/frame_commands.h"
#include "laser/frame/frame_messages.h"

namespace {

// The elliptical arc TTE draws.
constexpr double kTteCentreX = 30.0, kTteCentreY = 20.0;
constexpr double kTteAxisAngleDegrees = 340.0;
constexpr double kTteMajor = 100.0, kTteMinor = 50.0;

// Runs "-BOUNDARY" around `point` with the command echo on; FILEDIA is given back afterwards.
void boundaryAround(const host::ge::Point3d& point) {
    using host::db::ResBuf;
    SetSysVarInt("CMDECHO", 1);
    const std::string at = host::sys::formatC("%.4e,%.4e", point.x, point.y);
    const int status = host::ed::command(
        {ResBuf(host::db::RTSTR, "_.-BOUNDARY"), ResBuf(host::db::RTSTR, at), ResBuf(host::db::RTSTR, "")});
    if (status != host::db::RTNORM) return;
    int fileDia = 0;
    GetSysVarInt("FILEDIA", fileDia);
    SetSysVarInt("FILEDIA", 1);
    SetSysVarInt("CMDECHO", 1);
    SetSysVarInt("FILEDIA", static_cast<short>(fileDia));
}

}  // namespace

void CommandTestFor() {}

void CommandTTF() {
    host::ge::Point3d point;
    if (host::ed::getPoint(nullptr, kPickPointPromptEnglishOnly, point) != host::db::RTNORM) return;
    try {
        boundaryAround(point);
    } catch (int number) {
        std::cout << "Caught exception number:  " << number << std::endl;
    } catch (const char* text) {
        std::cout << "Caught exception: " << text << std::endl;
    } catch (const std::string& text) {
        std::cout << "Caught exception: " << text << std::endl;
    } catch (const std::exception& e) {
        std::cout << e.what() << std::endl;
    }
}

void CommandTTT() {
    host::db::EntityName entity;
    host::ge::Point3d pickPoint;
    if (host::ed::entSel(kPickEntityPromptRussianOnly, entity, pickPoint) != host::db::RTNORM) return;
    // Opened and closed again; an entity of another kind is not opened.
    host::db::ObjectPtr<host::db::LwPolyline> polyline(host::db::nameToId(entity), host::db::OpenMode::Read);
}

void CommandTTE() {
    AddEllipseArcAsArcs(host::ge::Point3d(kTteCentreX, kTteCentreY, 0.0),
                        kTteAxisAngleDegrees * std::numbers::pi / 180.0, kTteMajor, kTteMinor, 0.0, 0.0);
}
