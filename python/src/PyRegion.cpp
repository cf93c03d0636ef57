#include "PyRegion.h"

#include "PyModuleError.h"
#include "PyPositions.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace py = pybind11;

namespace VoPython {

namespace {

// Four numbers, not four pairs: the first element is a number.
bool isRectangle(py::handle given) {
    if (!py::isinstance<py::sequence>(given) || py::isinstance<py::str>(given) ||
        py::len(given) != 4) {
        return false;
    }
    const py::object first = given[py::int_(0)];
    return PyNumber_Check(first.ptr()) != 0 && !py::isinstance<py::sequence>(first);
}

double cornerAt(py::handle given, int at) {
    const py::object element = given[py::int_(at)];
    const double value = PyFloat_AsDouble(element.ptr());
    if (value == -1.0 && PyErr_Occurred() != nullptr) {
        PyErr_Clear();
        throw py::type_error("region: rectangle value " + std::to_string(at) + " is a " +
                             Py_TYPE(element.ptr())->tp_name + ", not a real number");
    }
    if (!std::isfinite(value)) {
        throw PyModuleError(PyModuleError::Kind::Value,
                            "region: rectangle value " + std::to_string(at) + " is " +
                                std::to_string(value) + " (expected finite numbers)");
    }
    return value;
}

} // namespace

PyRegion PyRegion::from(py::handle given) {
    PyRegion region;
    if (isRectangle(given)) {
        double corners[4];
        for (int at = 0; at < 4; ++at) {
            corners[at] = cornerAt(given, at);
        }
        region.rectangle = true;
        region.left = std::min(corners[0], corners[2]);
        region.right = std::max(corners[0], corners[2]);
        region.top = std::min(corners[1], corners[3]);
        region.bottom = std::max(corners[1], corners[3]);
        return region;
    }
    region.vertices = PyPositions::pairsIn(given, "region");
    if (region.vertices.size() < 6) {
        throw PyModuleError(PyModuleError::Kind::Value,
                            "region: a polygon of " + std::to_string(region.vertices.size() / 2) +
                                " vertices (expected a rectangle (x0, y0, x1, y1) or 3 or more "
                                "(x, y) vertices)");
    }
    return region;
}

// A ray from the point towards +x crosses the edges an odd number of times from inside.
bool PyRegion::contains(double x, double y) const noexcept {
    if (rectangle) {
        return left <= x && x <= right && top <= y && y <= bottom;
    }
    bool inside = false;
    const std::size_t count = vertices.size() / 2;
    for (std::size_t at = 0, before = count - 1; at < count; before = at++) {
        const double xi = vertices[2 * at];
        const double yi = vertices[2 * at + 1];
        const double xj = vertices[2 * before];
        const double yj = vertices[2 * before + 1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) {
            inside = !inside;
        }
    }
    return inside;
}

} // namespace VoPython
