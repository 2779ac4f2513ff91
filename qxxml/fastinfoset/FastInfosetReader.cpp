// FastInfosetReader.cpp - reading a Fast Infoset document into the element tree.
//
// Bit notation as in the writer: octets are read most significant bit first; an item "on the
// n-th bit" shares its first octet, passed as `first`, with the n-1 bits its caller has read.
#include <qxxml/fastinfoset/FastInfosetReader.h>

#include <qxxml/fastinfoset/FastInfosetBinaryData.h>
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/fastinfoset/FastInfosetWriter.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <cstring>

namespace QxXmlLib10 {

namespace {

const unsigned char kIdentification[] = {0xE0, 0x00, 0x00, 0x01};
constexpr unsigned kTerminator = 0xF0;
constexpr unsigned kDoubleTerminator = 0xFF;
constexpr unsigned kProcessingInstruction = 0xE1;
constexpr unsigned kComment = 0xE2;

const wchar_t kPrefixTable[] = L"prefix";
const wchar_t kNamespaceTable[] = L"namespace name";
const wchar_t kLocalNameTable[] = L"local name";
const wchar_t kElementNameTable[] = L"element name";
const wchar_t kAttributeNameTable[] = L"attribute name";
const wchar_t kAttributeValueTable[] = L"attribute value";
const wchar_t kChunkTable[] = L"character chunk";
const wchar_t kOtherNCNameTable[] = L"other NCName";
const wchar_t kOtherURITable[] = L"other URI";
const wchar_t kOtherStringTable[] = L"other string";

[[noreturn]] void Fail(const wchar_t* what) {
    throw CQxException(std::wstring(L"Failed to parse FastInfoset. ") + what);
}

[[noreturn]] void ThrowUnexpectedEnd() { Fail(L"Unexpected End of File."); }

[[noreturn]] void ThrowInvalidElement() { Fail(L"Invalid Encoding of Element type."); }

[[noreturn]] void ThrowInvalidInteger(const wchar_t* bit) {
    Fail((std::wstring(L"Invalid Encoding of integers 1 To 2^20 type  on the ") + bit + L" bit of an octet.").c_str());
}

[[noreturn]] void ThrowInvalidOctetString(const wchar_t* bit) {
    Fail((std::wstring(L"Invalid NonEmptyOctetString type  on the ") + bit + L" bit of an octet.").c_str());
}

// A table only grows to the largest index the format carries.
void Grow(uint32_t& tableSize) {
    if (tableSize < CFIVocabulary::kMaxTableSize) ++tableSize;
}

CInstanceMonitor::ClassType* MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CFastInfosetReader");
    return record;
}

}  // namespace

CFastInfosetReader::CFastInfosetReader(const CFastInfosetContext& context, CXmlDocument* document)
    : CInstanceMonitor(MonitorRecord()),
      m_pFIContext(&context),
      m_pDocument(document),
      m_pVocabulary(context.GetUseGeneratedVocabulary() ? new CFIVocabulary(*context.GetVocabulary())
                                                         : new CFIVocabulary()) {}

CFastInfosetReader::~CFastInfosetReader() = default;

// ------------------------------------------------------------------ header

size_t CFastInfosetReader::HeaderLength(const unsigned char* data, size_t length) noexcept {
    if (data == nullptr) return 0;
    if (length > sizeof kIdentification && std::memcmp(data, kIdentification, sizeof kIdentification) == 0)
        return sizeof kIdentification;
    for (int declaration = 1; declaration <= 9; ++declaration) {
        const char* text = CFastInfosetWriter::DeclarationText(declaration);
        const size_t n = std::strlen(text);
        if (length >= n + sizeof kIdentification && std::memcmp(data, text, n) == 0 &&
            std::memcmp(data + n, kIdentification, sizeof kIdentification) == 0)
            return n + sizeof kIdentification;
    }
    return 0;
}

bool CFastInfosetReader::IsFastInfoset(const unsigned char* data, size_t length) noexcept {
    return HeaderLength(data, length) != 0;
}

