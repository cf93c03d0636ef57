#pragma once

#include "VoHostExport.h"

namespace Vo {

/// An entry of the package registry: something with a name that others can depend on.
class VO_HOST_API InVariableBase {
public:
    InVariableBase() = default;
    InVariableBase(const InVariableBase &) = delete;
    InVariableBase &operator=(const InVariableBase &) = delete;
    virtual ~InVariableBase();
};

} // namespace Vo
