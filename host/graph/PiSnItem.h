#pragma once

#include <cstddef>

#include "../../foundation/RCShdPtr.h"
#include "../VoHostExport.h"
#include "../selection/SnItem.h"
#include "PiGraphObjectSnItemConst.h"
#include "PiInput.h"
#include "PiNode.h"
#include "PiPath.h"

#include <ostream>

namespace Vo {

/// Selection items of the composition graph, one class per kind of graph object.
template <class O> class PiSnItem;

/// The selection item of a node: a graph-object item whose object is known to be a node.
/// Thread safety: as SnItem.
template <> class VO_HOST_API PiSnItem<PiNode> : public PiGraphObjectSnItemConst {
public:
    /// node may be null: an item that stands for nothing.
    /// \param node the node, shared, or null
    explicit PiSnItem(const RCShdPtr<PiNode const> &node);

    /// The node the item names.
    RCShdPtr<PiNode const> getNode() const;
    PiSnItem *clone() const override;

protected:
    /// Items are copied by clone.
    /// \param other the item copied; the copy shares its node
    PiSnItem(const PiSnItem &other);
    ~PiSnItem() noexcept override;
};

/// The selection item of an input reached along a path of nodes (such as a curve point's component,
/// reached from its shape's node to a primary output). Holds the input and the path shared and
/// constant. Not a graph-object item, so node-predicate adapters never accept it. Two items are
/// equal when they stand for the same input (PiGraphObject::areEqual) along equal paths
/// (PiPath::areEqual: the same nodes in order, or both null).
/// Thread safety: as SnItem.
template <> class VO_HOST_API PiSnItem<PiInput> : public SnItem {
public:
    /// input and path may be null. An input passed as a temporary is taken over, not counted
    /// again: items made by the million then cost one count change each.
    /// \param input the input the item names, or null
    /// \param path the path from the input's node to the primary output, shared, or null
    static RCShdPtr<PiSnItem<PiInput>> create(RCShdPtr<PiInput> input,
                                              const RCShdPtr<PiPath> &path);

    /// Items come and go by the thousand: their blocks are kept for the next ones (FreeList).
    /// \param size the size of the item's class
    static void *operator new(std::size_t size);
    /// Gives an item's block back to the thread's list, or to the heap.
    /// \param block the block, from operator new
    /// \param size the size it was allocated with
    static void operator delete(void *block, std::size_t size) noexcept;

    ///@{
    /// The input the item names, and the path from its node to the primary output.
    RCShdPtr<PiInput const> getInput() const;
    RCShdPtr<PiPath const> getPath() const;
    ///@}

    PiSnItem *clone() const override;
    bool isEqualImp(const SnItem &other) const override;
    /// The parts line, then "Input:     " with the input's "name#id" and "Path:      " with the
    /// path's nodes (either may read "null"), each with a line end.
    /// \param out the stream written to
    void dump(std::ostream &out) const override;

protected:
    /// By value, moved in: each pointer is counted once more per item, not converted twice.
    /// \param input the input the item names, or null
    /// \param path the path from the input's node to the primary output, or null
    PiSnItem(RCShdPtr<PiInput const> input, RCShdPtr<PiPath const> path);
    /// Items are copied by clone.
    /// \param other the item copied; the copy shares its input and path
    PiSnItem(const PiSnItem &other);
    ~PiSnItem() noexcept override;

private:
    RCShdPtr<PiInput const> input;
    RCShdPtr<PiPath const> path;
};

} // namespace Vo
