#pragma once

#include "../foundation/PtrMap.h"
#include "ObObserver.h"
#include "VoHostExport.h"

#include <cstddef>
#include <exception>
#include <vector>

namespace Vo {

class ObHints;

/// The observable side of an object of family S: a list of borrowed observers, called in the order
/// they were attached. Observers may attach and detach observers, themselves included, while they
/// are being notified: a detached observer whose turn has not come is not called, and an observer
/// attached during a notification is first called by the next one. The subject itself must outlive
/// the notify call (SnSelection keeps itself alive for it). Not copyable; destroying the subject
/// detaches every observer still attached.
/// Cost: attaching, detaching and isAttached are O(1) on average (a hash index from observer to
/// place; a detached observer leaves an empty place, and the places are packed again once no
/// notification runs and empty ones outnumber the observers); notify is O(N).
/// Thread safety: none; a subject and its observers stay on one thread.
template <class S> class ObSubject {
public:
    ObSubject() noexcept = default;
    ObSubject(const ObSubject &) = delete;
    ObSubject &operator=(const ObSubject &) = delete;
    ~ObSubject() noexcept;

    /// Adds observer at the end of the list and tells it through attachedTo. False, and nothing
    /// done, when observer is null or already attached.
    /// \param observer the observer, borrowed: it detaches itself when destroyed
    bool attachObserver(ObObserver<S> *observer);
    /// Removes observer and tells it through detachedFrom. False, and nothing done, when observer
    /// is not attached.
    /// \param observer the observer, or null (never attached)
    bool detachObserver(ObObserver<S> *observer);
    /// Calls update(this, hints) on each attached observer in attach order. Every observer hears of
    /// the change, also when one before it raises: an observer that keeps a record of the changes
    /// (an undo history) must not miss one because of where it stands in the list. The first
    /// exception raised passes to the caller once all were called; later ones are dropped.
    /// \param hints what changed, handed to every observer
    void notify(const ObHints &hints);

    /// The number of observers attached.
    int getNbObservers() const noexcept { return nbObservers; }
    /// Whether `observer` is attached.
    /// \param observer the observer looked for; null is never attached
    bool isAttached(const ObObserver<S> *observer) const noexcept {
        return places.find(observer) != nullptr;
    }

private:
    using Observers = std::vector<ObObserver<S> *>;

    ///@{
    /// Drops the empty places at the end and packs the list when they outnumber the observers;
    /// never while a notification runs, so that the positions it walks stay valid.
    void tidy() noexcept;
    void endNotify() noexcept;
    ///@}

    ///@{
    /// Attach order; a detached observer leaves a null place.
    Observers observers;
    PtrMap<const ObObserver<S> *, std::size_t> places;
    int nbObservers = 0;
    int notifyDepth = 0;
    ///@}
};

template <class S> ObSubject<S>::~ObSubject() noexcept {
    Observers attached;
    attached.swap(observers);
    places.clear();
    for (ObObserver<S> *observer : attached) {
        if (observer != nullptr) {
            observer->detachedFrom(this);
        }
    }
}

template <class S> bool ObSubject<S>::attachObserver(ObObserver<S> *observer) {
    if (observer == nullptr || isAttached(observer)) {
        return false;
    }
    places.insert(observer, observers.size());
    try {
        observers.push_back(observer);
    } catch (...) {
        places.erase(observer);
        throw;
    }
    ++nbObservers;
    observer->attachedTo(this);
    return true;
}

template <class S> bool ObSubject<S>::detachObserver(ObObserver<S> *observer) {
    const std::size_t *found = places.find(observer);
    if (found == nullptr) {
        return false;
    }
    observers[*found] = nullptr;
    places.erase(observer);
    --nbObservers;
    if (notifyDepth == 0) {
        tidy();
    }
    observer->detachedFrom(this);
    return true;
}

template <class S> void ObSubject<S>::notify(const ObHints &hints) {
    ++notifyDepth;
    std::exception_ptr first;
    // Observers attached meanwhile lie beyond the size taken here.
    const std::size_t count = observers.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (ObObserver<S> *observer = observers[i]) {
            try {
                observer->update(this, hints);
            } catch (...) {
                if (!first) {
                    first = std::current_exception();
                }
            }
        }
    }
    endNotify();
    if (first) {
        std::rethrow_exception(first);
    }
}

template <class S> void ObSubject<S>::endNotify() noexcept {
    if (--notifyDepth == 0) {
        tidy();
    }
}

template <class S> void ObSubject<S>::tidy() noexcept {
    while (!observers.empty() && observers.back() == nullptr) {
        observers.pop_back();
    }
    if (observers.size() <= 2 * places.size()) {
        return;
    }
    std::size_t kept = 0;
    for (ObObserver<S> *observer : observers) {
        if (observer != nullptr) {
            *places.find(observer) = kept;
            observers[kept++] = observer;
        }
    }
    observers.resize(kept);
}

} // namespace Vo
