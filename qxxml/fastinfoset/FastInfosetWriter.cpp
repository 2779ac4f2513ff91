// FastInfosetWriter.cpp - the octet layout of the documents the library writes.
//
// Bit notation: octets are written most significant bit first; an item "on the n-th bit"
// shares its first octet with the n-1 bits its caller has decided, passed as `first`.
#include <qxxml/fastinfoset/FastInfosetWriter.h>

#include <qxxml/fastinfoset/FastInfosetBinaryData.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlout/BinaryStream.h>
#include <qxxml/xmlout/UtfEncoding.h>

namespace QxXmlLib10 {

namespace {

constexpr unsigned char kTerminator = 0xF0;        // 1111 and four zero bits
constexpr unsigned char kDoubleTerminator = 0xFF;  // two terminators in one octet
constexpr size_t kFlushThreshold = 65536;

void Put(std::string& out, unsigned value) { out.push_back(static_cast<char>(static_cast<unsigned char>(value))); }

void PutBigEndian32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) Put(out, value >> shift);
}

// Integers from 1 to 2^20, starting on the second, third or fourth bit.
void PutIntegerOnSecondBit(std::string& out, unsigned first, uint32_t n) {
    if (n <= 64) {
        Put(out, first | (n - 1));
    } else if (n <= 8256) {
        const uint32_t v = n - 65;
        Put(out, first | 0x40 | v >> 8);
        Put(out, v);
    } else {
        const uint32_t v = n - 8257;
        Put(out, first | 0x60 | v >> 16);
        Put(out, v >> 8);
        Put(out, v);
    }
}

void PutIntegerOnThirdBit(std::string& out, unsigned first, uint32_t n) {
    if (n <= 32) {
        Put(out, first | (n - 1));
    } else if (n <= 2080) {
        const uint32_t v = n - 33;
        Put(out, first | 0x20 | v >> 8);
        Put(out, v);
    } else if (n <= 526368) {
        const uint32_t v = n - 2081;
        Put(out, first | 0x28 | v >> 16);
        Put(out, v >> 8);
        Put(out, v);
    } else {
        const uint32_t v = n - 526369;
        Put(out, first | 0x30);
        Put(out, (v >> 16) & 0x0F);
        Put(out, v >> 8);
        Put(out, v);
    }
}

void PutIntegerOnFourthBit(std::string& out, unsigned first, uint32_t n) {
    if (n <= 16) {
        Put(out, first | (n - 1));
    } else if (n <= 1040) {
        const uint32_t v = n - 17;
        Put(out, first | 0x10 | v >> 8);
        Put(out, v);
    } else if (n <= 263184) {
        const uint32_t v = n - 1041;
        Put(out, first | 0x14 | v >> 16);
        Put(out, v >> 8);
        Put(out, v);
    } else {
        const uint32_t v = n - 263185;
        Put(out, first | 0x18);
        Put(out, (v >> 16) & 0x0F);
        Put(out, v >> 8);
        Put(out, v);
    }
}

// Octet strings of 1 or more octets: the length starting on the second, fifth or seventh bit,
// then the octets.
void PutOctetsOnSecondBit(std::string& out, unsigned first, const std::string& octets) {
    const uint32_t length = static_cast<uint32_t>(octets.size());
    if (length <= 64) {
        Put(out, first | (length - 1));
    } else if (length <= 320) {
        Put(out, first | 0x40);
        Put(out, length - 65);
    } else {
        Put(out, first | 0x60);
        PutBigEndian32(out, length - 321);
    }
    out += octets;
}

void PutOctetsOnFifthBit(std::string& out, unsigned first, const std::string& octets) {
    const uint32_t length = static_cast<uint32_t>(octets.size());
    if (length <= 8) {
        Put(out, first | (length - 1));
    } else if (length <= 264) {
        Put(out, first | 0x08);
        Put(out, length - 9);
    } else {
        Put(out, first | 0x0C);
        PutBigEndian32(out, length - 265);
    }
    out += octets;
}

void PutOctetsOnSeventhBit(std::string& out, unsigned first, const std::string& octets) {
    const uint32_t length = static_cast<uint32_t>(octets.size());
    if (length <= 2) {
        Put(out, first | (length - 1));
    } else if (length <= 258) {
        Put(out, first | 0x02);
        Put(out, length - 3);
    } else {
        Put(out, first | 0x03);
        PutBigEndian32(out, length - 259);
    }
    out += octets;
}

