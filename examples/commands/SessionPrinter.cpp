#include "SessionPrinter.h"

#include "SessionText.h"

namespace VoSession {

void SessionPrinter::printError(const SessionReport &report) {
    if (!report.error.empty()) {
        printLineError(report.source, report.line, report.error);
    }
}

void SessionPrinter::printLineError(const std::string &source, long long line,
                                    const std::string &message) {
    out.flush();
    err << SessionText::escape(source) << ':' << line << ": " << message << std::endl;
    ++nbErrorLines;
}

} // namespace VoSession
