// BinaryStream.h - CBinaryStream, the append-only byte sink of the Fast Infoset writer.
//
//   CBinaryStream stream;
//   stream.AppendByte(0xE0);
//   stream.Append(header, 4);
//   CBinaryData bytes = stream.GetData();   // shares the stream's storage
//
// Appends go to a growing buffer (amortised, never per byte); GetData hands out the bytes as
// a CBinaryData that later calls share.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/values/BinaryData.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CBinaryStream : protected CInstanceMonitor {
public:
    CBinaryStream();
    CBinaryStream(const CBinaryStream&) = delete;
    CBinaryStream& operator=(const CBinaryStream&) = delete;
    virtual ~CBinaryStream();

    void AppendByte(unsigned char byte) { m_tail.push_back(static_cast<char>(byte)); }
    void Append(const CBinaryData& data);
    void Append(const unsigned char* data, uint32_t count);

    // The bytes appended so far (a copy that shares the stream's storage).
    CBinaryData GetData() const;
    uint32_t GetLength() const;

protected:
    CBinaryStream(CInstanceMonitor::ClassType* record, const CBinaryData& data);

private:
    static CInstanceMonitor::ClassType* MonitorRecord();

    // Bytes handed out already live in m_data; newer ones collect in m_tail until the next
    // GetData moves them over.
    mutable CBinaryData m_data;
    mutable std::string m_tail;
};

}  // namespace QxXmlLib10
