#pragma once

#include "../../foundation/FlatMap.h"
#include "../../foundation/RCShdPtr.h"
#include "../../foundation/Vector.h"
#include "../VoHostExport.h"
#include "SnIndexScan.h"
#include "SnParts.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <ostream>
#include <type_traits>

namespace Vo {

/// A set of signed integer indices that keeps each index once, in the order it was first appended
/// (the selection order: an index's rank is its 1-based position). Owns the ordered indices and,
/// beside them, a membership index: a bit vector over the dense non-negative range and a flat hash
/// set for indices outside it (negative or very sparse), so lookups cost O(1) on average. The order
/// is exact after every operation, so a reference to it follows every change: removing one index
/// closes its gap at once (one search and one move of the indices after it; the last index costs
/// O(1)), while the bulk operations (differenceWith, xorWith, clear, replaceAllParts) pack in one
/// linear pass. The ranks are looked up in an index built on the first getRank after a change and
/// kept until the next change: sets held in a selection never change, so it is built once. Confined
/// to one thread: a read may build the rank index.
///
/// Rules of the set algebra, each operation reporting whether it changed anything:
/// - append of a present index changes nothing; remove keeps the others' order;
/// - unionWith appends the other's missing indices in the other's order;
/// - differenceWith removes the other's indices; xorWith removes the common ones, then appends the
///   other's missing ones in the other's order;
/// - isEqual: the same indices in the same order (a new order is a new selection, ranks changed);
/// - contains: every index of the other is present; an empty or null other is contained (null
///   stands for no parts).
/// An argument that is null or not an `SnPartsBasic<I>` makes isEqual, unionWith, differenceWith and
/// xorWith return false, contains return false (true for null), and replaceAllParts do nothing.
template <class I> class SnPartsBasic : public SnParts {
    static_assert(std::is_integral<I>::value && std::is_signed<I>::value && sizeof(I) <= 4,
                  "indices are signed integers of at most 32 bits");

public:
    SnPartsBasic() = default;
    /// Parts are copied by clone.
    SnPartsBasic(const SnPartsBasic &) = default;
    ~SnPartsBasic() noexcept override = default;

    /// Amortised O(1); an index already present keeps its place and rank.
    /// \param index the index appended, any value of I
    void append(const I &index) {
        prepareChange();
        if (!isInBitRange(index)) {
            appendOutsideBitRange(index);
        } else if (!testBit(index)) {
            parts.push_back(index);
            setBit(index);
        }
    }
    /// Appends first, first + 1, ..., first + count - 1 in that order, as count calls of append
    /// would (present indices keep their place), a whole word of the membership bits at a time: the
    /// way to add a large run of indices. A count of 0 or less appends nothing; the run stops at
    /// the largest I.
    /// \param first the first index appended
    /// \param count the number of indices
    void appendRange(I first, I count);
    /// The others keep their order; an absent index changes nothing. O(1) for the last index in
    /// selection order, else a search and a move of the indices after it.
    /// \param index the index removed
    void remove(const I &index);
    /// The same for the index at the 0-based position in selection order, found by the caller: no
    /// search. A position from size() on changes nothing.
    /// \param position the index's 0-based position in selection order
    void removeAt(std::size_t position) noexcept;
    /// Puts an absent index at the 0-based position in selection order (at the end from size() on),
    /// the indices from there on moving one place back; a present index keeps its place. O(1) at
    /// the end, else one move of the indices after position. Nothing changes when it raises.
    /// \param position the 0-based place the index takes in selection order
    /// \param index the index inserted, any value of I
    void insertAt(std::size_t position, const I &index);
    /// The application inserted an element at `at` (added) or removed the one there: every index
    /// from `at` on moves one up, or `at` itself leaves and every index above it moves one down, in
    /// the same selection order; an index moved past the largest I wraps to the smallest. Returns
    /// whether any index changed. One pass over the indices (a vectorised add), and one over the
    /// membership bits above `at` or one per index, whichever is shorter; negative or sparse
    /// indices cost a rebuild of the membership. Nothing changes when it raises.
    /// \param at the application's place of the element inserted or removed
    /// \param added true when an element was inserted, false when one was removed
    bool renumber(I at, bool added);
    /// O(1) on average.
    /// \param index the index looked for
    bool hasPart(const I &index) const {
        if (isInBitRange(index)) {
            return testBit(index);
        }
        return !outliers.empty() && outliers.contains(index);
    }
    /// The indices in selection order; the reference stays valid while the set lives and follows
    /// its changes.
    const Vector<I> &getParts() const noexcept { return parts; }
    /// The 1-based position of index in selection order; 0 when absent. O(1) on average once the
    /// rank index is built (O(n), on the first call after a change).
    /// \param index the index looked for
    int getRank(const I &index) const;
    /// Makes room for count indices, assumed to be dense from 0; a negative count counts as 0.
    /// \param count the number of indices to hold
    void reserve(std::int64_t count);
    /// Makes room for count indices none of which is above largest, sizing the membership index
    /// once (the bit vector when largest lies in its dense range, else the hash set) instead of
    /// growing it and moving indices between the two as they come. Changes no result.
    /// \param count the number of indices to hold; a negative count counts as 0
    /// \param largest the largest of them
    void reserve(std::int64_t count, I largest);

    /// A new set with the same indices in the same order, count 0.
    SnParts *clone() const override { return new SnPartsBasic(*this); }
    ///@{
    /// Compared by the rules above.
    /// \param other the set compared, or null
    bool isEqual(const RCShdPtr<SnParts const> &other) const override;
    bool contains(const RCShdPtr<SnParts const> &other) const override;
    ///@}
    ///@{
    /// Whether there is no index; the number of indices; removes every index.
    bool isEmpty() const override { return parts.empty(); }
    int getSize() const override { return static_cast<int>(parts.size()); }
    void clear() override;
    ///@}
    /// Takes the other's indices in the other's order.
    /// \param other the set copied; null or another class changes nothing
    void replaceAllParts(const RCShdPtr<SnParts const> &other) override;
    ///@{
    /// O(n + m).
    /// \param other the set combined with this one; null or another class changes nothing
    bool unionWith(const RCShdPtr<SnParts const> &other) override;
    bool differenceWith(const RCShdPtr<SnParts const> &other) override;
    bool xorWith(const RCShdPtr<SnParts const> &other) override;
    ///@}
    /// One line: "Indices:", then a space and each index in selection order, then a line end,
    /// e.g. "Indices: 4 1 7\n"; an empty set writes "Indices:\n".
    /// \param stream the stream written to
    void dump(std::ostream &stream) const override;

private:
    using Word = std::uint64_t;
    static constexpr std::uint64_t kWordBits = 64;
    ///@{
    /// The bit vector grows to cover a new non-negative index while the index stays below
    /// kDenseFactor * (size + 1) + kDenseSlack; farther indices go to the hash set, so the bits
    /// never cost more than a small multiple of the index vector.
    static constexpr std::uint64_t kDenseFactor = 4;
    static constexpr std::uint64_t kDenseSlack = 1024;
    ///@}

    /// A flat hash table keyed by index; its free-cell mark lies below every 32-bit index.
    template <class V>
    using IndexTable = FlatMap<std::int64_t, V, std::numeric_limits<std::int64_t>::min()>;

    static const SnPartsBasic *asBasic(const RCShdPtr<SnParts const> &other) noexcept {
        return dynamic_cast<const SnPartsBasic *>(other.get());
    }

    std::uint64_t bitCount() const noexcept { return bits.size() * kWordBits; }
    ///@{
    /// Empties the set; whether it held anything. Difference and xor with itself come to this.
    bool clearReporting() {
        const bool hadParts = !isEmpty();
        clear();
        return hadParts;
    }
    bool isInBitRange(I index) const noexcept {
        return index >= 0 && static_cast<std::uint64_t>(index) < bitCount();
    }
    bool testBit(I index) const noexcept {
        const auto bit = static_cast<std::uint64_t>(index);
        return ((bits[bit / kWordBits] >> (bit % kWordBits)) & 1U) != 0;
    }
    void setBit(I index) noexcept {
        const auto bit = static_cast<std::uint64_t>(index);
        bits[bit / kWordBits] |= Word(1) << (bit % kWordBits);
    }
    void dropMember(I index) noexcept;
    void clearBit(I index) noexcept {
        const auto bit = static_cast<std::uint64_t>(index);
        bits[bit / kWordBits] &= ~(Word(1) << (bit % kWordBits));
    }
    ///@}
    /// The first place of index in the order; size when absent.
    std::size_t find(I index) const noexcept;
    /// Adds step to every index from `from` on.
    void shiftIndices(I from, int step) noexcept;
    /// Moves the membership bits of the indices the shift moves (those from `from` on, before it)
    /// by step, the indices themselves moving meanwhile (see renumber).
    bool shiftMembers(I from, int step) noexcept;
    /// Whether any bit moved.
    bool shiftWords(std::uint64_t from, int step) noexcept;
    /// renumber for sets with negative or sparse indices: a new membership index, built aside.
    bool renumberAside(I at, bool added);
    ///@{
    /// Forgets the rank index: the start of every change.
    void prepareChange() noexcept { ranks.reset(); }
    void appendOutsideBitRange(I index);
    ///@}
    /// Appends the absent indices of [first, last], which lies within the bit range.
    void appendBitRange(std::uint64_t first, std::uint64_t last);
    ///@{
    /// Widens the bit vector to at least minBits bits and moves the hash-set indices it now covers.
    void growBits(std::uint64_t minBits);
    void reserveAtLeast(std::size_t count);
    ///@}
    /// Writes the indices of source that this set lacks, in source's order, after its own indices,
    /// without taking them into the membership index yet; returns where they start.
    std::size_t appendMissing(const SnPartsBasic &source);
    /// Takes the indices from the given position on into the membership index, or, when that fails,
    /// drops them again. When bitSource is given, every index it holds is in this set afterwards,
    /// so its bit words may be OR-ed in instead of single bits.
    void commitAppended(std::size_t from, const SnPartsBasic *bitSource);
    /// Puts the indices from the given position on that lie outside the bit range into the hash
    /// set, all or none.
    void insertOutliers(std::size_t from);
    /// One compaction pass over the first count indices: drops every one for which isDropped holds
    /// (the indices after them move up); returns how many were dropped.
    template <class P> std::size_t dropIf(std::size_t count, P isDropped);

    /// Copies as empty: a copy builds its own rank index when asked.
    struct RankIndex {
        RankIndex() = default;
        RankIndex(const RankIndex &) noexcept {}
        RankIndex &operator=(const RankIndex &) noexcept {
            reset();
            return *this;
        }
        void reset() noexcept { ranks.reset(); }
        std::unique_ptr<IndexTable<int>> ranks;
    };

    ///@{
    /// Selection order.
    Vector<I> parts;
    Vector<Word> bits;
    IndexTable<bool> outliers;
    mutable RankIndex ranks;
    ///@}
};

template <class I> void SnPartsBasic<I>::appendRange(I first, I number) {
    if (number <= 0) {
        return;
    }
    prepareChange();
    const I last = first > std::numeric_limits<I>::max() - (number - 1)
                       ? std::numeric_limits<I>::max()
                       : static_cast<I>(first + (number - 1));
    const std::uint64_t finalSize =
        parts.size() + static_cast<std::uint64_t>(static_cast<std::int64_t>(last) - first + 1);
    if (first < 0 ||
        static_cast<std::uint64_t>(last) >= kDenseFactor * (finalSize + 1) + kDenseSlack) {
        reserveAtLeast(static_cast<std::size_t>(finalSize));
        for (I index = first; index < last; ++index) {
            append(index);
        }
        append(last);
        return;
    }
    if (static_cast<std::uint64_t>(last) >= bitCount()) {
        growBits(std::max<std::uint64_t>(static_cast<std::uint64_t>(last) + 1, 2 * bitCount()));
    }
    appendBitRange(static_cast<std::uint64_t>(first), static_cast<std::uint64_t>(last));
}

template <class I> void SnPartsBasic<I>::remove(const I &index) {
    if (!hasPart(index)) {
        return;
    }
    prepareChange();
    if (parts.back() == index) {
        parts.pop_back();
    } else {
        parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(find(index)));
    }
    dropMember(index);
}

