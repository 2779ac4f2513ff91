#include <qxxml/fastinfoset/FIOctetBuffer.h>

#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/BinaryStream.h>

#include <cstdint>

namespace QxXmlLib10 {

namespace {
// The room a stream is asked for at a time: large enough that asking is rare, small enough
// that the room given back at the end is nothing next to a document.
constexpr size_t kSinkRoom = 65536;
}  // namespace

CFIOctetBuffer::~CFIOctetBuffer() {
    try {
        Settle();
    } catch (...) {
        // Settling copies only when someone shares the stream's bytes mid-write and memory
        // runs out: the stream then keeps the unwritten room, which a writer that failed
        // leaves behind anyway.
    }
}

void CFIOctetBuffer::Grow(size_t count) {
    if (m_sink != nullptr) {
        GrowInSink(count);
        return;
    }
    const size_t used = size();
    m_bytes.resize(std::max(m_bytes.size() * 2, used + count + 4096));
    m_end = m_bytes.data() + used;
    m_limit = m_bytes.data() + m_bytes.size();
}

void CFIOctetBuffer::GrowInSink(size_t count) {
    Settle();
    const size_t room = std::max(count, kSinkRoom);
    if (room > UINT32_MAX) throw CQxOverFlowException(L"Binary data longer than 4 GiB");
    m_end = reinterpret_cast<char*>(m_sink->AppendSpace(static_cast<uint32_t>(room)));
    m_limit = m_end + room;
}

void CFIOctetBuffer::Settle() {
    if (m_sink == nullptr || m_limit == nullptr) return;
    const auto unwritten = static_cast<uint32_t>(m_limit - m_end);
    m_end = m_limit = nullptr;
    m_sink->Truncate(m_sink->GetLength() - unwritten);
}

}  // namespace QxXmlLib10
