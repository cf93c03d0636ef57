#include "SessionPrinter.h"

namespace VoSession {

void SessionPrinter::printError(const SessionReport &report) {
    if (report.error.empty()) {
        return;
    }
    out.flush();
    err << report.source << ':' << report.line << ": " << report.error << std::endl;
}

} // namespace VoSession
