#include "platform/win32/temporary_file.h"

#include "platform/error.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/in_use_wait.h"
#include "platform/win32/open_below.h"

#include <cstdio>
#include <random>

namespace platform::win32 {

std::wstring temporaryName(std::uint64_t random, std::size_t targetLength) {
    wchar_t number[17];
    std::swprintf(number, 17, L"%016llx", static_cast<unsigned long long>(random));
    std::wstring name = L".tilgomat-";
    name += number;
    constexpr std::wstring_view kEnd = L".tmp";
    if (name.size() + kEnd.size() < targetLength)
        name.append(targetLength - name.size() - kEnd.size(), L'~');
    name += kEnd;
    return name;
}

std::error_code Temporary::create(std::size_t targetLength, bool encrypted) {
    static std::mt19937_64 generator{std::random_device{}()};
    const ULONG attributes = FILE_ATTRIBUTE_HIDDEN | (encrypted ? FILE_ATTRIBUTE_ENCRYPTED : 0);
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_name = temporaryName(generator(), targetLength);
        // A name that is taken belongs to someone else and is left alone.
        auto file = openBelow(m_folder, m_name, GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                              FILE_NON_DIRECTORY_FILE, FILE_CREATE, attributes);
        if (!file) {
            if (file.error() == std::errc::file_exists)
                continue;
            m_name.clear();
            return file.error();
        }
        m_handle = std::move(file).value();
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(m_handle.get(), &info))
            return lastError();
        m_id = fileIdOf(m_handle.get(), info);
        // A folder on FAT, or one whose file system keeps no encryption, makes it in clear.
        if (encrypted && !(info.dwFileAttributes & FILE_ATTRIBUTE_ENCRYPTED))
            return errc(std::errc::permission_denied);
        return {};
    }
    m_name.clear();
    return errc(std::errc::file_exists);
}

std::error_code Temporary::reopen() {
    Result<Handle> again = errc(std::errc::resource_unavailable_try_again);
    InUseWait wait;
    do {
        again = openBelow(m_folder, m_name, GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll,
                          FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT);
    } while (!again && inUse(again.error()) && wait.again());
    if (!again)
        return again.error();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(again->get(), &info))
        return lastError();
    if (fileIdOf(again->get(), info) != m_id)
        return make_error_code(Error::NotListed);
    m_handle = std::move(again).value();
    return {};
}

std::error_code Temporary::discard() {
    if (m_settled || m_name.empty())
        return {};
    m_settled = true;
    // Gone from its name, or another file stands there: nothing of this copy's is left to remove.
    if (!m_handle.valid()) {
        if (auto error = reopen())
            return error == std::errc::no_such_file_or_directory ||
                           error == platform::Error::NotListed
                       ? std::error_code()
                       : error;
    }
    const std::error_code error = removeOpen(m_handle.get());
    close();
    return error;
}

} // namespace platform::win32
