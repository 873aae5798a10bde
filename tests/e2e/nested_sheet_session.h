// A nested sheet cut by the cutting-path module, as the whole-program tests of NC programs make it: three part
// drawings of the nesting fixtures nested on one sheet of 250 x 150 (part gap 4, edge offset 10, no rotation), the
// job taken through the job dialog, the first sheet's contours, path and program written to `folder`/sheet.nc.
#pragma once

#include <filesystem>
#include <string>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

namespace e2e {

// Runs the session in `folder` with `registryText` as its registry and saves the cut sheet as `saved`.
inline RunResult cutNestedSheet(const host::sys::testing::ScratchFolder& folder, const std::string& registryText,
                                const std::filesystem::path& saved) {
    namespace fs = std::filesystem;
    using host::sys::testing::writeBytes;
    const fs::path source = KESTRION_SOURCE_DIR;
    const fs::path drawings = source / "nesting" / "drawings" / "tests" / "fixtures";
    const char* job =
        "Kestrion Nesting TQ450\r\n\r\nSt37\r\n1.0037\r\n7.85e-06\r\n3\r\n\r\n\r\n10\r\n4\r\n4\r\n\r\n\r\n"
        "1\r\n0\r\nStosk_250x150\r\nStosk_250x150\r\n1\r\n0\r\n1\r\n\r\n\r\n\r\n\r\n\r\n"
        "3\r\n"
        "2\r\nrect_holes.dwg\r\n2\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n\r\n\r\n\r\n"
        "2\r\nflange.dwg\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n\r\n\r\n\r\n"
        "2\r\nlshape.dwg\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n\r\n\r\n\r\n"
        "\r\n\r\n0\r\n";
    for (const char* name : {"flange", "lshape", "rect_holes"})
        fs::copy_file(drawings / (std::string(name) + ".dxf"), folder / (std::string(name) + ".dxf"));
    writeBytes(folder / "job.nst", job);
    writeBytes(folder / "registry.reg", registryText);
    // The job dialog opens without a last job file ("not found"); Load takes the job, OK confirms it.
    writeBytes(folder / "run.scr", "OpenFileNesting\ndlg press Load\nfile " + (folder / "job.nst").string() +
                                       "\ndlg press OK\nStartNestingAdv\ndlg ok\nNCCreateContour\nNCSliceAuto\n"
                                       "NCCreate\nfile " + (folder / "sheet.nc").string() +
                                       "\ndlg set 249 Sheet 1\ndlg press OK\n");
    return cadhost({"--load", "nesting,laser", "--install", (source / "data").string(), "--registry",
                    (folder / "registry.reg").string(), "--script", (folder / "run.scr").string(), "--save",
                    saved.string()},
                   folder);
}

}  // namespace e2e
