// Delete, copy and move against a plain model of their rules, on a few hundred small random trees:
// shared and case-twin names across folders, a twin of the searched folder itself, read-only and
// hidden files, targets inside and outside the searched tree, reached directly or through a
// folder link or a second drive letter, a missing target, with and without prefix, moves by
// rename and as copy and delete. After each pass the files on disk, the log's attempt lines and
// the failure pass must be exactly what the model says; the model never loses a file the user
// did not ask to delete.

#include "pass_variants.h"
#include "support/entry_texts.h"
#include "support/faulty_platform.h"
#include "test_window.h"

#include "core/bulk_operations.h"
#include "core/operation_log.h"
#include "core/result_entry.h"
#include "platform/platform.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;

using coretest::Pass;

// Files by their path below the data drive ("Baum/A/a.txt"); `id` tells files apart the way the
// file system does: a copy is a new file, a rename keeps it.
struct File {
    std::string content;
    bool readOnly = false;
    bool hidden = false;
    int id = 0;
};
using Files = std::map<std::string, File>;

const std::vector<std::string> kFolders = {"Baum",     "Baum/A", "Baum/a",
                                           "Baum/A/C", "baum",   "Aussen"};
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

struct Case {
    Files files;
    std::set<std::string> folders;
    Pass pass = Pass::Delete;
    bool across = false; // a move as copy and delete
    std::string pattern; // reduced
    bool subfolders = false;
    std::size_t target = 0;
    bool prefix = false;
};

// Whether the file system keeps names that differ only in case apart (Windows does not).
bool namesDifferInCase() {
    testsupport::TempDir probe;
    probe.file("x");
    return !std::filesystem::exists(probe.path() / "X");
}

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
            c.files[path] = {"#" + std::to_string(id) + " " + path, pick(5) == 0, pick(6) == 0, id};
        }
    }
    std::tie(c.pass, c.across) = coretest::passVariants()[pick(4)];
    c.pattern = pick(2) ? "TXT" : "*";
    c.subfolders = pick(2);
    c.target = pick(kTargets.size());
    c.prefix = pick(4) == 0;
    return c;
}

// What the program does, written as plainly as the rules say it.
class Model {
public:
    explicit Model(const Case& c) : m_c(c), m_files(c.files), m_nextId(1000) {}

    bool matches(const std::string& name) const {
        return m_c.pattern == "*" || upper(name).ends_with(m_c.pattern);
    }
    // The search's entries, in no particular order.
    std::vector<std::string> search() const {
        std::vector<std::string> list;
        for (const auto& [path, file] : m_files) {
            if (!path.starts_with("Baum/") || !matches(nameOf(path)))
                continue;
            if (m_c.subfolders || folderOf(path) == "Baum")
                list.push_back("    d:\\baum\\" + withBackslashes(path.substr(5)));
        }
        if (!m_c.subfolders) {
            for (const auto& folder : m_c.folders) {
                if (folder.starts_with("Baum/") && folderOf(folder) == "Baum")
                    list.push_back(">>d:\\baum\\" + folder.substr(5));
            }
        }
        std::sort(list.begin(), list.end());
        return list;
    }

    // Applies the pass to the entries in the order the program listed them.
    void run(const std::vector<std::string>& listed) {
        std::set<int> listedIds, written;
        std::vector<std::string> sources;
        for (const auto& entry : listed) {
            sources.push_back(entry.starts_with("    ") ? "Baum/" + withSlashes(entry.substr(12))
                                                        : "");
            if (!sources.back().empty())
                listedIds.insert(m_files.at(sources.back()).id);
        }
        const std::string targetFolder = lookUpFolder(kTargets[m_c.target].second);
        for (std::size_t i = 0; i < listed.size(); ++i) {
            const std::string& source = sources[i];
            if (source.empty())
                continue;
            const File file = m_files.at(source);
            if (m_c.pass == Pass::Delete) {
                if (!file.readOnly)
                    m_files.erase(source);
                continue;
            }
            if (targetFolder.empty())
                continue;
            std::string name = nameOf(source);
            if (m_c.prefix) {
                std::string number = std::to_string(i);
                name = std::string(number.size() < 3 ? 3 - number.size() : 0, '0') + number + "_" +
                       name;
            }
            const std::string target = lookUp(targetFolder, name);
            const bool taken = m_files.contains(target);
            if (m_c.pass == Pass::Move && !m_c.across && !taken && !file.readOnly) {
                m_files[target] = file; // a rename, or a copy and delete that ends the same
                m_files.erase(source);
                written.insert(file.id);
                continue;
            }
            if (taken) {
                const File& old = m_files.at(target);
                if (listedIds.contains(old.id) ||
                    (m_c.pass != Pass::Copy && written.contains(old.id)) || old.readOnly ||
                    old.hidden)
                    continue;
            }
            File copy = file;
            copy.id = ++m_nextId;
            m_files[target] = copy;
            if (m_c.pass != Pass::Copy) {
                written.insert(copy.id);
                if (!file.readOnly)
                    m_files.erase(source);
            }
        }
    }

