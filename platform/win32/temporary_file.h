#pragma once

// The hidden temporary file a copy writes in the target folder before it takes the target's
// name. It is made only under a name that is free, never in place of another file, and is
// removed again unless it took the target's place or is kept: by its own handle, or, once it had
// to be closed, only where its name in the folder still leads to it.

#include "platform/result.h"
#include "platform/types.h"
#include "platform/win32/handle.h"

#include <cstdint>
#include <string>
#include <system_error>

namespace platform::win32 {

// A temporary file's name, from a random number, at least `targetLength` characters long: on FAT a
// file's id is the place of its entry in the folder, which a rename moves only to a longer name,
// so that the copy keeps the id it was made with when it takes the target's name.
std::wstring temporaryName(std::uint64_t random, std::size_t targetLength);

class Temporary {
public:
    // A temporary file in the open folder `folder`, which outlives it.
    explicit Temporary(HANDLE folder) : m_folder(folder) {}
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    // Removes it where an exception left it behind; a copy settles it itself otherwise.
    ~Temporary() { (void)discard(); }

    // Makes it, open for writing and deleting and shared with no one, under a free name at least
    // `targetLength` characters long; encrypted where `encrypted`, and refused where the folder
    // cannot keep it encrypted, so that an encrypted file is never written in clear.
    std::error_code create(std::size_t targetLength, bool encrypted);
    HANDLE get() const { return m_handle.get(); }
    const std::wstring& name() const { return m_name; }
    const FileId& id() const { return m_id; }
    void close() { m_handle = Handle(INVALID_HANDLE_VALUE); }
    // Opens it again by its name, where that still leads to it.
    std::error_code reopen();
    // It stands at the target's name now, or holds the only new copy and stays.
    void settled() { m_settled = true; }
    // Removes it unless it is settled; an error where it stays behind.
    std::error_code discard();

private:
    HANDLE m_folder;
    std::wstring m_name;
    Handle m_handle{INVALID_HANDLE_VALUE};
    FileId m_id;
    bool m_settled = false;
};

} // namespace platform::win32
