#pragma once

#include "../base/CbEmptyType.h"
#include "PtrList.h"
#include "VoFoundationExport.h"

#include <type_traits>

namespace Vo {

template <class T> class VO_FOUNDATION_API CbDispatcher;

/// The receiving end of a callback list; a concrete handler does its work in `call(const T&)`.
/// It holds plain pointers to the dispatchers it is subscribed to and owns none of them; each of
/// them holds a plain pointer back. Whichever side is destroyed first unlinks itself from the
/// other, so that neither list keeps a dangling entry.
/// Not thread-safe: a handler and its dispatchers belong to one thread; nothing is locked.
template <class T> class VO_FOUNDATION_API CbHandler {
public:
    CbHandler(const CbHandler &) = delete;
    CbHandler &operator=(const CbHandler &) = delete;
    /// Unsubscribes from every dispatcher, as reset() does. Allowed during a call of any of them.
    virtual ~CbHandler() { reset(); }

    /// The handler's work, called by every dispatcher it is subscribed to. The base's own
    /// definition does nothing; it is there for derived handlers that forward to it.
    /// \param value the value the dispatcher was called with
    virtual void call(const T &value) = 0;

    /// The call without value. For T = CbEmptyType it calls call(const CbEmptyType&) with an
    /// empty value. For any other T it raises RCExInvalidCall (through
    /// CbEmptyType::NoArgCallBase::invalidNoArgCall) and runs nothing. A derived handler that
    /// overrides call(const T&) hides this overload unless it says `using CbHandler<T>::call;`.
    void call();

    /// Unsubscribes from every dispatcher, the last one subscribed to first; afterwards
    /// getNbDispatchers() is 0.
    void reset() noexcept;

    /// The number of lists this handler is on.
    int getNbDispatchers() const noexcept { return static_cast<int>(dispatchers.size()); }

protected:
    CbHandler() noexcept = default;

private:
    /// The dispatcher keeps both lists paired; nobody else touches this one.
    friend class CbDispatcher<T>;

    bool hasDispatcher(CbDispatcher<T> *dispatcher) const noexcept {
        return dispatchers.contains(dispatcher);
    }
    void addDispatcher(CbDispatcher<T> *dispatcher) {
        if (!hasDispatcher(dispatcher)) {
            dispatchers.push_back(dispatcher);
        }
    }
    void removeDispatcher(CbDispatcher<T> *dispatcher) noexcept { dispatchers.erase(dispatcher); }

    PtrList<CbDispatcher<T> *> dispatchers;
};

template <class T> void CbHandler<T>::call(const T &) {}

template <class T> void CbHandler<T>::call() {
    if constexpr (std::is_same_v<std::remove_cv_t<T>, CbEmptyType>) {
        call(CbEmptyType());
    } else {
        CbEmptyType::NoArgCallBase::invalidNoArgCall();
    }
}

template <class T> void CbHandler<T>::reset() noexcept {
    // From the back: removeHandler drops exactly the entry at i - 1, so the entries still to be
    // visited keep their indices.
    for (std::size_t i = dispatchers.size(); i > 0; --i) {
        dispatchers[i - 1]->removeHandler(this);
    }
    dispatchers.clear();
}

} // namespace Vo

// Last, because unsubscribing calls into the dispatcher: whoever uses a handler gets both.
#include "CbDispatcher.h"
