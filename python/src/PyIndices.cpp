#include "PyIndices.h"

#include "PyModuleError.h"

#include "SessionText.h"

#include <pybind11/numpy.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace py = pybind11;

namespace VoPython {

namespace {

[[noreturn]] void outOfRange(const char *what, Py_ssize_t position, const std::string &value) {
    throw py::value_error(std::string(what) + ": element " + std::to_string(position) + " (" +
                          value + ") is outside the index range (" + std::to_string(INT_MIN) +
                          " to " + std::to_string(INT_MAX) + ")");
}

// Releases the buffer on every way out.
class BufferView {
public:
    explicit BufferView(PyObject *object) {
        if (PyObject_GetBuffer(object, &view, PyBUF_RECORDS_RO) != 0) {
            throw py::error_already_set();
        }
    }
    BufferView(const BufferView &) = delete;
    BufferView &operator=(const BufferView &) = delete;
    ~BufferView() { PyBuffer_Release(&view); }
    const Py_buffer &get() const noexcept { return view; }

private:
    Py_buffer view{};
};

// The element kind of a buffer's format: native byte order and an integer type only.
bool integerFormat(const char *format, bool &isSigned) {
    if (format == nullptr) {
        isSigned = false; // unsigned bytes, as the buffer protocol says
        return true;
    }
    std::string kind(format);
    const bool littleEndian = [] {
        const std::uint16_t probe = 1;
        unsigned char first = 0;
        std::memcpy(&first, &probe, 1);
        return first == 1;
    }();
    if (!kind.empty() && (kind[0] == '@' || kind[0] == '=' || (kind[0] == '<' && littleEndian) ||
                          (kind[0] == '>' && !littleEndian) || (kind[0] == '!' && !littleEndian))) {
        kind.erase(0, 1);
    }
    if (kind.size() != 1 || std::string("bBhHiIlLqQnN").find(kind[0]) == std::string::npos) {
        return false;
    }
    isSigned = kind[0] >= 'a' && kind[0] <= 'z'; // b h i l q n: signed
    return true;
}

template <class T> std::int64_t readAs(const char *at) {
    T value = 0;
    std::memcpy(&value, at, sizeof value);
    return static_cast<std::int64_t>(value);
}

std::int64_t readSigned(const char *at, Py_ssize_t size) {
    switch (size) {
    case 1:
        return readAs<std::int8_t>(at);
    case 2:
        return readAs<std::int16_t>(at);
    case 4:
        return readAs<std::int32_t>(at);
    default:
        return readAs<std::int64_t>(at);
    }
}

// An unsigned value above INT_MAX cannot be an index, whatever its size.
std::int64_t readUnsigned(const char *at, Py_ssize_t size, const char *what, Py_ssize_t position) {
    switch (size) {
    case 1:
        return readAs<std::uint8_t>(at);
    case 2:
        return readAs<std::uint16_t>(at);
    case 4:
        return readAs<std::uint32_t>(at);
    default: {
        std::uint64_t value = 0;
        std::memcpy(&value, at, sizeof value);
        if (value > static_cast<std::uint64_t>(INT_MAX)) {
            outOfRange(what, position, std::to_string(value));
        }
        return static_cast<std::int64_t>(value);
    }
    }
}

Vo::Vector<int> fromBuffer(PyObject *object, const char *what) {
    const BufferView buffer(object);
    const Py_buffer &view = buffer.get();
    bool isSigned = false;
    if (view.ndim != 1 || !integerFormat(view.format, isSigned) ||
        (view.itemsize != 1 && view.itemsize != 2 && view.itemsize != 4 && view.itemsize != 8)) {
        throw py::type_error(std::string(what) +
                             ": expected a one-dimensional buffer of integers in native byte "
                             "order, got format '" +
                             (view.format != nullptr ? view.format : "B") + "' with " +
                             std::to_string(view.ndim) + " dimensions");
    }
    const Py_ssize_t count = view.shape[0];
    const Py_ssize_t stride = view.strides != nullptr ? view.strides[0] : view.itemsize;
    Vo::Vector<int> indices;
    indices.reserve(static_cast<std::size_t>(count));
    const char *at = static_cast<const char *>(view.buf);
    for (Py_ssize_t position = 0; position < count; ++position, at += stride) {
        const std::int64_t value = isSigned ? readSigned(at, view.itemsize)
                                            : readUnsigned(at, view.itemsize, what, position);
        if (value < INT_MIN || value > INT_MAX) {
            outOfRange(what, position, std::to_string(value));
        }
        indices.push_back(static_cast<int>(value));
    }
    return indices;
}

Vo::Vector<int> fromIterable(PyObject *object, const char *what) {
    const py::object sequence = py::reinterpret_steal<py::object>(
        PySequence_Fast(object, (std::string(what) + ": expected integers").c_str()));
    if (!sequence) {
        throw py::error_already_set();
    }
    const Py_ssize_t count = PySequence_Fast_GET_SIZE(sequence.ptr());
    PyObject **items = PySequence_Fast_ITEMS(sequence.ptr());
    Vo::Vector<int> indices;
    indices.reserve(static_cast<std::size_t>(count));
    for (Py_ssize_t position = 0; position < count; ++position) {
        PyObject *index = PyNumber_Index(items[position]);
        if (index == nullptr) {
            PyErr_Clear();
            throw py::type_error(std::string(what) + ": element " + std::to_string(position) +
                                 " is a " + Py_TYPE(items[position])->tp_name + ", not an integer");
        }
        int overflow = 0;
        const long long value = PyLong_AsLongLongAndOverflow(index, &overflow);
        const py::object held = py::reinterpret_steal<py::object>(index);
        if (overflow != 0 || value < INT_MIN || value > INT_MAX) {
            outOfRange(what, position, py::str(held).cast<std::string>());
        }
        indices.push_back(static_cast<int>(value));
    }
    return indices;
}

// Python ints for the indices 0 .. intPoolSize - 1, each made the first time a list needs it and
// shared by every list made after, as the interpreter shares its small ints: a list of 10^5
// indices then costs 10^5 reference counts instead of 10^5 allocations (most of its time). At
// most 4 MB. Never released: the pool lives as long as the interpreter, and no static destructor
// may touch Python after it has finalised. Called under the GIL only.
constexpr int intPoolSize = 1 << 17;

PyObject *newInt(int index) {
    static std::vector<PyObject *> &pool = *new std::vector<PyObject *>();
    if (index < 0 || index >= intPoolSize) {
        PyObject *value = PyLong_FromLong(index);
        if (value == nullptr) {
            throw py::error_already_set();
        }
        return value;
    }
    if (pool.empty()) {
        pool.resize(intPoolSize, nullptr);
    }
    PyObject *&pooled = pool[static_cast<std::size_t>(index)];
    if (pooled == nullptr && (pooled = PyLong_FromLong(index)) == nullptr) {
        throw py::error_already_set();
    }
    Py_INCREF(pooled);
    return pooled;
}

template <class Indices> py::list listOf(const Indices &indices) {
    py::list list(indices.size());
    Py_ssize_t position = 0;
    for (const int index : indices) {
        PyList_SET_ITEM(list.ptr(), position++, newInt(index));
    }
    return list;
}

} // namespace

Vo::Vector<int> PyIndices::toVector(py::handle given, const char *what) {
    if (PyUnicode_Check(given.ptr())) {
        throw py::type_error(std::string(what) + ": expected integers, not a string");
    }
    if (PyObject_CheckBuffer(given.ptr())) {
        return fromBuffer(given.ptr(), what);
    }
    return fromIterable(given.ptr(), what);
}

void PyIndices::checkElements(const Vo::Vector<int> &indices, int count, const char *what,
                              const char *noun, const std::string &shape) {
    for (std::size_t position = 0; position < indices.size(); ++position) {
        const int index = indices[position];
        if (index < 0 || index >= count) {
            throw PyModuleError(PyModuleError::Kind::Index,
                                std::string(what) + ": element " + std::to_string(position) + " (" +
                                    std::to_string(index) + ") is not a " + noun + " of shape " +
                                    VoSession::SessionText::quote(shape) + " (expected " +
                                    (count == 0 ? std::string("none: it has no ") + noun
                                                : "0 to " + std::to_string(count - 1)) +
                                    ")");
        }
    }
}

py::list PyIndices::toList(const Vo::Vector<int> &indices) { return listOf(indices); }

py::list PyIndices::toList(const Vo::Set<int, std::less<int>> &indices) { return listOf(indices); }

py::object PyIndices::toArray(const Vo::Vector<int> &indices) {
    py::array_t<std::int32_t> array(static_cast<py::ssize_t>(indices.size()));
    if (!indices.empty()) {
        std::memcpy(array.mutable_data(), indices.data(), indices.size() * sizeof(std::int32_t));
    }
    return std::move(array);
}

} // namespace VoPython