template <class I> void SnPartsBasic<I>::removeAt(std::size_t position) noexcept {
    if (position >= parts.size()) {
        return;
    }
    prepareChange();
    const I index = parts[position];
    parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(position));
    dropMember(index);
}

template <class I> bool SnPartsBasic<I>::renumber(I at, bool added) {
    if (at < 0 || !outliers.empty()) {
        return renumberAside(at, added);
    }
    if (added) {
        // Room for the top index to move up, before anything changes.
        if (!bits.empty() && testBit(static_cast<I>(bitCount() - 1))) {
            growBits(bitCount() + 1);
        }
        prepareChange();
        return shiftMembers(at, 1);
    }
    const bool removed = hasPart(at);
    remove(at);
    prepareChange();
    return (at != std::numeric_limits<I>::max() && shiftMembers(static_cast<I>(at + 1), -1)) ||
           removed;
}

template <class I> std::size_t SnPartsBasic<I>::find(I index) const noexcept {
    if constexpr (std::is_same<I, int>::value) {
        return SnIndexScan::find(parts.data(), parts.data() + parts.size(), index);
    } else {
        return static_cast<std::size_t>(std::find(parts.begin(), parts.end(), index) -
                                        parts.begin());
    }
}

template <class I> void SnPartsBasic<I>::shiftIndices(I from, int step) noexcept {
    if constexpr (std::is_same<I, int>::value) {
        SnIndexScan::shiftFrom(parts.data(), parts.data() + parts.size(), from, step > 0);
    } else {
        for (I &index : parts) {
            index = static_cast<I>(index + (index >= from ? step : 0));
        }
    }
}

