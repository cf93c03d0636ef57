// The session's commands under failing memory and files. Every allocation a command makes is
// failed in turn, one run each, and every fault of the disk that save-file and load-file meet is
// made: each failure must end in the script's located error and change nothing, neither
// selection, the saved selections, the shapes, the history nor the files.

#include "FaultyFileSystem.h"
#include "Session.h"
#include "SessionCommands.h"
#include "SessionRunner.h"
#include "SessionScene.h"
#include "SessionTextPrinter.h"
#include "app/TestAllocator.h"

#include "AppShapeInterface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using VoTest::FaultyFileSystem;
using VoTest::TestAllocator;
using Call = FaultyFileSystem::Call;

// A session on three shapes, its commands (their files through the file system given) and a
// runner whose transcript and error lines are kept.
struct Driver {
    explicit Driver(VoSession::SessionFileSystem &files)
        : commands(session, files), printer(out, err), runner(session, commands, printer) {
        std::istringstream text("shape A 5 2\nshape B 4\nshape C 3 single\n");
        VoSession::SessionScene scene(session.getNodeNames());
        std::string error;
        EXPECT_TRUE(scene.read(text, "t.scene", error)) << error;
        EXPECT_EQ(session.build(scene), nullptr);
    }
    // Runs lines as the script "t.script", numbered from 1, with the nth allocation of the run
    // failing (0: none); gives its error lines.
    std::string run(const std::string &lines, long nth = 0) {
        err.str("");
        std::istringstream in(lines);
        if (nth > 0) {
            TestAllocator::arm(nth);
        }
        runner.run(in, "t.script", nullptr, out);
        TestAllocator::disarm();
        return err.str();
    }

    VoSession::Session session;
    VoSession::SessionCommands commands;
    std::ostringstream out;
    std::ostringstream err;
    VoSession::SessionTextPrinter printer;
    VoSession::SessionRunner runner;
};

// A fresh directory for the files of a test, removed with what it holds.
class SessionFaultInjectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vo-session-faults-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        // The file's third line is its longest: a text reader that grows its line there may fail.
        setup = "primary A 0\nselect-points 4 3 2 1 0\nadd-shape B\nsave-file " + file() +
                "\nprimary A 2\nselect-handle 1\nsave kept\n";
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    std::string file() const { return directory + "/s.selection"; }

    // Every file with its bytes.
    std::string files() const {
        std::string listed;
        for (const auto &entry : std::filesystem::directory_iterator(directory)) {
            std::ifstream in(entry.path(), std::ios::binary);
            listed += entry.path().string() + ":\n" +
                      std::string(std::istreambuf_iterator<char>(in), {}) + "\n";
        }
        return listed;
    }

    // Both selections, the saved names, the shapes' counts, the history's steps, the picking state
    // and the files.
    std::string describe(VoSession::Session &session) const {
        VoSession::SessionReport report;
        report.display = VoSession::SessionReport::StateDisplay::Always;
        report.state = session.capture();
        report.results = session.getSavedNames();
        for (const std::string &name : session.getShapeNames()) {
            const VoExample::AppShapeInterface &shape = *session.findShape(name);
            report.results.push_back(name + " " + std::to_string(shape.getNbPoints()) + " " +
                                     std::to_string(shape.getNbHandles()));
        }
        const Vo::SeShapeSelector &selector = session.getSelector();
        report.results.push_back(std::to_string(session.getHistory().getNbUndoSteps()) +
                                 " steps, picking " +
                                 std::to_string(static_cast<int>(selector.getPickingType())) + " " +
                                 std::to_string(selector.getPickingIndex()) + " " +
                                 std::to_string(selector.getPickingExtremity()));
        std::ostringstream out;
        std::ostringstream err;
        VoSession::SessionTextPrinter(out, err).printReport(report);
        return out.str() + files();
    }

    // Runs line after the setup with the nth allocation failing, for every n until it runs
    // through. A run that reports nothing did all of it. One that fails reports "t.script:1: out
    // of memory" and changes nothing, or, when what the command did may stand (it ran outside a
    // batch, edited a shape or announced its change), ends the script there, a file written whole
    // or not at all. Gives the number of allocations the line makes.
    long failEveryAllocation(const std::string &line) {
        FaultyFileSystem quick;
        quick.syncs = false;
        Driver normal(quick);
        EXPECT_EQ(normal.run(setup), "");
        EXPECT_EQ(normal.run(line), "") << line;
        const std::string done = describe(normal.session);
        const std::string written = files();
        for (long nth = 1;; ++nth) {
            Driver driver(quick);
            driver.run(setup);
            const std::string before = describe(driver.session);
            const std::string filesBefore = files();
            const std::string errors = driver.run(line, nth);
            const std::string after = describe(driver.session);
            const std::string context = line + ", allocation " + std::to_string(nth);
            if (TestAllocator::allocations() < nth) {
                EXPECT_EQ(after, done) << context;
                return nth - 1;
            }
            if (errors.empty()) {
                EXPECT_EQ(after, done) << context;
            } else if (!driver.runner.wasCutShort()) {
                // Out of memory, or a text form that could not be read whole.
                EXPECT_EQ(errors.rfind("t.script:1: ", 0), 0u) << context;
                EXPECT_EQ(after, before) << context;
            } else {
                EXPECT_EQ(errors, "t.script:1: out of memory\n") << context;
                EXPECT_TRUE(files() == filesBefore || files() == written) << context;
            }
        }
    }

    std::string directory;
    std::string setup;
};