bool CFastInfosetReader::Parse() {
    const CXmlDocument& document = *m_pDocument;
    const size_t header = HeaderLength(document.m_pData, document.m_dataLength);
    if (header == 0) return false;
    m_pData = document.m_pData;
    m_pEnd = m_pData + document.m_dataLength;
    m_pPosition = m_pData + header;
    ReadOptionalComponents(Next());
    ReadDocumentChildren();
    return true;
}

// ------------------------------------------------------------------ octets

inline unsigned CFastInfosetReader::Next() {
    if (m_pPosition == m_pEnd) ThrowUnexpectedEnd();
    return *m_pPosition++;
}

const unsigned char* CFastInfosetReader::Take(uint64_t count) {
    if (count > static_cast<uint64_t>(m_pEnd - m_pPosition)) ThrowUnexpectedEnd();
    const unsigned char* start = m_pPosition;
    m_pPosition += count;
    return start;
}

// ------------------------------------------------------------------ document

// Every optional component of the header is read and dropped: the binding has no use for
// them, and the tables start as the context says, whatever vocabulary the document names.
void CFastInfosetReader::ReadOptionalComponents(unsigned presence) {
    if (presence & 0x40) {  // additional data: pairs of octet strings
        for (uint32_t n = ReadSequenceLength(); n != 0; --n) {
            Take(ReadLengthOnSecondBit(Next()));
            Take(ReadLengthOnSecondBit(Next()));
        }
    }
    if (presence & 0x20) SkipInitialVocabulary();
    if (presence & 0x10) SkipNotations();
    if (presence & 0x08) SkipUnparsedEntities();
    if (presence & 0x04) Take(ReadLengthOnSecondBit(Next()));  // character encoding scheme
    if (presence & 0x02) Next();                               // standalone
    if (presence & 0x01) SkipNonIdentifyingString(m_otherStrings, kOtherStringTable);  // version
}

void CFastInfosetReader::SkipInitialVocabulary() {
    const unsigned components = Next() << 8;
    const unsigned present = components | Next();
    auto octetString = [this] { Take(ReadLengthOnSecondBit(Next())); };
    auto encodedString = [this] { ReadEncodedString(Next(), true); };
    auto nameSurrogate = [this] {
        const unsigned parts = Next();
        if (parts & 0x02) ReadIntegerOnSecondBit(Next());
        if (parts & 0x01) ReadIntegerOnSecondBit(Next());
        ReadIntegerOnSecondBit(Next());
    };
    auto sequence = [this](auto item) {
        for (uint32_t n = ReadSequenceLength(); n != 0; --n) item();
    };
    if (present & 0x1000) octetString();  // external vocabulary URI
    // Restricted alphabets, encoding algorithms, prefixes, namespace names, local names, other
    // NCNames and other URIs: sequences of octet strings.
    for (unsigned bit = 0x0800; bit >= 0x0020; bit >>= 1)
        if (present & bit) sequence(octetString);
    // Attribute values, character chunks and other strings: encoded character strings.
    for (unsigned bit = 0x0010; bit >= 0x0004; bit >>= 1)
        if (present & bit) sequence(encodedString);
    if (present & 0x0002) sequence(nameSurrogate);
    if (present & 0x0001) sequence(nameSurrogate);
}

void CFastInfosetReader::SkipNotations() {
    for (;;) {
        const unsigned first = Next();
        if ((first & 0xF0) == kTerminator) return;
        if ((first & 0xFC) != 0xC0) Fail(L"Invalid Encoding of Notation type.");
        SkipIdentifyingString(m_otherNCNames, kOtherNCNameTable);
        if (first & 0x02) SkipIdentifyingString(m_otherURIs, kOtherURITable);
        if (first & 0x01) SkipIdentifyingString(m_otherURIs, kOtherURITable);
    }
}

void CFastInfosetReader::SkipUnparsedEntities() {
    for (;;) {
        const unsigned first = Next();
        if ((first & 0xF0) == kTerminator) return;
        if ((first & 0xFE) != 0xD0) Fail(L"Invalid Encoding of Unparsed Entity type.");
        SkipIdentifyingString(m_otherNCNames, kOtherNCNameTable);
        SkipIdentifyingString(m_otherURIs, kOtherURITable);
        if (first & 0x01) SkipIdentifyingString(m_otherURIs, kOtherURITable);
        SkipIdentifyingString(m_otherNCNames, kOtherNCNameTable);
    }
}

