// Reading the nested sheet from the drawing and making the job follow it.
#include "nesting/manual/drawn_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "cadlib/messages.h"
#include "cadlib/point_equality.h"
#include "host/db/database.h"
#include "host/db/entities.h"
#include "host/db/resbuf.h"
#include "host/db/tables.h"
#include "host/ui/message_box.h"
#include "nesting/geometry/contour_transforms.h"
#include "nesting/job/job_file_layout.h"
#include "nesting/manual/manual_messages.h"
#include "nesting/manual/part_references.h"
#include "nesting/result/sheet_drawing.h"

namespace {

// The record's items after the application name: version, status, sheet, job path.
constexpr std::size_t kItemStatus = 2;
constexpr std::size_t kItemSheet = 3;
constexpr std::size_t kItemJobPath = 4;

// Positions are the same at precision 10000, as a reference and its part's committed pose are compared.
constexpr double kSamePosition = 1.0 / kPathPointPrecision;

// A part reference of the drawing, by its type's index.
struct DrawnPart {
    int type = -1;
    double x = 0.0;
    double y = 0.0;
    double rotation = 0.0;
    bool taken = false;
};

bool HasJob(const CNestingState& state) { return state.PartTypeCount > 0 && state.PartInstanceCount > 0; }

int InstanceCount(const CNestingState& state) {
    return std::min(state.PartInstanceCount, static_cast<int>(state.PartInstances.size()));
}

// The index in PartTypes of `part`'s type, -1 for none or a clamp.
int PartTypeOf(const CNestingState& state, const PartInstance& part) {
    const int types = std::min(state.PartTypeCount, static_cast<int>(state.PartTypes.size()));
    if (!part.Type || state.PartTypes.empty()) return -1;
    const PartType* first = state.PartTypes.data();
    if (part.Type < first || part.Type >= first + types) return -1;
    if (part.Type->Kind == kKindClamp || part.Type->BlockName == kClampBlockName) return -1;
    return static_cast<int>(part.Type - first);
}

// Whether two job paths name the same file: the same text, or the same existing file.
bool SameJobFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    if (a.empty() || b.empty()) return false;
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

// Every part reference of model space whose block is a part type's (clamps and the stock are not parts).
std::vector<DrawnPart> ReadDrawnParts(const CNestingState& state) {
    std::vector<DrawnPart> parts;
    const host::db::Database* db = host::db::workingDatabase();
    if (!db) return parts;
    std::map<std::string, int> typeOfBlock;
    const int types = std::min(state.PartTypeCount, static_cast<int>(state.PartTypes.size()));
    for (int t = types - 1; t >= 0; --t) {  // the first type of a block name wins, as the commands find it
        const PartType& type = state.PartTypes[static_cast<std::size_t>(t)];
        if (type.Kind != kKindClamp && type.BlockName != kClampBlockName) typeOfBlock[type.BlockName] = t;
    }
    const auto* model = dynamic_cast<const host::db::BlockTableRecord*>(db->peek(db->modelSpaceId()));
    if (!model) return parts;
    for (const host::db::ObjectId id : model->entityIds()) {
        const auto* reference = dynamic_cast<const host::db::BlockReference*>(db->peek(id));
        if (!reference || reference->isErased()) continue;
        const auto type = typeOfBlock.find(reference->blockName());
        if (type == typeOfBlock.end()) continue;
        parts.push_back({type->second, reference->position().x, reference->position().y, reference->rotation()});
    }
    return parts;
}

// Takes a part off its sheet: both poses invalid, not placed; its Stock stays.
void Unplace(PartInstance& part) {
    if (part.TrialPose) part.TrialPose->Valid = 0;
    if (part.CommittedPose) part.CommittedPose->Valid = 0;
    part.Placed = 0;
}

// Makes the parts of stock `stock` those the drawing shows.
void FollowDrawnParts(CNestingState& state, int stock) {
    std::vector<DrawnPart> drawn = ReadDrawnParts(state);
    // per type, the drawn parts by x, so that each part finds its reference without a walk over all of them
    std::map<int, std::vector<std::size_t>> byType;
    for (std::size_t r = 0; r < drawn.size(); ++r) byType[drawn[r].type].push_back(r);
    for (auto& [type, list] : byType) {
        std::stable_sort(list.begin(), list.end(),
                         [&](std::size_t a, std::size_t b) { return drawn[a].x < drawn[b].x; });
    }

    // Parts that still lie where their reference is keep their pose.
    const int count = InstanceCount(state);
    std::map<int, std::vector<int>> lost;  // type -> parts of this sheet without their reference, in index order
    for (int i = 0; i < count; ++i) {
        PartInstance& part = state.PartInstances[static_cast<std::size_t>(i)];
        const int type = PartTypeOf(state, part);
        if (type < 0 || part.Stock != stock || part.Placed == 0 || !part.CommittedPose ||
            part.CommittedPose->Valid != 1) {
            continue;
        }
        const PartPose& pose = *part.CommittedPose;
        bool found = false;
        if (const auto list = byType.find(type); list != byType.end()) {
            auto at = std::lower_bound(list->second.begin(), list->second.end(), pose.X - kSamePosition,
                                       [&](std::size_t r, double x) { return drawn[r].x <= x; });
            for (; at != list->second.end() && drawn[*at].x - pose.X < kSamePosition; ++at) {
                DrawnPart& reference = drawn[*at];
                if (reference.taken || std::abs(reference.y - pose.Y) >= kSamePosition ||
                    !SameRotation(pose.Angle, reference.rotation)) {
                    continue;
                }
                reference.taken = true;
                found = true;
                break;
            }
        }
        if (!found) lost[type].push_back(i);
    }

    // A reference no part stands for takes a lost part of its type, else one not placed anywhere.
    std::map<int, std::size_t> lostUsed;
    std::map<int, int> unplacedFrom;
    state.CurrentStock = stock;
    for (const DrawnPart& reference : drawn) {
        if (reference.taken) continue;
        int chosen = -1;
        std::size_t& used = lostUsed[reference.type];
        if (const auto list = lost.find(reference.type); list != lost.end() && used < list->second.size()) {
            chosen = list->second[used++];
        } else {
            for (int& i = unplacedFrom[reference.type]; i < count; ++i) {
                const PartInstance& part = state.PartInstances[static_cast<std::size_t>(i)];
                if (part.Placed == 0 && PartTypeOf(state, part) == reference.type) {
                    chosen = i++;
                    break;
                }
            }
        }
        if (chosen < 0) continue;  // more references than the job has parts of the type: none stands for it
        PartInstance& part = state.PartInstances[static_cast<std::size_t>(chosen)];
        if (!part.CommittedPose) part.CommittedPose.emplace();
        ApplyPartPose(part, 0, {reference.x, reference.y}, reference.rotation);
        state.CommitPartPose(chosen);
    }
    // Parts whose reference has gone leave the sheet.
    for (const auto& [type, list] : lost) {
        for (std::size_t k = lostUsed[type]; k < list.size(); ++k) {
            Unplace(state.PartInstances[static_cast<std::size_t>(list[k])]);
        }
    }
}

// The name a message gives a command: InsertPart keeps the title its messages have always had.
std::string CommandTitle(const char* command) {
    if (std::strcmp(command, "InsertPart") == 0) return Localized(kInsertPartTitle);
    return command;
}

void ShowError(const std::string& text) {
    host::ui::messageBox(text, {}, host::ui::MB_OK | host::ui::MB_ICONERROR);
}

// Tells why a command cannot work on the drawing's sheet.
void TellWhy(const CNestingState& state, DrawnSheet sheet, const char* command) {
    const std::string title = CommandTitle(command);
    switch (sheet) {
    case DrawnSheet::NoJob: ShowError(FormatLocalized(kNoJobInMemory, title.c_str())); break;
    case DrawnSheet::NotNested: ShowError(FormatLocalized(kStartNestingFirst, title.c_str())); break;
    case DrawnSheet::NoSheet:
        ShowError(FormatLocalized(kNoSheetOfTheJobShown, state.CurrentJobPath.c_str(), title.c_str()));
        break;
    case DrawnSheet::OtherJob: {
        const std::optional<DrawnSheetMarker> marker = ReadDrawnSheetMarker();
        ShowError(FormatLocalized(kSheetOfAnotherJob, marker ? marker->jobPath.c_str() : "",
                                  state.CurrentJobPath.c_str(), title.c_str()));
        break;
    }
    case DrawnSheet::Followed: break;
    }
}

}  // namespace

