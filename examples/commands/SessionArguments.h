#pragma once

#include "Session.h"

#include "AppShapeInterface.h"

#include "foundation/RCShdPtr.h"
#include "host/graph/PiGraphObject.h"

#include <cstddef>
#include <string>
#include <vector>

namespace VoSession {

// Reads the arguments of one command in order, checking each. The first problem becomes the
// command's error, and every later read gives a neutral value, so a command reads everything,
// calls finish() once and acts only when it is true: a command with bad input changes nothing.
// Borrows the session and the words.
class SessionArguments {
public:
    // words[0] is the command; usage ("select-point INDEX") completes the messages.
    SessionArguments(const Session &session, const std::vector<std::string> &words,
                     std::string usage);

    // Words left to read, and no problem so far.
    bool hasMore() const noexcept { return error.empty() && next < words.size(); }
    // The next word as a live shape; null when it is missing or names none.
    VoExample::AppShapeInterface *shape();
    // The next word as the graph object of a live shape, or a node; null when missing or unknown.
    Vo::RCShdPtr<Vo::PiGraphObject const> graphObject();
    // The next word as a shape deleted whose removal event waits; empty when missing or unknown.
    std::string waitingShape();
    // The next word as an int; what names it in messages ("type"). A message says the range when
    // the word is an integer beyond it.
    int integer(const std::string &what);
    // The next word as an index of a noun ("point") of shape, in [0, last]; "-0" is 0.
    int index(const std::string &noun, int last, const VoExample::AppShapeInterface &shape);
    // The next word when it is keyword; nothing is read otherwise.
    bool keyword(const std::string &word);
    // The words not read yet, consumed.
    std::vector<std::string> rest();

    // True when no problem was found and every word was read; an extra word is a problem.
    bool finish();
    // Keeps message as the problem unless there is one already.
    void fail(const std::string &message);
    const std::string &getError() const noexcept { return error; }

private:
    // The next word; empty, with the error set, when there is none.
    std::string take(const std::string &what);
    // The next word as an integer; one beyond every range reads as the closest long long. False,
    // with the error set, when it is missing or no integer.
    bool readInteger(const std::string &what, long long &value);
    static std::string oneOf(const std::vector<std::string> &names);

    const Session &session;
    const std::vector<std::string> &words;
    std::string usage;
    std::size_t next;
    std::string error;
};

} // namespace VoSession
