// The exported-registry text layout: exact output, round trips, encodings and malformed files.
#include "host/reg/registry_format.h"

#include <gtest/gtest.h>

#include "host/sys/encoding.h"

namespace host::reg {
namespace {

using namespace std::string_literals;

RegistryTree sampleTree() {
    RegistryTree tree;
    RegistryKeyNode& key = tree.ensure(Hive::LocalMachine, {"SOFTWARE", "Kestrion", "20.0"});
    key.setValue({"Unit", ValueType::String, "mm", 0, {}});
    key.setValue({"DirInstall", ValueType::String, "C:\\Program Files\\Kestrion\\", 0, {}});
    key.setValue({"Quote \"q\"", ValueType::String, "say \"hi\" \\ bye", 0, {}});
    key.setValue({"LastNestingMaterial", ValueType::String, "Сталь 09Г2С", 0, {}});
    key.setValue({"PDMODE", ValueType::Dword, {}, 0x2a, {}});
    key.setValue({"", ValueType::String, "default", 0, {}});
    key.setValue({"Empty", ValueType::String, "", 0, {}});
    tree.ensure(Hive::CurrentUser, {"Software", "Kestrion"}).setValue({"LangMenu", ValueType::String, "1", 0, {}});
    return tree;
}

TEST(RegistryFormat, WritesTheExportLayout) {
    const std::string expected =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion]\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
        "\"Unit\"=\"mm\"\r\n"
        "\"DirInstall\"=\"C:\\\\Program Files\\\\Kestrion\\\\\"\r\n"
        "\"Quote \\\"q\\\"\"=\"say \\\"hi\\\" \\\\ bye\"\r\n"
        "\"LastNestingMaterial\"=\"Сталь 09Г2С\"\r\n"
        "\"PDMODE\"=dword:0000002a\r\n"
        "@=\"default\"\r\n"
        "\"Empty\"=\"\"\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software]\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Kestrion]\r\n"
        "\"LangMenu\"=\"1\"\r\n"
        "\r\n";
    EXPECT_EQ(formatRegistryText(sampleTree()), expected);
}

TEST(RegistryFormat, RoundTripsInBothEncodings) {
    RegistryTree tree = sampleTree();
    RegistryValue binary{"Blob", ValueType::Binary, "hex(2)", 0, {}};
    for (int i = 0; i < 300; ++i) binary.bytes.push_back(static_cast<std::uint8_t>(i));  // wraps over lines
    tree.ensure(Hive::LocalMachine, {"SOFTWARE", "Kestrion", "20.0"}).setValue(binary);
    tree.ensure(Hive::LocalMachine, {"SOFTWARE", "Kestrion", "20.0"})
        .setValue({"NoBytes", ValueType::Binary, "hex", 0, {}});
    for (auto encoding : {RegistryFileEncoding::Utf8, RegistryFileEncoding::Utf16le}) {
        const std::string bytes = encodeRegistryFile(tree, encoding);
        std::string error;
        const auto back = parseRegistryFile(bytes, "r.reg", &error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(back->encoding, encoding);
        EXPECT_TRUE(back->tree == tree);
    }
    EXPECT_EQ(encodeRegistryFile(tree, RegistryFileEncoding::Utf16le).substr(0, 4), "\xFF\xFEW\0"s);
}

TEST(RegistryFormat, ReadsWhatOtherWritersProduce) {
    // As an editor exports it: UTF-16LE with a byte-order mark, CR LF, a wrapped hex value, a comment, blank lines
    // before the header, spaces around '=', and a key named twice.
    const std::string text =
        "\r\nWindows Registry Editor Version 5.00\r\n\r\n"
        "; exported settings\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
        "\"Unit\" = \"inch\"\r\n"
        "\"Bytes\"=hex:01,02,\\\r\n"
        "  03,ff\r\n"
        "\"Count\"=dword:7\r\n"
        "[hkey_local_machine\\software\\KESTRION\\20.0]\r\n"
        "\"unit\"=\"mm\"\r\n";
    const std::u16string units = sys::utf8ToUtf16(text);
    std::string bytes = "\xFF\xFE";
    for (char16_t u : units) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    std::string error;
    const auto parsed = parseRegistryFile(bytes, "export.reg", &error);
    ASSERT_TRUE(parsed) << error;
    const RegistryKeyNode* key = parsed->tree.find(Hive::LocalMachine, {"Software", "Kestrion", "20.0"});
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values.size(), 3u);
    EXPECT_EQ(key->values[0].name, "Unit");  // the first spelling of a name stays, the later value wins
    EXPECT_EQ(key->values[0].text, "mm");
    EXPECT_EQ(key->values[1].bytes, (std::vector<std::uint8_t>{1, 2, 3, 0xff}));
    EXPECT_EQ(key->values[2].dword, 7u);

    // A UTF-8 file written elsewhere, LF ends, and an old REGEDIT4 header in CP1251.
    EXPECT_TRUE(parseRegistryFile("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"ж\"\n",
                                  "u.reg", &error));
    const auto cp = parseRegistryFile("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"\xE6\"\r\n", "c.reg", &error);
    ASSERT_TRUE(cp) << error;
    EXPECT_EQ(cp->encoding, RegistryFileEncoding::Cp1251);
    EXPECT_EQ(cp->tree.find(Hive::CurrentUser, {"A"})->values[0].text, "ж");
}

TEST(RegistryFormat, RemovalLines) {
    const std::string text =
        "Windows Registry Editor Version 5.00\n"
        "[HKEY_CURRENT_USER\\A\\B]\n\"x\"=\"1\"\n\"y\"=\"2\"\n"
        "[HKEY_CURRENT_USER\\A\\C]\n"
        "[-HKEY_CURRENT_USER\\A\\B]\n"
        "[HKEY_CURRENT_USER\\A\\C]\n\"z\"=\"3\"\n\"z\"=-\n";
    std::string error;
    const auto parsed = parseRegistryFile(text, "d.reg", &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->tree.find(Hive::CurrentUser, {"A", "B"}), nullptr);
    ASSERT_NE(parsed->tree.find(Hive::CurrentUser, {"A", "C"}), nullptr);
    EXPECT_TRUE(parsed->tree.find(Hive::CurrentUser, {"A", "C"})->values.empty());
}

// A key of many values, and a key of many sub-keys, read in one pass: every value line used to search all the
// values before it, so 40,000 values took 38 s and 100,000 did not finish. Later lines that name an earlier
// value (in other case) or remove one in the middle must still find the right entry.
TEST(RegistryFormat, KeysOfManyValuesAndSubKeys) {
    constexpr int kValues = 100000;
    constexpr int kSubKeys = 5000;
    std::string text = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Big]\r\n";
    for (int i = 0; i < kValues; ++i) text += "\"Value" + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\r\n";
    text += "\"VALUE17\"=\"again\"\r\n\"Value50000\"=-\r\n\"value50001\"=dword:1\r\n\"Last\"=\"x\"\r\n";
    for (int i = 0; i < kSubKeys; ++i) text += "[HKEY_CURRENT_USER\\Wide\\K" + std::to_string(i) + "]\r\n";
    text += "[HKEY_CURRENT_USER\\WIDE\\k7]\r\n\"In7\"=\"y\"\r\n[-HKEY_CURRENT_USER\\Wide\\K9]\r\n";

