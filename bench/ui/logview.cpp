// Opening the log viewer, offscreen, until it has painted, against cat reading the same file; and
// the peak memory of a process that opens it once.
//
//   bench_logview DATA LINES [ROUNDS]   the time and memory rows for a log of LINES lines
//   bench_logview once DATA LINES       opens the viewer once (the memory row's child)
//
// DATA/LINES becomes the benchmark's home; its documents folder gets a log of LINES lines in the
// program's own format (Windows-1252, CR LF) the first time.

#include "measure.h"

#include "core/cp1252.h"
#include "core/date_text.h"
#include "platform/platform.h"
#include "ui/controls/log_text_box.h"
#include "ui/controls/prompts.h"
#include "ui/dialogs/log_viewer.h"

#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fsys = std::filesystem;

namespace {

class SilentPrompts : public ui::Prompts {
public:
    Answer message(const QString&, const QString&, Icon, Buttons, Answer defaultButton) override {
        return defaultButton;
    }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
};

// Lines as delete, copy and move write them, with umlauts in some paths.
void writeLog(const fsys::path& file, int lines) {
    std::ofstream out(file, std::ios::binary);
    const char* const notes[] = {"", " -> copy", " -> move", " ->error delete"};
    for (int i = 0; i < lines; ++i) {
        const platform::DateTime when{2024,        5,     1 + i / 200000 % 28, 8 + i / 5000 % 12,
                                      i / 60 % 60, i % 60};
        std::string line = core::dateText(when) + ";\"c:\\users\\anna\\dokumente\\Berichte_" +
                           std::to_string(i / 100) + "\\" + (i % 7 == 0 ? "Übersicht" : "Brief") +
                           "_" + std::to_string(i) + ".doc\";" + std::to_string(i % 1000 + 1) +
                           "/1000" + notes[i % 4];
        out << core::utf8ToCp1252(line) << "\r\n";
    }
}

// The log of `lines` lines in a home of its own; made the first time.
fsys::path prepareLog(const fsys::path& data, int lines) {
    const fsys::path log = bench::useBenchHome(data / std::to_string(lines)) / "Tilgomat.txt";
    if (!fsys::exists(log))
        writeLog(log, lines);
    return log;
}

// Seconds from the viewer's construction to the end of its first painted round.
double openViewer(platform::Platform& fs, int lines) {
    SilentPrompts prompts;
    const auto start = bench::Clock::now();
    ui::LogViewer viewer(fs, prompts);
    viewer.show();
    QApplication::processEvents();
    const double seconds = bench::secondsSince(start);
    if (viewer.textBox->lines().lineCount() < lines) {
        std::fprintf(stderr, "bench_logview: the viewer shows too few lines\n");
        std::exit(1);
    }
    return seconds;
}

std::string linesText(int lines) {
    return lines % 1000000 == 0 ? std::to_string(lines / 1000000) + ",000,000"
                                : std::to_string(lines / 1000) + ",000";
}

int once(const fsys::path& data, int lines, int argc, char** argv) {
    prepareLog(data, lines);
    QApplication app(argc, argv);
    auto fs = platform::createPlatformOver({{'c', "/", {}}}, "/");
    openViewer(*fs, lines);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s [once] DATA LINES [ROUNDS]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    if (std::string(argv[1]) == "once")
        return argc < 4 ? 2 : once(fsys::absolute(argv[2]), std::atoi(argv[3]), argc, argv);

    const fsys::path data = fsys::absolute(argv[1]);
    const int lines = std::max(1, std::atoi(argv[2]));
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const fsys::path log = prepareLog(data, lines);
    const double fileMiB = static_cast<double>(fsys::file_size(log)) / 1048576.0;
    const double goalSeconds = lines * 1.5e-6;

    // The peak memory of a process that starts, opens the viewer once and ends.
    const bench::ChildResult child =
        bench::runChild({argv[0], "once", data.string(), std::to_string(lines)});
    if (!child.ok)
        return 1;
    const double peakMiB = child.maxRssKiB / 1024.0, goalMiB = 3 * fileMiB + 50;

    QApplication app(argc, argv);
    auto fs = platform::createPlatformOver({{'c', "/", {}}}, "/");
    openViewer(*fs, lines); // warms the cache
    std::vector<double> ours, reference;
    double load = 0;
    for (int r = 0; r < rounds; ++r) {
        load += bench::loadAverage();
        // Who goes first alternates, so that neither always meets the other's leftovers.
        if (r % 2 == 0) {
            ours.push_back(openViewer(*fs, lines));
            reference.push_back(bench::timeCommand({"cat", log.string()}));
        } else {
            reference.push_back(bench::timeCommand({"cat", log.string()}));
            ours.push_back(openViewer(*fs, lines));
        }
    }
    const double t = bench::median(ours), ref = bench::median(reference);
    std::fprintf(stderr,
                 "log viewer, %d lines: %.1f ms for %.1f MiB, cat %.1f ms, peak %.0f MiB "
                 "(load %.1f)\n",
                 lines, t * 1000, fileMiB, ref * 1000, peakMiB, load / rounds);
    char goal[32];
    std::snprintf(goal, sizeof goal, "<= %.2f s absolute", goalSeconds);
    bench::printRow("open the log viewer on a " + linesText(lines) + "-line log",
                    bench::milliseconds(t), "cat " + bench::milliseconds(ref), t / ref, goal,
                    t <= goalSeconds);
    char figure[32], fileText[48], memoryGoal[48];
    std::snprintf(figure, sizeof figure, "%.0f MiB", peakMiB);
    std::snprintf(fileText, sizeof fileText, "log file %.0f MiB", fileMiB);
    std::snprintf(memoryGoal, sizeof memoryGoal, "<= 3x + 50 MiB = %.0f MiB", goalMiB);
    bench::printRow("  peak memory of a process opening it", figure, fileText, peakMiB / fileMiB,
                    memoryGoal, peakMiB <= goalMiB);
    return 0;
}
