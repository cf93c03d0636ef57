#include "SessionText.h"

#include <algorithm>
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

SessionText::Number SessionText::parseInteger(const std::string &word, long long &value) {
    long long parsed = 0;
    const char *const end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, parsed);
    if (word.empty() || result.ptr != end) {
        return Number::Malformed;
    }
    if (result.ec == std::errc::result_out_of_range) {
        return Number::OutOfRange;
    }
    if (result.ec != std::errc()) {
        return Number::Malformed;
    }
    value = parsed;
    return Number::Valid;
}

std::string SessionText::escape(const std::string &text) { return escapeWith(text, false); }

std::string SessionText::quote(const std::string &word) {
    return '"' + escapeWith(word, true) + '"';
}

std::string SessionText::quoteStart(const std::string &text, std::size_t maxBytes) {
    const std::size_t end = startLength(text, maxBytes);
    return quote(text.substr(0, end)) + (end < text.size() ? "..." : "");
}

std::string SessionText::escapeStart(const std::string &text, std::size_t maxBytes) {
    const std::size_t end = startLength(text, maxBytes);
    return escape(text.substr(0, end)) + (end < text.size() ? "..." : "");
}

std::size_t SessionText::startLength(const std::string &text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + std::max<std::size_t>(utf8Length(text, end), 1);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return end;
}

bool SessionText::isPrintable(const std::string &text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = printableLength(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string SessionText::unprintableProblem(const std::string &what, const std::string &text) {
    return isPrintable(text)
               ? std::string()
               : what + " " + quote(text) +
                     " holds a control character or is not UTF-8 (expected printable UTF-8)";
}

std::size_t SessionText::utf8Length(const std::string &text, std::size_t at) {
    const auto byte = [&](std::size_t offset) {
        return at + offset < text.size() ? static_cast<unsigned char>(text[at + offset]) : 0;
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return at < text.size() ? 1 : 0;
    }
    std::size_t length = 0;
    unsigned char low = 0x80; // bounds of the second byte, which exclude the invalid forms
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t offset = 2; offset < length; ++offset) {
        if ((byte(offset) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

std::size_t SessionText::printableLength(const std::string &text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x20 || lead == 0x7F) {
        return 0;
    }
    // U+0080 to U+009F, the C1 controls, are C2 80 to C2 9F.
    if (lead == 0xC2 && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) < 0xA0) {
        return 0;
    }
    return utf8Length(text, at);
}

std::string SessionText::escapeWith(const std::string &text, bool quotes) {
    std::string escaped;
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const std::size_t length = printableLength(text, at);
        if (c == '\\' || (quotes && c == '"')) {
            escaped += '\\';
            escaped += c;
            ++at;
        } else if (length > 0) {
            escaped.append(text, at, length);
            at += length;
        } else {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02x",
                          static_cast<unsigned>(static_cast<unsigned char>(c)));
            escaped += code;
            ++at;
        }
    }
    return escaped;
}

std::string SessionText::join(const std::vector<std::string> &items, const std::string &separator) {
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
        joined += (i == 0 ? "" : separator) + items[i];
    }
    return joined;
}

} // namespace VoSession
