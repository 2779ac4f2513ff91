#include <qxxml/xmlin/XmlDocument.h>

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/fastinfoset/FastInfosetReader.h>
#include <qxxml/platform/Platform.h>
#include <qxxml/support/NameRegistry.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/QxZip.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlin/ExpatReader.h>
#include <qxxml/xmlin/detail/DocumentStorage.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <limits>
#include <utility>
#include <vector>

namespace QxXmlLib10 {

namespace {

// Asynchronous loading reads and parses the file in chunks of this size, two at a time.
constexpr uint32_t kChunkBytes = 0x20000;

const wchar_t kOpenFailed[] = L"Failed to open the file [%s] Error [0x%08x]";
const wchar_t kSizeFailed[] = L"Failed to get the size of the file [%s] Error [0x%08x]";
const wchar_t kReadFailed[] = L"Failed to read the contents of the file [%s] Error [0x%08x]";
const wchar_t kEventFailed[] = L"Failed to create event for file overlap [%s] error [0x%08X]";
const wchar_t kChunkReadFailed[] = L"Failed to read the contents of the file. Error [0x%08x]";

CInstanceMonitor::ClassType* DocumentRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CXmlDocument");
    return record;
}

// True unless the bytes certainly are no gzip or zlib stream. Inflating needs a private copy
// of the input (the inflater frees the array it replaces), so input that cannot be
// compressed is parsed where it lies. The test accepts every header that zlib's automatic
// detection accepts (gzip's 1F 8B; a zlib CMF/FLG pair: deflate, window of at most 32 KiB,
// check bits), and leaves the final word to CQxZip.
bool MayBeCompressed(const unsigned char* bytes, uint32_t length) {
    if (length < 2) return false;
    if (bytes[0] == 0x1F && bytes[1] == 0x8B) return true;
    const unsigned cmf = bytes[0];
    const unsigned flg = bytes[1];
    return (cmf & 0x0F) == 8 && (cmf >> 4) <= 7 && ((cmf << 8) | flg) % 31 == 0;
}

}  // namespace

// The open file and the overlapped read of an asynchronous Load, with its two chunk
// buffers. The members are destroyed in reverse order: the read (which waits for a transfer
// still in flight) goes before the file is closed and before the buffers are freed, so every
// way out of Load, exceptions included, releases everything safely.
struct CXmlDocument::FileState {
    std::unique_ptr<unsigned char[]> current;
    std::unique_ptr<unsigned char[]> next;
    Platform::File file;
    Platform::OverlappedOp read;
    uint64_t position = 0;  // bytes consumed so far
};

// ------------------------------------------------------------------ construction

CXmlDocument::CXmlDocument() : CInstanceMonitor(DocumentRecord()) {
    Init(nullptr, CXmlSerializationContext::GetDefaultContext());
}

CXmlDocument::CXmlDocument(const CXmlSerializationContext& context)
    : CInstanceMonitor(DocumentRecord()) {
    Init(nullptr, context);
}

CXmlDocument::CXmlDocument(ElementFilter filter) : CInstanceMonitor(DocumentRecord()) {
    Init(filter, CXmlSerializationContext::GetDefaultContext());
}

CXmlDocument::CXmlDocument(ElementFilter filter, const CXmlSerializationContext& context)
    : CInstanceMonitor(DocumentRecord()) {
    Init(filter, context);
}

CXmlDocument::~CXmlDocument() { Cleanup(); }

void CXmlDocument::Init(ElementFilter filter, const CXmlSerializationContext& context) {
    m_pElementFilter = filter;
    m_pContext = &context;
    m_schemaType = context.GetSchemaType();
    m_pStorage = std::make_unique<Storage>();
}

void CXmlDocument::Cleanup() {
    if (m_pDocumentElement != nullptr) {
        DestroyTree(m_pDocumentElement);
        m_pDocumentElement = nullptr;
    }
    ReleaseData();
    m_pElementStack.clear();
    m_aliasMap.clear();
    m_pStorage->Reset();
}

std::wstring CXmlDocument::LookupNamespaceFromAlias(const wchar_t* prefix) const {
    const auto found = m_aliasMap.find(prefix != nullptr ? prefix : L"");
    return found != m_aliasMap.end() ? found->second : std::wstring();
}

// ------------------------------------------------------------------ loading

namespace {

// Runs a clean-up step when a scope ends, however it ends.
template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F step) : m_step(std::move(step)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { m_step(); }

private:
    F m_step;
};

}  // namespace

