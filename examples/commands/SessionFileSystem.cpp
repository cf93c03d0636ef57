#include "SessionFileSystem.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace VoSession {

SessionFileSystem &SessionFileSystem::standard() {
    static SessionFileSystem files;
    return files;
}

int SessionFileSystem::open(const std::string &path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags, mode);
}

ssize_t SessionFileSystem::read(int fd, char *buffer, std::size_t size) {
    return ::read(fd, buffer, size);
}

ssize_t SessionFileSystem::write(int fd, const char *data, std::size_t size) {
    return ::write(fd, data, size);
}

int SessionFileSystem::fstat(int fd, struct stat &status) { return ::fstat(fd, &status); }

int SessionFileSystem::stat(const std::string &path, struct stat &status) {
    return ::stat(path.c_str(), &status);
}

int SessionFileSystem::fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }

int SessionFileSystem::fsync(int fd) { return ::fsync(fd); }

int SessionFileSystem::close(int fd) noexcept { return ::close(fd); }

int SessionFileSystem::rename(const std::string &from, const std::string &to) {
    return std::rename(from.c_str(), to.c_str());
}

int SessionFileSystem::unlink(const std::string &path) noexcept { return ::unlink(path.c_str()); }

} // namespace VoSession
