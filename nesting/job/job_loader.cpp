// The job loader: the checks of a read job, then its rectangles, clamps and drawings, in the order their blocks
// are made.
#include "nesting/job/job_loader.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "cadlib/layers.h"
#include "host/ui/message_box.h"
#include "nesting/drawings/drawing_messages.h"
#include "nesting/drawings/part_geometry.h"
#include "nesting/job/drawing_type_loader.h"
#include "nesting/job/job_checks.h"
#include "nesting/job/job_file_layout.h"
#include "nesting/job/job_instances.h"
#include "nesting/job/job_messages.h"
#include "nesting/job/rectangle_contour.h"

namespace {

void ShowLoadMessage(const std::string& text) { host::ui::messageBox(text, {}, host::ui::MB_OK); }

std::string EntryLabel(const TwoLanguageText& kind, std::int32_t index, const PartType& type) {
    const std::string entry = FormatLocalized(kind, static_cast<int>(index) + 1);
    return FormatLocalized(kEntryWithPath, entry.c_str(), type.Path.c_str());
}

// Makes the type arrays hold their counts and the spare record (the part array's takes the clamp type), and
// reads every quantity below 0 as 0.
void NormalizeTypes(CNestingState& state) {
    const auto size = [](const std::vector<PartType>& types) { return static_cast<std::int32_t>(types.size()); };
    state.StockTypeCount = std::clamp<std::int32_t>(state.StockTypeCount, 0, size(state.StockTypes));
    state.PartTypeCount = std::clamp<std::int32_t>(state.PartTypeCount, 0, size(state.PartTypes));
    state.StockTypes.resize(static_cast<std::size_t>(state.StockTypeCount) + 1);
    state.PartTypes.resize(static_cast<std::size_t>(state.PartTypeCount) + 1);
    for (PartType& type : state.StockTypes) type.Quantity = std::max(type.Quantity, 0);
    for (PartType& type : state.PartTypes) type.Quantity = std::max(type.Quantity, 0);
    if (state.ClampUse != 1) {
        state.ClampQuantity = 0;
    }
    state.ClampQuantity = std::max(state.ClampQuantity, 0);
}

// The first reason the job cannot be built, or none.
std::optional<std::string> FindLoadProblem(const CNestingState& state) {
    std::vector<std::int64_t> stockQuantities;
    std::vector<std::int64_t> partQuantities;
    std::vector<JobBlockName> names;
    for (std::int32_t i = 0; i < state.StockTypeCount; ++i) {
        const PartType& type = state.StockTypes[static_cast<std::size_t>(i)];
        stockQuantities.push_back(type.Quantity);
        names.push_back({type.BlockName, EntryLabel(kStockEntryLabel, i, type)});
    }
    for (std::int32_t i = 0; i < state.PartTypeCount; ++i) {
        const PartType& type = state.PartTypes[static_cast<std::size_t>(i)];
        partQuantities.push_back(type.Quantity);
        names.push_back({type.BlockName, EntryLabel(kPartEntryLabel, i, type)});
    }
    if (auto problem = FindJobLimitProblem(stockQuantities, partQuantities, state.ClampQuantity)) {
        return problem;
    }
    return FindBlockNameProblem(names);
}

bool IsDrawing(const PartType& type) { return type.JobFileType == kJobFileDrawing; }

// A rectangle stock, part or clamp: its contour and block, then its lists. False when its block cannot be made.
bool LoadRectangleType(CNestingState& state, PartType& type) {
    if (MakeRectangleContour(state, type) != 0) {
        return false;
    }
    BuildPartGeometry(state, type);  // a type that fails is excluded (quantity 0); the job goes on
    return true;
}

void AddClampType(CNestingState& state, std::int32_t typeIndex) {
    PartType& clamp = state.PartTypes[static_cast<std::size_t>(state.PartTypeCount)];
    clamp = PartType{};
    clamp.JobFileType = kJobFileRectangle;
    clamp.Kind = kKindClamp;
    clamp.Quantity = state.ClampQuantity;
    clamp.BlockName = std::string(kClampBlockName);
    clamp.Path = std::string(kClampBlockName);
    clamp.TypeIndex = typeIndex;
    ++state.PartTypeCount;
    state.PartTypes.emplace_back();
}

// A drawing stock or part through the drawing reader. False when the load must stop; the reader has said why.
bool LoadDrawingFileType(CNestingState& state, PartType& type) {
    try {
        return LoadDrawingType(state, type) == kDrawingTypeLoaded;
    } catch (const std::exception&) {
        ShowLoadMessage(FormatLocalized(kErrorReadingFile, type.Path.c_str()));
        return false;
    }
}

// Drops the job whole: no types, no instances.
int FailLoad(CNestingState& state) {
    ReleaseJobInstances(state);
    state.StockTypeCount = 0;
    state.PartTypeCount = 0;
    state.StockTypes.assign(1, PartType{});
    state.PartTypes.assign(1, PartType{});
    return -1;
}

// Loads the types of one array that `wanted` selects; adds the quantities of those that loaded to `count`.
template <class Wanted>
bool LoadTypes(CNestingState& state, std::vector<PartType>& types, std::int32_t typeCount, Wanted wanted,
               std::int32_t& count) {
    for (std::int32_t i = 0; i < typeCount; ++i) {
        PartType& type = types[static_cast<std::size_t>(i)];
        if (!wanted(type)) {
            continue;
        }
        const bool loaded = IsDrawing(type) ? LoadDrawingFileType(state, type) : LoadRectangleType(state, type);
        if (!loaded) {
            return false;
        }
        count += type.Quantity;
    }
    return true;
}

}  // namespace

