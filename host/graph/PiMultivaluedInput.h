#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../../foundation/Vector.h"
#include "../VoHostExport.h"
#include "PiGraphObjectList.h"
#include "PiElementsWatcher.h"
#include "PiInput.h"

#include <string>
#include <vector>

namespace Vo {

/// An input holding a sequence of values, its elements: the points of a curve, the handles of a
/// gradient. Owns its elements; every element is made to the input's element kind, carries the
/// input's name and, for composite and structured elements, one plain input per component name.
/// Elements get fresh ids when they are made, so ids stay unique after insertions and removals.
/// Thread safety: as PiGraphObject.
class VO_HOST_API PiMultivaluedInput : public PiInput {
public:
    /// What one element is: a plain PiInput, a PiCompositeInput or a PiStructuredInput.
    enum class ElementKind { Plain, Composite, Structured };

    bool isMultivalued() const override;
    /// The number of elements.
    int getNbElements() const noexcept;
    /// The element at index (0-based); null when index is out of range.
    /// \param index the element's place, 0 .. getNbElements() - 1
    RCShdPtr<PiInput> getElement(int index) const;
    ///@{
    /// What each element is made as, and the names of its components.
    ElementKind getElementKind() const noexcept;
    const Vector<std::string> &getComponentNames() const noexcept;
    ///@}

    /// The element builders raise RCExNullPtr naming `Vo::PiNode*` when this input has left its
    /// node, or `Vo::PiGraph*` when its node has left the graph.
    /// Appends count new elements (none when count <= 0), reserving room once: linear in count.
    /// \param count the number of elements appended
    void appendElements(int count);
    /// A new element at index, in [0, getNbElements()]; null, adding nothing, when out of range.
    /// \param index the new element's place
    RCShdPtr<PiInput> insertElement(int index);
    /// Removes the element at index; false when out of range. The removed element, and whatever it
    /// holds, leaves the node: its getNode gives null from then on.
    /// \param index the element's place
    bool removeElement(int index) noexcept;
    ///@{
    /// Tells watcher, once, just before the elements next move (an insertion or a removal; an
    /// appending moves none). unwatchElements ends a watch that was not told yet; the watcher must
    /// do so before it goes.
    /// \param watcher the watcher, borrowed until it is told or unwatches
    void watchElements(PiElementsWatcher &watcher) const;
    void unwatchElements(PiElementsWatcher &watcher) const noexcept;
    ///@}

protected:
    friend class PiInputFactory;

    /// Made by its node, which owns it, with elements of `elementKind`.
    /// \param id the input's id, fresh from the graph
    /// \param name the input's name, which every element carries
    /// \param owner the node that owns the input, borrowed until it drops it
    /// \param elementKind what each element is made as
    /// \param componentNames the components of each composite or structured element, in order
    PiMultivaluedInput(int id, std::string name, PiNode *owner, ElementKind elementKind,
                       Vector<std::string> componentNames) noexcept;
    ~PiMultivaluedInput() noexcept override;
    void detachFromNode() noexcept override;
    void settleIndices() const noexcept override { elements.settle(); }

private:
    ElementKind elementKind;
    Vector<std::string> componentNames;
    PiGraphObjectList<PiInput> elements;
    mutable std::vector<PiElementsWatcher *> watchers; // told before the elements move

    void tellMoving() noexcept;
};

} // namespace Vo
