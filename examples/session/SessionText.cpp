#include "SessionText.h"

#include <charconv>
#include <cstddef>
#include <cstdio>
#include <utility>

namespace VoSession {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

} // namespace

std::vector<std::string> SessionText::splitWords(const std::string &line) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : line) {
        if (c == '#') {
            break;
        }
        if (isBlank(c)) {
            if (!word.empty()) {
                words.push_back(std::move(word));
                word.clear();
            }
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        words.push_back(std::move(word));
    }
    return words;
}

bool SessionText::isComment(const std::string &line) {
    const std::string text = trim(line);
    return !text.empty() && text.front() == '#';
}

std::string SessionText::trim(const std::string &line) {
    std::size_t first = 0;
    std::size_t last = line.size();
    while (first < last && isBlank(line[first])) {
        ++first;
    }
    while (last > first && isBlank(line[last - 1])) {
        --last;
    }
    return line.substr(first, last - first);
}

bool SessionText::parseInteger(const std::string &word, int &value) {
    int parsed = 0;
    const char *const end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, parsed);
    if (word.empty() || result.ec != std::errc() || result.ptr != end) {
        return false;
    }
    value = parsed;
    return true;
}

std::string SessionText::quote(const std::string &word) {
    std::string quoted = "\"";
    for (const char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(byte));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string SessionText::join(const std::vector<std::string> &items, const std::string &separator) {
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
        joined += (i == 0 ? "" : separator) + items[i];
    }
    return joined;
}

} // namespace VoSession
