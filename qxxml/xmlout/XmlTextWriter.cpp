#include <qxxml/xmlout/XmlTextWriter.h>

#include <qxxml/support/QxException.h>

#include <cstdint>
#include <cstring>
#include <cwchar>

namespace QxXmlLib10 {

namespace {

const wchar_t kCDataStart[] = L"<![CDATA[";
const size_t kCDataStartLength = sizeof kCDataStart / sizeof kCDataStart[0] - 1;

bool StartsWithCData(const std::wstring& value) {
    return value.size() >= kCDataStartLength && value[0] == L'<' &&  // most values: one look
           std::wmemcmp(value.data(), kCDataStart, kCDataStartLength) == 0;
}

// The characters the escaper may have to replace, all below 64, as bits of one mask per
// context: a character is looked at twice only when its bit is set.
constexpr uint64_t Bit(wchar_t ch) { return uint64_t{1} << ch; }
constexpr uint64_t kTextSpecials = Bit(L'&') | Bit(L'<') | Bit(L'>') | Bit(L'\n') | Bit(L'\r');
constexpr uint64_t kAttributeSpecials = kTextSpecials | Bit(L'"');

[[noreturn]] void ThrowInvalidEol() { throw CQxException(L"Invalid EOL type."); }

}  // namespace

CInstanceMonitor::ClassType* CXmlTextWriter::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CXmlTextWriter");
    return record;
}

CXmlTextWriter::CXmlTextWriter(CTextStream* stream)
    : CXmlWriter(MonitorRecord()), m_eolType(EOLType_LF), m_bFormatted(true), m_pStream(stream) {}

CXmlTextWriter::~CXmlTextWriter() = default;

void CXmlTextWriter::SetEOLType(EOLType eolType) {
    switch (eolType) {
    case EOLType_CRLF:
    case EOLType_LF: break;
    default: ThrowInvalidEol();
    }
    m_eolType = eolType;
}

// ------------------------------------------------------------------ low-level output

void CXmlTextWriter::WriteIndent(uint32_t depth) {
    static const wchar_t tabs[] = L"\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    const uint32_t chunk = sizeof tabs / sizeof tabs[0] - 1;
    if (depth <= 4) {  // the usual depths: a tab or two, cheaper one by one
        for (uint32_t i = 0; i < depth; ++i) WriteChar(L'\t');
        return;
    }
    for (; depth > chunk; depth -= chunk) Write(tabs, chunk);
    Write(tabs, depth);
}

void CXmlTextWriter::WriteEscaped(const std::wstring& text, bool inAttribute) {
    const uint64_t specials = inAttribute ? kAttributeSpecials : kTextSpecials;
    const wchar_t* const chars = text.data();
    const size_t length = text.size();
    for (size_t i = m_pStream->AppendUntil(chars, length, specials); i < length;
         i += m_pStream->AppendUntil(chars + i, length - i, specials)) {
        switch (chars[i++]) {
        case L'&': WriteLiteral(L"&amp;"); break;
        case L'<': WriteLiteral(L"&lt;"); break;
        case L'>': WriteLiteral(L"&gt;"); break;
        case L'"': WriteLiteral(L"&quot;"); break;
        case L'\r': break;  // never written: a line end is the LF's business
        case L'\n':
            if (inAttribute) {
                WriteLiteral(L"&#xA;");
            } else if (m_eolType == EOLType_CRLF) {
                WriteLiteral(L"\r\n");
            } else if (m_eolType == EOLType_LF) {
                WriteChar(L'\n');
            } else {
                ThrowInvalidEol();
            }
            break;
        }
    }
}

void CXmlTextWriter::WriteNamespaceDeclaration(const std::wstring& prefix, const std::wstring& namespaceUri) {
    WriteLiteral(L"xmlns:");
    Write(prefix);
    WriteLiteral(L"=\"");
    Write(namespaceUri);
    WriteChar(L'"');
}

