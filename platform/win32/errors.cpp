#include "platform/win32/errors.h"

#include <windows.h>

#include <ntstatus.h>
#include <winternl.h>

namespace platform::win32 {

std::error_code fromWin32(unsigned long error) {
    const auto code = [](std::errc e) { return std::make_error_code(e); };
    switch (error) {
    case ERROR_SUCCESS:
        return {};
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return code(std::errc::no_such_file_or_directory);
    // A share that is reconnecting or gone says nothing about the names on it.
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_REM_NOT_LIST:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_BAD_NET_RESP:
    case ERROR_NETWORK_BUSY:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_HOST_UNREACHABLE:
    case ERROR_NO_NET_OR_BAD_PATH:
    case ERROR_CONNECTION_ABORTED:
    case ERROR_NOT_CONNECTED:
        return code(std::errc::network_unreachable);
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
        return code(std::errc::permission_denied);
    // Another program holds the file open or locked.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return code(std::errc::resource_unavailable_try_again);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return code(std::errc::file_exists);
    case ERROR_NOT_SAME_DEVICE:
        return code(std::errc::cross_device_link);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return code(std::errc::no_space_on_device);
    case ERROR_FILENAME_EXCED_RANGE:
        return code(std::errc::filename_too_long);
    case ERROR_DIRECTORY:
        return code(std::errc::not_a_directory);
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_PARAMETER:
        return code(std::errc::invalid_argument);
    case ERROR_NOT_SUPPORTED:
        return code(std::errc::operation_not_supported);
    case ERROR_DIR_NOT_EMPTY:
        return code(std::errc::directory_not_empty);
    case ERROR_MORE_DATA:
        return code(std::errc::value_too_large);
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
        return code(std::errc::executable_format_error);
    // A program that must run elevated, and the user's answer to the question for it.
    case kErrorElevationRequired:
        return code(std::errc::permission_denied);
    case ERROR_CANCELLED:
        return code(std::errc::operation_canceled);
    default:
        return code(std::errc::io_error);
    }
}

std::error_code lastError() {
    return fromWin32(::GetLastError());
}

std::error_code fromNtStatus(long status) {
    switch (status) {
    // A file deleted while another program still holds it keeps its name until the last handle
    // closes, and Windows refuses every open of it meanwhile: it is gone.
    case STATUS_DELETE_PENDING:
        return std::make_error_code(std::errc::no_such_file_or_directory);
    case STATUS_FILE_IS_A_DIRECTORY:
        return std::make_error_code(std::errc::is_a_directory);
    default:
        return fromWin32(::RtlNtStatusToDosError(status));
    }
}

} // namespace platform::win32