void CFastInfosetReader::SkipProcessingInstruction() {
    SkipIdentifyingString(m_otherNCNames, kOtherNCNameTable);
    SkipNonIdentifyingString(m_otherStrings, kOtherStringTable);
}

void CFastInfosetReader::SkipComment() { SkipNonIdentifyingString(m_otherStrings, kOtherStringTable); }

void CFastInfosetReader::SkipDocumentTypeDeclaration(unsigned first) {
    if (first & 0x02) SkipIdentifyingString(m_otherURIs, kOtherURITable);
    if (first & 0x01) SkipIdentifyingString(m_otherURIs, kOtherURITable);
    for (;;) {
        const unsigned octet = Next();
        if ((octet & 0xF0) == kTerminator) return;
        if (octet != kProcessingInstruction) Fail(L"Invalid Encoding of Document Type Declaration type.");
        SkipProcessingInstruction();
    }
}

void CFastInfosetReader::SkipEntityReference(unsigned first) {
    SkipIdentifyingString(m_otherNCNames, kOtherNCNameTable);
    if (first & 0x02) SkipIdentifyingString(m_otherURIs, kOtherURITable);
    if (first & 0x01) SkipIdentifyingString(m_otherURIs, kOtherURITable);
}

void CFastInfosetReader::ReadDocumentChildren() {
    for (;;) {
        const unsigned octet = Next();
        if (octet < 0x80) {
            if (m_pDocument->m_pDocumentElement != nullptr) Fail(L"More than one top-level element.");
            ReadElementTree(octet);
            if (m_bDocumentEnded) break;
        } else if (octet == kTerminator || octet == kDoubleTerminator) {
            break;
        } else if (octet == kProcessingInstruction) {
            SkipProcessingInstruction();
        } else if (octet == kComment) {
            SkipComment();
        } else if (octet >= 0xC4 && octet <= 0xC7) {
            SkipDocumentTypeDeclaration(octet);
        } else {
            ThrowInvalidElement();
        }
    }
    if (m_pDocument->m_pDocumentElement == nullptr) Fail(L"The document holds no element.");
}

// Iterative, so that no depth of nesting can exhaust the stack: the document's element stack
// holds the open elements.
void CFastInfosetReader::ReadElementTree(unsigned first) {
    const std::vector<CXmlElement*>& stack = m_pDocument->m_pElementStack;
    m_baseDepth = stack.size();
    if (StartElement(first)) {
        CloseElements(1);
        return;
    }
    while (stack.size() > m_baseDepth) {
        const unsigned octet = Next();
        if (octet < 0x80) {
            if (StartElement(octet)) CloseElements(1);
        } else if (octet < 0xC0) {
            ReadCharacterChunk(octet);
        } else if (octet == kTerminator) {
            CloseElements(1);
        } else if (octet == kDoubleTerminator) {
            CloseElements(2);
        } else if (octet == kProcessingInstruction) {
            SkipProcessingInstruction();
        } else if (octet == kComment) {
            SkipComment();
        } else if (octet >= 0xC8 && octet <= 0xCB) {
            SkipEntityReference(octet);
        } else {
            ThrowInvalidElement();
        }
    }
}

// Elements are popped directly: the document's element filter is not applied to Fast
// Infoset input. A double terminator after the document element ends the document too.
void CFastInfosetReader::CloseElements(size_t count) {
    std::vector<CXmlElement*>& stack = m_pDocument->m_pElementStack;
    for (; count != 0; --count) {
        if (stack.size() == m_baseDepth) {
            m_bDocumentEnded = true;
            return;
        }
        stack.pop_back();
    }
}

// ------------------------------------------------------------------ elements and attributes

