#pragma once

#include "../base/RCBase.h"
#include "VoFoundationExport.h"

namespace Vo {

/// The engine behind an Iterator<T>: walks one sequence that its supplier owns and knows the
/// current position. Iterators share an engine until one of them moves, which then walks its own
/// clone. Thread safety: the count is atomic, so iterators sharing an engine may be copied and
/// released on any thread; moving one engine from two threads at once is not supported.
template <class T> class VO_FOUNDATION_API IteratorImp : public RCBase<LkCounter<int>> {
public:
    IteratorImp &operator=(const IteratorImp &) = delete;

    /// Never called by Iterator<T>; it keeps the slot so that the engine operations below stay in
    /// their agreed places. Engines may leave it as it is.
    virtual void reserved() {}
    ///@{
    /// The current element; reading at the end position is the engine's affair.
    virtual const T &item() const = 0;
    virtual T &item() = 0;
    virtual void first() = 0;
    virtual void last() = 0;
    ///@}
    ///@{
    /// Moves to the end position, the one that atEnd reports.
    virtual void end() = 0;
    virtual bool atEnd() const = 0;
    virtual bool atBegin() const = 0;
    virtual void next() = 0;
    virtual void previous() = 0;
    ///@}
    /// The number of elements of the whole sequence, whatever the position.
    virtual int getCardinality() const = 0;
    /// A new engine with count 0, over the same sequence at the same position.
    virtual IteratorImp *clone() const = 0;

protected:
    IteratorImp() noexcept = default;
    /// Engines are copied by clone, which derived engines implement with this copy.
    IteratorImp(const IteratorImp &) noexcept = default;
    /// Only the last release of the count destroys an engine.
    ~IteratorImp() override = default;
};

} // namespace Vo
