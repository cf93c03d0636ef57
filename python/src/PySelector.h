#pragma once

#include "PyEditor.h"

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.Selector: the shape selector (SeShapeSelector) of the active layer's editor, or of one
// layer's, with Python arguments: shapes as voshape.Shape or names, index lists as any iterable or
// buffer of integers. Every operation is the library's, called once; reads inside a batch see its
// working selection. Shares the editor.
class PySelector {
public:
    explicit PySelector(std::shared_ptr<PyEditor> owner, PyEditor::LayerChoice layer = {})
        : editor(std::move(owner)), layer(layer) {}

    static void bind(pybind11::module_ &module);

private:
    Vo::SeShapeSelector &selector() const { return editor->getApplication(layer).getSelector(); }
    // The model side of what Python gave for a shape; deleted shapes included.
    Vo::RCShdPtr<Vo::SeShape> shapeFrom(pybind11::handle given) const;
    Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> shapesFrom(pybind11::handle given) const;
    // setShapeParts with None for a null set; both None keep (make) the shape whole.
    void setShapeParts(pybind11::handle shape, pybind11::handle points,
                       pybind11::handle handles) const;
    // The points (handles) of the live primary shape; 0 without one.
    int primaryCount(bool points) const;
    pybind11::object primary() const;
    pybind11::list shapes() const;
    pybind11::list items() const;

    std::shared_ptr<PyEditor> editor;
    PyEditor::LayerChoice layer;
};

} // namespace VoPython
