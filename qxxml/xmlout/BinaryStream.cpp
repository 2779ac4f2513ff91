#include <qxxml/xmlout/BinaryStream.h>

#include <qxxml/support/QxException.h>

namespace QxXmlLib10 {

CInstanceMonitor::ClassType* CBinaryStream::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CBinaryStream");
    return record;
}

CBinaryStream::CBinaryStream() : CInstanceMonitor(MonitorRecord()) {}

CBinaryStream::CBinaryStream(CInstanceMonitor::ClassType* record, const CBinaryData& data)
    : CInstanceMonitor(record), m_data(data) {}

CBinaryStream::~CBinaryStream() = default;

void CBinaryStream::Append(const CBinaryData& data) {
    m_tail.append(reinterpret_cast<const char*>(data.GetData()), data.GetLength());
}

void CBinaryStream::Append(const unsigned char* data, uint32_t count) {
    if (count) m_tail.append(reinterpret_cast<const char*>(data), count);
}

uint32_t CBinaryStream::GetLength() const {
    const uint64_t total = uint64_t(m_data.GetLength()) + m_tail.size();
    if (total > 0xFFFFFFFFu) throw CQxException(L"The binary stream is larger than 4 GiB");
    return static_cast<uint32_t>(total);
}

CBinaryData CBinaryStream::GetData() const {
    if (!m_tail.empty()) {
        GetLength();  // refuses a total beyond what a byte count can say
        if (m_data.GetLength() == 0)
            m_data = CBinaryData(reinterpret_cast<unsigned char*>(m_tail.data()),
                                 static_cast<uint32_t>(m_tail.size()), false);
        else
            m_data.Append(reinterpret_cast<const unsigned char*>(m_tail.data()),
                          static_cast<uint32_t>(m_tail.size()));
        m_tail.clear();
    }
    return m_data;
}

}  // namespace QxXmlLib10
