#include <qxxml/xmlout/detail/EncodingTextStream.h>

namespace QxXmlLib10 {
namespace detail {

namespace {
// Counted as the text stream it stands in for.
CInstanceMonitor::ClassType* TextStreamRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CTextStream");
    return record;
}
}  // namespace

CEncodingTextStream::CEncodingTextStream(XmlEncoding encoding) : CTextStream(TextStreamRecord(), encoding) {
    // Refused before any text is produced, rather than after the whole document.
    CheckEncoding(encoding);
    EncodeAsWritten();
}

void CEncodingTextStream::Start() {
    CTextStream::Start();
    m_bytes.Clear();
}

void CEncodingTextStream::Flush() {
    if (GetLength() == 0) return;
    EncodeAppend(m_bytes, m_chunk);
    ClearBuffer();
}

CBinaryData CEncodingTextStream::TakeBytes() {
    Flush();
    CBinaryData bytes;
    std::swap(bytes, m_bytes);
    return bytes;
}

}  // namespace detail
}  // namespace QxXmlLib10
