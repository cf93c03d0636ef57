// Fuzzer of the session driver: the input is a script run on the built-in scene or, when it holds
// a line "%%", a scene (the lines before it) and a script (the lines after it). After every command
// it checks what the driver promises; aborts on the first breach:
// - a failure gives exactly one error line, "SOURCE:LINE: message", printable text;
// - a failed command changes nothing: both selections as before, no event, no callback;
// - every --json line parses as JSON (valid UTF-8 included), and the text transcript is printable;
// - every selected point and handle of a live shape exists on it.
// A malformed scene must give one such error line too. save-file and load-file work in a scratch
// directory of the fuzzer's own; a script that names a path elsewhere is not run.

#include "Session.h"
#include "SessionCommands.h"
#include "SessionDemo.h"
#include "SessionJsonPrinter.h"
#include "SessionPrinter.h"
#include "SessionReport.h"
#include "SessionRunner.h"
#include "SessionScene.h"
#include "SessionState.h"
#include "SessionText.h"
#include "SessionTextPrinter.h"

#include "AppShapeInterface.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using VoSession::SessionReport;
using VoSession::SessionState;
using VoSession::SessionText;

// The directory the fuzzer was started in, and the one each input runs in.
int homeDirectory = -1;
const char *scratchDirectory = nullptr;

void goHome() {
    if (fchdir(homeDirectory) != 0) {
        std::perror("vo_fuzz_session: cannot go back to its directory");
        std::abort();
    }
}

void check(bool holds, const char *what, const std::string &detail) {
    if (!holds) {
        goHome();
        std::fprintf(stderr, "session rule broken: %s\n%s\n", what, detail.c_str());
        std::abort();
    }
}

// A strict reader of one JSON value: true when text is exactly one value, in valid UTF-8.
class JsonReader {
public:
    explicit JsonReader(const std::string &text) : text(text) {}

    bool readsWhole() { return value(0) && skipBlanks() == text.size(); }

private:
    std::size_t skipBlanks() {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
            ++at;
        }
        return at;
    }
    bool literal(const char *word) {
        const std::string expected(word);
        if (text.compare(at, expected.size(), expected) != 0) {
            return false;
        }
        at += expected.size();
        return true;
    }
    bool value(int depth) {
        skipBlanks();
        if (at >= text.size() || depth > 64) {
            return false;
        }
        switch (text[at]) {
        case '{':
            return sequence('}', true, depth);
        case '[':
            return sequence(']', false, depth);
        case '"':
            return string();
        case 't':
            return literal("true");
        case 'f':
            return literal("false");
        case 'n':
            return literal("null");
        default:
            return number();
        }
    }
    bool sequence(char close, bool members, int depth) {
        ++at;
        if (skipBlanks() < text.size() && text[at] == close) {
            ++at;
            return true;
        }
        for (;;) {
            if (members) {
                skipBlanks();
                if (at >= text.size() || text[at] != '"' || !string() ||
                    skipBlanks() >= text.size() || text[at++] != ':') {
                    return false;
                }
            }
            if (!value(depth + 1) || skipBlanks() >= text.size()) {
                return false;
            }
            const char next = text[at++];
            if (next == close) {
                return true;
            }
            if (next != ',') {
                return false;
            }
        }
    }
    bool string() {
        for (++at; at < text.size();) {
            const auto byte = static_cast<unsigned char>(text[at]);
            if (byte == '"') {
                ++at;
                return true;
            }
            if (byte < 0x20) {
                return false;
            }
            if (byte == '\\') {
                if (!escape()) {
                    return false;
                }
                continue;
            }
            const std::size_t length = SessionText::utf8Length(text, at);
            if (length == 0) {
                return false;
            }
            at += length;
        }
        return false;
    }
    bool escape() {
        ++at;
        if (at >= text.size()) {
            return false;
        }
        const char kind = text[at++];
        if (kind != 'u') {
            return std::string("\"\\/bfnrt").find(kind) != std::string::npos;
        }
        for (int digit = 0; digit < 4; ++digit, ++at) {
            if (at >= text.size() || std::isxdigit(static_cast<unsigned char>(text[at])) == 0) {
                return false;
            }
        }
        return true;
    }
    bool number() {
        const std::size_t start = at;
        if (at < text.size() && text[at] == '-') {
            ++at;
        }
        const std::size_t digits = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            ++at;
        }
        return at > digits && at > start;
    }

    const std::string &text;
    std::size_t at = 0;
};

