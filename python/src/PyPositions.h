#pragma once

#include "AppShapeInterface.h"

#include <pybind11/pybind11.h>

#include <vector>

namespace VoPython {

// Where a shape's points and handles lie, between Python and the shape's inputs, in one pass of
// C++ each way: out as NumPy float64 arrays when NumPy imports (lists otherwise), in from any
// buffer or sequence of (x, y) pairs (of real numbers for handles), checked whole before anything
// is written. Holds nothing.
class PyPositions {
public:
    PyPositions() = delete;

    // x, y of every point in turn; raises PyModuleError (Value) for a single-valued curve, whose
    // points have no input of their own and so no position.
    static std::vector<double> points(const VoExample::AppShapeInterface &shape);
    static std::vector<double> handles(const VoExample::AppShapeInterface &shape);
    // An (N, 2) float64 array of x, y pairs, or a list of (x, y) tuples without NumPy.
    static pybind11::object pairsOut(const std::vector<double> &xy);
    // An (N,) float64 array, or a list of floats without NumPy.
    static pybind11::object valuesOut(const std::vector<double> &values);
    // x, y pairs flattened: from an (N, 2) buffer or a sequence of pairs of real numbers. Raises
    // TypeError for anything else and ValueError for a value that is not finite; `what` names
    // the argument.
    static std::vector<double> pairsIn(pybind11::handle given, const char *what);
    // Moves the points at indices to the pairs of xy (as many pairs as indices), having checked
    // every index (IndexError) and every pair first: all are written or none.
    static void write(VoExample::AppShapeInterface &shape, pybind11::handle indices,
                      pybind11::handle xy);
    // Moves the handles at indices to the places along the gradient given (one finite real
    // number an index, from an (N,) buffer or a sequence), checked as write checks: all or none.
    static void writeHandles(VoExample::AppShapeInterface &shape, pybind11::handle indices,
                             pybind11::handle positions);
};

} // namespace VoPython
