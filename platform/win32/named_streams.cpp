#include "platform/win32/named_streams.h"

#include "platform/win32/errors.h"
#include "platform/win32/handle.h"
#include "platform/win32/open_below.h"

#include <cstdint>

namespace platform::win32 {

namespace {

// The answers by which a file system says it keeps no named streams.
bool keepsNone(DWORD error) {
    return error == ERROR_INVALID_PARAMETER || error == ERROR_INVALID_FUNCTION ||
           error == ERROR_NOT_SUPPORTED || error == ERROR_CALL_NOT_IMPLEMENTED ||
           error == ERROR_HANDLE_EOF;
}

} // namespace

std::vector<std::wstring> namedStreamsIn(const void* answer, std::size_t size) {
    std::vector<std::wstring> names;
    const auto* bytes = static_cast<const std::byte*>(answer);
    for (std::size_t offset = 0; offset + sizeof(FILE_STREAM_INFO) <= size;) {
        const auto* entry = reinterpret_cast<const FILE_STREAM_INFO*>(bytes + offset);
        const std::wstring_view name(entry->StreamName, entry->StreamNameLength / sizeof(wchar_t));
        if (!name.starts_with(L"::"))
            names.emplace_back(name);
        if (entry->NextEntryOffset == 0)
            break;
        offset += entry->NextEntryOffset;
    }
    return names;
}

Result<std::vector<std::wstring>> namedStreamsOf(HANDLE file) {
    std::vector<std::uint64_t> answer(512);
    for (;;) {
        const auto size = static_cast<DWORD>(answer.size() * sizeof(std::uint64_t));
        if (::GetFileInformationByHandleEx(file, FileStreamInfo, answer.data(), size))
            return namedStreamsIn(answer.data(), size);
        const DWORD error = ::GetLastError();
        if (keepsNone(error))
            return std::vector<std::wstring>();
        if (error != ERROR_MORE_DATA || answer.size() > (std::size_t(1) << 20))
            return fromWin32(error);
        answer.resize(answer.size() * 4);
    }
}

std::error_code copyNamedStreams(HANDLE source, HANDLE copy,
                                 const std::vector<std::wstring>& streams, bool& carried) {
    carried = true;
    if (streams.empty())
        return {};
    DWORD flags = 0;
    if (!::GetVolumeInformationByHandleW(copy, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0))
        return lastError();
    if (!(flags & FILE_NAMED_STREAMS)) {
        carried = false;
        return {};
    }
    // Each stream is opened by its name relative to the open file it belongs to.
    for (const std::wstring& stream : streams) {
        auto in = openBelow(source, stream, GENERIC_READ, FILE_SHARE_READ, FILE_NON_DIRECTORY_FILE);
        if (!in)
            return in.error();
        auto out = openBelow(copy, stream, GENERIC_WRITE, 0, FILE_NON_DIRECTORY_FILE, FILE_CREATE);
        if (!out)
            return out.error();
        if (auto error = copyData(in->get(), out->get()))
            return error;
    }
    return {};
}

std::error_code copyData(HANDLE in, HANDLE out) {
    if (!::SetFilePointerEx(in, LARGE_INTEGER{}, nullptr, FILE_BEGIN))
        return lastError();
    std::vector<char> buffer(std::size_t(1) << 20);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            return lastError();
        if (read == 0)
            return {};
        for (DWORD done = 0; done < read;) {
            DWORD written = 0;
            if (!::WriteFile(out, buffer.data() + done, read - done, &written, nullptr))
                return lastError();
            done += written;
        }
    }
}

} // namespace platform::win32
