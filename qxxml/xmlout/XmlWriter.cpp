#include <qxxml/xmlout/XmlWriter.h>

#include <qxxml/support/QxException.h>

#include <cwchar>

namespace QxXmlLib10 {

const wchar_t* const CXmlWriter::kXmlNamespace = L"http://www.w3.org/XML/1998/namespace";
const wchar_t* const CXmlWriter::kInstanceNamespace = L"http://www.w3.org/2001/XMLSchema-instance";

// ------------------------------------------------------------------ CXmlWriterContext

CInstanceMonitor::ClassType* CXmlWriter::CXmlWriterContext::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CXmlWriterContext");
    return record;
}

CXmlWriter::CXmlWriterContext::CXmlWriterContext(const std::wstring& localName, const std::wstring& namespaceUri,
                                                 const NamespaceMap& announced,
                                                 const std::wstring& defaultNamespace)
    : CInstanceMonitor(MonitorRecord()) {
    Reset(localName, namespaceUri);
    InitRoot(announced, defaultNamespace);
}

CXmlWriter::CXmlWriterContext::CXmlWriterContext(const std::wstring& localName, const std::wstring& namespaceUri,
                                                 CXmlWriterContext* parent)
    : CInstanceMonitor(MonitorRecord()) {
    Reset(localName, namespaceUri);
    InitChild(parent);
}

CXmlWriter::CXmlWriterContext::~CXmlWriterContext() {
    ReleaseMap();
    // The chain is released one link at a time: an unfinished deep document must not turn
    // into deep recursion.
    CXmlWriterContext* parent = DetachParent();
    while (parent) {
        CXmlWriterContext* next = parent->DetachParent();
        delete parent;
        parent = next;
    }
}

