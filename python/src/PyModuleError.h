#pragma once

#include <stdexcept>
#include <string>

namespace VoPython {

// An error the module itself finds in what Python gave it (an unknown name, a deleted shape, a
// malformed scene, an index outside a shape), raised from C++ and turned by PyErrors into the
// Python exception class its kind names. Owns its message.
class PyModuleError : public std::runtime_error {
public:
    enum class Kind {
        ShapeGone,    // voshape.ShapeGoneError
        UnknownShape, // voshape.UnknownShapeError
        Scene,        // voshape.SceneError
        Index,        // IndexError
        Value,        // ValueError
        InvalidCall   // voshape.InvalidCallError, as the library's own misuse errors
    };

    PyModuleError(Kind kind, const std::string &message)
        : std::runtime_error(message), kind(kind) {}

    Kind getKind() const noexcept { return kind; }

private:
    Kind kind;
};

} // namespace VoPython
