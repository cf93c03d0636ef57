#pragma once

#include <list>

namespace Vo {

/// The base library's list: the standard list under the framework's name.
template <class T> class List : public std::list<T> {
public:
    using std::list<T>::list;
    List() = default;
};

} // namespace Vo
