#pragma once

#include "PyEditor.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.History: the editor's undo history of its selection (SeSelectionHistory, kept by the
// example application's editor). Shares the editor.
class PyHistory {
public:
    explicit PyHistory(std::shared_ptr<PyEditor> owner) : editor(std::move(owner)) {}

    static void bind(pybind11::module_ &module);

private:
    Vo::SeSelectionHistory &history() const { return editor->getApplication().getHistory(); }

    std::shared_ptr<PyEditor> editor;
};

} // namespace VoPython
