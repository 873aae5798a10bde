// What the fuzz targets share: a scratch folder of the process for readers that take a path, and the stop on a
// broken property (libFuzzer keeps the input that made a target abort).
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace fuzzing {

// A folder of this process under the temporary folder, made on first use.
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("kestrion_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return dir;
    }();
    return folder;
}

// Writes `bytes` to the file `name` of the scratch folder and answers its path.
inline std::filesystem::path WriteScratchFile(const std::string& name, std::string_view bytes) {
    const std::filesystem::path path = ScratchFolder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Stops the run when `problem` is not empty: the input broke a property of the reader.
inline void Check(const char* target, const std::string& problem) {
    if (problem.empty()) return;
    std::fprintf(stderr, "%s: %s\n", target, problem.c_str());
    std::abort();
}

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fuzzing