template <class I> bool SnPartsBasic<I>::shiftMembers(I from, int step) noexcept {
    const auto first = static_cast<std::uint64_t>(from);
    if (first >= bitCount()) {
        return false; // every index lies below: with no sparse index, none moves
    }
    // Few indices against many words above `from`: the bits go index by index.
    if (parts.size() >= bits.size() - first / kWordBits) {
        if (!shiftWords(first, step)) {
            return false;
        }
        shiftIndices(from, step);
        return true;
    }
    bool moved = false;
    for (const I &index : parts) {
        if (index >= from) {
            clearBit(index);
            moved = true;
        }
    }
    shiftIndices(from, step);
    const I lowest = static_cast<I>(from + step); // where the moved indices now start
    for (const I &index : parts) {
        if (index >= lowest) {
            setBit(index);
        }
    }
    return moved;
}

template <class I> bool SnPartsBasic<I>::shiftWords(std::uint64_t from, int step) noexcept {
    // Up, the bits from `from` on move one up; down, those above from - 1 (an absent index: it
    // left) move one down over it. The bits below that boundary stay.
    const std::uint64_t boundary = step > 0 ? from : from - 1;
    const std::size_t start = static_cast<std::size_t>(boundary / kWordBits);
    const Word below = (Word(1) << (boundary % kWordBits)) - 1;
    Word moving = bits[start] & ~below;
    for (std::size_t word = start + 1; word < bits.size(); ++word) {
        moving |= bits[word];
    }
    if (moving == 0) {
        return false;
    }
    const Word kept = bits[start] & below;
    if (step > 0) {
        for (std::size_t word = bits.size() - 1; word > start; --word) {
            bits[word] = (bits[word] << 1) | (bits[word - 1] >> (kWordBits - 1));
        }
        bits[start] = kept | ((bits[start] & ~below) << 1);
        return true;
    }
    bits[start] = kept | ((bits[start] >> 1) & ~below);
    for (std::size_t word = start; word + 1 < bits.size(); ++word) {
        bits[word] |= bits[word + 1] << (kWordBits - 1);
        bits[word + 1] >>= 1;
    }
    return true;
}

