#pragma once

#include <functional>
#include <set>

namespace Vo {

/// The base library's ordered set: the standard set under the framework's name.
template <class T, class Compare = std::less<T>> class Set : public std::set<T, Compare> {
public:
    using std::set<T, Compare>::set;
    Set() = default;
};

} // namespace Vo
