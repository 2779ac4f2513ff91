#include <qxxml/xmlin/ExpatReader.h>

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/detail/DocumentStorage.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <expat.h>

#include <algorithm>
#include <cassert>
#include <cstring>
#include <iterator>
#include <string_view>
#include <utility>

namespace QxXmlLib10 {

namespace {

constexpr XML_Char kNamespaceSeparator = '|';
// The data buffer is fed to expat in pieces of at most this size. expat copies what it is
// given into a buffer of its own (to keep context for its error reports); a whole document
// at once would mean a second copy of it, in fresh memory. Pieces make no difference to
// the result, the line numbers included.
constexpr uint32_t kLargestPiece = 0x40000;
// A pending buffer that grew beyond this (for one very long text) is given back once used,
// rather than kept for the rest of the parse.
constexpr size_t kLargestKeptBuffer = 1 << 20;

const char kCdataStart[] = "<![CDATA[";
const char kCdataEnd[] = "]]>";

CInstanceMonitor::ClassType* ReaderRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CExpatReader");
    return record;
}

// expat hands over well-formed UTF-8 only; a conversion failure means a broken invariant.
[[noreturn]] void ThrowInvalidText() {
    throw CQxException(L"The XML parser delivered text that is not valid UTF-8");
}

}  // namespace

CExpatReader::CExpatReader(CXmlDocument* document)
    : CInstanceMonitor(ReaderRecord()), m_doc(document) {
    assert(m_doc != nullptr);
}

CExpatReader::~CExpatReader() { FreeParser(); }

void CExpatReader::FreeParser() noexcept {
    if (m_parser != nullptr) {
        XML_ParserFree(m_parser);
        m_parser = nullptr;
    }
}

void CExpatReader::Start() {
    FreeParser();
    m_failure = nullptr;
    for (CPendingText& pending : m_pendingText) pending.Clear();
    m_pOpenText = nullptr;
    m_pLastName = nullptr;

    // No encoding is passed: expat detects it (byte order mark, XML declaration, UTF-8).
    // Only a wide string's is set, below.
    m_parser = m_doc->m_schemaType == SchemaType_NoNamespaces
                   ? XML_ParserCreate(nullptr)
                   : XML_ParserCreateNS(nullptr, kNamespaceSeparator);
    if (m_parser == nullptr) throw CQxException(L"Failed to create the XML parser");
    // A wide string: its encoding is known and outranks the XML declaration's.
    if (m_doc->m_dataIsUtf16 && XML_SetEncoding(m_parser, "UTF-16") != XML_STATUS_OK) {
        FreeParser();
        throw CQxException(L"Failed to create the XML parser");
    }
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, &OnStartElement, &OnEndElement);
    XML_SetNamespaceDeclHandler(m_parser, &OnStartNamespaceDecl, &OnEndNamespaceDecl);
    XML_SetCharacterDataHandler(m_parser, &OnCharacterData);
    // Without these handlers a CDATA section's content arrives as plain character data.
    if (!m_doc->GetContext().GetStripCDATA())
        XML_SetCdataSectionHandler(m_parser, &OnStartCdata, &OnEndCdata);
}

void CExpatReader::Parse(bool isFinal) {
    if (m_parser == nullptr) throw CQxInvalidStateException(L"The XML parser is not started");
    const char* data = reinterpret_cast<const char*>(m_doc->m_pData);
    uint32_t remaining = m_doc->m_dataLength;
    do {
        const uint32_t piece = std::min(remaining, kLargestPiece);
        remaining -= piece;
        const int last = isFinal && remaining == 0 ? XML_TRUE : XML_FALSE;
        if (XML_Parse(m_parser, data, static_cast<int>(piece), last) != XML_STATUS_OK) ThrowParseError();
        data += piece;
    } while (remaining != 0);
    if (isFinal) FreeParser();
}

void CExpatReader::ThrowParseError() {
    // Text collected for the open elements goes into the partial tree the document keeps.
    CommitAllPendingText();
    if (m_failure) {
        std::exception_ptr failure = m_failure;
        m_failure = nullptr;
        FreeParser();
        std::rethrow_exception(failure);
    }
    const XML_LChar* text = XML_ErrorString(XML_GetErrorCode(m_parser));
    const int line = static_cast<int>(XML_GetCurrentLineNumber(m_parser));
    FreeParser();
    throw CQxException(FormatString(L"%S at line %d", text != nullptr ? text : "unknown error", line));
}

// ------------------------------------------------------------------ callbacks

void CExpatReader::KeepFailure() noexcept {
    if (!m_failure) m_failure = std::current_exception();
    XML_StopParser(m_parser, XML_FALSE);
}

