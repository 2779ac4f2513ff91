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

#include <cassert>
#include <cstring>
#include <cwchar>

namespace QxXmlLib10 {

namespace {


constexpr unsigned char kTerminator = 0xF0;        // 1111 and four zero bits
constexpr unsigned char kDoubleTerminator = 0xFF;  // two terminators in one octet

// Every Put... writes at `p` (room made by the caller) and returns the end of what it wrote.
inline char* Put(char* p, unsigned value) {
    *p = static_cast<char>(static_cast<unsigned char>(value));
    return p + 1;
}

inline char* PutBigEndian32(char* p, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) p = Put(p, value >> shift);
    return p;
}

// Integers from 1 to 2^20, starting on the second, third or fourth bit: at most 4 octets.
// Each form has up to four ranges; the value less the range's base follows the range's mark.
struct IntegerForm {
    uint32_t smallMax;   // up to this: first | (n - 1)
    uint32_t mediumMax;  // up to this: first | mediumMark | v >> 8, v
    unsigned mediumMark;
    uint32_t largeMax;  // up to this: first | largeMark | v >> 16, v >> 8, v
    unsigned largeMark;
    unsigned hugeMark;  // above: first | hugeMark, (v >> 16) & 0x0F, v >> 8, v
};
constexpr IntegerForm kIntegerOnSecondBit{64, 8256, 0x40, 0x100000, 0x60, 0};
constexpr IntegerForm kIntegerOnThirdBit{32, 2080, 0x20, 526368, 0x28, 0x30};
constexpr IntegerForm kIntegerOnFourthBit{16, 1040, 0x10, 263184, 0x14, 0x18};
constexpr size_t kMaxIntegerOctets = 4;

inline char* PutInteger(char* p, const IntegerForm& form, unsigned first, uint32_t n) {
    if (n <= form.smallMax) return Put(p, first | (n - 1));
    if (n <= form.mediumMax) {
        const uint32_t v = n - form.smallMax - 1;
        p = Put(p, first | form.mediumMark | v >> 8);
        return Put(p, v);
    }
    if (n <= form.largeMax) {
        const uint32_t v = n - form.mediumMax - 1;
        p = Put(p, first | form.largeMark | v >> 16);
        p = Put(p, v >> 8);
        return Put(p, v);
    }
    const uint32_t v = n - form.largeMax - 1;
    p = Put(p, first | form.hugeMark);
    p = Put(p, (v >> 16) & 0x0F);
    p = Put(p, v >> 8);
    return Put(p, v);
}

// An integer as an item of its own (room made here). Small ones, nearly every index of a
// document, take one octet in line.
void PutLargerInteger(CFIOctetBuffer& out, const IntegerForm& form, unsigned first, uint32_t n) {
    out.Done(PutInteger(out.Room(kMaxIntegerOctets), form, first, n));
}

#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline void PutInteger(CFIOctetBuffer& out, const IntegerForm& form, unsigned first, uint32_t n) {
    if (n <= form.smallMax)
        out.Put(static_cast<unsigned char>(first | (n - 1)));
    else
        PutLargerInteger(out, form, first, n);
}

// The length of an octet string (1 or more octets) starting on the second, fifth or seventh
// bit: one octet for short strings, two for medium ones, five above.
struct LengthForm {
    uint32_t oneOctetMax;   // lengths up to this take one octet: first | (L - 1)
    uint32_t twoOctetsMax;  // up to this: first | medium, then L - (oneOctetMax + 1)
    unsigned medium;
    unsigned large;  // above: first | large, then four octets L - (twoOctetsMax + 1)
};
constexpr LengthForm kOnSecondBit{64, 320, 0x40, 0x60};
constexpr LengthForm kOnFifthBit{8, 264, 0x08, 0x0C};
constexpr LengthForm kOnSeventhBit{2, 258, 0x02, 0x03};
constexpr size_t kMaxLengthOctets = 5;

constexpr size_t LengthOctets(const LengthForm& form, size_t length) {
    return length <= form.oneOctetMax ? 1 : length <= form.twoOctetsMax ? 2 : 5;
}

inline char* PutLength(char* p, const LengthForm& form, unsigned first, uint32_t length) {
    if (length <= form.oneOctetMax) return Put(p, first | (length - 1));
    if (length <= form.twoOctetsMax) {
        p = Put(p, first | form.medium);
        return Put(p, length - form.oneOctetMax - 1);
    }
    p = Put(p, first | form.large);
    return PutBigEndian32(p, length - form.twoOctetsMax - 1);
}

void PutOctets(CFIOctetBuffer& out, const LengthForm& form, unsigned first, std::string_view octets) {
    char* p = out.Room(kMaxLengthOctets + octets.size());
    p = PutLength(p, form, first, static_cast<uint32_t>(octets.size()));
    std::memcpy(p, octets.data(), octets.size());
    out.Done(p + octets.size());
}