void AppendUtf8Checked(std::string& out, const std::wstring& text) {
    if (!AppendUtf8(out, text.data(), text.size()))
        throw CQxException(L"Failed to write FastInfoset. Text holds a character that has no UTF-8 form.");
}

}  // namespace

const wchar_t* const CFastInfosetWriter::kDefaultExternalVocabularyURI = L"urn:qxxml:fastinfoset:generated-vocabulary";

CInstanceMonitor::ClassType* CFastInfosetWriter::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CFastInfosetWriter");
    return record;
}

CFastInfosetWriter::CFastInfosetWriter(const CFastInfosetContext& context, CBinaryStream* stream)
    : CXmlWriter(MonitorRecord()),
      m_pStream(stream),
      m_pFIContext(&context),
      m_pVocabulary(context.GetUseGeneratedVocabulary() ? new CFIVocabulary(*context.GetVocabulary())
                                                         : new CFIVocabulary()) {}

CFastInfosetWriter::~CFastInfosetWriter() = default;

const char* CFastInfosetWriter::DeclarationText(int declaration) noexcept {
    static const char* const texts[] = {
        nullptr,
        "<?xml encoding='finf'?>",
        "<?xml encoding='finf' standalone='yes'?>",
        "<?xml encoding='finf' standalone='no'?>",
        "<?xml version='1.0' encoding='finf'?>",
        "<?xml version='1.0' encoding='finf' standalone='yes'?>",
        "<?xml version='1.0' encoding='finf' standalone='no'?>",
        "<?xml version='1.1' encoding='finf'?>",
        "<?xml version='1.1' encoding='finf' standalone='yes'?>",
        "<?xml version='1.1' encoding='finf' standalone='no'?>",
    };
    return declaration >= 0 && declaration <= 9 ? texts[declaration] : nullptr;
}

// ------------------------------------------------------------------ document

void CFastInfosetWriter::WriteHeader(FInfoDecl declaration) {
    if (const char* text = DeclarationText(declaration)) m_out += text;
    static const char identification[] = {'\xE0', '\x00', '\x00', '\x01'};
    m_out.append(identification, sizeof identification);
    if (!m_pFIContext->GetUseGeneratedVocabulary()) {
        Put(m_out, 0x00);  // no optional components
        return;
    }
    // An initial vocabulary of which only the external vocabulary is present.
    Put(m_out, 0x20);
    Put(m_out, 0x10);
    Put(m_out, 0x00);
    const std::wstring& named = m_pFIContext->GetExternalVocabularyURI();
    m_utf8.clear();
    AppendUtf8Checked(m_utf8, named.empty() ? std::wstring(kDefaultExternalVocabularyURI) : named);
    PutOctetsOnSecondBit(m_out, 0x00, m_utf8);
}

void CFastInfosetWriter::WriteDocumentEnd() {
    Put(m_out, m_bTerminatorPending ? kDoubleTerminator : kTerminator);
    m_bTerminatorPending = false;
    Flush();
}

void CFastInfosetWriter::EndDocument() {
    Flush();
    CXmlWriter::EndDocument();
}

void CFastInfosetWriter::Flush() {
    if (m_out.empty()) return;
    m_pStream->Append(reinterpret_cast<const unsigned char*>(m_out.data()), static_cast<uint32_t>(m_out.size()));
    m_out.clear();
}

// Processing instructions are not written. (An element held back stays so: its attributes
// may still come.)
void CFastInfosetWriter::WriteProcessingInstruction(const std::wstring&) {}

// ------------------------------------------------------------------ elements

void CFastInfosetWriter::StartElement(const std::wstring& localName, const std::wstring& namespaceUri) {
    WritePendingElement();
    if (m_bTerminatorPending) {
        Put(m_out, kTerminator);
        m_bTerminatorPending = false;
    }
    CloseStartTag(true);
    CXmlWriterContext* context = PushContext(localName, namespaceUri);
    m_bPending = true;
    m_dwAttributeCount = 0;
    m_attributeValues.clear();
    m_declarations.clear();
    // The name carries its namespace itself: no prefix in the scope's default namespace.
    if (namespaceUri.empty() || namespaceUri == context->GetDefaultNamespace())
        m_strElementPrefix.clear();
    else
        m_strElementPrefix = PrefixFor(namespaceUri);
}

