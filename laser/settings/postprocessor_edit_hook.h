// The way from the Machine page of the system options to the postprocessor editor.
#pragma once

#include <filesystem>

// Opens the postprocessor file at `path` in the postprocessor editor and writes it back on OK. Answers true when
// the file was edited and written.
bool EditPostprocessorFromMachinePage(const std::filesystem::path& path);
