// A registry file and a drawing of the test's own for the tests of the module's state; host variables, the
// command line and the language are put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cadlib/messages.h"
#include "host/db/tables.h"
#include "host/ed/sysvars.h"
#include "host/ed/tests/input_test_drawing.h"
#include "host/ed/transcript.h"
#include "host/reg/machine_registry.h"

namespace nesting_frame_testing {

inline const std::filesystem::path kDataFolder = std::filesystem::path(KESTRION_SOURCE_DIR) / "data";

class StateTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("nesting_frame_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        before_ = host::reg::machineRegistry().file();
        host::reg::setMachineRegistryFile(dir_ / "registry.reg");
        host::ed::resetSystemVariables();
        host::ed::transcript().clear();
        SetLibraryLanguage(Language::English);
    }

    void TearDown() override {
        host::reg::machineRegistry().setWriteDenied(false);
        host::reg::setMachineRegistryFile(before_);
        host::ed::resetSystemVariables();
        SetLibraryLanguage(Language::English);
        std::filesystem::remove_all(dir_);
    }

    static void Store(const std::string& name, const std::string& text) {
        ASSERT_EQ(host::reg::productKey().setString(name, text), host::reg::Status::Ok) << name;
    }
    static void ClearRegistry() {
        host::reg::machineRegistry().deleteKey(host::reg::Hive::LocalMachine, host::reg::kProductKey);
    }
    static std::string Transcript() { return host::ed::transcript().text(); }

    host::db::ObjectPtr<host::db::LayerTableRecord> Layer(std::string_view name) {
        return host::db::ObjectPtr<host::db::LayerTableRecord>(drawing.db().recordId(host::db::TableKind::Layer, name),
                                                               host::db::OpenMode::Read);
    }
    std::string LinetypeOfLayer(std::string_view name) {
        return drawing.db().recordName(Layer(name)->linetypeId());
    }

    host::ed::testing::TestDrawing drawing;

private:
    std::filesystem::path dir_;
    std::filesystem::path before_;
};

}  // namespace nesting_frame_testing
