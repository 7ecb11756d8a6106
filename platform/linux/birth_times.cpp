#include "platform/linux/birth_times.h"

#include <sys/vfs.h>

namespace platform::linux_host {

namespace {

// File systems whose folders' change time every new entry moves on and whose birth times come
// from the kernel's own clock: ext2 to ext4, XFS, Btrfs, tmpfs, F2FS, bcachefs.
bool keepsTheRule(unsigned long type) {
    switch (type) {
    case 0xEF53UL:
    case 0x58465342UL:
    case 0x9123683EUL:
    case 0x01021994UL:
    case 0xF2F52010UL:
    case 0xCA451A4EUL:
        return true;
    default:
        return false;
    }
}

} // namespace

bool BirthTimes::bornSince(int folderFd, dev_t device, std::int64_t born, std::int64_t listedAt) {
    if (born == 0 || listedAt == 0 || born <= listedAt)
        return false;
    auto told = m_told.find(device);
    if (told == m_told.end()) {
        struct statfs fs {};
        const bool keeps =
            ::fstatfs(folderFd, &fs) == 0 && keepsTheRule(static_cast<unsigned long>(fs.f_type));
        told = m_told.emplace(device, keeps).first;
    }
    return told->second;
}

} // namespace platform::linux_host
