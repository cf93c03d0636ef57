#pragma once

#include "../base/LkCounter.h"
#include "../base/RCBase.h"
#include "VoHostExport.h"

namespace Vo {

/// The application's curve geometry. The editing library only names the type of its shared point
/// container, so neither carries anything here.
class VO_HOST_API GeCurve {
public:
    /// The shared storage of a curve's points.
    /// Thread safety: the count may change on any thread.
    class VO_HOST_API Container : public RCBase<LkCounter<int>> {
    public:
        Container() noexcept;
        Container(const Container &) = delete;
        Container &operator=(const Container &) = delete;

    protected:
        ~Container() noexcept override;
    };
};

} // namespace Vo
