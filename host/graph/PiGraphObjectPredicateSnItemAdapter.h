#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../PrdPredicate.h"
#include "../PrdPredicateImp.h"
#include "../VoHostExport.h"
#include "../selection/SnItem.h"
#include "PiGraphObjectSnItemConst.h"
#include "PiNode.h"

#include <type_traits>

namespace Vo {

/// Turns a test of nodes of class N into a test of selection items: an item is accepted exactly
/// when it is a PiGraphObjectSnItemConst whose graph object is non-null and whose owner node, as an
/// N, satisfies the node test. The owner is given to the node test as null when the object has left
/// its node or its node is not an N. A null item is refused. Holds a copy of the node predicate.
/// Thread safety: the count may change on any thread; evaluate runs on the editor's thread.
template <class N>
class PiGraphObjectPredicateSnItemAdapter : public PrdPredicateImp<RCShdPtr<SnItem const>> {
public:
    /// Tests items by `predicate` on their graph object.
    /// \param predicate the node test, copied (its tests shared)
    explicit PiGraphObjectPredicateSnItemAdapter(const PrdPredicate<RCShdPtr<N const>> &predicate);

    /// Whether the item is a graph-object item whose object passes the predicate.
    /// \param item the item tested, or null (refused)
    bool evaluate(const RCShdPtr<SnItem const> &item) const override;

protected:
    ~PiGraphObjectPredicateSnItemAdapter() noexcept override;

private:
    PrdPredicate<RCShdPtr<N const>> nodePredicate;
};

template <class N>
PiGraphObjectPredicateSnItemAdapter<N>::PiGraphObjectPredicateSnItemAdapter(
    const PrdPredicate<RCShdPtr<N const>> &predicate)
    : nodePredicate(predicate) {}

template <class N>
PiGraphObjectPredicateSnItemAdapter<N>::~PiGraphObjectPredicateSnItemAdapter() noexcept = default;

template <class N>
bool PiGraphObjectPredicateSnItemAdapter<N>::evaluate(const RCShdPtr<SnItem const> &item) const {
    const auto *objectItem = rcFastCast<const PiGraphObjectSnItemConst>(item.get());
    if (objectItem == nullptr) {
        return false;
    }
    const RCShdPtr<PiGraphObject const> &object = objectItem->getGraphObject();
    if (object.isNull()) {
        return false;
    }
    if constexpr (std::is_convertible_v<PiNode *, N const *>) {
        // The owner handed over, not counted again: one count change an item.
        return nodePredicate.evaluate(RCShdPtr<N const>(object->getOwnerNode()));
    } else {
        return nodePredicate.evaluate(rcDynamicCastOrNull<N const>(object->getOwnerNode()));
    }
}

extern template class VO_HOST_API PiGraphObjectPredicateSnItemAdapter<PiNode>;

} // namespace Vo
