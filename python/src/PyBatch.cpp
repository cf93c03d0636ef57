#include "PyBatch.h"

#include "PyModuleError.h"

#include <string>

namespace py = pybind11;

namespace VoPython {

PyBatch::~PyBatch() {
    if (isOpen()) {
        editor->batchEnded(*scope);
    }
}

bool PyBatch::isOpen() const noexcept { return scope != nullptr && !scope->isEnded(); }

void PyBatch::checkOpen(const char *operation) const {
    if (!isOpen()) {
        throw PyModuleError(PyModuleError::Kind::InvalidCall,
                            std::string("cannot ") + operation + " a batch that " +
                                (scope == nullptr ? "was not entered" : "has ended"));
    }
}

void PyBatch::enter() {
    if (scope != nullptr) {
        throw PyModuleError(PyModuleError::Kind::InvalidCall,
                            "a batch is entered once; make a new one with Editor.batch()");
    }
    editor->checkThread();
    scope = std::make_unique<Vo::SeSelectionBatch>(editor->getSharedSelector());
    editor->batchOpened(*scope);
}

// No C++ exception is in flight when Python leaves the block with one, so the scope is cancelled
// explicitly: the outermost end then abandons the whole batch.
bool PyBatch::exit(py::handle type) {
    if (!isOpen()) {
        return false;
    }
    editor->checkThread();
    editor->batchEnded(*scope);
    if (!type.is_none()) {
        scope->cancel();
    }
    scope->commit();
    return false;
}

void PyBatch::commit() {
    checkOpen("commit");
    editor->checkThread();
    editor->batchEnded(*scope);
    scope->commit();
}

void PyBatch::cancel() {
    checkOpen("cancel");
    editor->checkThread();
    scope->cancel();
}

void PyBatch::bind(py::module_ &module) {
    py::class_<PyBatch>(
        module, "Batch",
        "A scope in which many changes of the editor's selection make one: use it as "
        "`with editor.batch():`. The outermost scope commits the net result once at its end (one "
        "write, one mirror, each callback list at most once) and raises what the commit raises; "
        "an exception leaving any scope, or cancel(), abandons the whole batch: both selections "
        "stay as at its start. Scopes nest.")
        .def(
            "__enter__",
            [](py::object self) {
                self.cast<PyBatch &>().enter();
                return self;
            },
            "Opens the batch scope.")
        .def(
            "__exit__",
            [](PyBatch &batch, py::handle type, py::handle, py::handle) {
                return batch.exit(type);
            },
            "Ends the scope: commits at the outermost end, abandons the batch when an exception "
            "leaves it.")
        .def("commit", &PyBatch::commit,
             "Ends this scope now; the outermost commits (see the class), raising its errors.")
        .def("cancel", &PyBatch::cancel, "Abandons the whole batch when its outermost scope ends.")
        .def_property_readonly("open", &PyBatch::isOpen,
                               "Whether the scope is entered and not ended.")
        .def_property_readonly(
            "outermost",
            [](const PyBatch &batch) {
                return batch.scope != nullptr && batch.scope->isOutermost();
            },
            "Whether this scope is the outermost one of its batch.")
        .def("__repr__", [](const PyBatch &batch) {
            return std::string("<voshape.Batch ") +
                   (batch.scope == nullptr ? "not entered"
                    : batch.isOpen()       ? "open"
                                           : "ended") +
                   ">";
        });
}

} // namespace VoPython
