#pragma once

#include "SeShapeSelector.h"

#include "base/CbEmptyType.h"
#include "foundation/CbMethod.h"
#include "foundation/RCShdPtr.h"
#include "host/ObObserver.h"
#include "host/selection/Sn.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <QObject>

namespace VoEditor {

// Where the library meets Qt's event loop: handlers on the selector's three callback lists and an
// observer of the application's selection, each turned into a Qt signal that views connect to.
// The library calls them synchronously, on the editor's thread, once a change is complete; views
// only schedule a repaint or follow the change, never write a selection from inside them. Views
// read what changed in the editor's selection from the selector (getLastChange); the application's
// selection hands its change over with the signal. Subscribes on
// construction and leaves on destruction; shares the selector and the application's selection,
// which therefore stay valid for as long as it is subscribed to them. Editor's thread only.
class EditorSelectionBridge : public QObject, private Vo::ObObserver<Vo::Sn> {
    Q_OBJECT
public:
    EditorSelectionBridge(const Vo::RCShdPtr<Vo::SeShapeSelector> &selector,
                          const Vo::RCShdPtr<Vo::SnSelection> &applicationSelection);
    ~EditorSelectionBridge() override;

Q_SIGNALS:
    // The three lists, in the order the updater calls them after a change.
    void primarySelectionChanged();
    void shapeSelectionChanged();
    void selectionChanged();
    // The application's selection changed, whoever wrote it (the updater or another view): change
    // says how, and is valid only while the signal is delivered; null when the selection told no
    // splice, which reads as a change of the whole list.
    void applicationSelectionChanged(const Vo::SnSelectionChangeHint *change);

private:
    void onPrimary(const Vo::CbEmptyType &) { Q_EMIT primarySelectionChanged(); }
    void onShapes(const Vo::CbEmptyType &) { Q_EMIT shapeSelectionChanged(); }
    void onSelection(const Vo::CbEmptyType &) { Q_EMIT selectionChanged(); }
    void update(Vo::ObSubject<Vo::Sn> *subject, const Vo::ObHints &hints) override;

    Vo::RCShdPtr<Vo::SeShapeSelector> selector;
    Vo::RCShdPtr<Vo::SnSelection> applicationSelection;
    Vo::CbMethod<EditorSelectionBridge, Vo::CbEmptyType> primaryHandler;
    Vo::CbMethod<EditorSelectionBridge, Vo::CbEmptyType> shapesHandler;
    Vo::CbMethod<EditorSelectionBridge, Vo::CbEmptyType> selectionHandler;
};

} // namespace VoEditor
