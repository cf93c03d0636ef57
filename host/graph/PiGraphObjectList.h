#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../../foundation/Vector.h"
#include "PiGraphObject.h"
#include "PiInput.h"

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace Vo {

/// The ordered graph objects that one container owns: a node's inputs or objects, the sub-inputs of
/// a structured input, the components of a composite input, the elements of a multi-valued input.
/// Owns its objects and a count of its objects by name, so that appendUnique and a find that fails
/// cost O(1) on average; cuts an object off from its node when it drops it. Indices are 0-based. A
/// list of inputs gives each input its parent (the list's holder) at once and clears it when it
/// drops the input or is destroyed; the inputs' indices are brought up to date when one is asked
/// for (settle), so that a run of insertions costs no more than the insertions themselves. A node's
/// lists, which no parent can settle, keep them up to date at once.
template <class T> class PiGraphObjectList {
public:
    /// An empty list.
    /// \param input the input whose list this is, which owns it; null for a node's lists
    explicit PiGraphObjectList(PiInput *input = nullptr) noexcept : holder(input) {}
    PiGraphObjectList(const PiGraphObjectList &) = delete;
    PiGraphObjectList &operator=(const PiGraphObjectList &) = delete;
    /// Lets go of the objects; each input held loses its parent and index.
    ~PiGraphObjectList() {
        for (const RCShdPtr<T> &object : objects) {
            unplace(*object);
        }
    }

    /// The number of objects.
    int getSize() const noexcept { return static_cast<int>(objects.size()); }
    /// Whether `index` names an object of the list.
    /// \param index any value
    bool isIndex(int index) const noexcept { return index >= 0 && index < getSize(); }
    /// Null when index is out of range.
    /// \param index the object's place, 0 .. getSize() - 1
    RCShdPtr<T> get(int index) const { return isIndex(index) ? objects[index] : RCShdPtr<T>(); }
    /// The first object with that name; null when there is none.
    /// \param name the name looked for
    RCShdPtr<T> find(const std::string &name) const {
        if (names.find(name) == names.end()) {
            return RCShdPtr<T>();
        }
        for (const RCShdPtr<T> &object : objects) {
            if (object->getName() == name) {
                return object;
            }
        }
        return RCShdPtr<T>();
    }
    /// A copy of the list as it is now, for iterators that must not see later changes.
    std::shared_ptr<const std::vector<RCShdPtr<T>>> snapshot() const {
        return std::make_shared<const std::vector<RCShdPtr<T>>>(objects);
    }

    /// Makes room for `count` objects.
    /// \param count the number of objects in all, counting those held; not negative
    void reserve(int count) { objects.reserve(static_cast<std::size_t>(count)); }
    /// Appends `object` at the end.
    /// \param object the object, not null, owned by no other list
    void append(RCShdPtr<T> object) {
        objects.reserve(objects.size() + 1 > objects.capacity() ? 2 * objects.size() + 1 : 0);
        countName(*object);
        objects.push_back(std::move(object));
        placed(objects.size() - 1);
    }
    /// Appends the object that make() gives, unless the list holds one of that name already. Gives
    /// the new object, or null without calling make.
    /// \param name the name the new object will have
    /// \param make called with nothing, gives the new object, named `name`, not null
    template <class Make>
    auto appendUnique(const std::string &name, Make make) -> decltype(make()) {
        if (names.find(name) != names.end()) {
            return nullptr;
        }
        auto object = make();
        append(object);
        return object;
    }
    /// index must lie in [0, getSize()].
    /// \param index the object's place from now on
    /// \param object the object, not null, owned by no other list
    void insert(int index, RCShdPtr<T> object) {
        objects.reserve(objects.size() + 1 > objects.capacity() ? 2 * objects.size() + 1 : 0);
        countName(*object);
        objects.insert(objects.begin() + index, std::move(object));
        placed(static_cast<std::size_t>(index));
    }
    /// The index of that very object (identity, as graph objects exist once); -1 when it is not
    /// held.
    /// \param object the object looked for
    int indexOf(const PiGraphObject &object) const noexcept {
        for (int index = 0; index < getSize(); ++index) {
            if (objects[index].get() == &object) {
                return index;
            }
        }
        return -1;
    }
    /// Drops that very object and cuts it off from its node; false when the list does not hold it.
    /// \param object the object dropped
    bool remove(const PiGraphObject &object) noexcept {
        const int index = indexOf(object);
        if (index >= 0) {
            remove(index);
        }
        return index >= 0;
    }
    /// Drops the object at index (which must be valid) and cuts it off from its node.
    /// \param index the object's place, 0 .. getSize() - 1
    void remove(int index) noexcept {
        const auto named = names.find(objects[index]->getName());
        if (--named->second == 0) {
            names.erase(named);
        }
        detach(*objects[index]);
        unplace(*objects[index]);
        objects.erase(objects.begin() + index);
        moved(static_cast<std::size_t>(index));
    }
    /// Cuts every object off from its node: the container is leaving the node, or the node is gone.
    void detachAll() noexcept {
        for (const RCShdPtr<T> &object : objects) {
            detach(*object);
        }
    }
    /// Brings the indices of the inputs held up to date: linear in the objects from the first
    /// insertion or removal since the last call, nothing when there was none.
    void settle() const noexcept {
        if constexpr (std::is_base_of_v<PiInput, T>) {
            for (std::size_t i = settled; i < objects.size(); ++i) {
                objects[i]->index = static_cast<int>(i);
            }
            settled = objects.size();
        }
    }

private:
    /// Reached through the base, where this list is a friend.
    static void detach(PiGraphObject &object) noexcept { object.detachFromNode(); }
    /// Before the object goes in: room is made first, so nothing can fail after the count.
    void countName(const T &object) { ++names[object.getName()]; }
    /// A new object at `at`: its parent now, its index and the later ones' when settled.
    void placed(std::size_t at) noexcept {
        if constexpr (std::is_base_of_v<PiInput, T>) {
            objects[at]->parent = holder;
            objects[at]->index = -1;
        }
        moved(at);
    }
    ///@{
    /// The objects from `first` on have moved.
    void moved(std::size_t first) noexcept {
        settled = first < settled ? first : settled;
        if (holder == nullptr) {
            settle();
        }
    }
    static void unplace([[maybe_unused]] T &object) noexcept {
        if constexpr (std::is_base_of_v<PiInput, T>) {
            object.parent = nullptr;
            object.index = -1;
        }
    }
    ///@}

    PiInput *holder;
    Vector<RCShdPtr<T>> objects;
    mutable std::size_t settled = 0; // the objects before it have their indices up to date
    std::unordered_map<std::string, int> names;
};

} // namespace Vo
