#include "support/temp_tree.h"

#include "platform/linux/environment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using platform::linux_host::UserDirsReader;

void write(const std::filesystem::path& file, const std::string& folder) {
    std::ofstream(file) << "XDG_DOCUMENTS_DIR=\"$HOME/" << folder << "\"\n";
}

// The file is parsed again whenever it is another file or its size or times changed, so every
// answer is that of the file as it is now. (Each change waits a moment: file systems with
// coarse times tick every few milliseconds.)
TEST(UserDirsReader, AnswersForTheFileAsItIsNow) {
    testsupport::TempDir dir;
    const auto file = dir.path() / "user-dirs.dirs";
    UserDirsReader reader;
    write(file, "Eins");
    EXPECT_EQ(reader.documentsDir(file.string(), "/h"), "/h/Eins");
    EXPECT_EQ(reader.documentsDir(file.string(), "/h"), "/h/Eins");
    EXPECT_EQ(reader.documentsDir(file.string(), "/anna"), "/anna/Eins");

    const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); };
    pause();
    write(file, "Zwei"); // same size
    EXPECT_EQ(reader.documentsDir(file.string(), "/h"), "/h/Zwei");

    pause();
    write(dir.path() / "neu", "Drei");
    std::filesystem::rename(dir.path() / "neu", file);
    EXPECT_EQ(reader.documentsDir(file.string(), "/h"), "/h/Drei");

    std::filesystem::remove(file);
    EXPECT_EQ(reader.documentsDir(file.string(), "/h"), "");
    write(file, "Vier");
    EXPECT_EQ(reader.documentsDir(file.string(), "/h"), "/h/Vier");
    const auto other = dir.path() / "andere.dirs";
    write(other, "Fuenf");
    EXPECT_EQ(reader.documentsDir(other.string(), "/h"), "/h/Fuenf");
}

} // namespace