void CExpatReader::OnStartElement(void* userData, const char* name, const char** attributes) {
    CExpatReader* reader = static_cast<CExpatReader*>(userData);
    if (reader->m_failure) return;
    try {
        reader->StartElement(name, attributes);
    } catch (...) {
        reader->KeepFailure();
    }
}

void CExpatReader::OnEndElement(void* userData, const char*) {
    CExpatReader* reader = static_cast<CExpatReader*>(userData);
    if (reader->m_failure) return;
    try {
        reader->EndElement();
    } catch (...) {
        reader->KeepFailure();
    }
}

void CExpatReader::OnStartNamespaceDecl(void* userData, const char* prefix, const char* uri) {
    CExpatReader* reader = static_cast<CExpatReader*>(userData);
    if (reader->m_failure) return;
    try {
        reader->StartNamespaceDecl(prefix, uri);
    } catch (...) {
        reader->KeepFailure();
    }
}

// Declarations are document-wide: nothing is undone when the declaring element ends.
void CExpatReader::OnEndNamespaceDecl(void*, const char*) {}

void CExpatReader::OnCharacterData(void* userData, const char* text, int length) {
    CExpatReader* reader = static_cast<CExpatReader*>(userData);
    if (reader->m_failure || length <= 0) return;
    try {
        reader->AppendPendingText(text, static_cast<size_t>(length));
    } catch (...) {
        reader->KeepFailure();
    }
}

void CExpatReader::OnStartCdata(void* userData) {
    CExpatReader* reader = static_cast<CExpatReader*>(userData);
    if (reader->m_failure) return;
    try {
        reader->AppendPendingText(kCdataStart, std::size(kCdataStart) - 1);
    } catch (...) {
        reader->KeepFailure();
    }
}

void CExpatReader::OnEndCdata(void* userData) {
    CExpatReader* reader = static_cast<CExpatReader*>(userData);
    if (reader->m_failure) return;
    try {
        reader->AppendPendingText(kCdataEnd, std::size(kCdataEnd) - 1);
    } catch (...) {
        reader->KeepFailure();
    }
}

// ------------------------------------------------------------------ tree building

const std::wstring* CExpatReader::InternUtf8(const char* text, size_t length) {
    m_scratch.clear();
    if (!AppendWideFromUtf8(m_scratch, text, length)) ThrowInvalidText();
    return m_doc->InternString(m_scratch.data(), m_scratch.size());
}

void CExpatReader::LookupName(const char* name, const std::wstring*& namespaceUri,
                              const std::wstring*& localName) {
    using Form = detail::ParserName;
    Form* const last = m_pLastName;
    Form* form = nullptr;
    if (last == nullptr) {
        form = FindName(name);
    } else if (last->next != nullptr && IsName(*last->next->key, name)) {
        form = last->next;
    } else if (last->other != nullptr && IsName(*last->other->key, name)) {
        form = last->other;
        std::swap(last->next, last->other);  // the one met last is tried first
    } else {
        form = FindName(name);
        last->other = last->next;
        last->next = form;
    }
    m_pLastName = form;
    namespaceUri = form->namespaceUri;
    localName = form->localName;
}

// strncmp stops at the end of `name`, so a shorter name is never read beyond.
bool CExpatReader::IsName(const std::string& key, const char* name) {
    return std::strncmp(name, key.data(), key.size()) == 0 && name[key.size()] == '\0';
}

detail::ParserName* CExpatReader::FindName(const char* name) {
    CXmlDocument::Storage& storage = *m_doc->m_pStorage;
    auto& names = storage.parserNames;
    const std::string_view key(name);
    const size_t hash = names.Hash(key);
    if (const auto* known = names.Find(key, hash)) return known->value;
    // The namespace URI is what comes before the first separator, the local name the rest.
    // Without namespace processing there is no separator (it cannot occur in a name).
    detail::ParserName form;
    const size_t separator = key.find(kNamespaceSeparator);
    if (separator == std::string_view::npos) {
        form.namespaceUri = InternUtf8("", 0);
        form.localName = InternUtf8(key.data(), key.size());
    } else {
        form.namespaceUri = InternUtf8(key.data(), separator);
        form.localName = InternUtf8(key.data() + separator + 1, key.size() - separator - 1);
    }
    auto* entry = names.FindOrInsert(key, hash).first;
    form.key = &entry->key();
    storage.parserNameForms.push_back(form);
    entry->value = &storage.parserNameForms.back();
    return entry->value;
}

