#pragma once

#include "PyEditor.h"
#include "PySubscription.h"

#include "SeShapeEvent.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.ShapeEvent: one shape event as a handler receives it: its kind, the shape (for a removal
// the deleted shape, known by the id the event carries), the id and the owner's name. Plain
// values; the shape shares the editor.
class PyShapeEvent {
public:
    enum class Kind { Added, Removed, Moved, Renamed };

    // Subscribes the callable to the controller's list of that kind.
    static PySubscription subscribe(const std::shared_ptr<PyEditor> &editor, Kind kind,
                                    pybind11::object callable);
    // Sends a moved or renamed event for the shape (the layer as owner); raises ValueError for
    // the kinds the editor sends itself (added, removed).
    static void send(PyEditor &editor, Kind kind, std::size_t record);

    static void bind(pybind11::module_ &module);

private:
    static PyShapeEvent from(const std::shared_ptr<PyEditor> &editor,
                             const Vo::SeShapeEvent &event);

    Kind kind = Kind::Added;
    pybind11::object shape;
    int shapeId = -1;
    pybind11::object owner;
};

} // namespace VoPython
