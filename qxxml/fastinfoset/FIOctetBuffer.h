// FIOctetBuffer.h - the Fast Infoset writer's output buffer, written through raw pointers:
// an item asks once for the most room it can take, writes its octets, and says where it ended.
//
//   char* p = buffer.Room(5);          // at least 5 octets writable at p
//   *p++ = '\xE0';
//   buffer.Done(p);                    // the octets up to p are the buffer's
//
// Growth doubles and happens only in Room, so an item never checks per octet.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace QxXmlLib10 {

class CFIOctetBuffer {
public:
    CFIOctetBuffer() = default;
    CFIOctetBuffer(const CFIOctetBuffer&) = delete;
    CFIOctetBuffer& operator=(const CFIOctetBuffer&) = delete;

    char* Room(size_t count) {
        if (static_cast<size_t>(m_limit - m_end) < count) Grow(count);  // rare: the check stays in line
        return m_end;
    }
    void Done(char* end) noexcept { m_end = end; }

    void Put(unsigned char octet) {
        char* p = Room(1);
        *p = static_cast<char>(octet);
        Done(p + 1);
    }
    void Append(const char* octets, size_t count) {
        if (count == 0) return;
        char* p = Room(count);
        std::memcpy(p, octets, count);
        Done(p + count);
    }

    const char* data() const noexcept { return m_bytes.data(); }
    size_t size() const noexcept { return static_cast<size_t>(m_end - m_bytes.data()); }
    bool empty() const noexcept { return m_end == m_bytes.data(); }
    void clear() noexcept { m_end = m_bytes.data(); }
    void Truncate(size_t size) noexcept { m_end = m_bytes.data() + std::min(this->size(), size); }

private:
#if defined(__GNUC__)
    __attribute__((noinline))
#endif
    void Grow(size_t count) {
        const size_t used = size();
        m_bytes.resize(std::max(m_bytes.size() * 2, used + count + 4096));
        m_end = m_bytes.data() + used;
        m_limit = m_bytes.data() + m_bytes.size();
    }

    // Its size is the capacity; the octets written run from its start to m_end. The ends are
    // kept as pointers, so that making room reads two of them and nothing else.
    std::vector<char> m_bytes;
    char* m_end = nullptr;
    char* m_limit = nullptr;
};

}  // namespace QxXmlLib10