void CFastInfosetWriter::WriteElementValue(const std::wstring& value, ItemType itemType) {
    WritePendingElement();
    CloseStartTag(false);
    // Text after a child element: the child's end first.
    if (m_bTerminatorPending) {
        Put(m_out, kTerminator);
        m_bTerminatorPending = false;
    }
    if (!value.empty()) WriteCharacterChunk(value, itemType);
}

void CFastInfosetWriter::EndElement() {
    if (!m_pContext) return;
    WritePendingElement();
    CloseStartTag(false);
    if (m_bTerminatorPending) {
        Put(m_out, kDoubleTerminator);
        m_bTerminatorPending = false;
    } else {
        m_bTerminatorPending = true;
    }
    PopContext();
    if (m_out.size() >= kFlushThreshold) Flush();
}

void CFastInfosetWriter::CloseStartTag(bool child) {
    CXmlWriterContext* context = m_pContext;
    if (!context) return;
    if (child) context->IncrementChildCount();
    if (context->IsStartTagOpen()) {
        context->SetStartTagOpen(false);
        if (context->GetAttributesWritten()) Put(m_out, kTerminator);  // end of its attributes
    }
}

void CFastInfosetWriter::WritePendingElement() {
    if (!m_bPending) return;
    m_bPending = false;
    CXmlWriterContext* context = m_pContext;
    const bool attributes = m_dwAttributeCount != 0;
    context->SetAttributesWritten(attributes);
    unsigned first = attributes ? 0x40 : 0x00;  // element, attributes present or not
    const bool root = context->GetParent() == nullptr;
    if (root || !m_declarations.empty()) {
        // Namespace attributes: on the root the announced ones (always, even none), on any
        // element the namespaces first used there.
        Put(m_out, first | 0x38);
        if (root) {
            if (!m_strDefaultNamespace.empty()) WriteNamespaceAttribute(std::wstring(), m_strDefaultNamespace);
            for (const auto& announced : m_namespaceMap)
                if (announced.first != kXmlNamespace) WriteNamespaceAttribute(announced.second, announced.first);
        }
        for (const auto& declared : m_declarations) WriteNamespaceAttribute(declared.second, declared.first);
        Put(m_out, kTerminator);
        first = 0x00;  // the name starts a fresh octet
    }
    WriteQualifiedName(true, static_cast<unsigned char>(first), m_strElementPrefix, context->GetNamespace(),
                       context->GetLocalName());
    for (size_t i = 0; i < m_dwAttributeCount; ++i) {
        const PendingAttribute& a = m_attributes[i];
        WriteQualifiedName(false, 0x00, a.prefix, a.namespaceUri, a.localName);
        m_out.append(m_attributeValues, a.valueStart, a.valueEnd - a.valueStart);
    }
    m_dwAttributeCount = 0;
    m_attributeValues.clear();
    m_declarations.clear();
}

std::wstring CFastInfosetWriter::PrefixFor(const std::wstring& namespaceUri) {
    if (const std::wstring* known = m_pContext->FindPrefix(namespaceUri)) return *known;
    std::wstring prefix = NewPrefix(m_pContext->GetNamespaceMap());
    m_pContext->SetNamespaceMapValue(namespaceUri, prefix);
    m_declarations.emplace_back(namespaceUri, prefix);
    return prefix;
}

// ------------------------------------------------------------------ attributes

void CFastInfosetWriter::RequirePendingStartTag() const {
    if (!m_pContext || !m_bPending) throw CQxException(L"Attributes must be added before elements");
}

void CFastInfosetWriter::AddAttribute(const std::wstring& localName, const std::wstring& namespaceUri,
                                      const std::wstring& value, ItemType itemType) {
    RequirePendingStartTag();
    AddEncodedAttribute(namespaceUri.empty() ? std::wstring() : PrefixFor(namespaceUri), namespaceUri, localName,
                        value, itemType);
}

void CFastInfosetWriter::AddXsiTypeAttribute(const std::wstring& typeNamespace, const std::wstring& typeName,
                                             ItemType itemType) {
    RequirePendingStartTag();
    if (!typeNamespace.empty() && typeNamespace != m_pContext->GetDefaultNamespace()) {
        const std::wstring typePrefix = PrefixFor(typeNamespace);
        AddEncodedAttribute(PrefixFor(kInstanceNamespace), kInstanceNamespace, L"type",
                            typePrefix + L':' + typeName, itemType);
    } else {
        AddAttribute(L"type", kInstanceNamespace, typeName, itemType);
    }
}

