// NodePool.h - fixed-size slots for the nodes of one parsed tree (internal).
//
// A document creates one element or attribute per start tag and attribute. Taking each from
// the general heap would cost a heap call per node and spread the tree over the address
// space; the pool carves slots out of blocks that grow geometrically (so small documents
// stay small) and reuses the slots that an element filter frees, so a filtered document of
// any size runs in the memory of the elements it keeps.
//
//   NodePool<CXmlElement> pool;
//   CXmlElement* e = new (pool.Allocate()) CXmlElement(document);
//   e->~CXmlElement();
//   pool.Free(e);
//   pool.Release();            // drops every block; all nodes must be destroyed first
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

namespace QxXmlLib10 {
namespace detail {

template <class T>
class NodePool {
public:
    NodePool() = default;
    NodePool(const NodePool&) = delete;
    NodePool& operator=(const NodePool&) = delete;
    ~NodePool() { Release(); }

    // Raw storage for one T (constructed by the caller with placement new).
    void* Allocate() {
        if (m_free != nullptr) {
            FreeSlot* slot = m_free;
            m_free = slot->next;
            return slot;
        }
        if (m_next == m_end) Grow();
        void* slot = m_next;
        m_next += kSlotBytes;
        return slot;
    }

    // Returns the storage of a destroyed T for reuse.
    void Free(void* slot) noexcept {
        FreeSlot* freed = static_cast<FreeSlot*>(slot);
        freed->next = m_free;
        m_free = freed;
    }

    // Gives every block back to the heap. The T objects must already be destroyed.
    void Release() noexcept {
        for (void* block : m_blocks) ::operator delete(block);
        m_blocks.clear();
        m_next = m_end = nullptr;
        m_free = nullptr;
        m_nextBlockBytes = kFirstBlockBytes;
    }

private:
    struct FreeSlot {
        FreeSlot* next;
    };
    static constexpr size_t kAlign = alignof(T) > alignof(FreeSlot) ? alignof(T) : alignof(FreeSlot);
    static constexpr size_t kSlotBytes =
        (std::max(sizeof(T), sizeof(FreeSlot)) + kAlign - 1) / kAlign * kAlign;
    static_assert(kAlign <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "blocks come from plain operator new");
    // 4 KiB at first, doubling up to 256 KiB: a one-element document costs one small block,
    // a large one a few hundred heap calls in all.
    static constexpr size_t kFirstBlockBytes = 4096;
    static constexpr size_t kLargestBlockBytes = 256 * 1024;

    void Grow() {
        const size_t bytes = std::max(m_nextBlockBytes, kSlotBytes);
        m_blocks.reserve(m_blocks.size() + 1);
        char* block = static_cast<char*>(::operator new(bytes));
        m_blocks.push_back(block);
        m_next = block;
        m_end = block + bytes / kSlotBytes * kSlotBytes;
        m_nextBlockBytes = std::min(m_nextBlockBytes * 2, kLargestBlockBytes);
    }

    std::vector<void*> m_blocks;
    char* m_next = nullptr;
    char* m_end = nullptr;
    FreeSlot* m_free = nullptr;
    size_t m_nextBlockBytes = kFirstBlockBytes;
};

}  // namespace detail
}  // namespace QxXmlLib10
