#pragma once

#include "PyEditor.h"

#include "SeSelectionChange.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.SelectionChange: a copy of the selector's description of its last change
// (SeShapeSelector::getLastChange), with its shapes as voshape.Shape. Shares the editor.
class PySelectionChange {
public:
    PySelectionChange(std::shared_ptr<PyEditor> owner, const Vo::SeSelectionChange &last)
        : editor(std::move(owner)), change(last) {}

    static void bind(pybind11::module_ &module);

private:
    pybind11::object shapeOf(const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape) const;
    pybind11::list shapesOf(const Vo::Vector<Vo::RCWeakPtr<Vo::SeShapeInterface>> &shapes) const;
    // The getter of a property, from the change's own getter.
    template <class Get> static auto value(Get get);
    template <class Get> static auto indices(Get get);
    template <class Get> static auto shape(Get get);
    template <class Get> static auto shapes(Get get);

    std::shared_ptr<PyEditor> editor;
    Vo::SeSelectionChange change;
};

} // namespace VoPython