// A load starts from an empty document. A second load cannot start while one runs (from an
// element filter, say): it would destroy the tree being built under the reader's feet.
void CXmlDocument::BeginLoad() {
    if (m_loading) throw CQxInvalidStateException(L"The document is already being loaded");
    Cleanup();
    m_loading = true;
}

// Every load forgets its input bytes when it ends, however it ends: the tree never refers
// to them, and they may be the caller's.
void CXmlDocument::EndLoad() noexcept {
    CountNewNodes();
    ReleaseData();
    m_loading = false;
}

void CXmlDocument::Load(const wchar_t* fileName) {
    BeginLoad();
    ScopeExit end([this] { EndLoad(); });
    const std::wstring name = fileName != nullptr ? fileName : L"";
    if (IsAsyncFromXmlFile())
        LoadFileOverlapped(name);
    else
        LoadFileWhole(name);
}

void CXmlDocument::LoadXmlStream(unsigned char* bytes, uint32_t length) {
    BeginLoad();
    ScopeExit end([this] { EndLoad(); });
    if (bytes == nullptr || length == 0) throw CQxException(L"XML Stream is empty!");
    SetData(bytes, length);
    Parse();
}

void CXmlDocument::LoadXml(const char* text) {
    BeginLoad();
    ScopeExit end([this] { EndLoad(); });
    const size_t length = text != nullptr ? std::strlen(text) : 0;
    if (length == 0) throw CQxException(L"XML String is empty!");
    // The length of the data buffer is 32 bits, as for every other input.
    if (length > std::numeric_limits<uint32_t>::max()) throw CQxException(L"XML String is too long!");
    SetData(reinterpret_cast<const unsigned char*>(text), static_cast<uint32_t>(length));
    ParseText();
}

void CXmlDocument::LoadXml(const wchar_t* text) {
    BeginLoad();
    ScopeExit end([this] { EndLoad(); });
    const size_t length = text != nullptr ? std::wcslen(text) : 0;
    if (length == 0) throw CQxException(L"XML String is empty!");
    // UTF-16LE with a byte order mark, and the parser is told the encoding, so it reads the
    // text as UTF-16 whatever the XML declaration names (on its own, expat would refuse a
    // declaration naming a one-byte encoding such as UTF-8 in UTF-16 text). Each wide
    // character becomes its UTF-16 code unit(s) as it stands: a lone surrogate stays a lone
    // surrogate, which the parser then treats as it would on a platform where wide strings
    // are UTF-16.
    const size_t bytes = 2 + Utf16LEUnitBytes(text, length);
    if (bytes > std::numeric_limits<uint32_t>::max()) throw CQxException(L"XML String is too long!");
    std::unique_ptr<unsigned char[]> data(new unsigned char[bytes]);
    data[0] = 0xFF;
    data[1] = 0xFE;
    StoreUtf16LEUnits(data.get() + 2, text, length);
    AdoptData(data.release(), static_cast<uint32_t>(bytes));
    m_dataIsUtf16 = true;
    ParseText();
}

void CXmlDocument::LoadFileWhole(const std::wstring& fileName) {
    Platform::SystemError error = 0;
    Platform::File file = Platform::File::OpenForRead(fileName.c_str(), /*overlapped=*/false, error);
    if (!file.IsOpen()) throw CQxException(FormatString(kOpenFailed, fileName.c_str(), error));

    uint64_t size = 0;
    if (!file.GetSize(size, error)) throw CQxException(FormatString(kSizeFailed, fileName.c_str(), error));
    // The data buffer's length is 32 bits: a file of 4 GiB or more cannot be read whole (the
    // overlapped mode has no such limit).
    if (size > std::numeric_limits<uint32_t>::max())
        throw CQxException(FormatString(kSizeFailed, fileName.c_str(), static_cast<unsigned>(EFBIG)));

    const uint32_t length = static_cast<uint32_t>(size);
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[length != 0 ? length : 1]);
    uint32_t read = 0;
    error = 0;
    if (!file.Read(bytes.get(), length, read, error) || read != length)
        throw CQxException(FormatString(kReadFailed, fileName.c_str(), error));
    file.Close();

    AdoptData(bytes.release(), length);
    Parse();
}

