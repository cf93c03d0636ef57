#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace Vo {

// A hash map from non-null pointer to a small value, stored flat: one array of key/value cells
// probed linearly, kept at most half full, so a lookup usually touches one cache line. Owns its
// cells, not what the keys point to; erasing shifts the following cells back (no tombstones).
// Inserting may move every value: pointers from find() hold only until the next insert.
template <class K, class V> class PtrMap {
public:
    std::size_t size() const noexcept { return count; }
    bool empty() const noexcept { return count == 0; }

    // The value stored for key, or null.
    V *find(K key) noexcept {
        const std::size_t i = indexOf(key);
        return i == kAbsent ? nullptr : &cells[i].value;
    }
    const V *find(K key) const noexcept {
        const std::size_t i = indexOf(key);
        return i == kAbsent ? nullptr : &cells[i].value;
    }
    // Adds key (not null) with value; false, and nothing changed, when key is present. Growing
    // may throw, and then nothing has changed either.
    bool insert(K key, V value) {
        if (indexOf(key) != kAbsent) {
            return false;
        }
        if (2 * (count + 1) > cells.size()) {
            grow();
        }
        place(key, std::move(value));
        ++count;
        return true;
    }
    // False when key is absent.
    bool erase(K key) noexcept {
        std::size_t hole = indexOf(key);
        if (hole == kAbsent) {
            return false;
        }
        // Backward shift: move each following cell into the hole unless its home lies
        // cyclically within (hole, i], where it would no longer be found.
        for (std::size_t i = next(hole); cells[i].key != nullptr; i = next(i)) {
            const std::size_t want = home(cells[i].key);
            const bool stays = hole < i ? (hole < want && want <= i) : (hole < want || want <= i);
            if (!stays) {
                cells[hole] = std::move(cells[i]);
                hole = i;
            }
        }
        cells[hole] = Cell();
        --count;
        return true;
    }
    // Forgets every entry and releases the cells.
    void clear() noexcept {
        std::vector<Cell>().swap(cells);
        log2Size = 0;
        count = 0;
    }

private:
    struct Cell {
        K key = nullptr;
        V value = V();
    };

    static constexpr std::size_t kAbsent = ~std::size_t(0);

    std::size_t indexOf(K key) const noexcept {
        if (count == 0 || key == nullptr) {
            return kAbsent;
        }
        for (std::size_t i = home(key);; i = next(i)) {
            if (cells[i].key == key) {
                return i;
            }
            if (cells[i].key == nullptr) {
                return kAbsent;
            }
        }
    }
    std::size_t home(K key) const noexcept {
        // Fibonacci hashing: the high bits of the product mix every bit of the address.
        const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
        return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> (64 - log2Size));
    }
    std::size_t next(std::size_t i) const noexcept { return (i + 1) & (cells.size() - 1); }

    // Writes a key known to be absent; there is a free cell.
    void place(K key, V value) noexcept {
        std::size_t i = home(key);
        while (cells[i].key != nullptr) {
            i = next(i);
        }
        cells[i].key = key;
        cells[i].value = std::move(value);
    }
    void grow() {
        std::vector<Cell> grown(cells.empty() ? std::size_t(8) : 2 * cells.size());
        grown.swap(cells);
        const unsigned oldLog2 = log2Size;
        log2Size = oldLog2 == 0 ? 3 : oldLog2 + 1;
        for (Cell &cell : grown) {
            if (cell.key != nullptr) {
                place(cell.key, std::move(cell.value));
            }
        }
    }

    std::vector<Cell> cells; // empty, or a power of two in size
    unsigned log2Size = 0;
    std::size_t count = 0;
};

} // namespace Vo