// Non-identifying strings or indices: attribute values start on the first bit (their encoded
// character string on the third), character chunks on the third after the bits 10 (theirs on
// the fifth). `spare` is the number of bits the first octet has left after the discriminant.
struct ValueForm {
    unsigned indexMark;  // the octet's bits before an index
    const IntegerForm& indexForm;
    unsigned addedMark;    // literal, entered into the table
    unsigned literalMark;  // literal, not entered
    const LengthForm& lengthForm;
    unsigned spare;
};
const ValueForm kAttributeValue{0x80, kIntegerOnSecondBit, 0x40, 0x00, kOnFifthBit, 4};
const ValueForm kCharacterChunk{0xA0, kIntegerOnFourthBit, 0x90, 0x80, kOnSeventhBit, 2};

[[noreturn]] void ThrowNoUtf8Form() {
    throw CQxException(L"Failed to write FastInfoset. Text holds a character that has no UTF-8 form.");
}

// Copies `count` characters as octets when all are ASCII (one test of the whole block, then
// its copy: fixed-length loops the compiler unrolls); false, with nothing written, otherwise.
template <size_t count>
inline bool CopyAsciiBlock(const wchar_t* chars, char* out) {
    uint32_t any = 0;
    for (size_t k = 0; k < count; ++k) any |= static_cast<uint32_t>(chars[k]);
    if (any >= 0x80) return false;
    for (size_t k = 0; k < count; ++k) out[k] = static_cast<char>(chars[k]);
    return true;
}

// The UTF-8 form of `count` characters written at `out` (room for 4 octets per character and
// 3 more made by the caller); the end of what was written, null for text that has no UTF-8
// form. Values are mostly short ASCII: copied in line, in blocks whose last one overlaps the
// one before, so that the length decides few branches; anything else through the encoder.
char* EncodeUtf8(const wchar_t* chars, size_t count, char* out) {
    size_t ascii = 0;  // characters known to be ASCII and copied
    if (count >= 8) {
        for (; ascii + 8 < count && CopyAsciiBlock<8>(chars + ascii, out + ascii);) ascii += 8;
        if (ascii + 8 >= count && CopyAsciiBlock<8>(chars + count - 8, out + count - 8)) return out + count;
    } else if (count >= 4) {
        if (CopyAsciiBlock<4>(chars, out) && CopyAsciiBlock<4>(chars + count - 4, out + count - 4)) return out + count;
    }
    while (ascii < count && static_cast<uint32_t>(chars[ascii]) < 0x80) {
        out[ascii] = static_cast<char>(chars[ascii]);
        ++ascii;
    }
    if (ascii == count) return out + count;
    return EncodeUtf8Into(out + ascii, chars + ascii, count - ascii);
}

// The UTF-8 form of non-empty text as an octet string, encoded straight from the wide text
// into the output. The length goes before the octets, so its size is guessed from the
// character count (exact for ASCII) and the octets moved in the rare case the guess was short.
// (One function per length form, whose limits are then constants.)
template <const LengthForm& form>
void PutUtf8(CFIOctetBuffer& out, unsigned first, const std::wstring& text) {
    const size_t characters = text.size();
    char* p = out.Room(kMaxLengthOctets + 4 * characters + 3);  // 4 octets per character, the encoder's slack
    const size_t guessed = LengthOctets(form, characters);
    char* const start = p + guessed;
    char* const end = EncodeUtf8(text.data(), characters, start);
    if (!end) ThrowNoUtf8Form();
    const size_t length = static_cast<size_t>(end - start);
    const size_t needed = LengthOctets(form, length);
    if (needed != guessed) std::memmove(p + needed, start, length);
    PutLength(p, form, first, static_cast<uint32_t>(length));
    out.Done(p + needed + length);
}

void AppendUtf8Checked(std::string& out, const std::wstring& text) {
    if (!AppendUtf8(out, text.data(), text.size())) ThrowNoUtf8Form();
}

// Equality of names: mostly the very same string, compared several times per element.
inline bool SameName(const std::wstring& a, const std::wstring& b) noexcept {
    return a.size() == b.size() && (a.data() == b.data() || SameChars(a.data(), b.data(), a.size()));
}

}  // namespace

const wchar_t* const CFastInfosetWriter::kDefaultExternalVocabularyURI = L"urn:qxxml:fastinfoset:generated-vocabulary";

CInstanceMonitor::ClassType* CFastInfosetWriter::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CFastInfosetWriter");
    return record;
}

