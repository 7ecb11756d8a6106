#include "core/listing_ahead.h"

#include <algorithm>
#include <chrono>

namespace core {

namespace {

// Listings made ahead and not yet taken: enough to keep the workers busy, few enough that a
// walk over a folder of many thousand subfolders does not hold them all at once.
constexpr std::size_t kReadyAhead = 512;

// Listings timed before the average is trusted.
constexpr unsigned kListingsJudged = 8;

// A listing that takes this long waits for a network, not for a disk or a processor: then all
// threads help, since each spends its time waiting. Below it, threads beyond twice the
// processors only keep each other and the disk from their work.
constexpr std::chrono::milliseconds kShareListing{1};

unsigned threadsFor(unsigned most, std::chrono::steady_clock::duration listing) {
    if (listing >= kShareListing)
        return most;
    return std::min(most, std::max(2u, 2 * std::thread::hardware_concurrency()));
}

bool isSubfolder(const platform::Listing& listing, const platform::Listing::Entry& entry) {
    const std::string_view name = listing.name(entry);
    return entry.folder && name != "." && name != "..";
}

// Heap order of the jobs waiting: the first in the walk's order on top. Workers that list the
// first waiting folder, rather than the subfolders of whichever listing came back last, stay
// just ahead of the walk instead of wandering into parts of the tree it comes to much later.
template <typename Job> bool later(const std::shared_ptr<Job>& a, const std::shared_ptr<Job>& b) {
    return a->order > b->order;
}

} // namespace

ListingAhead::ListingAhead(const platform::Platform& fs, unsigned threads,
                           std::chrono::microseconds slowListing)
    : m_fs(fs), m_walk(fs.beginWalk()), m_threads(m_walk->listsAhead() ? threads : 0),
      m_slowListing(slowListing) {}

std::error_code ListingAhead::listNow(const platform::HostFolder& folder,
                                      const std::vector<platform::FileId>& above,
                                      platform::Listing& out) {
    if (m_threads == 0)
        return m_walk->list(folder, out);
    const auto start = std::chrono::steady_clock::now();
    const std::error_code error = m_walk->list(folder, out);
    m_listingTime += std::chrono::steady_clock::now() - start;
    ++m_listingsTimed;
    follow(folder, above, error ? nullptr : &out);
    const auto average = m_listingTime / m_listingsTimed;
    if (m_slowListing.count() == 0 ||
        (m_listingsTimed >= kListingsJudged && average >= m_slowListing)) {
        {
            const std::lock_guard lock(m_mutex);
            pushDescent(above, out.id);
        }
        const unsigned threads =
            m_slowListing.count() == 0 ? m_threads : threadsFor(m_threads, average);
        for (unsigned i = 0; i < threads; ++i)
            m_workers.emplace_back([this] { work(); });
    }
    return error;
}

void ListingAhead::follow(const platform::HostFolder& folder,
                          const std::vector<platform::FileId>& above,
                          const platform::Listing* listing) {
    const std::size_t depth = above.size();
    Order order;
    if (depth > 0 && depth <= m_descent.size()) {
        // The walk enters the subfolders in their listing's order, passing by those it cannot.
        Listed& parent = m_descent[depth - 1];
        while (parent.passed < parent.subfolders.size() &&
               parent.subfolders[parent.passed++].path != folder.path) {
        }
        order = parent.order;
        order.push_back(static_cast<std::uint32_t>(parent.passed - 1));
    }
    m_descent.resize(std::min(depth, m_descent.size()));
    if (!listing || depth != m_descent.size() || isOnDescent(above, listing->id))
        return;
    Listed& listed = m_descent.emplace_back();
    listed.order = std::move(order);
    for (const auto& entry : listing->entries()) {
        if (isSubfolder(*listing, entry))
            listed.subfolders.push_back(m_fs.childFolder(folder, listing->hostName(entry)));
    }
}

void ListingAhead::pushDescent(const std::vector<platform::FileId>& above,
                               const platform::FileId& listed) {
    std::vector<platform::FileId> ids = above;
    ids.push_back(listed);
    for (std::size_t depth = 0; depth < m_descent.size(); ++depth) {
        Listed& level = m_descent[depth];
        const auto below = std::make_shared<const std::vector<platform::FileId>>(
            ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(depth) + 1);
        Jobs jobs;
        for (std::size_t i = level.passed; i < level.subfolders.size(); ++i) {
            auto job = std::make_shared<Job>();
            job->folder = std::move(level.subfolders[i]);
            job->above = below;
            job->order = level.order;
            job->order.push_back(static_cast<std::uint32_t>(i));
            jobs.push_back(std::move(job));
        }
        push(std::move(jobs));
    }
    m_descent.clear();
}

ListingAhead::~ListingAhead() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_workToDo.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

ListingAhead::Jobs ListingAhead::subfolders(const platform::HostFolder& folder, const Order& order,
                                            const platform::Listing& listing,
                                            const std::vector<platform::FileId>& above) const {
    Jobs jobs;
    if (isOnDescent(above, listing.id))
        return jobs;
    auto below = std::make_shared<std::vector<platform::FileId>>(above);
    below->push_back(listing.id);
    std::uint32_t place = 0;
    for (const auto& entry : listing.entries()) {
        if (!isSubfolder(listing, entry))
            continue;
        auto job = std::make_shared<Job>();
        job->folder = m_fs.childFolder(folder, listing.hostName(entry));
        job->above = below;
        job->order = order;
        job->order.push_back(place++);
        jobs.push_back(std::move(job));
    }
    return jobs;
}

void ListingAhead::push(Jobs jobs) {
    for (auto& job : jobs) {
        if (m_jobs.emplace(job->folder.path, job).second) {
            m_todo.push_back(std::move(job));
            std::push_heap(m_todo.begin(), m_todo.end(), later<Job>);
        }
    }
}

void ListingAhead::work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_workToDo.wait(lock, [this] {
            return m_stopping || m_urgent || (!m_todo.empty() && m_readyAhead < kReadyAhead);
        });
        if (m_stopping)
            return;
        std::shared_ptr<Job> job;
        if (m_urgent) {
            job = std::move(m_urgent);
            m_urgent = nullptr;
        } else {
            std::pop_heap(m_todo.begin(), m_todo.end(), later<Job>);
            job = std::move(m_todo.back());
            m_todo.pop_back();
        }
        if (job->started)
            continue; // taken by the walk before a worker came to it
        job->started = true;
        lock.unlock();
        platform::Listing listing;
        const std::error_code error = m_walk->list(job->folder, listing);
        Jobs below = error ? Jobs() : subfolders(job->folder, job->order, listing, *job->above);
        lock.lock();
        job->listing = std::move(listing);
        job->error = error;
        job->done = true;
        ++m_readyAhead;
        const std::size_t added = below.size();
        push(std::move(below));
        // Only the walk waits for a job done, and only for the one it takes next; a worker
        // is woken for each new job. Fewer wake-ups, fewer turns at the lock: on a busy
        // machine a thread that is preempted while it holds the lock holds up all the others.
        if (job == m_awaited)
            m_jobDone.notify_all();
        for (std::size_t i = 0; i < added; ++i)
            m_workToDo.notify_one();
    }
}