bool CFastInfosetReader::StartElement(unsigned first) {
    const bool attributes = (first & 0x40) != 0;
    if ((first & 0x3C) == 0x38) {
        ReadNamespaceAttributes();
        first = Next();  // the name starts a fresh octet
    }
    const ResolvedName name = ReadElementName(first);
    CXmlDocument& document = *m_pDocument;
    if (document.m_pElementStack.empty() && document.m_pDocumentElement != nullptr)
        Fail(L"More than one top-level element.");
    CXmlElement* element = document.AddElement(name.namespaceUri, name.localName);
    if (!attributes) return false;
    for (;;) {
        const unsigned octet = Next();
        if (octet >= 0x80) return octet == kDoubleTerminator;
        ReadAttribute(element, octet);
    }
}

// Each declaration is kept in the document's alias map (the default namespace under the
// empty prefix; xmlns="" maps it to the empty string).
void CFastInfosetReader::ReadNamespaceAttributes() {
    CFIVocabulary& v = *m_pVocabulary;
    for (;;) {
        const unsigned octet = Next();
        if ((octet & 0xF0) == kTerminator) return;
        if ((octet & 0xFC) != 0xCC) Fail(L"Invalid Encoding of Namespace Attribute type.");
        uint32_t index = 0;
        std::wstring prefix = (octet & 0x02) ? ReadIdentifyingString(v.m_prefixNames, kPrefixTable, index) : L"";
        std::wstring uri = (octet & 0x01) ? ReadIdentifyingString(v.m_namespaceNames, kNamespaceTable, index) : L"";
        m_pDocument->m_aliasMap[std::move(prefix)] = std::move(uri);
    }
}

CFastInfosetReader::ResolvedName CFastInfosetReader::ReadElementName(unsigned first) {
    CFIVocabulary::CFIQNameTable& table = m_pVocabulary->m_elementNames;
    if ((first & 0x3C) == 0x3C) return ReadLiteralName(first & 0x03, table, m_elementNames);
    return ResolveName(ReadIntegerOnThirdBit(first), table, m_elementNames, kElementNameTable);
}

CFastInfosetReader::ResolvedName CFastInfosetReader::ReadAttributeName(unsigned first) {
    CFIVocabulary::CFIQNameTable& table = m_pVocabulary->m_attributeNames;
    if ((first & 0x7C) == 0x78) return ReadLiteralName(first & 0x03, table, m_attributeNames);
    return ResolveName(ReadIntegerOnSecondBit(first), table, m_attributeNames, kAttributeNameTable);
}

CFastInfosetReader::ResolvedName CFastInfosetReader::ReadLiteralName(unsigned parts,
                                                                     CFIVocabulary::CFIQNameTable& table,
                                                                     std::vector<ResolvedName>& resolved) {
    if (parts == 0x02) Fail(L"Invalid QName type Prefix without Namespace.");
    CFIVocabulary& v = *m_pVocabulary;
    uint32_t prefix = 0;
    uint32_t uri = 0;
    uint32_t local = 0;
    if (parts & 0x02) ReadIdentifyingString(v.m_prefixNames, kPrefixTable, prefix);
    const std::wstring uriText = (parts & 0x01) ? ReadIdentifyingString(v.m_namespaceNames, kNamespaceTable, uri) : L"";
    const std::wstring localText = ReadIdentifyingString(v.m_localNames, kLocalNameTable, local);
    const bool complete = local != 0 && (uri != 0 || !(parts & 0x01)) && (prefix != 0 || !(parts & 0x02));
    if (complete && table.Append(CFIVocabulary::CQNameParts(prefix, uri, local)))
        return ResolveName(table.size(), table, resolved, nullptr);
    ResolvedName name;  // a table is full: the name stands for this occurrence only
    name.namespaceUri = m_pDocument->InternString(uriText.data(), uriText.size());
    name.localName = m_pDocument->InternString(localText.data(), localText.size());
    return name;
}

