#pragma once

#include <cstdint>
#include <unordered_map>

namespace VoEditor {

// Where the identity keys of shapes built again went: undoing a shape's deletion builds it anew,
// with a new graph object and so a new key, while the undo steps kept before name the old one.
// Owns the pairs from an old key to the key that replaced it; a key replaced again follows on.
class EditorKeyMap {
public:
    void replace(std::uint64_t old, std::uint64_t now) { replaced[old] = now; }
    // The key that stands for `key` now: itself when it was never replaced. Follows one pair per
    // undo of the same deletion.
    std::uint64_t current(std::uint64_t key) const {
        for (auto found = replaced.find(key); found != replaced.end(); found = replaced.find(key)) {
            key = found->second;
        }
        return key;
    }
    void clear() noexcept { replaced.clear(); }

private:
    std::unordered_map<std::uint64_t, std::uint64_t> replaced;
};

} // namespace VoEditor
