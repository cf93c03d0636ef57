#include "PySnapshot.h"

#include "AppShapeInterface.h"

#include <pybind11/stl.h>

#include <climits>
#include <cstdint>
#include <string>
#include <utility>

namespace py = pybind11;

namespace VoPython {

namespace {

using Snapshot = Vo::SeSelectionSnapshot;

// A shape's key is its graph object's id; a key this editor never built, or whose shape is
// deleted, resolves to nothing.
Snapshot::Resolver resolverOf(PyEditor &editor) {
    return [&editor](std::uint64_t key) {
        const std::size_t *record = key > static_cast<std::uint64_t>(INT_MAX)
                                        ? nullptr
                                        : editor.recordWithId(static_cast<int>(key));
        return record == nullptr || !editor.isAlive(*record) ? Vo::RCShdPtr<Vo::SeShape>()
                                                             : editor.getRecord(*record).model;
    };
}

py::object partsOf(const Snapshot::Entry &entry, const std::vector<int> &parts) {
    return entry.whole ? py::none() : py::cast(parts);
}

py::list entriesOf(const Snapshot &snapshot) {
    py::list entries;
    for (const Snapshot::Entry &entry : snapshot.getEntries()) {
        entries.append(
            py::make_tuple(entry.key, partsOf(entry, entry.points), partsOf(entry, entry.handles)));
    }
    return entries;
}

} // namespace

py::list PySnapshot::restore(PyEditor &editor, const Snapshot &snapshot, bool skip) {
    py::list skipped;
    for (const std::string &entry :
         snapshot.restore(editor.getSharedSelector(), resolverOf(editor),
                          skip ? Snapshot::Unresolved::skip : Snapshot::Unresolved::refuse,
                          &VoExample::AppShapeInterface::countElements)) {
        skipped.append(entry);
    }
    return skipped;
}

void PySnapshot::bind(py::module_ &module) {
    using P = PySnapshot;
    py::class_<P>(module, "SelectionSnapshot",
                  "An editor's whole selection kept aside (Editor.save_selection): shapes by key "
                  "(their graph object's id) in selection order, the first primary, each whole or "
                  "with its points and handles in selection order, and the picking state. Holds "
                  "no shape; its text form starts with 'voshape-selection 1'.")
        .def_static(
            "from_text", [](const std::string &text) { return P(Snapshot::fromText(text)); },
            py::arg("text"),
            "Reads the text form; InvalidCallError naming the line of a malformed text.")
        .def_property_readonly(
            "text", [](const P &p) { return p.snapshot.toText(); }, "The text form, for a file.")
        .def_property_readonly(
            "entries", [](const P &p) { return entriesOf(p.snapshot); },
            "(key, points, handles) for each shape in selection order; points and handles are "
            "None for a shape selected as a whole.")
        .def_property_readonly("picking",
                               [](const P &p) {
                                   return py::make_tuple(
                                       static_cast<int>(p.snapshot.getPickingType()),
                                       p.snapshot.getPickingIndex(),
                                       p.snapshot.getPickingExtremity());
                               })
        .def("__len__", [](const P &p) { return p.snapshot.getEntries().size(); })
        .def("__str__", [](const P &p) { return p.snapshot.toText(); })
        .def("__repr__", [](const P &p) {
            return "<voshape.SelectionSnapshot " + std::to_string(p.snapshot.getEntries().size()) +
                   " shapes>";
        });
}

} // namespace VoPython