CFastInfosetReader::ResolvedName CFastInfosetReader::ResolveName(uint32_t index,
                                                                 const CFIVocabulary::CFIQNameTable& table,
                                                                 std::vector<ResolvedName>& resolved,
                                                                 const wchar_t* tableName) {
    CheckIndex(index, table.size(), tableName);
    if (resolved.size() < table.size()) resolved.resize(table.size());
    ResolvedName& name = resolved[index - 1];
    if (name.localName == nullptr) {
        const CFIVocabulary& v = *m_pVocabulary;
        const CFIVocabulary::CQNameParts& parts = table.Get(index);
        // A generated vocabulary's names are checked here, once, like the document's.
        CheckIndex(parts.m_dwLocalNameIndex, v.m_localNames.size(), kLocalNameTable);
        if (parts.m_dwNamespaceIndex != 0)
            CheckIndex(parts.m_dwNamespaceIndex, v.m_namespaceNames.size(), kNamespaceTable);
        static const std::wstring none;
        const std::wstring& uri = parts.m_dwNamespaceIndex != 0 ? v.m_namespaceNames.Get(parts.m_dwNamespaceIndex) : none;
        const std::wstring& local = v.m_localNames.Get(parts.m_dwLocalNameIndex);
        name.namespaceUri = m_pDocument->InternString(uri.data(), uri.size());
        name.localName = m_pDocument->InternString(local.data(), local.size());
    }
    return name;
}

void CFastInfosetReader::ReadAttribute(CXmlElement* element, unsigned first) {
    const ResolvedName name = ReadAttributeName(first);
    CXmlAttributeList& attributes = element->m_attributes;
    if (attributes.size() == attributes.capacity()) attributes.reserve(attributes.empty() ? 4 : 2 * attributes.size());
    CXmlAttribute* attribute = m_pDocument->NewAttribute(name.localName, name.namespaceUri);
    attributes.push_back(attribute);

    CFIVocabulary::CFIStringTable& values = m_pVocabulary->m_attributeValues;
    const unsigned octet = Next();
    if (octet & 0x80) {
        if (octet == kDoubleTerminator) return;  // the empty string
        const uint32_t index = ReadIntegerOnSecondBit(octet);
        CheckIndex(index, values.size(), kAttributeValueTable);
        const std::wstring& value = values.Get(index);
        m_pDocument->StoreAttributeValue(attribute, value.data(), value.size());
        return;
    }
    ReadEncodedString(octet, true);
    m_pDocument->StoreAttributeValue(attribute, m_text.data(), m_text.size());
    if (octet & 0x40) values.Append(TableForm());
}

void CFastInfosetReader::ReadCharacterChunk(unsigned first) {
    CXmlElement* element = m_pDocument->m_pElementStack.back();
    CFIVocabulary::CFIStringTable& chunks = m_pVocabulary->m_characterChunks;
    if (first & 0x20) {
        const uint32_t index = ReadIntegerOnFourthBit(first);
        CheckIndex(index, chunks.size(), kChunkTable);
        const std::wstring& text = chunks.Get(index);
        CXmlDocument::AppendTextExcludingCR(element, text.data(), text.size());
        return;
    }
    ReadEncodedString(first, false);
    CXmlDocument::AppendTextExcludingCR(element, m_text.data(), m_text.size());
    if (first & 0x10) chunks.Append(TableForm());
}

// ------------------------------------------------------------------ strings

std::wstring CFastInfosetReader::ReadIdentifyingString(CFIVocabulary::CFIStringTable& table,
                                                       const wchar_t* tableName, uint32_t& index) {
    const unsigned first = Next();
    if (first & 0x80) {
        index = ReadIntegerOnSecondBit(first);
        CheckIndex(index, table.size(), tableName);
        return table.Get(index);
    }
    const uint64_t length = ReadLengthOnSecondBit(first);
    const unsigned char* data = Take(length);
    std::wstring text;
    AppendUtf8Text(text, data, static_cast<uint32_t>(length));
    // A full table takes no more: the string then stands for this occurrence only (index 0).
    index = table.Append(text) ? table.size() : 0;
    return text;
}

void CFastInfosetReader::SkipIdentifyingString(uint32_t& tableSize, const wchar_t* tableName) {
    const unsigned first = Next();
    if (first & 0x80) {
        CheckIndex(ReadIntegerOnSecondBit(first), tableSize, tableName);
        return;
    }
    Take(ReadLengthOnSecondBit(first));
    Grow(tableSize);
}

