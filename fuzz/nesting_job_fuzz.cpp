// libFuzzer target of the nesting job file: any bytes give a job or a message box naming the file and line, and a
// job it accepts loads its stocks and parts (rectangles built, drawings read beside the job file) or is dropped
// whole with a message; never a crash.
#include <cstdint>
#include <string>

#include "cadlib/messages.h"
#include "fuzz/fuzz_support.h"
#include "host/db/database.h"
#include "host/ed/commands/host_commands.h"
#include "host/reg/machine_registry.h"
#include "host/ed/input.h"
#include "host/ui/message_box.h"
#include "nesting/frame/nesting_state.h"
#include "nesting/job/job_file_reader.h"
#include "nesting/job/job_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The module's one nesting state, as a session keeps it from job to job (made once: it is large).
    static CNestingState& state = [] () -> CNestingState& {
        host::reg::setMachineRegistryFile(fuzzing::ScratchFolder() / "registry.reg");
        host::ed::registerHostCommands();
        SetLibraryLanguage(Language::English);
        auto* made = new CNestingState();
        made->TypeLineStock = "Continuous";
        made->TypeLinePart = "Continuous";
        return *made;
    }();
    // Each input is a session of its own: the message boxes of the last one used up no answers of this one.
    host::ed::setInput(nullptr);
    const auto path = fuzzing::WriteScratchFile("fuzz.nst", fuzzing::AsText(data, size));
    host::ui::clearMessageBoxLog();
    host::db::Database current;
    host::db::Database* previous = host::db::workingDatabase();
    host::db::setWorkingDatabase(&current);
    state.PrepareNestDrawing();
    if (ReadNestingJob(state, path.string()) != 0) {
        if (host::ui::messageBoxLog().size() != 1) {
            fuzzing::Check("nesting_job_fuzz", "a refused job file without one message box");
        }
    } else {
        LoadJobDrawings(state);
    }
    host::db::setWorkingDatabase(previous);
    host::ui::clearMessageBoxLog();
    return 0;
}