void CFastInfosetWriter::AddXsiNilAttribute() {
    RequirePendingStartTag();
    AddAttribute(L"nil", kInstanceNamespace, L"true", ItemType_boolean);
}

void CFastInfosetWriter::AddEncodedAttribute(const std::wstring& prefix, const std::wstring& namespaceUri,
                                             const std::wstring& localName, const std::wstring& value,
                                             ItemType itemType) {
    const size_t start = m_attributeValues.size();
    try {
        WriteAttributeValue(m_attributeValues, value, itemType);
    } catch (...) {
        m_attributeValues.resize(start);
        throw;
    }
    if (m_dwAttributeCount == m_attributes.size()) m_attributes.emplace_back();
    PendingAttribute& a = m_attributes[m_dwAttributeCount++];
    a.prefix = prefix;
    a.namespaceUri = namespaceUri;
    a.localName = localName;
    a.valueStart = start;
    a.valueEnd = m_attributeValues.size();
}

// ------------------------------------------------------------------ names

void CFastInfosetWriter::WriteNamespaceAttribute(const std::wstring& prefix, const std::wstring& namespaceUri) {
    Put(m_out, prefix.empty() ? 0xCD : 0xCF);  // 110011, prefix present, namespace present
    CFIVocabulary& v = *m_pVocabulary;
    if (!prefix.empty()) WriteIdentifyingString(prefix, v.m_prefixNameMap, &CFIVocabulary::AddPrefixName);
    WriteIdentifyingString(namespaceUri, v.m_namespaceNameMap, &CFIVocabulary::AddNamespaceName);
}

void CFastInfosetWriter::WriteQualifiedName(bool element, unsigned char first, const std::wstring& prefix,
                                            const std::wstring& namespaceUri, const std::wstring& localName) {
    CFIVocabulary& v = *m_pVocabulary;
    // A document repeats few names many times: a small cache of names already indexed spares
    // building and hashing the map key.
    CachedName& cached = m_nameCache[CacheSlot(element, localName)];
    uint32_t index = 0;
    if (cached.index != 0 && cached.element == element && cached.localName == localName &&
        cached.namespaceUri == namespaceUri && cached.prefix == prefix) {
        index = cached.index;
    } else {
        CFIVocabulary::QNameKey(m_key, prefix, namespaceUri, localName);
        if (CFIVocabulary::FindIndex(element ? v.m_elementNameMap : v.m_attributeNameMap, m_key, index))
            cached = CachedName{element, localName, namespaceUri, prefix, index};
    }
    if (index != 0) {
        if (element)
            PutIntegerOnThirdBit(m_out, first, index);
        else
            PutIntegerOnSecondBit(m_out, first, index);
        return;
    }
    const unsigned parts = (prefix.empty() ? 0 : 2) | (namespaceUri.empty() ? 0 : 1);
    Put(m_out, first | (element ? 0x3C : 0x78) | parts);
    if (!prefix.empty()) WriteIdentifyingString(prefix, v.m_prefixNameMap, &CFIVocabulary::AddPrefixName);
    if (!namespaceUri.empty())
        WriteIdentifyingString(namespaceUri, v.m_namespaceNameMap, &CFIVocabulary::AddNamespaceName);
    WriteIdentifyingString(localName, v.m_localNameMap, &CFIVocabulary::AddLocalName);
    if (element)
        v.AddElement(prefix, namespaceUri, localName);
    else
        v.AddAttribute(prefix, namespaceUri, localName);
}

size_t CFastInfosetWriter::CacheSlot(bool element, const std::wstring& localName) {
    const size_t length = localName.size();
    const size_t mix = length * 31 + (length != 0 ? static_cast<size_t>(localName[0]) * 7 + localName[length - 1] : 0);
    return (mix * 2 + (element ? 1 : 0)) % kNameCacheSize;
}

void CFastInfosetWriter::WriteIdentifyingString(const std::wstring& value, CFIVocabulary::IndexMap& map,
                                                void (CFIVocabulary::*add)(std::wstring)) {
    uint32_t index = 0;
    if (CFIVocabulary::FindIndex(map, value, index)) {
        PutIntegerOnSecondBit(m_out, 0x80, index);
        return;
    }
    if (value.empty()) throw CQxException(L"Failed to write FastInfoset. A name is empty.");
    m_utf8.clear();
    AppendUtf8Checked(m_utf8, value);
    PutOctetsOnSecondBit(m_out, 0x00, m_utf8);
    (m_pVocabulary.get()->*add)(value);
}

