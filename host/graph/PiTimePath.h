#pragma once

#include "../../base/LkCounter.h"
#include "../../base/RCBase.h"
#include "../VoHostExport.h"

namespace Vo {

/// A position in the application's nested time lines. The editing library only names the type (a
/// shape's link visibility may depend on it), so it carries nothing here.
/// Thread safety: the count may change on any thread.
class VO_HOST_API PiTimePath : public RCBase<LkCounter<int>> {
public:
    PiTimePath() noexcept;
    PiTimePath(const PiTimePath &) = delete;
    PiTimePath &operator=(const PiTimePath &) = delete;

protected:
    ~PiTimePath() noexcept override;
};

} // namespace Vo
