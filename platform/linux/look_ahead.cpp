#include "platform/linux/look_ahead.h"

#include "platform/linux/attributes.h"
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <atomic>

namespace platform {

namespace {

std::atomic<bool> everywhere{false};

} // namespace

bool lookAheadEverywhere(bool on) {
    everywhere = on;
    return true;
}

namespace linux_host {

namespace {

// Network file systems, and FUSE, where each request goes to another process.
bool answersByRequest(unsigned long type) {
    switch (type) {
    case 0x65735546UL: // FUSE
    case 0x6969UL:     // NFS
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2
    case 0x517BUL:     // SMB
    case 0x01021997UL: // 9P
    case 0x00C36400UL: // Ceph
    case 0x5346414FUL: // AFS
        return true;
    default:
        return false;
    }
}

} // namespace

FirstLook firstLook(int folderFd, const std::string& leaf, bool fresh) {
    FirstLook look;
    look.fd = UniqueFd(::openat(folderFd, leaf.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!look.fd.valid()) {
        look.error = lastError();
        return look;
    }
    look.error =
        statBorn(look.fd.get(), "",
                 AT_EMPTY_PATH | (fresh ? AT_STATX_FORCE_SYNC : AT_STATX_DONT_SYNC), look.born);
    return look;
}

namespace {

FirstLook withRecord(FirstLook look) {
    if (!look.error && S_ISREG(look.born.st.st_mode))
        look.readOnly = isReadOnly(look.born.st, fdPath(look.fd.get()));
    return look;
}

} // namespace

bool LookAhead::notWorthIt(dev_t device) const {
    if (everywhere)
        return false;
    const auto told = m_slow.find(device);
    return told != m_slow.end() && !told->second;
}

bool LookAhead::worthIt(int folderFd, dev_t device) {
    if (everywhere)
        return true;
    auto told = m_slow.find(device);
    if (told == m_slow.end()) {
        struct statfs fs {};
        const bool slow = ::fstatfs(folderFd, &fs) == 0 &&
                          answersByRequest(static_cast<unsigned long>(fs.f_type));
        told = m_slow.emplace(device, slow).first;
    }
    return told->second;
}

void LookAhead::start(std::shared_ptr<const UniqueFd> folder, std::string leaf, bool openHere) {
    if (m_look.valid())
        m_look.wait();
    m_folder = std::move(folder);
    m_leaf = std::move(leaf);
    // Where no thread can be started, the look is made when it is taken.
    constexpr auto policy = std::launch::async | std::launch::deferred;
    if (openHere) {
        m_look = std::async(policy, withRecord, firstLook(m_folder->get(), m_leaf, false));
        return;
    }
    // The thread holds the folder too: the pass may let it go before it takes the look.
    m_look = std::async(policy, [held = m_folder, leaf = m_leaf] {
        return withRecord(firstLook(held->get(), leaf, false));
    });
}

std::optional<FirstLook> LookAhead::take(const UniqueFd* folder, const std::string& leaf) {
    if (!m_look.valid() || m_folder.get() != folder || m_leaf != leaf)
        return std::nullopt;
    m_folder.reset();
    return m_look.get();
}

} // namespace linux_host

} // namespace platform
