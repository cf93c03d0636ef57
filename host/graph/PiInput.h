#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../VoHostExport.h"
#include "PiGraphObject.h"

#include <string>

namespace Vo {

class PiNode;

/// An input of a node: a plain value, or the base of the structured, composite and multi-valued
/// inputs. Inputs are made only by their containers (a node, or another input), which own them; an
/// input refers to its node by the plain owner pointer of PiGraphObject.
/// Thread safety: as PiGraphObject.
class VO_HOST_API PiInput : public PiGraphObject {
public:
    /// The node that owns the input; null once the input has left it (a removed element, or an
    /// input that outlived its node).
    RCShdPtr<PiNode> getNode() const;
    /// True when the input holds several values; such an input is a PiMultivaluedInput.
    virtual bool isMultivalued() const;
    /// The inputs this one is made of, in creation order: the components of a composite input, the
    /// sub-inputs of a structured one; none for any other input (a multi-valued input's elements
    /// are its getElement). Read in place, with no copy of the list: what walks of many inputs use.
    virtual int getNbSubInputs() const noexcept;
    /// Null when index is out of range.
    /// \param index the sub-input's place, 0 .. getNbSubInputs() - 1
    virtual RCShdPtr<PiInput> getSubInput(int index) const;
    /// The input that holds this one: the multi-valued input of an element, the composite or
    /// structured input of a component or sub-input. Null for an input of the node itself, and
    /// once the input has left its container or the container is gone.
    RCShdPtr<PiInput> getParentInput() const;
    /// The position among the parent's inputs (an element's index in its multi-valued input), or
    /// among the node's inputs for an input of the node; kept up to date as elements are inserted
    /// and removed. -1 once the input has left its container or the container is gone.
    int getIndex() const noexcept;
    /// The place under the node's input, names joined by '/', an element as its input's name with
    /// its index: "A.curve/Points[2]/x". Starts at the topmost input still reachable. O(depth).
    std::string getPlace() const;
    ///@{
    /// The number a plain input holds (a point's x or y, a handle's position); 0 until set. The
    /// graph keeps it and reports no change of it: whoever writes it tells its own views.
    double getValue() const noexcept { return value; }
    ///@}
    /// Sets the number the input holds; tells no one.
    /// \param newValue any number
    void setValue(double newValue) noexcept { value = newValue; }

protected:
    friend class PiInputFactory;
    /// The lists of inputs set and clear the place of what they hold.
    template <class T> friend class PiGraphObjectList;

    /// Made by its node, which owns it.
    /// \param id the input's id, fresh from the graph
    /// \param name the input's name
    /// \param owner the node that owns the input, borrowed until it drops it
    PiInput(int id, std::string name, PiNode *owner) noexcept;
    ~PiInput() noexcept override;
    /// A container brings the indices of the inputs it holds up to date; nothing by default.
    virtual void settleIndices() const noexcept;

private:
    PiInput *parent = nullptr; // cleared by the parent's list before the parent goes
    int index = -1;
    double value = 0;
};

} // namespace Vo
