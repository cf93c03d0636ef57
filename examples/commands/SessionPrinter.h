#pragma once

#include "SessionReport.h"

#include <ostream>
#include <string>

namespace VoSession {

// Prints what the session does: the transcript on the output stream and, for each command that
// failed, one line "SOURCE:LINE: message" on the error stream, written after everything printed
// before it so that both read in order when they go to one file. Borrows both streams.
class SessionPrinter {
public:
    SessionPrinter(std::ostream &out, std::ostream &err) : out(out), err(err) {}
    SessionPrinter(const SessionPrinter &) = delete;
    SessionPrinter &operator=(const SessionPrinter &) = delete;
    virtual ~SessionPrinter() = default;

    // A line of the script that holds only a comment.
    virtual void printComment(const std::string &line) = 0;
    virtual void printReport(const SessionReport &report) = 0;
    // "SOURCE:LINE: message" on the error stream, for a line that gives no report: one too long
    // to run, or one whose report could not be made.
    void printLineError(const std::string &source, long long line, const std::string &message);
    // The error lines written so far, so that a line whose report ran out of memory while it was
    // printed is not named twice.
    long long getNbErrorLines() const noexcept { return nbErrorLines; }

protected:
    // Writes the report's error line, if it has one.
    void printError(const SessionReport &report);

    std::ostream &out;
    std::ostream &err;

private:
    long long nbErrorLines = 0;
};

} // namespace VoSession
