// A registry file of the test's own for the settings tests, and the language put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"
#include "laser/settings/laser_settings.h"

namespace laser_settings_testing {

class SettingsRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("laser_settings_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        before_ = host::reg::machineRegistry().file();
        host::reg::setMachineRegistryFile(File());
        host::ed::transcript().clear();
    }

    void TearDown() override {
        host::reg::machineRegistry().setWriteDenied(false);
        host::reg::setMachineRegistryFile(before_);
        SetLanguageFlag(0);
        std::filesystem::remove_all(dir_);
    }

    std::filesystem::path File() const { return dir_ / "registry.reg"; }
    static host::reg::RegistryKey Key() { return host::reg::productKey(); }
    static std::optional<std::string> Stored(const std::string& name) { return Key().getString(name); }
    static void Store(const std::string& name, const std::string& text) {
        ASSERT_EQ(Key().setString(name, text), host::reg::Status::Ok) << name;
    }
    static std::string Transcript() { return host::ed::transcript().text(); }

private:
    std::filesystem::path dir_;
    std::filesystem::path before_;
};

}  // namespace laser_settings_testing
