// FileBinaryStream.h - CFileBinaryStream, which writes one finished byte buffer to a file in
// one synchronous call.
//
//   CFileBinaryStream file(L"out.xml", XmlEncoding_UTF16, bytes);
//   file.Write();   // FF FE, then the bytes
//
// The UTF-16 encodings put the byte order mark FF FE first; the others write the bytes alone.
// Failures throw CQxException "Failed to write data to the file [name] error [0x........]".
#pragma once

#include <qxxml/core/SerializationEnums.h>
#include <qxxml/xmlout/BinaryStream.h>

#include <string>

namespace QxXmlLib10 {

class QXXML_API CFileBinaryStream : public CBinaryStream {
public:
    CFileBinaryStream(const wchar_t* fileName, XmlEncoding encoding);
    CFileBinaryStream(const wchar_t* fileName, XmlEncoding encoding, const CBinaryData& data);
    ~CFileBinaryStream() override;

    // Creates (or truncates) the file and writes the byte order mark, if any, and the data.
    void Write();

private:
    static CInstanceMonitor::ClassType* MonitorRecord();

    std::wstring m_strFileName;
    uint32_t m_encoding;
};

}  // namespace QxXmlLib10
