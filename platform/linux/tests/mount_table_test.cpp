#include "platform/linux/backend.h"
#include "platform/linux/mount_table.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::linux_host;

TEST(MountTable, DrivesFromMountInfo) {
    const char* text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "30 22 0:5 / /proc rw - proc proc rw\n"
        "41 22 8:17 / /media/anna/USB\\040STICK rw,nosuid shared:9 master:2 - vfat /dev/sdb1 rw\n"
        "42 22 8:33 / /run/media/anna/Platte rw - ext4 /dev/sdc1 rw\n"
        "43 22 0:40 / /mnt rw - tmpfs tmpfs rw\n"
        "44 22 8:49 / /mnt/backup rw - ext4 /dev/sdd1 rw\n"
        "45 22 0:41 / /media/auto rw - autofs systemd-1 rw\n"
        "46 22 8:50 / /mnt/backup rw - ext4 /dev/sdd2 rw\n"
        "kaputte Zeile\n";
    auto mounts = parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 8u);
    EXPECT_EQ(mounts[2].folder, "/media/anna/USB STICK");
    EXPECT_EQ(mounts[2].type, "vfat");
    EXPECT_EQ(mounts[2].source, "/dev/sdb1");

    auto label = [](const std::string& source) -> std::string {
        return source == "/dev/sdc1" ? "PLATTE" : "";
    };
    auto drives = drivesFromMounts(mounts, label);
    ASSERT_EQ(drives.size(), 4u);
    EXPECT_EQ(drives[0].letter, 'c');
    EXPECT_EQ(drives[0].hostRoot, "/");
    EXPECT_EQ(drives[1].letter, 'd');
    EXPECT_EQ(drives[1].hostRoot, "/media/anna/USB STICK");
    EXPECT_EQ(drives[2].letter, 'e');
    EXPECT_EQ(drives[2].label, "PLATTE");
    EXPECT_EQ(drives[3].letter, 'f');
    EXPECT_EQ(drives[3].hostRoot, "/mnt/backup");

    auto fs = platform::createPlatformOver(drives, "/");
    EXPECT_EQ(fs->drives()[0].text, "c: [/]");
    EXPECT_EQ(fs->drives()[1].text, "d: [/media/anna/USB STICK]");
    EXPECT_EQ(fs->drives()[2].text, "e: [PLATTE]");

    std::string many;
    for (int i = 0; i < 30; ++i)
        many += "1 1 1:1 / /mnt/m" + std::to_string(i) + " rw - ext4 /dev/x rw\n";
    drives = drivesFromMounts(parseMountInfo(many), nullptr);
    ASSERT_EQ(drives.size(), 24u);
    EXPECT_EQ(drives.back().letter, 'z');
}

// A stick plugged in later appears, one pulled out goes; the others keep their letters, and the
// program's platform takes the change in when it is next asked for its drives.
TEST(MountTable, DrivesComeAndGoAndTheOthersKeepTheirLetters) {
    const auto line = [](const std::string& folder) {
        return "1 1 8:1 / " + folder + " rw - vfat /dev/x rw\n";
    };
    std::string mounts =
        "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n" + line("/media/a/EINS") + line("/media/a/ZWEI");
    auto fs = createFollowingMounts(drivesFromMounts(parseMountInfo(mounts), nullptr), "/",
                                    [&mounts] { return mounts; });
    const auto texts = [&fs] {
        std::vector<std::string> t;
        for (const auto& d : fs->drives())
            t.push_back(d.text);
        return t;
    };
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"c: [/]", "d: [/media/a/EINS]", "e: [/media/a/ZWEI]"}));
    mounts =
        "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n" + line("/media/a/ZWEI") + line("/media/a/DREI");
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"c: [/]", "d: [/media/a/DREI]", "e: [/media/a/ZWEI]"}));
    EXPECT_EQ(fs->resolveFolder("E:\\").error(), std::errc::no_such_file_or_directory);
    mounts += line("/mnt/VIER");
    EXPECT_EQ(texts().back(), "f: [/mnt/VIER]");
    EXPECT_EQ(fs->currentDrive(), 'c');
}

} // namespace
