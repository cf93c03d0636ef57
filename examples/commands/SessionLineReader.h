#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace VoSession {

// Reads a scene or a script line by line, in chunks of bounded size, and stops at a line longer
// than its limit without reading the rest of it: a line that never ends (/dev/zero, a file without
// line ends) costs no more memory or time than the limit. Borrows the stream.
class SessionLineReader {
public:
    // What read found.
    enum class Result { Line, End, TooLong };

    // The longest line, in bytes without its line end, that scenes and scripts may hold.
    static constexpr std::size_t maxLength = 1024 * 1024;
    // How many bytes of a line the message about it quotes.
    static constexpr std::size_t quotedLength = 40;

    explicit SessionLineReader(std::istream &in, std::size_t limit = maxLength) noexcept;

    // The next line, without its '\n', into line. End at the end of the stream, and on a read
    // error (the stream's state tells them apart). TooLong when the line goes on past the limit:
    // line then holds its first limit + 1 bytes, and the rest is left unread.
    Result read(std::string &line);
    // What is wrong with a line that read found TooLong, quoting its start.
    std::string describeTooLong(const std::string &line) const;

private:
    static constexpr std::size_t chunkSize = 4096;

    std::istream &in;
    std::size_t limit;
};

} // namespace VoSession
