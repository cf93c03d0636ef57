#pragma once

#include <pybind11/pybind11.h>

namespace VoPython {

// The module's exception classes, rooted at voshape.Error, and the translation of the library's
// exceptions (Vo::RCException and its kinds) and of the module's own (PyModuleError) into them,
// message kept. The classes live as long as the interpreter: their references are never released,
// so no destructor touches Python after it has finalised.
class PyErrors {
public:
    PyErrors() = delete;

    // Creates the classes in the module and registers the translator.
    static void bind(pybind11::module_ &module);
};

} // namespace VoPython
