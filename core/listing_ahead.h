#pragma once

// Folder listings made ahead of a walk on worker threads and handed to it in its own order, so
// that several reads are in flight while the walk matches names (a cold disk answers many
// reads at once far sooner than one after another). The walk itself stays as it is: the same
// entries in the same order, the same loop check; only the listings come sooner.

#include "platform/platform.h"

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

class ListingAhead {
public:
    // `threads` workers list ahead once the listings made when taken average `slowListing`;
    // with none, or a backend that cannot list from several threads, each listing is made when
    // it is taken.
    ListingAhead(const platform::Platform& fs, unsigned threads,
                 std::chrono::microseconds slowListing);
    ~ListingAhead();
    ListingAhead(const ListingAhead&) = delete;
    ListingAhead& operator=(const ListingAhead&) = delete;

    // The folders the walk will enter next, in the order it will enter them. They come before
    // everything asked for earlier: the walk descends into them before it goes on.
    void ask(std::vector<platform::HostFolder> folders);
    // True once workers list ahead; until then nothing asked for is kept.
    bool listsAhead() const { return !m_workers.empty(); }
    // The listing of `folder`: made now while listings are quick, else by a worker (ahead, or
    // at once when none has come to it). While the walk waits for it, `waiting` runs every few
    // milliseconds; when it returns false the walk gives up and the result is
    // operation_canceled.
    std::error_code take(const platform::HostFolder& folder, platform::Listing& out,
                         const std::function<bool()>& waiting);

private:
    struct Job {
        platform::HostFolder folder;
        bool started = false;
        bool done = false;
        std::error_code error;
        platform::Listing listing;
    };

    void work();
    // The listing made now, timed; the workers start when listings turn out slow.
    std::error_code listNow(const platform::HostFolder& folder, platform::Listing& out);

    const platform::Platform& m_fs;
    unsigned m_threads;
    std::chrono::microseconds m_slowListing;
    std::chrono::steady_clock::duration m_listingTime{};
    unsigned m_listingsTimed = 0;
    std::mutex m_mutex;
    std::condition_variable m_workToDo;
    std::condition_variable m_jobDone;
    std::vector<std::shared_ptr<Job>> m_todo; // the next job at the back
    std::shared_ptr<Job> m_urgent;            // the one the walk waits for
    std::unordered_map<std::string, std::shared_ptr<Job>> m_jobs;
    std::size_t m_readyAhead = 0; // listings made and not yet taken
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};

} // namespace core
