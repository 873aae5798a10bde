// Joining pieces into polylines per group of contour kinds with the host's PEDIT.
#include "laser/contours/contour_joining.h"

#include <algorithm>

#include "cadlib/messages.h"
#include "host/db/resbuf.h"
#include "host/ed/command.h"

using host::db::ResBuf;
using host::db::ResBufList;
using host::db::RTSTR;

namespace {

const TwoLanguageText kJoinFailed = {
    "\n\rThe objects of %i layer group(s) could not be joined into polylines.",
    "\n\rОбъекты %i групп(ы) слоёв не удалось объединить в полилинии.",
};

}  // namespace

const std::vector<JoinGroup>& JoinGroups() {
    using K = ContourKind;
    static const std::vector<JoinGroup> groups = {
        {{K::KindBase}},
        {{K::CutT2Line}},
        {{K::KindLayer1}},
        {{K::KindLayer2}},
        {{K::KindLayer3}},
        {{K::KindLayer4}},
        {{K::KindLayer5}},
        {{K::KindLayer6}},
        {{K::KindLayer7}},
        {{K::KindLayer8}},
        {{K::KindLayer9}},
        {{K::NoCloseLine}},
        {{K::EngraveLine, K::EngraveAndMarkLine, K::MarkLine}},
        {{K::HeatTreatmentLine}},
        {{K::NoLeadIn}},
        {{K::JumperLine}},
        {{K::CommonLine}},
        {{K::InsideCutLine}},
    };
    return groups;
}

int JoinEntitiesByKind(ContourEntityStage& stage) {
    std::vector<ContourEntity>& table = stage.ContourEntityTable;
    int i = 0;
    while (i < stage.ContourEntityCount) {
        const ContourEntity& e = table[static_cast<std::size_t>(i)];
        if (e.type == kEntityDropped || e.type == kEntityCircle) {
            --stage.ContourEntityCount;
            table[static_cast<std::size_t>(i)] = table[static_cast<std::size_t>(stage.ContourEntityCount)];
        } else {
            ++i;
        }
    }
    table.resize(static_cast<std::size_t>(stage.ContourEntityCount) + 1);
    if (stage.ContourEntityCount < 1) return 0;

    int failed = 0;
    for (const JoinGroup& group : JoinGroups()) {
        ResBufList args = {ResBuf(RTSTR, "_.pedit"), ResBuf(RTSTR, "_M")};
        for (int k = 0; k < stage.ContourEntityCount; ++k) {
            const ContourEntity& e = table[static_cast<std::size_t>(k)];
            if (std::find(group.kinds.begin(), group.kinds.end(), e.kind) != group.kinds.end()) {
                args.emplace_back(host::db::RTENAME, e.entityName);
            }
        }
        if (args.size() == 2) continue;
        const bool insideCut = group.kinds.front() == ContourKind::InsideCutLine;
        args.insert(args.end(), {ResBuf(RTSTR, ""), ResBuf(RTSTR, "_Y"), ResBuf(RTSTR, "_J"),
                                 ResBuf(RTSTR, insideCut ? kInsideCutJoinFuzz : kJoinFuzz), ResBuf(RTSTR, "")});
        if (host::ed::command(args) != host::db::RTNORM) ++failed;
    }
    if (failed > 0) {
        PrintLocalized(kJoinFailed, failed);
        return -1;
    }
    return 0;
}
