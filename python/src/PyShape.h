#pragma once

#include "PyEditor.h"

#include <pybind11/pybind11.h>

#include <cstddef>
#include <memory>

namespace VoPython {

// voshape.Shape: a handle on one shape an editor built, by its record, so that it reads the same
// before and after the shape is deleted (name and id stay; everything else raises ShapeGoneError).
// Shares the editor.
class PyShape {
public:
    PyShape(std::shared_ptr<PyEditor> owner, std::size_t index)
        : editor(std::move(owner)), record(index) {}

    PyEditor &getEditor() const noexcept { return *editor; }
    const std::shared_ptr<PyEditor> &getSharedEditor() const noexcept { return editor; }
    std::size_t getIndex() const noexcept { return record; }
    const PyEditor::Record &getRecord() const { return editor->getRecord(record); }
    // The live shape; ShapeGoneError once its editing side is deleted.
    VoExample::AppShapeInterface &live() const { return editor->live(record); }

    // The Python object for a record.
    static pybind11::object object(const std::shared_ptr<PyEditor> &editor, std::size_t record);
    // The record of what Python gave for a shape: a Shape of this editor, or a shape's name (of a
    // shape alive or deleted). Raises TypeError for anything else, ValueError for another editor's
    // shape, UnknownShapeError for a name no shape had.
    static std::size_t recordFrom(PyEditor &editor, pybind11::handle given);
    // The same, for a selector of that layer: raises ValueError for a shape of another layer,
    // whose editor the selector is not.
    static std::size_t recordIn(PyEditor &editor, pybind11::handle given, std::size_t layer);
    static void checkLayer(const PyEditor &editor, std::size_t record, std::size_t layer);
    // An iterator over a list of shapes or items; raises TypeError for a str or bytes, whose
    // characters would otherwise be taken for names.
    static pybind11::iterator iterate(pybind11::handle given, const char *what);

    static void bind(pybind11::module_ &module);

private:
    std::shared_ptr<PyEditor> editor;
    std::size_t record;
};

} // namespace VoPython
