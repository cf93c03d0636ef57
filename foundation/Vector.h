#pragma once

#include <vector>

namespace Vo {

/// The base library's vector: the standard vector under the framework's name.
template <class T> class Vector : public std::vector<T> {
public:
    using std::vector<T>::vector;
    Vector() = default;
};

} // namespace Vo
