#pragma once

#include <utility>

namespace Vo {

// Gives a variable a value for the length of a scope and puts the earlier value back when the scope
// ends, also on an exception. Private to the library.
template <class T> class SeScopedValue {
public:
    SeScopedValue(T &target, T value) : target(target), saved(std::move(target)) {
        target = std::move(value);
    }
    SeScopedValue(const SeScopedValue &) = delete;
    SeScopedValue &operator=(const SeScopedValue &) = delete;
    ~SeScopedValue() { target = std::move(saved); }

private:
    T &target;
    T saved;
};

} // namespace Vo
