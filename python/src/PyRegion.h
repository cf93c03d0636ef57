#pragma once

#include <pybind11/pybind11.h>

#include <vector>

namespace VoPython {

// A region of the scene that selects what lies in it: a rectangle (x0, y0, x1, y1), corners in
// either order, edges included; or a polygon of three or more (x, y) vertices, closed, by the
// even-odd rule (a point on an edge may fall either side). Owns its vertices.
class PyRegion {
public:
    // From what Python gave; raises TypeError for anything but four real numbers or a sequence
    // of pairs, ValueError for a value that is not finite or a polygon of fewer than 3 vertices.
    static PyRegion from(pybind11::handle given);

    bool contains(double x, double y) const noexcept;

private:
    PyRegion() = default;

    bool rectangle = false;
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    // x, y of each vertex in turn.
    std::vector<double> vertices;
};

} // namespace VoPython
