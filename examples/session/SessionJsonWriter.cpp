#include "SessionJsonWriter.h"

#include "SessionDecimal.h"
#include "SessionText.h"

#include <cmath>
#include <cstddef>
#include <cstdio>

namespace VoSession {

namespace {

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
        } else if (const std::size_t length = SessionText::utf8Length(text, at)) {
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

SessionJsonWriter &SessionJsonWriter::value(long long number) {
    return raw(std::to_string(number));
}

SessionJsonWriter &SessionJsonWriter::number(double value) {
    if (!std::isfinite(value)) {
        return null();
    }
    return raw(SessionDecimal::write(value));
}

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
