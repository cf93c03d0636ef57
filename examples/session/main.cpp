// vo-shape-session: libVoshape's shape selector and selection updater at work in a small shape
// editor, driven by a script. See docs/session-driver.md.

#include "SessionOptions.h"
#include "SessionProgram.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <string>

int main(int argc, char **argv) {
    // A reader that leaves (vo-shape-session | head -1) makes writes fail, reported as such with
    // status 2, instead of killing the driver without a word.
    std::signal(SIGPIPE, SIG_IGN);
    VoSession::SessionOptions options;
    std::string error;
    if (!options.parse(argc, argv, error)) {
        std::cerr << "vo-shape-session: " << error << "\n" << VoSession::SessionOptions::usage();
        return 2;
    }
    if (options.help) {
        std::cout << VoSession::SessionOptions::usage();
        return 0;
    }
    try {
        return VoSession::SessionProgram(options, std::cout, std::cerr).run();
    } catch (const std::exception &exception) {
        std::cout.flush();
        std::cerr << "vo-shape-session: " << exception.what() << std::endl;
        return 2;
    }
}
