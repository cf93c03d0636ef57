#include "SessionJsonWriter.h"

#include <cstddef>
#include <cstdio>

namespace VoSession {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at text[at]; 0 when the bytes there are none (stray
// continuation, overlong form, surrogate, beyond U+10FFFF, or cut short).
std::size_t sequenceLength(const std::string &text, std::size_t at) {
    const auto byte = [&](std::size_t offset) {
        return at + offset < text.size() ? static_cast<unsigned char>(text[at + offset]) : 0;
    };
    const unsigned char lead = byte(0);
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
        if (!isContinuation(byte(offset))) {
            return 0;
        }
    }
    return length;
}

void appendEscaped(std::string &out, unsigned char byte) {
    switch (byte) {
    case '"':
        out += "\\\"";
        break;
    case '\\':
        out += "\\\\";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\r':
        out += "\\r";
        break;
    case '\t':
        out += "\\t";
        break;
    default:
        char escape[7];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(byte));
        out += escape;
    }
}

} // namespace

std::string SessionJsonWriter::quote(const std::string &text) {
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x20 || byte == '"' || byte == '\\' || byte == 0x7F) {
            appendEscaped(out, byte);
            ++at;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++at;
        } else if (const std::size_t length = sequenceLength(text, at)) {
            out.append(text, at, length);
            at += length;
        } else {
            out += "\\ufffd";
            ++at;
        }
    }
    return out + "\"";
}

SessionJsonWriter &SessionJsonWriter::key(const std::string &name) {
    separate();
    text += quote(name) + ":";
    afterKey = true;
    return *this;
}

SessionJsonWriter &SessionJsonWriter::value(const std::string &string) {
    return raw(quote(string));
}

SessionJsonWriter &SessionJsonWriter::value(int number) { return raw(std::to_string(number)); }

SessionJsonWriter &SessionJsonWriter::value(bool flag) { return raw(flag ? "true" : "false"); }

SessionJsonWriter &SessionJsonWriter::null() { return raw("null"); }

SessionJsonWriter &SessionJsonWriter::values(const std::vector<std::string> &texts) {
    beginArray();
    for (const std::string &string : texts) {
        value(string);
    }
    return endArray();
}

SessionJsonWriter &SessionJsonWriter::open(char bracket) {
    separate();
    text += bracket;
    filled.push_back(false);
    return *this;
}

SessionJsonWriter &SessionJsonWriter::close(char bracket) {
    text += bracket;
    filled.pop_back();
    return *this;
}

void SessionJsonWriter::separate() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (!filled.empty()) {
        if (filled.back()) {
            text += ',';
        }
        filled.back() = true;
    }
}

SessionJsonWriter &SessionJsonWriter::raw(const std::string &token) {
    separate();
    text += token;
    return *this;
}

} // namespace VoSession
