#pragma once

#include "SessionFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <limits>
#include <map>
#include <string>

namespace VoTest {

// The real file system, but for the faults it is told to make: the nth call of a kind fails with
// an errno, a write takes at most writeChunk bytes (a short write), and the disk takes roomLeft
// bytes more before a write fails with ENOSPC. A close that fails has closed all the same, as on
// Linux. Not thread-safe.
class FaultyFileSystem : public VoSession::SessionFileSystem {
public:
    enum class Call { open, read, write, stat, fchmod, fsync, close, rename };

    // The nth call of that kind from now fails with error, and no other of its kind.
    void failAt(Call call, int nth, int error) { faults[call] = {calls[call] + nth, error}; }

    // False: fsync succeeds without waiting for the disk, for tests that save many times.
    bool syncs = true;
    std::size_t writeChunk = std::numeric_limits<std::size_t>::max();
    std::size_t roomLeft = std::numeric_limits<std::size_t>::max();

    int open(const std::string &path, int flags, mode_t mode) override {
        return fails(Call::open) ? -1 : SessionFileSystem::open(path, flags, mode);
    }
    ssize_t read(int fd, char *buffer, std::size_t size) override {
        return fails(Call::read) ? -1 : SessionFileSystem::read(fd, buffer, size);
    }
    ssize_t write(int fd, const char *data, std::size_t size) override {
        if (fails(Call::write)) {
            return -1;
        }
        if (roomLeft == 0) {
            errno = ENOSPC;
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
    int close(int fd) override {
        const int closed = SessionFileSystem::close(fd);
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

    bool fails(Call call) {
        const auto fault = faults.find(call);
        const bool failing = ++calls[call] == (fault == faults.end() ? 0 : fault->second.at);
        if (failing) {
            errno = fault->second.error;
        }
        return failing;
    }

    std::map<Call, int> calls;
    std::map<Call, Fault> faults;
};

} // namespace VoTest