void CXmlDocument::LoadFileOverlapped(const std::wstring& fileName) {
    FileState state;
    Platform::SystemError error = 0;
    state.file = Platform::File::OpenForRead(fileName.c_str(), /*overlapped=*/true, error);
    if (!state.file.IsOpen()) throw CQxException(FormatString(kOpenFailed, fileName.c_str(), error));
    if (!state.read.Create(error)) throw CQxException(FormatString(kEventFailed, fileName.c_str(), error));

    m_pFileState = &state;
    ScopeExit forgetState([this] {
        ReleaseData();  // it points into the chunk buffers
        m_pFileState = nullptr;
    });

    state.current.reset(new unsigned char[kChunkBytes]);
    uint32_t got = 0;
    if (!ReadChunkFromFile(state.current.get()) && !state.read.Wait(got, error))
        throw CQxException(FormatString(kReadFailed, fileName.c_str(), error));
    state.position += got;
    SetData(state.current.get(), got);
    if (CFastInfosetReader::IsFastInfoset(m_pData, m_dataLength))
        ParseFastInfosetChunks(got < kChunkBytes);
    else
        AsyncParse(got < kChunkBytes);
}

// The Fast Infoset reader takes the document whole: the chunks are gathered (each read while
// the previous one is appended) and read as one buffer.
void CXmlDocument::ParseFastInfosetChunks(bool lastChunk) {
    FileState& state = *m_pFileState;
    std::vector<unsigned char> whole(m_pData, m_pData + m_dataLength);
    if (!state.next) state.next.reset(new unsigned char[kChunkBytes]);
    while (!lastChunk) {
        const bool endOfFile = ReadChunkFromFile(state.next.get());
        uint32_t got = 0;
        Platform::SystemError error = 0;
        if (!endOfFile && !state.read.Wait(got, error)) throw CQxException(FormatString(kChunkReadFailed, error));
        whole.insert(whole.end(), state.next.get(), state.next.get() + got);
        state.position += got;
        lastChunk = got < kChunkBytes;
    }
    if (whole.size() > std::numeric_limits<uint32_t>::max())
        throw CQxException(L"Failed to parse FastInfoset. The document is larger than 4 GiB.");
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[whole.size()]);
    std::memcpy(bytes.get(), whole.data(), whole.size());
    AdoptData(bytes.release(), static_cast<uint32_t>(whole.size()));
    CFastInfosetReader reader(m_pContext->GetFIContext(), this);
    reader.Parse();
}

bool CXmlDocument::ReadChunkFromFile(unsigned char* buffer) {
    FileState& state = *m_pFileState;
    Platform::SystemError error = 0;
    // End of file is not reported here: a read at the end completes with 0 bytes.
    if (!state.read.StartRead(state.file, buffer, kChunkBytes, state.position, error))
        throw CQxException(FormatString(kChunkReadFailed, error));
    return false;
}

void CXmlDocument::AsyncParse(bool lastChunk) {
    FileState& state = *m_pFileState;
    CExpatReader reader(this);
    reader.Start();
    state.next.reset(new unsigned char[kChunkBytes]);

    for (;;) {
        if (lastChunk) {
            reader.Parse(true);
            if (m_pDocumentElement == nullptr) throw CQxException(L"Invalid or empty XML document");
            break;
        }
        // The system fills the other buffer while this one is parsed.
        const bool endOfFile = ReadChunkFromFile(state.next.get());
        reader.Parse(false);
        uint32_t got = 0;
        Platform::SystemError error = 0;
        if (!endOfFile && !state.read.Wait(got, error))
            throw CQxException(FormatString(kChunkReadFailed, error));
        std::swap(state.current, state.next);
        state.position += got;
        SetData(state.current.get(), got);
        lastChunk = got < kChunkBytes;
    }
}

void CXmlDocument::Parse() {
    if (MayBeCompressed(m_pData, m_dataLength)) {
        if (!m_pOwnedData) {
            std::unique_ptr<unsigned char[]> copy(new unsigned char[m_dataLength]);
            std::memcpy(copy.get(), m_pData, m_dataLength);
            AdoptData(copy.release(), m_dataLength);
        }
        unsigned char* bytes = m_pOwnedData.release();
        uint32_t length = m_dataLength;
        try {
            CQxZip().Decompress(&bytes, &length);
        } catch (...) {
            AdoptData(bytes, length);
            throw;
        }
        AdoptData(bytes, length);
    }

    // Fast Infoset input is recognised by its header, before the text reader.
    CFastInfosetReader fastInfoset(m_pContext->GetFIContext(), this);
    if (fastInfoset.Parse()) return;
    ParseText();
}

void CXmlDocument::ParseText() {
    CExpatReader reader(this);
    reader.Start();
    reader.Parse(true);
}

void CXmlDocument::SetData(const unsigned char* bytes, uint32_t length) {
    m_pOwnedData.reset();
    m_pData = bytes;
    m_dataLength = length;
}

void CXmlDocument::AdoptData(unsigned char* bytes, uint32_t length) {
    m_pOwnedData.reset(bytes);
    m_pData = bytes;
    m_dataLength = length;
}

