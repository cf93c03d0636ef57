#pragma once

#include "SessionScene.h"

#include <cstddef>
#include <string>

namespace VoSession {

// The command line: vo-shape-session [--scene FILE] [--script FILE | -i] [--json]
// [--max-shapes N] [--max-count N] [--max-total N] [--help]. Plain values.
struct SessionOptions {
    std::string sceneFile;  // empty: the built-in scene
    std::string scriptFile; // empty: none given; "-": standard input
    // --max-shapes, --max-count and --max-total.
    SessionScene::Limits limits;
    bool json = false;
    bool interactive = false;
    bool help = false;

    // Fills the options from argv; false, with error set, for a command line it cannot take.
    bool parse(int argc, const char *const *argv, std::string &error);
    static std::string usage();
};

} // namespace VoSession
