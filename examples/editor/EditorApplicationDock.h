#pragma once

#include "EditorDocument.h"

#include <QDockWidget>
#include <QListWidget>

namespace VoEditor {

// The application's side of the selection, as another view of the application shows it. Its
// object rows (the shapes' graph objects, then the graph's nodes) are selected for the objects in
// the application's selection, and selecting rows writes the application's selection, whose
// change the updater mirrors into the editor. Below them, every item of the application's selection
// as the updater keeps it: the editor's node, graph objects, inputs with the nodes of their path.
// Borrows the document.
class EditorApplicationDock : public QDockWidget {
    Q_OBJECT
public:
    explicit EditorApplicationDock(EditorDocument &document, QWidget *parent = nullptr);

    QListWidget &getObjectList() noexcept { return *objects; }
    QListWidget &getItemList() noexcept { return *items; }

private:
    // Rereads the application's selection into both lists, writing nothing.
    void refresh();
    void refreshObjectRows();
    // Selects the rows of the objects in the application's selection.
    void selectRows();
    // The selected rows, in row order, become the application's selection.
    void writeSelection();

    EditorDocument &document;
    QListWidget *objects;
    QListWidget *items;
    bool refreshing = false;
};

} // namespace VoEditor
