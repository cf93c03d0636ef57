#pragma once

#include "../base/CbEmptyType.h"
#include "CbHandler.h"
#include "VoFoundationExport.h"

#include <functional>
#include <type_traits>
#include <utility>

namespace Vo {

/// A handler that forwards each call to a callable it owns: a lambda, a function object or a
/// std::function taking `const T &`, or, for a list without value (T = CbEmptyType), taking
/// nothing. Whatever the callable captures by reference must outlive the calls; the handler
/// unsubscribes itself when destroyed, so a handler kept beside the captured objects is safe. Not
/// thread-safe, as every handler.
template <class T> class VO_FOUNDATION_API CbFunction : public CbHandler<T> {
public:
    /// The callable's type: called with each value sent.
    using Function = std::function<void(const T &)>;

    /// Without a callable: calls do nothing.
    CbFunction() noexcept = default;
    /// Forwards each call to a callable.
    /// \param callable called with each value sent, or with nothing when it takes no argument;
    /// kept by value
    template <class F, class = std::enable_if_t<std::is_invocable_v<F &, const T &> ||
                                                std::is_invocable_v<F &>>>
    explicit CbFunction(F callable) : function(wrap(std::move(callable))) {}

    using CbHandler<T>::call;
    /// Does nothing without a callable; what the callable raises passes to the dispatcher's caller.
    /// \param value the value sent, handed to the callable
    void call(const T &value) override {
        if (function) {
            function(value);
        }
    }

private:
    template <class F> static Function wrap(F callable) {
        if constexpr (std::is_invocable_v<F &, const T &>) {
            return Function(std::move(callable));
        } else {
            return [callable = std::move(callable)](const T &) mutable { callable(); };
        }
    }

    Function function;
};

} // namespace Vo
