// "List" end to end in the main window, offscreen: the walk, the list fill, the status panels
// and the repaint that follows, against fdfind printing the same files. Also the longest time the
// window goes without processing events during the search, and the peak memory of a window
// listing a million entries.
//
//   bench_list list DIR [ROUNDS [TREE]]   the end-to-end row, pattern "*.*" with subfolders, warm
//   bench_list cold DIR [ROUNDS [TREE]]   the same with the page cache emptied before each side
//                                         (root only)
//   bench_list big DIR [ROUNDS]           the end-to-end row on the big tree, with the event gap
//   bench_list share DIR [ROUNDS [SHARE]] the end-to-end row on a slow share (bench/slow_share.py),
//                                         against fdfind on eight threads, the best a peer does
//                                         there; also the share's requests per folder for each
//   bench_list peak DIR                   the memory row: runs "once" in a child process
//   bench_list once DIR                   one search; prints the entry count and their text size
// TREE names the tree's shape in the row (an irregular tree from make_tree.sh), SHARE what the
// kernel keeps of the share.
//
// DIR must have an all-lower-case path (the search lower-cases its start folder).

#include "measure.h"

#include "platform/platform.h"
#include "ui/controls/prompts.h"
#include "ui/main/main_window.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fsys = std::filesystem;

namespace {

// Answers every box with its default button; the search shows none.
class SilentPrompts : public ui::Prompts {
public:
    Answer message(const QString&, const QString&, Icon, Buttons, Answer defaultButton) override {
        return defaultButton;
    }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
};

// Times between event rounds: the dispatcher wakes once per round of processed events.
class EventGaps {
public:
    EventGaps() {
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                         [this] { mark(); });
    }
    void start() {
        m_longest = 0;
        m_longestAt = 0;
        m_rounds = 0;
        m_last = bench::Clock::now();
    }
    void mark() {
        const auto now = bench::Clock::now();
        const double gap = std::chrono::duration<double>(now - m_last).count();
        if (gap > m_longest) {
            m_longest = gap;
            m_longestAt = m_rounds;
        }
        m_last = now;
        ++m_rounds;
    }
    double longest() const { return m_longest; }
    // The number of event rounds before the longest gap ended.
    long longestAt() const { return m_longestAt; }
    long rounds() const { return m_rounds; }

private:
    bench::Clock::time_point m_last;
    double m_longest = 0;
    long m_longestAt = 0;
    long m_rounds = 0;
};

struct Window {
    std::unique_ptr<platform::Platform> fs = platform::createPlatformOver({{'c', "/", {}}}, "/");
    SilentPrompts prompts;
    ui::MainWindow w{*fs, prompts};

    explicit Window(const fsys::path& dir) {
        w.show();
        QApplication::processEvents();
        // The controls as the user reaches them, by their names.
        w.findChild<QLineEdit*>("folderEdit")
            ->setText(QString::fromStdString(bench::pathText(dir)));
        w.findChild<QComboBox*>("pattern")->setEditText(QStringLiteral("*.*"));
        w.findChild<QCheckBox*>("subfolders")->setChecked(true);
        QApplication::processEvents();
    }

    // The toolbar's "List", then the event round in which the window repaints.
    void list() {
        // The command runs once its click has returned, here at once.
        w.findChild<QAction*>("listFiles")->trigger();
        QCoreApplication::sendPostedEvents(&w, QEvent::MetaCall);
        QApplication::processEvents();
    }
};

long countLines(const bench::Command& command) {
    std::FILE* out = std::tmpfile();
    bench::runChild(command, fileno(out));
    std::rewind(out);
    long lines = 0;
    for (int c; (c = std::fgetc(out)) != EOF;)
        lines += c == '\n';
    std::fclose(out);
    return lines;
}

// Empties the page cache, so that the next reader goes to the disk; only root may.
bool dropCaches() {
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    return static_cast<bool>(drop);
}