void CXmlDocument::ReleaseData() noexcept {
    m_dataIsUtf16 = false;
    m_pOwnedData.reset();
    m_pData = nullptr;
    m_dataLength = 0;
}

// ------------------------------------------------------------------ tree building

// A name a descriptor registered is handed out as the registered string, which binding
// then recognises by its address (see NameRegistry.h).
const std::wstring* CXmlDocument::InternString(const wchar_t* text, size_t length) {
    const std::wstring_view key(text, length);
    const auto [entry, inserted] = m_pStorage->strings.FindOrInsert(key);
    if (inserted) {
        const std::wstring* registered = FindRegisteredName(key);
        entry->value = registered != nullptr ? registered : &entry->key();
    }
    return entry->value;
}

// A load makes a node per start tag and attribute: they are counted in bulk, when the load
// ends or an element filter is about to be called. Outside a load each is counted at once.
CXmlElement* CXmlDocument::NewElement() {
    CXmlElement* element = new (m_pStorage->elements.Allocate()) CXmlElement(this);
    ++m_pStorage->uncountedElements;
    if (!m_loading) CountNewNodes();
    return element;
}

CXmlAttribute* CXmlDocument::NewAttribute(const std::wstring* localName,
                                          const std::wstring* namespaceUri) {
    CXmlAttribute* attribute = new (m_pStorage->attributes.Allocate()) CXmlAttribute(localName, namespaceUri);
    ++m_pStorage->uncountedAttributes;
    if (!m_loading) CountNewNodes();
    return attribute;
}

void CXmlDocument::CountNewNodes() noexcept {
    Storage& storage = *m_pStorage;
    CInstanceMonitor::CountInstances(CXmlElement::MonitorRecord(), storage.uncountedElements, 0);
    CInstanceMonitor::CountInstances(CXmlAttribute::MonitorRecord(), storage.uncountedAttributes, 0);
    storage.uncountedElements = storage.uncountedAttributes = 0;
}

detail::TextArena& CXmlDocument::TextStorage() { return m_pStorage->text; }

const std::wstring& CXmlDocument::MadeText(const CXmlElement* element) {
    auto& madeTexts = m_pStorage->madeTexts;
    const auto made = madeTexts.try_emplace(element);
    if (made.second) {
        try {
            made.first->second.assign(element->m_pText, element->m_textLength);
        } catch (...) {
            madeTexts.erase(made.first);  // so that the next call tries again
            throw;
        }
    }
    return made.first->second;
}

void CXmlDocument::ForgetMadeText(const CXmlElement* element) noexcept {
    if (!m_pStorage->madeTexts.empty()) m_pStorage->madeTexts.erase(element);
}

CXmlElement* CXmlDocument::AddElement(const std::wstring* namespaceUri, const std::wstring* localName) {
    CXmlElement* parent = m_pElementStack.empty() ? nullptr : m_pElementStack.back();
    if (parent == nullptr && m_pDocumentElement != nullptr)
        throw CQxException(L"Invalid XML document: more than one document element");

    // Make room first, so that nothing can fail once the element is linked in.
    const size_t depth = m_pElementStack.size();
    if (m_pStorage->previousSibling.size() <= depth) {
        m_pStorage->previousSibling.resize(depth + 1);
        m_pStorage->textMark.resize(depth + 1);
    }
    if (m_pElementStack.capacity() == depth) m_pElementStack.reserve(2 * depth + 16);

    CXmlElement* element = NewElement();
    element->m_pNamespaceURI = namespaceUri;
    element->m_pLocalName = localName;
    CXmlElement* previous = nullptr;
    if (parent != nullptr) {
        previous = parent->m_pLastChild;
        if (previous != nullptr)
            previous->m_pNextSibling = element;
        else
            parent->m_pFirstChild = element;
        parent->m_pLastChild = element;
    } else {
        m_pDocumentElement = element;
    }
    m_pStorage->previousSibling[depth] = previous;
    m_pStorage->textMark[depth] = m_pStorage->text.Save();
    m_pElementStack.push_back(element);
    return element;
}

CXmlElement* CXmlDocument::AddDocElement(const std::wstring& namespaceUri, const std::wstring& localName) {
    return AddElement(InternString(namespaceUri.data(), namespaceUri.size()),
                      InternString(localName.data(), localName.size()));
}

CXmlElement* CXmlDocument::AddChildElement(const std::wstring& namespaceUri, const std::wstring& localName) {
    if (m_pElementStack.empty())
        throw CQxException(L"Invalid XML document: more than one document element");
    return AddDocElement(namespaceUri, localName);
}

