#include "platform/linux/folder_index.h"

#include "platform/linux/host_access.h"
#include "platform/linux/listing.h"
#include "platform/linux/name_mapping.h"

#include <sys/inotify.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace platform::linux_host {

namespace {

constexpr std::uint32_t kWatchedChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                          IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

bool FolderIndex::watching() {
    if (!m_inotifyTried) {
        m_inotifyTried = true;
        m_inotify.reset(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    }
    return m_inotify.valid();
}

void FolderIndex::add(Names& names, std::string_view programText, std::string_view hostName,
                      const CaseMapping& caseMapping) const {
    auto& spellings = names.byUpper[caseMapping.toUpper(programText)];
    if (std::find(spellings.begin(), spellings.end(), hostName) == spellings.end())
        spellings.emplace_back(hostName);
}

void FolderIndex::remove(Names& names, std::string_view hostName,
                         const CaseMapping& caseMapping) const {
    auto found = names.byUpper.find(caseMapping.toUpper(programName(hostName)));
    if (found == names.byUpper.end())
        return;
    auto& spellings = found->second;
    spellings.erase(std::remove(spellings.begin(), spellings.end(), hostName), spellings.end());
    if (spellings.empty())
        names.byUpper.erase(found);
}

void FolderIndex::drop(std::list<Names>::iterator it) {
    // A watch belongs to one entry: find() replaces another path to the same folder. After a
    // folder was deleted the kernel has removed its watch already, and this call fails harmlessly.
    ::inotify_rm_watch(m_inotify.get(), it->watch);
    m_folders.erase(it);
}

void FolderIndex::applyEvents(const CaseMapping& caseMapping) {
    alignas(struct inotify_event) char buffer[16 * (sizeof(struct inotify_event) + NAME_MAX + 1)];
    for (;;) {
        const ssize_t n = ::read(m_inotify.get(), buffer, sizeof buffer);
        if (n <= 0)
            return;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                // Changes were lost: nothing kept can be trusted.
                while (!m_folders.empty())
                    drop(m_folders.begin());
                continue;
            }
            const std::string_view name(event->name,
                                        event->len ? ::strnlen(event->name, event->len) : 0);
            const auto it = std::find_if(m_folders.begin(), m_folders.end(),
                                         [event](const Names& f) { return f.watch == event->wd; });
            if (it == m_folders.end())
                continue;
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED))
                drop(it);
            else if (event->mask & (IN_CREATE | IN_MOVED_TO))
                add(*it, programName(name), name, caseMapping);
            else if (event->mask & (IN_DELETE | IN_MOVED_FROM))
                remove(*it, name, caseMapping);
        }
    }
}

FolderIndex::Names* FolderIndex::current(const std::string& folder, const struct stat& st) {
    for (auto it = m_folders.begin(); it != m_folders.end(); ++it) {
        if (it->folder != folder)
            continue;
        // The path may lead to another folder now (a parent renamed, a folder replaced).
        if (it->device != st.st_dev || it->inode != st.st_ino) {
            drop(it);
            return nullptr;
        }
        m_folders.splice(m_folders.begin(), m_folders, it);
        return &m_folders.front();
    }
    return nullptr;
}

Result<std::string> FolderIndex::find(const std::string& folder, bool driveRoot,
                                      std::string_view wanted, const CaseMapping& caseMapping,
                                      const std::optional<struct stat>& folderStat) {
    struct stat st {};
    if (folderStat)
        st = *folderStat;
    else if (auto error = statHost(folder, st, true))
        return error;
    if (!S_ISDIR(st.st_mode))
        return std::make_error_code(std::errc::not_a_directory);

    Names* names = nullptr;
    Names once;
    if (watching()) {
        applyEvents(caseMapping);
        names = current(folder, st);
    }
    if (!names) {
        // The watch comes first, so that no change between listing and watching is missed;
        // a change seen twice (in the listing and as an event) is applied once.
        const int watch = m_inotify.valid() ? ::inotify_add_watch(m_inotify.get(), folder.c_str(),
                                                                  kWatchedChanges)
                                            : -1;
        Listing listing;
        if (auto error = listHostFolder(folder, driveRoot, ListDetail::Kind, listing)) {
            if (watch >= 0 && std::none_of(m_folders.begin(), m_folders.end(),
                                           [watch](const Names& n) { return n.watch == watch; }))
                ::inotify_rm_watch(m_inotify.get(), watch);
            return error;
        }
        Names fresh{folder, st.st_dev, st.st_ino, watch, {}};
        fresh.byUpper.reserve(listing.size());
        for (const auto& entry : listing.entries()) {
            std::string_view name = listing.name(entry);
            if (name != "." && name != "..")
                add(fresh, name, listing.hostName(entry), caseMapping);
        }
        if (watch < 0) {
            once = std::move(fresh);
            names = &once;
        } else {
            // Another path to the same folder shares the watch and is replaced by this one.
            m_folders.remove_if([watch](const Names& n) { return n.watch == watch; });
            m_folders.push_front(std::move(fresh));
            if (m_folders.size() > kFolders)
                drop(std::prev(m_folders.end()));
            names = &m_folders.front();
        }
    }
    auto found = names->byUpper.find(caseMapping.toUpper(wanted));
    if (found == names->byUpper.end())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    return found->second.front();
}

} // namespace platform::linux_host
