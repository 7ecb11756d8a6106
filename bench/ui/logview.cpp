// Opening the log viewer on a 100,000-line log, offscreen, until it has painted, against cat
// reading the same file.
//
//   bench_logview HOME [ROUNDS]
//
// HOME becomes the benchmark's home; its documents folder gets a log of 100,000 lines in the
// program's own format (Windows-1252, CR LF) the first time.

#include "measure.h"

#include "core/cp1252.h"
#include "core/date_text.h"
#include "platform/platform.h"
#include "ui/controls/prompts.h"
#include "ui/dialogs/frmProtocoll.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fsys = std::filesystem;

namespace {

constexpr int kLines = 100000;

class SilentPrompts : public ui::Prompts {
public:
    Answer message(const QString&, const QString&, Icon, Buttons, Answer defaultButton) override {
        return defaultButton;
    }
    QString input(const QString&, const QString&, const QString&) override { return {}; }
};

// Lines as delete, copy and move write them, with umlauts in some paths.
void writeLog(const fsys::path& file) {
    std::ofstream out(file, std::ios::binary);
    const char* const notes[] = {"", " -> copy", " -> move", " ->error delete"};
    for (int i = 0; i < kLines; ++i) {
        const platform::DateTime when{2024,        5,     1 + i / 20000, 8 + i / 5000 % 12,
                                      i / 60 % 60, i % 60};
        std::string line = core::dateText(when) + ";\"c:\\users\\anna\\dokumente\\Berichte_" +
                           std::to_string(i / 100) + "\\" + (i % 7 == 0 ? "Übersicht" : "Brief") +
                           "_" + std::to_string(i) + ".doc\";" + std::to_string(i % 1000 + 1) +
                           "/1000" + notes[i % 4];
        out << core::utf8ToCp1252(line) << "\r\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s HOME [ROUNDS]\n", argv[0]);
        return 2;
    }
    const fsys::path documents = bench::useBenchHome(fsys::absolute(argv[1]));
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const fsys::path log = documents / "Tilgomat.txt";
    if (!fsys::exists(log))
        writeLog(log);

    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication app(argc, argv);
    auto fs = platform::createPlatformOver({{'c', "/", {}}}, "/");
    SilentPrompts prompts;

    auto open = [&] {
        const auto start = bench::Clock::now();
        frmProtocoll viewer(*fs, prompts);
        viewer.show();
        QApplication::processEvents();
        const double seconds = bench::secondsSince(start);
        if (viewer.txtText->document()->blockCount() < kLines) {
            std::fprintf(stderr, "bench_logview: the viewer shows too few lines\n");
            std::exit(1);
        }
        return seconds;
    };
    open(); // warms the cache
    std::vector<double> ours, reference;
    double load = 0;
    for (int r = 0; r < rounds; ++r) {
        load += bench::loadAverage();
        ours.push_back(open());
        reference.push_back(bench::timeCommand({"cat", log.string()}));
    }
    const double t = bench::median(ours), ref = bench::median(reference);
    std::fprintf(stderr, "log viewer: %.1f ms for %lld bytes, cat %.1f ms (load %.1f)\n", t * 1000,
                 static_cast<long long>(fsys::file_size(log)), ref * 1000, load / rounds);
    bench::printRow("open the log viewer on a 100,000-line log", bench::milliseconds(t),
                    "cat " + bench::milliseconds(ref), t / ref, "<= 0.5 s absolute", t <= 0.5);
    return 0;
}
