#include "AppShapeEditor.h"

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
    callbacks.reserve(listsPerChange);
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

// The room is made before anything is taken, so that a handler recording one change's lists
// never allocates: a handler that raised would leave the change announced and standing.
std::vector<std::string> AppShapeEditor::takeCallbacks() {
    std::vector<std::string> ran;
    ran.reserve(listsPerChange);
    ran.swap(callbacks);
    return ran;
}

std::vector<std::string>
AppShapeEditor::layerNamesOf(const std::vector<std::unique_ptr<AppShapeEditor>> &editors) {
    std::vector<std::string> names;
    for (const std::unique_ptr<AppShapeEditor> &editor : editors) {
        names.push_back(editor->getLayerName());
    }
    return names;
}

} // namespace VoExample