template <class I> bool SnPartsBasic<I>::renumberAside(I at, bool added) {
    using Unsigned = typename std::make_unsigned<I>::type;
    SnPartsBasic rebuilt;
    rebuilt.reserveAtLeast(parts.size());
    bool changed = false;
    for (const I &index : parts) {
        if (!added && index == at) {
            changed = true;
            continue;
        }
        const bool moves = added ? index >= at : index > at;
        changed = changed || moves;
        const auto moved = static_cast<Unsigned>(static_cast<Unsigned>(index) +
                                                 (added ? Unsigned(1) : Unsigned(-1)));
        rebuilt.append(moves ? static_cast<I>(moved) : index);
    }
    prepareChange();
    parts.swap(rebuilt.parts);
    bits.swap(rebuilt.bits);
    outliers.swap(rebuilt.outliers);
    return changed;
}

template <class I> void SnPartsBasic<I>::insertAt(std::size_t position, const I &index) {
    if (position >= parts.size() || hasPart(index)) {
        append(index);
        return;
    }
    // Room first: once appended, the index only has to move to its place.
    reserveAtLeast(parts.size() + 1);
    append(index);
    std::rotate(parts.begin() + static_cast<std::ptrdiff_t>(position), parts.end() - 1,
                parts.end());
}

template <class I> int SnPartsBasic<I>::getRank(const I &index) const {
    if (!hasPart(index)) {
        return 0;
    }
    if (!ranks.ranks) {
        auto built = std::make_unique<IndexTable<int>>();
        built->reserve(parts.size());
        for (std::size_t position = 0; position < parts.size(); ++position) {
            built->insert(parts[position], static_cast<int>(position) + 1);
        }
        ranks.ranks = std::move(built);
    }
    return *ranks.ranks->find(index);
}

