#pragma once

#include "../../base/LkCounter.h"
#include "../../base/RCBase.h"
#include "../../foundation/RCShdPtr.h"
#include "../VoHostExport.h"

#include <iosfwd>
#include <string>

namespace Vo {

class PiNode;
template <class T> class PiGraphObjectList;

/// An object of a composition graph: a node, an input of a node, or an object that a node owns
/// (such as the object that stands for a shape inside a tool node). Holds its name and its id,
/// unique within its graph. Refers to its owner node by a plain pointer that the node clears when
/// it drops the object or is destroyed itself, so an object that outlives its node reports no
/// owner. Thread safety: the count may change on any thread; the graph's structure stays on the
/// editor's thread, and the last release of a node must happen there too.
class VO_HOST_API PiGraphObject : public virtual RCBase<LkCounter<int>> {
public:
    PiGraphObject(const PiGraphObject &) = delete;
    PiGraphObject &operator=(const PiGraphObject &) = delete;

    ///@{
    /// Unique within the graph; ids are never reused, not even after an object is dropped.
    virtual int getId() const;
    virtual const std::string &getName() const;
    ///@}
    /// The node the object belongs to; a node is its own owner. Null once the object has left its
    /// node (an element removed from its input, or any object whose node is gone).
    virtual RCShdPtr<PiNode> getOwnerNode() const;
    /// The object as a node; null for every other graph object. What item tests ask per item,
    /// cheaper than a cast.
    virtual const PiNode *asNode() const noexcept;
    /// Writes "name#id", without line end.
    /// \param out the stream written to
    void dump(std::ostream &out) const;

    /// True when both stand for the same graph object. A graph object exists once, as one instance,
    /// so identity decides. Two nulls are equal; null and non-null are not.
    /// \param first, second the objects compared, or null
    static bool areEqual(const RCShdPtr<PiGraphObject const> &first,
                         const RCShdPtr<PiGraphObject const> &second) noexcept;

protected:
    /// Made by its node, which owns it.
    /// \param id the object's id, fresh from the graph
    /// \param name the object's name
    /// \param owner the node that owns the object, borrowed until it drops it; for a node, the node
    /// itself
    PiGraphObject(int id, std::string name, PiNode *owner) noexcept;
    ~PiGraphObject() noexcept override;

    /// Cuts the object off from its owner node; containers also cut off everything they hold.
    virtual void detachFromNode() noexcept;

private:
    ///@{
    /// Nodes create the plain objects they own; lists cut off the objects they drop.
    friend class PiNode;
    template <class T> friend class PiGraphObjectList;
    ///@}

    int id;
    std::string name;
    PiNode *ownerNode;
};

} // namespace Vo
