// The backend's decisions on answers of the system that no test machine gives: a share that
// drops while it is asked, reparse points of cloud and link kinds.

#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(Win32Decisions, OnTheSystemsAnswers) {
    using win32::fromWin32;
    // A share that does not answer tells nothing about a name: never "no such file".
    for (DWORD error : {ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME, ERROR_NETNAME_DELETED})
        EXPECT_EQ(fromWin32(error), std::errc::network_unreachable) << error;
    EXPECT_NE(fromWin32(ERROR_SHARING_VIOLATION), std::errc::device_or_resource_busy);
    EXPECT_EQ(fromWin32(ERROR_SHARING_VIOLATION), fromWin32(ERROR_LOCK_VIOLATION));

    const struct {
        DWORD attributes, tag, links;
        std::error_code refusal;
    } rows[] = {
        {FILE_ATTRIBUTE_ARCHIVE, 0, 1, {}},
        {FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_CLOUD, 1, {}},
        {FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_DEDUP, 1, {}},
        {FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_SYMLINK, 1,
         std::make_error_code(std::errc::operation_not_supported)},
        {FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_MOUNT_POINT, 1,
         std::make_error_code(std::errc::operation_not_supported)},
        {FILE_ATTRIBUTE_ARCHIVE, 0, 2, std::make_error_code(std::errc::operation_not_supported)},
        {FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY, IO_REPARSE_TAG_CLOUD, 1,
         std::make_error_code(std::errc::permission_denied)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(win32::renameRefusal(row.attributes, row.tag, row.links), row.refusal)
            << std::hex << row.attributes << " " << row.tag << " " << row.links;
}

} // namespace
