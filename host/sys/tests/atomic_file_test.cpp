// AtomicFile: the target changes only on a successful commit, and no temporary file is left behind.
#include "host/sys/atomic_file.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "host/sys/tests/scratch_folder.h"

namespace host::sys {
namespace {

using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

std::size_t entriesIn(const std::filesystem::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

TEST(AtomicFile, CommitReplacesTheTargetAndKeepsItsMode) {
    ScratchFolder dir;
    const auto target = dir / "job.nst";
    writeBytes(target, "old");
    ::chmod(target.c_str(), 0640);

    AtomicFile f(target);
    std::string error;
    ASSERT_TRUE(f.open(&error)) << error;
    EXPECT_EQ(entriesIn(dir.path()), 2u);  // the temporary file sits beside the target
    EXPECT_TRUE(f.write("new "));
    EXPECT_TRUE(f.write(std::string(100000, 'x')));  // more than one buffer
    EXPECT_EQ(readBytes(target), "old");             // nothing visible before the commit
    ASSERT_TRUE(f.commit(&error)) << error;

    EXPECT_EQ(readBytes(target), "new " + std::string(100000, 'x'));
    EXPECT_EQ(entriesIn(dir.path()), 1u);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_FALSE(f.commit(&error));  // a second commit has nothing to commit
}

TEST(AtomicFile, EmptyNewFile) {
    ScratchFolder dir;
    AtomicFile f(dir / "new.txt");
    std::string error;
    ASSERT_TRUE(f.open(&error)) << error;
    ASSERT_TRUE(f.commit(&error)) << error;  // an empty file is a file
    EXPECT_TRUE(std::filesystem::exists(dir / "new.txt"));
    EXPECT_EQ(std::filesystem::file_size(dir / "new.txt"), 0u);
}

TEST(AtomicFile, DroppedWithoutCommitLeavesTheOldFile) {
    ScratchFolder dir;
    const auto target = dir / "a.mat";
    writeBytes(target, "old");
    {
        AtomicFile f(target);
        ASSERT_TRUE(f.open(nullptr));
        f.write("half of the new content");
    }
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicFile, FailuresNameTheFileAndLeaveTheOldOne) {
    ScratchFolder dir;
    std::string error;

    AtomicFile missingFolder(dir / "no-such-folder" / "x.dxf");
    EXPECT_FALSE(missingFolder.open(&error));
    EXPECT_NE(error.find("no-such-folder/x.dxf"), std::string::npos) << error;
    EXPECT_FALSE(missingFolder.write("x"));
    EXPECT_FALSE(missingFolder.commit(&error));

    // The rename fails when the target is a folder: the folder stays and the temporary file goes.
    std::filesystem::create_directory(dir / "taken");
    writeBytes(dir / "taken" / "inside", "kept");
    AtomicFile overFolder(dir / "taken");
    ASSERT_TRUE(overFolder.open(&error)) << error;
    overFolder.write("data");
    EXPECT_FALSE(overFolder.commit(&error));
    EXPECT_NE(error.find("taken"), std::string::npos) << error;
    EXPECT_EQ(readBytes(dir / "taken" / "inside"), "kept");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicFile, UnwritableFolderLeavesTheOldFile) {
    ScratchFolder dir;
    const auto target = dir / "drawing.dxf";
    writeBytes(target, "old drawing");
    testing::UnwritableFolder lock(dir.path());
    if (!lock.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
    AtomicFile f(target);
    std::string error;
    EXPECT_FALSE(f.open(&error));
    EXPECT_NE(error.find("drawing.dxf"), std::string::npos) << error;
    EXPECT_FALSE(f.commit(&error));
    EXPECT_EQ(readBytes(target), "old drawing");
}

TEST(AtomicFile, WriteErrorIsReportedAtCommitAndLeavesTheOldFile) {
    ScratchFolder dir;
    const auto target = dir / "program.nc";
    writeBytes(target, "old program");
    // A file-size limit (ulimit -f) makes the writes fail part-way (EFBIG) as a full disk would. The system's
    // SIGXFSZ used to end the process there, without a word and with the temporary file left behind: AtomicFile
    // has it ignored, so the write fails and is reported.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* const oldHandler = std::signal(SIGXFSZ, SIG_DFL);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

    AtomicFile f(target);
    std::string error;
    const bool opened = f.open(&error);
    bool wrote = true;
    for (int i = 0; i < 10 && wrote; ++i) wrote = f.write(std::string(10000, 'g'));
    const bool committed = f.commit(&error);

    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_TRUE(opened);
    EXPECT_FALSE(wrote);
    EXPECT_FALSE(committed);
    EXPECT_NE(error.find("program.nc"), std::string::npos) << error;
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_EQ(readBytes(target), "old program");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

bool commitText(const std::filesystem::path& path, std::string_view text, std::string* error) {
    AtomicFile f(path);
    return f.open(error) && f.write(text) && f.commit(error);
}

// A save killed on the way (kill -9) left its hidden temporary file of up to the drawing's size beside it, for
// good. The next save of that file removes such leftovers: only files of exactly its own temporary name, and none
// that a save in progress holds.
TEST(AtomicFile, TheNextSaveRemovesTemporariesOfAKilledSave) {
    ScratchFolder dir;
    const auto target = dir / "plate.dxf";
    writeBytes(target, "old");
    const char* removed[] = {".plate.dxf.tmp-AbC123", ".plate.dxf.tmp-000000"};
    const char* kept[] = {".plate.dxf.tmp-AbC12",  ".plate.dxf.tmp-AbC1234", ".plate.dxf.tmp-AbC_23",
                          ".other.dxf.tmp-AbC123", "plate.dxf.tmp-AbC123",   ".plate.dxf.tmp-live01"};
    for (const char* name : removed) writeBytes(dir / name, "left by a killed save");
    for (const char* name : kept) writeBytes(dir / name, "someone else's");
    std::filesystem::create_directory(dir / ".plate.dxf.tmp-folder");
    // A save in progress in another process holds its temporary file locked.
    const int live = ::open((dir / ".plate.dxf.tmp-live01").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);

    std::string error;
    ASSERT_TRUE(commitText(target, "new", &error)) << error;
    ::close(live);
    EXPECT_EQ(readBytes(target), "new");
    for (const char* name : removed) EXPECT_FALSE(std::filesystem::exists(dir / name)) << name;
    for (const char* name : kept) EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    EXPECT_TRUE(std::filesystem::is_directory(dir / ".plate.dxf.tmp-folder"));
    EXPECT_EQ(entriesIn(dir.path()), 2u + std::size(kept));
}

// Saving onto a symbolic link used to rename the new file over the link: the link became a plain file and the
// file it named kept the old content. Every writer goes through AtomicFile, so the link is followed here.
TEST(AtomicFile, WritesThroughSymbolicLinks) {
    ScratchFolder dir;
    namespace fs = std::filesystem;
    fs::create_directory(dir / "store");
    writeBytes(dir / "store" / "real.dxf", "old");
    ::chmod((dir / "store" / "real.dxf").c_str(), 0640);
    fs::create_symlink("store/real.dxf", dir / "relative.dxf");         // counted from the link's folder
    fs::create_symlink(dir / "relative.dxf", dir / "chain.dxf");        // a link to a link
    fs::create_symlink("gone/../store/new.reg", dir / "dangling.reg");  // names a file still to be made

    struct Case {
        const char* link;
        const char* file;  // the file the link names, inside the scratch folder
    };
    for (const Case c : {Case{"relative.dxf", "store/real.dxf"}, Case{"chain.dxf", "store/real.dxf"}}) {
        SCOPED_TRACE(c.link);
        std::string error;
        const std::string text = std::string("new through ") + c.link;
        ASSERT_TRUE(commitText(dir / c.link, text, &error)) << error;
        EXPECT_TRUE(fs::is_symlink(dir / c.link));
        EXPECT_EQ(readBytes(dir / c.file), text);
        struct stat st {};
        ASSERT_EQ(::stat((dir / c.file).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);  // the mode of the file written, not of the link
        EXPECT_EQ(entriesIn(dir / "store"), 1u);
    }

    // A dangling link: the file it names is made; a folder it names that is missing is not, and the message says
    // which link failed.
    std::string error;
    fs::create_directory(dir / "gone");
    ASSERT_TRUE(commitText(dir / "dangling.reg", "made", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.reg"));
    EXPECT_EQ(readBytes(dir / "store" / "new.reg"), "made");
    fs::create_symlink("nowhere/x.reg", dir / "nowhere.reg");
    EXPECT_FALSE(commitText(dir / "nowhere.reg", "lost", &error));
    EXPECT_NE(error.find("nowhere.reg (a link to "), std::string::npos) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "nowhere.reg"));
}

TEST(AtomicFile, LoopOfLinksIsRefused) {
    ScratchFolder dir;
    namespace fs = std::filesystem;
    fs::create_symlink("b.nc", dir / "a.nc");
    fs::create_symlink("a.nc", dir / "b.nc");
    fs::create_symlink("self.nc", dir / "self.nc");
    for (const char* name : {"a.nc", "self.nc"}) {
        std::string error;
        EXPECT_FALSE(commitText(dir / name, "x", &error)) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
        EXPECT_NE(error.find("symbolic links"), std::string::npos) << error;
        EXPECT_TRUE(fs::is_symlink(dir / name));
    }
    EXPECT_EQ(entriesIn(dir.path()), 3u);
}

}  // namespace
}  // namespace host::sys
