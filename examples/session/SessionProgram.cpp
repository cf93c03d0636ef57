#include "SessionProgram.h"

#include "Session.h"
#include "SessionCommands.h"
#include "SessionDemo.h"
#include "SessionJsonPrinter.h"
#include "SessionPrinter.h"
#include "SessionTextPrinter.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace VoSession {

SessionProgram::SessionProgram(const SessionOptions &given, std::ostream &output,
                               std::ostream &errors)
    : options(given), out(output), err(errors) {}

int SessionProgram::run() {
    Session session;
    SessionScene scene(session.getNodeNames());
    if (!readScene(scene)) {
        return 2;
    }
    session.build(scene);
    SessionCommands commands(session);
    std::unique_ptr<SessionPrinter> printer;
    if (options.json) {
        printer = std::make_unique<SessionJsonPrinter>(out, err);
    } else {
        printer = std::make_unique<SessionTextPrinter>(out, err);
    }
    SessionRunner runner(session, commands, *printer);
    if (!runScript(runner)) {
        return 2;
    }
    out.flush();
    return runner.getNbFailures() > 0 ? 1 : 0;
}

bool SessionProgram::readScene(SessionScene &scene) {
    if (options.sceneFile.empty()) {
        std::istringstream demo(SessionDemo::scene());
        return readScene(scene, demo, "<demo>");
    }
    std::ifstream file;
    return open(options.sceneFile, file) && readScene(scene, file, options.sceneFile);
}

bool SessionProgram::readScene(SessionScene &scene, std::istream &in, const std::string &source) {
    std::string error;
    if (!scene.read(in, source, error)) {
        err << error << std::endl;
        return false;
    }
    if (in.bad()) {
        err << source << ": cannot read the file" << std::endl;
        return false;
    }
    return true;
}

bool SessionProgram::runScript(SessionRunner &runner) {
    if (options.scriptFile == "-") {
        runner.run(std::cin, "<stdin>", nullptr);
    } else if (!options.scriptFile.empty()) {
        std::ifstream file;
        if (!open(options.scriptFile, file)) {
            return false;
        }
        runner.run(file, options.scriptFile, nullptr);
    } else if (options.interactive) {
        const bool terminal = isatty(STDIN_FILENO) != 0;
        if (terminal) {
            err << "vo-shape-session: \"help\" lists the commands; \"quit\" or end of input leaves"
                << std::endl;
        }
        runner.run(std::cin, "<stdin>", terminal ? &err : nullptr);
    } else if (options.sceneFile.empty()) {
        std::istringstream demo(SessionDemo::script());
        runner.run(demo, "<demo>", nullptr);
    } else {
        std::istringstream overview("scene\nshow\n");
        runner.run(overview, "<scene>", nullptr);
    }
    return true;
}

bool SessionProgram::open(const std::string &path, std::ifstream &file) {
    std::error_code ignored;
    if (!std::filesystem::is_directory(path, ignored)) {
        file.open(path);
    }
    if (!file.is_open()) {
        err << path << ": cannot open the file" << std::endl;
        return false;
    }
    return true;
}

} // namespace VoSession
