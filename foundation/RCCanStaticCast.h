#pragma once

#include <type_traits>
#include <utility>

namespace Vo {

/// Whether static_cast<To>(From value) is well-formed: false for a downcast from a virtual base and
/// for a cross-cast, which only dynamic_cast can do.
template <class To, class From, class = void> struct RCCanStaticCast : std::false_type {};
template <class To, class From>
struct RCCanStaticCast<To, From, std::void_t<decltype(static_cast<To>(std::declval<From>()))>>
    : std::true_type {};

} // namespace Vo
