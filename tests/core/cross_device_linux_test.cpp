// A copy and a move between two real file systems, the test folder and /dev/shm, where no rename
// can do the move: content, mode, last-write time and attributes arrive, and a source goes only
// after its copy succeeded.

#include "test_window.h"

#include "core/bulk_operations.h"
#include "core/operation_log.h"
#include "platform/platform.h"
#include "support/linux_files.h"
#include "support/result_value.h"
#include "support/temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Stamp {
    std::string content;
    unsigned mode = 0;
    struct timespec modified {};
    std::uint32_t attributes = 0;
};

Stamp stampOf(platform::Platform& platform, const fs::path& host, const std::string& text) {
    struct stat st {};
    EXPECT_EQ(::lstat(host.c_str(), &st), 0) << host;
    return {testsupport::readBytes(host), static_cast<unsigned>(st.st_mode & 07777), st.st_mtim,
            platform.getAttributes(text).valueOr(0xffffffffu)};
}

void expectSame(const Stamp& a, const Stamp& b) {
    EXPECT_EQ(a.content, b.content);
    EXPECT_EQ(a.mode, b.mode);
    EXPECT_EQ(a.modified.tv_sec, b.modified.tv_sec);
    EXPECT_EQ(a.modified.tv_nsec, b.modified.tv_nsec);
    EXPECT_EQ(a.attributes, b.attributes);
}

TEST(AcrossFileSystems, CopyAndMoveCarryEverythingAndTheSourceGoesOnlyAfterItsCopy) {
    testsupport::TempDir here;
    const testsupport::OtherFileSystemFolder other(here.path());
    if (other.path().empty())
        GTEST_SKIP() << other.whyNot();
    const std::string shm = other.path().string();
    testsupport::FakeHome home;
    auto platform = platform::createPlatformOver(
        {{'c', home.home().string(), {}}, {'d', here.str(), {}}, {'e', shm, {}}}, here.str(),
        home.documentsText());
    core::OperationLog log(*platform);

    // a.txt with a mode, a time to the nanosecond and every stored attribute; b.txt read-only,
    // whose source a move cannot delete; c.txt, whose target may not be replaced.
    const auto file = here.file("Quelle/a.txt", std::string(200000, 'a'));
    ::chmod(file.c_str(), 0640);
    const struct timespec times[2] = {{0, UTIME_OMIT}, {1600000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    ASSERT_FALSE(platform->setAttributes("D:\\Quelle\\a.txt",
                                         platform::Hidden | platform::System | platform::Archive));
    here.file("Quelle/b.txt", "b");
    ASSERT_FALSE(platform->setAttributes("D:\\Quelle\\b.txt", platform::ReadOnly));
    here.file("Quelle/c.txt", "c");
    const auto before = stampOf(*platform, file, "D:\\Quelle\\a.txt");

    for (const bool move : {false, true}) {
        SCOPED_TRACE(move ? "move" : "copy");
        const std::string target = move ? "Verschoben" : "Kopiert";
        fs::create_directories(fs::path(shm) / target);
        std::ofstream(fs::path(shm) / target / "c.txt") << "alt";
        ASSERT_FALSE(platform->setAttributes("E:\\" + target + "\\c.txt", platform::ReadOnly));

        coretest::TestWindow window(*platform, "D:\\Quelle", "TXT", false);
        window.listMatchingFiles();
        ASSERT_EQ(window.resultList().size(), 3u);
        core::copyOrMoveEntries(window, *platform, log, "E:\\" + target, {}, move, false);

        const fs::path there = fs::path(shm) / target;
        expectSame(stampOf(*platform, there / "a.txt", "E:\\" + target + "\\a.txt"), before);
        EXPECT_EQ(fs::exists(here.path() / "Quelle/a.txt"), !move);
        EXPECT_EQ(testsupport::readBytes(there / "b.txt"), "b");
        EXPECT_EQ(testsupport::valueOf(platform->getAttributes("E:\\" + target + "\\b.txt")),
                  platform::ReadOnly);
        EXPECT_EQ(testsupport::readBytes(here.path() / "Quelle/b.txt"), "b");
        EXPECT_EQ(testsupport::readBytes(there / "c.txt"), "alt");
        EXPECT_EQ(testsupport::readBytes(here.path() / "Quelle/c.txt"), "c");
        EXPECT_EQ(window.warnings, move ? 1 : 0);
        EXPECT_EQ(window.copyWarnings, move ? 0 : 1);
        if (!move)
            expectSame(stampOf(*platform, file, "D:\\Quelle\\a.txt"), before);
    }
}

} // namespace
