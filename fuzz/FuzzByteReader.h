#pragma once

#include <cstddef>
#include <cstdint>

namespace VoFuzz {

// A fuzzer's input as a stream of bytes; past its end every read gives 0, so every input is a
// program.
class FuzzByteReader {
public:
    FuzzByteReader(const std::uint8_t *data, std::size_t size) noexcept : data(data), size(size) {}
    bool atEnd() const noexcept { return position >= size; }
    std::uint8_t next() noexcept { return position < size ? data[position++] : 0; }

private:
    const std::uint8_t *data;
    std::size_t size;
    std::size_t position = 0;
};

} // namespace VoFuzz
