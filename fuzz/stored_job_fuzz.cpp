// libFuzzer target of the job data stored in a drawing, read by both drawing modules: the cutting-path module
// opens the drawing (its job is restored), saves it (the job is written back) and opens the saved file again; the
// nesting module loads the same drawing as a part and checks it as a stock. Any bytes give a job, a drawing
// without one, or a message; never a crash.
#include <cstdint>
#include <memory>
#include <string>

#include "cadlib/messages.h"
#include "fuzz/fuzz_support.h"
#include "host/db/database.h"
#include "host/ed/commands/host_commands.h"
#include "host/ed/documents.h"
#include "host/ed/sysvars.h"
#include "host/reg/machine_registry.h"
#include "host/ed/input.h"
#include "host/ui/message_box.h"
#include "laser/job/job_life_cycle.h"
#include "laser/settings/laser_settings.h"
#include "nesting/drawings/drawing_entry.h"
#include "nesting/drawings/part_drawing_reader.h"
#include "nesting/frame/nesting_state.h"

namespace {

CLaserSettings& LaserSettings() {
    static CLaserSettings* settings = [] {
        host::reg::setMachineRegistryFile(fuzzing::ScratchFolder() / "registry.reg");
        host::ed::registerHostCommands();
        SetLanguageFlag(0);
        SetLibraryLanguage(Language::English);
        auto* made = new CLaserSettings();
        host::ed::documents().setListener([made](host::ed::DocumentEvent event, host::ed::Document&) {
            switch (event) {
                case host::ed::DocumentEvent::Loaded: OnLoadDrawing(*made); break;
                case host::ed::DocumentEvent::Unloading: OnUnloadDrawing(*made); break;
                case host::ed::DocumentEvent::Saving: OnSaveDrawing(*made); break;
            }
        });
        return made;
    }();
    return *settings;
}

// The cutting-path module: open, save, close, and open the saved drawing.
void OpenAndSaveAsLaserJob(const std::filesystem::path& path) {
    LaserSettings();
    std::string error;
    host::ed::Document* doc = host::ed::documents().open(path, &error);
    if (!doc) return;
    const auto saved = fuzzing::ScratchFolder() / "saved.dxf";
    const bool wasSaved = host::ed::documents().save(*doc, saved, &error);
    host::ed::documents().close(*doc);
    if (!wasSaved) return;
    host::ed::Document* again = host::ed::documents().open(saved, &error);
    if (!again) fuzzing::Check("stored_job_fuzz", "the reader refuses a drawing the module saved: " + error);
    host::ed::documents().close(*again);
}

// The module's one nesting state, as a session keeps it from job to job (made once: it is large).
CNestingState& NestingState() {
    static CNestingState* state = [] {
        auto* made = new CNestingState();
        made->TypeLineStock = "Continuous";
        made->TypeLinePart = "Continuous";
        return made;
    }();
    return *state;
}

// The nesting module: the drawing loaded as a part into a drawing of its own, and checked as a stock.
void LoadAsNestingPart(const std::filesystem::path& path) {
    host::db::Database current;
    host::db::Database* previous = host::db::workingDatabase();
    host::db::setWorkingDatabase(&current);
    {
        CNestingState& state = NestingState();
        state.PrepareNestDrawing();
        PartType part;
        part.Path = path.string();
        part.Kind = kKindPart;
        part.BlockName = "FUZZ";
        part.Quantity = 2;
        part.JobFileType = kJobFileDrawing;
        LoadDrawingEntry(state, part);
        PartType stock = part;
        stock.Kind = kKindStock;
        stock.BlockName = "FUZZSTOCK";
        CheckPartDrawing(stock);
    }
    host::db::setWorkingDatabase(previous);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each input is a session of its own: the message boxes of the last one used up no answers of this one.
    host::ed::setInput(nullptr);
    const auto path = fuzzing::WriteScratchFile("fuzz.dxf", fuzzing::AsText(data, size));
    OpenAndSaveAsLaserJob(path);
    LoadAsNestingPart(path);
    host::ui::clearMessageBoxLog();
    return 0;
}
