#pragma once

#include "foundation/Set.h"
#include "foundation/Vector.h"

#include <pybind11/pybind11.h>

#include <functional>
#include <string>

namespace VoPython {

// Index lists between Python and the library, in one pass of C++ each way: any buffer of integers
// (array.array, a NumPy array, bytes) or any iterable of integers in, a list or, when NumPy
// imports, an array out. Holds nothing.
class PyIndices {
public:
    PyIndices() = delete;

    // Raises TypeError for an element that is no integer, a buffer of another kind or of more
    // than one dimension, and OverflowError for a value outside the int range; `what` names the
    // argument in the message.
    static Vo::Vector<int> toVector(pybind11::handle given, const char *what);
    static pybind11::list toList(const Vo::Vector<int> &indices);
    static pybind11::list toList(const Vo::Set<int, std::less<int>> &indices);
    // Raises PyModuleError (Index) for the first index outside 0 .. count - 1: `what` names the
    // argument, `noun` the element ("point", "handle") of the shape of that name.
    static void checkElements(const Vo::Vector<int> &indices, int count, const char *what,
                              const char *noun, const std::string &shape);
    // A new int32 NumPy array; raises ImportError when NumPy is not installed.
    static pybind11::object toArray(const Vo::Vector<int> &indices);
};

} // namespace VoPython
