// Faults during delete, copy and move: a call failing at the Nth time, targets that may not be
// written, a missing documents folder and a log that cannot be written. After each, nothing the
// user did not ask to destroy is gone or half-written, every attempt is logged and the failure
// pass names exactly the survivors.

#include "fault_scenario.h"

#include <sys/stat.h>

namespace {

using coretest::Pass;
using coretest::passName;
using coretest::Scenario;
using testsupport::Op;

struct Fault {
    Op op;
    std::errc error;
    const char* what;
    // Moves run as copy and delete, as between two file systems, instead of as renames.
    bool acrossFileSystems = false;
};

// Each fault of `faults` at each call 1..5 (the run makes four attempts and at most as many
// error lines), in a fresh tree every time.
void tryEveryCall(Pass pass, std::initializer_list<Fault> faults) {
    for (const Fault& fault : faults) {
        for (std::size_t nth = 1; nth <= 5; ++nth) {
            SCOPED_TRACE(std::string(passName(pass)) + ": " + fault.what + " at call " +
                         std::to_string(nth));
            Scenario s;
            s.fs.refuseMoves = fault.acrossFileSystems;
            s.fs.failCall(fault.op, nth, std::make_error_code(fault.error));
            s.run(pass);
            std::optional<std::size_t> lost;
            if (fault.op == Op::AppendToFile)
                lost = nth - 1;
            s.checkOutcome(pass, lost);
        }
    }
}

TEST(FaultMatrix, DeleteWithACallFailingAtTheNth) {
    tryEveryCall(Pass::Delete,
                 {{Op::DeleteFile, std::errc::io_error, "unlink I/O error"},
                  {Op::DeleteFile, std::errc::no_such_file_or_directory, "vanished"},
                  {Op::AppendToFile, std::errc::no_space_on_device, "log disk full"}});
}

TEST(FaultMatrix, CopyWithACallFailingAtTheNth) {
    tryEveryCall(Pass::Copy, {{Op::CopyFile, std::errc::no_space_on_device, "disk full"},
                              {Op::CopyFile, std::errc::io_error, "write I/O error"},
                              {Op::CopyFile, std::errc::no_such_file_or_directory, "vanished"},
                              {Op::AppendToFile, std::errc::io_error, "log I/O error"}});
}

TEST(FaultMatrix, MoveWithACallFailingAtTheNth) {
    tryEveryCall(Pass::Move,
                 {{Op::MoveFile, std::errc::io_error, "rename I/O error"},
                  {Op::MoveFile, std::errc::cross_device_link, "rename across file systems"},
                  {Op::CanonicalPath, std::errc::io_error, "target lookup"},
                  {Op::AppendToFile, std::errc::no_space_on_device, "log full"},
                  {Op::CopyFile, std::errc::no_space_on_device, "disk full", true},
                  {Op::CopyFile, std::errc::io_error, "copy I/O error", true},
                  {Op::DeleteFile, std::errc::io_error, "unlink I/O error", true},
                  {Op::DeleteFile, std::errc::permission_denied, "unlink refused", true},
                  {Op::CanonicalPath, std::errc::io_error, "target lookup", true}});
}

TEST(FaultMatrix, TargetsThatMayNotBeWrittenKeepEverything) {
    for (Pass pass : {Pass::Copy, Pass::Move}) {
        SCOPED_TRACE(passName(pass));
        {
            SCOPED_TRACE("target folder missing");
            Scenario s;
            s.run(pass, "D:\\Fehlt");
            EXPECT_FALSE(std::filesystem::exists(s.data.path() / "Fehlt"));
            s.checkOutcome(pass, {}, s.data.path() / "Fehlt");
            EXPECT_EQ(s.wholeSurvivors().size(), 4u);
        }
        {
            SCOPED_TRACE("read-only and hidden targets");
            Scenario s;
            s.data.file("Ziel/b.txt", "alt b");
            s.data.file("Ziel/c.txt", "alt c");
            ASSERT_FALSE(s.fs.setAttributes("D:\\Ziel\\b.txt", platform::ReadOnly));
            ASSERT_FALSE(s.fs.setAttributes("D:\\Ziel\\c.txt", platform::Hidden));
            s.run(pass);
            s.checkOutcome(pass, {}, {}, {{"b.txt", "alt b"}, {"c.txt", "alt c"}});
            EXPECT_TRUE(s.wholeSurvivors().contains("b.txt"));
            EXPECT_TRUE(s.wholeSurvivors().contains("c.txt"));
        }
        {
            SCOPED_TRACE("target equal to source");
            Scenario s;
            s.run(pass, "d:\\QUELLE");
            s.checkOutcome(pass, {}, s.data.path() / "Quelle");
            EXPECT_EQ(s.wholeSurvivors().size(), 4u);
        }
    }
}

TEST(FaultMatrix, WithoutDocumentsFolderTheLogGoesToTheDriveRootOrIsLost) {
    for (Pass pass : {Pass::Delete, Pass::Copy, Pass::Move}) {
        SCOPED_TRACE(passName(pass));
        {
            Scenario s;
            s.fs.documentsOverride = "";
            s.run(pass);
            const std::string atRoot = testsupport::readBytes(s.data.path() / "Tilgomat.txt");
            EXPECT_EQ(atRoot, s.expectedLog(pass));
            EXPECT_EQ(s.wholeSurvivors().size(), pass == Pass::Copy ? 4u : 0u);
        }
        {
            // The folder is looked up for every line: one failed lookup sends one line to the
            // drive root, the others stay in the documents folder.
            Scenario s;
            s.fs.failCall(Op::DocumentsFolder, 2);
            s.run(pass);
            const std::string atRoot = testsupport::readBytes(s.data.path() / "Tilgomat.txt");
            const std::string all = s.expectedLog(pass);
            const std::size_t secondLine = all.find("\r\n") + 2;
            EXPECT_EQ(atRoot,
                      all.substr(secondLine, all.find("\r\n", secondLine) + 2 - secondLine));
            EXPECT_EQ(s.logBytes(), s.expectedLog(pass, 1));
        }
        {
            // Neither the documents folder nor the drive root can take the log: every line is
            // lost, the work is done all the same.
            Scenario s;
            s.fs.documentsOverride = "";
            s.data.folder("Tilgomat.txt");
            s.run(pass);
            EXPECT_EQ(s.wholeSurvivors().size(), pass == Pass::Copy ? 4u : 0u);
            EXPECT_EQ(s.window.searches, 1);
        }
    }
}

TEST(FaultMatrix, ALogThatCannotBeWrittenLosesItsLinesQuietly) {
    for (Pass pass : {Pass::Delete, Pass::Copy, Pass::Move}) {
        SCOPED_TRACE(passName(pass));
        {
            // A read-only log: the backend refuses to append, as Windows would.
            Scenario s;
            const auto logFile = s.home.documents() / "Tilgomat.txt";
            {
                std::FILE* f = std::fopen(logFile.c_str(), "w");
                ASSERT_NE(f, nullptr);
                std::fputs("alt\r\n", f);
                std::fclose(f);
            }
            ASSERT_FALSE(s.fs.setAttributes("C:\\Dokumente\\Tilgomat.txt", platform::ReadOnly));
            s.run(pass);
            EXPECT_EQ(s.logBytes(), "alt\r\n");
            EXPECT_EQ(s.wholeSurvivors().size(), pass == Pass::Copy ? 4u : 0u);
        }
        {
            // The documents folder vanished after start-up.
            Scenario s;
            std::filesystem::remove_all(s.home.documents());
            s.run(pass);
            EXPECT_FALSE(std::filesystem::exists(s.home.documents()));
            EXPECT_EQ(s.wholeSurvivors().size(), pass == Pass::Copy ? 4u : 0u);
        }
    }
}

} // namespace