void CFastInfosetReader::SkipNonIdentifyingString(uint32_t& tableSize, const wchar_t* tableName) {
    const unsigned first = Next();
    if (first & 0x80) {
        if (first != kDoubleTerminator) CheckIndex(ReadIntegerOnSecondBit(first), tableSize, tableName);
        return;
    }
    ReadEncodedString(first, true);
    if (first & 0x40) Grow(tableSize);
}

void CFastInfosetReader::ReadEncodedString(unsigned first, bool onThirdBit) {
    const unsigned discriminant = onThirdBit ? (first >> 4) & 3 : (first >> 2) & 3;
    unsigned table = 0;
    uint64_t length = 0;
    if (discriminant < 2) {
        length = onThirdBit ? ReadLengthOnFifthBit(first) : ReadLengthOnSeventhBit(first);
    } else {
        // An eight-bit index (+1) across the octet boundary, then the length.
        const unsigned second = Next();
        if (onThirdBit) {
            table = ((first & 0x0F) << 4 | second >> 4) + 1;
            length = ReadLengthOnFifthBit(second);
        } else {
            table = ((first & 0x03) << 6 | second >> 2) + 1;
            length = ReadLengthOnSeventhBit(second);
        }
    }
    const unsigned char* data = Take(length);
    DecodeText(discriminant, table, data, static_cast<uint32_t>(length));
}

void CFastInfosetReader::DecodeText(unsigned discriminant, unsigned table, const unsigned char* data,
                                    uint32_t length) {
    m_text.clear();
    m_lastAlgorithm = 0;
    switch (discriminant) {
    case 0:
        AppendUtf8Text(m_text, data, length);
        return;
    case 1: {
        // UTF-16 is big-endian in this format; surrogate pairs become one character.
        if (length % 2 != 0) Fail(L"Invalid UTF-16 character string: an odd number of octets.");
        m_swapped.resize(length);
        for (uint32_t i = 0; i < length; i += 2) {
            m_swapped[i] = static_cast<char>(data[i + 1]);
            m_swapped[i + 1] = static_cast<char>(data[i]);
        }
        if (!AppendWideFromUtf16LE(m_text, reinterpret_cast<const unsigned char*>(m_swapped.data()), length))
            Fail(L"Invalid UTF-16 character string.");
        return;
    }
    case 2:
        CFastInfosetBinaryData::AppendRestrictedAlphabetText(m_text, m_pVocabulary->GetRestrictedAlphabet(table), data,
                                                             length);
        return;
    default:
        if (table == FIAlgorithm_CDATA) {
            AppendUtf8Text(m_text, data, length);
            return;
        }
        CFastInfosetBinaryData::AppendAsString(m_text, table, data, length);
        m_lastAlgorithm = table;
        return;
    }
}

// A value that an encoding algorithm carried goes into a table in the form other encoders
// give it there, so that later indices to it read the same: hexadecimal in lower case, UUIDs
// in their dashed form.
const std::wstring& CFastInfosetReader::TableForm() {
    if (m_lastAlgorithm != FIAlgorithm_Hexadecimal && m_lastAlgorithm != FIAlgorithm_UUID) return m_text;
    m_addForm.clear();
    size_t digit = 0;  // position within one value
    for (wchar_t c : m_text) {
        if (c == L' ') {
            digit = 0;
            m_addForm += c;
            continue;
        }
        if (m_lastAlgorithm == FIAlgorithm_UUID && (digit == 8 || digit == 12 || digit == 16 || digit == 20))
            m_addForm += L'-';
        m_addForm += (c >= L'A' && c <= L'F') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
        ++digit;
    }
    return m_addForm;
}

void CFastInfosetReader::AppendUtf8Text(std::wstring& out, const unsigned char* data, uint32_t length) {
    if (!AppendWideFromUtf8(out, reinterpret_cast<const char*>(data), length))
        Fail(L"Invalid UTF-8 character string.");
}

// ------------------------------------------------------------------ integers and lengths

uint32_t CFastInfosetReader::ReadIntegerOnSecondBit(unsigned first) {
    const unsigned b = first & 0x7F;
    if ((b & 0x40) == 0) return (b & 0x3F) + 1;
    if ((b & 0x60) == 0x40) return ((b & 0x1F) << 8 | Next()) + 65;
    if ((b & 0x70) == 0x60) {
        const uint32_t high = (b & 0x0F) << 16 | Next() << 8;
        return (high | Next()) + 8257;
    }
    ThrowInvalidInteger(L"second");
}

