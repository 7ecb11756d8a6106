// The backend's decisions on answers of the system that no test machine gives: a share that
// drops while it is asked, reparse points of cloud and link kinds.

#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

using namespace platform::win32;

TEST(Win32Decisions, OnTheSystemsAnswers) {
    // A share that does not answer tells nothing about a name: never "no such file".
    for (DWORD error : {ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME, ERROR_NETNAME_DELETED})
        EXPECT_EQ(fromWin32(error), std::errc::network_unreachable) << error;
    EXPECT_NE(fromWin32(ERROR_SHARING_VIOLATION), std::errc::device_or_resource_busy);

    const auto no = std::make_error_code(std::errc::operation_not_supported);
    constexpr DWORD point = FILE_ATTRIBUTE_REPARSE_POINT;
    const struct {
        DWORD attributes, tag, links;
        std::error_code refusal;
    } rows[] = {
        {FILE_ATTRIBUTE_ARCHIVE, 0, 1, {}},
        {point, IO_REPARSE_TAG_CLOUD, 1, {}},
        {point, IO_REPARSE_TAG_DEDUP, 1, {}},
        {point, IO_REPARSE_TAG_SYMLINK, 1, no},
        {point, IO_REPARSE_TAG_MOUNT_POINT, 1, no},
        {FILE_ATTRIBUTE_ARCHIVE, 0, 2, no},
        {point | FILE_ATTRIBUTE_READONLY, IO_REPARSE_TAG_CLOUD, 1,
         std::make_error_code(std::errc::permission_denied)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(renameRefusal(row.attributes, row.tag, row.links), row.refusal)
            << std::hex << row.attributes << " " << row.tag << " " << row.links;
}

} // namespace
