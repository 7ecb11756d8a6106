// Faults during delete, copy and move: a call failing at the Nth time, targets that may not be
// written, a missing documents folder and a log that cannot be written. After each, nothing the
// user did not ask to destroy is gone or half-written, every attempt is logged and the failure
// pass names exactly the survivors.

#include "fault_scenario.h"

#include <fstream>

namespace {

using coretest::Pass;
using coretest::passName;
using coretest::Scenario;
using testsupport::Op;

struct Fault {
    Pass pass;
    Op op;
    const char* what;
    // Moves run as copy and delete, as between two file systems, instead of as renames.
    bool acrossFileSystems = false;
};

// Every call of the operation that a clean run makes fails in turn, in a fresh tree each time,
// and the fault is seen to fire. The error is one the pass cannot tell from any other of its
// kind (they all take the same road), except for lookups, where only a missing name means a
// free target.
TEST(FaultMatrix, EveryCallFailingInTurn) {
    const Fault faults[] = {
        {Pass::Delete, Op::ReachListed, "way to the listed file"},
        {Pass::Copy, Op::ReachListed, "way to the listed file"},
        {Pass::Move, Op::ReachListed, "way to the listed file", true},
        {Pass::Delete, Op::DeleteFile, "unlink"},
        {Pass::Delete, Op::AppendToFile, "log line"},
        {Pass::Copy, Op::CopyFile, "copy"},
        {Pass::Copy, Op::AppendToFile, "log line"},
        {Pass::Move, Op::MoveFile, "rename"},
        {Pass::Move, Op::AppendToFile, "log line"},
        {Pass::Move, Op::CopyFile, "copy", true},
        {Pass::Move, Op::DeleteFile, "unlink", true},
        {Pass::Move, Op::FileId, "identity of the copied file", true},
    };
    for (const Fault& fault : faults) {
        std::size_t calls = 0;
        {
            Scenario clean;
            clean.fs.refuseMoves = fault.acrossFileSystems;
            const std::size_t before = clean.fs.calls(fault.op);
            clean.run(fault.pass);
            calls = clean.fs.calls(fault.op) - before;
        }
        ASSERT_GT(calls, 0u) << passName(fault.pass) << " makes no call of " << fault.what;
        for (std::size_t nth = 1; nth <= calls; ++nth) {
            SCOPED_TRACE(std::string(passName(fault.pass)) +
                         (fault.acrossFileSystems ? " across file systems: " : ": ") + fault.what +
                         " failing at call " + std::to_string(nth));
            Scenario s;
            s.fs.refuseMoves = fault.acrossFileSystems;
            s.fs.failCall(fault.op, nth);
            s.run(fault.pass);
            EXPECT_EQ(s.fs.pendingFaults(), 0u) << "the fault never fired";
            std::optional<std::size_t> lost;
            if (fault.op == Op::AppendToFile)
                lost = nth - 1;
            s.checkOutcome(fault.pass, lost);
        }
    }
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
            // The folder is looked up once, when the pass starts, and held: a lookup failing
            // later sends no line elsewhere.
            Scenario s;
            s.fs.failCall(Op::DocumentsFolder, 2);
            s.run(pass);
            EXPECT_FALSE(std::filesystem::exists(s.data.path() / "Tilgomat.txt"));
            EXPECT_EQ(s.logBytes(), s.expectedLog(pass));
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
            std::ofstream(s.home.documents() / "Tilgomat.txt", std::ios::binary) << "alt\r\n";
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

// A lookup of a file's identity that fails for another reason than a missing name cannot tell
// whether a target is a listed source or a file this run wrote: that target is left alone.
// Two files of one name moved into one folder; a copy and a move onto a listed file.
TEST(FaultMatrix, AFailedIdentityLookupNeverLetsAPassReplaceAFile) {
    struct Row {
        const char* what;
        bool move;
        bool acrossFileSystems;
        bool listedTarget;
    };
    const Row rows[] = {{"two of one name moved", true, false, false},
                        {"two of one name moved across", true, true, false},
                        {"copy onto a listed file", false, false, true},
                        {"move onto a listed file", true, false, true}};
    const auto run = [](const Row& row, Scenario& s) {
        s.fs.refuseMoves = row.acrossFileSystems;
        coretest::TestWindow window(s.fs, "D:\\", "Z.DAT", true);
        if (row.listedTarget) {
            s.data.file("Quelle/z.dat", "neu");
            s.data.file("Ziel/z.dat", "alt");
            window.setEntries({"    d:\\quelle\\z.dat", "    d:\\ziel\\z.dat"});
        } else {
            s.data.file("Quelle/x/z.dat", "aus x");
            s.data.file("Quelle/y/z.dat", "aus y");
            window.setEntries({"    d:\\quelle\\x\\z.dat", "    d:\\quelle\\y\\z.dat"});
        }
        core::copyOrMoveEntries(window, s.fs, s.log, "D:\\Ziel", {}, row.move, false);
    };
    for (const Row& row : rows) {
        std::size_t calls = 0;
        {
            Scenario clean;
            const std::size_t before = clean.fs.calls(Op::FileId);
            run(row, clean);
            calls = clean.fs.calls(Op::FileId) - before;
        }
        ASSERT_GT(calls, 0u) << row.what;
        for (std::size_t nth = 1; nth <= calls; ++nth) {
            SCOPED_TRACE(std::string(row.what) + ": identity lookup failing at call " +
                         std::to_string(nth));
            Scenario s;
            s.fs.failCall(Op::FileId, nth);
            run(row, s);
            EXPECT_EQ(s.fs.pendingFaults(), 0u) << "the fault never fired";
            const std::string target = testsupport::readBytes(s.data.path() / "Ziel/z.dat");
            if (row.listedTarget) {
                EXPECT_EQ(testsupport::readBytes(s.data.path() / "Quelle/z.dat"), "neu");
                EXPECT_EQ(target, "alt");
                continue;
            }
            const bool xKept =
                std::filesystem::exists(s.data.path() / "Quelle/x/z.dat") || target == "aus x";
            const bool yKept =
                std::filesystem::exists(s.data.path() / "Quelle/y/z.dat") || target == "aus y";
            EXPECT_TRUE(xKept && yKept) << "at the target: " << target;
        }
    }
}

} // namespace
