#pragma once

#include "SessionFileSystem.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <limits>
#include <string>

namespace VoTest {

// The real file system, but for the faults it is told to make: the nth call of a kind fails with
// an errno, a read or a write takes at most readChunk or writeChunk bytes (a short one), and the
// disk takes roomLeft
// bytes more, after which a write takes nothing. A close that fails has closed all the same, as on
// Linux. Counts the files left open. Not thread-safe.
class FaultyFileSystem : public VoSession::SessionFileSystem {
public:
    enum class Call { open, read, write, stat, fchmod, fsync, close, rename };

    // The nth call of that kind from now fails with error, and no other of its kind.
    void failAt(Call call, int nth, int error) {
        faults[index(call)] = {calls[index(call)] + nth, error};
    }

    // False: fsync succeeds without waiting for the disk, for tests that save many times.
    bool syncs = true;
    std::size_t readChunk = std::numeric_limits<std::size_t>::max();
    std::size_t writeChunk = std::numeric_limits<std::size_t>::max();
    std::size_t roomLeft = std::numeric_limits<std::size_t>::max();
    int openFiles = 0;

    int open(const std::string &path, int flags, mode_t mode) override {
        const int fd = fails(Call::open) ? -1 : SessionFileSystem::open(path, flags, mode);
        openFiles += fd >= 0 ? 1 : 0;
        return fd;
    }
    ssize_t read(int fd, char *buffer, std::size_t size) override {
        return fails(Call::read) ? -1
                                 : SessionFileSystem::read(fd, buffer, std::min(size, readChunk));
    }
    ssize_t write(int fd, const char *data, std::size_t size) override {
        if (fails(Call::write)) {
            return -1;
        }
        const ssize_t written =
            SessionFileSystem::write(fd, data, std::min({size, writeChunk, roomLeft}));
        roomLeft -= static_cast<std::size_t>(std::max<ssize_t>(written, 0));
        return written;
    }
    int stat(const std::string &path, struct stat &status) override {
        return fails(Call::stat) ? -1 : SessionFileSystem::stat(path, status);
    }
    int fchmod(int fd, mode_t mode) override {
        return fails(Call::fchmod) ? -1 : SessionFileSystem::fchmod(fd, mode);
    }
    int fsync(int fd) override {
        return fails(Call::fsync) ? -1 : syncs ? SessionFileSystem::fsync(fd) : 0;
    }
    int close(int fd) noexcept override {
        const int closed = SessionFileSystem::close(fd);
        openFiles -= closed == 0 ? 1 : 0;
        return fails(Call::close) ? -1 : closed;
    }
    int rename(const std::string &from, const std::string &to) override {
        return fails(Call::rename) ? -1 : SessionFileSystem::rename(from, to);
    }

private:
    struct Fault {
        int at = 0;
        int error = 0;
    };

    static std::size_t index(Call call) { return static_cast<std::size_t>(call); }
    // Allocates nothing, so that the tests that fail allocations fail none here.
    bool fails(Call call) noexcept {
        const Fault &fault = faults[index(call)];
        const bool failing = ++calls[index(call)] == fault.at;
        if (failing) {
            errno = fault.error;
        }
        return failing;
    }

    std::array<int, 8> calls{};
    std::array<Fault, 8> faults{};
};

} // namespace VoTest
