// libFuzzer target of the DXF reader: any bytes must give a drawing or a message, never a crash, a hang or an
// unbounded allocation; and a drawing it accepts must survive a save and a second read (read_check.h).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "host/dxf/fuzz/read_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem =
        host::dxf::checkReadOfInput(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "dxf_fuzz: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
