#pragma once

#include <pybind11/pybind11.h>

namespace VoPython {

// voshape.Editor: a PyEditor shared with Python, built empty, from a scene string or from a scene
// file, with its shapes, its edits (graph first, then the library) and the ways into its
// selector, application selection, history, batches and shape events. Holds nothing itself.
class PyEditorBinding {
public:
    PyEditorBinding() = delete;

    static void bind(pybind11::module_ &module);
};

} // namespace VoPython
