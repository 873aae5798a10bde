// libFuzzer target of the postprocessor file's reader: any bytes give settings or a message box naming the file,
// settings it accepts are written and read back the same, and when they prepare a runtime every compiled
// template runs through the moves of an NC output.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/template_run.h"
#include "host/ed/input.h"
#include "host/ui/message_box.h"
#include "laser/post/postprocessor_file.h"

namespace {

std::string FirstBox() {
    const auto& log = host::ui::messageBoxLog();
    return log.empty() ? std::string() : log.front().text;
}

void CheckPostprocessorFile(std::string_view bytes) {
    const auto path = fuzzing::WriteScratchFile("fuzz.MXT", bytes);
    PostprocessorSettings settings;
    if (ReadPostprocessorFile(settings, path) != 0) {
        if (host::ui::messageBoxLog().size() != 1) fuzzing::Check("post_fuzz", "a refusal without one message box");
        return;
    }
    if (!host::ui::messageBoxLog().empty()) fuzzing::Check("post_fuzz", "a message box on success: " + FirstBox());
    // A line longer than its key's room is cut, by the file's rule, one character beyond what the editor stores:
    // the editor then refuses to save that value and says so. Any other value read must be storable.
    bool storable = true;
    for (const PostKey& key : PostKeys()) {
        if (key.kind == PostValueKind::Flag || key.kind == PostValueKind::Mode) continue;
        const std::string reason = CheckStorablePostValue(key, settings.*key.text);
        if (reason.empty()) continue;
        storable = false;
        if (reason.find("longer than") != std::string::npos) continue;
        fuzzing::Check("post_fuzz", std::string("the value of ") + key.name + " read cannot be stored: " + reason);
    }
    if (storable) {
        const auto written = fuzzing::ScratchFolder() / "written.MXT";
        if (WritePostprocessorFile(settings, written) != 0) {
            fuzzing::Check("post_fuzz", "settings read from a file cannot be written: " + FirstBox());
        }
        const std::string first = fuzzing::ReadFile(written);
        PostprocessorSettings again;
        if (ReadPostprocessorFile(again, written) != 0) {
            fuzzing::Check("post_fuzz", "the reader refuses what the writer wrote: " + FirstBox());
        }
        if (WritePostprocessorFile(again, written) != 0 || fuzzing::ReadFile(written) != first) {
            fuzzing::Check("post_fuzz", "settings written and read back differ");
        }
    }
    PostprocessorRuntime runtime;
    if (PreparePostprocessorRuntime(settings, "fuzz.MXT", runtime) != 0) return;
    const CompiledTemplate* templates[] = {
        &runtime.ClampStr, &runtime.TrimLineStr, &runtime.UnloadOpenWinStr, &runtime.UnloadStopPrgStr,
        &runtime.MoveRapidStr, &runtime.MoveLinearStr, &runtime.CircleStr, &runtime.CutOnStr, &runtime.CutOffStr,
        &runtime.EngraveOnStr, &runtime.StartPrgStr, &runtime.EndPrgStr, &runtime.EndFileStr, &runtime.ProfLead,
        &runtime.ProfCutStr};
    for (const CompiledTemplate* compiled : templates) fuzzing::RunTemplateAsMoves(runtime, *compiled);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each input is a session of its own: the message boxes of the last one used up no answers of this one.
    host::ed::setInput(nullptr);
    host::ui::clearMessageBoxLog();
    CheckPostprocessorFile(fuzzing::AsText(data, size));
    host::ui::clearMessageBoxLog();
    return 0;
}
