#include <qxxml/xmlout/TextStream.h>

#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/UtfEncoding.h>

namespace QxXmlLib10 {

namespace {

bool IsHighSurrogate(wchar_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }

// Encodes the buffer's blocks one after the other. A surrogate pair may straddle two blocks,
// so a high surrogate at the end of a block waits for the first unit of the next one.
template <class Encode>
bool EncodeBlocks(const CStringBuffer& buffer, std::string& out, Encode encode) {
    bool ok = true;
    bool holding = false;
    wchar_t held = 0;
    buffer.ForEachChunk([&](const wchar_t* chars, size_t count) {
        if (!ok) return;
        if (holding) {
            const wchar_t pair[2] = {held, chars[0]};
            ok = encode(out, pair, 2);
            holding = false;
            ++chars;
            --count;
        }
        if (count > 0 && IsHighSurrogate(chars[count - 1])) {
            held = chars[--count];
            holding = true;
        }
        if (ok && count > 0) ok = encode(out, chars, count);
    });
    if (ok && holding) ok = encode(out, &held, 1);
    return ok;
}

}  // namespace

CInstanceMonitor::ClassType* CTextStream::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CTextStream");
    return record;
}

CTextStream::CTextStream() : CTextStream(MonitorRecord(), XmlEncoding_None) {}

CTextStream::CTextStream(XmlEncoding encoding) : CTextStream(MonitorRecord(), encoding) {}

CTextStream::CTextStream(CInstanceMonitor::ClassType* record, XmlEncoding encoding)
    : CInstanceMonitor(record), m_encoding(static_cast<uint32_t>(encoding)) {}

CTextStream::~CTextStream() = default;

void CTextStream::Start() { m_buffer.Clear(); }
void CTextStream::End() {}
void CTextStream::Flush() {}

std::wstring CTextStream::TakeText() {
    std::wstring text;
    text.reserve(m_buffer.GetLength());
    m_buffer.ForEachChunk([&](const wchar_t* chars, size_t count) { text.append(chars, count); });
    m_buffer.Clear();
    return text;
}

void CTextStream::CheckEncoding(XmlEncoding encoding) {
    switch (encoding) {
    case XmlEncoding_UTF8:
    case XmlEncoding_UTF16:
    case XmlEncoding_UTF16NoDeclaration: return;
    default:
        // No byte form is defined for a wide-only stream; the note tells the user what to do.
        throw CQxException(
            L"Unknown Encoding, select UTF-8 (or UTF-16; to ask for support of another encoding, "
            L"contact the qxxml maintainers through the project's issue tracker)");
    }
}

void CTextStream::EncodeTo(std::string& bytes) const {
    bytes.clear();
    EncodeAppend(bytes);
}

void CTextStream::EncodeAppend(std::string& bytes) const {
    CheckEncoding(GetEncoding());
    bool ok = false;
    switch (m_encoding) {
    case XmlEncoding_UTF8:
        bytes.reserve(bytes.size() + m_buffer.GetLength());
        ok = EncodeBlocks(m_buffer, bytes, AppendUtf8);
        break;
    case XmlEncoding_UTF16:
    case XmlEncoding_UTF16NoDeclaration:
        bytes.reserve(bytes.size() + static_cast<size_t>(m_buffer.GetLength()) * 2);
        ok = EncodeBlocks(m_buffer, bytes, AppendUtf16LE);
        break;
    }
    if (!ok)
        throw CQxException(
            L"The text cannot be encoded: it holds an unpaired surrogate or a value that is not a Unicode "
            L"character");
}

CBinaryData CTextStream::GetBytes() {
    std::string bytes;
    EncodeTo(bytes);
    if (bytes.size() > 0xFFFFFFFFu) throw CQxException(L"The encoded text is larger than 4 GiB");
    return CBinaryData(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                       false);
}

}  // namespace QxXmlLib10
