#pragma once

#include "SessionPrinter.h"
#include "SessionReport.h"
#include "SessionState.h"

#include <ostream>
#include <string>
#include <vector>

namespace VoSession {

// The transcript for people: the script's comments as written, then for each command its echo,
// its answers, the shape events sent, the editor's selection (primary shape marked "*", points and
// handles with their ranks) and the application's selection items, or "unchanged" when both read
// as they did last time, and the callback lists that ran. Keeps the state it showed last.
class SessionTextPrinter : public SessionPrinter {
public:
    using SessionPrinter::SessionPrinter;

    void printComment(const std::string &line) override;
    void printReport(const SessionReport &report) override;
    // An item of the application's selection as the transcript shows it ("input A.curve/...").
    static std::string describe(const SessionState::HostItem &item);

private:
    void printState(const SessionReport &report);
    // The label, then the lines one under the other; for no lines, empty in their place, or
    // nothing at all when empty is empty.
    void printBlock(const std::string &label, const std::vector<std::string> &lines,
                    const std::string &empty);
    static std::string describe(const SessionState::Shape &shape);

    bool stateShown = false;
    std::string shownLayer;
    std::vector<std::string> shownShapes;
    std::vector<std::string> shownItems;
};

} // namespace VoSession
