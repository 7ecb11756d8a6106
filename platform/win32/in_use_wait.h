#pragma once

// A short, bounded wait for another program's open to end. A virus scanner or the indexer opens a
// file the moment it has been written and closed, for some milliseconds, and an action that needs
// the file to itself meanwhile fails with a sharing violation; tools that replace files try such
// an action again for a moment instead of failing at once.

#include <windows.h>

#include <algorithm>
#include <system_error>

namespace platform::win32 {

// Whether an error is another program's open that keeps the action out for the moment.
inline bool inUse(const std::error_code& error) {
    return error == std::errc::resource_unavailable_try_again;
}

class InUseWait {
public:
    // Pauses and tells to try again, until about two seconds have passed in pauses.
    bool again() {
        if (m_waited >= kLimit)
            return false;
        ::Sleep(m_pause);
        m_waited += m_pause;
        m_pause = std::min<DWORD>(m_pause * 2, 200);
        return true;
    }

private:
    static constexpr DWORD kLimit = 2000; // milliseconds
    DWORD m_pause = 10;
    DWORD m_waited = 0;
};

} // namespace platform::win32
