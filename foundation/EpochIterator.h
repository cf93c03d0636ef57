#pragma once

#include "../base/DgReport.h"

#include <cstdint>
#include <iterator>
#include <memory>

namespace Vo {

/// A random-access iterator over storage that its owner changes, remembering the owner's change
/// counter as it was when the iterator was handed out. With the libraries' checks (VO_CHECKS),
/// reading, moving or comparing it after the owner changed stops the program at that use, instead
/// of reading items that moved or were freed. The layout is the same with the checks on or off.
/// Borrows the counter: the iterator must not outlive its owner (as any iterator).
template <class Base> class EpochIterator {
public:
    ///@{
    /// Standard iterator types, those of Base.
    using iterator_category = std::random_access_iterator_tag;
    using value_type = typename std::iterator_traits<Base>::value_type;
    using difference_type = typename std::iterator_traits<Base>::difference_type;
    using pointer = typename std::iterator_traits<Base>::pointer;
    using reference = typename std::iterator_traits<Base>::reference;
    ///@}

    /// An iterator that belongs to no owner, and is never checked.
    EpochIterator() noexcept = default;
    /// An iterator valid while the owner's change counter keeps its present value.
    /// \param place where it stands in the owner's storage
    /// \param counter the owner's change counter, which must outlive the iterator
    EpochIterator(Base place, const std::uint64_t *counter) noexcept
        : at(place), epoch(counter), seen(*counter) {}

    ///@{
    /// The item here.
    reference operator*() const {
        check();
        return *at;
    }
    pointer operator->() const {
        check();
        return std::addressof(*at);
    }
    ///@}
    /// The item n places on.
    /// \param n how many places, negative backwards
    reference operator[](difference_type n) const {
        check();
        return at[n];
    }
    ///@{
    /// Moves one place.
    EpochIterator &operator++() { return *this += 1; }
    EpochIterator &operator--() { return *this -= 1; }
    EpochIterator operator++(int) {
        EpochIterator was = *this;
        *this += 1;
        return was;
    }
    EpochIterator operator--(int) {
        EpochIterator was = *this;
        *this -= 1;
        return was;
    }
    ///@}
    ///@{
    /// Moves n places.
    /// \param n how many places, negative the other way
    EpochIterator &operator+=(difference_type n) {
        check();
        at += n;
        return *this;
    }
    EpochIterator &operator-=(difference_type n) { return *this += -n; }
    ///@}
    ///@{
    /// A copy moved n places.
    /// \param it the iterator copied
    /// \param n how many places
    friend EpochIterator operator+(EpochIterator it, difference_type n) { return it += n; }
    friend EpochIterator operator+(difference_type n, EpochIterator it) { return it += n; }
    friend EpochIterator operator-(EpochIterator it, difference_type n) { return it -= n; }
    ///@}
    ///@{
    /// Distance and order; both iterators are checked.
    /// \param a, b iterators of the same owner
    friend difference_type operator-(const EpochIterator &a, const EpochIterator &b) {
        return a.checked() - b.checked();
    }
    friend bool operator==(const EpochIterator &a, const EpochIterator &b) {
        return a.checked() == b.checked();
    }
    friend bool operator!=(const EpochIterator &a, const EpochIterator &b) { return !(a == b); }
    friend bool operator<(const EpochIterator &a, const EpochIterator &b) {
        return a.checked() < b.checked();
    }
    friend bool operator>(const EpochIterator &a, const EpochIterator &b) { return b < a; }
    friend bool operator<=(const EpochIterator &a, const EpochIterator &b) { return !(b < a); }
    friend bool operator>=(const EpochIterator &a, const EpochIterator &b) { return !(a < b); }
    ///@}

    /// Whether the owner changed since the iterator was handed out (false for one without owner).
    /// Meant for checks; an iterator that says true must not be used.
    bool isStale() const noexcept { return epoch != nullptr && *epoch != seen; }

private:
    void check() const {
        if (VO_CHECKS && isStale()) {
            DgReport::fail(__FILE__, __LINE__,
                           "an iterator was used after the container it reads changed (it is valid "
                           "until the next change)");
        }
    }
    const Base &checked() const {
        check();
        return at;
    }

    Base at{};
    const std::uint64_t *epoch = nullptr;
    std::uint64_t seen = 0;
};

} // namespace Vo
