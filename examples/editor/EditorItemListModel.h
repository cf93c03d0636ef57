#pragma once

#include "foundation/RCShdPtr.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <QAbstractListModel>
#include <QModelIndex>
#include <QVariant>

#include <cstdint>
#include <vector>

namespace VoEditor {

// The items of the application's selection as rows, in the session driver's words: the first
// maxListed items, then, when there are more, one row that counts the others. Follows a change by
// its splice, inserting and removing only the rows it touched, when the change starts from the
// revision the rows show; reads the selection again otherwise. Shares the items it lists and
// describes a row only when a view asks for it, so a view shows a long selection at the cost of
// the rows in sight. Editor's thread only.
class EditorItemListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // More items than this are counted, not listed: a person reads no more.
    static constexpr int maxListed = 1000;

    explicit EditorItemListModel(QObject *parent = nullptr);

    // Reads the selection again.
    void reset(const Vo::SnSelection &selection);
    // After a change of the selection; change null, of the whole list, or from another revision
    // than the rows show: read again.
    void follow(const Vo::SnSelection &selection, const Vo::SnSelectionChangeHint *change);
    // The graph changed: an input's place, and so its row's text, may have.
    void refreshTexts();

    // A row's text: the item in the session driver's words, and for a plain input (a point's x
    // or y, a handle's position) " = " and the value it holds.
    static QString describe(const Vo::SnItem &item);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    using Item = Vo::RCShdPtr<Vo::SnItem const>;

    // The splice itself, in steps after each of which every row shows what the views were told:
    // the removed items' rows out, the rows that the added items push past the limit out, the
    // added items' rows in, then the listed part and the count row set right.
    void splice(int position, int nbRemoved, const std::vector<Item> &added);
    void unlistRows(int first, int count);
    // Lists or unlists items from the end of the listed part, until it holds what it should.
    void fitListed();
    void fitCountRow();

    std::vector<Item> items;
    std::uint64_t revision = 0;
    // What the views were told: the items listed, whether the count row follows them, and the
    // number it shows.
    int listed = 0;
    bool counted = false;
    int unlisted = 0;
};

} // namespace VoEditor
