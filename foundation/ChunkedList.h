#pragma once

#include "../base/DgReport.h"
#include "RCShdPtr.h"
#include "RelocatingSplice.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

namespace Vo {

/// An ordered list of counted pointers held in chunks of a few hundred, so that a splice anywhere
/// moves the pointers of one chunk (a memmove) and the later chunks' starts, not every later
/// pointer: what a list that follows one-item changes in the middle of 10^5 items needs. Owns its
/// chunks; the pointed-to objects are shared as any counted pointer shares them.
///
/// Cost: finding a place is a binary search over the chunks' starts; a splice of k items costs
/// O(k + kChunk + chunks), the last term being one addition per later chunk (a hundred at 10^5
/// items). A splice that would leave its chunk longer than 2 kChunk spreads the chunk's items and
/// the added ones over even chunks instead (O(that chunk), paid for by the insertions that grew it,
/// or by a whole list taken over with adopt). Iterators are bidirectional and, like the positions,
/// valid until the next change. Thread safety: none of its own.
template <class T> class ChunkedList {
public:
    ///@{
    /// The list's items, and a flat copy of them.
    using Item = RCShdPtr<T>;
    using Flat = std::vector<Item>;
    ///@}
    /// Items a chunk holds.
    static constexpr std::size_t kChunk = 512;

    /// A bidirectional iterator over the items, valid until the list changes.
    class const_iterator {
    public:
        ///@{
        /// Standard iterator types.
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = Item;
        using difference_type = std::ptrdiff_t;
        using pointer = const Item *;
        using reference = const Item &;
        ///@}

        const_iterator() = default;
        ///@{
        /// The item at the iterator's place.
        reference operator*() const noexcept { return (*chunks)[chunk][offset]; }
        pointer operator->() const noexcept { return &**this; }
        ///@}
        ///@{
        /// Steps to the next (previous) item, crossing chunks; the postfix forms return the place
        /// before the step.
        const_iterator &operator++() noexcept {
            if (++offset == (*chunks)[chunk].size()) {
                ++chunk;
                offset = 0;
            }
            return *this;
        }
        const_iterator &operator--() noexcept {
            if (offset == 0) {
                offset = (*chunks)[--chunk].size();
            }
            --offset;
            return *this;
        }
        const_iterator operator++(int) noexcept {
            const_iterator old = *this;
            ++*this;
            return old;
        }
        const_iterator operator--(int) noexcept {
            const_iterator old = *this;
            --*this;
            return old;
        }
        ///@}
        ///@{
        /// Whether two iterators stand at the same place.
        friend bool operator==(const const_iterator &a, const const_iterator &b) noexcept {
            return a.chunk == b.chunk && a.offset == b.offset;
        }
        friend bool operator!=(const const_iterator &a, const const_iterator &b) noexcept {
            return !(a == b);
        }
        ///@}

    private:
        friend class ChunkedList;
        const_iterator(const std::vector<Flat> *list, std::size_t c, std::size_t o) noexcept
            : chunks(list), chunk(c), offset(o) {}
        const std::vector<Flat> *chunks = nullptr;
        std::size_t chunk = 0;
        std::size_t offset = 0;
    };

    ///@{
    /// The number of items; whether there is none.
    std::size_t size() const noexcept { return total; }
    bool empty() const noexcept { return total == 0; }
    ///@}
    ///@{
    /// What a splice's update of the starts costs: never fewer than size() / (2 kChunk) once a
    /// splice has spread an over-long chunk, never more than size().
    std::size_t getNbChunks() const noexcept { return chunks.size(); }
    const_iterator begin() const noexcept {
        return total == 0 ? end() : const_iterator(&chunks, 0, 0);
    }
    const_iterator end() const noexcept { return const_iterator(&chunks, chunks.size(), 0); }
    ///@}
    /// The item at a position.
    /// \param position 0 .. size(); size() gives end()
    const_iterator iteratorAt(std::size_t position) const noexcept {
        if (position == total) {
            return end();
        }
        const std::size_t c = chunkOf(position);
        return const_iterator(&chunks, c, position - starts[c]);
    }
    /// The first item; the list must not be empty.
    const Item &front() const noexcept { return chunks.front().front(); }
    /// Replaces the first item; the list must not be empty.
    /// \param item the new first item
    void setFront(Item item) noexcept { chunks.front().front() = std::move(item); }

    /// The items of [first, last), in chunks of kChunk. On an exception the list is as it was.
    /// \param first, last the new items, in order; input iterators whose items convert to Item
    template <class It> void assign(It first, It last) {
        std::vector<Flat> filled;
        std::vector<std::size_t> filledStarts;
        std::size_t count = 0;
        for (; first != last; ++first, ++count) {
            if (count % kChunk == 0) {
                filled.emplace_back().reserve(kChunk);
                filledStarts.push_back(count);
            }
            filled.back().push_back(*first);
        }
        filled.reserve(1); // adopt never has to allocate
        take(std::move(filled), std::move(filledStarts), count);
    }
    /// Takes the items of a flat list over as one chunk, which the next splice into it cuts. On an
    /// exception (the first call on a list never filled) the list is as it was, and so is items.
    /// \param items the new items, in order; moved from, left empty on success
    void adopt(Flat &&items) {
        chunks.reserve(1);
        starts.reserve(1);
        clear();
        if (!items.empty()) {
            total = items.size();
            chunks.push_back(std::move(items));
            starts.push_back(0);
        }
    }
    /// The items as one flat list, in order.
    Flat flat() const {
        Flat items;
        items.reserve(total);
        for (const Flat &chunk : chunks) {
            items.insert(items.end(), chunk.begin(), chunk.end());
        }
        return items;
    }
    /// Forgets every item.
    void clear() noexcept {
        chunks.clear();
        starts.clear();
        total = 0;
    }

    /// Takes the room that splice(at, count, k items) needs, so that the splice itself cannot fail.
    /// `at + count` must not pass the end.
    /// \param at the position of the first item replaced, 0 .. size()
    /// \param count the number of items replaced
    /// \param added the number of items put in their place
    void reserveSplice(std::size_t at, std::size_t count, std::size_t added) {
        if (chunks.empty()) {
            chunks.reserve(1);
            starts.reserve(1);
            chunks.emplace_back();
            starts.push_back(0);
        }
        const Place place = placeOf(at, count, added);
        if (place.result <= 2 * kChunk) {
            Flat &chunk = chunks[place.chunk];
            // Doubling: appends one by one do not copy the chunk each time.
            if (chunk.capacity() < place.result) {
                chunk.reserve(std::max(place.result, std::min(2 * chunk.capacity(), 2 * kChunk)));
            }
            return;
        }
        const std::size_t nbPieces = piecesFor(place.result);
        std::vector<Flat> pieces(nbPieces);
        for (std::size_t i = 0; i < nbPieces; ++i) {
            pieces[i].reserve(pieceSize(place.result, nbPieces, i));
        }
        chunks.reserve(chunks.size() + nbPieces - 1);
        starts.reserve(chunks.size() + nbPieces - 1);
        prepared.swap(pieces);
    }
    /// Replaces the `count` items from `at` by those of [first, last), which must not point into
    /// this list. Never fails after reserveSplice with the same figures.
    /// \param at the position of the first item replaced, 0 .. size()
    /// \param count the number of items replaced; `at + count` must not pass the end
    /// \param first, last the items put in their place, forward iterators
    template <class It> void splice(std::size_t at, std::size_t count, It first, It last) {
        const auto added = static_cast<std::size_t>(std::distance(first, last));
        if (count == 0 && added == 0) {
            return;
        }
        if (chunks.empty() || !isReserved(placeOf(at, count, added))) {
            reserveSplice(at, count, added);
        }
        const Place place = placeOf(at, count, added);
        removeFromFronts(place.chunk + 1, count - place.removedHere);
        std::size_t lastSpliced = place.chunk;
        if (place.result <= 2 * kChunk) {
            replaceRelocating(chunks[place.chunk], place.offset, place.removedHere, first, last);
        } else {
            lastSpliced += spread(place, first, last) - 1;
        }
        total = total - count + added;
        restart(place.chunk);
        dropEmptyChunks(lastSpliced);
    }
    /// Overwrites the items from `at` by those of [first, last) without changing their number.
    /// \param at the position of the first item overwritten
    /// \param first, last the new items; `at` plus their number must not pass the end
    template <class It> void overwrite(std::size_t at, It first, It last) noexcept {
        std::size_t c = chunkOf(at);
        std::size_t offset = at - starts[c];
        for (; first != last; ++first) {
            chunks[c][offset] = *first;
            if (++offset == chunks[c].size()) {
                ++c;
                offset = 0;
            }
        }
    }

private:
    /// Where a splice lands: its chunk, the place in it, what it removes there and the chunk's
    /// size after it.
    struct Place {
        std::size_t chunk;
        std::size_t offset;
        std::size_t removedHere;
        std::size_t result;
    };
    Place placeOf(std::size_t at, std::size_t count, std::size_t added) const noexcept {
        VO_ASSERT(at <= total && count <= total - at, "ChunkedList: a splice past the list's end");
        const std::size_t c = chunkOf(at);
        const std::size_t offset = at - starts[c];
        const std::size_t removedHere = std::min(count, chunks[c].size() - offset);
        return Place{c, offset, removedHere, chunks[c].size() - removedHere + added};
    }
    bool isReserved(const Place &place) const noexcept {
        if (place.result <= 2 * kChunk) {
            return chunks[place.chunk].capacity() >= place.result;
        }
        const std::size_t nbPieces = piecesFor(place.result);
        if (prepared.size() != nbPieces || chunks.capacity() < chunks.size() + nbPieces - 1 ||
            starts.capacity() < chunks.size() + nbPieces - 1) {
            return false;
        }
        for (std::size_t i = 0; i < nbPieces; ++i) {
            if (prepared[i].capacity() < pieceSize(place.result, nbPieces, i)) {
                return false;
            }
        }
        return true;
    }
    static std::size_t piecesFor(std::size_t size) noexcept { return (size + kChunk - 1) / kChunk; }
    /// Even pieces, the first ones one longer: no splinter is left at the end.
    static std::size_t pieceSize(std::size_t size, std::size_t nbPieces, std::size_t i) noexcept {
        return size / nbPieces + (i < size % nbPieces ? 1 : 0);
    }
    /// A chunk too long after the splice becomes the prepared pieces: its items before the place,
    /// the added ones, its items after what the splice removes.
    /// Gives the number of chunks that replace the old one.
    template <class It> std::size_t spread(const Place &place, It first, It last) noexcept {
        Flat &old = chunks[place.chunk];
        std::size_t piece = 0;
        const std::size_t nbPieces = prepared.size();
        const auto put = [&](auto &&item) {
            if (prepared[piece].size() == pieceSize(place.result, nbPieces, piece)) {
                ++piece;
            }
            prepared[piece].push_back(std::forward<decltype(item)>(item));
        };
        const auto head = old.begin() + static_cast<std::ptrdiff_t>(place.offset);
        std::for_each(std::make_move_iterator(old.begin()), std::make_move_iterator(head), put);
        std::for_each(first, last, put);
        std::for_each(
            std::make_move_iterator(head + static_cast<std::ptrdiff_t>(place.removedHere)),
            std::make_move_iterator(old.end()), put);
        old.swap(prepared.front()); // the removed items go with the old chunk
        chunks.insert(chunks.begin() + static_cast<std::ptrdiff_t>(place.chunk) + 1,
                      std::make_move_iterator(prepared.begin() + 1),
                      std::make_move_iterator(prepared.end()));
        starts.resize(chunks.size());
        prepared.clear();
        return nbPieces;
    }
    ///@{
    /// The last chunk whose start is at or before position: the one holding it, or, for the end,
    /// the last chunk.
    std::size_t chunkOf(std::size_t position) const noexcept {
        const auto after = std::upper_bound(starts.begin(), starts.end(), position);
        return static_cast<std::size_t>(after - starts.begin()) - 1;
    }
    void take(std::vector<Flat> &&filled, std::vector<std::size_t> &&filledStarts,
              std::size_t count) noexcept {
        chunks.swap(filled);
        starts.swap(filledStarts);
        total = count;
    }
    void removeFromFronts(std::size_t c, std::size_t count) noexcept {
        for (; count > 0; ++c) {
            const std::size_t here = std::min(count, chunks[c].size());
            replaceRelocating(chunks[c], 0, here, static_cast<const Item *>(nullptr),
                              static_cast<const Item *>(nullptr));
            count -= here;
        }
    }
    void restart(std::size_t c) noexcept {
        for (std::size_t i = c + 1; i < chunks.size(); ++i) {
            starts[i] = starts[i - 1] + chunks[i - 1].size();
        }
    }
    ///@}
    ///@{
    /// Only the last chunk a splice wrote, c, and a run of chunks after it can have emptied; the
    /// list keeps no empty chunk. The starts are right already: an empty chunk starts where the
    /// next one does.
    void dropEmptyChunks(std::size_t c) noexcept {
        const std::size_t first = c < chunks.size() && !chunks[c].empty() ? c + 1 : c;
        std::size_t last = first;
        while (last < chunks.size() && chunks[last].empty()) {
            ++last;
        }
        chunks.erase(chunks.begin() + static_cast<std::ptrdiff_t>(first),
                     chunks.begin() + static_cast<std::ptrdiff_t>(last));
        starts.erase(starts.begin() + static_cast<std::ptrdiff_t>(first),
                     starts.begin() + static_cast<std::ptrdiff_t>(last));
    }
    std::vector<Flat> chunks;
    std::vector<std::size_t> starts; // position of each chunk's first item
    std::size_t total = 0;
    ///@}
    /// The pieces reserveSplice made for a splice that lengthens its chunk past 2 kChunk.
    std::vector<Flat> prepared;
};

} // namespace Vo
