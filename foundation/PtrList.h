#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace Vo {

/// A short ordered list of non-null plain pointers whose first entry sits inline, so that the usual
/// single entry (a handler on one list, an observer of one subject) costs no allocation and no
/// second cache line. Owns nothing the entries point to.
template <class P> class PtrList {
public:
    ///@{
    /// The number of entries; whether there is none.
    std::size_t size() const noexcept { return head == nullptr ? 0 : 1 + rest.size(); }
    bool empty() const noexcept { return head == nullptr; }
    ///@}
    /// The entry at `i`, which must be below size().
    /// \param i the index, from 0
    P operator[](std::size_t i) const noexcept { return i == 0 ? head : rest[i - 1]; }

    /// Whether `entry` is on the list.
    /// \param entry the pointer looked for
    bool contains(P entry) const noexcept {
        return entry == head || std::find(rest.begin(), rest.end(), entry) != rest.end();
    }
    /// Appends entry (not null). May throw, and then nothing has changed.
    /// \param entry the pointer appended; borrowed, not null
    void push_back(P entry) {
        if (head == nullptr) {
            head = entry;
        } else {
            rest.push_back(entry);
        }
    }
    /// Removes the first occurrence of entry, keeping the order of the others; false when absent.
    /// \param entry the pointer removed; null is never on the list
    bool erase(P entry) noexcept {
        if (entry != nullptr && entry == head) {
            head = rest.empty() ? nullptr : rest.front();
            if (!rest.empty()) {
                rest.erase(rest.begin());
            }
            return true;
        }
        const auto found = std::find(rest.begin(), rest.end(), entry);
        if (found == rest.end()) {
            return false;
        }
        rest.erase(found);
        return true;
    }
    /// Removes every entry.
    void clear() noexcept {
        head = nullptr;
        rest.clear();
    }
    /// Exchanges the entries of the two lists.
    /// \param other the list whose entries this one takes, and which takes this one's
    void swap(PtrList &other) noexcept {
        std::swap(head, other.head);
        rest.swap(other.rest);
    }

private:
    P head = nullptr;
    std::vector<P> rest; // the entries after the first, in order
};

} // namespace Vo
