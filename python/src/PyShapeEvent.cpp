#include "PyShapeEvent.h"

#include "PyModuleError.h"
#include "PyShape.h"

#include "SeObject.h"

#include "host/graph/PiGraphObject.h"

#include <string>

namespace py = pybind11;

namespace VoPython {

using Vo::SeShapeEvent;

namespace {

const char *nameOf(PyShapeEvent::Kind kind) {
    switch (kind) {
    case PyShapeEvent::Kind::Added:
        return "added";
    case PyShapeEvent::Kind::Removed:
        return "removed";
    case PyShapeEvent::Kind::Moved:
        return "moved";
    case PyShapeEvent::Kind::Renamed:
        return "renamed";
    }
    return "";
}

py::object ownerName(const Vo::RCShdPtr<Vo::SeObject const> &owner) {
    if (owner.isNull() || owner->getGraphObject().isNull()) {
        return py::none();
    }
    return py::str(owner->getGraphObject()->getName());
}

py::object shapeOf(const std::shared_ptr<PyEditor> &editor,
                   const Vo::RCShdPtr<Vo::SeShape const> &shape) {
    return shape.isNull() ? py::object(py::none())
                          : PyShape::object(editor, editor->recordOf(*shape));
}

} // namespace

PyShapeEvent PyShapeEvent::from(const std::shared_ptr<PyEditor> &editor,
                                const SeShapeEvent &event) {
    PyShapeEvent converted;
    if (const auto *added = dynamic_cast<const SeShapeEvent::ShapeAdded *>(&event)) {
        converted.kind = Kind::Added;
        converted.shape = shapeOf(editor, added->getShape());
        converted.owner = ownerName(added->getOwner());
    } else if (const auto *removed = dynamic_cast<const SeShapeEvent::ShapeRemoved *>(&event)) {
        converted.kind = Kind::Removed;
        converted.shapeId = removed->getShapeId();
        const std::size_t *record = editor->recordWithId(converted.shapeId);
        converted.shape =
            record == nullptr ? py::object(py::none()) : PyShape::object(editor, *record);
        converted.owner = ownerName(removed->getOwner());
    } else if (const auto *moved = dynamic_cast<const SeShapeEvent::ShapeMoved *>(&event)) {
        converted.kind = Kind::Moved;
        converted.shape = shapeOf(editor, moved->getShape());
        converted.owner = ownerName(moved->getNewOwner());
    } else if (const auto *renamed = dynamic_cast<const SeShapeEvent::ShapeRenamed *>(&event)) {
        converted.kind = Kind::Renamed;
        converted.shape = shapeOf(editor, renamed->getShape());
        converted.owner = py::none();
    }
    if (converted.kind != Kind::Removed && !converted.shape.is_none()) {
        converted.shapeId = converted.shape.cast<const PyShape &>().getRecord().id;
    }
    return converted;
}

PySubscription PyShapeEvent::subscribe(const std::shared_ptr<PyEditor> &editor, Kind kind,
                                       py::object callable) {
    // The handler lives no longer than the editor: a plain pointer back is enough.
    PyEditor *owner = editor.get();
    const auto convert = [owner](const SeShapeEvent &event) {
        return py::make_tuple(from(owner->shared_from_this(), event));
    };
    const auto link = [owner, kind](Vo::CbHandler<SeShapeEvent const> *handler) {
        VoExample::AppEditorController &controller = owner->getController();
        switch (kind) {
        case Kind::Added:
            controller.addShapeEventCb(SeShapeEvent::ShapeAdded(), handler);
            return;
        case Kind::Removed:
            controller.addShapeEventCb(SeShapeEvent::ShapeRemoved(), handler);
            return;
        case Kind::Moved:
            controller.addShapeEventCb(SeShapeEvent::ShapeMoved(), handler);
            return;
        case Kind::Renamed:
            controller.addShapeEventCb(SeShapeEvent::ShapeRenamed(), handler);
            return;
        }
    };
    return PySubscription::subscribe<SeShapeEvent const>(editor, std::move(callable), convert, link,
                                                         std::string("shape ") + nameOf(kind));
}

void PyShapeEvent::send(PyEditor &editor, Kind kind, std::size_t record) {
    const Vo::RCShdPtr<Vo::SeShape> shape = editor.live(record).getShape();
    VoExample::AppEditorController &controller = editor.controllerOf(record);
    const Vo::RCShdPtr<Vo::SeObject> layer = controller.getLayer().getLayer();
    switch (kind) {
    case Kind::Moved:
        controller.sendShapeEvent(SeShapeEvent::ShapeMoved(shape, layer, layer));
        return;
    case Kind::Renamed:
        controller.sendShapeEvent(SeShapeEvent::ShapeRenamed(shape));
        return;
    case Kind::Added:
    case Kind::Removed:
        break;
    }
    throw PyModuleError(PyModuleError::Kind::Value,
                        std::string("the editor sends the ") + nameOf(kind) +
                            " events itself (add_shape, delete_shape, send_removal)");
}

void PyShapeEvent::bind(py::module_ &module) {
    py::class_<PyShapeEvent> event(module, "ShapeEvent",
                                   "A shape event as a handler of Editor.on_shape_event "
                                   "receives it.");
    py::enum_<Kind>(event, "Kind", "The four kinds of shape events.")
        .value("ADDED", Kind::Added)
        .value("REMOVED", Kind::Removed)
        .value("MOVED", Kind::Moved)
        .value("RENAMED", Kind::Renamed);
    event.def_readonly("kind", &PyShapeEvent::kind, "What happened to the shape (ShapeEvent.Kind).")
        .def_readonly("shape", &PyShapeEvent::shape,
                      "The shape; for a removal, the deleted one the id names (or None).")
        .def_readonly("shape_id", &PyShapeEvent::shapeId, "The id of the shape's graph object.")
        .def_readonly("owner", &PyShapeEvent::owner,
                      "The owner's name (the new owner for a move); None for a rename.")
        .def("__repr__", [](const PyShapeEvent &shapeEvent) {
            return std::string("<voshape.ShapeEvent ") + nameOf(shapeEvent.kind) + " " +
                   std::string(py::repr(shapeEvent.shape)) + ">";
        });
}

} // namespace VoPython
