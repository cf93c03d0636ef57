#pragma once

#include "SessionFileSystem.h"

#include <cstddef>
#include <string>
#include <vector>

namespace VoSession {

class SessionDescriptorBuffer;

// Reads a whole file of lines, bounded as the driver's scripts are: a line holds at most
// SessionLineReader::maxLength bytes, and the file at most maxBytes, so that no file costs more.
// Reads regular files only, opened without waiting: a FIFO (whose open would wait for a writer
// for ever), a device such as /dev/zero, a directory or a socket is refused, and so no read waits
// for more. Borrows the file system.
class SessionFileReader {
public:
    // The most a file may hold unless told: 64 MiB.
    static constexpr std::size_t defaultMaxBytes = 64 * 1024 * 1024;

    // expected: what the file should be, for the messages ("a file written by save-file").
    SessionFileReader(SessionFileSystem &files, std::string expected,
                      std::size_t maxBytes = defaultMaxBytes);

    // The lines of path, without their '\n', into lines. False, with problem set, when the
    // file cannot be opened ("cannot open \"F\": REASON (expected ...)"), is not a regular file,
    // fails a read or holds too much ("F:LINE: what is wrong (expected ...)"); lines then holds
    // what was read before.
    bool read(const std::string &path, std::vector<std::string> &lines, std::string &problem);

private:

    // Reads the open file; empty, or what is wrong.
    std::string readOpen(SessionDescriptorBuffer &buffer, const std::string &path,
                         std::vector<std::string> &lines);

    SessionFileSystem &files;
    std::string expected;
    std::size_t maxBytes;
};

} // namespace VoSession
