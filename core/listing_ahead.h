#pragma once

// Folder listings made ahead of a walk on worker threads and handed to it in its own order, so
// that many reads are in flight while the walk matches names (a cold disk or a network share
// answers many reads at once far sooner than one after another). The workers list the folders
// the walk will enter, always the first of them in the walk's order, whatever the shape of the
// tree, until enough listings wait for the walk. The walk itself
// stays as it is: the same entries in the same order, the same loop check; only the listings
// come sooner.

#include "platform/platform.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace core {

// Whether `folder` is one of the folders `above` it on a descent (a link back to an ancestor);
// a folder without a known id is never taken for one.
inline bool isOnDescent(const std::vector<platform::FileId>& above,
                        const platform::FileId& folder) {
    return std::any_of(above.begin(), above.end(),
                       [&](const platform::FileId& id) { return platform::sameFile(id, folder); });
}

class ListingAhead {
public:
    // Up to `threads` workers list ahead once the listings made when taken average
    // `slowListing` (all of them at once where that is zero); with none, or a backend that
    // cannot list from several threads, each listing is made when it is taken. Every listing is
    // made by one FolderWalk of the backend's, let go with this.
    ListingAhead(const platform::Platform& fs, unsigned threads,
                 std::chrono::microseconds slowListing);
    ~ListingAhead();
    ListingAhead(const ListingAhead&) = delete;
    ListingAhead& operator=(const ListingAhead&) = delete;

    // The listing of `folder`: made now while listings are quick, else by a worker (ahead, or
    // at once when none has come to it). `above` holds the identities of the folders above it
    // on the walk's descent: the workers do not go down a folder that is one of them (a link
    // back to an ancestor), as the walk does not. While the walk waits for a listing, `waiting`
    // runs every few milliseconds; when it returns false the walk gives up and the result is
    // operation_canceled.
    std::error_code take(const platform::HostFolder& folder,
                         const std::vector<platform::FileId>& above, platform::Listing& out,
                         const std::function<bool()>& waiting);

private:
    // The walk's order of a folder: the places of the subfolders that lead to it from the start
    // folder, each in its folder's listing; compared as a whole, they sort as the walk enters.
    using Order = std::vector<std::uint32_t>;

    struct Job {
        platform::HostFolder folder;
        std::shared_ptr<const std::vector<platform::FileId>> above; // shared by siblings
        Order order;
        bool started = false;
        bool done = false;
        std::error_code error;
        platform::Listing listing;
    };
    using Jobs = std::vector<std::shared_ptr<Job>>;

    void work();
    // The listing made now, timed; the workers start when listings turn out slow.
    std::error_code listNow(const platform::HostFolder& folder,
                            const std::vector<platform::FileId>& above, platform::Listing& out);
    // Jobs for the subfolders of a folder just listed, unless it is one of the folders above it.
    Jobs subfolders(const platform::HostFolder& folder, const Order& order,
                    const platform::Listing& listing,
                    const std::vector<platform::FileId>& above) const;
    // Keeps the descent of the walk while it lists on its own: the folder just listed at the
    // depth `above` gives, and which subfolders of each folder above it are still to come.
    void follow(const platform::HostFolder& folder, const std::vector<platform::FileId>& above,
                const platform::Listing* listing);
    // Jobs for every subfolder the walk has still to enter on its descent, so that none is
    // listed alone when the walk comes back to it. `above` and `listed` are the identities of
    // the folders of the descent. Called with the lock held.
    void pushDescent(const std::vector<platform::FileId>& above, const platform::FileId& listed);
    // Queues `jobs` in the walk's order, leaving out folders asked for already. Called with the
    // lock held.
    void push(Jobs jobs);

    // A folder of the walk's descent listed on its own thread, and its subfolders.
    struct Listed {
        Order order;
        std::vector<platform::HostFolder> subfolders;
        std::size_t passed = 0; // subfolders the walk has entered or passed by
    };

    const platform::Platform& m_fs;
    std::unique_ptr<platform::FolderWalk> m_walk;
    unsigned m_threads;
    std::vector<Listed> m_descent; // by depth, until the workers start
    std::chrono::microseconds m_slowListing;
    std::chrono::steady_clock::duration m_listingTime{};
    unsigned m_listingsTimed = 0;
    std::mutex m_mutex;
    std::condition_variable m_workToDo;
    std::condition_variable m_jobDone;
    Jobs m_todo;                    // a heap: the first in the walk's order on top
    std::shared_ptr<Job> m_urgent;  // the one the walk waits for, until a worker takes it
    std::shared_ptr<Job> m_awaited; // the one the walk waits for, until it is done
    std::unordered_map<std::string, std::shared_ptr<Job>> m_jobs;
    std::size_t m_readyAhead = 0; // listings made and not yet taken
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};

} // namespace core
