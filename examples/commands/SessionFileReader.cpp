#include "SessionFileReader.h"

#include "SessionDescriptorBuffer.h"
#include "SessionLineReader.h"
#include "SessionText.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <istream>
#include <utility>

namespace VoSession {

namespace {

const char *kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a directory";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISCHR(mode)) {
        return "a character device";
    }
    if (S_ISBLK(mode)) {
        return "a block device";
    }
    return "a socket";
}

} // namespace

SessionFileReader::SessionFileReader(SessionFileSystem &system, std::string what, std::size_t bytes)
    : files(system), expected(std::move(what)), maxBytes(bytes) {}

bool SessionFileReader::read(const std::string &path, std::vector<std::string> &lines,
                             std::string &problem) {
    lines.clear(); // numbered from 1 in the messages
    // Without O_NONBLOCK, opening a FIFO waits until a writer opens it, maybe for ever.
    const int fd = files.open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0);
    if (fd < 0) {
        const int error = errno;
        problem = "cannot open " + SessionText::quote(path) + ": " + std::strerror(error) +
                  " (expected " + expected + ")";
        return false;
    }
    SessionDescriptorBuffer buffer(files, fd);
    problem = readOpen(buffer, path, lines);
    return problem.empty();
}

std::string SessionFileReader::readOpen(SessionDescriptorBuffer &buffer, const std::string &path,
                                        std::vector<std::string> &lines) {
    struct stat status {};
    if (files.fstat(buffer.getDescriptor(), status) != 0) {
        const int error = errno;
        return "cannot read " + SessionText::quote(path) + ": " + std::strerror(error);
    }
    if (!S_ISREG(status.st_mode)) {
        return "cannot read " + SessionText::quote(path) + ": it is " + kindOf(status.st_mode) +
               ", not a regular file (expected " + expected + ")";
    }
    std::istream in(&buffer);
    SessionLineReader reader(in);
    std::size_t total = 0;
    std::string line;
    for (;;) {
        const SessionLineReader::Result result = reader.read(line);
        const std::string where =
            SessionText::escape(path) + ":" + std::to_string(lines.size() + 1) + ": ";
        if (buffer.getError() != 0) {
            return where + "cannot read the file: " + std::strerror(buffer.getError());
        }
        if (result == SessionLineReader::Result::TooLong) {
            return where + reader.describeTooLong(line);
        }
        if (result == SessionLineReader::Result::End) {
            return std::string();
        }
        total += line.size() + 1;
        if (total > maxBytes) {
            return where + "the file goes on past " + std::to_string(maxBytes) +
                   " bytes (expected at most " + std::to_string(maxBytes) + " bytes)";
        }
        lines.push_back(std::move(line));
    }
}

} // namespace VoSession
