#pragma once

#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <QAbstractListModel>
#include <QModelIndex>
#include <QVariant>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace VoEditor {

// The application's graph objects as rows, by name (the live shapes' objects, then the graph's
// nodes), with, for each object, how many items of the application's selection name it. A change
// is followed by the items it added and removed, so that only the rows of objects that came into
// the selection or left it need selecting or deselecting. Editor's thread only.
class EditorObjectListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit EditorObjectListModel(QObject *parent = nullptr);

    // Makes the rows these names, in order: rows of names that stay are kept, the others leave,
    // and new names come in at their places.
    void setNames(const std::vector<std::string> &names);
    // Counts the selection's items again.
    void recount(const Vo::SnSelection &selection);
    // Follows a change of the selection: the rows whose objects came into it and left it. False,
    // and nothing to rely on until the next recount, for a change of the whole list, a null one,
    // or one from another revision than the counts'.
    bool follow(const Vo::SnSelectionChangeHint *change, std::vector<int> &came,
                std::vector<int> &left);
    std::uint64_t getRevision() const noexcept { return revision; }

    // Whether the row's object is in the selection.
    bool isSelected(int row) const;
    const std::string &getName(int row) const { return names[static_cast<std::size_t>(row)]; }
    // The row of that name; -1 when there is none.
    int findRow(const std::string &name) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    // The object's count changed by step; gives its row when it came (left), -1 otherwise.
    int count(const std::string &name, int step);
    // Removes (inserts) the run of rows from first to last, both included.
    void removeRun(int first, int last);
    void insertRun(int at, const std::vector<std::string> &run);

    std::vector<std::string> names;
    std::unordered_map<std::string, int> rowOf;
    std::unordered_map<std::string, int> counts;
    std::uint64_t revision = 0;
};

} // namespace VoEditor
