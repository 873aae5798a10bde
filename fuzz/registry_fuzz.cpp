// libFuzzer target of the registry file's reader: any bytes give a registry or a message naming the file and a
// line, and a registry it accepts is written in its own encoding and read back the same.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "host/reg/registry_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr const char* kName = "fuzz.reg";
    std::string error;
    const auto parsed = host::reg::parseRegistryFile(fuzzing::AsText(data, size), kName, &error);
    if (!parsed) {
        fuzzing::Check("registry_fuzz",
                       error.rfind(kName, 0) == 0 ? "" : "a refusal that does not name the file: " + error);
        return 0;
    }
    const std::string text = host::reg::formatRegistryText(parsed->tree);
    const std::string bytes = host::reg::encodeRegistryFile(parsed->tree, parsed->encoding);
    std::string againError;
    const auto again = host::reg::parseRegistryFile(bytes, "written.reg", &againError);
    if (!again) fuzzing::Check("registry_fuzz", "the reader refuses what the writer wrote: " + againError);
    if (host::reg::formatRegistryText(again->tree) != text) {
        fuzzing::Check("registry_fuzz", "a registry written and read back differs from the one read");
    }
    return 0;
}
