// The backend's decisions on answers of the system that no test machine gives: a share that
// drops while it is asked, reparse points of cloud and link kinds, the answers of a delete, of
// ReplaceFileW and of CreateProcessW that Wine never gives, named streams, FAT's ids.

#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/named_streams.h"
#include "platform/win32/open_below.h"
#include "platform/win32/program_start.h"
#include "platform/win32/replace_target.h"
#include "platform/win32/system_information.h"
#include "platform/win32/temporary_file.h"

#include <windows.h>

#include <ntstatus.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

TEST(Win32Decisions, OnThePassesAnswers) {
    // A file system without POSIX deletes (FAT, a share, Wine) deletes the classic way; a file
    // it refuses stays refused. A file whose delete is pending is gone.
    for (NTSTATUS unknown : {STATUS_NOT_IMPLEMENTED, STATUS_INVALID_INFO_CLASS,
                             STATUS_INVALID_PARAMETER, STATUS_NOT_SUPPORTED})
        EXPECT_TRUE(classicDeleteFollows(unknown)) << std::hex << unknown;
    for (NTSTATUS refused : {STATUS_ACCESS_DENIED, STATUS_CANNOT_DELETE, STATUS_SHARING_VIOLATION})
        EXPECT_FALSE(classicDeleteFollows(refused)) << std::hex << refused;
    EXPECT_EQ(fromNtStatus(STATUS_DELETE_PENDING), std::errc::no_such_file_or_directory);

    const std::pair<DWORD, AfterReplace> replaced[] = {
        {ERROR_SUCCESS, AfterReplace::Placed},
        {ERROR_UNABLE_TO_REMOVE_REPLACED, AfterReplace::Failed},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT, AfterReplace::TakeName},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, AfterReplace::TakeNameRemoveOld},
        {ERROR_SHARING_VIOLATION, AfterReplace::Failed},
    };
    for (const auto& [error, after] : replaced)
        EXPECT_EQ(afterReplace(error), after) << error;

    // Only a reparse point that stands for another name is a link; one of an unknown tag counts
    // as one.
    constexpr DWORD point = FILE_ATTRIBUTE_REPARSE_POINT;
    const std::pair<std::pair<DWORD, DWORD>, bool> links[] = {
        {{FILE_ATTRIBUTE_ARCHIVE, 0}, false},        {{point, IO_REPARSE_TAG_CLOUD_6}, false},
        {{point, IO_REPARSE_TAG_DEDUP}, false},      {{point, IO_REPARSE_TAG_SYMLINK}, true},
        {{point, IO_REPARSE_TAG_MOUNT_POINT}, true}, {{point, 0}, true},
    };
    for (const auto& [entry, link] : links)
        EXPECT_EQ(isLinkEntry(entry.first, entry.second), link) << std::hex << entry.second;

    // The program asks for an administrator's rights: the shell starts it.
    EXPECT_TRUE(startsThroughShell(kErrorElevationRequired));
    EXPECT_FALSE(startsThroughShell(ERROR_ACCESS_DENIED));
    EXPECT_EQ(fromWin32(ERROR_CANCELLED), std::errc::operation_canceled);
    // A held folder is opened with the right its listing proved, not the right to pass through.
    EXPECT_FALSE(kListedFolderAccess & FILE_TRAVERSE);
}

TEST(Win32Decisions, NamedStreamsAndTemporaryNames) {
    std::vector<std::uint64_t> answer(64);
    std::size_t offset = 0;
    FILE_STREAM_INFO* last = nullptr;
    for (std::wstring_view name : {L"::$DATA", L":Zone.Identifier:$DATA", L":x:$DATA"}) {
        auto* entry = reinterpret_cast<FILE_STREAM_INFO*>(
            reinterpret_cast<std::byte*>(answer.data()) + offset);
        entry->StreamNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
        name.copy(entry->StreamName, name.size());
        if (last)
            last->NextEntryOffset = static_cast<DWORD>(reinterpret_cast<std::byte*>(entry) -
                                                       reinterpret_cast<std::byte*>(last));
        last = entry;
        offset += (sizeof(FILE_STREAM_INFO) + name.size() * sizeof(wchar_t) + 7) / 8 * 8;
    }
    EXPECT_EQ(namedStreamsIn(answer.data(), answer.size() * sizeof(std::uint64_t)),
              (std::vector<std::wstring>{L":Zone.Identifier:$DATA", L":x:$DATA"}));

    // On FAT a rename to a longer name moves a file's id: the temporary name is never shorter.
    for (std::size_t target : {1, 30, 40, 255}) {
        const std::wstring name = temporaryName(7, target);
        EXPECT_TRUE(name.size() >= target && name.size() <= 255) << target;
        EXPECT_NE(name, temporaryName(8, target));
    }
}

// The tool as the registry names it, and the registry's text values, an expandable one expanded.
TEST(Win32Decisions, TheSystemInformationTool) {
    const std::string msinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const std::string location = "SOFTWARE\\Microsoft\\Shared Tools Location";
    const struct {
        std::map<std::string, std::string> values; // key -> its one value
        bool toolThere;
        std::string tool;
    } rows[] = {
        {{}, true, ""},
        {{{location, "C:\\Tools"}}, false, ""},
        {{{location, "C:\\Tools"}}, true, "C:\\Tools\\MSINFO32.EXE"},
        {{{msinfo, "C:\\Fehlt\\msinfo32.exe"}, {location, "C:\\Tools"}},
         false,
         "C:\\Fehlt\\msinfo32.exe"},
    };
    for (const auto& row : rows) {
        const auto read = [&](std::string_view key, std::string_view) {
            const auto found = row.values.find(std::string(key));
            return found == row.values.end() ? std::nullopt
                                             : std::optional<std::string>(found->second);
        };
        EXPECT_EQ(systemInformationTool(read, [&](const std::string&) { return row.toolThere; }),
                  row.tool);
    }
    EXPECT_EQ(machineText(msinfo + "\\Fehlt", "PATH"), std::nullopt);
    const auto root = machineText("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot");
    ASSERT_TRUE(root);
    EXPECT_EQ(
        machineText("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "windir"),
        root);
}

} // namespace
