// A registry file of the test's own and an empty command line for the engine's tests; the language is put back
// to English afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cadlib/messages.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"

namespace nesting_engine_testing {

class EngineRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("nesting_engine_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        before_ = host::reg::machineRegistry().file();
        host::reg::setMachineRegistryFile(dir_ / "registry.reg");
        host::ed::transcript().clear();
    }

    void TearDown() override {
        host::reg::setMachineRegistryFile(before_);
        SetLibraryLanguage(Language::English);
        std::filesystem::remove_all(dir_);
    }

    static void Store(const std::string& name, const std::string& text) {
        ASSERT_EQ(host::reg::productKey().setString(name, text), host::reg::Status::Ok) << name;
    }
    static std::string Transcript() { return host::ed::transcript().text(); }

private:
    std::filesystem::path dir_;
    std::filesystem::path before_;
};

}  // namespace nesting_engine_testing
