// The session's selection files. save-file writes through a temporary file beside its file, so
// that every fault of the disk leaves the old file whole and nothing behind; load-file reads its
// file bounded, and quotes what a malformed one holds escaped and cut. (Files cut short, FIFOs and
// devices: saving.script and io-errors.sh.)

#include "FaultyFileSystem.h"
#include "ScratchDirectory.h"
#include "SessionFileReader.h"
#include "SessionSelectionFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace {

using VoSession::SessionSelectionFile;
using VoTest::FaultyFileSystem;
using Call = FaultyFileSystem::Call;

const std::string text = "voshape-selection 1\npicking 0 -1 -1\nshape 4\n";
const Vo::SeSelectionSnapshot snapshot = Vo::SeSelectionSnapshot::fromText(text);

class SessionFilesTest : public ::testing::Test {
protected:
    std::string path(const std::string &name) const { return scratch.path(name); }
    std::string contents(const std::string &name) const { return scratch.contents(name); }
    void write(const std::string &name, const std::string &bytes) const {
        scratch.write(name, bytes);
    }
    std::string loadProblem(const std::string &name, FaultyFileSystem &&files = {}) const {
        Vo::SeSelectionSnapshot read;
        std::string problem;
        const bool loaded = SessionSelectionFile(files).load(path(name), read, problem);
        EXPECT_EQ(loaded, problem.empty());
        EXPECT_EQ(files.openFiles, 0);
        return problem;
    }

    VoTest::ScratchDirectory scratch;
};

// Each step that fails (a full disk after ten bytes included) leaves the old file as it was and no
// temporary file; saving used to write the file itself and leave it cut at what the disk took.
// Short writes are continued, and the file keeps its permissions, also through a symbolic link.
TEST_F(SessionFilesTest, EveryFaultOfASaveLeavesTheOldFileWhole) {
    struct Fault {
        Call call;
        int error;
        const char *step;
    };
    const std::vector<Fault> faults{{Call::stat, EACCES, "reading the status of"},
                                    {Call::open, EMFILE, "creating"},
                                    {Call::write, ENOSPC, "writing"},
                                    {Call::fchmod, EPERM, "giving the file's permissions to"},
                                    {Call::fsync, EIO, "syncing to the disk"},
                                    {Call::close, EIO, "closing"},
                                    {Call::rename, EXDEV, "renaming into place"}};
    write("s.selection", "old\n");
    ASSERT_EQ(chmod(path("s.selection").c_str(), 0640), 0);
    const std::string refused =
        "cannot write \"" + path("s.selection") + "\", which is left as it was: ";
    for (const Fault &fault : faults) {
        FaultyFileSystem files;
        files.writeChunk = 5;
        files.failAt(fault.call, fault.call == Call::write ? 2 : 1, fault.error);
        const std::string problem = SessionSelectionFile(files).save(path("s.selection"), snapshot);
        EXPECT_EQ(problem.rfind(refused + fault.step + " \"", 0), 0u) << problem;
        EXPECT_NE(problem.find(std::strerror(fault.error)), std::string::npos) << problem;
        EXPECT_EQ(files.openFiles, 0);
    }
    FaultyFileSystem full; // a device that takes nothing, and tells no error
    full.roomLeft = 0;
    EXPECT_NE(SessionSelectionFile(full).save(path("s.selection"), snapshot).find("No space"),
              std::string::npos);
    FaultyFileSystem files; // full after ten bytes, a write interrupted meanwhile
    files.writeChunk = 5;
    files.roomLeft = 10;
    files.failAt(Call::write, 2, EINTR);
    EXPECT_NE(SessionSelectionFile(files).save(path("s.selection"), snapshot).find("No space"),
              std::string::npos);
    EXPECT_EQ(contents("s.selection"), "old\n");
    // Temporary names left by runs that stopped midway are skipped, a hundred at the most.
    const std::string stale = "s.selection.tmp-" + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        write(stale + std::to_string(attempt), "");
    }
    FaultyFileSystem roomy;
    EXPECT_NE(SessionSelectionFile(roomy).save(path("s.selection"), snapshot).find("99\": File"),
              std::string::npos);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::remove(path(stale + std::to_string(attempt)));
    }

    ASSERT_EQ(symlink(path("s.selection").c_str(), path("link").c_str()), 0);
    roomy.writeChunk = 3;
    roomy.failAt(Call::write, 2, EINTR); // interrupted: written again
    EXPECT_EQ(SessionSelectionFile(roomy).save(path("link"), snapshot), "");
    EXPECT_EQ(contents("s.selection"), text + "# end of voshape-selection\n");
    EXPECT_TRUE(std::filesystem::is_symlink(path("link")));
    struct stat status {};
    ASSERT_EQ(stat(path("s.selection").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 2);
    EXPECT_EQ(loadProblem("s.selection"), "");
}

// A malformed line is quoted escaped, so that its control characters cannot reach the terminal,
// and cut, so that a long one gives a short message; a read error, a line past the limit or a
// file past its bound is refused at its line.
TEST_F(SessionFilesTest, LoadRefusesWhatItCannotReadWholeInShortMessages) {
    write("long.selection", "voshape-selection 1\nshape 4 points 1 \x1b[2J\a" +
                                std::string(1000000, 'x') + "\n# end of voshape-selection\n");
    const std::string problem = loadProblem("long.selection");
    EXPECT_EQ(problem.rfind(path("long.selection") + ":2: ", 0), 0u) << problem.substr(0, 200);
    EXPECT_LT(problem.size(), 400u);
    EXPECT_NE(problem.find("\\x1b[2J\\x07"), std::string::npos) << problem.substr(0, 200);
    EXPECT_EQ(problem.find_first_of("\x1b\a"), std::string::npos);
    EXPECT_NE(problem.find("(expected "), std::string::npos) << problem;

    write("header.selection", "voshape-selection 2\n# end of voshape-selection\n");
    EXPECT_EQ(loadProblem("header.selection")
                  .rfind(path("header.selection") + ":1: version \"2\" (expected ", 0),
              0u);
    write("s.selection", text + "# end of voshape-selection\n");
    FaultyFileSystem interrupted; // a byte a read, and the one at the end read again
    interrupted.readChunk = 1;
    interrupted.failAt(Call::read, static_cast<int>(text.size()) + 28, EINTR);
    EXPECT_EQ(loadProblem("s.selection", std::move(interrupted)), "");
    FaultyFileSystem failing;
    failing.failAt(Call::read, 1, EIO);
    EXPECT_EQ(loadProblem("long.selection", std::move(failing)),
              path("long.selection") + ":1: cannot read the file: Input/output error");
    write("endless.selection", std::string(5000000, 'x'));
    EXPECT_EQ(loadProblem("endless.selection"),
              path("endless.selection") + ":1: line longer than 1048576 bytes, starting \"" +
                  std::string(40, 'x') + "\"... (expected at most 1048576 bytes a line)");
    std::vector<std::string> lines;
    std::string refused;
    FaultyFileSystem files;
    VoSession::SessionFileReader reader(files, "no more than 100 bytes", 100);
    write("large.selection", std::string(49, 'x') + "\n" + std::string(49, 'x') + "\n");
    EXPECT_TRUE(reader.read(path("large.selection"), lines, refused)) << refused;
    write("large.selection", std::string(50, 'x') + "\n" + std::string(50, 'x') + "\n");
    EXPECT_FALSE(reader.read(path("large.selection"), lines, refused));
    EXPECT_EQ(refused, path("large.selection") +
                           ":2: the file goes on past 100 bytes (expected at most 100 bytes)");
}

} // namespace
