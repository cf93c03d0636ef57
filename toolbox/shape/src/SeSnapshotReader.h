#pragma once

#include "SeSelectionSnapshot.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Vo {

// Reads the text form of a selection snapshot (see SeSelectionSnapshot.h), one line at a time,
// and refuses what the form does not describe with RCExInvalidCall "line N: what is wrong
// (expected what)". Owns the values read; borrows nothing.
class SeSnapshotReader {
public:
    // The first line's words: the form and the version this library writes and reads.
    static constexpr const char *form = "voshape-selection";
    static constexpr const char *version = "1";

    explicit SeSnapshotReader(const std::string &text);

    std::vector<SeSelectionSnapshot::Entry> entries;
    std::int32_t pickingType = 0;
    int pickingIndex = -1;
    int pickingExtremity = -1;

private:
    using Words = std::vector<std::string_view>;

    void readLine(const Words &words);
    void readHeader(const Words &words) const;
    void readPicking(const Words &words);
    void readShape(const Words &words);
    // The indices from words[at] up to the next list's name or the end; at is left there.
    std::vector<int> readIndices(const Words &words, std::size_t &at, const char *noun) const;
    int readInteger(std::string_view word, const std::string &what) const;
    // The words of the current line, which is not blank; refuses a control byte other than a tab.
    Words split(std::string_view text) const;
    [[noreturn]] void refuse(const std::string &what, const std::string &expected) const;

    long long line = 0;
    bool started = false;
    bool picked = false;
};

} // namespace Vo
