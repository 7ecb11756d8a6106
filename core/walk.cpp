#include "core/walk.h"

#include "core/listing_ahead.h"
#include "core/path_text.h"
#include "core/pattern.h"

#include <deque>
#include <utility>

namespace core {

namespace {

// The walk keeps an explicit stack of folders instead of recursing, so that no tree is deep
// enough to exhaust the call stack. Each depth keeps its listing and reuses it for every folder
// visited at that depth.
class Walk {
public:
    Walk(const platform::Platform& fs, std::string_view pattern, EntryList& hits, bool subfolders,
         const ProcessEvents& processEvents, const WalkOptions& options)
        : m_fs(fs), m_matcher(fs, pattern), m_hits(hits), m_subfolders(subfolders),
          m_processEvents(processEvents), m_stopRequested(options.stopRequested),
          m_ahead(fs, subfolders ? options.listingThreads : 0, options.slowListing) {}

    std::int32_t run(platform::HostFolder start);

private:
    struct Level {
        platform::HostFolder folder;
        platform::Listing listing;
        std::size_t next = 0;     // index of the next listing entry to look at
        std::uint32_t listed = 0; // the folder's index among the list's folders
    };

    bool enter(std::size_t depth, platform::HostFolder folder, std::string_view name);
    bool stopped();
    void add(EntryKind kind, const Level& level, const platform::Listing::Entry& entry);

    const platform::Platform& m_fs;
    TailMatcher m_matcher;
    EntryList& m_hits;
    bool m_subfolders;
    const ProcessEvents& m_processEvents;
    const std::function<bool()>& m_stopRequested;
    ListingAhead m_ahead;
    bool m_stopped = false;

    std::deque<Level> m_levels;            // references stay valid while deeper levels are added
    std::vector<platform::FileId> m_above; // identity of each folder of the current descent
    std::int32_t m_count = 0;
};

bool Walk::stopped() {
    m_stopped = m_stopped || (m_stopRequested && m_stopRequested());
    return m_stopped;
}

// Lists `folder`, named `name` in the folder above, as the folder at `depth`; false when it cannot
// be listed or is already on the current descent (a link back to an ancestor), so that the walk
// always ends, and when the walk is to stop.
bool Walk::enter(std::size_t depth, platform::HostFolder folder, std::string_view name) {
    if (m_processEvents)
        m_processEvents();
    if (stopped())
        return false;
    if (depth == m_levels.size())
        m_levels.emplace_back();
    Level& level = m_levels[depth];
    level.folder = std::move(folder);
    const auto waiting = [this] {
        if (m_processEvents)
            m_processEvents();
        return !stopped();
    };
    m_above.resize(depth);
    if (m_ahead.take(level.folder, m_above, level.listing, waiting))
        return false;
    if (isOnDescent(m_above, level.listing.id))
        return false;
    m_above.push_back(level.listing.id);
    level.next = 0;
    level.listed =
        m_hits.addFolder({level.listing.id, depth == 0 ? kNoFolder : m_levels[depth - 1].listed,
                          level.listing.changed},
                         name);
    return true;
}

void Walk::add(EntryKind kind, const Level& level, const platform::Listing::Entry& entry) {
    m_hits.add({entry.id, level.listed, kind, entry.link}, level.listing.name(entry));
    ++m_count;
}

std::int32_t Walk::run(platform::HostFolder start) {
    if (!enter(0, std::move(start), {}))
        return 0;
    std::size_t depth = 0;
    for (;;) {
        Level& level = m_levels[depth];
        const auto& entries = level.listing.entries();
        bool descended = false;
        while (level.next < entries.size() && !descended) {
            const auto& entry = entries[level.next++];
            const std::string_view name = level.listing.name(entry);
            if (!entry.folder) {
                if (m_matcher.matches(name))
                    add(EntryKind::file, level, entry);
            } else if (name == "." || name == "..") {
                continue;
            } else if (!m_subfolders) {
                add(EntryKind::subfolder, level, entry);
            } else {
                descended = enter(
                    depth + 1, m_fs.childFolder(level.folder, level.listing.hostName(entry)), name);
                if (m_stopped)
                    return m_count;
            }
        }
        if (descended) {
            ++depth;
        } else if (depth == 0) {
            return m_count;
        } else {
            --depth;
        }
    }
}

} // namespace

std::int32_t walkFolder(platform::Platform& fs, std::string folder, std::string_view pattern,
                        EntryList& hits, bool subfolders, const ProcessEvents& processEvents,
                        const WalkOptions& options) {
    folder = withTrailingBackslash(std::move(folder));
    // The walk starts from the folder as chosen; only the entries' text is lower-cased, since
    // the lower-cased text could name the folder's twin.
    auto start = fs.resolveFolder(folder);
    std::string listed = fs.toLower(folder);
    if (!start) {
        if (processEvents)
            processEvents();
        return 0;
    }
    hits.start = {std::move(listed), withTrailingBackslash(std::move(start->text))};
    Walk walk(fs, pattern, hits, subfolders, processEvents, options);
    return walk.run(std::move(*start));
}

} // namespace core
