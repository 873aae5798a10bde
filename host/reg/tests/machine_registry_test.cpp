// Where the process's registry lives, and switching it to another file.
#include "host/reg/machine_registry.h"

#include <gtest/gtest.h>

#include "host/sys/tests/scoped_environment.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::reg {
namespace {

using sys::testing::ScopedEnvironment;

TEST(MachineRegistry, DefaultFilePrecedence) {
    ScopedEnvironment registry(kRegistryFileVariable, "/srv/k/registry.reg");
    ScopedEnvironment config("XDG_CONFIG_HOME", "/home/u/cfg");
    ScopedEnvironment home("HOME", "/home/u");
    EXPECT_EQ(defaultRegistryFile(), "/srv/k/registry.reg");
    ScopedEnvironment noRegistry(kRegistryFileVariable, "");  // empty counts as not set
    EXPECT_EQ(defaultRegistryFile(), "/home/u/cfg/kestrion/registry.reg");
    ScopedEnvironment relativeConfig("XDG_CONFIG_HOME", "cfg");  // relative: ignored, as the XDG rule says
    EXPECT_EQ(defaultRegistryFile(), "/home/u/.config/kestrion/registry.reg");
    ScopedEnvironment noConfig("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(defaultRegistryFile(), "/home/u/.config/kestrion/registry.reg");
}

TEST(MachineRegistry, SwitchesToTheNamedFile) {
    sys::testing::ScratchFolder dir;
    const std::filesystem::path before = machineRegistry().file();
    sys::testing::writeBytes(dir / "given.reg",
                             "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n\"DirInstall\"=\"/opt/k\"\r\n");
    setMachineRegistryFile(dir / "given.reg");
    EXPECT_EQ(productKey().getString("DirInstall"), "/opt/k");
    EXPECT_EQ(productKey().setString("LangMenu", "1"), Status::Ok);
    EXPECT_NE(sys::testing::readBytes(dir / "given.reg").find("\"LangMenu\"=\"1\""), std::string::npos);
    setMachineRegistryFile(before);
}

}  // namespace
}  // namespace host::reg
