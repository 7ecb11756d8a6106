// What the backend makes of answers Wine never gives: 128-bit ids (ReFS), an empty stick's
// root, file systems that store local time (FAT, not exFAT).

#include "platform/win32/file_operations.h"
#include "platform/win32/file_time.h"
#include "platform/win32/listing.h"

#include <gtest/gtest.h>

namespace {

platform::FileId idOf(std::initializer_list<BYTE> bytes) {
    FILE_ID_INFO info{7, {}};
    std::copy(bytes.begin(), bytes.end(), info.FileId.Identifier);
    return platform::win32::fileIdOf(info);
}

TEST(HostAnswers, WideIdsEmptyRootsAndLocalTime) {
    // The low byte first, as NTFS gives its 64-bit index; the upper half tells ReFS's files apart.
    EXPECT_EQ(idOf({5, 0, 1, 0, 0, 0, 2}), (platform::FileId{7, 0x0002000000010005, 0}));
    const platform::FileId refs = idOf({0x21, 0, 0, 0, 0, 0, 0, 0, 2, 7});
    EXPECT_EQ(refs, (platform::FileId{7, 0x21, 0x0702}));
    EXPECT_FALSE(platform::sameFile(refs, idOf({0x21, 0, 0, 0, 0, 0, 0, 0, 3, 7})));
    EXPECT_FALSE(platform::sameFile(idOf({}), idOf({})));
    // An empty stick's root finds nothing at the first query.
    using platform::win32::endsListing;
    EXPECT_TRUE(endsListing(ERROR_FILE_NOT_FOUND, true) && endsListing(ERROR_NO_MORE_FILES, false));
    EXPECT_FALSE(endsListing(ERROR_FILE_NOT_FOUND, false) || endsListing(ERROR_NOT_READY, true));
    for (std::wstring_view fat : {L"FAT", L"FAT32", L"fat32"})
        EXPECT_TRUE(platform::win32::storesLocalTime(fat)) << fat.size();
    // exFAT keeps each time's offset from UTC.
    for (std::wstring_view other : {L"NTFS", L"ReFS", L"exFAT", L"FAT3", L""})
        EXPECT_FALSE(platform::win32::storesLocalTime(other)) << other.size();
}

} // namespace