    const Files& files() const { return m_files; }

private:
    static std::string withSlashes(std::string s) {
        std::replace(s.begin(), s.end(), '\\', '/');
        return s;
    }
    // A folder as Windows finds it: exactly, else without regard to case; empty when missing.
    std::string lookUpFolder(const std::string& folder) const {
        if (folder.empty() || m_c.folders.contains(folder))
            return folder;
        for (const auto& f : m_c.folders) {
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
    Files m_files;
    int m_nextId;
};

// The files on disk below `root`, links not followed.
Files filesOn(platform::Platform& fs, const fs::path& root) {
    Files files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
        if (!it->is_regular_file() || it->is_symlink())
            continue;
        const std::string path = fs::relative(it->path(), root).generic_string();
        const auto bits =
            fs.getAttributes(std::string(platform::kExactPrefix) + "D:\\" + withBackslashes(path));
        files[path] = {testsupport::readBytes(it->path()), bits && (*bits & platform::ReadOnly),
                       bits && (*bits & platform::Hidden), 0};
    }
    return files;
}

std::string describe(const Files& files) {
    std::string text;
    for (const auto& [path, f] : files)
        text +=
            path + "=" + f.content + (f.readOnly ? " [R]" : "") + (f.hidden ? " [H]" : "") + "\n";
    return text;
}

// The quoted items of the log's lines, attempts and failures apart.
void logItems(const std::string& log, std::vector<std::string>& attempts,
              std::multiset<std::string>& failures) {
    for (std::size_t start = 0; start < log.size();) {
        const std::size_t end = log.find("\r\n", start);
        const std::string line = log.substr(start, end - start);
        start = end + 2;
        const std::size_t open = line.find(";\"") + 2, close = line.rfind("\";");
        const std::string item = line.substr(open, close - open);
        if (line.ends_with(" ->error delete"))
            failures.insert(item);
        else
            attempts.push_back(item);
    }
}

void runCase(const Case& c) {
    testsupport::FakeHome home;
    testsupport::TempDir data;
    for (const auto& folder : c.folders)
        data.folder(folder);
    // A folder link where the host lets the test make one (Windows wants a privilege for it).
    std::error_code noLink;
    fs::create_directory_symlink(data.path() / "Baum" / "A", data.path() / "Verweis", noLink);
    auto host = platform::createPlatformOver({{'c', home.home().string(), {}},
                                              {'d', data.str(), {}},
                                              {'e', (data.path() / "Baum/A").string(), {}}},
                                             data.str(), home.documentsText());
    for (const auto& [path, f] : c.files) {
        data.file(path, f.content);
        const std::uint32_t bits = platform::Archive | (f.readOnly ? platform::ReadOnly : 0u) |
                                   (f.hidden ? platform::Hidden : 0u);
        ASSERT_FALSE(host->setAttributes(
            std::string(platform::kExactPrefix) + "D:\\" + withBackslashes(path), bits));
    }
    testsupport::FaultyPlatform fs(*host);
    fs.refuseMoves = c.across;
    core::OperationLog log(fs);
    coretest::TestWindow window(fs, "D:\\Baum", c.pattern, c.subfolders);
    window.listMatchingFiles();

    Model model(c);
    const std::vector<std::string> listed = testsupport::entryTexts(window.resultList());
    std::vector<std::string> sortedList = listed;
    std::sort(sortedList.begin(), sortedList.end());
    ASSERT_EQ(sortedList, model.search()) << "the search listed other files";

    if (c.pass == Pass::Delete)
        core::deleteListedEntries(window, fs, log);
    else
        core::copyOrMoveEntries(window, fs, log,
                                noLink && kTargets[c.target].first == "D:\\Verweis"
                                    ? std::string("D:\\Baum\\A")
                                    : kTargets[c.target].first,
                                c.pass != Pass::Copy, c.prefix);
    model.run(listed);

    const Files now = filesOn(*host, data.path());
    EXPECT_EQ(describe(now), describe(model.files())) << "on disk, then as the model says";

    std::vector<std::string> attempts;
    std::multiset<std::string> failures;
    logItems(testsupport::readBytes(home.documents() / "Tilgomat.txt"), attempts, failures);
    std::vector<std::string> expectedAttempts;
    for (const auto& entry : listed) {
        if (core::isFileEntry(entry))
            expectedAttempts.emplace_back(core::entryPath(entry));
    }
    EXPECT_EQ(attempts, expectedAttempts);
    // The failure pass names exactly the files the new search finds, each once, all still there.
    std::multiset<std::string> survivors;
    if (c.pass != Pass::Copy) {
        for (const auto& entry : model.search()) {
            if (core::isFileEntry(entry))
                survivors.insert(std::string(core::entryPath(entry)));
        }
    }
    EXPECT_EQ(failures, survivors);
    EXPECT_EQ(window.warnings, survivors.empty() ? 0 : 1);
}

TEST(PassModel, DeleteCopyAndMoveDoWhatTheRulesSayOnRandomTrees) {
    std::mt19937 rng(20261208);
    const bool caseTwins = namesDifferInCase();
    for (int n = 0; n < 300; ++n) {
        const Case c = randomCase(rng, caseTwins);
        SCOPED_TRACE("case " + std::to_string(n) + ": " + coretest::variantName(c.pass, c.across) +
                     " to " + kTargets[c.target].first + (c.prefix ? " with prefix" : "") +
                     ", pattern " + c.pattern + (c.subfolders ? ", subfolders" : "") +
                     "\nbefore:\n" + describe(c.files));
        runCase(c);
        if (HasFailure())
            break;
    }
}

} // namespace
