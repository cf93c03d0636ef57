#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../VoHostExport.h"
#include "PiGraphObject.h"
#include "PiGraphObjectSnItemConst.h"
#include "PiNode.h"
#include "PiSnItem.h"

namespace Vo {

/// Makes the selection items that stand for graph objects.
class VO_HOST_API PiSnItemUtil {
public:
    PiSnItemUtil() = delete;

    /// The item of a node; node may be null.
    /// \param node the node, shared, or null
    static RCShdPtr<PiSnItem<PiNode>> create(const RCShdPtr<PiNode> &node);
    /// The item of any graph object, of the item class for the object's class: a PiSnItem<PiNode>
    /// for a node (equal to the one create makes), a plain PiGraphObjectSnItemConst otherwise,
    /// including for a null object.
    /// \param object the graph object, shared, or null
    static RCShdPtr<PiGraphObjectSnItemConst const>
    createFromBase(const RCShdPtr<PiGraphObject const> &object);
};

} // namespace Vo
