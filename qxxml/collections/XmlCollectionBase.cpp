#include <qxxml/collections/XmlCollectionBase.h>

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>

#include <algorithm>

namespace QxXmlLib10 {

CXmlCollectionBase::CXmlCollectionBase(const wchar_t* elementName, const wchar_t* elementNamespace,
                                       int minOccurs, int maxOccurs)
    : m_strNamespace(elementNamespace),
      m_iMinOccurs(minOccurs),
      m_iMaxOccurs(maxOccurs) {
    SetElementName(elementName);
}

CXmlCollectionBase::~CXmlCollectionBase() = default;

std::wstring CXmlCollectionBase::GetTargetNamespace() const {
    throw CQxException(
        L"CXmlCollectionBase::GetTargetNamespace Should not be used from within a Collection (program logic error)");
}

// ------------------------------------------------------------------ listeners

void CXmlCollectionBase::AddEventListener(IEventSink* sink) { m_listeners.push_back(sink); }

void CXmlCollectionBase::RemoveEventListener(IEventSink* sink) {
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), sink), m_listeners.end());
}

void CXmlCollectionBase::Notify(MsgType type, void* item, int index) {
    // By position, re-reading the size: a listener may add or remove listeners while it is
    // being told, and iterators would not survive that.
    for (size_t i = 0; i < m_listeners.size(); ++i) {
        IEventSink* sink = m_listeners[i];
        if (!sink) continue;
        switch (type) {
            case MsgType_CollectionChange: FireOnCollectionChangeEvent(sink, this); break;
            case MsgType_CollectionAdd: FireOnCollectionAddEvent(sink, this, item); break;
            case MsgType_CollectionAddComplete: FireOnCollectionAddCompleteEvent(sink, this, item); break;
            case MsgType_CollectionRemove: FireOnCollectionRemoveEvent(sink, this, index); break;
            case MsgType_CollectionRemoveComplete: FireOnCollectionRemoveCompleteEvent(sink, this, index); break;
        }
    }
}

// ------------------------------------------------------------------ items

void CXmlCollectionBase::ThrowItemIndex(int index, int count) {
    throw CQxInvalidParamException(FormatString(L"Index %d is out of range, use 0 - %d", index, count));
}

void CXmlCollectionBase::ThrowInsertIndex() { throw CQxInvalidParamException(L"Index out of range"); }

// ------------------------------------------------------------------ counts

bool CXmlCollectionBase::IsAboveMaximum() const { return m_iMaxOccurs != -1 && GetCount() > m_iMaxOccurs; }

void CXmlCollectionBase::ValidateCount(const CXmlSerializationContext& context) const {
    if (context.GetIgnoreInvalidCollectionCounts()) return;
    if (IsAboveMaximum())
        throw CQxValidationException(FormatString(
            L"The Maximum number of [%s] elements allowed in this collection is %d", ElementName().c_str(),
            m_iMaxOccurs));
    if (GetCount() < m_iMinOccurs)
        throw CQxValidationException(FormatString(
            L"The Minimum number of [%s] elements allowed in this collection is %d", ElementName().c_str(),
            m_iMinOccurs));
}

bool CXmlCollectionBase::IsValidCount(const CXmlSerializationContext& context) const {
    if (context.GetIgnoreInvalidCollectionCounts()) return true;
    return !IsAboveMaximum() && GetCount() >= m_iMinOccurs;
}

}  // namespace QxXmlLib10
