#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/detail/OrEmpty.h>

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/support/NameRegistry.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>

#include <cassert>
#include <cwchar>

namespace QxXmlLib10 {

namespace {

using detail::OrEmpty;

bool Equal(const std::wstring& a, const wchar_t* b) { return a == OrEmpty(b); }

[[noreturn]] void ThrowChoiceTaken(const wchar_t* format, const std::wstring& validElement) {
    throw CQxInvalidStateException(FormatString(format, validElement.c_str()));
}

const wchar_t kChoiceTaken[] =
    L"The Property [%s] is already set. Only one element within this class bay be set at a time";

}  // namespace

// ------------------------------------------------------------------ lifetime

CXmlObjectBase::CXmlObjectBase() : m_pElementName(MakeSharedName(nullptr)), m_refCount(0) {}

CXmlObjectBase::CXmlObjectBase(const CXmlObjectBase& other)
    : IEventSink(other), m_pElementName(other.m_pElementName), m_refCount(0) {}

CXmlObjectBase& CXmlObjectBase::operator=(const CXmlObjectBase& other) {
    m_pElementName = other.m_pElementName;  // the count belongs to the object, not its value
    return *this;
}

CXmlObjectBase::~CXmlObjectBase() = default;

int32_t CXmlObjectBase::AddRef() { return m_refCount.fetch_add(1, std::memory_order_relaxed) + 1; }

int32_t CXmlObjectBase::Release() {
    const int32_t left = m_refCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
}

void CXmlObjectBase::OnEvent(CXmlObjectBase*, MsgType, void*) {}

void CXmlObjectBase::AttributesToXml_Int(CXmlWriter*, const CXmlSerializationContext&) const {}

// An object read from a document is named when it is made, by its collection and after its
// element, nearly always with the name it has already: the shared string is then kept, which
// spares a lookup and two reference count updates.
void CXmlObjectBase::SetElementName(const wchar_t* name) {
    if (SameText(*m_pElementName, name)) return;
    m_pElementName = MakeSharedName(name);
}

void CXmlObjectBase::SetElementName(CXmlObjectBase* object, const wchar_t* name) {
    object->SetElementName(name);
}

// ------------------------------------------------------------------ forwarders

void CXmlObjectBase::ToXml_Int(const CXmlObjectBase* object, CXmlWriter* writer, bool isRoot,
                               const wchar_t* elementNamespace,
                               const CXmlSerializationContext& context, bool optionalChoiceItem) {
    object->ToXml_Int(writer, isRoot, elementNamespace, context, optionalChoiceItem);
}

CXmlElement* CXmlObjectBase::FromXml_Int(CXmlObjectBase* object, CXmlElement* element,
                                         CXmlElement* firstChild,
                                         const CXmlSerializationContext& context) {
    return object->FromXml_Int(element, firstChild, context, false);
}

CXmlElement* CXmlObjectBase::FromXml_Int(CXmlObjectBase* object, CXmlElement* element,
                                         CXmlElement* firstChild, const CXmlSerializationContext& context,
                                         bool optionalChoiceItem) {
    return object->FromXml_Int(element, firstChild, context, optionalChoiceItem);
}

void CXmlObjectBase::AttributesToXml_Int(const CXmlObjectBase* object, CXmlWriter* writer,
                                         const CXmlSerializationContext& context) {
    object->AttributesToXml_Int(writer, context);
}

// ------------------------------------------------------------------ collection events

void CXmlObjectBase::Fire(IEventSink* sink, CXmlCollectionBase* collection, MsgType type, void* data) {
    assert(sink);
    CXmlObjectBase* source = collection ? static_cast<CXmlObjectBase*>(collection)->GetBase() : nullptr;
    sink->OnEvent(source, type, data);
}

void CXmlObjectBase::FireOnCollectionChangeEvent(IEventSink* sink, CXmlCollectionBase* collection) {
    Fire(sink, collection, MsgType_CollectionChange, nullptr);
}

void CXmlObjectBase::FireOnCollectionAddEvent(IEventSink* sink, CXmlCollectionBase* collection, void* item) {
    Fire(sink, collection, MsgType_CollectionAdd, item);
}

void CXmlObjectBase::FireOnCollectionAddCompleteEvent(IEventSink* sink, CXmlCollectionBase* collection,
                                                      void* item) {
    Fire(sink, collection, MsgType_CollectionAddComplete, item);
}

void CXmlObjectBase::FireOnCollectionRemoveEvent(IEventSink* sink, CXmlCollectionBase* collection, int index) {
    Fire(sink, collection, MsgType_CollectionRemove, index == -1 ? nullptr : &index);
}

void CXmlObjectBase::FireOnCollectionRemoveCompleteEvent(IEventSink* sink, CXmlCollectionBase* collection,
                                                         int index) {
    Fire(sink, collection, MsgType_CollectionRemoveComplete, index == -1 ? nullptr : &index);
}

// ------------------------------------------------------------------ setter helpers

void CXmlObjectBase::Choice_SelectElement(const wchar_t* name, CXmlObjectBase* newValue,
                                          std::wstring& validElement) {
    if (Equal(validElement, name)) {
        if (!newValue) validElement.clear();
    } else if (validElement.empty()) {
        // Also taken for a null value; generated setters decide whether they make that call.
        validElement = OrEmpty(name);
    } else if (newValue) {
        ThrowChoiceTaken(kChoiceTaken, validElement);
    }
}

void CXmlObjectBase::Choice_CollectionChanged(const wchar_t* name, int32_t count, std::wstring& validElement) {
    if (Equal(validElement, name)) {
        if (count == 0) validElement.clear();
    } else if (validElement.empty()) {
        if (count > 0) validElement = OrEmpty(name);
    } else if (count != 0) {
        ThrowChoiceTaken(kChoiceTaken, validElement);
    }
}

void CXmlObjectBase::Choice_SetElementValid(bool valid, const wchar_t* name, std::wstring& validElement) {
    if (!valid) {
        validElement.clear();
    } else if (!Equal(validElement, name)) {
        // An empty selection differs from `name` too: this helper confirms a selection made
        // through Choice_SelectElement, it never makes a fresh one.
        ThrowChoiceTaken(
            L"The Property %s is already set. Only one element within this class bay be set at a time",
            validElement);
    }
}

void CXmlObjectBase::Throw_IfPropertyIsNull(CXmlObjectBase* value, const wchar_t* propertyName) {
    if (!value)
        throw CQxInvalidParamException(
            FormatString(L"The Property [%s] is mandatory, it may node be NULL", OrEmpty(propertyName)));
}

void CXmlObjectBase::Throw_IfElementNameDiffers(CXmlObjectBase* value, const wchar_t* requiredName) {
    if (!value) return;
    const std::wstring& actual = value->GetBase()->ElementName();
    if (!Equal(actual, requiredName))
        throw CQxInvalidParamException(FormatString(
            L"This property requrires an element with the name %s the element being set has the element name %s",
            OrEmpty(requiredName), actual.c_str()));
}

// ------------------------------------------------------------------ namespace restrictions

namespace {

// The token of `length` characters at `token` is exactly `text`.
bool TokenIs(const wchar_t* token, size_t length, const wchar_t* text) {
    return wcslen(text) == length && wmemcmp(token, text, length) == 0;
}

// Whether one token of a restriction accepts the namespace (nothing is copied: wildcard
// content tests every element it reads and writes).
bool TokenAccepts(const wchar_t* token, size_t length, const wchar_t* uri, const wchar_t* target) {
    if (TokenIs(token, length, L"##any")) return true;
    if (TokenIs(token, length, L"##other")) return wcscmp(uri, target) != 0;
    if (TokenIs(token, length, L"##local")) return *uri == L'\0';
    if (TokenIs(token, length, L"##targetNamespace")) return wcscmp(uri, target) == 0;
    return *uri == L'\0' || TokenIs(token, length, uri);  // a URI also admits no namespace
}

}  // namespace

bool CXmlObjectBase::IsNamespaceValid(const wchar_t* namespaceUri, const wchar_t* restriction,
                                      const wchar_t* targetNamespace) {
    const wchar_t* const uri = OrEmpty(namespaceUri);
    const wchar_t* const target = OrEmpty(targetNamespace);
    for (const wchar_t* rest = OrEmpty(restriction);;) {
        const wchar_t* space = wcschr(rest, L' ');
        const size_t length = space ? static_cast<size_t>(space - rest) : wcslen(rest);
        if (TokenAccepts(rest, length, uri, target)) return true;
        if (!space) return false;
        rest = space + 1;
    }
}

void CXmlObjectBase::TestNamespace(const wchar_t* namespaceUri, const wchar_t* restriction,
                                   const wchar_t* targetNamespace) {
    if (!IsNamespaceValid(namespaceUri, restriction, targetNamespace))
        throw CQxInvalidNamespaceException(FormatString(
            L"Invalid namespace [%s]. The namespace must be one of [%s] where the target namespace is [%s]",
            OrEmpty(namespaceUri), OrEmpty(restriction), OrEmpty(targetNamespace)));
}

}  // namespace QxXmlLib10

namespace QxXmlLib10 {

void CXmlObjectBase::Choice_Read_Collection(CXmlCollectionBase* collection, CXmlElement* element,
                                            CXmlElement*& cursor, int32_t& count,
                                            const CXmlSerializationContext& context) {
    if (count > 0) return;
    CXmlElement* next = FromXml_Int(collection, element, cursor, context);
    if (next == cursor) return;  // nothing was read
    cursor = next;
    collection->ValidateCount(context);
    ++count;
}

}  // namespace QxXmlLib10
