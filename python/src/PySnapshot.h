#pragma once

#include "PyEditor.h"

#include "SeSelectionSnapshot.h"

#include <pybind11/pybind11.h>

#include <memory>

namespace VoPython {

// voshape.SelectionSnapshot: an editor's whole selection kept aside as plain values
// (SeSelectionSnapshot), with its text form for files. Owns its values and holds no shape, so it
// outlives the editor it was taken from and may be restored into another with the same scene. A
// value: equal, hashed and pickled by its text form.
class PySnapshot {
public:
    explicit PySnapshot(Vo::SeSelectionSnapshot taken) : snapshot(std::move(taken)) {}

    // Puts the snapshot back into the editor's selector as one change; gives the descriptions of
    // the entries left out (skip) or raises InvalidCallError naming the first that no longer
    // resolves, having changed nothing.
    static pybind11::list restore(PyEditor &editor, const Vo::SeSelectionSnapshot &snapshot,
                                  bool skip);
    static void bind(pybind11::module_ &module);

    const Vo::SeSelectionSnapshot &get() const noexcept { return snapshot; }

private:
    Vo::SeSelectionSnapshot snapshot;
};

} // namespace VoPython
