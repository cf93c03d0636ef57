#include "SeSnapshotReader.h"

#include "base/RCExInvalidCall.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <unordered_set>
#include <utility>

namespace Vo {

namespace {

const char *const header = "\"voshape-selection 1\"";
const char *const pickingSyntax = "picking TYPE INDEX EXTREMITY";
// What a message quotes of the text, at most.
const std::size_t quotedBytes = 40;

// The text between quotes, printable whatever it holds: control bytes, quotes, backslashes and
// bytes past ASCII escaped, cut after quotedBytes bytes.
std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text.substr(0, quotedBytes)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned>(byte));
            out += code;
        } else {
            out += (c == '"' || c == '\\') ? std::string{'\\', c} : std::string{c};
        }
    }
    return out + (text.size() > quotedBytes ? "\"..." : "\"");
}

// The whole of word as a number of type T, written the one way the form allows: digits without a
// leading zero, after a '-' for a negative one (from_chars takes no '+', nor a '-' for an unsigned
// T).
template <typename T> bool parse(std::string_view word, T &value) {
    const std::size_t first = word.front() == '-' ? 1 : 0;
    if (word.size() > 1 && word[first] == '0') {
        return false;
    }
    const std::from_chars_result parsed =
        std::from_chars(word.data(), word.data() + word.size(), value);
    return parsed.ec == std::errc() && parsed.ptr == word.data() + word.size();
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// True for a line of blanks, or one whose first word starts with '#'.
bool isSkipped(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

} // namespace

SeSnapshotReader::SeSnapshotReader(const std::string &text) {
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view current(text.data() + start, end - start);
        ++line;
        if (!isSkipped(current)) {
            readLine(split(current));
        }
        start = end + 1;
    }
    if (!started) {
        ++line;
        refuse("the text ends", std::string(header) + " first");
    }
}

SeSnapshotReader::Words SeSnapshotReader::split(std::string_view text) const {
    Words words;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at < text.size() && !isBlank(text[at])) {
            const auto byte = static_cast<unsigned char>(text[at]);
            if (byte < 0x20 || byte == 0x7f) {
                refuse("control byte " + quoted(text.substr(at, 1)) + " in " + quoted(text),
                       "printable words separated by spaces or tabs");
            }
            continue;
        }
        if (at > start) {
            words.push_back(text.substr(start, at - start));
        }
        start = at + 1;
    }
    return words;
}

void SeSnapshotReader::readLine(const Words &words) {
    if (!started) {
        readHeader(words);
        started = true;
    } else if (words.front() == "picking") {
        readPicking(words);
    } else if (words.front() == "shape") {
        readShape(words);
    } else {
        refuse(quoted(words.front()), "picking or shape");
    }
}

void SeSnapshotReader::readHeader(const Words &words) const {
    if (words.front() != form) {
        refuse(quoted(words.front()), std::string(header) + " first");
    }
    if (words.size() < 2 || words[1] != version) {
        refuse(words.size() < 2 ? std::string("no version") : "version " + quoted(words[1]),
               std::string(header) + ", the version this library reads");
    }
    if (words.size() > 2) {
        refuse(quoted(words[2]) + " after the version", "the end of the line");
    }
}

void SeSnapshotReader::readPicking(const Words &words) {
    if (picked || !entries.empty()) {
        refuse(picked ? "a second picking line" : "a picking line after the shapes",
               "at most one, before the shapes");
    }
    if (words.size() != 4) {
        refuse("a picking line of " + std::to_string(words.size() - 1) + " values", pickingSyntax);
    }
    pickingType = readInteger(words[1], "picking type");
    pickingIndex = readInteger(words[2], "picking index");
    pickingExtremity = readInteger(words[3], "picking extremity");
    picked = true;
}

void SeSnapshotReader::readShape(const Words &words) {
    SeSelectionSnapshot::Entry entry;
    if (words.size() < 2) {
        refuse("a shape line without key", "shape KEY [points I...] [handles I...]");
    }
    if (!parse(words[1], entry.key)) {
        refuse("shape key " + quoted(words[1]), "a number from 0 to 18446744073709551615");
    }
    std::size_t at = 2;
    entry.whole = at == words.size();
    if (at < words.size() && words[at] == "points") {
        entry.points = readIndices(words, ++at, "point");
    }
    if (at < words.size() && words[at] == "handles") {
        entry.handles = readIndices(words, ++at, "handle");
    }
    if (at < words.size()) {
        refuse(quoted(words[at]), "points, then handles");
    }
    entries.push_back(std::move(entry));
}

std::vector<int> SeSnapshotReader::readIndices(const Words &words, std::size_t &at,
                                               const char *noun) const {
    std::vector<int> indices;
    std::unordered_set<int> seen;
    for (; at < words.size() && words[at] != "points" && words[at] != "handles"; ++at) {
        const int index = readInteger(words[at], noun);
        if (!seen.insert(index).second) {
            refuse(std::string(noun) + " " + std::to_string(index) + " twice",
                   std::string("each ") + noun + " once");
        }
        indices.push_back(index);
    }
    return indices;
}

int SeSnapshotReader::readInteger(std::string_view word, const std::string &what) const {
    int value = 0;
    if (!parse(word, value)) {
        refuse(what + " " + quoted(word), "an integer from -2147483648 to 2147483647");
    }
    return value;
}

void SeSnapshotReader::refuse(const std::string &what, const std::string &expected) const {
    throw RCExInvalidCall("line " + std::to_string(line) + ": " + what + " (expected " + expected +
                          ")");
}

} // namespace Vo