template <class I> void SnPartsBasic<I>::reserve(std::int64_t number) {
    const auto wanted = static_cast<std::uint64_t>(std::max<std::int64_t>(number, 0));
    parts.reserve(static_cast<std::size_t>(wanted));
    if (wanted > bitCount()) {
        growBits(wanted);
    }
}

template <class I> void SnPartsBasic<I>::reserve(std::int64_t number, I largest) {
    reserve(number);
    const auto wanted = static_cast<std::uint64_t>(std::max<std::int64_t>(number, 0));
    if (largest >= 0 &&
        static_cast<std::uint64_t>(largest) < kDenseFactor * (wanted + 1) + kDenseSlack) {
        if (static_cast<std::uint64_t>(largest) >= bitCount()) {
            growBits(static_cast<std::uint64_t>(largest) + 1);
        }
    } else {
        outliers.reserve(outliers.size() + static_cast<std::size_t>(wanted));
    }
}

template <class I> bool SnPartsBasic<I>::isEqual(const RCShdPtr<SnParts const> &other) const {
    const SnPartsBasic *basic = asBasic(other);
    return basic != nullptr && (basic == this || getParts() == basic->getParts());
}

template <class I> bool SnPartsBasic<I>::contains(const RCShdPtr<SnParts const> &other) const {
    if (other.isNull()) {
        return true;
    }
    const SnPartsBasic *basic = asBasic(other);
    if (basic == nullptr || basic->getSize() > getSize()) {
        return false;
    }
    return std::all_of(basic->getParts().begin(), basic->getParts().end(),
                       [this](const I &index) { return hasPart(index); });
}