namespace {

TEST(FaultMatrix, AFailedTargetLookupNeverLetsAMoveReplaceWhatItMoved) {
    for (std::size_t nth = 1; nth <= 6; ++nth) {
        SCOPED_TRACE("target lookup failing at call " + std::to_string(nth));
        Scenario s;
        s.data.file("Quelle/x/z.dat", "aus x");
        s.data.file("Quelle/y/z.dat", "aus y");
        coretest::TestWindow window(s.fs, "D:\\Quelle", "Z.DAT", true);
        window.listMatchingFiles();
        ASSERT_EQ(window.resultList().size(), 2u);
        s.fs.failCall(Op::CanonicalPath, nth);
        core::copyOrMoveEntries(window, s.fs, s.log, "D:\\Ziel", true, false);

        const auto x = s.data.path() / "Quelle/x/z.dat";
        const auto y = s.data.path() / "Quelle/y/z.dat";
        const std::string moved = testsupport::readBytes(s.data.path() / "Ziel/z.dat");
        const bool xKept = std::filesystem::exists(x) || moved == "aus x";
        const bool yKept = std::filesystem::exists(y) || moved == "aus y";
        EXPECT_TRUE(xKept && yKept) << "moved: " << moved;
    }
}

} // namespace

namespace {

TEST(FaultMatrix, AFailedLookupOfTheListNeverLetsACopyReplaceAFileStillWaiting) {
    for (bool move : {false, true}) {
        for (std::size_t nth = 1; nth <= 4; ++nth) {
            SCOPED_TRACE((move ? "move" : "copy") + std::string(": lookup failing at call ") +
                         std::to_string(nth));
            Scenario s;
            s.data.file("Quelle/z.dat", "neu");
            s.data.file("Ziel/z.dat", "alt");
            coretest::TestWindow window(s.fs, "D:\\", "Z.DAT", true);
            window.setEntries({"    d:\\quelle\\z.dat", "    d:\\ziel\\z.dat"});
            s.fs.failCall(Op::CanonicalPath, nth);
            core::copyOrMoveEntries(window, s.fs, s.log, "D:\\Ziel", move, false);
            EXPECT_EQ(testsupport::readBytes(s.data.path() / "Quelle/z.dat"), "neu");
            EXPECT_EQ(testsupport::readBytes(s.data.path() / "Ziel/z.dat"), "alt");
        }
    }
}

} // namespace
