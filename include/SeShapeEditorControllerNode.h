#pragma once

#include "VoShapeExport.h"

#include "base/LkCounter.h"
#include "base/RCBase.h"

namespace Vo {

/// Counted base of the application's editor-controller node class; the application gives it its
/// operations.
class VO_SHAPE_API SeShapeEditorControllerNode : public RCBase<LkCounter<int>> {
public:
    ~SeShapeEditorControllerNode() override;
};

} // namespace Vo
