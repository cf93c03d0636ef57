#include "AppShapeEditor.h"

#include <utility>

namespace VoExample {

AppShapeEditor::AppShapeEditor() : AppShapeEditor(nullptr, std::string()) {}

AppShapeEditor::AppShapeEditor(const AppShapeEditor &first, const std::string &layerName)
    : AppShapeEditor(&first, layerName) {}

// The item test of the layer's own objects: with several layers on one graph, another layer's
// shapes in the application's selection are not this editor's business.
AppShapeEditor::AppShapeEditor(const AppShapeEditor *first, const std::string &layerName)
    : controller(first == nullptr ? AppEditorController()
                                  : AppEditorController(first->controller, layerName)),
      selector(controller.getShapeSelector()),
      updater(new Vo::SeSelectorUpdater(
          controller, Vo::SeSelectorUpdater::graphObjectsOf(controller.getLayer().getToolNode()))),
      primaryHandler([this] { callbacks.emplace_back("primary"); }),
      shapesHandler([this] { callbacks.emplace_back("shapes"); }),
      selectionHandler([this] { callbacks.emplace_back("selection"); }), history(selector) {
    subscribe();
}

// The updater calls the three lists in this order, each when its condition holds (see
// SeSelectorUpdater.h): a change of the application's selection never runs the shapes list.
void AppShapeEditor::subscribe() {
    selector->addPrimarySelectionChangedCallback(&primaryHandler);
    selector->addShapeSelectionChangedCallback(&shapesHandler);
    selector->addSelectionChangedCallback(&selectionHandler);
}

AppShapeEditor::~AppShapeEditor() = default;

std::vector<std::string> AppShapeEditor::takeCallbacks() { return std::exchange(callbacks, {}); }

std::vector<std::string>
AppShapeEditor::layerNamesOf(const std::vector<std::unique_ptr<AppShapeEditor>> &editors) {
    std::vector<std::string> names;
    for (const std::unique_ptr<AppShapeEditor> &editor : editors) {
        names.push_back(editor->getLayerName());
    }
    return names;
}

} // namespace VoExample
