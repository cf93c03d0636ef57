#pragma once

#include "PyEditor.h"

#include "SeSelectionBatch.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.Batch: one scope of a selection batch (SeSelectionBatch) as a context manager: opened by
// `with`, committed at a normal end (its errors raised there), abandoned when an exception leaves
// it. Owns the scope; an open scope it still owns when Python lets it go ends as the library's
// destructor ends one. Shares the editor, which lists it while it is open.
class PyBatch {
public:
    explicit PyBatch(std::shared_ptr<PyEditor> owner) : editor(std::move(owner)) {}
    PyBatch(const PyBatch &) = delete;
    PyBatch &operator=(const PyBatch &) = delete;
    ~PyBatch();

    static void bind(pybind11::module_ &module);

private:
    void enter();
    bool exit(pybind11::handle type);
    void commit();
    void cancel();
    // Whether the scope was opened and has not ended, by commit() or by the editor's close().
    bool isOpen() const noexcept;
    // Raises InvalidCallError unless the scope is open: the library's cancel() and commit() have
    // no meaning once it ended.
    void checkOpen(const char *operation) const;

    std::shared_ptr<PyEditor> editor;
    std::unique_ptr<Vo::SeSelectionBatch> scope;
};

} // namespace VoPython
