#pragma once

#include "PyEditor.h"

#include "SessionState.h"

#include "foundation/RCShdPtr.h"
#include "host/selection/SnItem.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.Item: one item of the application's selection as it was read: what it stands for (a
// node, a graph object, an input with its place and the nodes of its path) in the words of the
// session's transcript (SessionHostItems). Holds the library's item, so that it can be written
// back into the application's selection; shares the editor.
class PyApplicationItem {
public:
    PyApplicationItem(std::shared_ptr<PyEditor> owner, Vo::RCShdPtr<Vo::SnItem const> held);

    PyEditor &getEditor() const noexcept { return *editor; }
    const Vo::RCShdPtr<Vo::SnItem const> &getItem() const noexcept { return item; }
    // kind, name and, for an input, path: what JSON needs.
    pybind11::dict toDict() const;

    static void bind(pybind11::module_ &module);

private:
    pybind11::object shape() const;

    std::shared_ptr<PyEditor> editor;
    Vo::RCShdPtr<Vo::SnItem const> item;
    VoSession::SessionState::HostItem described;
};

} // namespace VoPython
