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
    char* Room(size_t count) {
        if (m_bytes.size() - m_used < count) Grow(count);  // rare: the check stays in line
        return m_bytes.data() + m_used;
    }
    void Done(char* end) noexcept { m_used = static_cast<size_t>(end - m_bytes.data()); }

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
    size_t size() const noexcept { return m_used; }
    bool empty() const noexcept { return m_used == 0; }
    void clear() noexcept { m_used = 0; }
    void Truncate(size_t size) noexcept { m_used = std::min(m_used, size); }

private:
#if defined(__GNUC__)
    __attribute__((noinline))
#endif
    void Grow(size_t count) {
        m_bytes.resize(std::max(m_bytes.size() * 2, m_used + count + 4096));
    }

    std::vector<char> m_bytes;  // its size is the capacity; m_used of it hold octets
    size_t m_used = 0;
};

}  // namespace QxXmlLib10
