// LoadNestOptions, cncOpenFilesDwg and DisplayParts.
#include "nesting/commands/module_commands.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "host/ed/documents.h"
#include "nesting/commands/command_messages.h"
#include "nesting/job/job_instances.h"
#include "nesting/result/contour_drawing.h"

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

void CommandLoadNestOptions(CNestingState& state) {
    const auto clampUse = state.ClampUse;
    const auto clampQuantity = state.ClampQuantity;
    state.ReadNestingSettings();
    state.LoadNestingOptions();
    if (state.ClampUse != clampUse || state.ClampQuantity != clampQuantity) {
        ReleaseJobInstances(state);
    }
}

void CommandOpenFilesWithoutContours(CNestingState& state) {
    host::ed::DocumentManager& documents = host::ed::documents();
    host::ed::Document* caller = documents.current();
    if (state.FilesWithoutContours.empty()) {
        return;
    }
    for (const std::string& path : state.FilesWithoutContours) {
        bool open = false;
        for (const host::ed::Document* doc : documents.documents()) {
            open = open || SameNameIgnoringCase(doc->fileName().string(), path);
        }
        if (open) {
            continue;
        }
        std::string error;
        if (documents.open(path, &error) == nullptr) {
            PrintLocalized(kDrawingNotOpened, path.c_str(), error.c_str());
        }
    }
    if (caller != nullptr) {
        documents.setCurrent(*caller);
    }
}

void CommandDisplayParts(CNestingState& state) {
    for (std::int32_t i = 0; i < state.PartTypeCount && static_cast<std::size_t>(i) < state.PartTypes.size(); ++i) {
        DrawPartContours(state.PartTypes[static_cast<std::size_t>(i)]);
    }
}