const std::wstring& CXmlTextWriter::PrefixInScope(const std::wstring& namespaceUri, bool& declared) {
    const std::wstring* known = m_pContext->FindPrefix(namespaceUri);
    declared = known == nullptr;
    if (!declared) return *known;
    m_pContext->SetNamespaceMapValue(namespaceUri, NewPrefix(m_pContext->GetNamespaceMap()));
    return m_pContext->GetNamespaceMap().find(namespaceUri)->second;
}

void CXmlTextWriter::RememberEndTagName(uint32_t depth, uint32_t nameMark) {
    if (!m_pStream->IsEncodingAsWritten()) return;
    if (m_startTagNames.size() <= depth) m_startTagNames.resize(depth + 1);
    m_startTagNames[depth] = StartTagName{nameMark, m_pStream->GetLength() - nameMark, m_dwFlushes};
}

void CXmlTextWriter::WriteElementName(const CXmlWriterContext& context) {
    const std::wstring& prefix = context.GetElementPrefix();
    if (!prefix.empty()) {
        Write(prefix);
        WriteChar(L':');
    }
    Write(context.GetLocalName());
}

void CXmlTextWriter::RequireOpenStartTag() const {
    if (!m_pContext || !m_pContext->IsStartTagOpen())
        throw CQxException(L"Attributes must be added before elements");
}

// ------------------------------------------------------------------ document

void CXmlTextWriter::StartDocument() {
    CXmlWriter::StartDocument();
    m_pStream->Start();
    ++m_dwFlushes;  // the stream starts empty: no name written before is there any more
}

void CXmlTextWriter::EndDocument() {
    // The stream is completed first, so a file is whole even when an open element is reported.
    m_pStream->End();
    CXmlWriter::EndDocument();
}

void CXmlTextWriter::WriteXmlDeclaration() {
    WriteLiteral(L"<?xml version=\"1.0\"");
    switch (m_pStream->GetEncoding()) {
    case XmlEncoding_UTF8: WriteLiteral(L" encoding=\"UTF-8\""); break;
    case XmlEncoding_UTF16: WriteLiteral(L" encoding=\"UTF-16\""); break;
    default: break;
    }
    WriteLiteral(L"?>");
    WriteEOL();
    FlushCheck();
}

void CXmlTextWriter::WriteComment(const std::wstring& text) {
    WriteLiteral(L"<!--");
    WriteEscaped(text, false);
    WriteLiteral(L"-->");
    WriteEOL();
    FlushCheck();
}

void CXmlTextWriter::WriteProcessingInstruction(const std::wstring& instruction) {
    Write(instruction);
    WriteEOL();
    WriteEOL();
    FlushCheck();
}

void CXmlTextWriter::WriteInlineSchema(const std::wstring& schema) {
    WriteChar(L' ');
    WriteEOL();
    Write(schema);
    WriteEOL();
    FlushCheck();
}

void CXmlTextWriter::WriteRawXml(const std::wstring& xml) {
    Write(xml);
    if (m_bFormatted) WriteEOL();
    FlushCheck();
}

// ------------------------------------------------------------------ elements

void CXmlTextWriter::CloseStartTag() {
    if (!m_pContext) return;
    m_pContext->IncrementChildCount();
    if (m_pContext->IsStartTagOpen()) {
        WriteChar(L'>');
        if (m_bFormatted) WriteEOL();
        m_pContext->SetStartTagOpen(false);
    }
}

