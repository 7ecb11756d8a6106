// Delete, copy and move of the listed files against find -delete, cp and mv on the same files,
// warm cache; and the same passes on a slow share.
//
//   bench_bulk TEMPLATE WORK [ROUNDS]
//   bench_bulk share TEMPLATE HOST MOUNT WORK [ROUNDS]
//
// TEMPLATE is a tree made by bench/make_files.sh; WORK a local folder the benchmark may empty and
// fill. Every round copies the template twice (untimed), once for the program and once for the
// reference tool, and flushes it to disk. The program's figure is the pass alone, log lines
// included, as the window runs it; the new search that follows it is timed on its own. The log
// goes to the documents folder of a home beside WORK. All paths must be lower case, since the
// search lower-cases its start folder.
//
// With "share", MOUNT is a writable bench/slow_share.py over the folder HOST (keeping nothing, so
// that the copies made in HOST are seen at once): the files are deleted there, moved into a
// folder there (against a rename of each by its path, bench/rename_each.cpp) and copied from
// there into WORK, and each row also gives the share's requests per file for both sides.

#include "measure.h"

#include "core/bulk_operations.h"
#include "core/operation_log.h"
#include "core/search.h"
#include "platform/platform.h"

#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fsys = std::filesystem;

namespace {

// The main window as far as the passes need it: the list, the search, the warnings.
class BenchWindow : public core::BulkWindow {
public:
    // `share`: where the share is mounted whose requests the searches are not to be counted.
    BenchWindow(platform::Platform& fs, std::string folder, fsys::path share = {})
        : m_fs(fs), m_folder(std::move(folder)), m_share(std::move(share)) {}

    const core::EntryList& resultList() const override { return m_list; }
    void listMatchingFiles() override {
        const bench::Requests before = bench::shareRequests(m_share);
        const auto start = bench::Clock::now();
        m_list = core::search(m_fs, {m_folder, "*.*", true}).entries;
        searchSeconds += bench::secondsSince(start);
        bench::addRequests(searchRequests,
                           bench::requestsMade(before, bench::shareRequests(m_share)));
    }
    void refreshFileView() override {}
    void showNotAllDeletedWarning() override { ++warnings; }
    void showNotAllCopiedWarning() override { ++warnings; }

