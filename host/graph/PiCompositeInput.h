#pragma once

#include "../../foundation/Iterator.h"
#include "../../foundation/RCShdPtr.h"
#include "../VoHostExport.h"
#include "PiGraphObjectList.h"
#include "PiInput.h"

#include <string>

namespace Vo {

/// One value made of named components, such as a curve point with its "x" and "y". Owns its
/// components, kept in creation order; made as an element of a multi-valued input.
/// Thread safety: as PiGraphObject.
class VO_HOST_API PiCompositeInput : public PiInput {
public:
    /// The components in creation order. The flags are the framework's lookup flags; every value
    /// gives the same components here.
    /// \param flags the lookup flags, any value
    Iterator<RCShdPtr<PiInput>> getInputs(int flags) const;
    /// The number of components.
    int getNbInputs() const noexcept;

    int getNbSubInputs() const noexcept override { return components.getSize(); }
    RCShdPtr<PiInput> getSubInput(int at) const override { return components.get(at); }

protected:
    friend class PiInputFactory;

    /// Made by its node (PiNode::addCompositeInput), which owns it.
    /// \param id the input's id, fresh from the graph
    /// \param name the input's name
    /// \param owner the node that owns the input, borrowed until it drops it
    PiCompositeInput(int id, std::string name, PiNode *owner) noexcept;
    ~PiCompositeInput() noexcept override;
    void detachFromNode() noexcept override;
    void settleIndices() const noexcept override { components.settle(); }

private:
    PiGraphObjectList<PiInput> components;
};

} // namespace Vo