// ------------------------------------------------------------------ values

unsigned CFastInfosetWriter::EncodeValue(const std::wstring& value, ItemType itemType, bool chunk, unsigned& index) {
    const CFastInfosetContext::EncodedCharacterString encoding = m_pFIContext->GetEncoding(itemType);
    m_value.clear();
    switch (encoding.m_dwEncodingKind) {
    case FIEncodingKind_CharacterString:
        AppendUtf8Checked(m_value, value);
        return 0;
    case FIEncodingKind_RestrictedAlphabet:
        if (encoding.m_dwIndex != 1 && encoding.m_dwIndex != 2)
            throw CQxException(FormatString(L"Failed to write FastInfoset. Invalid Restricted Alphabet value [%d]",
                                            static_cast<int>(encoding.m_dwIndex)));
        CFastInfosetBinaryData::AppendRestrictedAlphabetString(
            m_value, m_pVocabulary->GetRestrictedAlphabet(encoding.m_dwIndex), value.data(), value.size());
        index = encoding.m_dwIndex - 1;
        return 2;
    case FIEncodingKind_EncodingAlgorithm:
        if (encoding.m_dwIndex < 1 || encoding.m_dwIndex > 10)
            throw CQxException(FormatString(L"Failed to write FastInfoset. Invalid Encoding Algorithm value [%d]",
                                            static_cast<int>(encoding.m_dwIndex)));
        CFastInfosetBinaryData::AppendEncodedString(m_value, encoding.m_dwIndex, value);
        if (m_value.empty()) {
            // No octets (base64 text of nothing): an octet string cannot be empty, so the
            // text goes as it stands.
            AppendUtf8Checked(m_value, value);
            return 0;
        }
        index = encoding.m_dwIndex - 1;
        return 3;
    default:
        throw CQxException(chunk ? L"Failed to write FastInfoset. Unknown encoding in EncodedCharacterStringBit7."
                                 : L"Failed to write FastInfoset. Unknown encoding in EncodedCharacterStringBit5.");
    }
}

// Attribute values: a non-identifying string or index starting on the first bit, its encoded
// character string on the third.
void CFastInfosetWriter::WriteAttributeValue(std::string& out, const std::wstring& value, ItemType itemType) {
    if (value.empty()) {
        Put(out, 0xFF);  // the index reserved for the empty string
        return;
    }
    CFIVocabulary& v = *m_pVocabulary;
    const bool indexable = value.size() < m_pFIContext->GetAttributeMaxAddLength();
    uint32_t found = 0;
    if (indexable && CFIVocabulary::FindIndex(v.m_attributeValueMap, value, found)) {
        PutIntegerOnSecondBit(out, 0x80, found);
        return;
    }
    const unsigned first = indexable ? 0x40 : 0x00;  // literal, added to the table or not
    unsigned index = 0;
    const unsigned discriminant = EncodeValue(value, itemType, false, index);
    if (discriminant == 0) {
        PutOctetsOnFifthBit(out, first, m_value);
    } else {
        Put(out, first | discriminant << 4 | index >> 4);
        PutOctetsOnFifthBit(out, (index & 0x0F) << 4, m_value);
    }
    if (indexable) v.AddAttributeValue(value);
}

// Character chunks: the bits 10, a non-identifying string or index on the third bit, its
// encoded character string on the fifth.
void CFastInfosetWriter::WriteCharacterChunk(const std::wstring& value, ItemType itemType) {
    CFIVocabulary& v = *m_pVocabulary;
    const bool indexable = value.size() < m_pFIContext->GetElementMaxAddLength();
    uint32_t found = 0;
    if (indexable && CFIVocabulary::FindIndex(v.m_characterChunkMap, value, found)) {
        PutIntegerOnFourthBit(m_out, 0xA0, found);
        return;
    }
    const unsigned first = indexable ? 0x90 : 0x80;
    unsigned index = 0;
    const unsigned discriminant = EncodeValue(value, itemType, true, index);
    if (discriminant == 0) {
        PutOctetsOnSeventhBit(m_out, first, m_value);
    } else {
        Put(m_out, first | discriminant << 2 | index >> 6);
        PutOctetsOnSeventhBit(m_out, (index & 0x3F) << 2, m_value);
    }
    if (indexable) v.AddElementValue(value);
}

}  // namespace QxXmlLib10
