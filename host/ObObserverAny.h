#pragma once

#include "VoHostExport.h"

namespace Vo {

/// The common base of every observer, whatever the subject family it observes; lets an application
/// keep observers of several families together. Holds nothing. Not copyable.
class VO_HOST_API ObObserverAny {
public:
    ObObserverAny(const ObObserverAny &) = delete;
    ObObserverAny &operator=(const ObObserverAny &) = delete;
    virtual ~ObObserverAny() noexcept;

protected:
    ObObserverAny() noexcept = default;
};

} // namespace Vo
