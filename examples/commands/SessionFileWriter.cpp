#include "SessionFileWriter.h"

#include "SessionText.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

namespace VoSession {

namespace {

// Names taken by files left behind by a run that stopped midway are skipped, up to this many.
const int maxAttempts = 100;
// What a new file gets, less the umask, as any file the user creates.
const mode_t newFileMode = 0666;

// The file a symbolic link names, so that the link stays one; the path itself otherwise.
std::string targetOf(const std::string &path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? path : resolved.string();
}

} // namespace

// The temporary file of a save, beside its file: once created, its descriptor is closed and its
// name removed (gone once it is renamed into place) whatever leaves the save, an error while a
// message is made included; a name it could not create is another's and stays. Borrows the file
// system.
class SessionFileWriter::Temporary {
public:
    explicit Temporary(SessionFileSystem &system) noexcept : files(system) {}
    Temporary(const Temporary &) = delete;
    Temporary &operator=(const Temporary &) = delete;
    ~Temporary() {
        if (created) {
            close();
            files.unlink(path);
        }
    }

    // Creates a new file beside target; false, with errno set, when none can be made.
    bool create(const std::string &target) {
        for (int attempt = 0; fd < 0 && attempt < maxAttempts; ++attempt) {
            path = target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
            fd = files.open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newFileMode);
            if (fd < 0 && errno != EEXIST) {
                break;
            }
        }
        created = fd >= 0;
        return created;
    }
    const std::string &getPath() const noexcept { return path; }
    int getDescriptor() const noexcept { return fd; }
    // Closes the descriptor, once; false, with errno set, when the close failed.
    bool close() noexcept {
        const int descriptor = std::exchange(fd, -1);
        return descriptor < 0 || files.close(descriptor) == 0;
    }

private:
    SessionFileSystem &files;
    std::string path;
    int fd = -1;
    bool created = false;
};

SessionFileWriter::SessionFileWriter(SessionFileSystem &system) noexcept : files(system) {}

std::string SessionFileWriter::save(const std::string &path, const std::string &text) {
    const std::string target = targetOf(path);
    struct stat status {};
    const bool replacing = files.stat(target, status) == 0;
    if (!replacing && errno != ENOENT) {
        return failed(false, "reading the status of", target);
    }
    if (replacing && !S_ISREG(status.st_mode)) {
        return "it is not a regular file";
    }
    Temporary file(files);
    const std::string &temporary = file.getPath();
    if (!file.create(target)) {
        return failed(false, "creating", temporary);
    }
    std::string problem = write(file.getDescriptor(), temporary, text);
    if (problem.empty() && replacing) {
        problem = failed(files.fchmod(file.getDescriptor(), status.st_mode & 07777) == 0,
                         "giving the file's permissions to", temporary);
    }
    if (problem.empty()) {
        problem = failed(files.fsync(file.getDescriptor()) == 0, "syncing to the disk", temporary);
    }
    // Closed whatever happened before; a close that fails may be the first to tell of a lost write.
    const bool closed = file.close();
    if (problem.empty()) {
        problem = failed(closed, "closing", temporary);
    }
    if (problem.empty()) {
        problem = failed(files.rename(temporary, target) == 0, "renaming into place", temporary);
    }
    return problem;
}

std::string SessionFileWriter::write(int fd, const std::string &temporary,
                                     const std::string &text) {
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t count = files.write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count == 0) {
            errno = ENOSPC; // a write that takes nothing and tells no error: a full device
        }
        if (count <= 0) {
            return failed(false, "writing", temporary);
        }
        written += static_cast<std::size_t>(count);
    }
    return std::string();
}

std::string SessionFileWriter::failed(bool done, const char *step, const std::string &file) {
    const int error = errno; // first: building the message may change it
    return done ? std::string()
                : std::string(step) + " " + SessionText::quote(file) + ": " + std::strerror(error);
}

} // namespace VoSession
