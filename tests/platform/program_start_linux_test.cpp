// Starting a program runs exactly the file named, without a shell: shell text in the path is
// part of the file name, never a command.

#include "support/drive_fixture.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using testsupport::TwoDrives;

// The file's content once the started program has written it, or what is there after 5 s: the
// file exists from the moment the shell opens it, before anything is written into it.
std::string contentOnceWritten(const std::filesystem::path& p, const std::string& expected) {
    std::string content;
    for (int i = 0; i < 250 && (content = testsupport::readBytes(p)) != expected; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return content;
}

TEST(ProgramStart, ShellTextInThePathIsNeverRun) {
    TwoDrives t;
    const auto marker = t.d.path() / "gelaufen";
    const auto hit = t.c.path() / "getroffen";
    const std::string name = "start $(touch getroffen); `touch getroffen` && touch getroffen.sh";
    const auto script = t.c.file(name, "#!/bin/sh\necho lief > '" + marker.string() + "'\n");
    ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
    // The working folder of the test is where a shell would create the file.
    const auto here = std::filesystem::current_path() / "getroffen";

    for (const std::string& command :
         {std::string("/bin/true; touch ") + hit.string(), "true && touch " + hit.string(),
          "$(touch " + hit.string() + ")", std::string("C:\\start $(touch getroffen)")})
        EXPECT_TRUE(t.fs->startProgram(command)) << command;

    ASSERT_FALSE(t.fs->startProgram("C:\\" + name));
    EXPECT_EQ(contentOnceWritten(marker, "lief\n"), "lief\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(std::filesystem::exists(hit));
    EXPECT_FALSE(std::filesystem::exists(here));
}

} // namespace
