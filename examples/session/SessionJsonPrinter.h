#pragma once

#include "SessionJsonWriter.h"
#include "SessionPrinter.h"
#include "SessionReport.h"

#include <string>

namespace VoSession {

// The transcript for programs: one JSON object a line per command, with the same content as the
// text form (source, line, command, error or null, results, events, callbacks, the editor's shapes
// with their parts and ranks, the application's items); comments are left out.
class SessionJsonPrinter : public SessionPrinter {
public:
    using SessionPrinter::SessionPrinter;

    void printComment(const std::string &) override {}
    void printReport(const SessionReport &report) override;

    // The members "editor" (with "layer" before it when the state names one) and "host" of a
    // state, into an open object: for other readers of the session that speak JSON.
    static void writeShapes(SessionJsonWriter &json, const SessionState &state);
    static void writeHost(SessionJsonWriter &json, const SessionState &state);

private:
    static void writeRanked(SessionJsonWriter &json, const std::vector<int> &indices);
};

} // namespace VoSession
