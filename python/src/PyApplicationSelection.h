#pragma once

#include "PyEditor.h"

#include "foundation/RCShdPtr.h"
#include "host/selection/SnItem.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.ApplicationSelection: the application's global selection (the composition graph's), read
// as voshape.Item values and written as another view of the application writes it: items by the
// graph object's name, by shape, or as read, the whole list compared before it is written. The
// updater mirrors each write into the editor. Shares the editor.
class PyApplicationSelection {
public:
    explicit PyApplicationSelection(std::shared_ptr<PyEditor> owner) : editor(std::move(owner)) {}

    static void bind(pybind11::module_ &module);

private:
    Vo::SnSelection &selection() const { return editor->getApplicationSelection(); }
    // The selection for a write, which the editor's thread rule may refuse (PyEditor::checkThread).
    Vo::SnSelection &writable() const {
        editor->checkThread();
        return selection();
    }
    // The item for what Python gave: an Item of this editor, a live Shape, or the name of a live
    // shape or a node.
    Vo::RCShdPtr<Vo::SnItem const> itemFrom(pybind11::handle given) const;
    pybind11::list items() const;
    // A Python index (negative from the end) as a place in [0, count + extra).
    int placeOf(int index, int extra, const char *what) const;
    void replace(pybind11::handle objects);

    std::shared_ptr<PyEditor> editor;
};

} // namespace VoPython
