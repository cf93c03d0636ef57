#pragma once

#include "AppEditorController.h"

#include <VoShape/SeSelectionHistory.h>
#include <VoShape/SeSelectorUpdater.h>
#include <VoShape/SeShapeSelector.h>

#include <VoShape/base/CbEmptyType.h>
#include <VoShape/foundation/CbFunction.h>
#include <VoShape/foundation/RCShdPtr.h>

#include <memory>
#include <string>
#include <vector>

namespace VoExample {

// The application's shape editor put together: its controller (which makes the selector), the
// selection updater made for that controller with the application's item predicate, the handlers
// it subscribes to the selector's three callback lists, and the undo history of the selection.
// Owns all of them; the updater is released before the controller it borrows, and the handlers
// leave their lists first. The history may go before or after the selector.
// Editor's thread only.
class AppShapeEditor {
public:
    AppShapeEditor();
    // The editor of a further layer in first's graph (see AppEditorController), sharing its
    // application selection.
    AppShapeEditor(const AppShapeEditor &first, const std::string &layerName);
    AppShapeEditor(const AppShapeEditor &) = delete;
    AppShapeEditor &operator=(const AppShapeEditor &) = delete;
    ~AppShapeEditor();

    AppEditorController &getController() noexcept { return controller; }
    const AppEditorController &getController() const noexcept { return controller; }
    Vo::SeShapeSelector &getSelector() const { return *selector; }
    const Vo::RCShdPtr<Vo::SeShapeSelector> &getSharedSelector() const noexcept { return selector; }
    // Records every net change of the editor's selection, for undo and redo.
    Vo::SeSelectionHistory &getHistory() noexcept { return history; }
    // Several layers: the editor becoming the active one writes its selection out again
    // (SeSelectorUpdater::republish); whether the application's selection shows it.
    void activate() { updater->republish(); }
    bool isPublished() const noexcept { return updater->isPublished(); }
    // The layer's name: its tool node's.
    std::string getLayerName() const { return controller.getLayer().getToolNode()->getName(); }
    // The names of these layers' editors, in order.
    static std::vector<std::string>
    layerNamesOf(const std::vector<std::unique_ptr<AppShapeEditor>> &editors);

    // The callback lists that ran since the last call, in the order they ran: "primary", "shapes",
    // "selection". A real editor refreshes its views in those handlers; this one records which ran.
    std::vector<std::string> takeCallbacks();

private:
    // The first layer's editor when first is null.
    AppShapeEditor(const AppShapeEditor *first, const std::string &layerName);
    void subscribe();

    AppEditorController controller;
    Vo::RCShdPtr<Vo::SeShapeSelector> selector;
    Vo::RCShdPtr<Vo::SeSelectorUpdater> updater;
    std::vector<std::string> callbacks;
    Vo::CbFunction<Vo::CbEmptyType> primaryHandler;
    Vo::CbFunction<Vo::CbEmptyType> shapesHandler;
    Vo::CbFunction<Vo::CbEmptyType> selectionHandler;
    Vo::SeSelectionHistory history;
};

} // namespace VoExample