    std::string error;
    auto parsed = parseRegistryFile(text, "big.reg", &error);
    ASSERT_TRUE(parsed) << error;
    RegistryKeyNode* big = parsed->tree.find(Hive::CurrentUser, {"Big"});
    ASSERT_NE(big, nullptr);
    ASSERT_EQ(big->values.size(), static_cast<std::size_t>(kValues));  // one removed, one added
    EXPECT_EQ(big->values[17].name, "Value17");
    EXPECT_EQ(big->values[17].text, "again");
    EXPECT_EQ(big->values[50000].name, "Value50001");  // the entries after the removed one moved up
    EXPECT_EQ(big->values[50000].dword, 1u);
    EXPECT_EQ(big->values.back().name, "Last");
    EXPECT_EQ(big->findValue("value50000"), nullptr);
    ASSERT_NE(big->findValue("VALUE99999"), nullptr);
    EXPECT_EQ(big->findValue("VALUE99999")->text, "99999");

    const RegistryKeyNode* wide = parsed->tree.find(Hive::CurrentUser, {"Wide"});
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->children.size(), static_cast<std::size_t>(kSubKeys - 1));
    ASSERT_NE(wide->findChild("K7"), nullptr);
    EXPECT_EQ(wide->findChild("K7")->values.size(), 1u);
    EXPECT_EQ(wide->findChild("k9"), nullptr);
    EXPECT_EQ(wide->findChild("K10"), &wide->children[9]);

    // A copy is changed on its own, and its lookups follow its own changes.
    RegistryTree copy = parsed->tree;
    RegistryKeyNode* copied = copy.find(Hive::CurrentUser, {"Big"});
    EXPECT_TRUE(copied->removeValue("value0"));
    copied->setValue({"Value1", ValueType::String, "changed", 0, {}});
    EXPECT_EQ(copied->values[0].text, "changed");
    EXPECT_EQ(big->findValue("Value1")->text, "1");
    EXPECT_FALSE(copy == parsed->tree);
}

TEST(RegistryFormat, EmptyFileIsAnEmptyRegistry) {
    std::string error;
    for (const char* text : {"", "\r\n\r\n", "Windows Registry Editor Version 5.00\r\n"}) {
        const auto parsed = parseRegistryFile(text, "e.reg", &error);
        ASSERT_TRUE(parsed) << error;
        EXPECT_TRUE(parsed->tree.empty());
    }
}

