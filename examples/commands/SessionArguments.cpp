#include "SessionArguments.h"

#include "SessionText.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace VoSession {

using VoExample::AppShapeInterface;

SessionArguments::SessionArguments(const Session &owner, const std::vector<std::string> &line,
                                   std::string commandUsage)
    : session(owner), words(line), usage(std::move(commandUsage)), next(1) {}

AppShapeInterface *SessionArguments::shape() {
    const std::string name = take("shape name");
    AppShapeInterface *found = error.empty() ? session.findShape(name) : nullptr;
    if (error.empty() && found == nullptr) {
        fail("unknown shape " + SessionText::quote(name) + " (expected " +
             oneOf(session.getShapeNames()) + ")");
    }
    return found;
}

Vo::RCShdPtr<Vo::PiGraphObject const> SessionArguments::graphObject() {
    const std::string name = take("shape or node name");
    Vo::RCShdPtr<Vo::PiGraphObject const> found;
    if (error.empty()) {
        found = session.findGraphObject(name);
    }
    if (error.empty() && found.isNull()) {
        fail("unknown shape or node " + SessionText::quote(name) + " (expected " +
             oneOf(session.getGraphObjectNames()) + ")");
    }
    return found;
}

std::string SessionArguments::waitingShape() {
    const std::string name = take("shape name");
    const std::vector<std::string> waiting = session.getWaitingNames();
    const bool known = std::find(waiting.begin(), waiting.end(), name) != waiting.end();
    if (error.empty() && !known) {
        fail("no removal event of " + SessionText::quote(name) + " waits (expected " +
             (waiting.empty() ? std::string("a shape deleted with \"no-event\" first")
                              : oneOf(waiting)) +
             ")");
    }
    return error.empty() ? name : std::string();
}

int SessionArguments::integer(const std::string &what) {
    long long value = 0;
    if (readInteger(what, value) && (value < INT_MIN || value > INT_MAX)) {
        fail(what + " " + SessionText::quote(words[next - 1]) + " out of range (expected " +
             std::to_string(INT_MIN) + " to " + std::to_string(INT_MAX) + ")");
    }
    return error.empty() ? static_cast<int>(value) : 0;
}

int SessionArguments::index(const std::string &noun, int last, const AppShapeInterface &shape) {
    long long value = 0;
    if (!readInteger(noun + " index", value) || (value >= 0 && value <= last)) {
        return error.empty() ? static_cast<int>(value) : 0;
    }
    const std::string name = SessionText::quote(shape.getName());
    fail(noun + " index " + SessionText::escape(words[next - 1]) + " out of range (" +
         (last < 0 ? "shape " + name + " has no " + noun + "s"
                   : "expected 0 to " + std::to_string(last) + " for shape " + name) +
         ")");
    return 0;
}

bool SessionArguments::readInteger(const std::string &what, long long &value) {
    const std::string word = take(what);
    if (!error.empty()) {
        return false;
    }
    const SessionText::Number parsed = SessionText::parseInteger(word, value);
    if (parsed == SessionText::Number::Malformed) {
        fail("malformed " + what + " " + SessionText::quote(word) + " (expected an integer)");
    }
    // Too large for any integer type: out of every range the callers check.
    if (parsed == SessionText::Number::OutOfRange) {
        value = word.front() == '-' ? LLONG_MIN : LLONG_MAX;
    }
    return error.empty();
}

bool SessionArguments::keyword(const std::string &word) {
    if (!hasMore() || words[next] != word) {
        return false;
    }
    ++next;
    return true;
}

std::vector<std::string> SessionArguments::rest() {
    std::vector<std::string> left(words.begin() + static_cast<std::ptrdiff_t>(next), words.end());
    next = words.size();
    return left;
}

bool SessionArguments::finish() {
    if (hasMore()) {
        fail("unexpected " + SessionText::quote(words[next]) + " (expected: " + usage + ")");
    }
    return error.empty();
}

void SessionArguments::fail(const std::string &message) {
    if (error.empty()) {
        error = message;
    }
}

std::string SessionArguments::take(const std::string &what) {
    if (!error.empty()) {
        return std::string();
    }
    if (next >= words.size()) {
        fail("missing " + what + " (expected: " + usage + ")");
        return std::string();
    }
    return words[next++];
}

std::string SessionArguments::oneOf(const std::vector<std::string> &names) {
    if (names.empty()) {
        return "a shape, but none is left";
    }
    std::vector<std::string> escaped;
    for (const std::string &name : names) {
        escaped.push_back(SessionText::escape(name));
    }
    return "one of " + SessionText::join(escaped, ", ");
}

} // namespace VoSession
