#pragma once

#include "PyEditor.h"
#include "PySubscription.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.Renumbering: what the application reported to the selector, heard before the selection
// is renumbered (SeShapeSelector::Renumbering): an index inserted into or removed from the points
// or the handles of a shape. Plain values; the shape shares the editor.
class PyRenumbering {
public:
    // Subscribes the callable to the renumbering list of that layer's selector.
    static PySubscription subscribe(const std::shared_ptr<PyEditor> &editor,
                                    PyEditor::LayerChoice layer, pybind11::object callable);

    static void bind(pybind11::module_ &module);

private:
    pybind11::object shape;
    bool points = true;
    int index = 0;
    bool added = false;
};

} // namespace VoPython
