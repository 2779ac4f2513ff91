// FIOctetBuffer.h - the Fast Infoset writer's output buffer, written through raw pointers:
// an item asks once for the most room it can take, writes its octets, and says where it ended.
//
//   char* p = buffer.Room(5);          // at least 5 octets writable at p
//   *p++ = '\xE0';
//   buffer.Done(p);                    // the octets up to p are the buffer's
//
// Growth happens only in Room, so an item never checks per octet. A buffer either keeps its
// octets itself (data(), size()) or writes them in place at the end of a stream's bytes, so
// that a document is never copied from one buffer into another:
//
//   CFIOctetBuffer out(&stream);       // the room is the stream's own storage
//   ...
//   out.Settle();                      // the stream's length is now what was written
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace QxXmlLib10 {

class CBinaryStream;

class CFIOctetBuffer {
public:
    CFIOctetBuffer() = default;
    // Writes at the end of the stream's bytes, which count the room handed out until Settle
    // (or the destructor) gives back what was not written.
    explicit CFIOctetBuffer(CBinaryStream* sink) noexcept : m_sink(sink) {}
    ~CFIOctetBuffer();
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

    // A stream's length made exact; nothing to do for a buffer that keeps its octets.
    void Settle();

    // For a buffer that keeps its octets.
    const char* data() const noexcept { return m_bytes.data(); }
    size_t size() const noexcept { return static_cast<size_t>(m_end - m_bytes.data()); }
    void clear() noexcept { m_end = m_bytes.data(); }
    void Truncate(size_t size) noexcept { m_end = m_bytes.data() + std::min(this->size(), size); }

private:
#if defined(__GNUC__)
    __attribute__((noinline))
#endif
    void Grow(size_t count);
    void GrowInSink(size_t count);

    // Without a sink its size is the capacity and the octets run from its start to m_end.
    std::vector<char> m_bytes;
    CBinaryStream* m_sink = nullptr;
    // The ends are kept as pointers, so that making room reads two of them and nothing else.
    char* m_end = nullptr;
    char* m_limit = nullptr;
};

}  // namespace QxXmlLib10
