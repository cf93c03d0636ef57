#include "EditorSelectionBridge.h"

#include "host/ObHints.h"

namespace VoEditor {

EditorSelectionBridge::EditorSelectionBridge(const Vo::RCShdPtr<Vo::SeShapeSelector> &shapeSelector,
                                             const Vo::RCShdPtr<Vo::SnSelection> &selection)
    : selector(shapeSelector), applicationSelection(selection),
      primaryHandler(this, &EditorSelectionBridge::onPrimary),
      shapesHandler(this, &EditorSelectionBridge::onShapes),
      selectionHandler(this, &EditorSelectionBridge::onSelection) {
    selector->addPrimarySelectionChangedCallback(&primaryHandler);
    selector->addShapeSelectionChangedCallback(&shapesHandler);
    selector->addSelectionChangedCallback(&selectionHandler);
    applicationSelection->getSubject().attachObserver(this);
}

// The handlers unlink themselves from the selector's lists, and the observer base detaches from
// the application's selection, as members and bases are destroyed.
EditorSelectionBridge::~EditorSelectionBridge() = default;

void EditorSelectionBridge::update(Vo::ObSubject<Vo::Sn> *, const Vo::ObHints &hints) {
    // A selection tells each change with one hint of its own kind.
    for (const Vo::RCShdPtr<Vo::ObHint> &hint : hints.getContainer()) {
        if (const auto *change = dynamic_cast<const Vo::SnSelectionChangeHint *>(hint.get())) {
            Q_EMIT applicationSelectionChanged(change);
            return;
        }
    }
    Q_EMIT applicationSelectionChanged(nullptr);
}

} // namespace VoEditor