std::error_code ListingAhead::take(const platform::HostFolder& folder,
                                   const std::vector<platform::FileId>& above,
                                   platform::Listing& out, const std::function<bool()>& waiting) {
    // Only the walk's thread starts workers, so it may look without the lock.
    if (m_workers.empty())
        return listNow(folder, above, out);
    std::unique_lock lock(m_mutex);
    std::shared_ptr<Job> job;
    if (const auto found = m_jobs.find(folder.path); found != m_jobs.end()) {
        job = found->second;
        m_jobs.erase(found);
    } else {
        job = std::make_shared<Job>();
        job->folder = folder;
        job->above = std::make_shared<std::vector<platform::FileId>>(above);
    }
    if (!job->started) {
        // Listings are slow here: the next free worker makes this one, before any other and
        // however many are ready, while the walk waits with the window answering.
        m_urgent = job;
        m_workToDo.notify_one();
    }
    m_awaited = job;
    while (!job->done) {
        if (waiting) {
            m_jobDone.wait_for(lock, std::chrono::milliseconds(10));
            if (job->done)
                break;
            lock.unlock();
            const bool goOn = waiting();
            lock.lock();
            if (!goOn) {
                m_awaited = nullptr;
                return std::make_error_code(std::errc::operation_canceled);
            }
        } else {
            m_jobDone.wait(lock);
        }
    }
    m_awaited = nullptr;
    --m_readyAhead;
    m_workToDo.notify_one();
    out = std::move(job->listing);
    return job->error;
}

} // namespace core
