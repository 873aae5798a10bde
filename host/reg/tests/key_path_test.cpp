// Key paths: hive names in full and abbreviated, sub-key checks.
#include "host/reg/key_path.h"

#include <gtest/gtest.h>

namespace host::reg {
namespace {

TEST(KeyPath, ParsesHivesAndSubKeys) {
    struct Case {
        std::string text;
        bool valid;
        Hive hive;
        const char* subKey;
    };
    const Case cases[] = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0", true, Hive::LocalMachine, "SOFTWARE\\Kestrion\\20.0"},
        {"HKLM\\SOFTWARE\\Kestrion", true, Hive::LocalMachine, "SOFTWARE\\Kestrion"},
        {"hkcu\\Software", true, Hive::CurrentUser, "Software"},
        {"HKEY_CURRENT_USER", true, Hive::CurrentUser, ""},
        {"HKLM\\", true, Hive::LocalMachine, ""},
        {"HKLM\\SOFTWARE\\", true, Hive::LocalMachine, "SOFTWARE"},  // one trailing '\' is ignored
        {"HKLM\\a/b", true, Hive::LocalMachine, "a/b"},              // '/' belongs to the name
        {"HKLM\\SOFTWARE\\\\Kestrion", false, Hive::LocalMachine, ""},
        {"HKEY_CLASSES_ROOT\\x", false, Hive::LocalMachine, ""},
        {"SOFTWARE\\Kestrion", false, Hive::LocalMachine, ""},
        {"", false, Hive::LocalMachine, ""},
        {"HKLM\\" + std::string(256, 'k'), false, Hive::LocalMachine, ""},
        {"HKLM\\" + std::string(255, 'k'), true, Hive::LocalMachine, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        const auto path = parseKeyPath(c.text);
        ASSERT_EQ(path.has_value(), c.valid);
        if (!path) continue;
        EXPECT_EQ(path->hive, c.hive);
        if (c.subKey) {
            EXPECT_EQ(path->subKey, c.subKey);
        }
    }
    EXPECT_EQ((KeyPath{Hive::LocalMachine, std::string(kProductKey)}.text()),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0");
    EXPECT_EQ((KeyPath{Hive::CurrentUser, ""}.text()), "HKEY_CURRENT_USER");
}

TEST(KeyPath, DepthIsBounded) {
    std::string deep;
    for (std::size_t i = 0; i < kMaxKeyDepth; ++i) deep += "k\\";
    EXPECT_TRUE(splitSubKey(deep));
    EXPECT_FALSE(splitSubKey(deep + "k"));
}

}  // namespace
}  // namespace host::reg
