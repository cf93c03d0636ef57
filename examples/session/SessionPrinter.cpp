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

} // namespace VoSession
