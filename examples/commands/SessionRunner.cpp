#include "SessionRunner.h"

#include "SessionLineReader.h"
#include "SessionReport.h"
#include "SessionText.h"

#include "base/RCException.h"

#include <cerrno>
#include <cstdint>
#include <exception>
#include <new>
#include <utility>
#include <vector>

namespace VoSession {

SessionRunner::SessionRunner(Session &owner, SessionCommands &table, SessionPrinter &output)
    : session(owner), commands(table), printer(output) {}

int SessionRunner::run(std::istream &in, const std::string &source, std::ostream *prompt,
                       const std::ostream &out) {
    SessionLineReader lines(in);
    std::string line;
    long long number = 0;
    int readError = 0;
    while (!commands.isQuitRequested() && out.good()) {
        ++number;
        const long long errorLinesBefore = printer.getNbErrorLines();
        if (prompt != nullptr) {
            *prompt << "vo> " << std::flush;
        }
        try {
            errno = 0;
            const SessionLineReader::Result result = lines.read(line);
            if (result == SessionLineReader::Result::End) {
                readError = errno;
                break;
            }
            if (result == SessionLineReader::Result::TooLong) {
                printer.printLineError(source, number, lines.describeTooLong(line));
                cutShort = true;
                break;
            }
            runLine(line, source, number);
        } catch (const std::bad_alloc &) {
            // Not even the line's report could be made, or printed whole: the line is named,
            // unless its report's error line was written, and the run ends.
            std::string().swap(line);
            if (printer.getNbErrorLines() == errorLinesBefore) {
                printer.printLineError(source, number, "out of memory");
            }
            cutShort = true;
            return 0;
        }
    }
    abandonOpenBatch(source, number);
    return readError;
}

void SessionRunner::abandonOpenBatch(const std::string &source, long long number) {
    if (session.getBatchDepth() == 0) {
        return;
    }
    SessionReport report;
    report.source = source;
    report.line = number;
    report.command = "(end of script)";
    report.error = "the batch opened at line " + std::to_string(session.getBatchLine()) +
                   " is not ended (expected \"end\")";
    finish(report);
}

void SessionRunner::runLine(const std::string &line, const std::string &source, long long number) {
    const std::vector<std::string> words = SessionText::splitWords(line);
    if (words.empty()) {
        if (SessionText::isComment(line)) {
            printer.printComment(line);
        }
        return;
    }
    SessionReport report;
    report.source = source;
    report.line = number;
    report.command = SessionText::join(words, " ");
    const std::pair<std::uint64_t, std::uint64_t> revisions = session.getRevisions();
    try {
        commands.run(words, report);
    } catch (const Vo::RCException &exception) {
        report.error = std::string("the library raised: ") + exception.what();
    } catch (const std::bad_alloc &) {
        // A selection written (announced or not) or a shape edited stands: the run ends here.
        if (!commands.isContained() || session.getRevisions() != revisions) {
            throw;
        }
        report.error = "out of memory";
    } catch (const std::exception &exception) {
        report.error = std::string("error: ") + exception.what();
    }
    finish(report);
}

// A failure inside a batch abandons it. What ran before a failure ran: it is shown with the state
// as it now is.
void SessionRunner::finish(SessionReport &report) {
    if (!report.error.empty() && session.getBatchDepth() > 0) {
        session.abandonBatches();
        report.results.push_back(
            "batch abandoned: the selections are as at its start, but for shapes deleted and "
            "points renumbered inside it");
    }
    report.events = session.takeEvents();
    report.callbacks = session.takeCallbacks();
    report.state = session.capture();
    if (!report.error.empty()) {
        ++failures;
    }
    printer.printReport(report);
}

} // namespace VoSession
