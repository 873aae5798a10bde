// The registry store on a real file: round trips, missing and malformed files, the refusal rule, concurrent
// writers, failed writes and batches.
#include "host/reg/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <thread>

#include "host/sys/encoding.h"
#include "host/sys/tests/scratch_folder.h"

namespace host::reg {
namespace {

using sys::testing::readBytes;
using sys::testing::ScratchFolder;
using sys::testing::writeBytes;

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string kProduct = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0";

// A store on a scratch file that collects its messages instead of printing them.
struct Store {
    explicit Store(const std::filesystem::path& file) : registry(file) {
        registry.setMessageHandler([this](const std::string& m) { messages.push_back(m); });
    }
    Registry registry;
    std::vector<std::string> messages;
};

std::uint64_t inodeOf(const std::filesystem::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(Registry, MissingFileIsEmptyAndTheFirstWriteCreatesIt) {
    ScratchFolder dir;
    const auto file = dir / "config" / "kestrion" / "registry.reg";
    Store s(file);
    EXPECT_FALSE(s.registry.openKey(Hive::LocalMachine, kProductKey));
    EXPECT_FALSE(s.registry.key(Hive::LocalMachine, kProductKey).getString("Unit"));
    EXPECT_FALSE(s.registry.writesRefused());
    EXPECT_FALSE(std::filesystem::exists(file));  // reading creates nothing

    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).setString("Unit", "mm"), Status::Ok);
    EXPECT_EQ(readBytes(file), std::string(kHeader) +
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion]\r\n\r\n"
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrion\\20.0]\r\n"
                                   "\"Unit\"=\"mm\"\r\n\r\n");
    EXPECT_TRUE(s.messages.empty());
}

TEST(Registry, ValuesRoundTripThroughTheFile) {
    ScratchFolder dir;
    const auto file = dir / "registry.reg";
    {
        Store s(file);
        RegistryKey key = s.registry.key(Hive::LocalMachine, kProductKey);
        EXPECT_EQ(key.setString("DirInstall", "C:\\Program Files\\Kestrion\\"), Status::Ok);
        EXPECT_EQ(key.setString("Quoted", "a \"b\" \\c\\ \"\""), Status::Ok);
        EXPECT_EQ(key.setString("LastNestingMaterial", "Сталь 09Г2С «лист»"), Status::Ok);
        EXPECT_EQ(key.setString("Пустое", ""), Status::Ok);
        EXPECT_EQ(key.setString("", "default value"), Status::Ok);
        EXPECT_EQ(key.setDword("PDMODE", 0xFFFFFFFFu), Status::Ok);
        EXPECT_EQ(s.registry.createKey("HKCU\\Software\\Kestrion\\Empty"), Status::Ok);
    }
    Store s(file);
    auto key = s.registry.openKey(kProduct);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->getString("DirInstall"), "C:\\Program Files\\Kestrion\\");
    EXPECT_EQ(key->getString("Quoted"), "a \"b\" \\c\\ \"\"");
    EXPECT_EQ(key->getString("LastNestingMaterial"), "Сталь 09Г2С «лист»");
    EXPECT_EQ(key->getString("пустое"), "");  // present and empty is not absent
    EXPECT_EQ(key->getString(""), "default value");
    EXPECT_EQ(key->getDword("PDMODE"), 0xFFFFFFFFu);
    EXPECT_FALSE(key->getString("PDMODE"));  // a dword is not a string: the caller takes its default
    EXPECT_FALSE(key->getDword("DirInstall"));
    EXPECT_EQ(key->valueNames(),
              (std::vector<std::string>{"DirInstall", "Quoted", "LastNestingMaterial", "Пустое", "", "PDMODE"}));
    EXPECT_TRUE(s.registry.openKey("HKEY_CURRENT_USER\\SOFTWARE\\KESTRION\\empty"));
    EXPECT_EQ(s.registry.key(Hive::CurrentUser, "Software").subKeyNames(), std::vector<std::string>{"Kestrion"});
}

