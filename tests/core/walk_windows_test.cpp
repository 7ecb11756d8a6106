// The walk on Windows: a junction (or, where the system makes none, a folder link) back to an
// ancestor ends the descent, as the loop check compares the folders' file ids.

#include "walk_fixture.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>

namespace {

using coretest::Entries;
using coretest::WalkTest;

// The mount-point form of a reparse buffer: the target as "\??\C:\…" and an empty print name.
struct MountPoint {
    DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    WORD dataLength = 0;
    WORD reserved = 0;
    WORD substituteOffset = 0;
    WORD substituteLength = 0;
    WORD printOffset = 0;
    WORD printLength = 0;
    WCHAR names[MAX_PATH * 2] = {};
};

bool makeJunction(const std::filesystem::path& link, const std::filesystem::path& target) {
    if (!::CreateDirectoryW(link.c_str(), nullptr))
        return false;
    HANDLE h = ::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    const std::wstring substitute = L"\\??\\" + target.wstring();
    MountPoint mp;
    const auto bytes = static_cast<WORD>(substitute.size() * sizeof(WCHAR));
    std::memcpy(mp.names, substitute.c_str(), bytes);
    mp.substituteLength = bytes;
    mp.printOffset = static_cast<WORD>(bytes + sizeof(WCHAR));
    mp.dataLength = static_cast<WORD>(8 + bytes + 2 * sizeof(WCHAR));
    DWORD returned = 0;
    const bool made = h != INVALID_HANDLE_VALUE &&
                      ::DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, &mp, 8 + mp.dataLength, nullptr,
                                        0, &returned, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
    if (!made)
        ::RemoveDirectoryW(link.c_str());
    return made;
}

TEST_F(WalkTest, AJunctionBackToAnAncestorEnds) {
    m_root.file("Ring/a/Datei.txt", "x");
    const auto link = m_root.path() / "Ring" / "a" / "zurueck";
    const auto ring = m_root.path() / "Ring";
    if (!makeJunction(link, ring) &&
        !::CreateSymbolicLinkW(link.c_str(), ring.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY))
        GTEST_SKIP() << "this system makes neither a junction nor a folder link here";
    const Entries got = walk("c:\\ring", "*.txt", true);
    EXPECT_EQ(got, (Entries{"    c:\\ring\\a\\Datei.txt"}));
}

} // namespace
