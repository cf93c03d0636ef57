#pragma once

#include "PyEditor.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.History: the undo history of the selection of the active layer's editor, or of one
// layer's (SeSelectionHistory, kept by the example application's editor). Shares the editor.
class PyHistory {
public:
    explicit PyHistory(std::shared_ptr<PyEditor> owner, PyEditor::LayerChoice layer = {})
        : editor(std::move(owner)), layer(layer) {}

    static void bind(pybind11::module_ &module);

private:
    Vo::SeSelectionHistory &history() const {
        return editor->getApplication(layer).getHistory();
    }

    std::shared_ptr<PyEditor> editor;
    PyEditor::LayerChoice layer;
};

} // namespace VoPython
