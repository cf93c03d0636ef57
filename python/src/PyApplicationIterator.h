#pragma once

#include "PyEditor.h"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>

namespace VoPython {

// An iterator over the application's selection that makes each voshape.Item as it is reached,
// never the whole list; it raises RuntimeError should the selection change while it walks.
// Shares the editor.
class PyApplicationIterator {
public:
    explicit PyApplicationIterator(std::shared_ptr<PyEditor> owner);

    // The next item; StopIteration at the end.
    pybind11::object next();

    static void bind(pybind11::module_ &module);

private:
    std::shared_ptr<PyEditor> editor;
    int place = 0;
    std::uint64_t revision;
};

} // namespace VoPython
