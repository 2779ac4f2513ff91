#include <qxxml/xmlout/FileBinaryStream.h>

#include <qxxml/platform/Platform.h>
#include <qxxml/xmlout/detail/FileErrors.h>

namespace QxXmlLib10 {

CInstanceMonitor::ClassType* CFileBinaryStream::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CFileBinaryStream");
    return record;
}

CFileBinaryStream::CFileBinaryStream(const wchar_t* fileName, XmlEncoding encoding)
    : CFileBinaryStream(fileName, encoding, CBinaryData()) {}

CFileBinaryStream::CFileBinaryStream(const wchar_t* fileName, XmlEncoding encoding, const CBinaryData& data)
    : CBinaryStream(MonitorRecord(), data),
      m_strFileName(fileName ? fileName : L""),
      m_encoding(static_cast<uint32_t>(encoding)) {}

CFileBinaryStream::~CFileBinaryStream() = default;

void CFileBinaryStream::Write() {
    const CBinaryData data = GetData();
    Platform::SystemError error = 0;
    Platform::File file = Platform::File::CreateAlways(m_strFileName.c_str(), /*overlapped=*/false, error);
    if (!file.IsOpen()) detail::ThrowFileWriteFailed(m_strFileName, error);
    const bool written =
        (!detail::HasByteOrderMark(m_encoding) || file.Write(detail::Utf16ByteOrderMark(), 2, error)) &&
        (data.GetLength() == 0 || file.Write(data.GetData(), data.GetLength(), error));
    file.Close();
    if (!written) detail::ThrowFileWriteFailed(m_strFileName, error);
}

}  // namespace QxXmlLib10
