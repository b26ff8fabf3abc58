#include "platform/Pool.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define QV_POOL_BYPASS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QV_POOL_BYPASS 1
#endif
#endif

namespace qv {

BlockPool::~BlockPool() {
    for (void* chunk : m_chunks) std::free(chunk);
}

void* BlockPool::Allocate(size_t size) {
    if (size > kLargest) return ::operator new(size, std::align_val_t(kPoolAlign));
    const size_t cls = ClassOf(size);
    const size_t bytes = cls * kPoolAlign;
    std::lock_guard<std::mutex> hold(m_lock);
    if (FreeBlock* block = m_free[cls]) {
        m_free[cls] = block->next;
        return block;
    }
    if (static_cast<size_t>(m_end - m_cursor) < bytes) {
        // What is left of the old chunk (less than one block) is not used.
        void* chunk = std::aligned_alloc(kChunk, kChunk);
        if (!chunk) throw std::bad_alloc();
        m_chunks.push_back(chunk);
        // Only a hint: where huge pages are not to be had, small ones serve.
        madvise(chunk, kChunk, MADV_HUGEPAGE);
        m_cursor = static_cast<char*>(chunk);
        m_end = m_cursor + kChunk;
    }
    void* block = m_cursor;
    m_cursor += bytes;
    return block;
}

void BlockPool::Free(void* block, size_t size) noexcept {
    if (!block) return;
    if (size > kLargest) {
        ::operator delete(block, std::align_val_t(kPoolAlign));
        return;
    }
    const size_t cls = ClassOf(size);
    std::lock_guard<std::mutex> hold(m_lock);
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = m_free[cls];
    m_free[cls] = freed;
}

#ifndef QV_POOL_BYPASS
namespace {
// Never destroyed: objects may still be deleted while the program's statics
// are torn down.
BlockPool& ProgramPool() {
    static BlockPool* pool = new BlockPool;
    return *pool;
}
}  // namespace

void* PoolAllocate(size_t size) {
    return ProgramPool().Allocate(size);
}

void PoolFree(void* block, size_t size) noexcept {
    ProgramPool().Free(block, size);
}
#else
void* PoolAllocate(size_t size) {
    return ::operator new(size, std::align_val_t(kPoolAlign));
}

void PoolFree(void* block, size_t) noexcept {
    ::operator delete(block, std::align_val_t(kPoolAlign));
}
#endif

}  // namespace qv
