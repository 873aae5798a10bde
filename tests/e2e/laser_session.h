// Running the laser module in a whole cadhost session: the registry file that sets the module's language, and a
// script run on a drawing with the result saved.
#pragma once

#include <filesystem>
#include <string>

#include "host/sys/tests/scratch_folder.h"
#include "tests/e2e/cadhost_runner.h"

namespace e2e {

// Writes `folder`/registry.reg, which sets the module's language ("EN" or "RU"), and answers its path.
inline std::filesystem::path writeLanguageRegistry(const host::sys::testing::ScratchFolder& folder,
                                                   const std::string& language = "EN") {
    const std::filesystem::path registry = folder / "registry.reg";
    host::sys::testing::writeBytes(registry, "Windows Registry Editor Version 5.00\r\n\r\n"
                                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                                             "\"LangMenu\"=\"" + language + "\"\r\n");
    return registry;
}

// Runs `script` (written to `folder`/run.scr) on `drawing` with the laser module loaded in English, and saves the
// drawing as `saved`; answers the run.
inline RunResult runLaserScript(const std::filesystem::path& drawing, const host::sys::testing::ScratchFolder& folder,
                                const std::string& script, const std::filesystem::path& saved) {
    const std::filesystem::path registry = writeLanguageRegistry(folder);
    host::sys::testing::writeBytes(folder / "run.scr", script);
    return cadhost({drawing.string(), "--load", "laser", "--registry", registry.string(), "--script",
                    (folder / "run.scr").string(), "--save", saved.string()},
                   folder);
}

}  // namespace e2e