int LoadJobDrawings(CNestingState& state) {
    NormalizeTypes(state);
    ReleaseJobInstances(state);
    if (const auto problem = FindLoadProblem(state)) {
        ShowLoadMessage(FormatLocalized(kJobRefused, state.CurrentJobPath.c_str(), problem->c_str()));
        return FailLoad(state);
    }
    if (state.ClampUse == 1 && state.ClampQuantity > 0 && !(state.ClampWidth > 0.0 && state.ClampHeight > 0.0)) {
        ShowLoadMessage(FormatLocalized(kClampSizeInvalid, state.ClampWidth, state.ClampHeight));
        return FailLoad(state);
    }

    state.CreateCamLayers();
    std::int32_t sheets = 0;
    std::int32_t parts = 0;
    const auto rectangle = [](const PartType& type) { return !IsDrawing(type); };
    const auto drawing = [](const PartType& type) { return IsDrawing(type); };
    if (!LoadTypes(state, state.StockTypes, state.StockTypeCount, rectangle, sheets) ||
        !LoadTypes(state, state.PartTypes, state.PartTypeCount, rectangle, parts)) {
        return FailLoad(state);
    }
    if (state.ClampUse == 1 && state.ClampQuantity > 0) {
        std::string layer;
        GetCurrentLayer(layer);
        SetCurrentLayer(kClampBlockName);
        AddClampType(state, state.StockTypeCount + state.PartTypeCount);
        PartType& clamp = state.PartTypes[static_cast<std::size_t>(state.PartTypeCount) - 1];
        const bool made = LoadRectangleType(state, clamp);
        SetCurrentLayer(layer);
        if (!made) {
            return FailLoad(state);
        }
        parts += clamp.Quantity;
    } else {
        state.ClampQuantity = 0;
    }
    if (!LoadTypes(state, state.StockTypes, state.StockTypeCount, drawing, sheets) ||
        !LoadTypes(state, state.PartTypes, state.PartTypeCount, drawing, parts)) {
        return FailLoad(state);
    }
    state.StockInstanceCount = sheets;
    state.PartInstanceCount = parts;
    return 0;
}
