#pragma once

#include "../foundation/RCWeakAccessor.h"
#include "../foundation/RCWeakPtr.h"

#include <memory>
#include <utility>

namespace Vo {

/// How an application owns an object that the library holds weakly: the owner holds the object
/// together with a new counter block whose strong count starts at 1, hands out RCWeakPtr to it, and
/// gives the object up with `reset` (or its destructor). The object is deleted, through its virtual
/// destructor, when the owner and every accessor locked meanwhile have let go; weak pointers then
/// read as null. T needs a public virtual destructor. Movable, not copyable.
template <class T> class RCOwner {
public:
    /// The counter block the owner's weak pointers share.
    using Counter = RCSWCount<LkCounter<int>>;

    RCOwner() noexcept : object(nullptr) {}
    /// Takes the object; deletes it again when its counter block cannot be allocated.
    /// \param owned an object made with `new`, owned by no one else, or null (owns nothing)
    explicit RCOwner(T *owned) : object(nullptr) {
        std::unique_ptr<T> guard(owned);
        if (owned != nullptr) {
            block = RCShdPtr<Counter>(new Counter(1));
        }
        object = guard.release();
    }
    ///@{
    /// Takes the other's object and block over, leaving it empty; an assigned owner gives its own
    /// object up first.
    /// \param other the owner moved from
    RCOwner(RCOwner &&other) noexcept : object(nullptr) { swap(other); }
    RCOwner &operator=(RCOwner &&other) noexcept {
        RCOwner(std::move(other)).swap(*this);
        return *this;
    }
    ///@}
    RCOwner(const RCOwner &) = delete;
    RCOwner &operator=(const RCOwner &) = delete;
    /// Gives the object up, as reset does.
    ~RCOwner() { reset(); }

    ///@{
    /// The object owned, or null; whether there is none.
    T *get() const noexcept { return object; }
    bool isNull() const noexcept { return object == nullptr; }
    ///@}
    /// A weak pointer to the object, which reads as null once the owner lets go.
    RCWeakPtr<T> getWeak() const noexcept { return RCWeakPtr<T>(object, block); }
    /// The object's counter block.
    const RCShdPtr<Counter> &getCounter() const noexcept { return block; }

    /// Gives the object up: deletes it now unless an accessor still holds it, in which case that
    /// accessor deletes it when released.
    void reset() noexcept {
        T *owned = object;
        object = nullptr;
        if (owned != nullptr && block->releaseStrong()) {
            delete owned;
        }
        block = RCShdPtr<Counter>();
    }
    /// Exchanges the objects of the two owners, with their blocks.
    /// \param other the owner whose object this one takes, and which takes this one's
    void swap(RCOwner &other) noexcept {
        std::swap(object, other.object);
        block.swap(other.block);
    }

private:
    T *object;
    RCShdPtr<Counter> block;
};

} // namespace Vo
