#pragma once

#include "SessionFileSystem.h"

#include <streambuf>

namespace VoSession {

// A stream buffer reading a file descriptor through the session's file system, one read a refill:
// a pipe or a FIFO gives each line as it comes, and a read that fails ends the stream there and
// keeps its errno, alike on every standard library (whose file streams may wait for a full buffer
// or take a failed read for the end of the file). Owns the descriptor, which it closes when it
// goes (read only, a failing close loses nothing); borrows the file system.
class SessionDescriptorBuffer : public std::streambuf {
public:
    SessionDescriptorBuffer(SessionFileSystem &system, int descriptor)
        : files(system), fd(descriptor) {}
    SessionDescriptorBuffer(const SessionDescriptorBuffer &) = delete;
    SessionDescriptorBuffer &operator=(const SessionDescriptorBuffer &) = delete;
    ~SessionDescriptorBuffer() override { files.close(fd); }

    int getDescriptor() const noexcept { return fd; }
    // The errno of the read that failed; 0 when none did.
    int getError() const noexcept { return error; }

protected:
    int_type underflow() override;

private:
    SessionFileSystem &files;
    int fd;
    int error = 0;
    char chunk[4096];
};

} // namespace VoSession
