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

// What one row of the argument is called in messages: a pair of x, y or a single value.
const char *rowNoun(int columns) { return columns == 1 ? "value" : "pair"; }

double finite(double value, const char *what, std::size_t row, int columns) {
    if (!std::isfinite(value)) {
        throw PyModuleError(PyModuleError::Kind::Value,
                            std::string(what) + ": " + rowNoun(columns) + " " +
                                std::to_string(row) + " holds " + std::to_string(value) +
                                " (expected finite numbers)");
    }
    return value;
}

bool doubleFormat(const char *format) {
    const std::string kind = format == nullptr ? "B" : format;
    return kind == "d" || kind == "@d" || kind == "=d" || kind == "<d";
}

// An (N, 2) buffer of native doubles for pairs, (N,) for single values, read through its
// strides; false for any other buffer.
bool fromDoubleBuffer(py::handle given, const char *what, int columns, std::vector<double> &xy) {
    Py_buffer view{};
    if (PyObject_GetBuffer(given.ptr(), &view, PyBUF_RECORDS_RO) != 0) {
        PyErr_Clear();
        return false;
    }
    const bool fits = (columns == 1 ? view.ndim == 1 : view.ndim == 2 && view.shape[1] == 2) &&
                      doubleFormat(view.format);
    try {
        if (fits) {
            const auto rows = static_cast<std::size_t>(view.shape[0]);
            xy.reserve(static_cast<std::size_t>(columns) * rows);
            const char *at = static_cast<const char *>(view.buf);
            for (std::size_t row = 0; row < rows; ++row, at += view.strides[0]) {
                for (int column = 0; column < columns; ++column) {
                    double value = 0;
                    std::memcpy(&value, at + (column == 0 ? 0 : view.strides[1]), sizeof value);
                    xy.push_back(finite(value, what, row, columns));
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

double realOf(PyObject *number, const std::string &element) {
    const double value = PyFloat_AsDouble(number);
    if (value == -1.0 && PyErr_Occurred() != nullptr) {
        PyErr_Clear();
        throw py::type_error(element + " holds a " + typeName(number) + ", not a real number");
    }
    return value;
}

void pairFromSequence(PyObject *pair, const std::string &element, const char *what, std::size_t row,
                      std::vector<double> &xy) {
    if (PyUnicode_Check(pair) || !PySequence_Check(pair) || PySequence_Size(pair) != 2) {
        PyErr_Clear();
        throw py::type_error(element + " is a " + typeName(pair) + ", not an (x, y) pair");
    }
    const py::object values = fast(pair, element + ": expected an (x, y) pair");
    for (Py_ssize_t column = 0; column < 2; ++column) {
        xy.push_back(
            finite(realOf(PySequence_Fast_GET_ITEM(values.ptr(), column), element), what, row, 2));
    }
}

// Rows of (x, y) pairs, or of single real numbers when columns is 1.
void fromSequence(py::handle given, const char *what, int columns, std::vector<double> &xy) {
    const py::object rows = fast(given, std::string(what) + ": expected " +
                                            (columns == 1 ? "real numbers" : "(x, y) pairs"));
    const Py_ssize_t count = PySequence_Fast_GET_SIZE(rows.ptr());
    xy.reserve(static_cast<std::size_t>(columns) * static_cast<std::size_t>(count));
    for (Py_ssize_t row = 0; row < count; ++row) {
        PyObject *given = PySequence_Fast_GET_ITEM(rows.ptr(), row);
        const auto at = static_cast<std::size_t>(row);
        const std::string element = std::string(what) + ": element " + std::to_string(row);
        if (columns == 1) {
            xy.push_back(finite(realOf(given, element), what, at, 1));
        } else {
            pairFromSequence(given, element, what, at, xy);
        }
    }
}

// The rows of given, checked: finite real numbers, columns of them a row.
std::vector<double> rowsIn(py::handle given, const char *what, int columns) {
    if (PyUnicode_Check(given.ptr()) || PyBytes_Check(given.ptr())) {
        throw py::type_error(std::string(what) + ": expected " +
                             (columns == 1 ? "real numbers" : "(x, y) pairs") + ", not a " +
                             typeName(given));
    }
    std::vector<double> xy;
    if (!PyObject_CheckBuffer(given.ptr()) || !fromDoubleBuffer(given, what, columns, xy)) {
        fromSequence(given, what, columns, xy);
    }
    return xy;
}

void checkPositioned(const VoExample::AppShapeInterface &shape) {
    if (shape.hasSingleValuedPoints()) {
        throw PyModuleError(PyModuleError::Kind::Value,
                            "shape " + VoSession::SessionText::quote(shape.getName()) +
                                " has a single-valued curve: its points have no positions");
    }
}

// As many rows as indices, each index an element of the shape: checked before anything is written.
void checkRows(const Vo::Vector<int> &where, std::size_t rows, int columns, int count,
               const std::string &call, const char *noun, const std::string &shape) {
    if (rows != where.size()) {
        throw PyModuleError(PyModuleError::Kind::Value,
                            call + ": " + std::to_string(where.size()) + " indices but " +
                                std::to_string(rows) + " " + rowNoun(columns) + "s (expected one " +
                                (columns == 1 ? "value" : "(x, y) pair") + " an index)");
    }
    PyIndices::checkElements(where, count, (call + " indices").c_str(), noun, shape);
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
    return rowsIn(given, what, 2);
}

void PyPositions::write(VoExample::AppShapeInterface &shape, py::handle indices, py::handle xy) {
    checkPositioned(shape);
    const Vo::Vector<int> where = PyIndices::toVector(indices, "set_positions indices");
    const std::vector<double> pairs = rowsIn(xy, "set_positions xy", 2);
    checkRows(where, pairs.size() / 2, 2, shape.getNbPoints(), "set_positions", "point",
              shape.getName());
    for (std::size_t at = 0; at < where.size(); ++at) {
        shape.setPoint(where[at], pairs[2 * at], pairs[2 * at + 1]);
    }
}

void PyPositions::writeHandles(VoExample::AppShapeInterface &shape, py::handle indices,
                               py::handle positions) {
    const Vo::Vector<int> where = PyIndices::toVector(indices, "set_handle_positions indices");
    const std::vector<double> places = rowsIn(positions, "set_handle_positions positions", 1);
    checkRows(where, places.size(), 1, shape.getNbHandles(), "set_handle_positions", "handle",
              shape.getName());
    for (std::size_t at = 0; at < where.size(); ++at) {
        shape.setHandle(where[at], places[at]);
    }
}

} // namespace VoPython
