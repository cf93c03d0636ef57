#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#include <pthread.h>

#if defined(__GNUC__) || defined(__clang__)
#define VO_FREE_LIST_TLS __attribute__((tls_model("initial-exec")))
#else
#define VO_FREE_LIST_TLS
#endif

namespace Vo {

/// Freed blocks of one size kept per thread for the next allocations of the same class, instead of
/// going back to the heap: for classes with many small objects made and freed together (selection
/// items: a selection of 10^6 of them freed and built again then costs no heap call). Use it from
/// the class's operator new and sized operator delete; any other size (a derived class) goes to the
/// heap. Holds at most maxBlocks blocks a thread, which go back to the heap when the thread ends
/// (for the thread that calls exit, at exit); after that, blocks freed on the thread (static
/// objects destroyed at exit) go straight back too. A thread whose end cannot be watched (no thread
/// key to be had) keeps nothing. Sanitizer builds use the heap alone, so that a use after free is
/// still caught.
template <std::size_t Size> class FreeList {
public:
    /// Enough for the items of a selection of 2 x 10^6 inputs (10^6 points), so that selecting
    /// them all again after unselecting them costs no heap call; what a thread keeps is at most
    /// what it once had allocated at the same time.
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
    /// Whether blocks are kept for reuse: not under a sanitizer, which must see every allocation.
    static constexpr bool enabled = true;
#endif

    FreeList() = delete;

    /// A block of `size` bytes: a kept one when the size is the list's, else a new one.
    /// \param size the number of bytes; any size, only the list's own is kept and reused
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

    /// Gives a block back: kept for reuse when there is room, else deleted.
    /// \param memory the block, from allocate; not null
    /// \param size the size it was allocated with
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

    /// Blocks kept by the calling thread.
    static std::size_t getNbKept() noexcept { return cache.count; }

private:
    static_assert(Size >= sizeof(void *), "a block must hold the link to the next one");

    struct Block {
        Block *next;
    };
    /// Plain data, constant-initialised: reaching it is one load relative to the thread pointer,
    /// with no initialisation check (what an item's allocation costs is mostly this look-up).
    struct Cache {
        Block *head;
        std::size_t count;
        bool watched; // its end is registered with the thread key
        bool closed;  // the thread is ending: blocks go straight back to the heap
    };
    /// The process's thread key whose destructor gives an ending thread's blocks back. Plain data,
    /// constant-initialised; made on the first block kept, by any thread.
    struct ThreadKey {
        pthread_once_t once;
        pthread_key_t key;
        std::atomic<bool> made;
    };

    /// Gives the calling thread's blocks back to the heap, for good.
    static void releaseThread(void *) noexcept {
        cache.closed = true;
        while (cache.head != nullptr) {
            Block *next = cache.head->next;
            ::operator delete(cache.head);
            cache.head = next;
        }
        cache.count = 0;
    }
    ///@{
    /// The key goes with the library: at exit or when the library is unloaded, after which no
    /// ending thread may call into it. The exiting thread, which runs no key destructor, gives its
    /// blocks back here.
    static void deleteKey() noexcept {
        threadKey.made = false;
        pthread_key_delete(threadKey.key);
        releaseThread(nullptr);
    }
    static void makeKey() noexcept {
        if (pthread_key_create(&threadKey.key, &releaseThread) != 0) {
            return;
        }
        if (std::atexit(&deleteKey) != 0) {
            pthread_key_delete(threadKey.key);
            return;
        }
        threadKey.made = true;
    }
    ///@}
    /// Registers the thread's end on its first kept block; false when that fails (no block is kept
    /// then). A thread_local object with a destructor would do it too, but the C library ends the
    /// process when it runs out of memory registering one, where a key reports its failure.
    static bool watch() noexcept {
        if (pthread_once(&threadKey.once, &makeKey) != 0 || !threadKey.made ||
            pthread_setspecific(threadKey.key, &cache) != 0) {
            return false;
        }
        cache.watched = true;
        return true;
    }

    static inline ThreadKey threadKey = {PTHREAD_ONCE_INIT, {}, {false}};
    /// Initial-exec: the libraries using it are loaded with the program, or by an interpreter
    /// whose static thread-local room holds these few words.
    static inline thread_local Cache cache VO_FREE_LIST_TLS = {nullptr, 0, false, false};
};

} // namespace Vo
