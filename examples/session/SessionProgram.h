#pragma once

#include "SessionOptions.h"
#include "SessionRunner.h"
#include "SessionScene.h"

#include <fstream>
#include <istream>
#include <ostream>
#include <string>

namespace VoSession {

// The driver from start to end: reads the scene, builds the session on it, runs the script the
// options name (the demo script, a file, standard input or an interactive prompt) and gives the
// exit status. Borrows the options and the two streams.
class SessionProgram {
public:
    SessionProgram(const SessionOptions &options, std::ostream &out, std::ostream &err);

    // 0; 1 when a command failed; 2 when the scene or the script could not be read, or the scene
    // is malformed, in which case no command runs.
    int run();

private:
    bool readScene(SessionScene &scene);
    bool readScene(SessionScene &scene, std::istream &in, const std::string &source);
    bool runScript(SessionRunner &runner);
    // Reports and gives false when path names no readable file.
    bool open(const std::string &path, std::ifstream &file);

    const SessionOptions &options;
    std::ostream &out;
    std::ostream &err;
};

} // namespace VoSession
