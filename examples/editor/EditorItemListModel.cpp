#include "EditorItemListModel.h"

#include "host/graph/PiInput.h"
#include "host/graph/PiSnItem.h"

#include "SessionHostItems.h"
#include "SessionTextPrinter.h"

#include <QString>

#include <algorithm>
#include <iterator>

namespace VoEditor {

EditorItemListModel::EditorItemListModel(QObject *parent) : QAbstractListModel(parent) {}

void EditorItemListModel::reset(const Vo::SnSelection &selection) {
    beginResetModel();
    items.assign(selection.begin(), selection.end());
    revision = selection.getRevision();
    listed = std::min(static_cast<int>(items.size()), maxListed);
    counted = static_cast<int>(items.size()) > maxListed;
    unlisted = static_cast<int>(items.size()) - listed;
    endResetModel();
}

void EditorItemListModel::follow(const Vo::SnSelection &selection,
                                 const Vo::SnSelectionChangeHint *change) {
    if (change == nullptr || change->isWhole() || change->getRevisionBefore() != revision) {
        reset(selection);
        return;
    }
    const int position = change->getPosition();
    const auto &removed = change->getRemovedItems();
    const auto &added = change->getAddedItems();
    const auto nbRemoved = static_cast<int>(removed.size());
    const bool joins =
        position <= static_cast<int>(items.size()) - nbRemoved &&
        static_cast<int>(items.size() - removed.size() + added.size()) == selection.getNbItems() &&
        std::equal(removed.begin(), removed.end(), std::next(items.begin(), position));
    if (!joins) {
        reset(selection);
        return;
    }
    splice(position, nbRemoved, std::vector<Item>(added.begin(), added.end()));
    revision = change->getRevisionAfter();
}

void EditorItemListModel::splice(int position, int nbRemoved, const std::vector<Item> &added) {
    const auto first = std::next(items.begin(), position);
    const int rowsOut = std::clamp(listed - position, 0, nbRemoved);
    if (rowsOut > 0) {
        beginRemoveRows(QModelIndex(), position, position + rowsOut - 1);
    }
    items.erase(first, std::next(first, nbRemoved));
    listed -= rowsOut;
    if (rowsOut > 0) {
        endRemoveRows();
    }
    // Added items are listed where they follow listed ones (or start the list) below the limit;
    // the listed rows they push to the limit or past it leave first.
    const auto nbAdded = static_cast<int>(added.size());
    const int rowsIn = position <= listed ? std::clamp(maxListed - position, 0, nbAdded) : 0;
    const int kept = std::max(position, maxListed - nbAdded);
    if (rowsIn > 0 && listed > kept) {
        unlistRows(kept, listed - kept);
    }
    if (rowsIn > 0) {
        beginInsertRows(QModelIndex(), position, position + rowsIn - 1);
    }
    items.insert(std::next(items.begin(), position), added.begin(), added.end());
    listed += rowsIn;
    if (rowsIn > 0) {
        endInsertRows();
    }
    fitListed();
    fitCountRow();
}

void EditorItemListModel::unlistRows(int first, int count) {
    beginRemoveRows(QModelIndex(), first, first + count - 1);
    listed -= count;
    endRemoveRows();
}

void EditorItemListModel::fitListed() {
    const int wanted = std::min(static_cast<int>(items.size()), maxListed);
    if (listed > wanted) {
        unlistRows(wanted, listed - wanted);
    } else if (listed < wanted) {
        beginInsertRows(QModelIndex(), listed, wanted - 1);
        listed = wanted;
        endInsertRows();
    }
}

void EditorItemListModel::fitCountRow() {
    const bool wanted = static_cast<int>(items.size()) > maxListed;
    const int others = static_cast<int>(items.size()) - listed;
    if (counted == wanted) {
        if (counted && others != unlisted) {
            unlisted = others;
            Q_EMIT dataChanged(index(listed), index(listed), {Qt::DisplayRole});
        }
        return;
    }
    unlisted = others;
    if (wanted) {
        beginInsertRows(QModelIndex(), listed, listed);
    } else {
        beginRemoveRows(QModelIndex(), listed, listed);
    }
    counted = wanted;
    if (wanted) {
        endInsertRows();
    } else {
        endRemoveRows();
    }
}

void EditorItemListModel::refreshTexts() {
    if (rowCount() > 0) {
        Q_EMIT dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole});
    }
}

int EditorItemListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : listed + (counted ? 1 : 0);
}

QVariant EditorItemListModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return QVariant();
    }
    if (index.row() == listed) {
        return tr("... and %1 more").arg(unlisted);
    }
    return describe(*items[static_cast<std::size_t>(index.row())]);
}

QString EditorItemListModel::describe(const Vo::SnItem &item) {
    const QString text = QString::fromStdString(
        VoSession::SessionTextPrinter::describe(VoSession::SessionHostItems::describe(item)));
    // A plain input (a point's x or y, a handle's position) shows the value it holds.
    const auto *input = dynamic_cast<const Vo::PiSnItem<Vo::PiInput> *>(&item);
    const Vo::RCShdPtr<Vo::PiInput const> held =
        input != nullptr ? input->getInput() : Vo::RCShdPtr<Vo::PiInput const>();
    if (held.isNull() || held->isMultivalued() || held->getNbSubInputs() > 0) {
        return text;
    }
    return tr("%1 = %2").arg(text).arg(held->getValue());
}

} // namespace VoEditor
