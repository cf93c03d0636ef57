#pragma once

#include "../foundation/PtrList.h"
#include "ObObserverAny.h"
#include "VoHostExport.h"

namespace Vo {

class ObHints;
template <class S> class ObSubject;

/// An observer of the subjects of family S: the subjects call update when they change. Remembers
/// the subjects it is attached to (borrowed; each subject tells it when it lets go) and detaches
/// from all of them when destroyed. Attach and detach through ObSubject::attachObserver /
/// detachObserver. Thread safety: none; an observer and its subjects stay on one thread.
template <class S> class ObObserver : public ObObserverAny {
public:
    /// Detaches from every subject it is still attached to.
    ~ObObserver() noexcept override;

private:
    friend class ObSubject<S>;
    ///@{
    /// Called by the subject once it has added or removed this observer. They keep the list of
    /// subjects that the destructor detaches from; derived classes leave them as they are.
    virtual void attachedTo(ObSubject<S> *subject) { subjects.push_back(subject); }
    virtual void detachedFrom(ObSubject<S> *subject) { subjects.erase(subject); }
    ///@}

public:
    /// Called by subject on each change while this observer is attached. It may attach or detach
    /// observers, this one included, and change the subject again (the subject notifies again
    /// then).
    /// \param subject the subject that changed, alive for the call
    /// \param hints what changed, as the subject describes it; valid for the call only
    virtual void update(ObSubject<S> *subject, const ObHints &hints) = 0;

    /// The number of subjects this observer is attached to.
    int getNbSubjects() const noexcept { return static_cast<int>(subjects.size()); }

protected:
    ObObserver() noexcept = default;

private:
    PtrList<ObSubject<S> *> subjects;
};

} // namespace Vo

#include "ObSubject.h"

namespace Vo {

template <class S> ObObserver<S>::~ObObserver() noexcept {
    // Taken out first: each detach reports back through detachedFrom, which then finds nothing
    // left.
    PtrList<ObSubject<S> *> attached;
    attached.swap(subjects);
    for (std::size_t i = 0; i < attached.size(); ++i) {
        attached[i]->detachObserver(this);
    }
}

} // namespace Vo
