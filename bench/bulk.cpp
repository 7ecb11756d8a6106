// Delete, copy and move of 10,000 listed files against find -delete, cp and mv on the same
// files, warm cache.
//
//   bench_bulk TEMPLATE WORK [ROUNDS]
//
// TEMPLATE is a tree made by bench/make_files.sh; WORK a folder the benchmark may empty and
// fill. Every round copies the template twice (untimed), once for the program and once for the
// reference tool, and flushes it to disk. The program's figure is the pass alone, log lines
// included, as the window runs it; the new search that follows it is timed on its own. The log
// goes to the documents folder of a home beside WORK. All paths
// must be lower case, since the search lower-cases its start folder.

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
#include <string>
#include <vector>

namespace fsys = std::filesystem;

namespace {

// The main window as far as the passes need it: the list, the search, the warnings.
class BenchWindow : public core::BulkWindow {
public:
    BenchWindow(const platform::Platform& fs, std::string folder)
        : m_fs(fs), m_folder(std::move(folder)) {}

    const core::EntryList& resultList() const override { return m_list; }
    void listMatchingFiles() override {
        const auto start = bench::Clock::now();
        m_list = core::search(m_fs, {m_folder, "*.*", true}).entries;
        searchSeconds += bench::secondsSince(start);
    }
    void refreshFileView() override {}
    void showNotAllDeletedWarning() override { ++warnings; }
    void showNotAllCopiedWarning() override { ++warnings; }

    double searchSeconds = 0;
    int warnings = 0;

private:
    const platform::Platform& m_fs;
    std::string m_folder;
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
};

class BulkBench {
public:
    BulkBench(fsys::path templ, fsys::path work, fsys::path documents)
        : m_template(std::move(templ)), m_work(std::move(work)), m_documents(std::move(documents)),
          m_fs(platform::createPlatformOver({{'c', "/", {}}}, "/")),
          m_expected(countFiles(m_template)) {}

    Round run(Operation op) {
        fsys::remove_all(m_work);
        fsys::create_directories(m_work);
        const fsys::path ours = m_work / "ours", reference = m_work / "reference";
        const fsys::path ourTarget = m_work / "ziel_ours",
                         referenceTarget = m_work / "ziel_reference";
        bench::prepare({"cp", "-a", m_template.string(), ours.string()});
        bench::prepare({"cp", "-a", m_template.string(), reference.string()});
        fsys::create_directory(ourTarget);
        fsys::create_directory(referenceTarget);
        fsys::remove(m_documents / "Tilgomat.txt");
        bench::prepare({"sync"});

        // Every other round the reference goes first, so that neither side always meets the
        // device's leftovers of the preparation (freed blocks, journal commits).
        Round round;
        if (m_rounds++ % 2 == 0) {
            round.pass = runOurs(op, ours, ourTarget, round.search);
            round.reference = runReference(op, reference, referenceTarget);
        } else {
            round.reference = runReference(op, reference, referenceTarget);
            round.pass = runOurs(op, ours, ourTarget, round.search);
        }
        check(op, ours, ourTarget);
        check(op, reference, referenceTarget);
        return round;
    }

private:
    double runOurs(Operation op, const fsys::path& source, const fsys::path& target,
                   double& search) {
        BenchWindow window(*m_fs, bench::pathText(source));
        window.listMatchingFiles();
        if (window.resultList().size() != m_expected)
            fail("the search did not list every file");
        window.searchSeconds = 0;
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
        search = window.searchSeconds;
        return total - search;
    }

    double runReference(Operation op, const fsys::path& source, const fsys::path& target) {
        if (op == Operation::Delete)
            return bench::timeCommand({"find", source.string(), "-type", "f", "-delete"});
        bench::Command command =
            op == Operation::Copy
                ? bench::Command{"cp", "--preserve=mode,timestamps", "-t", target.string()}
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
};

Medians measure(BulkBench& bench, Operation op, int rounds) {
    std::vector<double> pass, search, reference;
    double load = 0;
    for (int r = 0; r < rounds; ++r) {
        load += bench::loadAverage();
        const Round round = bench.run(op);
        pass.push_back(round.pass);
        search.push_back(round.search);
        reference.push_back(round.reference);
    }
    return {bench::median(pass), bench::median(search), bench::median(reference), load / rounds};
}

struct RowPlan {
    Operation op;
    const char* path;
    const char* reference;
    double goal;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TEMPLATE WORK [ROUNDS]\n", argv[0]);
        return 2;
    }
    const fsys::path templ = fsys::canonical(argv[1]);
    const fsys::path work = fsys::absolute(argv[2]);
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
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
