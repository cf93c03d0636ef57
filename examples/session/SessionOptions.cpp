#include "SessionOptions.h"

#include "SessionLineReader.h"
#include "SessionText.h"

#include <climits>

namespace VoSession {

namespace {

// The value of a bound's option, at most largest, into count; false, with error set, when it is
// no count that option takes.
bool parseBound(const std::string &option, const std::string &value, long long largest,
                long long &count, std::string &error) {
    if (SessionText::parseInteger(value, count) != SessionText::Number::Valid || count < 0 ||
        count > largest) {
        error = option + " " + SessionText::quote(value) + " is no count (expected 0 to " +
                std::to_string(largest) + ")";
        return false;
    }
    return true;
}

// Reads the value of option, when it is one of the bounds, into limits; false, with error set,
// when it is no bound's option or its value is wrong (error then empty for the former).
bool parseLimit(const std::string &option, const char *value, SessionScene::Limits &limits,
                std::string &error) {
    const bool shapes = option == "--max-shapes";
    const bool count = option == "--max-count";
    if (!shapes && !count && option != "--max-total") {
        return false;
    }
    if (value == nullptr) {
        error = "missing count after " + option;
        return false;
    }
    const long long largest = shapes || count ? INT_MAX : LLONG_MAX;
    long long read = 0;
    if (!parseBound(option, value, largest, read, error)) {
        return false;
    }
    if (shapes) {
        limits.maxShapes = static_cast<std::size_t>(read);
    } else if (count) {
        limits.maxCount = static_cast<int>(read);
    } else {
        limits.maxTotal = read;
    }
    return true;
}

} // namespace

bool SessionOptions::parse(int argc, const char *const *argv, std::string &error) {
    for (int index = 1; index < argc; ++index) {
        const std::string option = argv[index];
        std::string *file = option == "--scene"    ? &sceneFile
                            : option == "--script" ? &scriptFile
                                                   : nullptr;
        if (file != nullptr) {
            if (index + 1 >= argc || std::string(argv[index + 1]).empty()) {
                error = "missing file name after " + option;
                return false;
            }
            *file = argv[++index];
        } else if (parseLimit(option, index + 1 < argc ? argv[index + 1] : nullptr, limits,
                              error)) {
            ++index;
        } else if (!error.empty()) {
            return false;
        } else if (option == "--json") {
            json = true;
        } else if (option == "-i" || option == "--interactive") {
            interactive = true;
        } else if (option == "-h" || option == "--help") {
            help = true;
        } else {
            error = "unknown option " + SessionText::quote(option);
            return false;
        }
    }
    if (interactive && !scriptFile.empty()) {
        error = "-i reads the commands from standard input: give it or --script, not both";
        return false;
    }
    return true;
}

std::string SessionOptions::usage() {
    return "usage: vo-shape-session [--scene FILE] [--script FILE | --script - | -i] [--json]\n"
           "                        [--max-shapes N] [--max-count N] [--max-total N]\n"
           "\n"
           "Runs libVoshape's shape selector and selection updater in a small shape editor.\n"
           "With no option: the built-in scene and the built-in demo script.\n"
           "  --scene FILE    builds the shapes of FILE, lines \"shape NAME POINTS [HANDLES] "
           "[single]\",\n"
           "                  each followed by any \"points X,Y ...\" and \"handles P ...\"\n"
           "                  without a script, prints the scene and its state\n"
           "  --script FILE   runs FILE, one command a line (\"-\": standard input)\n"
           "  -i              reads commands from standard input, with a prompt on a terminal\n"
           "  --json          prints one JSON object a line per command\n"
           "  --max-shapes N  at most N shapes, deleted ones included, from the scene and the\n"
           "                  \"shape\" command (default " +
           std::to_string(SessionScene::defaultMaxShapes) +
           ")\n"
           "  --max-count N   at most N points, and N handles, in one shape (default " +
           std::to_string(SessionScene::defaultMaxCount) +
           ")\n"
           "  --max-total N   at most N points and handles over all shapes, deleted ones\n"
           "                  included (default " +
           std::to_string(SessionScene::defaultMaxTotal) +
           ")\n"
           "Lines are at most " +
           std::to_string(SessionLineReader::maxLength) + " bytes, shape names at most " +
           std::to_string(SessionScene::maxNameLength) +
           ".\n"
           "The command \"help\" lists the commands. Exit status: 0, 1 when a command failed,\n"
           "2 for a bad command line, a file that cannot be read, a malformed scene, a line too\n"
           "long, or a transcript or error message that cannot be written.\n";
}

} // namespace VoSession
