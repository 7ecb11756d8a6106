#pragma once

// Folder listings made ahead of a walk on worker threads and handed to it in its own order, so
// that many reads are in flight while the walk matches names (a cold disk or a network share
// answers many reads at once far sooner than one after another). A worker that has listed a
// folder goes on with its subfolders, ahead of the walk and in the order the walk will enter
// them, whatever the shape of the tree, until enough listings wait for the walk. The walk itself
// stays as it is: the same entries in the same order, the same loop check; only the listings
// come sooner.

#include "platform/platform.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
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
    // cannot list from several threads, each listing is made when it is taken.
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
    struct Job {
        platform::HostFolder folder;
        std::shared_ptr<const std::vector<platform::FileId>> above; // shared by siblings
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
    Jobs subfolders(const platform::HostFolder& folder, const platform::Listing& listing,
                    const std::vector<platform::FileId>& above) const;
    // Puts `jobs` before everything asked for earlier, the first of them next, leaving out
    // folders asked for already. Called with the lock held.
    void push(Jobs jobs);

    const platform::Platform& m_fs;
    unsigned m_threads;
    std::chrono::microseconds m_slowListing;
    std::chrono::steady_clock::duration m_listingTime{};
    unsigned m_listingsTimed = 0;
    std::mutex m_mutex;
    std::condition_variable m_workToDo;
    std::condition_variable m_jobDone;
    Jobs m_todo;                   // the next job at the back
    std::shared_ptr<Job> m_urgent; // the one the walk waits for
    std::unordered_map<std::string, std::shared_ptr<Job>> m_jobs;
    std::size_t m_readyAhead = 0; // listings made and not yet taken
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};

} // namespace core
