#include "platform/win32/reached_folders.h"

#include "platform/error.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/open_below.h"

namespace platform::win32 {

namespace {

std::error_code notAsListed() {
    return make_error_code(platform::Error::NotListed);
}

// A folder opened on the way down, compared with the folder the walk listed there. A name that
// now holds no folder, or nothing, no longer leads to the listed one. A folder listed without an
// id (FAT gives its root none) is compared by kind and volume only: nothing else tells it apart,
// and refusing it would refuse every file below.
Result<Handle> checked(Result<Handle> folder, const FileId& listed) {
    if (!folder)
        return folder.error() == std::errc::not_a_directory ||
                       folder.error() == std::errc::no_such_file_or_directory
                   ? notAsListed()
                   : folder.error();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(folder->get(), &info))
        return lastError();
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        fileIdOf(folder->get(), info) != listed)
        return notAsListed();
    return folder;
}

} // namespace

Result<Handle> openHeldFolder(const std::wstring& host) {
    Handle folder(::CreateFileW(host.c_str(), kListedFolderAccess, kShareHeld, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.valid())
        return lastError();
    return folder;
}

Result<std::shared_ptr<const Handle>> ReachedFolders::reach(const std::wstring& start,
                                                            const std::vector<std::wstring>& names,
                                                            const ListedTrail& trail) {
    const std::size_t folders = trail.folders.size();
    if (folders == 0 || names.size() != folders)
        return std::make_error_code(std::errc::invalid_argument);
    if (start != m_start) {
        m_folders.clear();
        m_start = start;
    }
    for (std::size_t i = 0; i < folders; ++i) {
        const std::wstring name = i == 0 ? std::wstring() : names[i - 1];
        // A held folder is the listed one whatever has happened to its name since.
        if (i < m_folders.size() && m_folders[i].id == trail.folders[i] &&
            m_folders[i].name == name)
            continue;
        m_folders.resize(i);
        auto folder =
            checked(i == 0 ? openHeldFolder(start)
                           : openBelow(m_folders.back().handle->get(), name, kListedFolderAccess,
                                       kShareHeld, FILE_DIRECTORY_FILE),
                    trail.folders[i]);
        if (!folder)
            return folder.error();
        m_folders.push_back(
            {trail.folders[i], name, std::make_shared<const Handle>(std::move(folder).value())});
    }
    m_folders.resize(folders);
    return m_folders.back().handle;
}

} // namespace platform::win32
