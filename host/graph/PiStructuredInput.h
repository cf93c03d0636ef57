#pragma once

#include "../../foundation/Iterator.h"
#include "../../foundation/RCShdPtr.h"
#include "../../foundation/Vector.h"
#include "../VoHostExport.h"
#include "PiGraphObjectList.h"
#include "PiInput.h"
#include "PiMultivaluedInput.h"

#include <string>

namespace Vo {

/// An input made of named sub-inputs, such as a curve with its "Points"; sub-input names are unique
/// within it. Owns its sub-inputs, kept in creation order.
/// The flags arguments are the framework's lookup flags: this graph keeps no hidden or derived
/// inputs, so every flag value gives the same result.
/// Thread safety: as PiGraphObject.
class VO_HOST_API PiStructuredInput : public PiInput {
public:
    /// The sub-input of that name; null when there is none.
    /// \param name the sub-input's name
    /// \param flags the lookup flags, any value
    RCShdPtr<PiInput> getInput(const std::string &name, int flags) const;
    /// The sub-inputs in creation order, as they are now: later additions do not show.
    /// \param flags the lookup flags, any value
    Iterator<RCShdPtr<PiInput>> getInputs(int flags) const;
    /// The number of sub-inputs.
    int getNbInputs() const noexcept;

    /// Builder: adds a sub-input with fresh ids and gives it, or gives null, adding nothing,
    /// when the name is taken. Raise RCExNullPtr naming `Vo::PiNode*` when this input has left its
    /// node, or `Vo::PiGraph*` when its node has left the graph.
    /// \param name the new sub-input's name
    RCShdPtr<PiInput> addInput(const std::string &name);
    /// A multi-valued sub-input, built as addInput builds.
    /// \param name the new sub-input's name
    /// \param elementKind what each element is made as
    /// \param componentNames the components of each composite or structured element, in order
    RCShdPtr<PiMultivaluedInput> addMultivaluedInput(const std::string &name,
                                                     PiMultivaluedInput::ElementKind elementKind,
                                                     const Vector<std::string> &componentNames);

    int getNbSubInputs() const noexcept override { return inputs.getSize(); }
    RCShdPtr<PiInput> getSubInput(int at) const override { return inputs.get(at); }

protected:
    friend class PiInputFactory;

    /// Made by its node, which owns it.
    /// \param id the input's id, fresh from the graph
    /// \param name the input's name
    /// \param owner the node that owns the input, borrowed until it drops it
    PiStructuredInput(int id, std::string name, PiNode *owner) noexcept;
    ~PiStructuredInput() noexcept override;
    void detachFromNode() noexcept override;
    void settleIndices() const noexcept override { inputs.settle(); }

private:
    PiGraphObjectList<PiInput> inputs;
};

} // namespace Vo
