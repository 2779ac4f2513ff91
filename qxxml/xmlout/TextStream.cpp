#include <qxxml/xmlout/TextStream.h>

#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

namespace QxXmlLib10 {

namespace {

bool IsHighSurrogate(wchar_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }

// Room for the pieces between two flushes (the writer flushes at 4096), so that growing is
// rare; a longer piece grows the buffer once.
constexpr size_t kInitialEncodedCapacity = 16 * 1024;
// Pieces longer than this are counted before they are encoded.
constexpr size_t kCountedPieceLength = 4096;

[[noreturn]] void ThrowUnencodable() {
    throw CQxException(
        L"The text cannot be encoded: it holds an unpaired surrogate or a value that is not a Unicode "
        L"character");
}

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

CTextStream::~CTextStream() { std::free(m_pEncoded); }

void CTextStream::Start() { ClearBuffer(); }

void CTextStream::Append(const wchar_t* text) {
    if (text) Append(text, std::wcslen(text));
}

void CTextStream::EncodeAsWritten() {
    if (GetEncoding() != XmlEncoding_UTF8 || m_bEncodeAsWritten) return;
    m_pEncoded = static_cast<char*>(std::malloc(kInitialEncodedCapacity));
    if (!m_pEncoded) throw std::bad_alloc();
    m_encodedCapacity = kInitialEncodedCapacity;
    m_bEncodeAsWritten = true;
}

// Each piece is encoded by itself. The writer never splits a surrogate pair between pieces:
// it cuts text only at markup characters, so a lone surrogate at a piece's end is an error.
void CTextStream::AppendEncodedSlowly(const wchar_t* text, size_t length) {
    // Room for 4 bytes a character makes one pass enough; a long piece is counted first so
    // that it does not reserve four times its size.
    size_t room = 4 * length;
    if (length > kCountedPieceLength) {
        const size_t bytes = Utf8ByteCount(text, length);
        if (bytes == static_cast<size_t>(-1)) ThrowUnencodable();
        room = bytes + 3;
    }
    ReserveEncoded(room);
    const char* end = EncodeUtf8Into(m_pEncoded + m_encodedLength, text, length);
    if (!end) ThrowUnencodable();
    m_encodedLength = static_cast<size_t>(end - m_pEncoded);
}

void CTextStream::ReserveEncoded(size_t more) {
    if (more <= m_encodedCapacity - m_encodedLength) return;
    const size_t capacity = std::max(2 * m_encodedCapacity, m_encodedLength + more);
    char* grown = static_cast<char*>(std::realloc(m_pEncoded, capacity));
    if (!grown) throw std::bad_alloc();
    m_pEncoded = grown;
    m_encodedCapacity = capacity;
}

void CTextStream::RepeatEncodedBytesSlowly(uint32_t mark, uint32_t count) {
    ReserveEncoded(count);  // may move the bytes: the source is found again by its offset
    std::memcpy(m_pEncoded + m_encodedLength, m_pEncoded + mark, count);
    m_encodedLength += count;
}

size_t CTextStream::AppendUntilSlowly(const wchar_t* text, size_t length, uint64_t stops) {
    size_t run = 0;
    for (; run < length; ++run) {
        const uint32_t unit = static_cast<uint32_t>(text[run]);
        if (unit < 64 && ((stops >> unit) & 1)) break;
    }
    Append(text, run);
    return run;
}

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
    if (m_bEncodeAsWritten) {
        bytes.append(m_pEncoded, m_encodedLength);
        return;
    }
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
    if (!ok) ThrowUnencodable();
}

void CTextStream::EncodeAppend(CBinaryData& bytes, std::string& scratch) const {
    const char* encoded = m_pEncoded;
    size_t length = m_encodedLength;
    if (!m_bEncodeAsWritten) {
        EncodeTo(scratch);
        encoded = scratch.data();
        length = scratch.size();
    }
    if (length > 0xFFFFFFFFu - bytes.GetLength()) throw CQxException(L"The encoded text is larger than 4 GiB");
    bytes.Append(reinterpret_cast<const unsigned char*>(encoded), static_cast<uint32_t>(length));
}

CBinaryData CTextStream::GetBytes() {
    CBinaryData bytes;
    std::string scratch;
    EncodeAppend(bytes, scratch);
    return bytes;
}

}  // namespace QxXmlLib10
