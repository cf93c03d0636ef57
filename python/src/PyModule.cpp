// The module voshape: every class registers itself, the errors first so that the others may
// raise them from the start.

#include "PyApplicationItem.h"
#include "PyApplicationIterator.h"
#include "PyApplicationSelection.h"
#include "PyBatch.h"
#include "PyEditorBinding.h"
#include "PyErrors.h"
#include "PyHistory.h"
#include "PyLayer.h"
#include "PyRenumbering.h"
#include "PySelectedItem.h"
#include "PySelectionChange.h"
#include "PySelector.h"
#include "PyShape.h"
#include "PyShapeEvent.h"
#include "PySnapshot.h"
#include "PySubscription.h"

#include <pybind11/pybind11.h>

PYBIND11_MODULE(_voshape, module) {
    module.doc() = "libVoshape, the shape editor's selection model, on its example application: "
                   "build a scene, select shapes, points and handles, keep the application's "
                   "selection in step, batch, undo and redo.";
    module.attr("__version__") = VOSHAPE_VERSION;
    VoPython::PyErrors::bind(module);
    VoPython::PyShape::bind(module);
    VoPython::PyLayer::bind(module);
    VoPython::PySubscription::bind(module);
    VoPython::PyShapeEvent::bind(module);
    VoPython::PyRenumbering::bind(module);
    VoPython::PySelectedItem::bind(module);
    VoPython::PySelectionChange::bind(module);
    VoPython::PySelector::bind(module);
    VoPython::PyApplicationItem::bind(module);
    VoPython::PyApplicationIterator::bind(module);
    VoPython::PyApplicationSelection::bind(module);
    VoPython::PyHistory::bind(module);
    VoPython::PySnapshot::bind(module);
    VoPython::PyBatch::bind(module);
    VoPython::PyEditorBinding::bind(module);
}