CFastInfosetWriter::CFastInfosetWriter(const CFastInfosetContext& context, CBinaryStream* stream)
    : CXmlWriter(MonitorRecord()),
      m_pFIContext(&context),
      m_pVocabulary(context.GetUseGeneratedVocabulary() ? new CFIVocabulary(*context.GetVocabulary())
                                                         : new CFIVocabulary()),
      m_out(stream) {
    // The encoding table is read once per value: its kinds are copied here.
    for (unsigned type = 0; type < kItemTypes; ++type)
        m_plainText[type] = context.GetEncoding(static_cast<int>(type)).m_dwEncodingKind == FIEncodingKind_CharacterString;
}

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
    if (const char* text = DeclarationText(declaration)) m_out.Append(text, std::strlen(text));
    static const char identification[] = {'\xE0', '\x00', '\x00', '\x01'};
    m_out.Append(identification, sizeof identification);
    if (!m_pFIContext->GetUseGeneratedVocabulary()) {
        m_out.Put(0x00);  // no optional components
        return;
    }
    // An initial vocabulary of which only the external vocabulary is present.
    static const char initialVocabulary[] = {'\x20', '\x10', '\x00'};
    m_out.Append(initialVocabulary, sizeof initialVocabulary);
    const std::wstring& named = m_pFIContext->GetExternalVocabularyURI();
    PutUtf8<kOnSecondBit>(m_out, 0x00, named.empty() ? std::wstring(kDefaultExternalVocabularyURI) : named);
}

void CFastInfosetWriter::WriteDocumentEnd() {
    m_out.Put(m_bTerminatorPending ? kDoubleTerminator : kTerminator);
    m_bTerminatorPending = false;
    m_out.Settle();
}

void CFastInfosetWriter::EndDocument() {
    m_out.Settle();
    CXmlWriter::EndDocument();
}

void CFastInfosetWriter::SetDefaultNamespace(const std::wstring& namespaceUri) {
    GiveLeafAScope();
    ++m_scopeVersion;
    CXmlWriter::SetDefaultNamespace(namespaceUri);
}

void CFastInfosetWriter::AddNamespace(const std::wstring& prefix, const std::wstring& namespaceUri) {
    GiveLeafAScope();
    ++m_scopeVersion;
    CXmlWriter::AddNamespace(prefix, namespaceUri);
}

// Processing instructions are not written. (An element held back stays so: its attributes
// may still come.)
void CFastInfosetWriter::WriteProcessingInstruction(const std::wstring&) {}

// ------------------------------------------------------------------ elements

// (Inline: the library's interface functions are not inlined into each other, and these run
// several times per element.)
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline void CFastInfosetWriter::CloseStartTag(bool child) {
    if (m_bLeaf) {  // a leaf never counts a child: it stops being one first
        if (!m_bLeafStartTagOpen) return;
        m_bLeafStartTagOpen = false;
        if (m_bLeafAttributesWritten) m_out.Put(kTerminator);  // end of its attributes
        return;
    }
    CXmlWriterContext* context = m_pContext;
    if (!context) return;
    if (child) context->IncrementChildCount();
    if (context->IsStartTagOpen()) {
        context->SetStartTagOpen(false);
        if (context->GetAttributesWritten()) m_out.Put(kTerminator);  // end of its attributes
    }
}

#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline void CFastInfosetWriter::StartContent(bool child) {
    if (child && m_bLeaf) GiveLeafAScope();  // it has a child: no leaf any more
    if (m_bPending) WritePendingElement();
    CloseStartTag(child);
    if (m_bTerminatorPending) {  // content after a child: the child's end first
        m_out.Put(kTerminator);
        m_bTerminatorPending = false;
    }
}

#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline void CFastInfosetWriter::OpenElement() {
    StartContent(true);
    OpenStartedElement();
}

// OpenElement's steps once the parent is ready for a child.
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline void CFastInfosetWriter::OpenStartedElement() {
    if (m_pContext) {
        // A child starts as a leaf, in its parent's scope.
        m_bLeaf = true;
        m_bLeafStartTagOpen = true;
        m_bLeafAttributesWritten = false;
    } else {
        ++m_scopeVersion;  // a root: a fresh scope
        // The scope does not keep the names: the element is written from its name's index,
        // or from the copies below when the name is new.
        static const std::wstring unnamed;
        PushContext(unnamed, unnamed);
    }
    m_bPending = true;
    m_dwAttributeCount = 0;
    m_attributeValues.clear();
    m_declarations.clear();
}

// Nothing enters the element-name table before the element is written.
inline void CFastInfosetWriter::HoldElementName(uint32_t index, const std::wstring& localName,
                                                const std::wstring& namespaceUri) {
    m_dwElementNameIndex = index;
    if (index == 0) {
        m_strElementNamespace = namespaceUri;
        m_strElementLocalName = localName;
    }
}

