#include "core/modFile.h"

#include "core/listing_ahead.h"
#include "core/path_text.h"
#include "core/pattern.h"
#include "core/result_entry.h"

#include <deque>
#include <utility>

namespace modFile {

namespace {

// The walk keeps an explicit stack of folders instead of recursing, so that no tree is deep
// enough to exhaust the call stack. Each depth keeps its listing and reuses it for every folder
// visited at that depth.
class Walk {
public:
    Walk(const platform::Platform& fs, std::string_view pattern, core::EntryList& hits,
         bool subfolders, const ProcessEvents& processEvents, const WalkOptions& options)
        : m_fs(fs), m_matcher(fs, pattern), m_hits(hits), m_subfolders(subfolders),
          m_processEvents(processEvents), m_stopRequested(options.stopRequested),
          m_ahead(fs, subfolders ? options.listingThreads : 0, options.slowListing) {}

    std::int32_t run(std::string prefix, platform::HostFolder start);

private:
    struct Level {
        platform::HostFolder folder;
        platform::Listing listing;
        std::size_t next = 0;         // index of the next listing entry to look at
        std::size_t prefixLength = 0; // length of the folder's path text in m_prefix
        std::uint32_t listed = 0;     // the folder's index among the list's folders
    };

    bool enter(std::size_t depth, platform::HostFolder folder);
    bool stopped();
    void add(std::string_view mark, const Level& level, const platform::Listing::Entry& entry);

    const platform::Platform& m_fs;
    core::TailMatcher m_matcher;
    core::EntryList& m_hits;
    bool m_subfolders;
    const ProcessEvents& m_processEvents;
    const std::function<bool()>& m_stopRequested;
    core::ListingAhead m_ahead;
    bool m_stopped = false;

    std::deque<Level> m_levels;            // references stay valid while deeper levels are added
    std::vector<platform::FileId> m_above; // identity of each folder of the current descent
    std::string m_prefix;                  // path text of the folder being listed, ending in "\"
    std::int32_t m_count = 0;
};

bool Walk::stopped() {
    m_stopped = m_stopped || (m_stopRequested && m_stopRequested());
    return m_stopped;
}

// Lists `folder` as the folder at `depth`; false when it cannot be listed or is already on the
// current descent (a link back to an ancestor), so that the walk always ends, and when the walk
// is to stop.
bool Walk::enter(std::size_t depth, platform::HostFolder folder) {
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
    if (core::isOnDescent(m_above, level.listing.id))
        return false;
    m_above.push_back(level.listing.id);
    level.next = 0;
    level.prefixLength = m_prefix.size();
    level.listed = m_hits.addFolder(
        {level.listing.id, depth == 0 ? core::EntryIdentity::kNoFolder : m_levels[depth - 1].listed,
         level.listing.changed});
    return true;
}

void Walk::add(std::string_view mark, const Level& level, const platform::Listing::Entry& entry) {
    m_hits.append(mark, m_prefix, level.listing.name(entry), {level.listed, entry.link, entry.id});
    ++m_count;
}

std::int32_t Walk::run(std::string prefix, platform::HostFolder start) {
    m_prefix = std::move(prefix);
    if (!enter(0, std::move(start)))
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
                    add(core::kFileMark, level, entry);
            } else if (name == "." || name == "..") {
                continue;
            } else if (!m_subfolders) {
                add(core::kFolderMark, level, entry);
            } else {
                m_prefix.append(name);
                m_prefix.push_back('\\');
                descended =
                    enter(depth + 1, m_fs.childFolder(level.folder, level.listing.hostName(entry)));
                if (m_stopped)
                    return m_count;
                if (!descended)
                    m_prefix.resize(level.prefixLength);
            }
        }
        if (descended) {
            ++depth;
        } else if (depth == 0) {
            return m_count;
        } else {
            --depth;
            m_prefix.resize(m_levels[depth].prefixLength);
        }
    }
}

} // namespace

std::int32_t CollectFiles(platform::Platform& fs, std::string folder,
                          std::string_view pattern, core::EntryList& hits, bool subfolders,
                          const ProcessEvents& processEvents, const WalkOptions& options) {
    folder = core::withTrailingBackslash(std::move(folder));
    // The walk starts from the folder as chosen; only the entries' text is lower-cased, since
    // the lower-cased text could name the folder's twin.
    auto start = fs.resolveFolder(folder);
    std::string listed = fs.toLower(folder);
    if (!start) {
        if (processEvents)
            processEvents();
        return 0;
    }
    hits.start = {listed, core::withTrailingBackslash(std::move(start->text))};
    Walk walk(fs, pattern, hits, subfolders, processEvents, options);
    return walk.run(std::move(listed), std::move(*start));
}

std::string FileNameFromPath(std::string_view path) {
    const auto cut = path.find_last_of("\\:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

bool FileExists(platform::Platform& fs, std::string_view path) {
    return fs.fileLength(path).ok();
}

} // namespace modFile