TEST(Registry, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    ScratchFolder dir;
    Store s(dir / "r.reg");
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, "Software\\Kestrion\\20.0").setString("Nesing_Quality", "1"),
              Status::Ok);
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, "SOFTWARE\\KESTRION\\20.0").setString("NESING_QUALITY", "2"),
              Status::Ok);
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, "software\\kestrion\\20.0").setString("Материал", "a"), Status::Ok);
    const RegistryKey key = s.registry.key(Hive::LocalMachine, kProductKey);
    EXPECT_EQ(key.getString("nesing_quality"), "2");
    EXPECT_EQ(key.getString("МАТЕРИАЛ"), "a");
    EXPECT_EQ(key.valueNames(), (std::vector<std::string>{"Nesing_Quality", "Материал"}));
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, "").subKeyNames(), std::vector<std::string>{"Software"});
}

TEST(Registry, DeletingValuesAndKeys) {
    ScratchFolder dir;
    Store s(dir / "r.reg");
    RegistryKey key = s.registry.key(Hive::LocalMachine, kProductKey);
    key.setString("A", "1");
    key.setString("B", "2");
    s.registry.key(Hive::LocalMachine, "SOFTWARE\\Kestrion\\20.0\\Sub").setString("C", "3");
    EXPECT_EQ(key.deleteValue("a"), Status::Ok);
    EXPECT_EQ(key.deleteValue("A"), Status::NotFound);
    EXPECT_FALSE(key.getString("A"));
    EXPECT_EQ(s.registry.deleteKey("HKLM\\SOFTWARE\\Kestrion"), Status::Ok);  // with everything below it
    EXPECT_FALSE(s.registry.openKey(Hive::LocalMachine, kProductKey));
    EXPECT_EQ(s.registry.deleteKey("HKLM\\SOFTWARE\\Kestrion"), Status::NotFound);
    EXPECT_EQ(s.registry.deleteKey("HKLM"), Status::InvalidArgument);  // a hive stays
    Store again(dir / "r.reg");
    EXPECT_FALSE(again.registry.openKey("HKLM\\SOFTWARE\\Kestrion"));
    EXPECT_TRUE(again.registry.openKey("HKLM\\SOFTWARE"));
}

TEST(Registry, ArgumentsTheFileCouldNotGiveBackAreRefused) {
    ScratchFolder dir;
    Store s(dir / "r.reg");
    RegistryKey key = s.registry.key(Hive::LocalMachine, kProductKey);
    EXPECT_EQ(key.setString("Multi", "line one\r\nline two"), Status::InvalidArgument);
    EXPECT_EQ(key.setString("Bad\nName", "x"), Status::InvalidArgument);
    EXPECT_EQ(key.setString("Cp1251", "\xD1\xF2\xE0\xEB\xFC"), Status::InvalidArgument);
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, "A\\\\B").setString("x", "y"), Status::InvalidArgument);
    EXPECT_EQ(s.registry.createKey("HKEY_USERS\\x"), Status::InvalidArgument);
    EXPECT_FALSE(std::filesystem::exists(dir / "r.reg"));
}