void CFastInfosetWriter::StartElement(const std::wstring& localName, const std::wstring& namespaceUri) {
    OpenElement();
    HoldElementName(ElementNameIndex(localName, namespaceUri), localName, namespaceUri);
}

void CFastInfosetWriter::StartDeclaredElement(const std::wstring& localName, const std::wstring& namespaceUri) {
    OpenElement();
    HoldElementName(DeclaredElementNameIndex(localName, namespaceUri), localName, namespaceUri);
}

void CFastInfosetWriter::StartSharedNameElement(const SharedName& localName, const SharedName& namespaceUri) {
    OpenElement();
    HoldElementName(DeclaredElementNameIndex(*localName, *namespaceUri, &localName, &namespaceUri), *localName,
                    *namespaceUri);
}

#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline void CFastInfosetWriter::WriteValueElement(const std::wstring& localName, const std::wstring& namespaceUri,
                                                  const SharedName* sharedLocalName,
                                                  const SharedName* sharedNamespaceUri, const std::wstring& value,
                                                  ItemType itemType) {
    if (m_pContext) {
        StartContent(true);  // the parent's start and the previous child's end
        if (const uint32_t index = RememberedDeclaredName(localName, namespaceUri)) {
            // What the general path writes for such an element: its name's index and its value.
            PutInteger(m_out, kIntegerOnThirdBit, 0x00, index);
            if (!value.empty()) WriteCharacterChunk(value, itemType);
            m_bTerminatorPending = true;  // its end, paired with what follows
            return;
        }
        OpenStartedElement();
    } else {
        OpenElement();  // a root
    }
    // The full look-up runs once the element is open: a namespace it declares is then the
    // element's own.
    HoldElementName(DeclaredElementNameIndex(localName, namespaceUri, sharedLocalName, sharedNamespaceUri), localName,
                    namespaceUri);
    FinishValueElement(value, itemType);
}

void CFastInfosetWriter::WriteDeclaredValueElement(const std::wstring& localName, const std::wstring& namespaceUri,
                                                   const std::wstring& value, ItemType itemType) {
    WriteValueElement(localName, namespaceUri, nullptr, nullptr, value, itemType);
}

void CFastInfosetWriter::WriteSharedNameValueElement(const SharedName& localName, const SharedName& namespaceUri,
                                                     const std::wstring& value, ItemType itemType) {
    WriteValueElement(*localName, *namespaceUri, &localName, &namespaceUri, value, itemType);
}

inline void CFastInfosetWriter::GiveLeafAScope() {
    if (!m_bLeaf) return;
    static const std::wstring unnamed;
    CXmlWriterContext* context = PushContext(unnamed, unnamed);  // inherits the parent's scope
    context->SetStartTagOpen(m_bLeafStartTagOpen);
    context->SetAttributesWritten(m_bLeafAttributesWritten);
    m_bLeaf = false;
}

void CFastInfosetWriter::WriteElementValue(const std::wstring& value, ItemType itemType) {
    StartContent(false);
    if (!value.empty()) WriteCharacterChunk(value, itemType);
}

// The end of the innermost element once its terminator is settled: its scope goes with it.
inline void CFastInfosetWriter::LeaveElement() {
    if (m_bLeaf) {
        m_bLeaf = false;  // it had no scope of its own: its parent's is current again
    } else {
        if (!m_pContext->IsInherited()) ++m_scopeVersion;  // its own declarations go with it
        PopContext();
    }
}

inline void CFastInfosetWriter::FinishValueElement(const std::wstring& value, ItemType itemType) {
    // OpenElement left the element pending and no terminator pending.
    WritePendingElement();
    CloseStartTag(false);
    if (!value.empty()) WriteCharacterChunk(value, itemType);
    m_bTerminatorPending = true;  // its end, paired with what follows
    LeaveElement();
}

void CFastInfosetWriter::EndElement() {
    if (!m_pContext) return;
    if (m_bPending) WritePendingElement();
    CloseStartTag(false);
    if (m_bTerminatorPending) {
        m_out.Put(kDoubleTerminator);
        m_bTerminatorPending = false;
    } else {
        m_bTerminatorPending = true;
    }
    LeaveElement();
}

inline void CFastInfosetWriter::WritePendingElement() {
    m_bPending = false;
    if (m_bLeaf && m_dwAttributeCount == 0 && m_dwElementNameIndex != 0 && m_declarations.empty()) {
        // The common case: a leaf named by an index, with no attributes or declarations.
        m_bLeafAttributesWritten = false;
        PutInteger(m_out, kIntegerOnThirdBit, 0x00, m_dwElementNameIndex);
        return;
    }
    WriteElementStart();
}

