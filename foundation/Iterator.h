#pragma once

#include "IteratorImp.h"
#include "RCPvtEngPtr.h"
#include "VoFoundationExport.h"

#include <cstddef>
#include <iterator>

namespace Vo {

/// A bidirectional iterator with value semantics over an engine that the owner of the sequence
/// supplies. Copies share the engine; the first operation that moves an iterator or reaches its
/// element for writing gives that iterator its own clone, so the other copies stay where they were.
/// Constant reads (item() const, atEnd, atBegin, getCardinality) never clone.
/// Every operation except construction, copying, assignment, destruction and isNull raises
/// RCExNullPtr naming `Vo::IteratorImp<T>*` when the iterator has no engine, or when the engine
/// must be cloned and its clone is null; the iterator then keeps the engine it had.
/// Thread safety: copies may live on different threads; one iterator object is used by one thread.
template <class T> class VO_FOUNDATION_API Iterator {
public:
    ///@{
    /// Standard iterator types.
    using iterator_category = std::bidirectional_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = T *;
    using reference = T &;
    ///@}

    /// A null iterator: no engine.
    Iterator() noexcept = default;
    /// Shares the engine (no clone, position untouched).
    /// \param shared the engine, or null for a null iterator
    Iterator(const RCPvtEngPtr<IteratorImp<T>> &shared) noexcept : engine(shared) {}
    /// Shares other's engine (no clone, position untouched); the first to move clones it.
    /// \param other the iterator copied, null or not
    Iterator(const Iterator &other) noexcept = default;
    /// Does nothing when other holds the same engine; otherwise shares other's engine.
    /// \param other the iterator copied, null or not
    Iterator &operator=(const Iterator &other) noexcept {
        engine = other.engine;
        return *this;
    }

    virtual ~Iterator() = default;

    ///@{
    /// The item at the iterator's place, read or written through the engine.
    virtual const T *operator->() const { return &engine.read().item(); }
    virtual T *operator->() { return &engine.write().item(); }
    virtual const T &item() const { return engine.read().item(); }
    virtual T &item() { return engine.write().item(); }
    virtual const T &operator*() const { return engine.read().item(); }
    virtual T &operator*() { return engine.write().item(); }
    ///@}
    ///@{
    /// Moves to the first item, the last item, or past the end; returns the iterator.
    virtual Iterator &first() {
        engine.write().first();
        return *this;
    }
    virtual Iterator &last() {
        engine.write().last();
        return *this;
    }
    virtual Iterator &end() {
        engine.write().end();
        return *this;
    }
    ///@}
    ///@{
    /// Whether the iterator stands past the end, or at the first item.
    virtual bool atEnd() const { return engine.read().atEnd(); }
    virtual bool atBegin() const { return engine.read().atBegin(); }
    ///@}
    ///@{
    /// Moves to the next (previous) item; returns the iterator.
    virtual Iterator &next() {
        engine.write().next();
        return *this;
    }
    virtual Iterator &previous() {
        engine.write().previous();
        return *this;
    }
    ///@}
    /// The number of items the iterator walks over.
    virtual int getCardinality() const { return engine.read().getCardinality(); }
    ///@{
    /// The result stays at the old position on the old engine; this iterator always moves on a
    /// clone, since the result shares the engine at the moment of the move.
    virtual Iterator operator++(int) {
        Iterator old(*this);
        engine.write().next();
        return old;
    }
    virtual Iterator &operator++() {
        engine.write().next();
        return *this;
    }
    virtual Iterator operator--(int) {
        Iterator old(*this);
        engine.write().previous();
        return old;
    }
    virtual Iterator &operator--() {
        engine.write().previous();
        return *this;
    }
    ///@}

    /// Whether the iterator has no engine (a default-made one).
    bool isNull() const noexcept { return engine.isNull(); }

private:
    RCPvtEngPtr<IteratorImp<T>> engine;
};

} // namespace Vo
