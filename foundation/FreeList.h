#pragma once

#include <cstddef>
#include <new>

#if defined(__GNUC__) || defined(__clang__)
#define VO_FREE_LIST_TLS __attribute__((tls_model("initial-exec")))
#else
#define VO_FREE_LIST_TLS
#endif

namespace Vo {

// Freed blocks of one size kept per thread for the next allocations of the same class, instead of
// going back to the heap: for classes with many small objects made and freed together (selection
// items: a selection of 10^6 of them freed and built again then costs no heap call). Use it from
// the class's operator new and sized operator delete; any other size (a derived class) goes to the
// heap. Holds at most maxBlocks blocks a thread, which go back to the heap when the thread ends;
// after that, blocks freed on the thread (static objects destroyed at exit) go straight back too.
// Sanitizer builds use the heap alone, so that a use after free is still caught.
template <std::size_t Size> class FreeList {
public:
    // Enough for the items of a selection of 2 x 10^6 inputs (10^6 points), so that selecting
    // them all again after unselecting them costs no heap call; what a thread keeps is at most
    // what it once had allocated at the same time.
    static constexpr std::size_t maxBlocks = std::size_t(1) << 22;
    // False in sanitizer builds: every block then comes from the heap and goes back to it.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    static constexpr bool enabled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    static constexpr bool enabled = false;
#else
    static constexpr bool enabled = true;
#endif
#else
    static constexpr bool enabled = true;
#endif

    FreeList() = delete;

    static void *allocate(std::size_t size) {
        Cache &kept = cache;
        if (!enabled || size != Size || kept.head == nullptr) {
            return ::operator new(size);
        }
        Block *block = kept.head;
        kept.head = block->next;
        --kept.count;
        return block;
    }

    static void release(void *memory, std::size_t size) noexcept {
        Cache &kept = cache;
        if (!enabled || size != Size || kept.closed || kept.count >= maxBlocks ||
            (!kept.watched && !watch())) {
            ::operator delete(memory);
            return;
        }
        Block *block = ::new (memory) Block{kept.head};
        kept.head = block;
        ++kept.count;
    }

    // Blocks kept by the calling thread.
    static std::size_t getNbKept() noexcept { return cache.count; }

private:
    static_assert(Size >= sizeof(void *), "a block must hold the link to the next one");

    struct Block {
        Block *next;
    };
    // Plain data, constant-initialised: reaching it is one load relative to the thread pointer,
    // with no initialisation check (what an item's allocation costs is mostly this look-up).
    struct Cache {
        Block *head;
        std::size_t count;
        bool watched; // the releaser below is registered
        bool closed;  // the thread is ending: blocks go straight back to the heap
    };
    // Gives the thread's blocks back to the heap when it ends.
    struct Releaser {
        ~Releaser() {
            cache.closed = true;
            while (cache.head != nullptr) {
                Block *next = cache.head->next;
                ::operator delete(cache.head);
                cache.head = next;
            }
            cache.count = 0;
        }
    };
    // Registers the releaser on the thread's first kept block; false when that fails (no block is
    // kept then).
    static bool watch() noexcept {
        try {
            static thread_local Releaser releaser;
            (void)releaser;
            cache.watched = true;
            return true;
        } catch (...) {
            return false;
        }
    }

    // Initial-exec: the libraries using it are loaded with the program, or by an interpreter
    // whose static thread-local room holds these few words.
    static inline thread_local Cache cache VO_FREE_LIST_TLS = {nullptr, 0, false, false};
};

} // namespace Vo