TEST(RegistryFormat, MalformedFilesNameTheLine) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n";
    const std::string key = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"no header", key, "r.reg:1: the file does not start with \"Windows Registry Editor Version 5.00\""},
        {"wrong header", "Windows Registry Editor Version 4.00\r\n", "r.reg:1: the file does not start with"},
        {"value before any key", header + "\"Unit\"=\"mm\"\r\n", "r.reg:2: a value outside any key"},
        {"key without ]", header + "[HKEY_LOCAL_MACHINE\\SOFTWARE\r\n", "r.reg:2: a key line must end with ']'"},
        {"unknown hive", header + "[HKEY_CLASSES_ROOT\\x]\r\n", "r.reg:2: unknown root key \"HKEY_CLASSES_ROOT\""},
        {"abbreviated hive", header + "[HKLM\\x]\r\n", "r.reg:2: unknown root key \"HKLM\""},
        {"empty key name", header + "[HKEY_LOCAL_MACHINE\\A\\\\B]\r\n",
         "r.reg:2: bad key name \"HKEY_LOCAL_MACHINE\\A\\\\B\": an empty name"},
        {"trailing backslash", header + "[HKEY_LOCAL_MACHINE\\A\\]\r\n", "r.reg:2: bad key name"},
        {"stray text", header + key + "Unit=mm\r\n", "r.reg:3: not a key, a value or a comment"},
        {"unclosed name", header + key + "\"Unit=\"mm\r\n", "r.reg:3: '=' expected after the value name"},
        {"unclosed text", header + key + "\"Unit\"=\"mm\r\n", "r.reg:3: quoted text without its closing '\"'"},
        {"text after text", header + key + "\"Unit\"=\"mm\" x\r\n", "r.reg:3: text after the closing '\"'"},
        {"unknown escape", header + key + "\"Dir\"=\"C:\\Temp\"\r\n", "r.reg:3: unknown escape in quoted text"},
        {"no =", header + key + "\"Unit\" \"mm\"\r\n", "r.reg:3: '=' expected after the value name"},
        {"empty name", header + key + "\"\"=\"x\"\r\n", "r.reg:3: an empty value name"},
        {"unquoted data", header + key + "\"Unit\"=mm\r\n", "r.reg:3: a value must be \"text\", dword:, hex: or -"},
        {"dword too long", header + key + "\"N\"=dword:123456789\r\n",
         "r.reg:3: dword: needs 1 to 8 hexadecimal digits"},
        {"dword not hex", header + key + "\"N\"=dword:12g4\r\n", "r.reg:3: dword: needs 1 to 8 hexadecimal digits"},
        {"dword empty", header + key + "\"N\"=dword:\r\n", "r.reg:3: dword: needs 1 to 8 hexadecimal digits"},
        {"bad hex byte", header + key + "\"B\"=hex:01,2x\r\n", "r.reg:3: hex data must be two-digit bytes"},
        {"bad hex type", header + key + "\"B\"=hex(z):01\r\n", "r.reg:3: bad hex type \"hex(z)\""},
        {"hex at end of file", header + key + "\"B\"=hex:01,\\\r\n", "r.reg:3: hex value continued past the end"},
        {"error on continuation", header + key + "\"B\"=hex:01,\\\r\n  zz\r\n", "r.reg:4: hex data must be"},
        {"NUL byte", header + key + "\"A\"=\"x\0y\"\r\n"s, "r.reg:3: holds a NUL byte: not a text file"},
        {"line too long", header + key + "\"A\"=\"" + std::string(kMaxRegistryLineBytes, 'x') + "\"\r\n",
         "r.reg:3: line longer than 65536 bytes"},
        {"UTF-16 big-endian", "\xFE\xFF\0W"s, "r.reg:1: UTF-16 big-endian text is not read"},
        {"UTF-16 cut short", "\xFF\xFEW\0\n\0x"s, "r.reg:2: UTF-16 text with an odd number of bytes"},
        {"UTF-16 lone surrogate", "\xFF\xFEW\0\n\0\x00\xD8x\0"s, "r.reg:2: not UTF-16 text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(parseRegistryFile(c.bytes, "r.reg", &error));
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
    }
}

// A damaged file with a key name of 65,000 characters put the whole name into the message. Names are quoted as far
// as a message can show them, and the message says what is wrong with them.
TEST(RegistryFormat, LongNamesAreCutInMessages) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n";
    std::string deep = "[HKEY_CURRENT_USER";
    for (std::size_t i = 0; i <= kMaxKeyDepth; ++i) deep += "\\k";
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {"long key name", header + "[HKEY_CURRENT_USER\\" + std::string(65000, 'K') + "]\r\n",
         "r.reg:2: bad key name \"HKEY_CURRENT_USER\\" + std::string(80 - 18, 'K') +
             "...\": a name longer than 255 characters"},
        {"long root key", header + "[" + std::string(65000, 'H') + "\\x]\r\n",
         "r.reg:2: unknown root key \"" + std::string(80, 'H') + "...\" (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER"},
        {"deep key", header + deep + "]\r\n", "r.reg:2: bad key name \"HKEY_CURRENT_USER\\k\\k"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(parseRegistryFile(c.bytes, "r.reg", &error));
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
        EXPECT_LT(error.size(), 200u);
    }
    std::string error;
    parseRegistryFile(header + deep + "]\r\n", "r.reg", &error);
    EXPECT_NE(error.find("more than 64 keys deep"), std::string::npos) << error;
}

}  // namespace
}  // namespace host::reg
