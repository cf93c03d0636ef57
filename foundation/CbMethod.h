#pragma once

#include "CbHandler.h"
#include "VoFoundationExport.h"

#include "../base/RCExUtil.h"

#include <typeinfo>

namespace Vo {

/// A handler that forwards each call to a member function of an object. It borrows the object,
/// which must outlive the calls; embedded in that object, it unsubscribes itself when the object
/// is destroyed. Not thread-safe, as every handler.
template <class Obj, class T> class VO_FOUNDATION_API CbMethod : public CbHandler<T> {
public:
    /// The member function called with each value sent.
    using Method = void (Obj::*)(const T &);

    /// Without a method: calls do nothing.
    CbMethod() noexcept = default;
    /// Forwards each call to `function` of `target`.
    /// \param target the object called, borrowed; null makes each call raise (see call)
    /// \param function the member function called, or null: calls then do nothing
    CbMethod(Obj *target, Method function) noexcept : object(target), method(function) {}

    using CbHandler<T>::call;
    /// Does nothing without a method. Raises RCExNullPtr naming Obj* when a method is set but the
    /// object is null.
    /// \param value the value sent, handed to the method
    void call(const T &value) override {
        if (method == nullptr) {
            return;
        }
        if (object == nullptr) {
            RCExUtil::throwExNullPtr(typeid(Obj *).name());
        }
        (object->*method)(value);
    }

private:
    Obj *object = nullptr;
    Method method = nullptr;
};

} // namespace Vo
