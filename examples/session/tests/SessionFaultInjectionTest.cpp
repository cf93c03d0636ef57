// The session's commands under failing memory and files: every allocation a command makes is
// failed in turn, one run each, and save-file and load-file meet a full disk and a read error.
// Each failure ends in the script's located error and changes nothing (selections, saved
// selections, shapes, history, picking state, files), or, when what the command did stands,
// ends the run there.

#include "FaultyFileSystem.h"
#include "ScratchDirectory.h"
#include "Session.h"
#include "SessionCommands.h"
#include "SessionRunner.h"
#include "SessionScene.h"
#include "SessionTextPrinter.h"
#include "app/TestAllocator.h"

#include "AppShapeInterface.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

using VoTest::FaultyFileSystem;
using VoTest::TestAllocator;

// A session on four shapes, its commands (their files through the file system given) and a
// runner whose transcript and error lines are kept.
struct Driver {
    explicit Driver(VoSession::SessionFileSystem &files)
        : commands(session, files), printer(out, err), runner(session, commands, printer) {
        std::istringstream text("shape A 300 2\nshape B 4\nshape C 3 single\nshape D 2\n");
        VoSession::SessionScene scene(session.getNodeNames());
        std::string error;
        EXPECT_TRUE(scene.read(text, "t.scene", error)) << error;
        EXPECT_EQ(session.build(scene), nullptr);
    }
    // Runs lines as the script "t.script" with the nth allocation of the run failing (0: none);
    // gives its error lines.
    std::string run(const std::string &lines, long nth = 0) {
        err.str("");
        std::istringstream in(lines);
        TestAllocator::arm(nth);
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

class SessionFaultInjectionTest : public ::testing::Test {
protected:
    void SetUp() override { files.syncs = false; }

    std::string file() const { return scratch.path("s.selection"); }
    std::string filesNow() const {
        std::string listed;
        for (const auto &entry : std::filesystem::directory_iterator(scratch.path())) {
            const std::string name = entry.path().filename().string();
            listed += name + ":\n" + scratch.contents(name);
        }
        return listed;
    }
    // What a failed command must leave as it was; with history false, all but the number of undo
    // steps.
    std::string describe(VoSession::Session &session, bool history = true) const {
        VoSession::SessionReport report;
        report.display = VoSession::SessionReport::StateDisplay::Always;
        report.state = session.capture();
        report.results = session.getSavedNames();
        for (const std::string &name : session.getShapeNames()) {
            report.results.push_back(name + " " +
                                     std::to_string(session.findShape(name)->getNbPoints()));
        }
        const Vo::SeShapeSelector &selector = session.getSelector();
        const int steps = history ? session.getHistory().getNbUndoSteps() : -1;
        report.results.push_back(std::to_string(steps) + " " +
                                 std::to_string(static_cast<int>(selector.getPickingType())) +
                                 std::to_string(selector.getPickingIndex()));
        std::ostringstream out;
        VoSession::SessionTextPrinter(out, out).printReport(report);
        return out.str() + filesNow();
    }

    // Runs line after the setup with the nth allocation failing, for every n until it runs
    // through; gives the number of allocations it makes. A file is written whole or not at all.
    long failEveryAllocation(const std::string &line) {
        Driver normal(files);
        EXPECT_EQ(normal.run(setup), "");
        EXPECT_EQ(normal.run(line), "") << line;
        const std::string written = filesNow();
        for (long nth = 1;; ++nth) {
            Driver driver(files);
            driver.run(setup);
            const std::string before = describe(driver.session);
            const std::string filesBefore = filesNow();
            const std::string errors = driver.run(line, nth);
            const std::string context = line + ", allocation " + std::to_string(nth);
            if (TestAllocator::allocations() < nth || errors.empty()) {
                expectDone(driver.session, normal.session, context);
                if (TestAllocator::allocations() < nth) {
                    return nth - 1;
                }
            } else if (!driver.runner.wasCutShort()) {
                // Out of memory, or a text form that could not be read whole.
                EXPECT_EQ(errors.rfind("t.script:1: ", 0), 0u) << context;
                EXPECT_EQ(describe(driver.session), before) << context;
            } else {
                EXPECT_EQ(errors, "t.script:1: out of memory\n") << context;
                EXPECT_TRUE(filesNow() == filesBefore || filesNow() == written) << context;
            }
        }
    }

    // A command that ran through did what it does without a failure, but for the history, which
    // forgets its steps when memory runs out as it follows a renumbering (rather than undo to a
    // state the user never had). Where that allocation falls depends on the standard library's
    // containers.
    void expectDone(VoSession::Session &session, VoSession::Session &normal,
                    const std::string &context) const {
        if (describe(session) != describe(normal)) {
            EXPECT_EQ(session.getHistory().getNbUndoSteps(), 0) << context;
            EXPECT_EQ(session.getHistory().getNbRedoSteps(), 0) << context;
            EXPECT_EQ(describe(session, false), describe(normal, false)) << context;
        }
    }

    VoTest::ScratchDirectory scratch;
    FaultyFileSystem files;
    std::string setup;
};

// A reader of the text form that ran out of memory used to give what it had read so far, and
// load-file restored part of a selection, or of its picking state, as if it were all.
TEST_F(SessionFaultInjectionTest, AnAllocationFailureChangesNothingOrEndsTheRun) {
    // The saved file's third line is its longest: a text reader growing its line there may fail.
    setup = "primary A 0\nselect-points 4 3 2 1 0\nadd-shape B\nsave-file " + file() +
            "\nprimary A 2\nselect-handle 1\nsave kept\ndelete D no-event\n";
    // Its picking line is the longest: a reader stopping there keeps the picking state it had.
    // A temporary file another run left: a save skips its name and leaves it.
    scratch.write("s.selection.tmp-" + std::to_string(getpid()) + "-0", "stale");
    scratch.write("picking.selection",
                  "voshape-selection 1\npicking            1            3            1\n"
                  "# end of voshape-selection\n");
    const std::vector<std::string> lines{"save-file " + file(),
                                         "load-file " + file(),
                                         "load-file " + scratch.path("picking.selection"),
                                         "insert-point A 1",
                                         "delete-point A 0",
                                         "select B C",
                                         "primary B 3",
                                         "select-points 1 3",
                                         "save other",
                                         "recall kept",
                                         "delete B",
                                         "undo",
                                         "shape E 4 2",
                                         "host-select A B",
                                         "picking 1 2 0",
                                         "send-removal D"};
    for (const std::string &line : lines) {
        EXPECT_GT(failEveryAllocation(line), 0) << line;
    }
}

// The text form's stream grows its buffer at 512 bytes, then at twice that (libstdc++): a failure
// there, when a line has just ended, leaves whole lines without the last ones, which save-file
// used to write, end line appended, as if they were the selection.
TEST_F(SessionFaultInjectionTest, ATextCutAfterALineIsNotSaved) {
    setup = "primary A 0\nselect-points";
    for (int index = 0; index < 140; ++index) {
        setup += " " + std::to_string(index);
    }
    setup += "\nselect-handle 0\nadd-shape B\npicking 1 100 -1\n";
    Driver driver(files);
    ASSERT_EQ(driver.run(setup), "");
    const std::string text = driver.session.captureSelection().toText();
    ASSERT_GT(text.size(), 512u);
    ASSERT_EQ(text[511], '\n'); // A's line ends there, B's follows
    EXPECT_GT(failEveryAllocation("save-file " + file()), 0);
}

// A full disk, a read error: a located error, and the old file and the rest as they were.
TEST_F(SessionFaultInjectionTest, AFileFaultChangesNothing) {
    Driver driver(files);
    ASSERT_EQ(driver.run("select A B\nsave-file " + file() + "\nselect C\n"), "");
    const std::string before = describe(driver.session);
    files.roomLeft = 10;
    EXPECT_EQ(
        driver.run("save-file " + file())
            .rfind("t.script:1: cannot write \"" + file() + "\", which is left as it was: writing"),
        0u);
    files.failAt(FaultyFileSystem::Call::read, 1, EIO);
    EXPECT_EQ(driver.run("load-file " + file()),
              "t.script:1: " + file() + ":1: cannot read the file: Input/output error\n");
    EXPECT_EQ(describe(driver.session), before);
}

} // namespace
