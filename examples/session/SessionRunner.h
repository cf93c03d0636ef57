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
    // the transcript's stream, has failed. Gives the errno of the read that ended the run (0 when
    // a quit command or a failed transcript ended it, or when none was set): a stream that ends
    // on a read error looks like one at its end, the caller tells them apart with it.
    int run(std::istream &in, const std::string &source, std::ostream *prompt,
            const std::ostream &out);
    int getNbFailures() const noexcept { return failures; }
    // True when memory ran out while a line's report was made: the run ended at that line.
    bool hasRunOutOfMemory() const noexcept { return outOfMemory; }

private:
    void runLine(const std::string &line, const std::string &source, long long number);
    // A batch still open at the end of the script is abandoned, as a failure.
    void abandonOpenBatch(const std::string &source, long long number);
    void finish(SessionReport &report);

    Session &session;
    SessionCommands &commands;
    SessionPrinter &printer;
    int failures = 0;
    bool outOfMemory = false;
};

} // namespace VoSession
