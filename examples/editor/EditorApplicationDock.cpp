#include "EditorApplicationDock.h"

#include "SessionHostItems.h"
#include "SessionTextPrinter.h"

#include "host/PiGraphObject.h"
#include "host/PiGraphObjectSnItemConst.h"
#include "host/SnItem.h"
#include "host/SnSelection.h"

#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include <set>
#include <string>
#include <vector>

namespace VoEditor {

namespace {

// More items than this are counted, not listed: a person reads no more.
const int maxListed = 1000;

} // namespace

EditorApplicationDock::EditorApplicationDock(EditorDocument &editorDocument, QWidget *parent)
    : QDockWidget(tr("Application selection"), parent), document(editorDocument) {
    setObjectName(QStringLiteral("applicationSelection"));
    auto *content = new QWidget(this);
    objects = new QListWidget(content);
    items = new QListWidget(content);
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(new QLabel(tr("Graph objects (select rows to select them):"), content));
    objects->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(objects, 1);
    layout->addWidget(new QLabel(tr("Items of the application's selection:"), content));
    items->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(items, 1);
    setWidget(content);
    connect(objects, &QListWidget::itemSelectionChanged, this,
            &EditorApplicationDock::writeSelection);
    connect(&document, &EditorDocument::applicationSelectionChanged, this,
            &EditorApplicationDock::refresh);
    connect(&document, &EditorDocument::sceneReplaced, this, &EditorApplicationDock::refresh);
    // A gesture or command may add or delete shapes without changing the selection.
    connect(&document, &EditorDocument::edited, this, [this] {
        refreshing = true;
        refreshObjectRows();
        selectRows();
        refreshing = false;
    });
    refresh();
}

void EditorApplicationDock::refreshObjectRows() {
    const std::vector<std::string> names = document.getSession().getGraphObjectNames();
    bool same = objects->count() == static_cast<int>(names.size());
    for (int row = 0; same && row < objects->count(); ++row) {
        same = objects->item(row)->text().toStdString() == names[static_cast<std::size_t>(row)];
    }
    if (!same) {
        objects->clear();
        for (const std::string &name : names) {
            objects->addItem(QString::fromStdString(name));
        }
    }
}

void EditorApplicationDock::refresh() {
    refreshing = true;
    refreshObjectRows();
    items->clear();
    const Vo::RCShdPtr<Vo::SnSelection> selection =
        document.getSession().getController().getApplicationSelection();
    int listed = 0;
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : *selection) {
        if (listed == maxListed) {
            items->addItem(tr("... and %1 more").arg(selection->getNbItems() - listed));
            break;
        }
        items->addItem(QString::fromStdString(
            VoSession::SessionTextPrinter::describe(VoSession::SessionHostItems::describe(*item))));
        ++listed;
    }
    selectRows();
    refreshing = false;
}

void EditorApplicationDock::selectRows() {
    std::set<std::string> selected;
    for (const Vo::RCShdPtr<Vo::SnItem const> &item :
         *document.getSession().getController().getApplicationSelection()) {
        const auto *object = dynamic_cast<const Vo::PiGraphObjectSnItemConst *>(item.get());
        if (object != nullptr && !object->getGraphObject().isNull()) {
            selected.insert(object->getGraphObject()->getName());
        }
    }
    for (int row = 0; row < objects->count(); ++row) {
        QListWidgetItem *rowItem = objects->item(row);
        rowItem->setSelected(selected.count(rowItem->text().toStdString()) > 0);
    }
}

void EditorApplicationDock::writeSelection() {
    if (refreshing) {
        return;
    }
    std::vector<Vo::RCShdPtr<Vo::PiGraphObject const>> chosen;
    QStringList names;
    for (int row = 0; row < objects->count(); ++row) {
        if (objects->item(row)->isSelected()) {
            names << objects->item(row)->text();
            chosen.push_back(
                document.getSession().findGraphObject(objects->item(row)->text().toStdString()));
        }
    }
    const QString label = names.isEmpty()
                              ? tr("application selects nothing")
                              : tr("application selects %1").arg(names.join(QStringLiteral(", ")));
    VoSession::Session &session = document.getSession();
    document.perform(label, [&] { session.selectInApplication(chosen); });
}

} // namespace VoEditor
