#include "PyPositions.h"

#include "PyIndices.h"
#include "PyModuleError.h"

#include "SessionText.h"

#include <pybind11/numpy.h>

#include <cmath>
#include <cstring>
#include <string>

namespace py = pybind11;

namespace VoPython {

namespace {

// NumPy when it imports; the positions then come out as arrays.
bool haveNumpy() {
    try {
        py::module_::import("numpy");
        return true;
    } catch (py::error_already_set &) {
        return false;
    }
}

double finite(double value, const char *what, std::size_t row) {
    if (!std::isfinite(value)) {
        throw PyModuleError(PyModuleError::Kind::Value,
                            std::string(what) + ": pair " + std::to_string(row) + " holds " +
                                std::to_string(value) + " (expected finite numbers)");
    }
    return value;
}

bool doubleFormat(const char *format) {
    const std::string kind = format == nullptr ? "B" : format;
    return kind == "d" || kind == "@d" || kind == "=d" || kind == "<d";
}

// An (N, 2) buffer of native doubles, read through its strides; false for any other buffer.
bool fromDoubleBuffer(py::handle given, const char *what, std::vector<double> &xy) {
    Py_buffer view{};
    if (PyObject_GetBuffer(given.ptr(), &view, PyBUF_RECORDS_RO) != 0) {
        PyErr_Clear();
        return false;
    }
    const bool fits = view.ndim == 2 && view.shape[1] == 2 && doubleFormat(view.format);
    try {
        if (fits) {
            const auto rows = static_cast<std::size_t>(view.shape[0]);
            xy.reserve(2 * rows);
            const char *at = static_cast<const char *>(view.buf);
            for (std::size_t row = 0; row < rows; ++row, at += view.strides[0]) {
                for (int column = 0; column < 2; ++column) {
                    double value = 0;
                    std::memcpy(&value, at + column * view.strides[1], sizeof value);
                    xy.push_back(finite(value, what, row));
                }
            }
        }
    } catch (...) {
        PyBuffer_Release(&view);
        throw;
    }
    PyBuffer_Release(&view);
    return fits;
}

py::object fast(py::handle given, const std::string &message) {
    PyObject *sequence = PySequence_Fast(given.ptr(), message.c_str());
    if (sequence == nullptr) {
        throw py::error_already_set();
    }
    return py::reinterpret_steal<py::object>(sequence);
}

std::string typeName(py::handle object) { return Py_TYPE(object.ptr())->tp_name; }

void fromSequence(py::handle given, const char *what, std::vector<double> &xy) {
    const py::object rows = fast(given, std::string(what) + ": expected (x, y) pairs");
    const Py_ssize_t count = PySequence_Fast_GET_SIZE(rows.ptr());
    xy.reserve(2 * static_cast<std::size_t>(count));
    for (Py_ssize_t row = 0; row < count; ++row) {
        PyObject *pair = PySequence_Fast_GET_ITEM(rows.ptr(), row);
        const std::string element = std::string(what) + ": element " + std::to_string(row);
        if (PyUnicode_Check(pair) || !PySequence_Check(pair) || PySequence_Size(pair) != 2) {
            PyErr_Clear();
            throw py::type_error(element + " is a " + typeName(pair) + ", not an (x, y) pair");
        }
        const py::object values = fast(pair, element + ": expected an (x, y) pair");
        for (Py_ssize_t column = 0; column < 2; ++column) {
            PyObject *number = PySequence_Fast_GET_ITEM(values.ptr(), column);
            const double value = PyFloat_AsDouble(number);
            if (value == -1.0 && PyErr_Occurred() != nullptr) {
                PyErr_Clear();
                throw py::type_error(element + " holds a " + typeName(number) +
                                     ", not a real number");
            }
            xy.push_back(finite(value, what, static_cast<std::size_t>(row)));
        }
    }
}

void checkPositioned(const VoExample::AppShapeInterface &shape) {
    if (shape.hasSingleValuedPoints()) {
        throw PyModuleError(PyModuleError::Kind::Value,
                            "shape " + VoSession::SessionText::quote(shape.getName()) +
                                " has a single-valued curve: its points have no positions");
    }
}

} // namespace

std::vector<double> PyPositions::points(const VoExample::AppShapeInterface &shape) {
    checkPositioned(shape);
    const int count = shape.getNbPoints();
    std::vector<double> xy(2 * static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        const auto at = 2 * static_cast<std::size_t>(index);
        shape.getPoint(index, xy[at], xy[at + 1]);
    }
    return xy;
}

std::vector<double> PyPositions::handles(const VoExample::AppShapeInterface &shape) {
    std::vector<double> places(static_cast<std::size_t>(shape.getNbHandles()));
    for (std::size_t index = 0; index < places.size(); ++index) {
        places[index] = shape.getHandle(static_cast<int>(index));
    }
    return places;
}

py::object PyPositions::pairsOut(const std::vector<double> &xy) {
    const py::ssize_t rows = static_cast<py::ssize_t>(xy.size() / 2);
    if (!haveNumpy()) {
        py::list pairs(static_cast<std::size_t>(rows));
        for (py::ssize_t row = 0; row < rows; ++row) {
            const auto at = 2 * static_cast<std::size_t>(row);
            pairs[static_cast<std::size_t>(row)] = py::make_tuple(xy[at], xy[at + 1]);
        }
        return std::move(pairs);
    }
    py::array_t<double> array({rows, py::ssize_t{2}});
    if (!xy.empty()) {
        std::memcpy(array.mutable_data(), xy.data(), xy.size() * sizeof(double));
    }
    return std::move(array);
}

py::object PyPositions::valuesOut(const std::vector<double> &values) {
    if (!haveNumpy()) {
        py::list list(values.size());
        for (std::size_t at = 0; at < values.size(); ++at) {
            list[at] = py::float_(values[at]);
        }
        return std::move(list);
    }
    py::array_t<double> array(static_cast<py::ssize_t>(values.size()));
    if (!values.empty()) {
        std::memcpy(array.mutable_data(), values.data(), values.size() * sizeof(double));
    }
    return std::move(array);
}

std::vector<double> PyPositions::pairsIn(py::handle given, const char *what) {
    if (PyUnicode_Check(given.ptr()) || PyBytes_Check(given.ptr())) {
        throw py::type_error(std::string(what) + ": expected (x, y) pairs, not a " +
                             typeName(given));
    }
    std::vector<double> xy;
    if (!PyObject_CheckBuffer(given.ptr()) || !fromDoubleBuffer(given, what, xy)) {
        fromSequence(given, what, xy);
    }
    return xy;
}

void PyPositions::write(VoExample::AppShapeInterface &shape, py::handle indices, py::handle xy) {
    checkPositioned(shape);
    const Vo::Vector<int> where = PyIndices::toVector(indices, "set_positions indices");
    const std::vector<double> pairs = pairsIn(xy, "set_positions xy");
    if (pairs.size() != 2 * where.size()) {
        throw PyModuleError(PyModuleError::Kind::Value,
                            "set_positions: " + std::to_string(where.size()) + " indices but " +
                                std::to_string(pairs.size() / 2) +
                                " pairs (expected one (x, y) pair an index)");
    }
    PyIndices::checkElements(where, shape.getNbPoints(), "set_positions indices", "point",
                             shape.getName());
    for (std::size_t at = 0; at < where.size(); ++at) {
        shape.setPoint(where[at], pairs[2 * at], pairs[2 * at + 1]);
    }
}

} // namespace VoPython
