#include "SessionJsonPrinter.h"

#include <cstddef>

namespace VoSession {

void SessionJsonPrinter::printReport(const SessionReport &report) {
    SessionJsonWriter json;
    json.beginObject();
    json.key("source").value(report.source).key("line").value(report.line);
    json.key("command").value(report.command).key("error");
    if (report.error.empty()) {
        json.null();
    } else {
        json.value(report.error);
    }
    json.key("results").values(report.results);
    json.key("events").values(report.events);
    json.key("callbacks").values(report.callbacks);
    writeShapes(json, report.state);
    writeHost(json, report.state);
    json.endObject();
    out << json.getText() << '\n';
    printError(report);
}

void SessionJsonPrinter::writeShapes(SessionJsonWriter &json, const SessionState &state) {
    if (!state.layer.empty()) {
        json.key("layer").value(state.layer);
    }
    json.key("editor").beginArray();
    for (const SessionState::Shape &shape : state.shapes) {
        json.beginObject().key("shape").value(shape.name);
        json.key("alive").value(shape.alive).key("primary").value(shape.primary).key("parts");
        if (shape.hasParts) {
            json.beginObject();
            json.key("points");
            writeRanked(json, shape.points);
            json.key("handles");
            writeRanked(json, shape.handles);
            json.endObject();
        } else {
            json.null();
        }
        json.endObject();
    }
    json.endArray();
}

void SessionJsonPrinter::writeRanked(SessionJsonWriter &json, const std::vector<int> &indices) {
    json.beginArray();
    for (std::size_t place = 0; place < indices.size(); ++place) {
        json.beginObject().key("index").value(indices[place]);
        json.key("rank").value(static_cast<int>(place + 1)).endObject();
    }
    json.endArray();
}

void SessionJsonPrinter::writeHost(SessionJsonWriter &json, const SessionState &state) {
    json.key("host").beginArray();
    for (const SessionState::HostItem &item : state.host) {
        json.beginObject().key("kind").value(item.kind).key("name").value(item.name);
        if (item.kind == "input") {
            json.key("path").values(item.path);
        }
        json.endObject();
    }
    json.endArray();
}

} // namespace VoSession
