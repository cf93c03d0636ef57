#include "SessionOptions.h"

#include "SessionLineReader.h"
#include "SessionText.h"

#include <climits>

namespace VoSession {

namespace {

// The value of --max-shapes into bound; false, with error set, when it is no count it takes.
bool parseMaxShapes(const std::string &value, std::size_t &bound, std::string &error) {
    long long count = 0;
    if (SessionText::parseInteger(value, count) != SessionText::Number::Valid || count < 0 ||
        count > INT_MAX) {
        error = "--max-shapes " + SessionText::quote(value) + " is no count (expected 0 to " +
                std::to_string(INT_MAX) + ")";
        return false;
    }
    bound = static_cast<std::size_t>(count);
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
        } else if (option == "--max-shapes") {
            if (index + 1 >= argc) {
                error = "missing count after --max-shapes";
                return false;
            }
            if (!parseMaxShapes(argv[++index], maxShapes, error)) {
                return false;
            }
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
           "                        [--max-shapes N]\n"
           "\n"
           "Runs libVoshape's shape selector and selection updater in a small shape editor.\n"
           "With no option: the built-in scene and the built-in demo script.\n"
           "  --scene FILE    builds the shapes of FILE, lines \"shape NAME POINTS [HANDLES] "
           "[single]\";\n"
           "                  without a script, prints the scene and its state\n"
           "  --script FILE   runs FILE, one command a line (\"-\": standard input)\n"
           "  -i              reads commands from standard input, with a prompt on a terminal\n"
           "  --json          prints one JSON object a line per command\n"
           "  --max-shapes N  at most N shapes, deleted ones included, from the scene and the\n"
           "                  \"shape\" command (default " +
           std::to_string(SessionScene::defaultMaxShapes) +
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