void CExpatReader::StartElement(const char* name, const char** attributes) {
    const std::wstring* namespaceUri = nullptr;
    const std::wstring* localName = nullptr;
    LookupName(name, namespaceUri, localName);
    // The document element when there is none yet, otherwise a child of the open element.
    CXmlElement* element = m_doc->AddElement(namespaceUri, localName);
    const size_t depth = m_doc->m_pElementStack.size() - 1;
    if (m_pendingText.size() <= depth) m_pendingText.resize(depth + 1);
    m_pOpenText = &m_pendingText[depth];

    if (attributes[0] == nullptr) return;
    size_t count = 0;
    while (attributes[2 * count] != nullptr) ++count;
    CXmlAttributeList& list = element->m_attributes;
    list.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        LookupName(attributes[2 * i], namespaceUri, localName);
        CXmlAttribute* attribute = m_doc->NewAttribute(localName, namespaceUri);
        list.push_back(attribute);
        const char* value = attributes[2 * i + 1];
        size_t length = std::strlen(value);
        wchar_t* run = DecodeIntoTextStorage(value, length);
        attribute->SetValueView(run, length);
    }
}

// The text storage sizes the run by the byte count, exact for ASCII, and takes back what a
// text with multi-byte characters leaves unused; `length` becomes the character count.
wchar_t* CExpatReader::DecodeIntoTextStorage(const char* text, size_t& length) {
    if (length == 0) return nullptr;
    detail::TextArena& storage = m_doc->TextStorage();
    wchar_t* run = storage.Allocate(length);
    const wchar_t* end = DecodeWideFromUtf8(run, text, length);
    if (end == nullptr) ThrowInvalidText();
    length = static_cast<size_t>(end - run);
    storage.ShrinkLast(run, length);
    return run;
}

void CExpatReader::EndElement() {
    const auto& stack = m_doc->m_pElementStack;
    if (stack.empty()) return;
    CommitPendingText(stack.back(), m_pendingText[stack.size() - 1]);
    m_doc->EndElement();
    m_pOpenText = stack.empty() ? nullptr : &m_pendingText[stack.size() - 1];
}

void CExpatReader::StartNamespaceDecl(const char* prefix, const char* uri) {
    std::wstring key;
    std::wstring value;
    if (prefix != nullptr && !AppendWideFromUtf8(key, prefix, std::strlen(prefix))) ThrowInvalidText();
    if (uri != nullptr && !AppendWideFromUtf8(value, uri, std::strlen(uri))) ThrowInvalidText();
    m_doc->m_aliasMap[std::move(key)] = std::move(value);
}

void CExpatReader::AppendPendingText(const char* text, size_t length) {
    if (m_pOpenText != nullptr) m_pOpenText->Append(text, length);
}

void CExpatReader::CPendingText::Grow(size_t length) {
    const size_t grown = std::max({size + length, 2 * capacity, size_t{256}});
    std::unique_ptr<char[]> larger(new char[grown]);
    if (size != 0) std::memcpy(larger.get(), bytes.get(), size);
    bytes = std::move(larger);
    capacity = grown;
}

// Carriage returns reach the text only from character references (&#13;): expat has already
// turned line ends into line feeds. They are left out; a CR byte is never part of a
// multi-byte UTF-8 sequence, so dropping the bytes is exact.
void CExpatReader::CommitPendingText(CXmlElement* element, CPendingText& pending) {
    if (pending.size == 0) return;
    char* const text = pending.bytes.get();
    if (std::memchr(text, '\r', pending.size) != nullptr)
        pending.size = static_cast<size_t>(std::remove(text, text + pending.size, '\r') - text);
    if (pending.size == 0) {
        // only carriage returns
    } else if (element->m_textLength == 0) {
        size_t length = pending.size;  // at most the input's length: 32 bits
        element->m_pText = DecodeIntoTextStorage(text, length);
        element->m_textLength = element->m_textCapacity = static_cast<uint32_t>(length);
    } else {
        m_scratch.clear();
        if (!AppendWideFromUtf8(m_scratch, text, pending.size)) ThrowInvalidText();
        element->AppendText(m_scratch.data(), m_scratch.size());
    }
    if (pending.capacity > kLargestKeptBuffer)
        pending = CPendingText();
    else
        pending.Clear();
}

void CExpatReader::CommitAllPendingText() noexcept {
    const auto& stack = m_doc->m_pElementStack;
    for (size_t depth = 0; depth < stack.size() && depth < m_pendingText.size(); ++depth) {
        try {
            CommitPendingText(stack[depth], m_pendingText[depth]);
        } catch (...) {
            m_pendingText[depth].Clear();  // out of memory: the partial tree goes without it
        }
    }
}

}  // namespace QxXmlLib10