void CFastInfosetWriter::WriteElementStart() {
    const bool attributes = m_dwAttributeCount != 0;
    if (m_bLeaf)
        m_bLeafAttributesWritten = attributes;
    else
        m_pContext->SetAttributesWritten(attributes);
    unsigned first = attributes ? 0x40 : 0x00;  // element, attributes present or not
    const bool root = !m_bLeaf && m_pContext->GetParent() == nullptr;
    if (root || !m_declarations.empty()) {
        // Namespace attributes: on the root the announced ones (always, even none), on any
        // element the namespaces first used there.
        m_out.Put(first | 0x38);
        if (root) {
            if (!m_strDefaultNamespace.empty()) WriteNamespaceAttribute(std::wstring(), m_strDefaultNamespace);
            for (const auto& announced : m_namespaceMap)
                if (announced.first != kXmlNamespace) WriteNamespaceAttribute(announced.second, announced.first);
        }
        for (const auto& declared : m_declarations) WriteNamespaceAttribute(declared.second, declared.first);
        m_out.Put(kTerminator);
        first = 0x00;  // the name starts a fresh octet
    }
    if (m_dwElementNameIndex != 0) {
        PutInteger(m_out, kIntegerOnThirdBit, first, m_dwElementNameIndex);
    } else {
        WriteQualifiedName(true, static_cast<unsigned char>(first), *m_pElementPrefix, m_strElementNamespace,
                           m_strElementLocalName);
    }
    for (size_t i = 0; i < m_dwAttributeCount; ++i) {
        const PendingAttribute& a = m_attributes[i];
        if (a.nameIndex != 0) {
            PutInteger(m_out, kIntegerOnSecondBit, 0x00, a.nameIndex);
        } else {
            // New when added; an earlier attribute of this element may have entered it since.
            WriteQualifiedName(false, 0x00, a.prefix, a.namespaceUri, a.localName);
        }
        m_out.Append(m_attributeValues.data() + a.valueStart, a.valueEnd - a.valueStart);
    }
    m_dwAttributeCount = 0;
    m_attributeValues.clear();
    m_declarations.clear();
}

const std::wstring& CFastInfosetWriter::ElementPrefixFor(const std::wstring& namespaceUri) {
    static const std::wstring none;
    LastElementPrefix& last = m_lastElementPrefix;
    if (last.scope == CurrentScope() && last.version == m_scopeVersion && SameName(last.namespaceUri, namespaceUri))
        return last.prefix;
    // The name carries its namespace itself: no prefix in the scope's default namespace.
    const std::wstring& prefix = namespaceUri.empty() || SameName(namespaceUri, m_pContext->GetDefaultNamespace())
                                     ? none
                                     : PrefixFor(namespaceUri);
    last.scope = CurrentScope();  // PrefixFor may have made the scope its own
    last.version = m_scopeVersion;
    if (!SameName(last.namespaceUri, namespaceUri)) last.namespaceUri = namespaceUri;
    if (!SameName(last.prefix, prefix)) last.prefix = prefix;
    return last.prefix;
}

const std::wstring& CFastInfosetWriter::PrefixFor(const std::wstring& namespaceUri) {
    if (const std::wstring* known = m_pContext->FindPrefix(namespaceUri)) return *known;
    GiveLeafAScope();  // the declaration belongs to the current element's own scope
    std::wstring prefix = NewPrefix(m_pContext->GetNamespaceMap());
    ++m_scopeVersion;
    m_pContext->SetNamespaceMapValue(namespaceUri, prefix);
    m_declarations.emplace_back(namespaceUri, prefix);
    return *m_pContext->FindPrefix(namespaceUri);  // the map's own entry, which stays put
}

// ------------------------------------------------------------------ attributes

void CFastInfosetWriter::RequirePendingStartTag() const {
    if (!m_pContext || !m_bPending) throw CQxException(L"Attributes must be added before elements");
}

void CFastInfosetWriter::AddAttribute(const std::wstring& localName, const std::wstring& namespaceUri,
                                      const std::wstring& value, ItemType itemType) {
    RequirePendingStartTag();
    static const std::wstring noPrefix;
    AddEncodedAttribute(namespaceUri.empty() ? noPrefix : PrefixFor(namespaceUri), namespaceUri, localName, value,
                        itemType);
}

void CFastInfosetWriter::AddXsiTypeAttribute(const std::wstring& typeNamespace, const std::wstring& typeName,
                                             ItemType itemType) {
    RequirePendingStartTag();
    if (!typeNamespace.empty() && typeNamespace != m_pContext->GetDefaultNamespace()) {
        const std::wstring typePrefix = PrefixFor(typeNamespace);
        const std::wstring instancePrefix = PrefixFor(kInstanceNamespace);
        AddEncodedAttribute(instancePrefix, kInstanceNamespace, L"type", typePrefix + L':' + typeName, itemType);
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
        m_attributeValues.Truncate(start);
        throw;
    }
    if (m_dwAttributeCount == m_attributes.size()) m_attributes.emplace_back();
    PendingAttribute& a = m_attributes[m_dwAttributeCount++];
    a.nameIndex = AttributeNameIndex(prefix, namespaceUri, localName);
    if (a.nameIndex == 0) {  // written literally: the parts are needed then
        a.prefix = prefix;
        a.namespaceUri = namespaceUri;
        a.localName = localName;
    }
    a.valueStart = start;
    a.valueEnd = m_attributeValues.size();
}

