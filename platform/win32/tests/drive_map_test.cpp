#include "platform/win32/drive_map.h"

#include <gtest/gtest.h>

namespace {

using platform::win32::DriveMap;

TEST(DriveMap, NetworkPathsAndTypedNames) {
    for (auto [host, prefixed] : {std::pair{L"C:\\Daten", L"\\\\?\\C:\\Daten"},
                                  {L"\\\\nas\\daten\\Anna", L"\\\\?\\UNC\\nas\\daten\\Anna"}}) {
        EXPECT_EQ(DriveMap::withPrefix(host), prefixed);
        EXPECT_EQ(DriveMap::withPrefix(prefixed), prefixed);
        EXPECT_EQ(DriveMap::withoutPrefix(prefixed), host);
    }
    const DriveMap drives({{'c', "C:\\Wurzel", ""}, {'n', "\\\\nas\\daten", ""}}, "C:\\Wurzel");
    // A documents folder on a share is path text on the drive mapped to it.
    EXPECT_EQ(drives.pathText(L"\\\\?\\unc\\NAS\\Daten\\Anna\\Dokumente"), "N:\\Anna\\Dokumente");
    EXPECT_EQ(*drives.hostPath("N:\\Anna"), L"\\\\?\\UNC\\nas\\daten\\Anna");
    // A share no letter maps is path text of its own, its root in place of the drive's.
    EXPECT_EQ(drives.pathText(L"\\\\?\\UNC\\srv\\Home\\Dokumente"), "\\\\srv\\Home\\Dokumente");
    for (std::string_view text : {"\\\\srv\\Home\\.\\Dokumente.", "//srv/Home/x/../Dokumente",
                                  "\\\\?\\UNC\\srv\\Home\\Dokumente"})
        EXPECT_EQ(*drives.hostPath(text), L"\\\\?\\UNC\\srv\\Home\\Dokumente") << text;
    // Trailing dots and spaces go from typed names, as Windows drops them; never from exact ones.
    EXPECT_EQ(*drives.hostPath("c:\\Daten. \\Neu."), L"\\\\?\\C:\\Wurzel\\Daten\\Neu");
    EXPECT_EQ(*drives.hostPath("\\\\?\\C:\\Neu."), L"\\\\?\\C:\\Wurzel\\Neu.");
    EXPECT_EQ(drives.hostPath("C:\\Daten\\. .").error(), std::errc::invalid_argument);
}

} // namespace
