#pragma once

#include "PyEditor.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.Layer: one of the objects that own the editor's shapes, on its tool node: its live
// shapes in creation order, by name. Stays the layer it was made for when the active layer
// changes. Shares the editor.
class PyLayer {
public:
    PyLayer(std::shared_ptr<PyEditor> owner, std::size_t layer)
        : editor(std::move(owner)), layer(layer) {}

    static void bind(pybind11::module_ &module);

private:
    VoExample::AppLayerInterface &get() const { return editor->getLayerAt(layer); }
    pybind11::list shapes() const;
    // Whether the record is a live shape of this layer.
    bool holds(std::size_t record) const;

    std::shared_ptr<PyEditor> editor;
    std::size_t layer;
};

} // namespace VoPython
