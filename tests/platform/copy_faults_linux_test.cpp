// A copy failing inside the backend: a write failing half-way (file size limit), a full file
// system, a rename or a create refused by the file system, and the copying process dying
// half-way. Never a partial file under the target name, never a temporary file left by a copy
// that returned, the target as it was; never a part of a log line in the log.

#include "support/drive_fixture.h"
#include "support/pass_actions.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <set>

namespace {

using testsupport::readBytes;
using testsupport::TwoDrives;

const std::string kBig(300000, 'x');

// Limits the size of files this process writes, so that the copy's writes fail half-way with
// EFBIG instead of raising SIGXFSZ; undone at the end of the scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// Sets or clears the immutable flag; false when the file system or the rights do not allow it.
bool setImmutable(const std::filesystem::path& p, bool on) {
    const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

class Immutable {
public:
    explicit Immutable(std::filesystem::path p)
        : m_path(std::move(p)), m_on(setImmutable(m_path, true)) {}
    ~Immutable() {
        if (m_on)
            setImmutable(m_path, false);
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool on() const { return m_on; }

private:
    std::filesystem::path m_path;
    bool m_on;
};

TEST(CopyFaults, AWriteFailingHalfWayLeavesTheTargetAsItWas) {
    TwoDrives t;
    t.c.file("gross.bin", kBig);
    auto old = t.d.file("alt.bin", "alt");
    auto log = t.c.file("Tilgomat.txt", "1\r\n");
    std::error_code intoNew, ontoOld, logLine, nextLine;
    {
        FileSizeLimit limit(64 * 1024);
        intoNew = testsupport::copyFile(*t.fs, "C:\\gross.bin", "D:\\neu.bin");
        ontoOld = testsupport::copyFile(*t.fs, "C:\\gross.bin", "D:\\alt.bin");
        logLine = testsupport::appendToFile(*t.fs, "C:\\Tilgomat.txt", kBig);
        nextLine = testsupport::appendToFile(*t.fs, "C:\\Tilgomat.txt", "2\r\n");
    }
    EXPECT_EQ(intoNew, std::errc::file_too_large);
    EXPECT_EQ(ontoOld, std::errc::file_too_large);
    EXPECT_EQ(logLine, std::errc::file_too_large);
    EXPECT_FALSE(nextLine);
    EXPECT_EQ(readBytes(log), "1\r\n2\r\n");
    EXPECT_EQ(readBytes(old), "alt");
    EXPECT_EQ(testsupport::namesIn(t.d.path()), (std::set<std::string>{"alt.bin"}));
    EXPECT_EQ(readBytes(t.c.path() / "gross.bin"), kBig);
}

TEST(CopyFaults, AFullFileSystemLeavesTheTargetAsItWas) {
    TwoDrives t;
    const auto small = t.d.folder("klein");
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a small tmpfs cannot be mounted here: " << std::strerror(errno);
    struct Unmount {
        std::filesystem::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{small};

    t.c.file("gross.bin", kBig);
    t.c.file("klein.txt", "passt");
    auto old = t.d.file("klein/alt.bin", "alt");
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\gross.bin", "D:\\klein\\neu.bin"),
              std::errc::no_space_on_device);
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\gross.bin", "D:\\klein\\alt.bin"),
              std::errc::no_space_on_device);
    EXPECT_EQ(readBytes(old), "alt");
    EXPECT_EQ(testsupport::namesIn(small), (std::set<std::string>{"alt.bin"}));
    // The space of the failed copies is free again.
    EXPECT_FALSE(testsupport::copyFile(*t.fs, "C:\\klein.txt", "D:\\klein\\klein.txt"));
    EXPECT_EQ(readBytes(small / "klein.txt"), "passt");
}

TEST(CopyFaults, ARefusedRenameOrCreateLeavesNothingBehind) {
    TwoDrives t;
    t.c.file("neu.txt", "neu");
    auto old = t.d.file("fest/alt.txt", "alt");
    {
        // The target may not be replaced: the rename into place fails after the data was written.
        Immutable frozen(old);
        if (!frozen.on())
            GTEST_SKIP() << "the immutable flag is not available here";
        EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\fest\\alt.txt"),
                  std::errc::operation_not_permitted);
        EXPECT_EQ(readBytes(old), "alt");
        EXPECT_EQ(testsupport::namesIn(t.d.path() / "fest"), (std::set<std::string>{"alt.txt"}));
    }
    {
        // Nothing may be created in the folder: the temporary file cannot be opened.
        Immutable frozen(t.d.path() / "fest");
        ASSERT_TRUE(frozen.on());
        EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\fest\\alt.txt"),
                  std::errc::operation_not_permitted);
        EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\fest\\anderes.txt"),
                  std::errc::operation_not_permitted);
        EXPECT_EQ(testsupport::namesIn(t.d.path() / "fest"), (std::set<std::string>{"alt.txt"}));
        EXPECT_EQ(readBytes(old), "alt");
    }
    // A source that vanished is a plain failure.
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\weg.txt", "D:\\fest\\alt.txt"),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(readBytes(t.c.path() / "neu.txt"), "neu");
}

TEST(CopyFaults, ACopyWhoseProcessDiesHalfWayNeverShowsAPartialTarget) {
    TwoDrives t;
    t.c.file("gross.bin", kBig);
    auto old = t.d.file("alt.bin", "alt");
    for (const char* target : {"D:\\alt.bin", "D:\\neu.bin"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The size limit kills the process in the middle of writing the data.
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            testsupport::copyFile(*t.fs, "C:\\gross.bin", target);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << target;
        EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    }
    EXPECT_EQ(readBytes(old), "alt");
    // Only the dead copy's temporary files are there besides the untouched target.
    for (const auto& name : testsupport::namesIn(t.d.path())) {
        if (name != "alt.bin") {
            EXPECT_TRUE(name.starts_with(".tilgomat-") && name.ends_with(".tmp")) << name;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(t.d.path() / "neu.bin"));
}

} // namespace