template <class I> void SnPartsBasic<I>::clear() {
    prepareChange();
    for (const I &index : parts) {
        dropMember(index);
    }
    parts.clear();
}

template <class I> void SnPartsBasic<I>::replaceAllParts(const RCShdPtr<SnParts const> &other) {
    const SnPartsBasic *basic = asBasic(other);
    if (basic == nullptr || basic == this) {
        return;
    }
    // Copy first: a failed allocation leaves this set as it was.
    prepareChange();
    SnPartsBasic copy(*basic);
    parts.swap(copy.parts);
    bits.swap(copy.bits);
    outliers.swap(copy.outliers);
}

template <class I> bool SnPartsBasic<I>::unionWith(const RCShdPtr<SnParts const> &other) {
    const SnPartsBasic *basic = asBasic(other);
    if (basic == nullptr || basic == this) {
        return false;
    }
    prepareChange();
    const std::size_t from = appendMissing(*basic);
    commitAppended(from, basic);
    return parts.size() != from;
}

template <class I> bool SnPartsBasic<I>::differenceWith(const RCShdPtr<SnParts const> &other) {
    const SnPartsBasic *basic = asBasic(other);
    if (basic == nullptr) {
        return false;
    }
    if (basic == this) {
        return clearReporting();
    }
    prepareChange();
    return dropIf(parts.size(), [basic](const I &index) { return basic->hasPart(index); }) != 0;
}

template <class I> bool SnPartsBasic<I>::xorWith(const RCShdPtr<SnParts const> &other) {
    const SnPartsBasic *basic = asBasic(other);
    if (basic == nullptr) {
        return false;
    }
    if (basic == this) {
        return clearReporting();
    }
    prepareChange();
    const std::size_t from = appendMissing(*basic);
    const std::size_t dropped =
        dropIf(from, [basic](const I &index) { return basic->hasPart(index); });
    // basic's bits also mark the common indices just dropped: the new ones are set one by one.
    commitAppended(from - dropped, nullptr);
    return !basic->parts.empty();
}

template <class I> void SnPartsBasic<I>::dump(std::ostream &stream) const {
    stream << "Indices:";
    for (const I &index : getParts()) {
        stream << ' ' << index;
    }
    stream << '\n';
}

template <class I> void SnPartsBasic<I>::dropMember(I index) noexcept {
    if (isInBitRange(index)) {
        const auto bit = static_cast<std::uint64_t>(index);
        bits[bit / kWordBits] &= ~(Word(1) << (bit % kWordBits));
    } else {
        outliers.erase(index);
    }
}

template <class I> void SnPartsBasic<I>::appendOutsideBitRange(I index) {
    if (outliers.contains(index)) {
        return;
    }
    const std::uint64_t denseLimit = kDenseFactor * (parts.size() + 1) + kDenseSlack;
    if (index >= 0 && static_cast<std::uint64_t>(index) < denseLimit) {
        growBits(std::max<std::uint64_t>(static_cast<std::uint64_t>(index) + 1, 2 * bitCount()));
        parts.push_back(index);
        setBit(index);
        return;
    }
    // Room first, so that push_back cannot fail once the index is in the hash set.
    reserveAtLeast(parts.size() + 1);
    outliers.insert(index, true);
    parts.push_back(index);
}

template <class I> void SnPartsBasic<I>::appendBitRange(std::uint64_t first, std::uint64_t last) {
    const std::size_t before = parts.size();
    // Room for the whole run first; nothing after this can fail, so the set stays consistent.
    parts.resize(before + static_cast<std::size_t>(last - first + 1));
    I *out = parts.data() + before;
    for (std::uint64_t word = first / kWordBits; word <= last / kWordBits; ++word) {
        const std::uint64_t base = word * kWordBits;
        const std::uint64_t low = std::max(first, base) - base;
        const std::uint64_t high = std::min(last, base + kWordBits - 1) - base;
        const Word run = (~Word(0) >> (kWordBits - 1 - high)) & (~Word(0) << low);
        const Word absent = run & ~bits[word];
        bits[word] |= run;
        if (absent == run) { // the common case: a plain run to copy
            for (std::uint64_t bit = low; bit <= high; ++bit) {
                *out++ = static_cast<I>(base + bit);
            }
            continue;
        }
        for (std::uint64_t bit = low; bit <= high; ++bit) {
            if (((absent >> bit) & 1U) != 0) {
                *out++ = static_cast<I>(base + bit);
            }
        }
    }
    parts.resize(static_cast<std::size_t>(out - parts.data()));
}

