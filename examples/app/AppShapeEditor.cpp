#include "AppShapeEditor.h"

#include <utility>

namespace VoExample {

AppShapeEditor::AppShapeEditor()
    : selector(controller.getShapeSelector()),
      updater(new Vo::SeSelectorUpdater(controller, Vo::SeSelectorUpdater::graphObjectsNotNodes())),
      primaryHandler([this] { callbacks.emplace_back("primary"); }),
      shapesHandler([this] { callbacks.emplace_back("shapes"); }),
      selectionHandler([this] { callbacks.emplace_back("selection"); }), history(selector) {
    // The updater calls the three lists in this order, each when its condition holds (see
    // SeSelectorUpdater.h): a change of the application's selection never runs the shapes list.
    selector->addPrimarySelectionChangedCallback(&primaryHandler);
    selector->addShapeSelectionChangedCallback(&shapesHandler);
    selector->addSelectionChangedCallback(&selectionHandler);
}

AppShapeEditor::~AppShapeEditor() = default;

std::vector<std::string> AppShapeEditor::takeCallbacks() { return std::exchange(callbacks, {}); }

} // namespace VoExample
