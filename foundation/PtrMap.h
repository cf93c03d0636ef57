#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace Vo {

// A hash map from non-null pointer to a small value, stored flat: one array of key/value slots
// probed linearly, kept at most half full, so a lookup usually touches one cache line. Owns its
// slots, not what the keys point to; erasing shifts the following slots back (no tombstones).
// Inserting may move every value: pointers from find() hold only until the next insert.
template <class K, class V> class PtrMap {
public:
    std::size_t size() const noexcept { return count; }
    bool empty() const noexcept { return count == 0; }

    // The value stored for key, or null.
    V *find(K key) noexcept {
        const std::size_t i = indexOf(key);
        return i == kAbsent ? nullptr : &slots[i].value;
    }
    const V *find(K key) const noexcept {
        const std::size_t i = indexOf(key);
        return i == kAbsent ? nullptr : &slots[i].value;
    }
    // Adds key (not null) with value; false, and nothing changed, when key is present. Growing
    // may throw, and then nothing has changed either.
    bool insert(K key, V value) {
        if (indexOf(key) != kAbsent) {
            return false;
        }
        if (2 * (count + 1) > slots.size()) {
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
        // Backward shift: move each following slot into the hole unless its home lies
        // cyclically within (hole, i], where it would no longer be found.
        for (std::size_t i = next(hole); slots[i].key != nullptr; i = next(i)) {
            const std::size_t want = home(slots[i].key);
            const bool stays = hole < i ? (hole < want && want <= i) : (hole < want || want <= i);
            if (!stays) {
                slots[hole] = std::move(slots[i]);
                hole = i;
            }
        }
        slots[hole] = Slot();
        --count;
        return true;
    }
    // Forgets every entry and releases the slots.
    void clear() noexcept {
        std::vector<Slot>().swap(slots);
        log2Size = 0;
        count = 0;
    }

private:
    struct Slot {
        K key = nullptr;
        V value = V();
    };

    static constexpr std::size_t kAbsent = ~std::size_t(0);

    std::size_t indexOf(K key) const noexcept {
        if (count == 0 || key == nullptr) {
            return kAbsent;
        }
        for (std::size_t i = home(key);; i = next(i)) {
            if (slots[i].key == key) {
                return i;
            }
            if (slots[i].key == nullptr) {
                return kAbsent;
            }
        }
    }
    std::size_t home(K key) const noexcept {
        // Fibonacci hashing: the high bits of the product mix every bit of the address.
        const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
        return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> (64 - log2Size));
    }
    std::size_t next(std::size_t i) const noexcept { return (i + 1) & (slots.size() - 1); }

    // Writes a key known to be absent; there is a free slot.
    void place(K key, V value) noexcept {
        std::size_t i = home(key);
        while (slots[i].key != nullptr) {
            i = next(i);
        }
        slots[i].key = key;
        slots[i].value = std::move(value);
    }
    void grow() {
        std::vector<Slot> grown(slots.empty() ? std::size_t(8) : 2 * slots.size());
        grown.swap(slots);
        const unsigned oldLog2 = log2Size;
        log2Size = oldLog2 == 0 ? 3 : oldLog2 + 1;
        for (Slot &slot : grown) {
            if (slot.key != nullptr) {
                place(slot.key, std::move(slot.value));
            }
        }
    }

    std::vector<Slot> slots; // empty, or a power of two in size
    unsigned log2Size = 0;
    std::size_t count = 0;
};

} // namespace Vo
