#pragma once

#include "Session.h"
#include "SessionCommands.h"
#include "SessionPrinter.h"

#include <istream>
#include <ostream>
#include <string>

namespace VoSession {

// Runs the lines of a script, one command a line, and hands each command's report to the printer.
// A failed command (bad input, or an exception of the library) is reported and the run goes on
// with the next line; the failures are counted. Borrows the session, its commands and the printer.
class SessionRunner {
public:
    SessionRunner(Session &session, SessionCommands &commands, SessionPrinter &printer);

    // Reads in to its end or to a quit command; source names it in error lines ("<stdin>").
    // With a prompt stream, writes "vo> " there before each line is read. Stops early when out,
    // the transcript's stream, has failed, and at a line too long (SessionLineReader), which is
    // reported. Gives the errno of the read that ended the run (0 when anything else ended it, or
    // when none was set): a stream that ends on a read error looks like one at its end, the
    // caller tells them apart with it.
    int run(std::istream &in, const std::string &source, std::ostream *prompt,
            const std::ostream &out);
    int getNbFailures() const noexcept { return failures; }
    // True when the run ended at a line it could not run: one too long, one whose report ran out
    // of memory, or one that ran out of memory after it changed something that stays.
    bool wasCutShort() const noexcept { return cutShort; }

private:
    void runLine(const std::string &line, const std::string &source, long long number);
    // A batch still open at the end of the script is abandoned, as a failure; number is the line
    // that ended it (quit's, or the one after the last).
    void abandonOpenBatch(const std::string &source, long long number);
    void finish(SessionReport &report);

    Session &session;
    SessionCommands &commands;
    SessionPrinter &printer;
    int failures = 0;
    bool cutShort = false;
};

} // namespace VoSession