// "List" against fdfind printing the same files, in alternating order; with `cold`, the page
// cache is emptied before each side. The longest time between two event rounds is reported
// with its goal when `gapGoalMs` is given. `threads`: fdfind's own choice when 0.
int listRow(const fsys::path& dir, int rounds, const std::string& label, bool cold, double goal,
            double gapGoalMs, int threads = 0) {
    // Asked first: without root nothing else of the row need run.
    if (cold && !dropCaches()) {
        bench::printRow(label, "skipped", "fdfind", 0,
                        "<= " + std::to_string(goal).substr(0, 3) + "x", true);
        std::fprintf(stderr, "%s: skipped, the page cache can be emptied only by root\n",
                     label.c_str());
        return 0;
    }
    bench::Command fdfind = {"fdfind", "-u", "-t", "f", ".", dir.string()};
    if (threads > 0)
        fdfind.insert(fdfind.begin() + 2, {"-j", std::to_string(threads)});
    const std::string fdName =
        threads > 0 ? "fdfind -u -j " + std::to_string(threads) : "fdfind -u";
    Window window(dir);
    EventGaps gaps;
    const bench::Requests before = bench::shareRequests(dir);
    window.list(); // warms the cache
    const bench::Requests afterList = bench::shareRequests(dir);
    const long hits = window.w.fileCount();
    const long fdCount = countLines(fdfind);
    if (hits != fdCount) {
        std::fprintf(stderr, "List: %ld hits, fdfind %ld\n", hits, fdCount);
        return 1;
    }
    if (!before.empty()) {
        // What each asks the share per folder it lists (each opens every folder once).
        const bench::Requests ours = bench::requestsMade(before, afterList),
                              theirs = bench::requestsMade(afterList, bench::shareRequests(dir));
        const auto opened = ours.find("opendir");
        const double folders =
            opened == ours.end() ? 1.0 : static_cast<double>(std::max(1L, opened->second));
        std::fprintf(stderr, "%s: requests per folder: Tilgomat %.2f (%s); %s %.2f (%s)\n",
                     label.c_str(), bench::requestsPer(ours, folders),
                     bench::requestsText(ours, folders).c_str(), fdName.c_str(),
                     bench::requestsPer(theirs, folders),
                     bench::requestsText(theirs, folders).c_str());
    }
    std::vector<double> ours, reference, longestGap;
    double load = 0;
    for (int r = 0; r < rounds; ++r) {
        load += bench::loadAverage();
        const auto ourSide = [&] {
            if (cold)
                dropCaches();
            gaps.start();
            const auto start = bench::Clock::now();
            window.list();
            ours.push_back(bench::secondsSince(start));
            gaps.mark();
            longestGap.push_back(gaps.longest());
        };
        const auto theirSide = [&] {
            if (cold)
                dropCaches();
            reference.push_back(bench::timeCommand(fdfind));
        };
        // Who goes first alternates, so that neither always meets the other's leftovers.
        if (r % 2 == 0) {
            ourSide();
            theirSide();
        } else {
            theirSide();
            ourSide();
        }
    }
    const double t = bench::median(ours), ref = bench::median(reference);
    const double gap = bench::median(longestGap);
    std::fprintf(stderr,
                 "%s: %ld hits, %.1f ms; fdfind %.1f ms; longest event gap %.1f ms (load %.1f)\n",
                 label.c_str(), hits, t * 1000, ref * 1000, gap * 1000, load / rounds);
    char goalText[32];
    std::snprintf(goalText, sizeof goalText, "<= %.1fx", goal);
    bench::printRow(label + ", " + std::to_string(hits) + " hits", bench::milliseconds(t),
                    fdName + " " + bench::milliseconds(ref), t / ref, goalText, t / ref <= goal);
    if (gapGoalMs > 0) {
        char gapText[64], gapGoal[32];
        std::snprintf(gapText, sizeof gapText, "%.1f ms", gap * 1000);
        std::snprintf(gapGoal, sizeof gapGoal, "<= %.0f ms", gapGoalMs);
        bench::printRow("  longest time the window does not answer during that search", gapText,
                        "-", 0, gapGoal, gap * 1000 <= gapGoalMs);
    }
    return 0;
}

int once(const fsys::path& dir) {
    Window window(dir);
    window.list();
    const core::EntryList& entries = window.w.resultEntries();
    std::printf("%zu %zu\n", entries.size(), entries.textBytes());
    return 0;
}

int peakRow(const char* self, const fsys::path& dir) {
    std::FILE* out = std::tmpfile();
    const bench::ChildResult child = bench::runChild({self, "once", dir.string()}, fileno(out));
    std::rewind(out);
    std::size_t entries = 0, textBytes = 0;
    if (!child.ok || std::fscanf(out, "%zu %zu", &entries, &textBytes) != 2)
        return 1;
    std::fclose(out);
    const double peakMiB = child.maxRssKiB / 1024.0, textMiB = textBytes / 1048576.0;
    const double goalMiB = 2 * textMiB + 50;
    std::fprintf(stderr, "peak: %zu entries, text %.1f MiB, peak resident %.1f MiB\n", entries,
                 textMiB, peakMiB);
    char figure[32], reference[48], goal[48];
    std::snprintf(figure, sizeof figure, "%.0f MiB", peakMiB);
    std::snprintf(reference, sizeof reference, "entries' text %.0f MiB", textMiB);
    std::snprintf(goal, sizeof goal, "<= 2x + 50 MiB = %.0f MiB", goalMiB);
    bench::printRow("peak memory, " + std::to_string(entries) + " entries listed", figure,
                    reference, peakMiB / textMiB, goal, peakMiB <= goalMiB);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s list|cold|big|share|peak|once DIR [ROUNDS [TREE]]\n",
                     argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const fsys::path dir = fsys::canonical(argv[2]);
    if (mode == "peak")
        return peakRow(argv[0], dir);

    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    bench::useBenchHome("/tmp/tilgomat-bench/home");
    QApplication app(argc, argv);
    if (mode == "once")
        return once(dir);
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const std::string tree = argc > 4 ? std::string(", ") + argv[4] : std::string();
    if (mode == "cold")
        return listRow(dir, rounds, "\"List\" end to end, cold cache" + tree, true, 0.8, 0);
    if (mode == "big")
        return listRow(dir, rounds, "\"List\" end to end, warm, 1,000,000-file tree", false, 1.0,
                       50);
    if (mode == "share")
        return listRow(dir, rounds, "\"List\" end to end, share answering after 1 ms" + tree, false,
                       1.0, 50, 8);
    return listRow(dir, rounds, "\"List\" end to end, warm" + tree, false, 1.0, 50);
}
