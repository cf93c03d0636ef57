#pragma once

#include "ObObserver.h"
#include "Sn.h"
#include "VoHostExport.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace Vo {

class ObHints;

// The observable side of an object of family S: a list of borrowed observers, called in the order
// they were attached. Observers may attach and detach observers, themselves included, while they
// are being notified: a detached observer whose turn has not come is not called, and an observer
// attached during a notification is first called by the next one. The subject itself must outlive
// the notify call (SnSelection keeps itself alive for it). Not copyable; destroying the subject
// detaches every observer still attached.
// Thread safety: none; a subject and its observers stay on one thread.
template <class S> class ObSubject {
public:
    ObSubject() noexcept = default;
    ObSubject(const ObSubject &) = delete;
    ObSubject &operator=(const ObSubject &) = delete;
    ~ObSubject() noexcept;

    // Adds observer at the end of the list and tells it through attachedTo. False, and nothing
    // done, when observer is null or already attached.
    bool attachObserver(ObObserver<S> *observer);
    // Removes observer and tells it through detachedFrom. False, and nothing done, when observer is
    // not attached.
    bool detachObserver(ObObserver<S> *observer);
    // Calls update(this, hints) on each attached observer in attach order. An exception raised by
    // an observer passes to the caller; the observers after it are not called.
    void notify(const ObHints &hints);

    int getNbObservers() const noexcept { return nbObservers; }
    bool isAttached(const ObObserver<S> *observer) const noexcept {
        return observer != nullptr && find(observer) != observers.end();
    }

private:
    using Observers = std::vector<ObObserver<S> *>;

    typename Observers::const_iterator find(const ObObserver<S> *observer) const noexcept {
        return std::find(observers.begin(), observers.end(), observer);
    }
    // Drops the slots emptied while notifications ran, once the outermost one is over.
    void endNotify() noexcept;

    // Attach order. While a notification runs, detaching empties a slot instead of erasing it, so
    // that the positions the running notifications walk stay valid.
    Observers observers;
    int nbObservers = 0;
    int notifyDepth = 0;
};

template <class S> ObSubject<S>::~ObSubject() noexcept {
    Observers attached;
    attached.swap(observers);
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
    observers.push_back(observer);
    ++nbObservers;
    observer->attachedTo(this);
    return true;
}

template <class S> bool ObSubject<S>::detachObserver(ObObserver<S> *observer) {
    if (observer == nullptr) {
        return false;
    }
    const auto found = find(observer);
    if (found == observers.end()) {
        return false;
    }
    const auto slot = observers.begin() + (found - observers.cbegin());
    if (notifyDepth > 0) {
        *slot = nullptr;
    } else {
        observers.erase(slot);
    }
    --nbObservers;
    observer->detachedFrom(this);
    return true;
}

template <class S> void ObSubject<S>::notify(const ObHints &hints) {
    ++notifyDepth;
    try {
        // Observers attached meanwhile lie beyond the size taken here.
        const std::size_t count = observers.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (ObObserver<S> *observer = observers[i]) {
                observer->update(this, hints);
            }
        }
    } catch (...) {
        endNotify();
        throw;
    }
    endNotify();
}

template <class S> void ObSubject<S>::endNotify() noexcept {
    if (--notifyDepth == 0) {
        observers.erase(std::remove(observers.begin(), observers.end(), nullptr), observers.end());
    }
}

extern template class VO_HOST_API ObSubject<Sn>;

} // namespace Vo
