#pragma once

#include "../foundation/RCShdPtr.h"
#include "PiGraphObject.h"
#include "VoHostExport.h"

#include <string>

namespace Vo {

class PiNode;

// An input of a node: a plain value, or the base of the structured, composite and multi-valued
// inputs. Inputs are made only by their containers (a node, or another input), which own them; an
// input refers to its node by the plain owner pointer of PiGraphObject.
// Thread safety: as PiGraphObject.
class VO_HOST_API PiInput : public PiGraphObject {
public:
    // The node that owns the input; null once the input has left it (a removed element, or an input
    // that outlived its node).
    RCShdPtr<PiNode> getNode() const;
    // True when the input holds several values; such an input is a PiMultivaluedInput.
    virtual bool isMultivalued() const;

protected:
    friend class PiInputFactory;

    PiInput(int id, std::string name, PiNode *owner) noexcept;
    ~PiInput() noexcept override;
};

} // namespace Vo
