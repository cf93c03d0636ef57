#pragma once

#include "SessionOptions.h"
#include "SessionRunner.h"
#include "SessionScene.h"

#include <istream>
#include <memory>
#include <ostream>
#include <string>

namespace VoSession {

class SessionDescriptorBuffer;

// The driver from start to end: reads the scene, builds the session on it, runs the script the
// options name (the demo script, a file, standard input or an interactive prompt) and gives the
// exit status. Borrows the options and the two streams.
class SessionProgram {
public:
    SessionProgram(const SessionOptions &options, std::ostream &out, std::ostream &err);

    // 0; 1 when a command failed; 2 when the scene or the script could not be read, the scene is
    // malformed or cannot be built (no command runs then), a line is too long, memory ran out
    // while a report was made, or the transcript or an error message cannot be written.
    int run();

private:
    bool readScene(SessionScene &scene);
    bool readScene(SessionScene &scene, std::istream &in, const std::string &source);
    // Builds the scene's shapes; an allocation failure is reported at the shape's line, once the
    // session is dropped.
    bool buildScene(std::unique_ptr<Session> &session, const SessionScene &scene);
    bool runScript(SessionRunner &runner);
    // Runs in to its end; false, after a message, when a read error ended it.
    bool runScript(SessionRunner &runner, std::istream &in, const std::string &source,
                   std::ostream *prompt);
    // The file to read, through a descriptor: read errors and a FIFO's lines as they come show
    // alike on every standard library. Null, after a message, when path names no readable file.
    std::unique_ptr<SessionDescriptorBuffer> open(const std::string &path);
    // The errno of the failed read that ended in, when it reads a descriptor; 0 otherwise.
    static int readError(const std::istream &in);
    // Reports and gives false when the transcript could not be written.
    bool checkOutput();
    // False when something written to the error stream was lost: nothing else could tell.
    bool errorsWritten();
    // "SOURCE: what" with the system's reason when errno holds one.
    void report(const std::string &source, const std::string &what, int error);

    const SessionOptions &options;
    std::ostream &out;
    std::ostream &err;
};

} // namespace VoSession