namespace {

// Equality of two names or URIs: short ones (prefixes) compared in place, without a call.
inline bool SameText(const std::wstring& a, const std::wstring& b) {
    const size_t n = a.size();
    if (n != b.size()) return false;
    if (n > 4) return std::wmemcmp(a.data(), b.data(), n) == 0;
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// A reused context mostly gets the names it had (siblings of one kind follow each other):
// comparing is cheaper than copying them again.
inline void AssignIfChanged(std::wstring& target, const std::wstring& source) {
    if (!SameText(target, source)) target.assign(source);
}

}  // namespace

void CXmlWriter::CXmlWriterContext::Reset(const std::wstring& localName, const std::wstring& namespaceUri) {
    if (m_pNamespaceMap) ReleaseMap();  // a spare context has released it already
    m_dwChildCount = 0;
    m_bStartTagOpen = false;
    m_dwDepth = 0;
    AssignIfChanged(m_strNamespace, namespaceUri);
    AssignIfChanged(m_strLocalName, localName);
    m_pParent = nullptr;
    m_bAttributesWritten = false;
    m_strDefaultNamespace.clear();
    m_bInherited = false;
    m_pScope = this;
    // m_strElementPrefix is not cleared: the text writer sets it for every element, and a
    // reused scope mostly gets the prefix it had.
}

void CXmlWriter::CXmlWriterContext::InitRoot(const NamespaceMap& announced, const std::wstring& defaultNamespace) {
    m_pNamespaceMap = new NamespaceMap(announced);
    m_bOwnsMap = true;
    m_strDefaultNamespace.assign(defaultNamespace);
}

void CXmlWriter::CXmlWriterContext::InitChild(CXmlWriterContext* parent) {
    m_pParent = parent;
    m_dwDepth = parent->m_dwDepth + 1;
    m_bInherited = true;
    m_pScope = parent->m_pScope;
}

void CXmlWriter::CXmlWriterContext::ReleaseMap() {
    if (m_bOwnsMap) delete m_pNamespaceMap;
    m_pNamespaceMap = nullptr;
    m_bOwnsMap = false;
    m_pLastUri = m_pLastPrefix = nullptr;
}

CXmlWriter::CXmlWriterContext* CXmlWriter::CXmlWriterContext::DetachParent() {
    CXmlWriterContext* parent = m_pParent;
    m_pParent = nullptr;
    return parent;
}

void CXmlWriter::CXmlWriterContext::RememberElementPrefix(const std::wstring& prefix) {
    AssignIfChanged(m_strElementPrefix, prefix);
}

void CXmlWriter::CXmlWriterContext::MakePrivate() {
    if (!m_bInherited) return;
    m_pNamespaceMap = new NamespaceMap(*m_pScope->m_pNamespaceMap);
    m_bOwnsMap = true;
    m_strDefaultNamespace = m_pScope->m_strDefaultNamespace;
    m_bInherited = false;
    m_pScope = this;
}

void CXmlWriter::CXmlWriterContext::SetDefaultNamespace(const std::wstring& namespaceUri) {
    MakePrivate();
    m_strDefaultNamespace = namespaceUri;
}

std::wstring CXmlWriter::CXmlWriterContext::GetNamespaceMapValue(const std::wstring& namespaceUri) const {
    const NamespaceMap& map = GetNamespaceMap();
    const auto found = map.find(namespaceUri);
    return found == map.end() ? std::wstring() : found->second;
}

const std::wstring* CXmlWriter::CXmlWriterContext::FindPrefix(const std::wstring& namespaceUri) const {
    const CXmlWriterContext& scope = *m_pScope;
    if (scope.m_pLastUri && SameText(*scope.m_pLastUri, namespaceUri)) return scope.m_pLastPrefix;
    const NamespaceMap& map = *scope.m_pNamespaceMap;
    const auto found = map.find(namespaceUri);
    if (found == map.end()) return nullptr;
    scope.m_pLastUri = &found->first;
    scope.m_pLastPrefix = &found->second;
    return &found->second;
}

void CXmlWriter::CXmlWriterContext::SetNamespaceMapValue(const std::wstring& namespaceUri,
                                                         const std::wstring& prefix) {
    MakePrivate();
    (*m_pNamespaceMap)[namespaceUri] = prefix;
}

// ------------------------------------------------------------------ CXmlWriter

CXmlWriter::CXmlWriter(CInstanceMonitor::ClassType* record) : CInstanceMonitor(record) {
    m_namespaceMap[kXmlNamespace] = L"xml";
}

CXmlWriter::~CXmlWriter() {
    delete m_pContext;  // and, through it, every enclosing context still open
    for (CXmlWriterContext* spare : m_spareContexts) delete spare;
}

void CXmlWriter::StartDocument() {}

void CXmlWriter::EndDocument() {
    if (m_pContext) throw CQxException(L"An Element has not been closed.");
}

void CXmlWriter::SetDefaultNamespace(const std::wstring& namespaceUri) {
    if (m_pContext)
        m_pContext->SetDefaultNamespace(namespaceUri);
    else
        m_strDefaultNamespace = namespaceUri;
}

void CXmlWriter::AddNamespace(const std::wstring& prefix, const std::wstring& namespaceUri) {
    if (m_pContext)
        m_pContext->SetNamespaceMapValue(namespaceUri, prefix);
    else
        m_namespaceMap[namespaceUri] = prefix;
}

std::wstring CXmlWriter::NewPrefix(const NamespaceMap& map) {
    // Only two-letter prefixes can collide with a candidate.
    std::vector<const std::wstring*> taken;
    for (const auto& entry : map)
        if (entry.second.size() == 2) taken.push_back(&entry.second);
    const auto isTaken = [&](const wchar_t* candidate) {
        for (const std::wstring* prefix : taken)
            if ((*prefix)[0] == candidate[0] && (*prefix)[1] == candidate[1]) return true;
        return false;
    };
    // 'A'..'Z' first (the documented order), then 'a'..'z': characters between or after the
    // letters would not make a valid XML name.
    for (wchar_t first : {L'A', L'a'}) {
        for (int n = 0; n < 26 * 26; ++n) {
            const wchar_t candidate[3] = {static_cast<wchar_t>(first + n / 26), static_cast<wchar_t>(L'A' + n % 26), 0};
            if (!isTaken(candidate)) return candidate;
        }
    }
    throw CQxException(L"No namespace prefix is left to generate: this scope already uses all of AA to zZ");
}

CXmlWriter::CXmlWriterContext* CXmlWriter::PushContext(const std::wstring& localName,
                                                        const std::wstring& namespaceUri) {
    CXmlWriterContext* context;
    if (m_spareContexts.empty()) {
        context = m_pContext ? new CXmlWriterContext(localName, namespaceUri, m_pContext)
                             : new CXmlWriterContext(localName, namespaceUri, m_namespaceMap, m_strDefaultNamespace);
    } else {
        context = m_spareContexts.back();
        context->Reset(localName, namespaceUri);
        if (m_pContext)
            context->InitChild(m_pContext);
        else
            context->InitRoot(m_namespaceMap, m_strDefaultNamespace);
        m_spareContexts.pop_back();  // only once it is set up: a failure above leaves it spare
    }
    context->SetStartTagOpen(true);
    m_pContext = context;
    return context;
}

void CXmlWriter::PopContext() {
    CXmlWriterContext* closed = m_pContext;
    if (!closed) return;
    m_spareContexts.reserve(m_spareContexts.size() + 1);  // the only step that can fail
    m_pContext = closed->DetachParent();
    closed->ReleaseMap();
    m_spareContexts.push_back(closed);
}

}  // namespace QxXmlLib10
