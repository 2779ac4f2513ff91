#include <qxxml/xmlout/BinaryStream.h>

namespace QxXmlLib10 {

CInstanceMonitor::ClassType* CBinaryStream::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CBinaryStream");
    return record;
}

CBinaryStream::CBinaryStream() : CInstanceMonitor(MonitorRecord()) {}

CBinaryStream::CBinaryStream(CInstanceMonitor::ClassType* record, const CBinaryData& data)
    : CInstanceMonitor(record), m_data(data) {}

CBinaryStream::~CBinaryStream() = default;

}  // namespace QxXmlLib10