TEST(Registry, MalformedFileIsReportedKeptAndNotWrittenOver) {
    ScratchFolder dir;
    const auto file = dir / "r.reg";
    const std::string good = std::string(kHeader) + "[" + kProduct + "]\r\n\"Unit\"=\"mm\"\r\n";
    const std::string bad = std::string(kHeader) + "[" + kProduct + "]\r\n\"Unit\"=\"inch\"\r\nUnit=cm\r\n";

    // First use of a malformed file: empty, with a message naming the file and the line.
    writeBytes(file, bad);
    Store s(file);
    EXPECT_FALSE(s.registry.key(Hive::LocalMachine, kProductKey).getString("Unit"));
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_NE(s.messages[0].find(file.string() + ":5: not a key, a value or a comment"), std::string::npos)
        << s.messages[0];
    EXPECT_TRUE(s.registry.writesRefused());
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).setString("Unit", "mm"), Status::WriteRefused);
    EXPECT_EQ(readBytes(file), bad);
    EXPECT_EQ(s.messages.size(), 1u);  // reported once, not on every call

    // The user mends the file: it is read, and writing is allowed again.
    writeBytes(file, good + "\r\n");
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).getString("Unit"), "mm");
    EXPECT_FALSE(s.registry.writesRefused());

    // Damaged again while in use: the store keeps the values it had.
    writeBytes(file, bad + "\r\n\r\n");
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).getString("Unit"), "mm");
    EXPECT_EQ(s.messages.size(), 2u);
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).setString("Thin", "2"), Status::WriteRefused);

    // Told to overwrite: the unread file is kept as .bad and the store is written.
    s.registry.allowOverwrite();
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).setString("Thin", "2"), Status::Ok);
    EXPECT_EQ(readBytes(dir / "r.reg.bad"), bad + "\r\n\r\n");
    Store reread(file);
    EXPECT_EQ(reread.registry.key(Hive::LocalMachine, kProductKey).getString("Unit"), "mm");
    EXPECT_EQ(reread.registry.key(Hive::LocalMachine, kProductKey).getString("Thin"), "2");
    EXPECT_TRUE(reread.messages.empty());
}

TEST(Registry, UnreadableFilesAreRefusedLikeMalformedOnes) {
    ScratchFolder dir;
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), ":3: holds a NUL byte"},
        {"a drawing chosen by mistake", "  0\r\nSECTION\r\n", ":1: the file does not start with"},
        {"UTF-16 without its byte-order mark", std::string("W\0i\0n\0", 6), ":1: holds a NUL byte"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = dir / "r.reg";
        writeBytes(file, c.bytes);
        Store s(file);
        EXPECT_FALSE(s.registry.refresh());
        ASSERT_EQ(s.messages.size(), 1u);
        EXPECT_NE(s.messages[0].find(c.message), std::string::npos) << s.messages[0];
        EXPECT_EQ(s.registry.key(Hive::CurrentUser, "A").setString("x", "1"), Status::WriteRefused);
        EXPECT_EQ(readBytes(file), c.bytes);
    }
    // Larger than the bound: refused before anything is read (the file is sparse, so the test stays quick).
    {
        const auto file = dir / "r.reg";
        writeBytes(file, "");
        std::filesystem::resize_file(file, kMaxRegistryFileBytes + 1);
        Store s(file);
        EXPECT_FALSE(s.registry.refresh());
        ASSERT_EQ(s.messages.size(), 1u);
        EXPECT_NE(s.messages[0].find("larger than 16777216 bytes"), std::string::npos) << s.messages[0];
        EXPECT_EQ(s.registry.key(Hive::CurrentUser, "A").setString("x", "1"), Status::WriteRefused);
        EXPECT_EQ(std::filesystem::file_size(file), kMaxRegistryFileBytes + 1);
    }
    // A folder in place of the file.
    std::filesystem::remove(dir / "r.reg");
    std::filesystem::create_directory(dir / "r.reg");
    Store s(dir / "r.reg");
    EXPECT_FALSE(s.registry.refresh());
    EXPECT_EQ(s.registry.key(Hive::CurrentUser, "A").setString("x", "1"), Status::WriteRefused);
}

