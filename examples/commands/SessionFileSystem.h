#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace VoSession {

// The system calls through which the session reads and writes its files, each the POSIX call of
// its name (-1, or a negative count, with errno set, on failure). The real ones; a test derives
// from it to make a call fail as a full disk, a short write or a failing device would. Holds
// nothing.
class SessionFileSystem {
public:
    SessionFileSystem() = default;
    SessionFileSystem(const SessionFileSystem &) = delete;
    SessionFileSystem &operator=(const SessionFileSystem &) = delete;
    virtual ~SessionFileSystem() = default;

    // The process's file system, for those who are given none.
    static SessionFileSystem &standard();

    virtual int open(const std::string &path, int flags, mode_t mode);
    virtual ssize_t read(int fd, char *buffer, std::size_t size);
    virtual ssize_t write(int fd, const char *data, std::size_t size);
    virtual int fstat(int fd, struct stat &status);
    // Follows symbolic links.
    virtual int stat(const std::string &path, struct stat &status);
    virtual int fchmod(int fd, mode_t mode);
    virtual int fsync(int fd);
    // These two never raise: they run while an error leaves a reader or a writer.
    virtual int close(int fd) noexcept;
    virtual int rename(const std::string &from, const std::string &to);
    virtual int unlink(const std::string &path) noexcept;
};

} // namespace VoSession
