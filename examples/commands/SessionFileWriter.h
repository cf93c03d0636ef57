#pragma once

#include "SessionFileSystem.h"

#include <string>

namespace VoSession {

// Saves text into a file so that a failure never loses what the file held: the text goes into a
// new temporary file beside it (in its directory, so on its file system), which is written, synced
// to the disk and closed, each step checked, and only then renamed over the file, which is
// replaced whole or not at all. On a failure the temporary file is removed. A file that exists
// must be a regular one (through a symbolic link, the file it names is replaced), and keeps its
// permissions. Borrows the file system.
class SessionFileWriter {
public:
    explicit SessionFileWriter(SessionFileSystem &files) noexcept;

    // Empty when path holds text now; else the step that failed and why ("writing
    // \"F.tmp-12-0\": No space left on device"), path then as it was.
    std::string save(const std::string &path, const std::string &text);

private:
    class Temporary;

    // Writes all of text into fd, short writes continued. Empty, or the step that failed and why.
    std::string write(int fd, const std::string &temporary, const std::string &text);
    // Empty when the step was done; else the step, the file and errno's reason.
    static std::string failed(bool done, const char *step, const std::string &file);

    SessionFileSystem &files;
};

} // namespace VoSession