TEST(Registry, ReloadSeesAnotherWritersValueInAnotherKey) {
    ScratchFolder dir;
    const auto file = dir / "r.reg";
    Store laser(file);
    Store nesting(file);
    // Both have read the file before either writes.
    EXPECT_FALSE(laser.registry.key(Hive::LocalMachine, kProductKey).getString("FeedCut"));
    EXPECT_FALSE(nesting.registry.key(Hive::LocalMachine, "SOFTWARE\\Kestrion\\Nesting").getString("LastDirNestDWG"));

    EXPECT_EQ(laser.registry.key(Hive::LocalMachine, kProductKey).setString("FeedCut", "2500"), Status::Ok);
    EXPECT_EQ(
        nesting.registry.key(Hive::LocalMachine, "SOFTWARE\\Kestrion\\Nesting").setString("LastDirNestDWG", "/jobs/"),
        Status::Ok);
    // The second writer read the first one's change before writing: nothing is lost, and each sees the other's.
    EXPECT_EQ(nesting.registry.key(Hive::LocalMachine, kProductKey).getString("FeedCut"), "2500");
    EXPECT_EQ(laser.registry.key(Hive::LocalMachine, "SOFTWARE\\Kestrion\\Nesting").getString("LastDirNestDWG"),
              "/jobs/");
    Store reread(file);
    EXPECT_EQ(reread.registry.key(Hive::LocalMachine, kProductKey).getString("FeedCut"), "2500");
}

TEST(Registry, ConcurrentWritersLoseNothing) {
    ScratchFolder dir;
    const auto file = dir / "r.reg";
    constexpr int kWrites = 30;
    auto writer = [&](const std::string& keyName) {
        Store s(file);  // each thread its own store and its own lock-file handle, as separate processes have
        for (int i = 0; i < kWrites; ++i) {
            ASSERT_EQ(s.registry.key(Hive::CurrentUser, keyName).setString("v" + std::to_string(i), std::to_string(i)),
                      Status::Ok);
        }
    };
    std::thread a(writer, "A"), b(writer, "B");
    a.join();
    b.join();
    Store s(file);
    EXPECT_EQ(s.registry.key(Hive::CurrentUser, "A").valueNames().size(), static_cast<std::size_t>(kWrites));
    EXPECT_EQ(s.registry.key(Hive::CurrentUser, "B").valueNames().size(), static_cast<std::size_t>(kWrites));
}

// A registry file kept elsewhere and named by a symbolic link (a shared settings folder): writes go to the file
// the link names, and the link stays. Writers that name the file by the link and by its own name share one lock.
TEST(Registry, FileReachedThroughALinkStaysALink) {
    ScratchFolder dir;
    namespace fs = std::filesystem;
    fs::create_directory(dir / "shared");
    const auto real = dir / "shared" / "r.reg";
    const auto link = dir / "r.reg";
    fs::create_symlink("shared/r.reg", link);
    constexpr int kWrites = 30;
    auto writer = [&](const fs::path& file, const std::string& keyName) {
        Store s(file);
        for (int i = 0; i < kWrites; ++i) {
            ASSERT_EQ(s.registry.key(Hive::CurrentUser, keyName).setString("v" + std::to_string(i), "x"), Status::Ok);
        }
        EXPECT_TRUE(s.messages.empty());
    };
    std::thread a(writer, link, "ByLink"), b(writer, real, "ByName");
    a.join();
    b.join();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_FALSE(fs::exists(dir / "r.reg.lock"));
    EXPECT_TRUE(fs::exists(dir / "shared" / "r.reg.lock"));
    Store s(real);
    EXPECT_EQ(s.registry.key(Hive::CurrentUser, "ByLink").valueNames().size(), static_cast<std::size_t>(kWrites));
    EXPECT_EQ(s.registry.key(Hive::CurrentUser, "ByName").valueNames().size(), static_cast<std::size_t>(kWrites));
}

TEST(Registry, FailedWriteLeavesTheOldFileAndTheOldValue) {
    ScratchFolder dir;
    const auto file = dir / "r.reg";
    Store s(file);
    ASSERT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).setString("Unit", "mm"), Status::Ok);
    const std::string before = readBytes(file);
    {
        sys::testing::UnwritableFolder lock(dir.path());
        if (!lock.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
        EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).setString("Unit", "inch"), Status::WriteFailed);
        EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).getString("Unit"), "mm");
        ASSERT_EQ(s.messages.size(), 1u);
        EXPECT_NE(s.messages[0].find("cannot "), std::string::npos) << s.messages[0];
        EXPECT_NE(s.messages[0].find(file.string()), std::string::npos) << s.messages[0];
    }
    EXPECT_EQ(readBytes(file), before);
}

