#pragma once

#include <string>
#include <vector>

namespace VoSession {

// Builds the text of one JSON value. Strings are escaped as JSON requires (quote, backslash and
// control characters), valid UTF-8 passes through, and a byte that is no part of valid UTF-8
// becomes U+FFFD, so the text parses whatever bytes a script line held. Owns the text; the caller
// opens and closes objects and arrays in matching order.
class SessionJsonWriter {
public:
    SessionJsonWriter &beginObject() { return open('{'); }
    SessionJsonWriter &endObject() { return close('}'); }
    SessionJsonWriter &beginArray() { return open('['); }
    SessionJsonWriter &endArray() { return close(']'); }
    // The name of the current object's next member; its value follows.
    SessionJsonWriter &key(const std::string &name);
    SessionJsonWriter &value(const std::string &text);
    // A literal would otherwise convert to bool: write value(std::string(...)).
    SessionJsonWriter &value(const char *text) = delete;
    SessionJsonWriter &value(int number) { return value(static_cast<long long>(number)); }
    SessionJsonWriter &value(long long number);
    SessionJsonWriter &value(bool flag);
    // In the fewest digits that read back to it; null when it is not finite, which JSON cannot
    // write.
    SessionJsonWriter &number(double value);
    SessionJsonWriter &null();
    // An array of strings.
    SessionJsonWriter &values(const std::vector<std::string> &texts);

    const std::string &getText() const noexcept { return text; }
    // The JSON string literal of text, quotes included.
    static std::string quote(const std::string &text);

private:
    SessionJsonWriter &open(char bracket);
    SessionJsonWriter &close(char bracket);
    // Writes the comma that separates this value from the one before, unless a key precedes it.
    void separate();
    SessionJsonWriter &raw(const std::string &token);

    std::string text;
    // For each open object or array: whether it has an element yet.
    std::vector<bool> filled;
    bool afterKey = false;
};

} // namespace VoSession
