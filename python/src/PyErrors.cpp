#include "PyErrors.h"

#include "PyModuleError.h"

#include "SeExMissingElement.h"

#include "base/RCExCastFailed.h"
#include "base/RCExInvalidCall.h"
#include "base/RCExNullPtr.h"
#include "base/RCException.h"

#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace VoPython {

namespace {

// Never released (see the class comment).
PyObject *errorClass = nullptr;
PyObject *nullPointerClass = nullptr;
PyObject *missingElementClass = nullptr;
PyObject *invalidCallClass = nullptr;
PyObject *castFailedClass = nullptr;
PyObject *shapeGoneClass = nullptr;
PyObject *unknownShapeClass = nullptr;
PyObject *sceneClass = nullptr;

PyObject *newClass(py::module_ &module, const char *name, const char *doc,
                   std::vector<PyObject *> bases) {
    py::tuple baseTuple(bases.size());
    for (std::size_t index = 0; index < bases.size(); ++index) {
        baseTuple[index] = py::reinterpret_borrow<py::object>(bases[index]);
    }
    const std::string qualified = std::string("voshape.") + name;
    PyObject *made = PyErr_NewExceptionWithDoc(qualified.c_str(), doc, baseTuple.ptr(), nullptr);
    if (made == nullptr) {
        throw py::error_already_set();
    }
    module.add_object(name, py::reinterpret_borrow<py::object>(made));
    return made;
}

py::str text(const std::string &message) {
    // The library's messages are UTF-8; a stray byte is kept visible rather than refused.
    PyObject *decoded = PyUnicode_DecodeUTF8(
        message.data(), static_cast<Py_ssize_t>(message.size()), "backslashreplace");
    if (decoded == nullptr) {
        throw py::error_already_set();
    }
    return py::reinterpret_steal<py::str>(decoded);
}

// Sets the Python error to an instance of type with the message as its one argument and the given
// attributes.
void raise(PyObject *type, const std::string &message,
           std::vector<std::pair<const char *, py::object>> attributes = {}) {
    try {
        py::object instance = py::reinterpret_borrow<py::object>(type)(text(message));
        for (auto &[name, value] : attributes) {
            instance.attr(name) = std::move(value);
        }
        PyErr_SetObject(type, instance.ptr());
    } catch (py::error_already_set &error) {
        error.restore(); // making the exception failed (memory): that error is the one raised
    }
}

void raiseModuleError(const PyModuleError &error) {
    switch (error.getKind()) {
    case PyModuleError::Kind::ShapeGone:
        raise(shapeGoneClass, error.what());
        return;
    case PyModuleError::Kind::UnknownShape:
        raise(unknownShapeClass, error.what());
        return;
    case PyModuleError::Kind::Scene:
        raise(sceneClass, error.what());
        return;
    case PyModuleError::Kind::Index:
        raise(PyExc_IndexError, error.what());
        return;
    case PyModuleError::Kind::Value:
        raise(PyExc_ValueError, error.what());
        return;
    case PyModuleError::Kind::InvalidCall:
        raise(invalidCallClass, error.what());
        return;
    }
}

// Most derived first: each catch names the class the library raised.
void translate(std::exception_ptr raised) {
    try {
        std::rethrow_exception(raised);
    } catch (const Vo::SeExMissingElement &error) {
        const bool point = error.getPart() == Vo::SeExMissingElement::Part::Point;
        raise(missingElementClass, error.what(),
              {{"pointer_type", py::str(error.getPointerType())},
               {"part", py::str(point ? "point" : "handle")},
               {"index", py::int_(error.getIndex())},
               {"element_count", py::int_(error.getNbElements())}});
    } catch (const Vo::RCExNullPtr &error) {
        raise(nullPointerClass, error.what(), {{"pointer_type", py::str(error.getPointerType())}});
    } catch (const Vo::RCExInvalidCall &error) {
        raise(invalidCallClass, error.what());
    } catch (const Vo::RCExCastFailed &error) {
        raise(castFailedClass, error.what(),
              {{"actual_type", py::str(error.getActualType())},
               {"target_type", py::str(error.getTargetType())}});
    } catch (const Vo::RCException &error) {
        raise(errorClass, error.what());
    } catch (const PyModuleError &error) {
        raiseModuleError(error);
    }
}

} // namespace

void PyErrors::bind(py::module_ &module) {
    errorClass = newClass(module, "Error", "Base of every error of the library and of this module.",
                          {PyExc_Exception});
    nullPointerClass = newClass(
        module, "NullPointerError",
        "The library met a null pointer where it needs an object (a null or deleted shape where a "
        "shape is read). `pointer_type` names the pointer's type.",
        {errorClass});
    missingElementClass = newClass(
        module, "MissingElementError",
        "A selected point or handle index names no element of the single selected shape; both "
        "selections stay as they were. Attributes: part ('point' or 'handle'), index, "
        "element_count.",
        {nullPointerClass, PyExc_IndexError});
    invalidCallClass = newClass(
        module, "InvalidCallError",
        "An operation called where it has no meaning (undo while a batch is open, a batch ended "
        "twice, a place outside a selection).",
        {errorClass});
    castFailedClass = newClass(
        module, "CastFailedError",
        "An object is not of the class the library needs. Attributes: actual_type, target_type.",
        {errorClass, PyExc_TypeError});
    shapeGoneClass = newClass(module, "ShapeGoneError",
                              "The shape was deleted from the scene: only its name and id remain.",
                              {errorClass, PyExc_LookupError});
    unknownShapeClass = newClass(module, "UnknownShapeError",
                                 "No shape (or graph node, where one is accepted) has that name.",
                                 {errorClass, PyExc_LookupError});
    sceneClass = newClass(module, "SceneError",
                          "A scene, or a shape's name or counts, that cannot be built; the message "
                          "names the source and the line.",
                          {errorClass, PyExc_ValueError});
    py::register_exception_translator(&translate);
}

} // namespace VoPython