TEST(Registry, DeniedWritesTouchNothing) {
    ScratchFolder dir;
    const auto file = dir / "r.reg";
    Store s(file);
    s.registry.key(Hive::LocalMachine, kProductKey).setString("WSCURRENT", "1");
    const std::string before = readBytes(file);
    s.registry.setWriteDenied(true);
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).setString("WSCURRENT", "0"), Status::WriteDenied);
    EXPECT_EQ(s.registry.createKey(Hive::LocalMachine, "SOFTWARE\\Other"), Status::WriteDenied);
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).getString("WSCURRENT"), "1");
    EXPECT_EQ(readBytes(file), before);
    s.registry.setWriteDenied(false);
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).setString("WSCURRENT", "0"), Status::Ok);
}

TEST(Registry, UnchangedValuesWriteNothing) {
    ScratchFolder dir;
    const auto file = dir / "r.reg";
    Store s(file);
    RegistryKey key = s.registry.key(Hive::LocalMachine, kProductKey);
    key.setString("Unit", "mm");
    const auto inode = inodeOf(file);
    EXPECT_EQ(key.setString("Unit", "mm"), Status::Ok);
    EXPECT_EQ(s.registry.createKey(Hive::LocalMachine, kProductKey), Status::Ok);
    EXPECT_EQ(inodeOf(file), inode);  // every write renames a new file in: the same inode means no write
    key.setString("Unit", "inch");
    EXPECT_NE(inodeOf(file), inode);
}

TEST(Registry, BatchWritesOnceAtItsEnd) {
    ScratchFolder dir;
    const auto file = dir / "r.reg";
    Store s(file);
    RegistryKey key = s.registry.key(Hive::LocalMachine, kProductKey);
    key.setString("Unit", "mm");
    const std::string before = readBytes(file);
    {
        Registry::Batch batch(s.registry);
        for (int i = 0; i < 100; ++i)
            EXPECT_EQ(key.setString("Color" + std::to_string(i), std::to_string(i)), Status::Ok);
        EXPECT_EQ(key.getString("Color42"), "42");  // the store answers with the batch's values
        EXPECT_EQ(readBytes(file), before);         // the file waits for the end
        EXPECT_EQ(batch.commit(), Status::Ok);
    }
    Store reread(file);
    EXPECT_EQ(reread.registry.key(Hive::LocalMachine, kProductKey).valueNames().size(), 101u);
}

TEST(Registry, FailedBatchReturnsToItsStart) {
    ScratchFolder dir;
    const auto file = dir / "r.reg";
    Store s(file);
    RegistryKey key = s.registry.key(Hive::LocalMachine, kProductKey);
    key.setString("Unit", "mm");
    sys::testing::UnwritableFolder lock(dir.path());
    if (!lock.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
    Registry::Batch batch(s.registry);
    key.setString("Unit", "inch");
    key.setString("Thin", "2");
    EXPECT_EQ(batch.commit(), Status::WriteFailed);
    EXPECT_EQ(key.getString("Unit"), "mm");
    EXPECT_FALSE(key.getString("Thin"));
}

TEST(Registry, Utf16FileStaysUtf16) {
    ScratchFolder dir;
    const auto file = dir / "r.reg";
    const std::string text = std::string(kHeader) + "[" + kProduct + "]\r\n\"Unit\"=\"мм\"\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t u : sys::utf8ToUtf16(text)) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    writeBytes(file, bytes);
    Store s(file);
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).getString("Unit"), "мм");
    EXPECT_EQ(s.registry.key(Hive::LocalMachine, kProductKey).setString("Thin", "1.5"), Status::Ok);
    const std::string written = readBytes(file);
    EXPECT_EQ(written.substr(0, 4), std::string("\xFF\xFEW\0", 4));
    Store reread(file);
    EXPECT_EQ(reread.registry.key(Hive::LocalMachine, kProductKey).getString("Thin"), "1.5");
}

}  // namespace
}  // namespace host::reg
