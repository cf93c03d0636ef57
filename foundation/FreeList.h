#pragma once

#include <cstddef>
#include <new>

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
    static constexpr std::size_t maxBlocks = std::size_t(1) << 20;
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
        if (!enabled || size != Size || closed || cache.head == nullptr) {
            return ::operator new(size);
        }
        Block *block = cache.head;
        cache.head = block->next;
        --cache.count;
        return block;
    }

    static void release(void *memory, std::size_t size) noexcept {
        if (!enabled || size != Size || closed || cache.count >= maxBlocks) {
            ::operator delete(memory);
            return;
        }
        Block *block = ::new (memory) Block{cache.head};
        cache.head = block;
        ++cache.count;
    }

    // Blocks kept by the calling thread.
    static std::size_t getNbKept() noexcept { return closed ? 0 : cache.count; }

private:
    static_assert(Size >= sizeof(void *), "a block must hold the link to the next one");

    struct Block {
        Block *next;
    };
    struct Cache {
        Block *head = nullptr;
        std::size_t count = 0;
        ~Cache() {
            closed = true;
            while (head != nullptr) {
                Block *next = head->next;
                ::operator delete(head);
                head = next;
            }
        }
    };

    // Trivially destructible, so still readable once the cache is gone.
    static inline thread_local bool closed = false;
    static inline thread_local Cache cache;
};

} // namespace Vo
