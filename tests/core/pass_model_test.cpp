// Delete, copy and move against a plain model of their rules, on a few hundred small random trees:
// shared and case-twin names across folders, a twin of the searched folder itself, read-only and
// hidden files (read-only also as a file server keeps it, in the stored record only), a listed
// link to a file in the target, targets inside and outside the searched tree, reached directly
// or through a folder link or a second drive letter, a missing target, with and without prefix,
// moves by rename and as copy and delete. Before the pass reaches one of the first listed files,
// another program may swap a listed folder for a link to another or rename it away, replace a
// listed file by writing a new one and renaming it over the old (also under the number of the
// old, as ext4 gives it), rename a listed file away, or swap the target folder for a link to a
// folder nobody chose; before the pass, the target may be swapped so, and the log's name or the
// documents folder made links; and the user may change the search settings after the list was
// made. Every other tree the pass looks at each file ahead, as on a share. After each pass the
// files on disk, the log's lines and the warnings must be exactly what the model says; the model
// never loses a file the user did not ask to delete.

#include "pass_variants.h"
#include "platform/error.h"
#include "support/entry_texts.h"
#include "support/faulty_platform.h"
#include "support/host_names.h"
#include "test_window.h"

#include "core/bulk_operations.h"
#include "core/operation_log.h"
#include "core/result_entry.h"
#include "platform/platform.h"
#include "support/server_read_only.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;

using coretest::Pass;

// Files by their path below the data drive ("Baum/A/a.txt"); `id` tells files apart the way the
// file system does: a copy is a new file, a rename keeps it. A link's content and attributes are
// those of the file it leads to.
struct File {
    std::string content;
    bool readOnly = false;
    bool hidden = false;
    int id = 0;
    std::string link{};    // a link to this path
    bool byRecord = false; // read-only in the stored record only
};
using Files = std::map<std::string, File>;

const std::vector<std::string> kFolders = {"Baum",     "Baum/A", "Baum/a", "Baum/B",
                                           "Baum/A/C", "baum",   "Aussen"};