    double searchSeconds = 0;
    bench::Requests searchRequests;
    int warnings = 0;

private:
    platform::Platform& m_fs;
    std::string m_folder;
    fsys::path m_share;
    core::EntryList m_list;
};

std::size_t countFiles(const fsys::path& dir) {
    std::size_t n = 0;
    for (const auto& e : fsys::recursive_directory_iterator(dir))
        n += e.is_regular_file();
    return n;
}

std::vector<std::string> filesBelow(const fsys::path& dir) {
    std::vector<std::string> files;
    for (const auto& e : fsys::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files.push_back(e.path().string());
    return files;
}

enum class Operation { Delete, Copy, Move };

struct Round {
    double pass = 0;
    double search = 0;
    double reference = 0;
    bench::Requests passBefore, passAfter;           // the share's counts around the pass
    bench::Requests referenceBefore, referenceAfter; // and around the reference
    bench::Requests searchRequests;                  // the new search's, within the pass
};

// A writable slow share: the folder the files are made in, and where it is mounted.
struct Share {
    fsys::path host;
    fsys::path mount;
};

class BulkBench {
public:
    // `share`: the passes work on files on it (copies go to `work`); `renameEach`: the
    // reference for moving there.
    BulkBench(fsys::path templ, fsys::path work, fsys::path documents,
              std::optional<Share> share = {}, fsys::path renameEach = {})
        : m_template(std::move(templ)), m_work(std::move(work)), m_documents(std::move(documents)),
          m_share(std::move(share)), m_renameEach(std::move(renameEach)),
          m_fs(platform::createPlatformOver({{'c', "/", {}}}, "/")),
          m_expected(countFiles(m_template)) {}

    std::size_t files() const { return m_expected; }

    Round run(Operation op) {
        fsys::remove_all(m_work);
        fsys::create_directories(m_work);
        // The files are made where they lie (on the share: in its host folder) and reached
        // where the program and the reference reach them.
        const fsys::path made = m_share ? m_share->host : m_work;
        const fsys::path reached = m_share ? m_share->mount : m_work;
        if (m_share) {
            for (const auto& entry : fsys::directory_iterator(made))
                fsys::remove_all(entry.path());
        }
        bench::prepare({"cp", "-a", m_template.string(), (made / "ours").string()});
        bench::prepare({"cp", "-a", m_template.string(), (made / "reference").string()});
        // Copies leave the share for a local folder; moves stay where the files are.
        const fsys::path targets = m_share && op == Operation::Copy ? m_work : made;
        fsys::create_directory(targets / "ziel_ours");
        fsys::create_directory(targets / "ziel_reference");
        const fsys::path reachedTargets = targets == made ? reached : targets;
        fsys::remove(m_documents / "Tilgomat.txt");
        bench::prepare({"sync"});

        // Every other round the reference goes first, so that neither side always meets the
        // device's leftovers of the preparation (freed blocks, journal commits).
        Round round;
        const auto ours = [&] {
            round.passBefore = requests();
            round.pass = runOurs(op, reached / "ours", reachedTargets / "ziel_ours", round);
            round.passAfter = requests();
        };
        const auto reference = [&] {
            round.referenceBefore = requests();
            round.reference =
                runReference(op, reached / "reference", reachedTargets / "ziel_reference");
            round.referenceAfter = requests();
        };
        if (m_rounds++ % 2 == 0) {
            ours();
            reference();
        } else {
            reference();
            ours();
        }
        check(op, made / "ours", targets / "ziel_ours");
        check(op, made / "reference", targets / "ziel_reference");
        return round;
    }

private:
    bench::Requests requests() const {
        return m_share ? bench::shareRequests(m_share->mount) : bench::Requests();
    }

    double runOurs(Operation op, const fsys::path& source, const fsys::path& target, Round& round) {
        BenchWindow window(*m_fs, bench::pathText(source), m_share ? m_share->mount : fsys::path());
        window.listMatchingFiles();
        if (window.resultList().size() != m_expected)
            fail("the search did not list every file");
        window.searchSeconds = 0;
        window.searchRequests.clear();
        core::OperationLog log(*m_fs);
        // As the target folder dialog shows it.
        const platform::FileId targetId =
            m_fs->fileIdFollowing(bench::pathText(target)).valueOr(platform::FileId{});
        const auto start = bench::Clock::now();
        if (op == Operation::Delete)
            core::deleteListedEntries(window, *m_fs, log);
        else
            core::copyOrMoveEntries(window, *m_fs, log, bench::pathText(target), targetId,
                                    op == Operation::Move, false);
        const double total = bench::secondsSince(start);
        if (window.warnings != 0)
            fail("the pass left files behind");
        round.search = window.searchSeconds;
        round.searchRequests = window.searchRequests;
        return total - round.search;
    }

    double runReference(Operation op, const fsys::path& source, const fsys::path& target) {
        if (op == Operation::Delete)
            return bench::timeCommand({"find", source.string(), "-type", "f", "-delete"});
        bench::Command command =
            op == Operation::Copy
                ? bench::Command{"cp", "--preserve=mode,timestamps", "-t", target.string()}
            : m_share ? bench::Command{m_renameEach.string(), target.string()}
                      : bench::Command{"mv", "-t", target.string()};
        for (auto& file : filesBelow(source))
            command.push_back(std::move(file));
        return bench::timeCommand(command);
    }

    void check(Operation op, const fsys::path& source, const fsys::path& target) const {
        const std::size_t left = countFiles(source), landed = countFiles(target);
        const bool ok = op == Operation::Delete ? left == 0
                        : op == Operation::Copy ? left == m_expected && landed == m_expected
                                                : left == 0 && landed == m_expected;
        if (!ok)
            fail("unexpected outcome in " + source.string());
    }

    [[noreturn]] static void fail(const std::string& what) {
        std::fprintf(stderr, "bench_bulk: %s\n", what.c_str());
        std::exit(1);
    }

    fsys::path m_template, m_work, m_documents;
    std::optional<Share> m_share;
    fsys::path m_renameEach;
    std::unique_ptr<platform::Platform> m_fs;
    std::size_t m_expected;
    int m_rounds = 0;
};

// The work folder's file system, named in each row: on a disk the device's own time can hide
// the program's, in memory it cannot.
std::string fileSystemOf(const fsys::path& dir) {
    struct statfs info {};
    if (statfs(dir.c_str(), &info) != 0)
        return "?";
    switch (info.f_type) {
    case 0xEF53:
        return "ext4";
    case 0x01021994:
        return "tmpfs";
    case 0x58465342:
        return "xfs";
    case 0x9123683E:
        return "btrfs";
    default:
        return "other";
    }
}

struct Medians {
    double pass = 0;
    double search = 0;
    double reference = 0;
    double load = 0;
    Round last; // its request counts: they do not change from round to round
};

Medians measure(BulkBench& bench, Operation op, int rounds) {
    std::vector<double> pass, search, reference;
    double load = 0;
    Round round;
    for (int r = 0; r < rounds; ++r) {
        load += bench::loadAverage();
        round = bench.run(op);
        pass.push_back(round.pass);
        search.push_back(round.search);
        reference.push_back(round.reference);
    }
    return {bench::median(pass), bench::median(search), bench::median(reference), load / rounds,
            std::move(round)};
}

struct RowPlan {
    Operation op;
    const char* path;
    const char* reference;
    double goal;
};

// Delete, copy and move within the work folder, watched and not.
int localRows(const fsys::path& templ, const fsys::path& work, int rounds) {
    // The log lies on the file system of the work folder, so that a run in memory measures
    // no device time at all.
    const fsys::path documents = bench::useBenchHome(work.parent_path() / "tilgomat-bench-home");
    BulkBench bench(templ, work, documents);
    fsys::create_directories(work);
    const std::string onFileSystem = " (" + fileSystemOf(work) + ")";

    const RowPlan plans[] = {
        {Operation::Delete, "delete 10,000 listed files with log lines", "find -type f -delete",
         2.5},
        {Operation::Copy, "copy 10,000 small files into one folder",
         "cp --preserve=mode,timestamps", 2.0},
        {Operation::Move, "move 10,000 files within one file system", "mv", 1.5},
    };
    std::vector<double> watched;
    for (const RowPlan& plan : plans) {
        const Medians m = measure(bench, plan.op, rounds);
        std::fprintf(stderr, "%s: pass %.1f ms, new search %.1f ms, %s %.1f ms (load %.1f)\n",
                     plan.path, m.pass * 1000, m.search * 1000, plan.reference, m.reference * 1000,
                     m.load);
        char goal[32];
        std::snprintf(goal, sizeof goal, "<= %.1fx", plan.goal);
        bench::printRow(plan.path + onFileSystem,
                        bench::milliseconds(m.pass) + " (new search " +
                            bench::milliseconds(m.search) + ")",
                        std::string(plan.reference) + " " + bench::milliseconds(m.reference),
                        m.pass / m.reference, goal, m.pass / m.reference <= plan.goal);
        watched.push_back(m.pass);
    }

    // The same copy and move where no folder can be watched: the user's inotify instances are
    // few (128 by default) and shared by every program, and used up here before the backend asks.
    std::vector<int> held;
    for (int fd; (fd = ::inotify_init1(IN_CLOEXEC)) >= 0;)
        held.push_back(fd);
    BulkBench unwatched(templ, work, documents);
    for (std::size_t i = 1; i < 3; ++i) {
        const Medians m = measure(unwatched, plans[i].op, rounds);
        std::fprintf(stderr, "%s without a folder watch: pass %.1f ms, with one %.1f ms\n",
                     plans[i].path, m.pass * 1000, watched[i] * 1000);
        bench::printRow(std::string(plans[i].path) + ", no folder watch left" + onFileSystem,
                        bench::milliseconds(m.pass),
                        "with a watch " + bench::milliseconds(watched[i]), m.pass / watched[i],
                        "<= 2.0x", m.pass / watched[i] <= 2.0);
    }
    for (int fd : held)
        ::close(fd);
    fsys::remove_all(work);
    return 0;
}

// Delete, move and copy of the files on a share, with the share's requests per file.
int shareRows(const fsys::path& renameEach, const fsys::path& templ, const Share& share,
              const fsys::path& work, int rounds) {
    if (bench::shareRequests(share.mount).empty()) {
        std::fprintf(stderr, "bench_bulk: %s is no share of bench/slow_share.py\n",
                     share.mount.c_str());
        return 1;
    }
    // The log goes to a local documents folder, as a user's would.
    const fsys::path documents = bench::useBenchHome(work.parent_path() / "tilgomat-bench-home");
    BulkBench bench(templ, work, documents, share, renameEach);
    const double files = static_cast<double>(bench.files());
    const std::string count = std::to_string(bench.files());
    const RowPlan plans[] = {
        {Operation::Delete, "delete the listed files on a share answering after 1 ms",
         "find -type f -delete", 1.5},
        {Operation::Move, "move them into a folder of the same share", "a rename each", 1.5},
        {Operation::Copy, "copy them from the share into a local folder",
         "cp --preserve=mode,timestamps", 1.5},
    };
    for (const RowPlan& plan : plans) {
        const Medians m = measure(bench, plan.op, rounds);
        const bench::Requests ours =
            bench::requestsMade(m.last.passBefore, m.last.passAfter, m.last.searchRequests);
        const bench::Requests theirs =
            bench::requestsMade(m.last.referenceBefore, m.last.referenceAfter);
        std::fprintf(stderr,
                     "%s: pass %.1f ms, %.2f requests a file (%s), new search %.1f ms; %s %.1f ms, "
                     "%.2f requests a file (%s) (load %.1f)\n",
                     plan.path, m.pass * 1000, bench::requestsPer(ours, files),
                     bench::requestsText(ours, files).c_str(), m.search * 1000, plan.reference,
                     m.reference * 1000, bench::requestsPer(theirs, files),
                     bench::requestsText(theirs, files).c_str(), m.load);
        char goal[32], ourRequests[64], theirRequests[64];
        std::snprintf(goal, sizeof goal, "<= %.1fx", plan.goal);
        std::snprintf(ourRequests, sizeof ourRequests, ", %.1f requests a file",
                      bench::requestsPer(ours, files));
        std::snprintf(theirRequests, sizeof theirRequests, ", %.1f requests a file",
                      bench::requestsPer(theirs, files));
        bench::printRow(std::string(plan.path) + ", " + count + " files",
                        bench::milliseconds(m.pass) + ourRequests,
                        std::string(plan.reference) + " " + bench::milliseconds(m.reference) +
                            theirRequests,
                        m.pass / m.reference, goal, m.pass / m.reference <= plan.goal);
    }
    fsys::remove_all(work);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 6 && std::string(argv[1]) == "share") {
        const Share share{fsys::canonical(argv[3]), fsys::canonical(argv[4])};
        const int rounds = argc > 6 ? std::max(1, std::atoi(argv[6])) : 5;
        return shareRows(fsys::path(argv[0]).parent_path() / "bench_rename_each",
                         fsys::canonical(argv[2]), share, fsys::absolute(argv[5]), rounds);
    }
    if (argc < 3 || std::string(argv[1]) == "share") {
        std::fprintf(stderr,
                     "usage: %s TEMPLATE WORK [ROUNDS]\n"
                     "       %s share TEMPLATE HOST MOUNT WORK [ROUNDS]\n",
                     argv[0], argv[0]);
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    return localRows(fsys::canonical(argv[1]), fsys::absolute(argv[2]), rounds);
}