std::optional<DrawnSheetMarker> ReadDrawnSheetMarker() {
    const host::db::Database* db = host::db::workingDatabase();
    if (!db) return std::nullopt;
    const auto* model = dynamic_cast<const host::db::BlockTableRecord*>(db->peek(db->modelSpaceId()));
    if (!model) return std::nullopt;
    for (const host::db::ObjectId id : model->entityIds()) {
        const auto* text = dynamic_cast<const host::db::Text*>(db->peek(id));
        if (!text || text->isErased() || text->textString() != kResultMarkerText) continue;
        const host::db::ResBufList record = text->xData(kResultMarkerApp);
        if (record.size() <= kItemJobPath || record[kItemStatus].integer() != kResultMarkerStatus) continue;
        return DrawnSheetMarker{static_cast<int>(record[kItemSheet].integer()), record[kItemJobPath].str()};
    }
    return std::nullopt;
}

DrawnSheet FollowDrawnSheet(CNestingState& state) {
    if (!HasJob(state)) return DrawnSheet::NoJob;
    if (state.UsedStockCount <= 0 || !StockOfSheet(state, 0)) return DrawnSheet::NotNested;
    const std::optional<DrawnSheetMarker> marker = ReadDrawnSheetMarker();
    if (!marker || marker->sheet < 0 || marker->sheet >= state.UsedStockCount) return DrawnSheet::NoSheet;
    if (!SameJobFile(marker->jobPath, state.CurrentJobPath)) return DrawnSheet::OtherJob;
    state.ShownSheet = marker->sheet;
    FollowDrawnParts(state, *StockOfSheet(state, marker->sheet));
    return DrawnSheet::Followed;
}

bool ManualCommandMayRun(CNestingState& state, const char* command) {
    const DrawnSheet sheet = FollowDrawnSheet(state);
    if (sheet == DrawnSheet::Followed) return true;
    TellWhy(state, sheet, command);
    return false;
}

bool NestReportMayShow(CNestingState& state) {
    const DrawnSheet sheet = FollowDrawnSheet(state);
    switch (sheet) {
    case DrawnSheet::Followed: return true;
    case DrawnSheet::NoJob:
    case DrawnSheet::NotNested:
        // the report says there are no placed parts, which is true unless the drawing shows a sheet
        if (!ReadDrawnSheetMarker()) return true;
        break;
    case DrawnSheet::NoSheet:
    case DrawnSheet::OtherJob: break;
    }
    TellWhy(state, sheet, "NestInfo");
    return false;
}
