#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace Vo {

/// A hash map from a pointer or integer key to a small value, stored flat: one array of key/value
/// cells probed linearly, kept at most half full, so a lookup usually touches one cache line and an
/// entry costs no allocation of its own. kEmpty marks a free cell and is never a key (inserting it
/// does nothing, finding it finds nothing). Owns its cells, not what keys point to; erasing shifts
/// the following cells back (no tombstones). Inserting may move every value: pointers from find()
/// hold only until the next insert or reserve.
template <class K, class V, K kEmpty> class FlatMap {
    static_assert(std::is_pointer_v<K> || std::is_integral_v<K>, "keys are pointers or integers");

public:
    ///@{
    /// The number of entries; whether there is none.
    std::size_t size() const noexcept { return count; }
    bool empty() const noexcept { return count == 0; }
    ///@}
    /// The cells held: twice the entries at least, a power of two, or none.
    std::size_t capacity() const noexcept { return cells.size(); }

    ///@{
    /// The value stored for key, or null.
    /// \param key the key looked for; kEmpty finds nothing
    V *find(K key) noexcept {
        const std::size_t i = indexOf(key);
        return i == kAbsent ? nullptr : &cells[i].value;
    }
    const V *find(K key) const noexcept {
        const std::size_t i = indexOf(key);
        return i == kAbsent ? nullptr : &cells[i].value;
    }
    bool contains(K key) const noexcept { return indexOf(key) != kAbsent; }
    ///@}
    /// Asks the processor to load the cell where key's probe starts. A caller filling a table
    /// larger than the cache prefetches a few keys ahead of the one it inserts, so the misses
    /// overlap.
    /// \param key a key about to be looked up or inserted
    void prefetch(K key) const noexcept {
        if (!cells.empty()) {
            __builtin_prefetch(&cells[home(key)]);
        }
    }
    /// Adds key with value; false, and nothing changed, when key is present or kEmpty. Growing may
    /// throw, and then nothing has changed either.
    /// \param key the new key
    /// \param value what to store under it
    bool insert(K key, V value) {
        if (key == kEmpty || indexOf(key) != kAbsent) {
            return false;
        }
        reserve(count + 1);
        place(key, std::move(value));
        ++count;
        return true;
    }
    /// The value stored for key, made value-initialised when absent: one probe either way. Raises
    /// std::invalid_argument for kEmpty; growing may throw, and then nothing has changed either.
    /// \param key the key looked for or added
    V &findOrInsert(K key) {
        if (key == kEmpty) {
            throw std::invalid_argument("the free-cell mark is no key of a FlatMap");
        }
        reserve(count + 1);
        std::size_t i = home(key);
        while (cells[i].key != key && cells[i].key != kEmpty) {
            i = next(i);
        }
        if (cells[i].key == kEmpty) {
            cells[i] = Cell{key, V()};
            ++count;
        }
        return cells[i].value;
    }
    /// Makes room for entries keys in all, so that inserting up to that many cannot throw. May
    /// throw, and then nothing has changed.
    /// \param entries the number of entries to hold, counting those held
    void reserve(std::size_t entries) {
        const std::size_t size = cellsFor(entries, cells.size());
        if (size != cells.size()) {
            rehash(size);
        }
    }
    /// False when key is absent.
    /// \param key the key whose entry goes; kEmpty erases nothing
    bool erase(K key) noexcept {
        const std::size_t hole = indexOf(key);
        if (hole == kAbsent) {
            return false;
        }
        eraseAt(hole);
        return true;
    }

    /// As a multimap, several entries under one key (use these alone on such a map: find, insert
    /// and erase see the first entry of a key only). Adds an entry whether or not key has some;
    /// kEmpty is refused as findOrInsert refuses it. Growing may throw, nothing changed then.
    /// \param key the key, present or not
    /// \param value what to store under it
    void insertAnother(K key, V value) {
        if (key == kEmpty) {
            throw std::invalid_argument("the free-cell mark is no key of a FlatMap");
        }
        reserve(count + 1);
        place(key, std::move(value));
        ++count;
    }
    /// Asks visit(value) of the entries of key, in probe order, until one answers true; true then.
    /// \param key the key whose entries are visited; kEmpty has none
    /// \param visit called with a const value, answers whether to stop
    template <class F> bool anyWith(K key, F visit) const {
        if (count == 0 || key == kEmpty) {
            return false;
        }
        for (std::size_t i = home(key); cells[i].key != kEmpty; i = next(i)) {
            if (cells[i].key == key && visit(cells[i].value)) {
                return true;
            }
        }
        return false;
    }
    /// Erases the first entry of key whose value `matches`; false when there is none.
    /// \param key the key whose entries are looked at; kEmpty has none
    /// \param matches called with a value, answers whether it is the one; must not throw
    template <class P> bool eraseFirstWith(K key, P matches) noexcept {
        if (count == 0 || key == kEmpty) {
            return false;
        }
        for (std::size_t i = home(key); cells[i].key != kEmpty; i = next(i)) {
            if (cells[i].key == key && matches(cells[i].value)) {
                eraseAt(i);
                return true;
            }
        }
        return false;
    }
    /// Erases every key for which isErased(key) is true (it may be asked more than once about a
    /// key it kept); never allocates.
    /// \param isErased called with a key, answers whether its entry goes; must not throw nor
    /// change the map
    template <class P> void eraseIf(P isErased) noexcept {
        if (count == 0) {
            return; // the cells may still be there, all of them free
        }
        // An erase shifts later cells of the same run back into the hole, so the cell just
        // emptied is looked at again. Cells only move backwards within a run, which this scan
        // has not passed yet, or, for a run that wraps around, from its start, already judged.
        for (std::size_t i = 0; i < cells.size();) {
            if (cells[i].key != kEmpty && isErased(cells[i].key)) {
                erase(cells[i].key);
            } else {
                ++i;
            }
        }
    }
    /// Exchanges the entries of the two maps, allocating nothing.
    /// \param other the map whose entries this one takes, and which takes this one's
    void swap(FlatMap &other) noexcept {
        cells.swap(other.cells);
        std::swap(log2Size, other.log2Size);
        std::swap(count, other.count);
    }
    /// Forgets every entry and releases the cells.
    void clear() noexcept {
        std::vector<Cell>().swap(cells);
        log2Size = 0;
        count = 0;
    }
    /// Forgets every entry and makes room for `entries`. Keeps the cells when they are at most four
    /// times what that needs, or when the map is emptied (the usual next step is a refill): a map
    /// refilled to about the same size each time allocates nothing, and one refilled much smaller
    /// gives its cells back.
    /// \param entries the number of entries the next refill is expected to insert
    void clearFor(std::size_t entries) {
        const std::size_t size = cellsFor(entries, 0);
        if (cells.size() < size || (entries != 0 && cells.size() > 4 * size)) {
            clear();
            reserve(entries);
            return;
        }
        std::fill(cells.begin(), cells.end(), Cell());
        count = 0;
    }

private:
    struct Cell {
        K key = kEmpty;
        V value = V();
    };

    static constexpr std::size_t kAbsent = ~std::size_t(0);

    /// The number of cells that holds `entries` at most half full, starting from `from` (never
    /// fewer cells, and at least 8).
    static std::size_t cellsFor(std::size_t entries, std::size_t from) noexcept {
        std::size_t size = from == 0 ? std::size_t(8) : from;
        while (2 * entries > size) {
            size *= 2;
        }
        return size;
    }

    std::size_t indexOf(K key) const noexcept {
        if (count == 0 || key == kEmpty) {
            return kAbsent;
        }
        for (std::size_t i = home(key);; i = next(i)) {
            if (cells[i].key == key) {
                return i;
            }
            if (cells[i].key == kEmpty) {
                return kAbsent;
            }
        }
    }
    std::size_t home(K key) const noexcept {
        // A full 64-bit mix (two multiplies): plain Fibonacci hashing spreads addresses well for
        // some object sizes and clusters them for others, up to five times slower at 1,000 keys.
        std::uint64_t bits = 0;
        if constexpr (std::is_pointer_v<K>) {
            bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
        } else {
            bits = static_cast<std::uint64_t>(key);
        }
        bits = (bits ^ (bits >> 33)) * 0xFF51AFD7ED558CCDull;
        bits = (bits ^ (bits >> 33)) * 0xC4CEB9FE1A85EC53ull;
        return static_cast<std::size_t>((bits ^ (bits >> 33)) >> (64 - log2Size));
    }
    std::size_t next(std::size_t i) const noexcept { return (i + 1) & (cells.size() - 1); }

    /// Empties the cell at hole by a backward shift: each following cell moves into the hole unless
    /// its home lies cyclically within (hole, i], where it would no longer be found.
    void eraseAt(std::size_t hole) noexcept {
        for (std::size_t i = next(hole); cells[i].key != kEmpty; i = next(i)) {
            const std::size_t want = home(cells[i].key);
            const bool stays = hole < i ? (hole < want && want <= i) : (hole < want || want <= i);
            if (!stays) {
                cells[hole] = std::move(cells[i]);
                hole = i;
            }
        }
        cells[hole] = Cell();
        --count;
    }

    ///@{
    /// Writes a key known to be absent; there is a free cell.
    void place(K key, V value) noexcept {
        std::size_t i = home(key);
        while (cells[i].key != kEmpty) {
            i = next(i);
        }
        cells[i].key = key;
        cells[i].value = std::move(value);
    }
    void rehash(std::size_t size) {
        std::vector<Cell> old(size);
        old.swap(cells);
        log2Size = 0;
        while ((std::size_t(1) << log2Size) < size) {
            ++log2Size;
        }
        for (Cell &cell : old) {
            if (cell.key != kEmpty) {
                place(cell.key, std::move(cell.value));
            }
        }
    }
    ///@}

    std::vector<Cell> cells; // empty, or a power of two in size
    unsigned log2Size = 0;
    std::size_t count = 0;
};

} // namespace Vo