// ------------------------------------------------------------------ names

void CFastInfosetWriter::WriteNamespaceAttribute(const std::wstring& prefix, const std::wstring& namespaceUri) {
    m_out.Put(prefix.empty() ? 0xCD : 0xCF);  // 110011, prefix present, namespace present
    CFIVocabulary& v = *m_pVocabulary;
    if (!prefix.empty()) WriteIdentifyingString(prefix, v.m_prefixNameMap, v.m_prefixNames);
    WriteIdentifyingString(namespaceUri, v.m_namespaceNameMap, v.m_namespaceNames);
}

namespace {

// A memo entry's hold on a shared name, or on none (a declared name, which needs none).
void KeepShared(SharedName& kept, const SharedName* name) {
    if (name == nullptr)
        kept.reset();
    else if (kept != *name)
        kept = *name;
}

}  // namespace

inline size_t CFastInfosetWriter::CacheHome(const std::wstring& localName) noexcept {
    // A document repeats few names many times, passed mostly as the same strings: their
    // address picks the first entry to try, their text confirms an entry.
    const uint64_t address = reinterpret_cast<uintptr_t>(localName.data());
    return static_cast<size_t>((address * 0x9E3779B97F4A7C15ull) >> 56);
}

inline uint32_t CFastInfosetWriter::ElementNameIndex(const std::wstring& localName,
                                                    const std::wstring& namespaceUri) {
    ElementMemo& memo = m_elementNameCache[CacheHome(localName) & (kNameCacheSize - 1)];
    const size_t local = localName.size();
    if (memo.index != 0 && memo.scope == CurrentScope() && memo.scopeVersion == m_scopeVersion &&
        memo.localLength == local && memo.namespaceLength == namespaceUri.size() &&
        SameChars(memo.chars, localName.data(), local) &&
        SameChars(memo.chars + local, namespaceUri.data(), namespaceUri.size()))
        return memo.index;  // and the prefix it was found with holds still
    m_pElementPrefix = &ElementPrefixFor(namespaceUri);
    CFIVocabulary::QNameKey(m_key, *m_pElementPrefix, namespaceUri, localName);
    const uint32_t index = m_pVocabulary->m_elementNameMap.Find(m_key);
    if (index != 0 && local + namespaceUri.size() <= kElementMemoChars) {  // it takes the entry over
        memo.index = index;
        memo.localLength = static_cast<uint32_t>(local);
        memo.namespaceLength = static_cast<uint32_t>(namespaceUri.size());
        memo.scope = CurrentScope();
        memo.scopeVersion = m_scopeVersion;
        std::wmemcpy(memo.chars, localName.data(), local);
        std::wmemcpy(memo.chars + local, namespaceUri.data(), namespaceUri.size());
    }
    return index;
}

#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline uint32_t CFastInfosetWriter::RememberedDeclaredName(const std::wstring& localName,
                                                          const std::wstring& namespaceUri) {
    const DeclaredMemo& memo = m_declaredNameCache[CacheHome(localName) & (kNameCacheSize - 1)];
    if (memo.index != 0 && memo.localName == localName.data() && memo.namespaceUri == namespaceUri.data() &&
        memo.localLength == localName.size() && memo.namespaceLength == namespaceUri.size() &&
        memo.scope == CurrentScope() && memo.scopeVersion == m_scopeVersion) {
        // A name that broke the promise (changed or moved) would be written as another.
        assert(memo.index == ElementNameIndex(localName, namespaceUri));
        return memo.index;
    }
    return 0;
}

#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline uint32_t CFastInfosetWriter::DeclaredElementNameIndex(const std::wstring& localName,
                                                            const std::wstring& namespaceUri,
                                                            const SharedName* sharedLocalName,
                                                            const SharedName* sharedNamespaceUri) {
    if (const uint32_t index = RememberedDeclaredName(localName, namespaceUri)) return index;
    return LearnDeclaredName(m_declaredNameCache[CacheHome(localName) & (kNameCacheSize - 1)], localName,
                             namespaceUri, sharedLocalName, sharedNamespaceUri);
}

