#include "support/drive_fixture.h"
#include "support/pass_actions.h"

#include "platform/linux/name_mapping.h"
#include "support/result_value.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using platform::linux_host::hostName;
using platform::linux_host::programName;
using testsupport::valueOf;

TEST(NameMapping, ForbiddenCharactersBecomePrivateUse) {
    EXPECT_EQ(programName("Brief.txt"), "Brief.txt");
    EXPECT_EQ(programName("a\\b"), "a\xEF\x81\x9C"
                                   "b"); // U+F05C
    EXPECT_EQ(programName("a:b"), "a\xEF\x80\xBA"
                                  "b"); // U+F03A
    EXPECT_EQ(programName("*?\"<>|"), "\xEF\x80\xAA\xEF\x80\xBF\xEF\x80\xA2\xEF\x80\xBC\xEF\x80\xBE"
                                      "\xEF\x81\xBC");
    EXPECT_EQ(programName("\x01\x1F"), "\xEF\x80\x81\xEF\x80\x9F");
    // Literal private-use characters are escaped with U+F000, so they cannot be taken for a
    // mapped character.
    EXPECT_EQ(programName("x\xEF\x81\x9C"), "x\xEF\x80\x80\xEF\x81\x9C");
    EXPECT_EQ(programName("\xEF\x80\x80"), "\xEF\x80\x80\xEF\x80\x80");
    // Bytes that are not UTF-8 pass, as do characters just outside the mapped range.
    EXPECT_EQ(programName("\xFF\xEF\x80"), "\xFF\xEF\x80");
    EXPECT_EQ(programName("\xEF\x82\x80"), "\xEF\x82\x80");

    EXPECT_EQ(hostName("a\xEF\x81\x9C"
                       "b"),
              "a\\b");
    EXPECT_EQ(hostName("x\xEF\x80\x80\xEF\x81\x9C"), "x\xEF\x81\x9C");
    // A private-use character that stands for no forbidden character stays itself.
    EXPECT_EQ(hostName("\xEF\x81\x81"), "\xEF\x81\x81");
    EXPECT_EQ(hostName("\xEF\x80\x80"), "\xEF\x80\x80");
}

TEST(NameMapping, HostToProgramToHostIsIdentity) {
    std::mt19937 random(7);
    const std::string alphabet =
        std::string("aZ.\\:*?\"<>|\x01\x1F\xEF\x80\x81\x82\xBF\xFF\xC3", 21);
    for (int i = 0; i < 20000; ++i) {
        std::string name;
        int length = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k)
            name.push_back(alphabet[random() % alphabet.size()]);
        std::string program = programName(name);
        ASSERT_EQ(hostName(program), name);
        for (char c : program)
            ASSERT_FALSE(c == '\\' || c == ':' || c == '*' || c == '?' || c == '|' ||
                         (c > 0 && c < 32));
    }
}

TEST(NameMapping, HostNameWithSeparatorIsActedOnAsItself) {
    testsupport::TwoDrives t;
    auto odd = t.c.file("X/a\\b:c", "echt");
    // The file that the name's text would denote if it were read as path text.
    auto decoy = t.c.file("X/a/b:c", "Attrappe");
    t.c.file("X/a/b", "Attrappe");

    platform::Listing listing;
    ASSERT_FALSE(t.fs->listFolder("C:\\X", platform::ListDetail::Attributes, listing));
    std::string shown;
    for (const auto& e : listing.entries())
        if (listing.hostName(e) == "a\\b:c")
            shown = listing.name(e);
    ASSERT_EQ(shown, "a\xEF\x81\x9C"
                     "b\xEF\x80\xBA"
                     "c");

    const std::string path = "C:\\X\\" + shown;
    EXPECT_EQ(valueOf(t.fs->canonicalPath("c:\\x\\" + shown)), path);
    EXPECT_EQ(valueOf(t.fs->fileLength(path)), 4u);
    EXPECT_EQ(valueOf(t.fs->readFile(path)), "echt");
    ASSERT_FALSE(testsupport::copyFile(*t.fs, path, "C:\\X\\kopie"));
    EXPECT_EQ(testsupport::readBytes(t.c.path() / "X/kopie"), "echt");
    ASSERT_FALSE(t.fs->deleteFile(path));
    EXPECT_FALSE(testsupport::entryExists(odd));
    EXPECT_EQ(testsupport::readBytes(decoy), "Attrappe");
    EXPECT_EQ(testsupport::readBytes(t.c.path() / "X/a/b"), "Attrappe");
}

} // namespace
