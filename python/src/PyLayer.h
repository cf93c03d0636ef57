#pragma once

#include "PyEditor.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.Layer: the object that owns the editor's shapes (the example application has one, on
// its tool node): its live shapes in creation order, by name. Shares the editor.
class PyLayer {
public:
    explicit PyLayer(std::shared_ptr<PyEditor> owner) : editor(std::move(owner)) {}

    static void bind(pybind11::module_ &module);

private:
    pybind11::list shapes() const;

    std::shared_ptr<PyEditor> editor;
};

} // namespace VoPython
