#include "TestAllocator.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

// Plain thread-local values (no constructor runs): read by every allocation, also before main.
thread_local bool counting = false;
thread_local long counted = 0;
thread_local long failAt = 0;

// False when this allocation is the armed one.
bool mayAllocate() noexcept { return !counting || ++counted != failAt; }

void *allocate(std::size_t size) noexcept {
    return mayAllocate() ? std::malloc(size == 0 ? 1 : size) : nullptr;
}

void *allocateAligned(std::size_t size, std::align_val_t alignment) noexcept {
    if (!mayAllocate()) {
        return nullptr;
    }
    // aligned_alloc wants a size that is a multiple of the alignment.
    const auto align = std::max(static_cast<std::size_t>(alignment), sizeof(void *));
    return std::aligned_alloc(align, (std::max<std::size_t>(size, 1) + align - 1) / align * align);
}

void *orThrow(void *memory) {
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

} // namespace

namespace VoTest {

void TestAllocator::arm(long nth) noexcept {
    counted = 0;
    failAt = nth;
    counting = true;
}

void TestAllocator::disarm() noexcept {
    counting = false;
    failAt = 0;
}

long TestAllocator::allocations() noexcept { return counted; }

} // namespace VoTest

void *operator new(std::size_t size) { return orThrow(allocate(size)); }
void *operator new[](std::size_t size) { return orThrow(allocate(size)); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return allocate(size); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return allocate(size); }
void *operator new(std::size_t size, std::align_val_t alignment) {
    return orThrow(allocateAligned(size, alignment));
}
void *operator new[](std::size_t size, std::align_val_t alignment) {
    return orThrow(allocateAligned(size, alignment));
}
void *operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t &) noexcept {
    return allocateAligned(size, alignment);
}
void *operator new[](std::size_t size, std::align_val_t alignment,
                     const std::nothrow_t &) noexcept {
    return allocateAligned(size, alignment);
}

void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete[](void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void *memory, const std::nothrow_t &) noexcept { std::free(memory); }
void operator delete[](void *memory, const std::nothrow_t &) noexcept { std::free(memory); }
void operator delete(void *memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void *memory, std::align_val_t, const std::nothrow_t &) noexcept {
    std::free(memory);
}
void operator delete[](void *memory, std::align_val_t, const std::nothrow_t &) noexcept {
    std::free(memory);
}
