#include "SessionPrinter.h"

#include "SessionText.h"

namespace VoSession {

void SessionPrinter::printError(const SessionReport &report) {
    if (report.error.empty()) {
        return;
    }
    out.flush();
    err << SessionText::escape(report.source) << ':' << report.line << ": " << report.error
        << std::endl;
}

void SessionPrinter::printOutOfMemory(const std::string &source, long long line) {
    out.flush();
    err << SessionText::escape(source) << ':' << line << ": out of memory" << std::endl;
}

} // namespace VoSession
