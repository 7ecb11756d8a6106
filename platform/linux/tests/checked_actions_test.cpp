// A listed file's action checks what stands at its name and then acts on the name: another
// program may put a file there in between, or may have made a file anew under the listed number.
// Neither may pass for the listed file.

#include "platform/error.h"
#include "support/temp_tree.h"

#include "platform/linux/birth_times.h"
#include "platform/linux/file_operations.h"
#include "platform/linux/listed_file.h"
#include "platform/linux/move_file.h"
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace {

using namespace platform;
using namespace platform::linux_host;

// The listed file "a" as checked, while another program has since put "b" at its name and
// moved it to "a.weg".
struct Swapped {
    Swapped() {
        t.file("a", "gelistet");
        t.file("b", "fremd");
        t.folder("Ziel");
        listed = UniqueFd(::open((t.path() / "a").c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        ::fstat(listed.get(), &st);
        std::filesystem::rename(t.path() / "a", t.path() / "a.weg");
        std::filesystem::rename(t.path() / "b", t.path() / "a");
        folder = UniqueFd(::open(t.str().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        target = UniqueFd(::open((t.path() / "Ziel").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    HostEntry entry(int fd, const char* name) const {
        HostEntry e{UniqueFd(::dup(fd)), name, name};
        e.pinned = true;
        return e;
    }

    testsupport::TempDir t;
    UniqueFd listed, folder, target;
    struct stat st {};
};

TEST(CheckedActions, AFileSwappedInAtTheActionIsReportedAndNeverMoved) {
    {
        Swapped s;
        EXPECT_EQ(deleteCheckedEntry(s.entry(s.folder.get(), "a"), s.listed.get(), s.st),
                  platform::Error::NotListed);
        EXPECT_EQ(testsupport::readBytes(s.t.path() / "a.weg"), "gelistet");
    }
    for (bool linking : {false, true}) {
        Swapped s;
        EXPECT_EQ(moveHostEntry(s.entry(s.folder.get(), "a"), s.listed.get(), s.st,
                                s.entry(s.target.get(), "a"), linking),
                  platform::Error::NotListed);
        EXPECT_EQ(testsupport::readBytes(s.t.path() / "a"), "fremd");
        EXPECT_TRUE(std::filesystem::is_empty(s.t.path() / "Ziel"));
        // The file checked moves, by a rename or by a link (the way of a file system without
        // a rename that refuses to replace).
        const UniqueFd other(::open((s.t.path() / "a").c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        ::fstat(other.get(), &st);
        EXPECT_FALSE(moveHostEntry(s.entry(s.folder.get(), "a"), other.get(), st,
                                   s.entry(s.target.get(), "b"), linking));
        EXPECT_EQ(testsupport::readBytes(s.t.path() / "Ziel/b"), "fremd");
        EXPECT_FALSE(std::filesystem::exists(s.t.path() / "a"));
    }
}

// Where the file system tells births, a file made after its folder was listed is not the listed
// one, even under the listed number; a file made before the listing, in the same tick of the
// clock, still is.
TEST(CheckedActions, AFileMadeAfterTheListingIsNotTheListedOne) {
    testsupport::TempDir t;
    t.file("alt", "alt");
    const auto fs = createPlatformOver({{'d', t.str(), {}}});
    Listing listing;
    ASSERT_FALSE(fs->listFolder("D:\\", ListDetail::Kind, listing));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    t.file("neu", "neu");
    const UniqueFd folder(::open(t.str().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    ASSERT_EQ(::fstat(folder.get(), &st), 0);
    if (!BirthTimes().bornSince(folder.get(), st.st_dev, 2, 1))
        GTEST_SKIP() << "the file system of " << t.str() << " tells no births";
    const auto pass = fs->beginPass({});
    for (const char* name : {"alt", "neu"}) {
        const std::string path = std::string(kExactPrefix) + "D:\\" + name;
        const ListedTrail trail{{listing.id}, fs->fileId(path)->inode, false, listing.changed};
        auto file = pass->reachListed(path, trail);
        ASSERT_TRUE(file);
        EXPECT_EQ((*file)->check(), std::string(name) == "neu"
                                        ? make_error_code(platform::Error::NotListed)
                                        : std::error_code())
            << name;
    }
}

} // namespace

namespace {

// A move deletes its source only while it is the file its copy read, unchanged: each property
// changed alone tells a change.
TEST(CheckedActions, ASourceChangedSinceItsCopyIsNotUnchanged) {
    struct stat copied {};
    copied.st_dev = 1;
    copied.st_ino = 2;
    copied.st_size = 3;
    copied.st_mtim = {4, 5};
    copied.st_ctim = {6, 7};
    EXPECT_TRUE(platform::linux_host::unchangedSince(copied, copied));
    const std::function<void(struct stat&)> changes[] = {
        [](struct stat& s) { s.st_dev = 9; },          [](struct stat& s) { s.st_ino = 9; },
        [](struct stat& s) { s.st_size = 9; },         [](struct stat& s) { s.st_mtim.tv_sec = 9; },
        [](struct stat& s) { s.st_mtim.tv_nsec = 9; }, [](struct stat& s) { s.st_ctim.tv_sec = 9; },
        [](struct stat& s) { s.st_ctim.tv_nsec = 9; }};
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        struct stat now = copied;
        changes[i](now);
        EXPECT_FALSE(platform::linux_host::unchangedSince(copied, now)) << "change " << i;
    }
}

} // namespace
