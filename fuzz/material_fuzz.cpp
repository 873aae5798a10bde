// libFuzzer target of the material file's reader: any bytes give the density and number texts or a refusal,
// and texts it accepts are written and read back the same.
#include <cstdint>
#include <string>

#include "cadlib/material_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzzing::WriteScratchFile("fuzz.MAT", fuzzing::AsText(data, size));
    std::string density = "unchanged", number = "unchanged";
    if (ReadMaterialFile(path, density, number) != 0) {
        if (density != "unchanged" || number != "unchanged") {
            fuzzing::Check("material_fuzz", "a refused file changed the values");
        }
        return 0;
    }
    const auto written = fuzzing::ScratchFolder() / "written.MAT";
    std::string error;
    if (!WriteMaterialFile(written, density, number, &error)) {
        fuzzing::Check("material_fuzz", "values read from a file cannot be written: " + error);
    }
    std::string densityAgain, numberAgain;
    if (ReadMaterialFile(written, densityAgain, numberAgain) != 0) {
        fuzzing::Check("material_fuzz", "the reader refuses what the writer wrote");
    }
    if (densityAgain != density || numberAgain != number) {
        fuzzing::Check("material_fuzz", "values written and read back differ: \"" + densityAgain + "\", \"" +
                                            numberAgain + "\"");
    }
    return 0;
}
