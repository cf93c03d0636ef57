#pragma once

#include "VoBaseExport.h"

#include <string>
#include <typeinfo>

namespace Vo {

/// Turns the platform's type names into readable C++ names ("Vo::SeShape const*").
class VO_BASE_API RCTypeName {
public:
    /// The readable form of a name as `std::type_info::name` spells it; the name itself when it
    /// cannot be demangled.
    /// \param mangledName the platform's name; null gives the empty string
    static std::string readable(const char *mangledName);
    /// The readable name of a type, or its platform's name when it cannot be demangled.
    /// \param type the type, as `typeid` gives it
    static std::string readable(const std::type_info &type) { return readable(type.name()); }
};

} // namespace Vo
