// What the job tests share: a folder of the test's own, files written into it, the sample job file and its lines.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cadlib/messages.h"
#include "host/ui/message_box.h"

namespace nesting_job_testing {

inline const std::filesystem::path kFixtures =
    std::filesystem::path(KESTRION_SOURCE_DIR) / "nesting" / "job" / "tests" / "fixtures";

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The lines of a file with CR LF ends, without them.
inline std::vector<std::string> SplitCrLf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

inline std::vector<std::string> SampleLines() { return SplitCrLf(ReadBytes(kFixtures / "sample_job.nst")); }

// A temporary folder per test, English messages and an empty message box log.
class JobTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("nesting_job_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        SetLibraryLanguage(Language::English);
        host::ui::clearMessageBoxLog();
    }
    void TearDown() override {
        SetLibraryLanguage(Language::English);
        std::filesystem::remove_all(dir_);
    }

    const std::filesystem::path& Dir() const { return dir_; }
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const {
        WriteBytes(dir_ / name, bytes);
        return dir_ / name;
    }
    static std::string LastBox() {
        const auto& log = host::ui::messageBoxLog();
        return log.empty() ? std::string() : log.back().text;
    }

private:
    std::filesystem::path dir_;
};

}  // namespace nesting_job_testing
