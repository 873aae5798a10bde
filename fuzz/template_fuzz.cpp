// libFuzzer target of the template compiler: any text compiles or names its fault, and a template that compiles
// runs through every move of an NC output with the shipped laser postprocessor.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/template_run.h"
#include "host/ed/input.h"
#include "host/ui/message_box.h"
#include "laser/post/postprocessor_file.h"

namespace {

const PostprocessorRuntime& ShippedRuntime() {
    static const PostprocessorRuntime runtime = [] {
        PostprocessorRuntime prepared;
        if (LoadPostprocessorRuntimeFrom(KESTRION_SOURCE_DIR "/data/post/FANUC.MXT", prepared) != 0) {
            fuzzing::Check("template_fuzz", "the shipped postprocessor does not load");
        }
        return prepared;
    }();
    return runtime;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each input is a session of its own: the message boxes of the last one used up no answers of this one.
    host::ed::setInput(nullptr);
    const PostprocessorRuntime& runtime = ShippedRuntime();
    CompiledTemplate compiled;
    TemplateFault fault = TemplateFault::None;
    std::string keyword;
    const int status = CompileTemplate(fuzzing::AsText(data, size), compiled, 0, &fault, &keyword);
    if (status != 0) {
        fuzzing::Check("template_fuzz", fault == TemplateFault::None ? "a refusal without its fault" : "");
        return 0;
    }
    if (fault != TemplateFault::None) fuzzing::Check("template_fuzz", "a fault reported with success");
    fuzzing::RunTemplateAsMoves(runtime, compiled);
    host::ui::clearMessageBoxLog();
    return 0;
}