void CXmlTextWriter::StartElement(const std::wstring& localName, const std::wstring& namespaceUri) {
    CloseStartTag();
    const bool isRoot = m_pContext == nullptr;
    CXmlWriterContext* context = PushContext(localName, namespaceUri);
    if (m_bFormatted) WriteIndent(context->GetDepth());
    WriteChar(L'<');

    const uint32_t nameMark = m_pStream->GetLength();
    if (namespaceUri.empty() || namespaceUri == context->GetDefaultNamespace()) {
        Write(localName);
        RememberEndTagName(context->GetDepth(), nameMark);
        static const std::wstring noPrefix;
        context->RememberElementPrefix(noPrefix);
    } else {
        bool declare = false;
        const std::wstring& prefix = PrefixInScope(namespaceUri, declare);
        Write(prefix);
        WriteChar(L':');
        Write(localName);
        RememberEndTagName(context->GetDepth(), nameMark);
        if (declare) {
            WriteChar(L' ');
            WriteNamespaceDeclaration(prefix, namespaceUri);
        }
        context->RememberElementPrefix(prefix);
    }

    if (isRoot) {
        if (!m_strDefaultNamespace.empty()) {
            WriteLiteral(L" xmlns=\"");
            Write(m_strDefaultNamespace);
            WriteChar(L'"');
        }
        for (const auto& announced : m_namespaceMap) {
            if (announced.first == kXmlNamespace) continue;
            WriteChar(L' ');
            WriteNamespaceDeclaration(announced.second, announced.first);
        }
    }
    FlushCheck();
}

void CXmlTextWriter::WriteElementValue(const std::wstring& value, ItemType) {
    if (value.empty()) return;  // the element stays open and may still close as "/>"
    if (m_pContext && m_pContext->IsStartTagOpen()) {
        WriteChar(L'>');
        m_pContext->SetStartTagOpen(false);
    }
    if (StartsWithCData(value))
        Write(value);
    else
        WriteEscaped(value, false);
    FlushCheck();
}

void CXmlTextWriter::EndElement() {
    CXmlWriterContext* context = m_pContext;
    if (!context) return;  // nothing open: a caller error that is not reported
    if (context->IsStartTagOpen()) {
        WriteLiteral(L"/>");
    } else {
        if (m_bFormatted && context->GetChildCount() > 0) WriteIndent(context->GetDepth());
        WriteLiteral(L"</");
        const StartTagName* name =
            m_pStream->IsEncodingAsWritten() ? &m_startTagNames[context->GetDepth()] : nullptr;
        if (name && name->flushes == m_dwFlushes)
            m_pStream->RepeatEncodedBytes(name->mark, name->length);
        else
            WriteElementName(*context);
        WriteChar(L'>');
    }
    if (m_bFormatted) WriteEOL();
    FlushCheck();
    PopContext();
}

// ------------------------------------------------------------------ attributes

void CXmlTextWriter::AddAttribute(const std::wstring& localName, const std::wstring& namespaceUri,
                                  const std::wstring& value, ItemType) {
    RequireOpenStartTag();
    WriteChar(L' ');
    if (!namespaceUri.empty()) {
        // Always prefixed, even in the default namespace: an unprefixed attribute has none.
        bool declare = false;
        const std::wstring& prefix = PrefixInScope(namespaceUri, declare);
        if (declare) {
            WriteNamespaceDeclaration(prefix, namespaceUri);
            WriteChar(L' ');
        }
        Write(prefix);
        WriteChar(L':');
    }
    Write(localName);
    WriteLiteral(L"=\"");
    WriteEscaped(value, true);
    WriteChar(L'"');
    FlushCheck();
}

void CXmlTextWriter::AddXsiTypeAttribute(const std::wstring& typeNamespace, const std::wstring& typeName,
                                         ItemType itemType) {
    RequireOpenStartTag();
    if (!typeNamespace.empty() && typeNamespace != m_pContext->GetDefaultNamespace()) {
        bool declare = false;
        const std::wstring prefix = PrefixInScope(typeNamespace, declare);
        if (declare) {
            WriteChar(L' ');
            WriteNamespaceDeclaration(prefix, typeNamespace);
            WriteChar(L' ');
        }
        AddAttribute(L"type", kInstanceNamespace, prefix + L':' + typeName, itemType);
    } else {
        AddAttribute(L"type", kInstanceNamespace, typeName, itemType);
    }
}

void CXmlTextWriter::AddXsiNilAttribute() {
    RequireOpenStartTag();
    AddAttribute(L"nil", kInstanceNamespace, L"true", ItemType_boolean);
}

}  // namespace QxXmlLib10
