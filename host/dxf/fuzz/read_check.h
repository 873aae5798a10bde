// The property the DXF fuzzer checks on every input, shared with the test that replays its findings: the reader
// answers a drawing or a message naming the source, and a drawing it accepts is written and read back.
#pragma once

#include <string>
#include <string_view>

#include "host/dxf/dxf_file.h"

namespace host::dxf {

// "" when the input is handled as it must be, else what went wrong.
inline std::string checkReadOfInput(std::string_view text) {
    constexpr std::string_view kSource = "fuzz.dxf";
    const ReadResult first = readDxfText(text, kSource);
    if (!first) {
        if (first.error.rfind(kSource, 0) != 0) return "a refusal that does not name the source: " + first.error;
        return {};
    }
    const std::string written = writeDxfText(*first.database);
    const ReadResult again = readDxfText(written, "written.dxf");
    if (!again) return "the reader refuses what the writer wrote from an accepted input: " + again.error;
    if (writeDxfText(*again.database) != written) return "a second save differs from the first";
    return {};
}

}  // namespace host::dxf