uint32_t CFastInfosetWriter::LearnDeclaredName(DeclaredMemo& memo, const std::wstring& localName,
                                               const std::wstring& namespaceUri, const SharedName* sharedLocalName,
                                               const SharedName* sharedNamespaceUri) {
    const uint32_t index = ElementNameIndex(localName, namespaceUri);
    if (index != 0) {  // found under the scope in force: it takes the entry over
        memo.localName = localName.data();
        memo.namespaceUri = namespaceUri.data();
        memo.localLength = localName.size();
        memo.namespaceLength = namespaceUri.size();
        memo.scope = CurrentScope();
        memo.scopeVersion = m_scopeVersion;
        memo.index = index;
        KeepShared(memo.sharedLocalName, sharedLocalName);
        KeepShared(memo.sharedNamespaceUri, sharedNamespaceUri);
    }
    return index;
}

uint32_t CFastInfosetWriter::AttributeNameIndex(const std::wstring& prefix, const std::wstring& namespaceUri,
                                                const std::wstring& localName) {
    const size_t home = CacheHome(localName);
    CachedName* free = nullptr;
    for (size_t probe = 0; probe < kNameCacheProbes; ++probe) {
        CachedName& cached = m_attributeNameCache[(home + probe) & (kNameCacheSize - 1)];
        if (cached.index == 0) {
            free = &cached;
            break;
        }
        if (SameName(cached.localName, localName) && SameName(cached.namespaceUri, namespaceUri) &&
            SameName(cached.prefix, prefix))
            return cached.index;
    }
    CFIVocabulary::QNameKey(m_key, prefix, namespaceUri, localName);
    const uint32_t index = m_pVocabulary->m_attributeNameMap.Find(m_key);
    if (index != 0) {
        // Into a free entry of the run, else over its first.
        CachedName& cached = free ? *free : m_attributeNameCache[home & (kNameCacheSize - 1)];
        cached.localName = localName;
        cached.namespaceUri = namespaceUri;
        cached.prefix = prefix;
        cached.index = index;
    }
    return index;
}

void CFastInfosetWriter::WriteQualifiedName(bool element, unsigned char first, const std::wstring& prefix,
                                            const std::wstring& namespaceUri, const std::wstring& localName) {
    CFIVocabulary& v = *m_pVocabulary;
    CFIVocabulary::QNameKey(m_key, prefix, namespaceUri, localName);
    const uint32_t index = (element ? v.m_elementNameMap : v.m_attributeNameMap).Find(m_key);
    if (index != 0) {
        PutInteger(m_out, element ? kIntegerOnThirdBit : kIntegerOnSecondBit, first, index);
        return;
    }
    const unsigned parts = (prefix.empty() ? 0 : 2) | (namespaceUri.empty() ? 0 : 1);
    m_out.Put(first | (element ? 0x3C : 0x78) | parts);
    if (!prefix.empty()) WriteIdentifyingString(prefix, v.m_prefixNameMap, v.m_prefixNames);
    if (!namespaceUri.empty()) WriteIdentifyingString(namespaceUri, v.m_namespaceNameMap, v.m_namespaceNames);
    WriteIdentifyingString(localName, v.m_localNameMap, v.m_localNames);
    if (element)
        v.AddElement(prefix, namespaceUri, localName);
    else
        v.AddAttribute(prefix, namespaceUri, localName);
}

void CFastInfosetWriter::WriteIdentifyingString(const std::wstring& value, CFIVocabulary::IndexMap& map,
                                                CFIVocabulary::CFIStringTable& table) {
    const size_t hash = CFIIndexMap::Hash(value.data(), value.size());
    if (const uint32_t index = map.Find(value.data(), value.size(), hash)) {
        PutInteger(m_out, kIntegerOnSecondBit, 0x80, index);
        return;
    }
    if (value.empty()) throw CQxException(L"Failed to write FastInfoset. A name is empty.");
    PutUtf8<kOnSecondBit>(m_out, 0x00, value);
    CFIVocabulary::AddString(value, hash, map, table);
}

// ------------------------------------------------------------------ values

