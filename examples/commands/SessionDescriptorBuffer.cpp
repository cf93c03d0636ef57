#include "SessionDescriptorBuffer.h"

#include <cerrno>

namespace VoSession {

SessionDescriptorBuffer::int_type SessionDescriptorBuffer::underflow() {
    ssize_t count = 0;
    do {
        count = files.read(fd, chunk, sizeof chunk);
    } while (count < 0 && errno == EINTR);
    if (count <= 0) {
        error = count < 0 ? errno : 0;
        return traits_type::eof();
    }
    setg(chunk, chunk, chunk + count);
    return traits_type::to_int_type(*gptr());
}

} // namespace VoSession
