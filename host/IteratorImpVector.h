#pragma once

#include "../base/RCExUtil.h"
#include "../foundation/Iterator.h"
#include "../foundation/IteratorImp.h"
#include "../foundation/RCPvtEngPtr.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <typeinfo>
#include <utility>
#include <vector>

namespace Vo {

/// The ready iterator engine: walks a shared, immutable vector. Shares the vector with every clone
/// and with whoever made it; owns only its position and the writable copy of the current element.
/// Positions run from 0 (the first element, where atBegin is true) to the vector's size, the end
/// position one past the last element. Stepping past the end or before the first element leaves the
/// position where it is; reading the element at the end position is undefined.
/// Thread safety: the vector is never written, so engines over it may walk on different threads.
template <class T> class IteratorImpVector : public IteratorImp<T> {
public:
    /// The items, shared with whoever made them and never changed.
    using Items = std::shared_ptr<const std::vector<T>>;

    /// An iterator at the first element of items (at the end when items is empty).
    /// Raises RCExNullPtr naming `std::vector<T> const*` when items is null.
    /// \param items the elements walked, shared with the caller, who must not change them
    static Iterator<T> makeIterator(Items items) {
        if (!items) {
            RCExUtil::throwExNullPtr(typeid(const std::vector<T> *).name());
        }
        return Iterator<T>(RCPvtEngPtr<IteratorImp<T>>(new IteratorImpVector(std::move(items))));
    }

    const T &item() const override { return (*items)[position]; }
    ///@{
    /// The vector is immutable, so the writable element is this engine's own copy of the current
    /// element, taken afresh at each call: writing to it never changes the sequence.
    T &item() override {
        current = (*items)[position];
        return *current;
    }
    void first() override { position = 0; }
    void last() override { position = size() == 0 ? 0 : size() - 1; }
    void end() override { position = size(); }
    bool atEnd() const override { return position >= size(); }
    bool atBegin() const override { return position == 0; }
    void next() override {
        if (position < size()) {
            ++position;
        }
    }
    void previous() override {
        if (position > 0) {
            --position;
        }
    }
    int getCardinality() const override { return static_cast<int>(size()); }
    IteratorImpVector *clone() const override { return new IteratorImpVector(*this); }
    ///@}

private:
    explicit IteratorImpVector(Items sequence) noexcept : items(std::move(sequence)), position(0) {}
    IteratorImpVector(const IteratorImpVector &) = default;

    std::size_t size() const noexcept { return items->size(); }

    Items items;
    std::size_t position;
    std::optional<T> current;
};

} // namespace Vo
