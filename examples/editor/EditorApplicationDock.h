#pragma once

#include "EditorDocument.h"
#include "EditorItemListModel.h"
#include "EditorObjectListModel.h"

#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <QDockWidget>
#include <QListView>

#include <cstddef>

namespace VoEditor {

// The application's side of the selection, as another view of the application shows it. Its
// object rows (the shapes' graph objects, then the graph's nodes) are selected for the objects in
// the application's selection, and selecting rows writes the application's selection, whose
// change the updater mirrors into the editor. Below them, every item of the application's selection
// as the updater keeps it: the editor's node, graph objects, inputs with the nodes of their path.
// Each change of the application's selection moves only the rows it touched: item rows in and
// out at the change's place, object rows selected or deselected as their objects come and go; a
// change of the whole list is read in full. Owns its models; borrows the document.
class EditorApplicationDock : public QDockWidget {
    Q_OBJECT
public:
    explicit EditorApplicationDock(EditorDocument &document, QWidget *parent = nullptr);

    QListView &getObjectList() noexcept { return *objectView; }
    QListView &getItemList() noexcept { return *itemView; }
    const EditorObjectListModel &getObjectModel() const noexcept { return *objects; }
    const EditorItemListModel &getItemModel() const noexcept { return *items; }

private:
    Vo::SnSelection &applicationSelection() const;
    // A new scene: every row read again.
    void reread();
    void followApplication(const Vo::SnSelectionChangeHint *change);
    // After a gesture or command: object rows of shapes deleted or added, any change of the
    // application's selection not heard of, and the items' texts (an input's place may move).
    void followEdit();
    // Selects the rows of the objects in the selection, deselecting the others, in one call.
    void selectCountedRows();
    // The selected rows, in row order, become the application's selection.
    void writeSelection();

    EditorDocument &document;
    EditorObjectListModel *objects;
    EditorItemListModel *items;
    QListView *objectView;
    QListView *itemView;
    // The scene's size and live shapes when the object rows were read: shapes are only deleted,
    // which lowers the second, or added to the scene, which raises the first.
    std::size_t sceneShapes = 0;
    int liveShapes = 0;
    bool refreshing = false;
};

} // namespace VoEditor
