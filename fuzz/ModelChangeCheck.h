#pragma once

#include "ModelItem.h"
#include "SelectionScene.h"

#include "SeSelectionChange.h"
#include "SeShapeItem.h"
#include "SeShapeSelector.h"

#include "foundation/RCWeakAccessor.h"
#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace VoFuzz {

// Follows one selector's selection change by change, as a view would, from what the selector
// says each change was (getLastChange): the items it held before, with the change applied, must
// be the items after. A change may read as whole only when its write was of the whole list, and,
// while `strict` (the editor's own operation writes), only when it is larger than
// SeSelectionChange::getSmallLimit allows. Observes the selection after the selector's own
// observer, which describes the change; `failure` names the first difference.
class ModelChangeCheck : public Vo::ObObserver<Vo::Sn> {
public:
    explicit ModelChangeCheck(Vo::SeShapeSelector &watched) : selector(watched) {
        keep(SelectionScene::describe(*selector.getSelection()));
        selector.getSelection()->getSubject().attachObserver(this);
    }
    ~ModelChangeCheck() override { selector.getSelection()->getSubject().detachObserver(this); }
    ModelChangeCheck(const ModelChangeCheck &) = delete;
    ModelChangeCheck &operator=(const ModelChangeCheck &) = delete;

    void update(Vo::ObSubject<Vo::Sn> *, const Vo::ObHints &hints) override {
        for (const Vo::RCShdPtr<Vo::ObHint> &hint : hints.getContainer()) {
            if (const auto *change = dynamic_cast<const Vo::SnSelectionChangeHint *>(hint.get())) {
                follow(*change);
            }
        }
    }

    bool strict = false;
    std::string failure;

    // The places a change between these lists takes, found past the ends they share: the
    // difference of their middles when one is in the other, else both middles.
    static std::size_t placesBetween(const ModelItems &before, const ModelItems &after) {
        std::size_t head = 0;
        const std::size_t shorter = std::min(before.size(), after.size());
        while (head < shorter && before[head] == after[head]) {
            ++head;
        }
        std::size_t tail = 0;
        while (tail < shorter - head &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
            ++tail;
        }
        const ModelItems gone(before.begin() + head, before.end() - tail);
        const ModelItems come(after.begin() + head, after.end() - tail);
        const bool within =
            gone.size() >= come.size() ? isWithin(come, gone) : isWithin(gone, come);
        return within ? std::max(gone.size(), come.size()) - std::min(gone.size(), come.size())
                      : gone.size() + come.size();
    }

private:
    static bool isWithin(const ModelItems &part, const ModelItems &whole) {
        std::size_t next = 0;
        for (const ModelItem &item : whole) {
            next += next < part.size() && part[next] == item ? 1 : 0;
        }
        return next == part.size();
    }
    static std::string nameOf(const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape) {
        const Vo::RCWeakAccessor<Vo::SeShapeInterface> editing(shape);
        return editing.isNull() ? "(gone)" : editing->getShape()->getGraphObject()->getName();
    }
    static bool hasGone(const ModelItems &items) {
        return std::any_of(items.begin(), items.end(),
                           [](const ModelItem &item) { return item.shape == "(gone)"; });
    }
    void fail(const std::string &what) {
        if (failure.empty()) {
            failure = what;
        }
    }

    // The items as they are now, with the shapes they name: a shape may end before the next
    // change, and then reads as "(gone)" there, as in the selection.
    void keep(const ModelItems &items) {
        followed = items;
        shapes.clear();
        for (const Vo::RCShdPtr<Vo::SnItem const> &item : *selector.getSelection()) {
            shapes.push_back(dynamic_cast<const Vo::SeShapeItem &>(*item).getData());
        }
    }

    void follow(const Vo::SnSelectionChangeHint &hint) {
        for (std::size_t i = 0; i < followed.size(); ++i) {
            followed[i].shape = nameOf(shapes[i]);
        }
        const ModelItems after = SelectionScene::describe(*selector.getSelection());
        const Vo::SeSelectionChange &change = selector.getLastChange();
        if (change.getRevisionBefore() != hint.getRevisionBefore() ||
            change.getRevisionAfter() != hint.getRevisionAfter()) {
            fail("the last change names other revisions than the change notified");
        } else if (!change.isWhole()) {
            checkApplied(change, after);
        } else if (!hint.isWhole()) {
            fail("a splice reads as whole");
        } else if (strict && !selector.isRestoringAfterFault() && !hasGone(followed) &&
                   !hasGone(after) &&
                   placesBetween(followed, after) <=
                       Vo::SeSelectionChange::getSmallLimit(followed.size(), after.size())) {
            fail("a small change of the whole list reads as whole");
        }
        keep(after);
    }

    void checkApplied(const Vo::SeSelectionChange &change, const ModelItems &after) {
        ModelItems items = followed;
        const auto &removed = change.getPlacesRemoved();
        for (std::size_t i = removed.size(); i-- > 0;) {
            const auto place = static_cast<std::size_t>(removed[i]);
            if (place >= items.size() ||
                items[place].shape != nameOf(change.getShapesRemoved()[i])) {
                return fail("a removed place does not hold the removed shape");
            }
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(place));
        }
        if (change.isRenumbering()) { // the items kept; those that came are read as they are
            renumber(items, change);
        }
        const auto &added = change.getPlacesAdded();
        for (std::size_t i = 0; i < added.size(); ++i) {
            const auto place = static_cast<std::size_t>(added[i]);
            if (place > items.size() || place >= after.size() ||
                nameOf(change.getShapesAdded()[i]) != after[place].shape) {
                return fail("an added place does not hold the added shape after the change");
            }
            items.insert(items.begin() + static_cast<std::ptrdiff_t>(place), after[place]);
        }
        if (items.size() != after.size()) {
            return fail("the change applied leaves another number of items");
        }
        if (change.arePartsChanged() && !items.empty()) {
            if (change.arePartsRewritten()) {
                items.front() = after.front(); // read again, as the change says
            } else {
                applyIndices(items.front(), change);
                if (items.front().points != after.front().points ||
                    items.front().handles != after.front().handles) {
                    return fail("the primary's parts changed otherwise than the indices given");
                }
                items.front() = after.front();
            }
        }
        if (items != after) {
            fail("the change applied gives other items than the selection holds");
        }
    }

    static void renumber(ModelItems &items, const Vo::SeSelectionChange &change) {
        const std::string shape = nameOf(change.getRenumberedShape());
        for (ModelItem &item : items) {
            if (!item.whole && item.shape == shape) {
                std::vector<int> &side = item.side(change.areRenumberedPoints());
                side = ModelItem::renumbered(side, change.getRenumberedIndex(),
                                             change.isRenumberingInsertion());
            }
        }
    }
    static void applyIndices(ModelItem &item, const Vo::SeSelectionChange &change) {
        for (const bool points : {true, false}) {
            std::vector<int> &side = item.side(points);
            for (const int index :
                 points ? change.getPointsRemoved() : change.getHandlesRemoved()) {
                side.erase(std::remove(side.begin(), side.end(), index), side.end());
            }
            for (const int index : points ? change.getPointsAdded() : change.getHandlesAdded()) {
                ModelItem::appendOnce(side, index);
            }
        }
    }

    Vo::SeShapeSelector &selector;
    ModelItems followed;
    std::vector<Vo::RCWeakPtr<Vo::SeShapeInterface>> shapes;
};

} // namespace VoFuzz
