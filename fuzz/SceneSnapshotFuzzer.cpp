// Fuzzer of the two text readers: the input is read as a session scene (SessionScene: `shape`,
// `points`, `handles` and `layer` lines) and as a selection snapshot
// (SeSelectionSnapshot::fromText). Each must either refuse it with one located, printable error of
// bounded length, or give what, written back as text and read again, is the same to the last bit:
// the scene through the scene text this fuzzer writes, the snapshot through toText. Aborts on the
// first breach.

#include "SessionScene.h"
#include "SessionText.h"

#include "SeSelectionSnapshot.h"

#include "base/RCExInvalidCall.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Vo::SeSelectionSnapshot;
using VoSession::SessionScene;
using VoSession::SessionText;

// An error message is this long at most, whatever the input: a scene quotes names (256 bytes, four
// times that escaped) and the starts of longer words; a snapshot quotes 40 bytes at most.
const std::size_t maxSceneError = 2048;
const std::size_t maxSnapshotError = 512;

void check(bool holds, const char *what, const std::string &detail) {
    if (!holds) {
        std::fprintf(stderr, "reader rule broken: %s\n%s\n", what, detail.c_str());
        std::abort();
    }
}

long long countLines(const std::string &text) {
    long long lines = 0;
    for (const char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines + (text.empty() || text.back() == '\n' ? 0 : 1);
}

// True when message starts with prefix, then a line number from 1 to last, then ": ".
bool namesALine(const std::string &message, const std::string &prefix, long long last) {
    if (message.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    const char *first = message.data() + prefix.size();
    const char *end = message.data() + message.size();
    long long line = 0;
    const std::from_chars_result parsed = std::from_chars(first, end, line);
    return parsed.ec == std::errc() && parsed.ptr != first && *first != '0' && line >= 1 &&
           line <= last && end - parsed.ptr >= 2 && std::strncmp(parsed.ptr, ": ", 2) == 0;
}

void checkError(const std::string &error, const std::string &prefix, long long lines,
                std::size_t bound) {
    check(namesALine(error, prefix, lines + 1), "an error names no line of the input", error);
    check(SessionText::isPrintable(error), "an error holds a control byte", error);
    check(error.size() <= bound, "an error is longer than its bound",
          std::to_string(error.size()) + " bytes: " + error.substr(0, 200));
    check(error.find(" (expected ") != std::string::npos, "an error says not what was expected",
          error);
}

std::string number(double value) {
    char text[32];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

// A `points` or `handles` line for every few hundred positions, which keeps each line far below
// the reader's bound.
void writePositions(std::ostringstream &out, const char *name, const std::vector<double> &values,
                    std::size_t perValue) {
    const std::size_t perLine = 300 * perValue;
    for (std::size_t at = 0; at < values.size(); at += perValue) {
        if (at % perLine == 0) {
            out << (at == 0 ? "" : "\n") << name;
        }
        out << ' ' << number(values[at]);
        if (perValue == 2) {
            out << ',' << number(values[at + 1]);
        }
    }
    if (!values.empty()) {
        out << '\n';
    }
}

// The scene as text: each shape with its counts and positions, each layer line before the first
// shape that goes to it, and the layers without shapes after the last one.
std::string sceneText(const SessionScene &scene) {
    std::ostringstream out;
    std::size_t layer = 0;
    const auto layersUpTo = [&](std::size_t last) {
        for (; layer < last; ++layer) {
            out << "layer " << scene.getLayers()[layer] << '\n';
        }
    };
    for (const SessionScene::Shape &shape : scene.getShapes()) {
        layersUpTo(static_cast<std::size_t>(shape.layer));
        out << "shape " << shape.name << ' ' << shape.nbPoints << ' ' << shape.nbHandles
            << (shape.singleValuedPoints ? " single" : "") << '\n';
        writePositions(out, "points", shape.points, 2);
        writePositions(out, "handles", shape.handles, 1);
    }
    layersUpTo(scene.getLayers().size());
    return out.str();
}

bool sameValues(const std::vector<double> &a, const std::vector<double> &b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

bool sameScene(const SessionScene &a, const SessionScene &b) {
    if (a.getLayers() != b.getLayers() || a.getShapes().size() != b.getShapes().size()) {
        return false;
    }
    for (std::size_t at = 0; at < a.getShapes().size(); ++at) {
        const SessionScene::Shape &x = a.getShapes()[at];
        const SessionScene::Shape &y = b.getShapes()[at];
        if (x.name != y.name || x.nbPoints != y.nbPoints || x.nbHandles != y.nbHandles ||
            x.singleValuedPoints != y.singleValuedPoints || x.layer != y.layer ||
            !sameValues(x.points, y.points) || !sameValues(x.handles, y.handles)) {
            return false;
        }
    }
    return true;
}

const std::vector<std::string> &reservedNames() {
    static const std::vector<std::string> names{"ShapeEditor", "Roto", "Output"};
    return names;
}

void fuzzScene(const std::string &input) {
    SessionScene scene(reservedNames());
    std::istringstream in(input);
    std::string error;
    if (!scene.read(in, "<fuzz>", error)) {
        checkError(error, "<fuzz>:", countLines(input), maxSceneError);
        return;
    }
    const std::string written = sceneText(scene);
    SessionScene again(reservedNames());
    std::istringstream back(written);
    check(again.read(back, "<written>", error), "a scene written back is refused",
          error + "\n" + written.substr(0, 2000));
    check(sameScene(scene, again), "a scene written back reads as another",
          written.substr(0, 2000));
}

bool sameSnapshot(const SeSelectionSnapshot &a, const SeSelectionSnapshot &b) {
    if (a.getEntries().size() != b.getEntries().size() ||
        a.getPickingType() != b.getPickingType() || a.getPickingIndex() != b.getPickingIndex() ||
        a.getPickingExtremity() != b.getPickingExtremity()) {
        return false;
    }
    for (std::size_t at = 0; at < a.getEntries().size(); ++at) {
        const SeSelectionSnapshot::Entry &x = a.getEntries()[at];
        const SeSelectionSnapshot::Entry &y = b.getEntries()[at];
        if (x.key != y.key || x.whole != y.whole || x.points != y.points ||
            x.handles != y.handles) {
            return false;
        }
    }
    return true;
}

void fuzzSnapshot(const std::string &input) {
    SeSelectionSnapshot snapshot;
    try {
        snapshot = SeSelectionSnapshot::fromText(input);
    } catch (const Vo::RCExInvalidCall &refused) {
        const std::string error = refused.what();
        checkError(error, "line ", countLines(input), maxSnapshotError);
        for (const char c : error) {
            check(c >= 0x20 && c < 0x7f, "a snapshot error holds a byte past ASCII", error);
        }
        return;
    }
    const std::string text = snapshot.toText();
    SeSelectionSnapshot again;
    try {
        again = SeSelectionSnapshot::fromText(text);
    } catch (const Vo::RCExInvalidCall &refused) {
        check(false, "a snapshot's own text is refused", std::string(refused.what()) + "\n" + text);
    }
    check(sameSnapshot(snapshot, again), "a snapshot's own text reads as another", text);
    check(again.toText() == text, "a snapshot read from its text writes another", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string input(reinterpret_cast<const char *>(data), size);
    fuzzScene(input);
    fuzzSnapshot(input);
    return 0;
}
