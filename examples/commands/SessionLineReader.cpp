#include "SessionLineReader.h"

#include "SessionText.h"

#include <algorithm>
#include <ios>

namespace VoSession {

SessionLineReader::SessionLineReader(std::istream &stream, std::size_t maxBytes) noexcept
    : in(stream), limit(maxBytes) {}

SessionLineReader::Result SessionLineReader::read(std::string &line) {
    line.clear();
    bool extracted = false;
    char chunk[chunkSize];
    for (;;) {
        // At most one byte beyond the limit: enough to know that the line is too long.
        const std::size_t room = std::min(chunkSize - 1, limit + 1 - line.size());
        in.getline(chunk, static_cast<std::streamsize>(room + 1));
        // getline fails without the end of the stream only when the chunk is full, or on a read
        // error; it counts the '\n' it takes but does not store.
        const bool ended = !in.fail() && !in.eof();
        const auto count = static_cast<std::size_t>(in.gcount());
        extracted = extracted || count > 0;
        line.append(chunk, ended ? count - 1 : count);
        if (line.size() > limit) {
            return Result::TooLong;
        }
        if (ended) {
            return Result::Line;
        }
        if (in.eof() || in.bad()) {
            return extracted && !in.bad() ? Result::Line : Result::End;
        }
        in.clear(in.rdstate() & ~std::ios_base::failbit);
    }
}

std::string SessionLineReader::describeTooLong(const std::string &line) const {
    return "line longer than " + std::to_string(limit) + " bytes, starting " +
           SessionText::quoteStart(line, quotedLength) + " (expected at most " +
           std::to_string(limit) + " bytes a line)";
}

} // namespace VoSession
