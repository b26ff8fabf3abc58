#pragma once
// Memory for the world's many small, long-lived objects (placed objects and
// their placement records). Blocks are cut from 2 MB chunks that the system
// may back with huge pages, so that a walk over thousands of objects does not
// miss the address-translation cache at nearly every one, as it does when
// they lie scattered over thousands of small pages. Every block is aligned to
// a cache line. A freed block waits for the next request of its size class
// and is never given back to the system.

#include <array>
#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

namespace qv {

inline constexpr size_t kPoolAlign = 64;

class BlockPool {
public:
    // Each chunk is one huge page; blocks above kLargest come from the system.
    static constexpr size_t kChunk = size_t{2} << 20;
    static constexpr size_t kLargest = 4096;

    BlockPool() = default;
    // The program's pool lives to the end; a pool made for a test gives its
    // chunks back.
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // A block of at least `size` bytes, 64-byte aligned; throws std::bad_alloc.
    void* Allocate(size_t size);
    // `size` must be the size asked for when the block was allocated.
    void Free(void* block, size_t size) noexcept;
    // How many chunks have been taken from the system.
    size_t ChunkCount() const { return m_chunks.size(); }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    // Size classes in steps of 64 bytes: class 1 is 1..64, class 64 is 4096.
    static size_t ClassOf(size_t size) {
        return ((size == 0 ? 1 : size) + kPoolAlign - 1) / kPoolAlign;
    }

    std::mutex m_lock;
    std::array<FreeBlock*, kLargest / kPoolAlign + 1> m_free{};
    char* m_cursor = nullptr;
    char* m_end = nullptr;
    std::vector<void*> m_chunks;
};

// The program's pool. Under AddressSanitizer these use the system allocator
// instead, so that a use after free is still caught.
void* PoolAllocate(size_t size);
void PoolFree(void* block, size_t size) noexcept;

}  // namespace qv

// Inside a class: its objects, and those of every class derived from it,
// come from the program's pool. The class must have a virtual destructor so
// that the size freed is the size allocated.
#define QV_POOLED_ALLOCATION                                                                \
    static void* operator new(std::size_t size) {                                           \
        return qv::PoolAllocate(size);                                                      \
    }                                                                                       \
    static void* operator new(std::size_t size, std::align_val_t) {                         \
        return qv::PoolAllocate(size);                                                      \
    }                                                                                       \
    static void operator delete(void* block, std::size_t size) noexcept {                   \
        qv::PoolFree(block, size);                                                          \
    }                                                                                       \
    static void operator delete(void* block, std::size_t size, std::align_val_t) noexcept { \
        qv::PoolFree(block, size);                                                          \
    }
