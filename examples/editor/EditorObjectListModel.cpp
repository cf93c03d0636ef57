#include "EditorObjectListModel.h"

#include "foundation/RCShdPtr.h"
#include "host/graph/PiGraphObject.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/selection/SnItem.h"

#include <QString>

#include <algorithm>
#include <iterator>
#include <unordered_set>

namespace VoEditor {

namespace {

// The name of the graph object the item stands for; false for an item of another kind (an
// input) or an object that is gone.
bool nameOf(const Vo::SnItem &item, std::string &name) {
    const auto *object = dynamic_cast<const Vo::PiGraphObjectSnItemConst *>(&item);
    if (object == nullptr || object->getGraphObject().isNull()) {
        return false;
    }
    name = object->getGraphObject()->getName();
    return true;
}

} // namespace

EditorObjectListModel::EditorObjectListModel(QObject *parent) : QAbstractListModel(parent) {}

void EditorObjectListModel::setNames(const std::vector<std::string> &wanted) {
    if (wanted == names) {
        return;
    }
    // Runs of rows whose names went, from the last, so that the rows before keep their numbers.
    const std::unordered_set<std::string> kept(wanted.begin(), wanted.end());
    for (int last = static_cast<int>(names.size()) - 1; last >= 0; --last) {
        int first = last;
        while (first >= 0 && kept.count(names[static_cast<std::size_t>(first)]) == 0) {
            --first;
        }
        if (first < last) {
            removeRun(first + 1, last);
        }
        last = first;
    }
    // The rows left keep their order among the names wanted: runs of new names go in between,
    // each up to the next row left. Should the order have changed, rows come in again until the
    // names match, and the rows pushed past the end leave.
    for (std::size_t at = 0; at < wanted.size();) {
        if (at < names.size() && names[at] == wanted[at]) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < wanted.size() && (at >= names.size() || wanted[end] != names[at])) {
            ++end;
        }
        insertRun(static_cast<int>(at),
                  std::vector<std::string>(std::next(wanted.begin(), static_cast<long>(at)),
                                           std::next(wanted.begin(), static_cast<long>(end))));
        at = end;
    }
    if (names.size() > wanted.size()) {
        removeRun(static_cast<int>(wanted.size()), static_cast<int>(names.size()) - 1);
    }
    rowOf.clear();
    for (std::size_t row = 0; row < names.size(); ++row) {
        rowOf.emplace(names[row], static_cast<int>(row));
    }
}

void EditorObjectListModel::removeRun(int first, int last) {
    beginRemoveRows(QModelIndex(), first, last);
    names.erase(std::next(names.begin(), first), std::next(names.begin(), last + 1));
    endRemoveRows();
}

void EditorObjectListModel::insertRun(int at, const std::vector<std::string> &run) {
    beginInsertRows(QModelIndex(), at, at + static_cast<int>(run.size()) - 1);
    names.insert(std::next(names.begin(), at), run.begin(), run.end());
    endInsertRows();
}

void EditorObjectListModel::recount(const Vo::SnSelection &selection) {
    counts.clear();
    std::string name;
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : selection) {
        if (nameOf(*item, name)) {
            ++counts[name];
        }
    }
    revision = selection.getRevision();
}

bool EditorObjectListModel::follow(const Vo::SnSelectionChangeHint *change, std::vector<int> &came,
                                   std::vector<int> &left) {
    if (change == nullptr || change->isWhole() || change->getRevisionBefore() != revision) {
        return false;
    }
    std::string name;
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : change->getRemovedItems()) {
        if (!nameOf(*item, name)) {
            continue;
        }
        if (counts.count(name) == 0) {
            return false; // an item that was never counted
        }
        const int row = count(name, -1);
        if (row >= 0) {
            left.push_back(row);
        }
    }
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : change->getAddedItems()) {
        if (nameOf(*item, name)) {
            const int row = count(name, 1);
            if (row >= 0) {
                came.push_back(row);
            }
        }
    }
    revision = change->getRevisionAfter();
    return true;
}

int EditorObjectListModel::count(const std::string &name, int step) {
    int &counted = counts[name];
    counted += step;
    const bool crossed = step > 0 ? counted == 1 : counted == 0;
    if (counted == 0) {
        counts.erase(name);
    }
    return crossed ? findRow(name) : -1;
}

bool EditorObjectListModel::isSelected(int row) const {
    return counts.count(names[static_cast<std::size_t>(row)]) > 0;
}

int EditorObjectListModel::findRow(const std::string &name) const {
    const auto found = rowOf.find(name);
    return found == rowOf.end() ? -1 : found->second;
}

int EditorObjectListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names.size());
}

QVariant EditorObjectListModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return QVariant();
    }
    return QString::fromStdString(names[static_cast<std::size_t>(index.row())]);
}

} // namespace VoEditor