// A reader of the text form that ran out of memory used to give what it had read so far, and
// load-file restored part of a selection, or of its picking state, as if it were all.
TEST_F(SessionFaultInjectionTest, AnAllocationFailureInACommandChangesNothing) {
    // Its picking line is the longest: a reader stopping there keeps the picking state it had.
    std::ofstream(directory + "/picking.selection")
        << "voshape-selection 1\npicking            1            3            1\n"
        << "# end of voshape-selection\n";
    const std::vector<std::string> lines{"save-file " + file(),
                                         "load-file " + file(),
                                         "load-file " + directory + "/picking.selection",
                                         "insert-point A 1",
                                         "delete-point A 0",
                                         "insert-handle A 0",
                                         "select B C",
                                         "primary B 3",
                                         "select-points 1 3",
                                         "save other",
                                         "recall kept",
                                         "delete B",
                                         "undo",
                                         "shape E 4 2",
                                         "host-select A B"};
    for (const std::string &line : lines) {
        EXPECT_GT(failEveryAllocation(line), 0) << line;
    }
}

// A full disk, a failing sync or rename, a read error: a located error, and the old file, the
// selections and the rest as they were.
TEST_F(SessionFaultInjectionTest, AFileFaultChangesNothing) {
    struct Fault {
        Call call;
        int error;
        std::string line;
        std::string message;
    };
    const std::string refused = "t.script:1: cannot write \"" + file() + "\", which is left as it was: ";
    const std::vector<Fault> faults{
        {Call::write, ENOSPC, "save-file " + file(), refused + "writing"},
        {Call::fsync, EIO, "save-file " + file(), refused + "syncing to the disk"},
        {Call::rename, EACCES, "save-file " + file(), refused + "renaming into place"},
        {Call::read, EIO, "load-file " + file(),
         "t.script:1: " + file() + ":1: cannot read the file: Input/output error\n"}};
    for (const Fault &fault : faults) {
        FaultyFileSystem files;
        Driver driver(files);
        ASSERT_EQ(driver.run(setup + "select C\n"), "");
        const std::string before = describe(driver.session);
        files.failAt(fault.call, 1, fault.error);
        const std::string errors = driver.run(fault.line);
        EXPECT_EQ(errors.rfind(fault.message, 0), 0u) << errors;
        EXPECT_EQ(describe(driver.session), before) << fault.line;
    }
}

} // namespace
