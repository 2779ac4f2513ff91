// BinaryStream.h - CBinaryStream, the append-only byte sink of the Fast Infoset writer.
//
//   CBinaryStream stream;
//   stream.AppendByte(0xE0);
//   stream.Append(header, 4);
//   CBinaryData bytes = stream.GetData();   // shares the stream's storage
//
// Appends grow the buffer geometrically (never a reallocation per byte); GetData hands out
// the bytes as a CBinaryData sharing the stream's storage until one of them changes.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/values/BinaryData.h>

#include <cstdint>

namespace QxXmlLib10 {

class QXXML_API CBinaryStream : protected CInstanceMonitor {
public:
    CBinaryStream();
    CBinaryStream(const CBinaryStream&) = delete;
    CBinaryStream& operator=(const CBinaryStream&) = delete;
    virtual ~CBinaryStream();

    void AppendByte(unsigned char byte) { m_data.Append(byte); }
    void Append(const CBinaryData& data) { m_data.Append(data); }
    void Append(const unsigned char* data, uint32_t count) { m_data.Append(data, count); }
    // In-place writing (see CBinaryData::AppendSpace): `count` more bytes counted at once,
    // written where the result points, and Truncate to give back the ones not written.
    unsigned char* AppendSpace(uint32_t count) { return m_data.AppendSpace(count); }
    void Truncate(uint32_t length) { m_data.Truncate(length); }

    // The bytes appended so far (a copy that shares the stream's storage).
    CBinaryData GetData() const { return m_data; }
    uint32_t GetLength() const { return m_data.GetLength(); }

protected:
    CBinaryStream(CInstanceMonitor::ClassType* record, const CBinaryData& data);

private:
    static CInstanceMonitor::ClassType* MonitorRecord();

    CBinaryData m_data;
};

}  // namespace QxXmlLib10