unsigned CFastInfosetWriter::EncodeValue(const std::wstring& value, ItemType itemType, bool chunk, unsigned& index,
                                         std::string_view& octets) {
    const CFastInfosetContext::EncodedCharacterString encoding = m_pFIContext->GetEncoding(itemType);
    m_value.clear();
    switch (encoding.m_dwEncodingKind) {
    case FIEncodingKind_CharacterString:
        AppendUtf8Checked(m_value, value);
        octets = m_value;
        return 0;
    case FIEncodingKind_RestrictedAlphabet:
        if (encoding.m_dwIndex != 1 && encoding.m_dwIndex != 2)
            throw CQxException(FormatString(L"Failed to write FastInfoset. Invalid Restricted Alphabet value [%d]",
                                            static_cast<int>(encoding.m_dwIndex)));
        CFastInfosetBinaryData::AppendRestrictedAlphabetString(
            m_value, m_pVocabulary->GetRestrictedAlphabet(encoding.m_dwIndex), value.data(), value.size());
        octets = m_value;
        index = encoding.m_dwIndex - 1;
        return 2;
    case FIEncodingKind_EncodingAlgorithm:
        if (encoding.m_dwIndex < 1 || encoding.m_dwIndex > 10)
            throw CQxException(FormatString(L"Failed to write FastInfoset. Invalid Encoding Algorithm value [%d]",
                                            static_cast<int>(encoding.m_dwIndex)));
        index = encoding.m_dwIndex - 1;
        // Numbers and booleans straight from their octets; the others through the buffer.
        if (const unsigned count = CFastInfosetBinaryData::EncodeFixedSize(encoding.m_dwIndex, value, m_fixed)) {
            octets = std::string_view(reinterpret_cast<const char*>(m_fixed), count);
            return 3;
        }
        CFastInfosetBinaryData::AppendEncodedString(m_value, encoding.m_dwIndex, value);
        if (m_value.empty()) {
            // No octets (base64 text of nothing): an octet string cannot be empty, so the
            // text goes as it stands.
            AppendUtf8Checked(m_value, value);
            octets = m_value;
            return 0;
        }
        octets = m_value;
        return 3;
    default:
        throw CQxException(chunk ? L"Failed to write FastInfoset. Unknown encoding in EncodedCharacterStringBit7."
                                 : L"Failed to write FastInfoset. Unknown encoding in EncodedCharacterStringBit5.");
    }
}

inline bool CFastInfosetWriter::IsPlainText(ItemType itemType) const {
    const unsigned type = static_cast<unsigned>(itemType);
    return type < kItemTypes ? m_plainText[type]
                             : m_pFIContext->GetEncoding(itemType).m_dwEncodingKind == FIEncodingKind_CharacterString;
}

inline void CFastInfosetWriter::WriteValue(CFIOctetBuffer& out, bool chunk, const std::wstring& value, ItemType itemType,
                                    uint32_t maxAddLength, CFIVocabulary::IndexMap& map, CFIShortKeyCache& cache) {
    const ValueForm& form = chunk ? kCharacterChunk : kAttributeValue;
    const bool indexable = value.size() < maxAddLength;
    size_t hash = 0;
    if (indexable) {
        hash = CFIIndexMap::Hash(value.data(), value.size());
        uint32_t found = cache.Find(value.data(), value.size(), hash);
        if (found == 0) {
            found = map.Find(value.data(), value.size(), hash);
            if (found != 0) cache.Remember(value.data(), value.size(), hash, found);
        }
        if (found != 0) {
            PutInteger(out, form.indexForm, form.indexMark, found);
            return;
        }
    }
    const unsigned first = indexable ? form.addedMark : form.literalMark;
    unsigned index = 0;
    std::string_view octets;
    if (IsPlainText(itemType)) {
        // discriminant 00: UTF-8
        if (chunk)
            PutUtf8<kOnSeventhBit>(out, first, value);
        else
            PutUtf8<kOnFifthBit>(out, first, value);
    } else if (const unsigned discriminant = EncodeValue(value, itemType, chunk, index, octets)) {
        // The discriminant, then the 8-bit table index split across the octet boundary.
        const unsigned rest = 8 - form.spare;
        out.Put(first | discriminant << form.spare | index >> rest);
        PutOctets(out, form.lengthForm, (index & ((1u << rest) - 1)) << form.spare, octets);
    } else {
        PutOctets(out, form.lengthForm, first, octets);
    }
    // Into the map only: the writer looks values up and never reads them back by index, so
    // its private vocabulary's value tables stay empty (a document indexing many values then
    // keeps one copy of each, not two).
    if (!indexable) return;
    if (const uint32_t index = CFIVocabulary::AddValueToMap(value, hash, map))
        cache.Remember(value.data(), value.size(), hash, index);
}

inline void CFastInfosetWriter::WriteAttributeValue(CFIOctetBuffer& out, const std::wstring& value, ItemType itemType) {
    if (value.empty()) {
        out.Put(0xFF);  // the index reserved for the empty string
        return;
    }
    CFIVocabulary& v = *m_pVocabulary;
    WriteValue(out, false, value, itemType, m_pFIContext->GetAttributeMaxAddLength(), v.m_attributeValueMap,
               m_attributeValueCache);
}

inline void CFastInfosetWriter::WriteCharacterChunk(const std::wstring& value, ItemType itemType) {
    CFIVocabulary& v = *m_pVocabulary;
    WriteValue(m_out, true, value, itemType, m_pFIContext->GetElementMaxAddLength(), v.m_characterChunkMap,
               m_characterChunkCache);
}

}  // namespace QxXmlLib10
