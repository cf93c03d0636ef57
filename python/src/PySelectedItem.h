#pragma once

#include "PyEditor.h"

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnItem.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.SelectedItem: one item of the editor's selection as it was read: its shape, whether it
// is the primary item, and its selected points and handles (none when the shape is selected as a
// whole). Holds the library's item itself, so that a selector can be given it back
// (replace_all_items, restore) as it was; shares the editor.
class PySelectedItem {
public:
    PySelectedItem(std::shared_ptr<PyEditor> owner, Vo::RCShdPtr<Vo::SnItem const> selected,
                   bool isPrimary)
        : editor(std::move(owner)), item(std::move(selected)), primary(isPrimary) {}

    PyEditor &getEditor() const noexcept { return *editor; }
    const Vo::RCShdPtr<Vo::SnItem const> &getItem() const noexcept { return item; }

    // The items of a selection, the first one primary.
    static pybind11::list itemsOf(const std::shared_ptr<PyEditor> &editor,
                                  const Vo::SnSelection &selection);
    // The library's items for what Python gave: SelectedItem objects, shapes or names (selected
    // as wholes), or (shape, points, handles) tuples whose points and handles are index lists or
    // None (both None: the shape as a whole; empty lists: parts that hold no index), each of a
    // shape of that layer (ValueError otherwise).
    static Vo::Vector<Vo::RCShdPtr<Vo::SnItem const>>
    itemsFrom(PyEditor &editor, pybind11::handle given, std::size_t layer);

    static void bind(pybind11::module_ &module);

private:
    std::shared_ptr<PyEditor> editor;
    Vo::RCShdPtr<Vo::SnItem const> item;
    bool primary;
};

} // namespace VoPython
