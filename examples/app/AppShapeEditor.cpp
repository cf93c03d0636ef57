#include "AppShapeEditor.h"

#include "AppItemPredicate.h"

#include "host/PrdPredicateImp.h"
#include "host/SnItem.h"

#include <utility>

namespace VoExample {

using ItemPredicate = Vo::PrdPredicateImp<Vo::RCShdPtr<Vo::SnItem const>>;

AppShapeEditor::AppShapeEditor()
    : selector(controller.getShapeSelector()),
      updater(
          new Vo::SeSelectorUpdater(controller, Vo::RCShdPtr<ItemPredicate>(new AppItemPredicate))),
      primaryHandler(this, &AppShapeEditor::onPrimarySelectionChanged),
      shapesHandler(this, &AppShapeEditor::onShapeSelectionChanged),
      selectionHandler(this, &AppShapeEditor::onSelectionChanged), history(selector) {
    // The updater calls the three lists, in this order, after each change of either selection.
    selector->addPrimarySelectionChangedCallback(&primaryHandler);
    selector->addShapeSelectionChangedCallback(&shapesHandler);
    selector->addSelectionChangedCallback(&selectionHandler);
}

AppShapeEditor::~AppShapeEditor() = default;

std::vector<std::string> AppShapeEditor::takeCallbacks() { return std::exchange(callbacks, {}); }

void AppShapeEditor::onPrimarySelectionChanged(const Vo::CbEmptyType &) {
    callbacks.emplace_back("primary");
}

void AppShapeEditor::onShapeSelectionChanged(const Vo::CbEmptyType &) {
    callbacks.emplace_back("shapes");
}

void AppShapeEditor::onSelectionChanged(const Vo::CbEmptyType &) {
    callbacks.emplace_back("selection");
}

} // namespace VoExample
