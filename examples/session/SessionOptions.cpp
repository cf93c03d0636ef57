#include "SessionOptions.h"

#include "SessionText.h"

namespace VoSession {

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

const char *SessionOptions::usage() {
    return "usage: vo-shape-session [--scene FILE] [--script FILE | --script - | -i] [--json]\n"
           "\n"
           "Runs libVoshape's shape selector and selection updater in a small shape editor.\n"
           "With no option: the built-in scene and the built-in demo script.\n"
           "  --scene FILE   builds the shapes of FILE, lines \"shape NAME POINTS [HANDLES] "
           "[single]\";\n"
           "                 without a script, prints the scene and its state\n"
           "  --script FILE  runs FILE, one command a line (\"-\": standard input)\n"
           "  -i             reads commands from standard input, with a prompt on a terminal\n"
           "  --json         prints one JSON object a line per command\n"
           "The command \"help\" lists the commands. Exit status: 0, 1 when a command failed,\n"
           "2 for a bad command line, a missing file or a malformed scene.\n";
}

} // namespace VoSession