std::vector<std::string> linesOf(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool sameShapes(const SessionState &a, const SessionState &b) {
    if (a.shapes.size() != b.shapes.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.shapes.size(); ++i) {
        const SessionState::Shape &x = a.shapes[i];
        const SessionState::Shape &y = b.shapes[i];
        if (x.name != y.name || x.alive != y.alive || x.primary != y.primary ||
            x.hasParts != y.hasParts || x.points != y.points || x.handles != y.handles) {
            return false;
        }
    }
    return true;
}

bool sameHost(const SessionState &a, const SessionState &b) {
    if (a.host.size() != b.host.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.host.size(); ++i) {
        if (a.host[i].kind != b.host[i].kind || a.host[i].name != b.host[i].name ||
            a.host[i].path != b.host[i].path) {
            return false;
        }
    }
    return true;
}

// Prints each report through both real printers into memory and checks what they wrote, and the
// report, against the state the previous command left.
class CheckingPrinter : public VoSession::SessionPrinter {
public:
    CheckingPrinter(const VoSession::Session &session, std::ostream &sink)
        : SessionPrinter(sink, sink), session(session), last(session.capture()),
          text(textOut, textErr), json(jsonOut, jsonErr) {}

    void printComment(const std::string &line) override {
        text.printComment(line);
        checkText();
    }

    void printReport(const SessionReport &report) override {
        text.printReport(report);
        json.printReport(report);
        checkText();
        checkJson();
        checkError(report, textErr.str());
        checkError(report, jsonErr.str());
        textErr.str("");
        jsonErr.str("");
        if (!report.error.empty()) {
            checkFailure(report);
        }
        followBatch(report);
        checkParts(report.state);
        last = report.state;
    }

private:
    void checkText() {
        for (const std::string &line : linesOf(textOut.str())) {
            check(SessionText::isPrintable(line), "the transcript holds a control character", line);
        }
        textOut.str("");
    }
    void checkJson() {
        const std::vector<std::string> lines = linesOf(jsonOut.str());
        check(lines.size() == 1, "not one JSON line for one command", jsonOut.str());
        check(JsonReader(lines.front()).readsWhole(), "a JSON line does not parse", lines.front());
        jsonOut.str("");
    }
    static void checkError(const SessionReport &report, const std::string &written) {
        if (report.error.empty()) {
            check(written.empty(), "an error line for a command that did not fail", written);
            return;
        }
        const std::string expected =
            "<fuzz>:" + std::to_string(report.line) + ": " + report.error + "\n";
        check(written == expected, "not exactly one located error line", written);
        check(SessionText::isPrintable(report.error), "an error line holds a control character",
              report.error);
    }
    // A failed command changes nothing; inside a batch it abandons the batch, which puts both
    // selections back as at the batch's start. Shapes deleted and points renumbered inside the
    // batch still apply then, so the comparison is left to checkParts when the graph changed.
    // When the application wrote its own selection inside the abandoned batch, that selection is
    // brought back in step with the editor's rather than to its old items.
    void checkFailure(const SessionReport &report) const {
        if (inBatch && batchChangedGraph) {
            return;
        }
        const SessionState &before = inBatch ? batchStart : last;
        check(report.events.empty() && report.callbacks.empty(),
              "a failed command sent events or ran callbacks", report.command);
        const bool hostHolds = inBatch && batchWroteHost ? hostFollowsEditor(report.state)
                                                         : sameHost(report.state, before);
        check(sameShapes(report.state, before) && hostHolds, "a failed command changed a selection",
              report.command + ": " + report.error);
    }
    static bool hostFollowsEditor(const SessionState &state) {
        std::vector<std::string> objects;
        for (const SessionState::HostItem &item : state.host) {
            if (item.kind == "object") {
                objects.push_back(item.name);
            }
        }
        std::vector<std::string> shapes;
        for (const SessionState::Shape &shape : state.shapes) {
            shapes.push_back(shape.name);
        }
        return objects == shapes;
    }
    void followBatch(const SessionReport &report) {
        if (session.getBatchDepth() == 0) {
            inBatch = false;
            return;
        }
        if (!inBatch) {
            inBatch = true;
            batchStart = last;
            batchChangedGraph = false;
            batchWroteHost = false;
        }
        batchChangedGraph = batchChangedGraph || !report.events.empty() || changesGraph(report);
        batchWroteHost = batchWroteHost || report.command.rfind("host-", 0) == 0;
    }
    static bool changesGraph(const SessionReport &report) {
        const std::string &command = report.command;
        return command.rfind("shape", 0) == 0 || command.rfind("insert-", 0) == 0 ||
               command.rfind("delete", 0) == 0 || command.rfind("send-removal", 0) == 0;
    }
    void checkParts(const SessionState &state) const {
        for (const SessionState::Shape &shape : state.shapes) {
            const VoExample::AppShapeInterface *live = session.findShape(shape.name);
            if (!shape.alive || live == nullptr) {
                continue;
            }
            for (const int point : shape.points) {
                check(point >= 0 && point < live->getNbPoints(), "a selected point does not exist",
                      shape.name);
            }
            for (const int handle : shape.handles) {
                check(handle >= 0 && handle < live->getNbHandles(),
                      "a selected handle does not exist", shape.name);
            }
        }
    }

    const VoSession::Session &session;
    SessionState last;
    // The state before the outermost open batch, and whether the graph or the application's
    // selection changed inside it.
    SessionState batchStart;
    bool inBatch = false;
    bool batchChangedGraph = false;
    bool batchWroteHost = false;
    std::ostringstream textOut;
    std::ostringstream textErr;
    std::ostringstream jsonOut;
    std::ostringstream jsonErr;
    VoSession::SessionTextPrinter text;
    VoSession::SessionJsonPrinter json;
};

// Splits the input at its first line "%%": the scene before, the script after. Without one, the
// whole input is the script and the scene is the built-in one.
bool splitInput(const std::string &input, std::string &scene, std::string &script) {
    const std::string separator = "%%\n";
    std::size_t at = input.compare(0, separator.size(), separator) == 0 ? 0 : std::string::npos;
    if (at == std::string::npos) {
        const std::size_t found = input.find("\n" + separator);
        at = found == std::string::npos ? found : found + 1;
    }
    if (at == std::string::npos) {
        script = input;
        return false;
    }
    scene = input.substr(0, at);
    script = input.substr(at + separator.size());
    return true;
}

// True when a line of the script names a path for save-file or load-file: the fuzzer keeps its
// files in its own scratch directory and leaves the rest of the system alone (a script could
// otherwise overwrite a source file or read a device that never ends).
bool namesAPath(const std::string &script) {
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("-file") != std::string::npos && line.find('/') != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

// The files that save-file writes go into a fresh directory of the fuzzer's own, removed at exit.
// Each input runs there, and the fuzzer's own directory is back before libFuzzer reads or writes
// its corpus, or a failed check writes the input that failed.
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    static char scratch[] = "/tmp/vo_fuzz_session.XXXXXX";
    homeDirectory = open(".", O_RDONLY | O_DIRECTORY);
    if (homeDirectory < 0 || mkdtemp(scratch) == nullptr) {
        std::perror("vo_fuzz_session: cannot make its scratch directory");
        std::abort();
    }
    scratchDirectory = scratch;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(scratchDirectory, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string input(reinterpret_cast<const char *>(data), size);
    std::string sceneText;
    std::string scriptText;
    const bool ownScene = splitInput(input, sceneText, scriptText);
    if (namesAPath(scriptText)) {
        return 0;
    }
    VoSession::Session session;
    VoSession::SessionScene scene(session.getNodeNames());
    std::istringstream sceneIn(ownScene ? sceneText : std::string(VoSession::SessionDemo::scene()));
    std::string error;
    if (!scene.read(sceneIn, "<fuzz>", error)) {
        check(error.rfind("<fuzz>:", 0) == 0 && error.find('\n') == std::string::npos &&
                  SessionText::isPrintable(error),
              "a malformed scene gives no one located error line", error);
        return 0;
    }
    check(session.build(scene) == nullptr, "the scene could not be built", sceneText);
    VoSession::SessionCommands commands(session);
    std::ostringstream sink;
    CheckingPrinter printer(session, sink);
    VoSession::SessionRunner runner(session, commands, printer);
    std::istringstream script(scriptText);
    if (chdir(scratchDirectory) != 0) {
        std::perror("vo_fuzz_session: cannot enter its scratch directory");
        std::abort();
    }
    runner.run(script, "<fuzz>", nullptr, sink);
    goHome();
    return 0;
}
