#pragma once

#include "../base/RCBase.h"
#include "VoHostExport.h"

namespace Vo {

/// One piece of news that a subject hands to its observers; the kind of news is the hint's class,
/// so observers pick the hints they understand by dynamic conversion. A plain ObHint says only that
/// something changed. Immutable once made.
/// Thread safety: the count is atomic, so a hint may be kept and released on any thread.
class VO_HOST_API ObHint : public RCBase<LkCounter<int>> {
public:
    ObHint() noexcept = default;
    ObHint &operator=(const ObHint &) = delete;

protected:
    /// Only the last release of the count destroys a hint.
    ~ObHint() noexcept override;
};

} // namespace Vo