uint32_t CFastInfosetReader::ReadIntegerOnThirdBit(unsigned first) {
    const unsigned b = first & 0x3F;
    if ((b & 0x20) == 0) return (b & 0x1F) + 1;
    if ((b & 0x38) == 0x20) return ((b & 0x07) << 8 | Next()) + 33;
    if ((b & 0x38) == 0x28) {
        const uint32_t high = (b & 0x07) << 16 | Next() << 8;
        return (high | Next()) + 2081;
    }
    if (b == 0x30) {
        const unsigned top = Next();
        if (top & 0xF0) ThrowInvalidInteger(L"third");
        const uint32_t high = (top & 0x0F) << 16 | Next() << 8;
        return (high | Next()) + 526369;
    }
    ThrowInvalidInteger(L"third");
}

uint32_t CFastInfosetReader::ReadIntegerOnFourthBit(unsigned first) {
    const unsigned b = first & 0x1F;
    if ((b & 0x10) == 0) return (b & 0x0F) + 1;
    if ((b & 0x1C) == 0x10) return ((b & 0x03) << 8 | Next()) + 17;
    if ((b & 0x1C) == 0x14) {
        const uint32_t high = (b & 0x03) << 16 | Next() << 8;
        return (high | Next()) + 1041;
    }
    if (b == 0x18) {
        const unsigned top = Next();
        if (top & 0xF0) ThrowInvalidInteger(L"fourth");
        const uint32_t high = (top & 0x0F) << 16 | Next() << 8;
        return (high | Next()) + 263185;
    }
    ThrowInvalidInteger(L"fourth");
}

namespace {
uint64_t BigEndian32(const unsigned char* d) {
    return uint64_t{d[0]} << 24 | uint64_t{d[1]} << 16 | uint64_t{d[2]} << 8 | d[3];
}
}  // namespace

uint64_t CFastInfosetReader::ReadLengthOnSecondBit(unsigned first) {
    const unsigned b = first & 0x7F;
    if ((b & 0x40) == 0) return (b & 0x3F) + 1;
    if (b == 0x40) return Next() + uint64_t{65};
    if (b == 0x60) return BigEndian32(Take(4)) + 321;
    ThrowInvalidOctetString(L"second");
}

uint64_t CFastInfosetReader::ReadLengthOnFifthBit(unsigned first) {
    const unsigned b = first & 0x0F;
    if ((b & 0x08) == 0) return (b & 0x07) + 1;
    if (b == 0x08) return Next() + uint64_t{9};
    if (b == 0x0C) return BigEndian32(Take(4)) + 265;
    ThrowInvalidOctetString(L"fifth");
}

uint64_t CFastInfosetReader::ReadLengthOnSeventhBit(unsigned first) {
    const unsigned b = first & 0x03;
    if ((b & 0x02) == 0) return (b & 0x01) + 1;
    if (b == 0x02) return Next() + uint64_t{3};
    return BigEndian32(Take(4)) + 259;
}

// The length of a sequence of items (1 to 2^20) starting on the first bit.
uint32_t CFastInfosetReader::ReadSequenceLength() {
    const unsigned first = Next();
    if ((first & 0x80) == 0) return first + 1;
    if ((first & 0xC0) == 0x80) return ((first & 0x3F) << 8 | Next()) + 129;
    if ((first & 0xF0) == 0xC0) {
        const uint32_t high = (first & 0x0F) << 16 | Next() << 8;
        return (high | Next()) + 16513;
    }
    Fail(L"Invalid Encoding of Sequence Length.");
}

void CFastInfosetReader::CheckIndex(uint32_t index, uint32_t size, const wchar_t* tableName) {
    if (index == 0 || index > size)
        throw CQxException(FormatString(L"Failed to parse FastInfoset. Index [%u] is beyond the end of the %s table.",
                                        index, tableName));
}

}  // namespace QxXmlLib10
