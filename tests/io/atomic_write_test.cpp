// Writes that cannot half-happen: the target is replaced whole or left as it was,
// and no temporary file stays behind.

#include "io/atomic_write.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AtomicWriteTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kestrova-io-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Read(const fs::path& p) const {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    int Entries() const { return static_cast<int>(std::distance(fs::directory_iterator(dir), {})); }

    fs::path dir;
};

} // namespace

TEST_F(AtomicWriteTest, WritesAndReplacesWholeWithTheUsualMode) {
    const std::string path = (dir / "a.kml").string();
    ASSERT_TRUE(WriteFileAtomically(path, "first").ok());
    EXPECT_EQ(Read(path), "first");
    const std::string big(1 << 20, 'x');
    ASSERT_TRUE(WriteFileAtomically(path, big).ok());
    EXPECT_EQ(Read(path), big);
    EXPECT_EQ(Entries(), 1); // no temporary file left

    const mode_t mask = umask(0);
    umask(mask);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

TEST_F(AtomicWriteTest, RefusesDevicesFifosAndFoldersWithoutTouchingThem) {
    const fs::path fifo = dir / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& target : {std::string("/dev/full"), std::string("/dev/null"),
                                      fifo.string(), dir.string(), dir.string() + "/"}) {
        const WriteResult r = WriteFileAtomically(target, "data");
        EXPECT_FALSE(r.ok()) << target;
        EXPECT_NE(r.error.find(target), std::string::npos) << r.error;
        EXPECT_EQ(r.error.find('\n'), std::string::npos);
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    EXPECT_EQ(Entries(), 1);
}

TEST_F(AtomicWriteTest, AFolderThatCannotTakeTheFileLeavesNothing) {
    const WriteResult r = WriteFileAtomically((dir / "missing" / "a.png").string(), "x");
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error.find("No such file or directory"), std::string::npos) << r.error;
    EXPECT_EQ(Entries(), 0);
}

TEST_F(AtomicWriteTest, CommitsATemporaryFileOrRemovesIt) {
    const std::string path = (dir / "out.pdf").string();
    std::string temporary;
    const int fd = CreateTemporaryBeside(path, temporary);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(fs::path(temporary).parent_path(), dir);
    ASSERT_EQ(write(fd, "pdf", 3), 3);
    close(fd);
    ASSERT_TRUE(CommitTemporaryFile(temporary, path).ok());
    EXPECT_EQ(Read(path), "pdf");
    EXPECT_FALSE(fs::exists(temporary));

    // A rename that cannot happen (the target is a non-empty folder): the temporary
    // file goes, the folder stays.
    const fs::path folder = dir / "taken";
    fs::create_directory(folder);
    std::ofstream(folder / "inside") << "x";
    const int fd2 = CreateTemporaryBeside(folder.string(), temporary);
    ASSERT_GE(fd2, 0);
    close(fd2);
    EXPECT_FALSE(CommitTemporaryFile(temporary, folder.string()).ok());
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(AtomicWriteTest, AReplacedFileKeepsItsModeAndStaleTemporariesGo) {
    const fs::path target = dir / "private.kml";
    ASSERT_TRUE(WriteFileAtomically(target, "old").ok());
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    // A killed writer's temporary of two hours ago, and one being written now.
    const fs::path stale = dir / ".private.kml.Ab12Cd";
    const fs::path fresh = dir / ".private.kml.Xy34Zw";
    std::ofstream(stale) << "half";
    std::ofstream(fresh) << "half";
    fs::last_write_time(stale, fs::last_write_time(stale) - std::chrono::hours(2));

    ASSERT_TRUE(WriteFileAtomically(target, "new").ok());
    struct stat st {};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(Read(target), "new");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(fresh));
}