// Another program swaps it for a link to kElsewhere, keeping it as kSwappedAway.
const std::string kSwapped = "Baum/B", kSwappedAway = "Baum/B.alt", kElsewhere = "Aussen";
// A folder only the one running the pass may write, where a link planted in place of the target
// folder, the log or the documents folder leads.
const std::string kForeign = "Geschuetzt", kForeignLog = "Geschuetzt/log.txt";
const std::string kTargetAway = "Aussen.alt";
const std::vector<std::string> kNames = {"a.txt", "A.TXT", "b.txt", "c.dat", "notiztxt"};
// Target text and the folder it reaches; "Verweis" is a link to Baum/A, drive E: is Baum/A too.
const std::vector<std::pair<std::string, std::string>> kTargets = {
    {"D:\\Baum", "Baum"}, {"D:\\Baum\\A", "Baum/A"}, {"D:\\Baum\\A\\C", "Baum/A/C"},
    {"D:\\baum", "baum"}, {"D:\\Aussen", "Aussen"},  {"D:\\Verweis", "Baum/A"},
    {"E:\\", "Baum/A"},   {"D:\\Fehlt", ""}};

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}
std::string folderOf(const std::string& p) {
    return p.substr(0, p.rfind('/'));
}
std::string nameOf(const std::string& p) {
    return p.substr(p.rfind('/') + 1);
}
std::string withBackslashes(std::string s) {
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}
std::string withSlashes(std::string s) {
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

enum class Change {
    None,
    SwapFolder,
    ReplaceFile,
    RenameAway,
    RenameFolder,
    ReuseNumber,
    SwapTarget, // into Aussen; before the pass where changeAt is 0
    LinkLog,
    LinkDocuments,
};
const char* const kChangeNames[] = {"",
                                    ", folder swapped",
                                    ", replaced: ",
                                    ", renamed away: ",
                                    ", folder renamed away",
                                    ", made anew under its number: ",
                                    ", target swapped",
                                    ", log linked",
                                    ", documents linked"};

struct Case {
    Files files;
    std::set<std::string> folders;
    Pass pass = Pass::Delete;
    bool across = false; // a move as copy and delete
    std::string pattern; // reduced
    bool subfolders = false;
    std::size_t target = 0;
    bool prefix = false;
    Change change = Change::None;
    std::string changed;      // the file replaced or renamed away
    std::size_t changeAt = 0; // the change comes just before the pass reaches this listed file
    bool otherSearch = false; // the pattern and subfolder choice changed before the pass
    bool ahead = false;       // the pass looks at each file while it acts on the one before
};

// Case twins (a folder "baum" beside the searched "Baum", "Baum/a" beside "Baum/A", "A.TXT"
// beside "a.txt") only where the file system can hold them.
Case randomCase(std::mt19937& rng, bool caseTwins) {
    auto pick = [&rng](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    Case c;
    c.folders = {"Baum", "Baum/A", "Aussen"}; // Baum/A: where the link and drive E: lead
    for (const auto& folder : kFolders) {
        const bool twin = folder == "Baum/a" || folder == "baum";
        if (pick(3) > 0 && (caseTwins || !twin))
            c.folders.insert(folder);
    }
    if (c.folders.contains("Baum/A/C"))
        c.folders.insert("Baum/A");
    int id = 0;
    for (const auto& folder : c.folders) {
        for (const auto& name : kNames) {
            if (pick(3) > 0)
                continue;
            const std::string path = folder + "/" + name;
            // Names that differ only in case stand in one folder only now and then.
            if (name == "A.TXT" && c.files.contains(folder + "/a.txt") && (!caseTwins || pick(2)))
                continue;
            ++id;
            const bool readOnly = pick(5) == 0;
            c.files[path] = {"#" + std::to_string(id) + " " + path, readOnly, pick(6) == 0, id};
            c.files[path].byRecord = readOnly && pick(2);
        }
    }
    std::tie(c.pass, c.across) = coretest::passVariants()[pick(4)];
    c.pattern = pick(2) ? "TXT" : "*";
    c.subfolders = pick(2);
    c.target = pick(kTargets.size());
    c.prefix = pick(4) == 0;
    // A listed link to the only copy of a text in the target folder.
    const std::string& targetFolder = kTargets[c.target].second;
    if (pick(3) == 0 && c.folders.contains(targetFolder) && targetFolder != "Baum") {
        const std::string linked = targetFolder + "/verweis.txt";
        // Read-only now and then, in the stored record alone, which a delete of the link must
        // read through it.
        const bool readOnly = pick(2) == 0;
        if (!c.files.contains(linked))
            c.files[linked] = {"Ziel des Verweises", readOnly, false, ++id, {}, readOnly};
        c.files["Baum/verweis.txt"] = {"", false, false, ++id, linked};
    }
    std::vector<std::string> listedFiles;
    for (const auto& [path, file] : c.files) {
        if (path.starts_with("Baum/") && file.link.empty())
            listedFiles.push_back(path);
    }
    c.change = static_cast<Change>(pick(std::size(kChangeNames)));
    if ((c.change == Change::SwapFolder || c.change == Change::RenameFolder) &&
        !c.folders.contains(kSwapped))
        c.change = Change::None;
    if ((c.change == Change::ReplaceFile || c.change == Change::RenameAway ||
         c.change == Change::ReuseNumber) &&
        listedFiles.empty())
        c.change = Change::None;
    if (c.change == Change::SwapTarget && c.pass == Pass::Delete)
        c.change = Change::None;
    if (c.change == Change::SwapTarget || c.change == Change::LinkLog ||
        c.change == Change::LinkDocuments) {
        c.folders.insert(kForeign);
        c.files[kForeignLog] = {"nur root", false, false, ++id};
    }
    if (c.change == Change::SwapTarget)
        c.target = std::find_if(kTargets.begin(), kTargets.end(),
                                [](const auto& t) { return t.second == kElsewhere; }) -
                   kTargets.begin();
    if (!listedFiles.empty())
        c.changed = listedFiles[pick(listedFiles.size())];
    c.changeAt = pick(4);
    c.otherSearch = pick(5) == 0;
    return c;
}

// What the program does, written as plainly as the rules say it.
class Model {
public:
    // `bornTold`: whether the backend tells a file made anew under a listed number by its birth.
    Model(const Case& c, bool bornTold)
        : m_c(c), m_bornTold(bornTold), m_files(c.files), m_folders(c.folders) {}

    // The search's entries, in no particular order. While the swapped folder is a link to
    // kElsewhere, the files there are found below it too.
    std::vector<std::string> search(const std::string& pattern, bool subfolders) const {
        std::vector<std::string> list;
        for (const auto& [real, file] : m_files) {
            std::string path = real;
            if (m_linked && real.starts_with(kElsewhere + "/"))
                path = kSwapped + real.substr(kElsewhere.size());
            if (!path.starts_with("Baum/") || !matches(pattern, nameOf(path)))
                continue;
            if (subfolders || folderOf(path) == "Baum")
                list.push_back("    d:\\baum\\" + withBackslashes(path.substr(5)));
        }
        if (!subfolders) {
            for (const auto& folder : m_folders) {
                if (folder.starts_with("Baum/") && folderOf(folder) == "Baum")
                    list.push_back(">>d:\\baum\\" + folder.substr(5));
            }
        }
        std::sort(list.begin(), list.end());
        return list;
    }

    // Takes the list the program made: each entry's file and what it was then.
    void list(const std::vector<std::string>& listed) {
        for (const auto& entry : listed) {
            const std::string source =
                entry.starts_with("    ") ? "Baum/" + withSlashes(entry.substr(12)) : "";
            m_sources.push_back({source, source.empty() ? 0 : m_files.at(source).id});
            if (source.empty())
                continue;
            m_listedIds.insert(m_sources.back().id);
            if (const std::string& linked = m_files.at(source).link; m_files.contains(linked))
                m_listedIds.insert(m_files.at(linked).id);
        }
    }

    // The change another program makes between the list and the pass, or during the pass (its
    // folders then held from the files before).
    void change() {
        if (m_c.change == Change::SwapFolder || m_c.change == Change::RenameFolder) {
            m_swapped = true;
            m_linked = m_c.change == Change::SwapFolder;
            moveFolder(kSwapped, kSwappedAway);
        } else if (m_c.change == Change::ReplaceFile || m_c.change == Change::ReuseNumber) {
            m_files[m_c.changed] = {"neu " + m_c.changed, false, false, ++m_nextId};
        } else if (m_c.change == Change::RenameAway) {
            m_files[m_c.changed + ".weg"] = m_files.at(m_c.changed);
            m_files.erase(m_c.changed);
        } else if (m_c.change == Change::SwapTarget) {
            m_targetSwapped = true;
            moveFolder(kElsewhere, kTargetAway);
        }
    }
    // Whether no log line can be written.
    bool logLost() const {
        return m_c.change == Change::LinkLog || m_c.change == Change::LinkDocuments;
    }

    // Applies the pass to the listed entries in the order the program listed them, the change
    // made just before the listed file `changeAt` (counted from 0), if it is made at all.
    void run(std::optional<std::size_t> changeAt) {
        std::set<int> written;
        std::string targetFolder = lookUpFolder(kTargets[m_c.target].second);
        // Swapped before the pass, the target is not the folder chosen: nothing is written.
        if (m_c.change == Change::SwapTarget && m_c.changeAt == 0)
            targetFolder.clear();
        // The pass holds the folders of the file it reached last: a swapped folder it holds is
        // still the listed one, under its new name.
        bool swappedHeld = false;
        std::string previous;
        for (std::size_t i = 0, reached = 0; i < m_sources.size(); ++i) {
            const auto& [listedAt, id] = m_sources[i];
            if (listedAt.empty())
                continue;
            if (changeAt == reached++) {
                change();
                swappedHeld = m_swapped && belowSwapped(previous);
                if (m_targetSwapped)
                    targetFolder = kTargetAway; // held
            }
            previous = listedAt;
            const bool inSwapped = m_swapped && belowSwapped(listedAt);
            const std::string source = inSwapped && swappedHeld
                                           ? kSwappedAway + listedAt.substr(kSwapped.size())
                                           : listedAt;
            // A path that no longer leads through the listed folders to the listed file.
            const auto now = m_files.find(source);
            if ((inSwapped && !swappedHeld) ||
                (now != m_files.end() && now->second.id != id && !passesAsListed(source))) {
                m_refused.insert(i);
                continue;
            }
            if (now == m_files.end())
                continue;
            const File file = now->second;
            // What a copy reads; a link that leads nowhere is deleted as itself, never copied.
            const bool dangling = !file.link.empty() && !m_files.contains(file.link);
            const File data = dangling ? File{} : file.link.empty() ? file : m_files.at(file.link);
            if (m_c.pass == Pass::Delete) {
                if (!data.readOnly)
                    removed(i, source);
                continue;
            }
            if (targetFolder.empty() || dangling)
                continue;
            std::string name = nameOf(source);
            if (m_c.prefix) {
                std::string number = std::to_string(i);
                name = std::string(number.size() < 3 ? 3 - number.size() : 0, '0') + number + "_" +
                       name;
            }
            const std::string target = lookUp(targetFolder, name);
            const bool taken = m_files.contains(target);
            if (m_c.pass == Pass::Move && !m_c.across && !taken && !file.readOnly &&
                file.link.empty()) {
                m_files[target] = file; // a rename, or a copy and delete that ends the same
                removed(i, source);
                written.insert(file.id);
                continue;
            }
            if (taken) {
                const File& old = m_files.at(target);
                if (m_listedIds.contains(old.id) || written.contains(old.id) || old.id == file.id ||
                    old.readOnly || old.hidden)
                    continue;
            }
            File copy = data;
            copy.id = ++m_nextId;
            m_files[target] = copy;
            written.insert(copy.id);
            if (m_c.pass == Pass::Copy) {
                m_done.insert(i);
                continue;
            }
            if (!data.readOnly)
                removed(i, source);
        }
    }

    // The listed entries a delete or a move did not remove: left alone as no longer the listed
    // file, still at their place as listed, or with their way gone.
    std::vector<std::size_t> survivors() const {
        std::vector<std::size_t> left;
        for (std::size_t i = 0; i < m_sources.size(); ++i) {
            const auto& [source, id] = m_sources[i];
            const auto now = m_files.find(source);
            if (!source.empty() && !m_done.contains(i) &&
                (m_refused.contains(i) || (m_swapped && belowSwapped(source)) ||
                 (now != m_files.end() && (now->second.id == id || passesAsListed(source)))))
                left.push_back(i);
        }
        return left;
    }
    bool allCopied() const {
        for (std::size_t i = 0; i < m_sources.size(); ++i) {
            if (!m_sources[i].path.empty() && !m_done.contains(i))
                return false;
        }
        return true;
    }

    const Files& files() const { return m_files; }

private:
    struct Source {
        std::string path; // empty for a folder entry
        int id = 0;
    };

    static bool matches(const std::string& pattern, const std::string& name) {
        return pattern == "*" || upper(name).ends_with(pattern);
    }
    void removed(std::size_t i, const std::string& at) {
        m_files.erase(at);
        m_done.insert(i);
    }
    static bool belowSwapped(const std::string& path) { return path.starts_with(kSwapped + "/"); }
    // A file made anew under the number of the listed one, where no birth time tells them apart.
    bool passesAsListed(const std::string& path) const {
        return m_c.change == Change::ReuseNumber && !m_bornTold && path == m_c.changed;
    }
    void moveFolder(const std::string& from, const std::string& to) {
        m_folders.insert(to);
        Files moved;
        for (auto& [path, file] : m_files)
            moved[path.starts_with(from + "/") ? to + path.substr(from.size()) : path] = file;
        m_files = std::move(moved);
    }
    // A folder as Windows finds it: exactly, else without regard to case; empty when missing.
    std::string lookUpFolder(const std::string& folder) const {
        if (folder.empty() || m_folders.contains(folder))
            return folder;
        for (const auto& f : m_folders) {
            if (upper(f) == upper(folder))
                return f;
        }
        return {};
    }
    // The name as Windows finds it: exactly, else without regard to case.
    std::string lookUp(const std::string& folder, const std::string& name) const {
        const std::string exact = folder + "/" + name;
        if (m_files.contains(exact))
            return exact;
        for (const auto& [path, file] : m_files) {
            if (folderOf(path) == folder && upper(nameOf(path)) == upper(name))
                return path;
        }
        return exact;
    }

    const Case& m_c;
    bool m_bornTold;
    Files m_files;
    std::set<std::string> m_folders;
    bool m_swapped = false, m_linked = false, m_targetSwapped = false;
    int m_nextId = 1000;
    std::vector<Source> m_sources;
    std::set<int> m_listedIds; // the listed files and what listed links lead to
    std::set<std::size_t> m_done, m_refused;
};

// The files and file links on disk below `root`; folder links are not followed.
Files filesOn(platform::Platform& fs, const fs::path& root) {
    Files files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
        const std::string path = testsupport::genericUtf8(it->path().lexically_relative(root));
        if (it->is_symlink() && !it->is_directory()) {
            files[path].link =
                testsupport::genericUtf8(fs::read_symlink(it->path()).lexically_relative(root));
            continue;
        }
        if (!it->is_regular_file() || it->is_symlink())
            continue;
        const auto bits =
            fs.getAttributes(std::string(platform::kExactPrefix) + "D:\\" + withBackslashes(path));
        files[path] = {testsupport::readBytes(it->path()), bits && (*bits & platform::ReadOnly),
                       bits && (*bits & platform::Hidden)};
    }
    return files;
}

std::string describe(const Files& files) {
    std::string text;
    for (const auto& [path, f] : files)
        text += path + (f.link.empty() ? "=" + f.content : " -> " + f.link) +
                (f.readOnly ? " [R]" : "") + (f.hidden ? " [H]" : "") + "\n";
    return text;
}

// The log's lines, attempts and failures apart; a failure as its item and note.
void logLines(const std::string& log, std::vector<std::string>& attempts,
              std::vector<std::string>& failures) {
    for (std::size_t start = 0; start < log.size();) {
        const std::size_t end = log.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "a line without its end";
        const std::string line = log.substr(start, end - start);
        start = end + 2;
        const std::size_t open = line.find(";\"") + 2, close = line.rfind("\";");
        const std::string item = line.substr(open, close - open);
        if (line.ends_with(" ->error delete"))
            failures.push_back(item + ";" + line.substr(close + 2));
        else
            attempts.push_back(item);
    }
}

// The failure lines the model expects: each survivor with its place in the final list where
// the new search finds it, else with its place in the list the pass worked on.
std::vector<std::string> expectedFailures(const std::vector<std::string>& listed,
                                          const std::vector<std::string>& final,
                                          const std::vector<std::size_t>& survivors) {
    std::vector<std::string> lines;
    for (std::size_t i : survivors) {
        const auto at = std::find(final.begin(), final.end(), listed[i]);
        const std::string note =
            at == final.end()
                ? std::to_string(i + 1) + "/" + std::to_string(listed.size())
                : std::to_string(at - final.begin() + 1) + "/" + std::to_string(final.size());
        lines.push_back(listed[i].substr(core::kFileMark.size()) + ";" + note + " ->error delete");
    }
    return lines;
}

// Makes the tree of a case on disk; links the host cannot make are left out of the case.
void makeTree(Case& c, platform::Platform& host, const testsupport::TempDir& data) {
    for (const auto& folder : c.folders)
        data.folder(folder);
    for (auto it = c.files.begin(); it != c.files.end();) {
        const auto& [path, f] = *it;
        std::error_code noLink;
        if (!f.link.empty()) {
            fs::create_symlink(data.path() / f.link, data.path() / path, noLink);
            it = noLink ? c.files.erase(it) : std::next(it);
            continue;
        }
        data.file(path, f.content);
        const std::uint32_t bits = platform::Archive | (f.hidden ? platform::Hidden : 0u);
        ASSERT_FALSE(
            host.setAttributes(std::string(platform::kExactPrefix) + "D:\\" + withBackslashes(path),
                               bits | (f.readOnly && !f.byRecord ? platform::ReadOnly : 0u)));
        if (f.byRecord) {
            ASSERT_TRUE(testsupport::markReadOnlyAsAServerDoes(data.path() / path, bits));
        }
        ++it;
    }
}

// Another program's change; false where the host cannot make it, or the pass has taken the
// file already. A replaced file is kept in `kept` (as an editor keeps a backup), and its
// replacement was made there before the pass: a file system may give a file made later the
// number of one deleted, which a pass rightly takes for the listed file it was, and the model
// could not foresee.
bool makeChange(const Case& c, const testsupport::TempDir& data, const testsupport::TempDir& kept,
                const fs::path& documents) {
    std::error_code failed;
    const fs::path changed = data.path() / c.changed;
    // A folder held by the pass cannot be renamed on Windows.
    const auto swap = [&](const fs::path& folder, const fs::path& away, const fs::path& to) {
        fs::rename(folder, away, failed);
        if (failed)
            return;
        fs::create_directory_symlink(to, folder, failed);
        if (failed)
            fs::rename(away, folder);
    };
    switch (c.change) {
    case Change::SwapFolder:
        swap(data.path() / kSwapped, data.path() / kSwappedAway, data.path() / kElsewhere);
        break;
    case Change::RenameFolder:
        fs::rename(data.path() / kSwapped, data.path() / kSwappedAway, failed);
        break;
    case Change::SwapTarget:
        swap(data.path() / kElsewhere, data.path() / kTargetAway, data.path() / kForeign);
        break;
    case Change::LinkDocuments:
        swap(documents, documents.string() + ".alt", data.path() / kForeign);
        break;
    case Change::LinkLog:
        fs::create_symlink(data.path() / kForeignLog, documents / "Tilgomat.txt", failed);
        break;
    case Change::ReplaceFile:
    case Change::ReuseNumber:
        if (!fs::exists(changed))
            return false;
        // Saved anew, the listed file is gone; made anew under its number, it is kept.
        if (c.change == Change::ReuseNumber)
            fs::create_hard_link(changed, kept.path() / "alt", failed);
        if (!failed)
            fs::rename(kept.path() / "neu", changed, failed);
        break;
    case Change::RenameAway:
        if (!fs::exists(changed))
            return false;
        fs::rename(changed, data.path() / (c.changed + ".weg"));
        break;
    case Change::None:
        return false;
    }
    return !failed;
}

// Whether the backend tells a file made in a folder after its listing from the listed one that had
// its number: a file made 20 ms after the listing is reached under a listed number.
bool tellsBirths(platform::Platform& host, const testsupport::TempDir& scratch) {
    scratch.folder("probe");
    platform::Listing listing;
    if (host.listFolder("D:\\probe", platform::ListDetail::Kind, listing))
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    scratch.file("probe/neu", "neu");
    const std::string path = std::string(platform::kExactPrefix) + "D:\\probe\\neu";
    const platform::ListedTrail trail{
        {listing.id}, host.fileId(path).valueOr(platform::FileId{}).inode, false, listing.changed};
    const auto pass = host.beginPass({});
    auto file = pass->reachListed(path, trail);
    return file && (*file)->check() == platform::Error::NotListed;
}

void runCase(Case c) {
    testsupport::FakeHome home;
    testsupport::TempDir data;
    // A folder link where the host lets the test make one (Windows wants a privilege for it).
    data.folder("Baum/A");
    std::error_code noLink;
    fs::create_directory_symlink(data.path() / "Baum" / "A", data.path() / "Verweis", noLink);
    auto host = platform::createPlatformOver({{'c', testsupport::utf8(home.home()), {}},
                                              {'d', data.str(), {}},
                                              {'e', testsupport::utf8(data.path() / "Baum/A"), {}}},
                                             data.str(), home.documentsText());
    static const bool bornTold = [] {
        testsupport::TempDir scratch;
        return tellsBirths(*platform::createPlatformOver({{'d', scratch.str(), {}}}), scratch);
    }();
    makeTree(c, *host, data);
    testsupport::FaultyPlatform fs(*host);
    fs.refuseMoves = c.across;
    core::OperationLog log(fs);
    coretest::TestWindow window(fs, "D:\\Baum", c.pattern, c.subfolders);
    window.listMatchingFiles();

    Model model(c, bornTold);
    const std::vector<std::string> listed = testsupport::entryTexts(window.resultList());
    std::vector<std::string> sortedList = listed;
    std::sort(sortedList.begin(), sortedList.end());
    ASSERT_EQ(sortedList, model.search(c.pattern, c.subfolders)) << "the search listed other files";
    model.list(listed);
    // The change comes just before the pass reaches the listed file c.changeAt, or the last.
    const auto files = static_cast<std::size_t>(std::count_if(
        listed.begin(), listed.end(), [](auto& e) { return e.starts_with(core::kFileMark); }));
    const std::size_t changeAt = std::min(c.changeAt, files == 0 ? 0 : files - 1);
    // Looking ahead, the pass has looked at the file it reaches next: that one is changed.
    for (std::size_t i = 0, file = 0; c.ahead && i < listed.size(); ++i) {
        if (listed[i].starts_with(core::kFileMark) && file++ == changeAt)
            c.changed = "Baum/" + withSlashes(listed[i].substr(12));
    }
    std::optional<std::size_t> changed;
    testsupport::TempDir kept;
    const bool before = c.change == Change::LinkLog || c.change == Change::LinkDocuments ||
                        (c.change == Change::SwapTarget && c.changeAt == 0);
    if (c.change == Change::ReuseNumber)
        fs.reusedNumbers.insert(std::string(platform::kExactPrefix) + "D:\\" +
                                withBackslashes(c.changed));
    // The target as the target folder dialog showed it.
    const std::string target = noLink && kTargets[c.target].first == "D:\\Verweis"
                                   ? std::string("D:\\Baum\\A")
                                   : kTargets[c.target].first;
    const platform::FileId targetId = host->fileIdFollowing(target).valueOr(platform::FileId{});
    if (c.change == Change::ReplaceFile || c.change == Change::ReuseNumber) {
        // Made anew in a later tick of the clock than its folder's listing.
        if (c.change == Change::ReuseNumber)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        kept.file("neu", "neu " + c.changed);
    }
    if (before && !makeChange(c, data, kept, home.documents()))
        c.change = Change::None;
    fs.beforeCall = [&, reached = std::size_t(0)](testsupport::Op op, std::string_view) mutable {
        if (op == testsupport::Op::ReachListed && reached++ == changeAt && !before &&
            makeChange(c, data, kept, home.documents()))
            changed = changeAt;
    };
    if (c.otherSearch)
        window.changeSearch(c.pattern == "*" ? "TXT" : "*", !c.subfolders);

    if (c.pass == Pass::Delete)
        core::deleteListedEntries(window, fs, log);
    else
        core::copyOrMoveEntries(window, fs, log, target, targetId, c.pass != Pass::Copy, c.prefix);
    if (before)
        model.change();
    model.run(before ? std::optional<std::size_t>() : changed);

    EXPECT_EQ(describe(filesOn(*host, data.path())), describe(model.files()))
        << "on disk, then as the model says";

    const std::vector<std::size_t> survivors =
        c.pass == Pass::Copy ? std::vector<std::size_t>() : model.survivors();
    std::vector<std::string> attempts, failures;
    if (model.logLost()) {
        // No line went through the links: what they lead to is compared above.
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(home.documents() / "Tilgomat.txt")));
    } else {
        logLines(testsupport::readBytes(home.documents() / "Tilgomat.txt"), attempts, failures);
        std::vector<std::string> expectedAttempts;
        for (const auto& entry : listed) {
            if (entry.starts_with(core::kFileMark))
                expectedAttempts.push_back(entry.substr(core::kFileMark.size()));
        }
        EXPECT_EQ(attempts, expectedAttempts);
        EXPECT_EQ(failures, expectedFailures(listed, testsupport::entryTexts(window.resultList()),
                                             survivors));
    }
    EXPECT_EQ(window.warnings, survivors.empty() ? 0 : 1);
    EXPECT_EQ(window.copyWarnings, c.pass == Pass::Copy && !model.allCopied() ? 1 : 0);
}