// An element the filter takes is its parent's last child (its later siblings do not exist
// yet), so it is detached at the end of the chain. The document element has no parent to be
// detached from: it stays, whatever the filter answers for it, so that a load always leaves a
// document element and a filtering caller still sees it completed.
void CXmlDocument::EndElement() {
    if (m_pElementStack.empty()) return;
    CXmlElement* element = m_pElementStack.back();
    const size_t depth = m_pElementStack.size() - 1;
    m_pElementStack.pop_back();
    if (m_pElementFilter == nullptr) return;
    CountNewNodes();  // the filter may look at the counts
    if (!m_pElementFilter(element) || m_pElementStack.empty()) return;

    CXmlElement* parent = m_pElementStack.back();
    CXmlElement* previous = m_pStorage->previousSibling[depth];
    assert(parent->m_pLastChild == element);
    if (previous != nullptr)
        previous->m_pNextSibling = nullptr;
    else
        parent->m_pFirstChild = nullptr;
    parent->m_pLastChild = previous;
    DestroyTree(element);
    m_pStorage->text.Rewind(m_pStorage->textMark[depth]);
}

CXmlAttribute* CXmlDocument::AddElementAttribute(CXmlElement* element, const std::wstring& localName,
                                                 const std::wstring& value,
                                                 const std::wstring& namespaceUri) {
    CXmlDocument* document = element->m_pDocument;
    CXmlAttributeList& attributes = element->m_attributes;
    if (attributes.size() == attributes.capacity()) attributes.reserve(attributes.empty() ? 4 : 2 * attributes.size());
    CXmlAttribute* attribute =
        document->NewAttribute(document->InternString(localName.data(), localName.size()),
                               document->InternString(namespaceUri.data(), namespaceUri.size()));
    attributes.push_back(attribute);
    document->StoreAttributeValue(attribute, value.data(), value.size());
    return attribute;
}

void CXmlDocument::StoreAttributeValue(CXmlAttribute* attribute, const wchar_t* value, size_t length) {
    wchar_t* run = TextStorage().Allocate(length);
    std::copy(value, value + length, run);
    attribute->SetValueView(run, length);
}

void CXmlDocument::AppendTextExcludingCR(CXmlElement* element, const wchar_t* text) {
    AppendTextExcludingCR(element, text, std::numeric_limits<size_t>::max());
}

void CXmlDocument::AppendTextExcludingCR(CXmlElement* element, const wchar_t* text, size_t length) {
    if (text == nullptr) return;
    size_t i = 0;
    while (i < length && text[i] != L'\0') {
        const size_t start = i;
        while (i < length && text[i] != L'\0' && text[i] != L'\r') ++i;
        element->AppendText(text + start, i - start);
        if (i < length && text[i] == L'\r') ++i;
    }
}

// Iterative, so that no depth of nesting can exhaust the stack: each element's children are
// spliced in front of the elements still to destroy. When the whole tree goes, the storage
// is reset right after (Cleanup): the slots and made texts are then left to that. The nodes
// are taken off the instance counts in bulk, as they were put on.
void CXmlDocument::DestroyTree(CXmlElement* root) noexcept {
    Storage& storage = *m_pStorage;
    CountNewNodes();
    const bool reuseSlots = root != m_pDocumentElement;
    const bool anyMadeText = reuseSlots && !storage.madeTexts.empty();
    int32_t elementsGone = 0;
    int32_t attributesGone = 0;
    root->m_pNextSibling = nullptr;
    CXmlElement* pending = root;
    while (pending != nullptr) {
        CXmlElement* element = pending;
        pending = element->m_pNextSibling;
        if (element->m_pFirstChild != nullptr) {
            element->m_pLastChild->m_pNextSibling = pending;
            pending = element->m_pFirstChild;
        }
        for (CXmlAttribute* attribute : element->m_attributes) {
            attribute->ForgoCount();
            attribute->~CXmlAttribute();
            if (reuseSlots) storage.attributes.Free(attribute);
        }
        attributesGone += static_cast<int32_t>(element->m_attributes.size());
        if (anyMadeText) ForgetMadeText(element);
        element->ForgoCount();
        element->~CXmlElement();
        ++elementsGone;
        if (reuseSlots) storage.elements.Free(element);
    }
    CInstanceMonitor::CountInstances(CXmlElement::MonitorRecord(), 0, elementsGone);
    CInstanceMonitor::CountInstances(CXmlAttribute::MonitorRecord(), 0, attributesGone);
}

}  // namespace QxXmlLib10
