#include "SessionProgram.h"

#include "Session.h"
#include "SessionCommands.h"
#include "SessionDescriptorBuffer.h"
#include "SessionDemo.h"
#include "SessionJsonPrinter.h"
#include "SessionPrinter.h"
#include "SessionTextPrinter.h"

#include "SessionText.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <sstream>

namespace VoSession {

SessionProgram::SessionProgram(const SessionOptions &given, std::ostream &output,
                               std::ostream &errors)
    : options(given), out(output), err(errors) {}

int SessionProgram::run() {
    auto owned = std::make_unique<Session>(options.limits);
    SessionScene scene(owned->getNodeNames(), options.limits);
    if (!readScene(scene) || !buildScene(owned, scene)) {
        return 2;
    }
    Session &session = *owned;
    SessionCommands commands(session);
    std::unique_ptr<SessionPrinter> printer;
    if (options.json) {
        printer = std::make_unique<SessionJsonPrinter>(out, err);
    } else {
        printer = std::make_unique<SessionTextPrinter>(out, err);
    }
    SessionRunner runner(session, commands, *printer);
    const bool read = runScript(runner);
    if (!checkOutput() || !read || runner.wasCutShort() || !errorsWritten()) {
        return 2;
    }
    return runner.getNbFailures() > 0 ? 1 : 0;
}

bool SessionProgram::readScene(SessionScene &scene) {
    if (options.sceneFile.empty()) {
        std::istringstream demo(SessionDemo::scene());
        return readScene(scene, demo, "<demo>");
    }
    const std::unique_ptr<SessionDescriptorBuffer> file = open(options.sceneFile);
    std::istream in(file.get());
    return file != nullptr && readScene(scene, in, options.sceneFile);
}

bool SessionProgram::readScene(SessionScene &scene, std::istream &in, const std::string &source) {
    std::string error;
    errno = 0;
    if (!scene.read(in, source, error)) {
        err << error << std::endl;
        return false;
    }
    if (in.bad() || readError(in) != 0) {
        report(source, "cannot read the file", readError(in) != 0 ? readError(in) : errno);
        return false;
    }
    return true;
}

bool SessionProgram::buildScene(std::unique_ptr<Session> &session, const SessionScene &scene) {
    const SessionScene::Shape *failed = session->build(scene);
    if (failed != nullptr) {
        session.reset(); // what it holds may leave too little memory for the message

        report((options.sceneFile.empty() ? "<demo>" : options.sceneFile) + ":" +
                   std::to_string(failed->line),
               "out of memory building shape " + SessionText::quote(failed->name), 0);
    }
    return failed == nullptr;
}

bool SessionProgram::runScript(SessionRunner &runner) {
    if (options.scriptFile == "-") {
        return runScript(runner, std::cin, "<stdin>", nullptr);
    }
    if (!options.scriptFile.empty()) {
        const std::unique_ptr<SessionDescriptorBuffer> file = open(options.scriptFile);
        std::istream in(file.get());
        std::error_code ignored;
        // A pipe or a FIFO may keep the driver waiting: what it ran so far shows meanwhile, as the
        // transcript is flushed before each read (standard input, tied to standard output, does it
        // too).
        if (!std::filesystem::is_regular_file(options.scriptFile, ignored)) {
            in.tie(&out);
        }
        return file != nullptr && runScript(runner, in, options.scriptFile, nullptr);
    }
    if (options.interactive) {
        const bool terminal = isatty(STDIN_FILENO) != 0;
        if (terminal) {
            err << "vo-shape-session: \"help\" lists the commands; \"quit\" or end of input leaves"
                << std::endl;
        }
        return runScript(runner, std::cin, "<stdin>", terminal ? &err : nullptr);
    }
    std::istringstream builtIn(options.sceneFile.empty() ? SessionDemo::script() : "scene\nshow\n");
    return runScript(runner, builtIn, options.sceneFile.empty() ? "<demo>" : "<scene>", nullptr);
}

bool SessionProgram::runScript(SessionRunner &runner, std::istream &in, const std::string &source,
                               std::ostream *prompt) {
    const int error = runner.run(in, source, prompt, out);
    // Standard input reads through C's stdin, whose read errors do not reach the stream's state.
    const bool failed =
        in.bad() || readError(in) != 0 || (&in == &std::cin && std::ferror(stdin) != 0);
    if (failed) {
        out.flush();
        report(source, "cannot read the file", readError(in) != 0 ? readError(in) : error);
    }
    return !failed;
}

std::unique_ptr<SessionDescriptorBuffer> SessionProgram::open(const std::string &path) {
    std::error_code ignored;
    int fd = -1;
    if (!std::filesystem::is_directory(path, ignored)) {
        SessionFileSystem &files = SessionFileSystem::standard();
        do {
            fd = files.open(path, O_RDONLY | O_CLOEXEC, 0); // a FIFO's waits for its writer
        } while (fd < 0 && errno == EINTR);
    }
    if (fd < 0) {
        report(path, "cannot open the file", 0);
        return nullptr;
    }
    return std::make_unique<SessionDescriptorBuffer>(SessionFileSystem::standard(), fd);
}

int SessionProgram::readError(const std::istream &in) {
    const auto *file = dynamic_cast<const SessionDescriptorBuffer *>(in.rdbuf());
    return file == nullptr ? 0 : file->getError();
}

bool SessionProgram::checkOutput() {
    errno = 0;
    out.flush();
    // Standard output writes through C's stdout, which may hold what failed in its buffer.
    const bool failed = !out.good() || (&out == &std::cout &&
                                        (std::fflush(stdout) != 0 || std::ferror(stdout) != 0));
    if (failed) {
        report("vo-shape-session", "cannot write the transcript to standard output", errno);
    }
    return !failed;
}

bool SessionProgram::errorsWritten() {
    err.flush();
    return err.good() && (&err != &std::cerr || std::ferror(stderr) == 0);
}

void SessionProgram::report(const std::string &source, const std::string &what, int error) {
    err << SessionText::escape(source) << ": " << what
        << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << std::endl;
}

} // namespace VoSession