template <class I> void SnPartsBasic<I>::growBits(std::uint64_t minBits) {
    bits.resize(static_cast<std::size_t>((minBits + kWordBits - 1) / kWordBits), Word(0));
    outliers.eraseIf([this](std::int64_t index) {
        const bool covered = isInBitRange(static_cast<I>(index));
        if (covered) {
            setBit(static_cast<I>(index));
        }
        return covered;
    });
}

template <class I> void SnPartsBasic<I>::reserveAtLeast(std::size_t number) {
    if (number > parts.capacity()) {
        parts.reserve(std::max(number, 2 * parts.capacity()));
    }
}

template <class I> std::size_t SnPartsBasic<I>::appendMissing(const SnPartsBasic &source) {
    const std::size_t from = parts.size();
    parts.resize(from + source.parts.size());
    I *out = parts.data() + from;
    for (const I &index : source.parts) {
        *out = index;
        out += hasPart(index) ? 0 : 1; // no branch on the answer, which is hard to predict
    }
    parts.resize(static_cast<std::size_t>(out - parts.data()));
    return from;
}

template <class I>
void SnPartsBasic<I>::commitAppended(std::size_t from, const SnPartsBasic *bitSource) {
    // Merging bitSource's words marks every appended index at once when it keeps all its indices
    // in bits that fit in this set's, and is no more work than marking them one by one.
    bool mergeWords = false;
    try {
        if (bitSource != nullptr && bitSource->bitCount() > bitCount() &&
            bitSource->bitCount() <= kDenseFactor * (parts.size() + 1) + kDenseSlack) {
            growBits(bitSource->bitCount());
        }
        mergeWords = bitSource != nullptr && bitSource->outliers.empty() &&
                     bitSource->bits.size() <= bits.size() &&
                     bitSource->bits.size() <= parts.size() - from;
        if (!mergeWords) {
            insertOutliers(from);
        }
    } catch (...) {
        parts.resize(from);
        throw;
    }
    if (mergeWords) {
        for (std::size_t word = 0; word < bitSource->bits.size(); ++word) {
            bits[word] |= bitSource->bits[word];
        }
        return;
    }
    for (std::size_t position = from; position < parts.size(); ++position) {
        if (isInBitRange(parts[position])) {
            setBit(parts[position]);
        }
    }
}

template <class I> void SnPartsBasic<I>::insertOutliers(std::size_t from) {
    std::size_t done = from;
    try {
        for (; done < parts.size(); ++done) {
            if (!isInBitRange(parts[done])) {
                outliers.insert(parts[done], true);
            }
        }
    } catch (...) {
        for (std::size_t undo = from; undo < done; ++undo) {
            if (!isInBitRange(parts[undo])) {
                outliers.erase(parts[undo]);
            }
        }
        throw;
    }
}

template <class I>
template <class P>
std::size_t SnPartsBasic<I>::dropIf(std::size_t number, P isDropped) {
    const auto end = parts.begin() + static_cast<std::ptrdiff_t>(number);
    const auto kept = std::remove_if(parts.begin(), end, [this, &isDropped](const I &index) {
        if (!isDropped(index)) {
            return false;
        }
        dropMember(index);
        return true;
    });
    const auto dropped = static_cast<std::size_t>(end - kept);
    parts.erase(kept, end);
    return dropped;
}

extern template class VO_HOST_API SnPartsBasic<int>;

} // namespace Vo
