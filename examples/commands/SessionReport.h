#pragma once

#include "SessionState.h"

#include <string>
#include <vector>

namespace VoSession {

// Everything the session prints for one command: where it came from, what it answered, what
// went wrong (the message without its place; empty when nothing did), the shape events sent, the
// selector callback lists that ran in order, and the state afterwards. Plain values.
struct SessionReport {
    // How the text form shows the state: only when it differs from the state shown last (a
    // command that changes no selection reads "unchanged"), always (show), or never (help and
    // quit, whose results are then printed as they are).
    enum class StateDisplay { WhenChanged, Always, Never };

    std::string source;
    long long line = 0;
    std::string command;
    std::string error;
    std::vector<std::string> results;
    std::vector<std::string> events;
    std::vector<std::string> callbacks;
    StateDisplay display = StateDisplay::WhenChanged;
    SessionState state;
};

} // namespace VoSession
