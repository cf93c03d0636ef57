#include "SessionTextPrinter.h"

#include "SessionText.h"

#include <cstddef>
#include <utility>

namespace VoSession {

namespace {

const std::size_t labelWidth = 14;

// "4 (rank 1), 1 (rank 2)": a rank is the 1-based place in selection order.
std::string ranked(const std::vector<int> &indices) {
    std::vector<std::string> words;
    for (std::size_t place = 0; place < indices.size(); ++place) {
        words.push_back(std::to_string(indices[place]) + " (rank " + std::to_string(place + 1) +
                        ")");
    }
    return SessionText::join(words, ", ");
}

} // namespace

void SessionTextPrinter::printComment(const std::string &line) {
    out << SessionText::escape(SessionText::trim(line)) << '\n';
}

void SessionTextPrinter::printReport(const SessionReport &report) {
    out << "> " << SessionText::escape(report.command) << '\n';
    printError(report);
    if (report.display == SessionReport::StateDisplay::Never) {
        for (const std::string &line : report.results) {
            out << line << '\n';
        }
    } else {
        printBlock("result:", report.results, "");
        printBlock("events:", report.events, "");
        printState(report);
        std::vector<std::string> ran;
        if (!report.callbacks.empty()) {
            ran.push_back(SessionText::join(report.callbacks, ", "));
        }
        printBlock("callbacks:", ran, "none");
    }
    out << '\n';
}

void SessionTextPrinter::printState(const SessionReport &report) {
    std::vector<std::string> shapes;
    for (const SessionState::Shape &shape : report.state.shapes) {
        shapes.push_back(describe(shape));
    }
    std::vector<std::string> items;
    for (const SessionState::HostItem &item : report.state.host) {
        items.push_back(describe(item));
    }
    const std::string &layer = report.state.layer;
    if (report.display == SessionReport::StateDisplay::WhenChanged && stateShown &&
        layer == shownLayer && shapes == shownShapes && items == shownItems) {
        printBlock("selections:", {"unchanged"}, "");
        return;
    }
    printBlock("layer:", layer.empty() ? std::vector<std::string>() : std::vector{layer}, "");
    printBlock("editor:", shapes, "(nothing selected)");
    printBlock("host:", items, "(empty)");
    stateShown = true;
    shownLayer = layer;
    shownShapes = std::move(shapes);
    shownItems = std::move(items);
}

void SessionTextPrinter::printBlock(const std::string &label, const std::vector<std::string> &lines,
                                    const std::string &empty) {
    if (lines.empty() && empty.empty()) {
        return;
    }
    std::string margin = "  " + label;
    margin.resize(labelWidth, ' ');
    if (lines.empty()) {
        out << margin << empty << '\n';
        return;
    }
    for (const std::string &line : lines) {
        out << margin << line << '\n';
        margin.assign(labelWidth, ' ');
    }
}

std::string SessionTextPrinter::describe(const SessionState::Shape &shape) {
    std::string line = (shape.primary ? "* " : "  ") + shape.name;
    if (!shape.alive) {
        line += " (gone)";
    }
    if (!shape.points.empty()) {
        line += "  points " + ranked(shape.points);
    }
    if (!shape.handles.empty()) {
        line += "  handles " + ranked(shape.handles);
    }
    if (shape.hasParts && shape.points.empty() && shape.handles.empty()) {
        line += "  (empty parts: no point, no handle)";
    }
    return line;
}

std::string SessionTextPrinter::describe(const SessionState::HostItem &item) {
    std::string line = item.kind + " " + item.name;
    if (item.kind == "input") {
        line += " via " + (item.path.empty() ? "(no path)" : SessionText::join(item.path, ">"));
    }
    return line;
}

} // namespace VoSession
