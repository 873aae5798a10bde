// Helpers of the postprocessor tests: temporary files, the shipped postprocessor's lines and the message boxes.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/ui/message_box.h"
#include "laser/post/postprocessor_file.h"
#include "laser/settings/laser_settings.h"

namespace post_test {

inline std::filesystem::path SourceDir() { return KESTRION_SOURCE_DIR; }
inline std::filesystem::path Fixture(const char* name) { return SourceDir() / "laser/post/tests/fixtures" / name; }
// The reference laser postprocessor the tests are written against (fixtures/README.md), a keyed file in the
// shipped layout.
inline std::filesystem::path ShippedLaser() { return Fixture("reference/FANUC.MXT"); }

// A fresh folder of this test process under the temporary folder.
inline std::filesystem::path TempDir() {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("kestrion_post_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The lines of a file (LF or CR LF ends dropped).
inline std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadBytes(path));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines, const char* end = "\r\n") {
    std::string text;
    for (const std::string& line : lines) text += line + end;
    return text;
}

// The index of the first line equal to `line`, or -1.
inline int IndexOf(const std::vector<std::string>& lines, const std::string& line) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == line) return static_cast<int>(i);
    }
    return -1;
}

inline std::vector<std::string> MessageBoxTexts() {
    std::vector<std::string> texts;
    for (const host::ui::MessageBoxRecord& box : host::ui::messageBoxLog()) texts.push_back(box.text);
    return texts;
}

}  // namespace post_test
