#include "EditorApplicationDock.h"

#include "AppLayerInterface.h"

#include "host/graph/PiGraphObject.h"

#include <QItemSelection>
#include <QItemSelectionModel>
#include <QLabel>
#include <QScopedValueRollback>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace VoEditor {

namespace {

QListView *listView(QAbstractItemModel *model, QAbstractItemView::SelectionMode mode,
                    QWidget *parent) {
    auto *view = new QListView(parent);
    view->setModel(model);
    view->setSelectionMode(mode);
    // One line of text a row: the view lays out its rows without asking each for its size.
    view->setUniformItemSizes(true);
    return view;
}

} // namespace

EditorApplicationDock::EditorApplicationDock(EditorDocument &editorDocument, QWidget *parent)
    : QDockWidget(tr("Application selection"), parent), document(editorDocument),
      objects(new EditorObjectListModel(this)), items(new EditorItemListModel(this)) {
    setObjectName(QStringLiteral("applicationSelection"));
    auto *content = new QWidget(this);
    objectView = listView(objects, QAbstractItemView::ExtendedSelection, content);
    itemView = listView(items, QAbstractItemView::NoSelection, content);
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(new QLabel(tr("Graph objects (select rows to select them):"), content));
    layout->addWidget(objectView, 1);
    layout->addWidget(new QLabel(tr("Items of the application's selection:"), content));
    layout->addWidget(itemView, 1);
    setWidget(content);
    connect(objectView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &EditorApplicationDock::writeSelection);
    connect(&document, &EditorDocument::applicationSelectionChanged, this,
            &EditorApplicationDock::followApplication);
    connect(&document, &EditorDocument::sceneReplaced, this, &EditorApplicationDock::reread);
    connect(&document, &EditorDocument::edited, this, &EditorApplicationDock::followEdit);
    reread();
}

Vo::SnSelection &EditorApplicationDock::applicationSelection() const {
    return *document.getSession().getController().getApplicationSelection();
}

void EditorApplicationDock::reread() {
    const QScopedValueRollback<bool> guard(refreshing, true);
    VoSession::Session &session = document.getSession();
    sceneShapes = session.getScene().getShapes().size();
    liveShapes = session.getController().getLayer().getNbShapes();
    objects->setNames(session.getGraphObjectNames());
    objects->recount(applicationSelection());
    items->reset(applicationSelection());
    selectCountedRows();
}

void EditorApplicationDock::followApplication(const Vo::SnSelectionChangeHint *change) {
    const QScopedValueRollback<bool> guard(refreshing, true);
    items->follow(applicationSelection(), change);
    std::vector<int> came;
    std::vector<int> left;
    if (!objects->follow(change, came, left)) {
        objects->recount(applicationSelection());
        selectCountedRows();
        return;
    }
    QItemSelectionModel &rows = *objectView->selectionModel();
    for (const int row : left) {
        rows.select(objects->index(row), QItemSelectionModel::Deselect);
    }
    for (const int row : came) {
        rows.select(objects->index(row), QItemSelectionModel::Select);
    }
}

void EditorApplicationDock::followEdit() {
    VoSession::Session &session = document.getSession();
    const std::size_t scene = session.getScene().getShapes().size();
    const int live = session.getController().getLayer().getNbShapes();
    if (scene != sceneShapes || live != liveShapes) {
        const QScopedValueRollback<bool> guard(refreshing, true);
        sceneShapes = scene;
        liveShapes = live;
        objects->setNames(session.getGraphObjectNames());
        selectCountedRows();
    }
    if (objects->getRevision() != applicationSelection().getRevision()) {
        followApplication(nullptr);
    }
    items->refreshTexts();
}

void EditorApplicationDock::selectCountedRows() {
    QItemSelection selected;
    for (int row = 0; row < objects->rowCount(); ++row) {
        if (!objects->isSelected(row)) {
            continue;
        }
        int last = row;
        while (last + 1 < objects->rowCount() && objects->isSelected(last + 1)) {
            ++last;
        }
        selected.select(objects->index(row), objects->index(last));
        row = last;
    }
    objectView->selectionModel()->select(selected, QItemSelectionModel::ClearAndSelect);
}

void EditorApplicationDock::writeSelection() {
    if (refreshing) {
        return;
    }
    QModelIndexList rows = objectView->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    std::vector<Vo::RCShdPtr<Vo::PiGraphObject const>> chosen;
    QStringList names;
    VoSession::Session &session = document.getSession();
    for (const QModelIndex &row : rows) {
        const std::string &name = objects->getName(row.row());
        names << QString::fromStdString(name);
        chosen.push_back(session.findGraphObject(name));
    }
    const QString label = names.isEmpty()
                              ? tr("application selects nothing")
                              : tr("application selects %1").arg(names.join(QStringLiteral(", ")));
    const std::uint64_t before = applicationSelection().getRevision();
    document.perform(label, [&] { session.selectInApplication(chosen); });
    if (applicationSelection().getRevision() == before) {
        // Nothing written (the same items, or a failure): the rows show the selection again.
        const QScopedValueRollback<bool> guard(refreshing, true);
        selectCountedRows();
    }
}

} // namespace VoEditor
