#pragma once

namespace VoSession {

// The built-in scene and the built-in demo script, which together walk through the library's
// features; what the driver runs when it is given no option.
class SessionDemo {
public:
    SessionDemo() = delete;

    static const char *scene();
    static const char *script();
};

} // namespace VoSession
