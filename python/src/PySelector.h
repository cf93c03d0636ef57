#pragma once

#include "PyEditor.h"

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"

#include <pybind11/pybind11.h>

#include <memory>
#include <string>

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
    // The selector for an operation that may change the selection, which the editor's thread
    // rule may refuse (PyEditor::checkThread).
    Vo::SeShapeSelector &changing() const {
        editor->checkThread();
        return selector();
    }
    // The layer whose editor this selector is, at the time of the call.
    std::size_t layerIndex() const { return layer ? *layer : editor->getActiveLayer(); }
    // The record and model side of what Python gave for a shape of this selector's layer;
    // deleted shapes included.
    std::size_t recordFrom(pybind11::handle given) const;
    Vo::RCShdPtr<Vo::SeShape> shapeFrom(pybind11::handle given) const;
    // Whether that is a shape of this selector's editor that it has selected; False for a shape
    // of another editor or layer.
    bool contains(pybind11::handle given) const;
    Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> shapesFrom(pybind11::handle given) const;
    // setShapeParts with None for a null set; both None keep (make) the shape whole. Raises
    // IndexError for an index the live shape lacks, whether or not it is selected alone.
    void setShapeParts(pybind11::handle shape, pybind11::handle points,
                       pybind11::handle handles) const;
    // Region selection, one change of the selection and one history step, the region tested in
    // one pass: the primary shape's points in the region (its whole point selection in `replace`
    // mode, added to it in `add`, taken out of it in `remove`, the shape whole when nothing stays
    // selected), or the shapes of the layer whose every point is in it (the selection's items).
    void selectPointsIn(pybind11::handle region, const std::string &mode) const;
    void selectShapesIn(pybind11::handle region, const std::string &mode) const;
    // The points (handles) of the live primary shape; 0 without one.
    int primaryCount(bool points) const;
    pybind11::object primary() const;
    pybind11::list shapes() const;
    pybind11::list items() const;

    std::shared_ptr<PyEditor> editor;
    PyEditor::LayerChoice layer;
};

} // namespace VoPython