TEST(PassModel, DeleteCopyAndMoveDoWhatTheRulesSayOnRandomTrees) {
    std::mt19937 rng(20261208);
    const bool caseTwins = testsupport::namesDifferInCase();
    for (int n = 0; n < 300; ++n) {
        Case c = randomCase(rng, caseTwins);
        // Every other case as on a share.
        c.ahead = platform::lookAheadEverywhere(n % 2 == 1) && n % 2 == 1;
        const auto change = static_cast<std::size_t>(c.change);
        const bool onFile = c.change == Change::ReplaceFile || c.change == Change::RenameAway ||
                            c.change == Change::ReuseNumber;
        SCOPED_TRACE("case " + std::to_string(n) + ": " + coretest::variantName(c.pass, c.across) +
                     " to " + kTargets[c.target].first + (c.prefix ? " with prefix" : "") +
                     ", pattern " + c.pattern + (c.subfolders ? ", subfolders" : "") +
                     kChangeNames[change] + (onFile ? c.changed : "") +
                     (c.otherSearch ? ", other search" : "") + (c.ahead ? ", looking ahead" : "") +
                     "\nbefore:\n" + describe(c.files));
        runCase(c);
        if (HasFailure())
            break;
    }
    platform::lookAheadEverywhere(false);
}

} // namespace
