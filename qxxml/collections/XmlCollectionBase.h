// XmlCollectionBase.h - CXmlCollectionBase, the base of every collection of the object model.
//
// A repeated element of a generated class (maxOccurs above 1) lives in a collection. The
// collection knows the local name and namespace of its item elements and the schema's
// occurrence bounds, checks its item count against them, and tells registered listeners about
// every change:
//
//   class CChoiceOwner : public IEventSink { ... OnEvent(source, type, data) ... };
//   CSmartPtr<Ci4Col> numbers(new Ci4Col(L"n", L"urn:a", 2, 3, ...));
//   numbers->AddEventListener(&owner);     // owner.OnEvent(numbers, MsgType_CollectionAdd, &v) ...
//   numbers->Add(7);
//   numbers->IsValidCount(context);       // false: fewer than 2 items
//   numbers->ValidateCount(context);      // throws CQxValidationException
//       // "The Minimum number of [n] elements allowed in this collection is 2"
//
// A maximum of -1 means unbounded. Listeners are not owned; the same listener added twice is
// told twice. Concrete collections: CXmlCollection (objects, XmlCollection.h) and the typed
// collections of primitive values (XmlTypeCollection.h, TypedCollections.h,
// DateTimeCollections.h).
#pragma once

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/SharedName.h>

#include <string>
#include <vector>

namespace QxXmlLib10 {

class QXXML_API CXmlCollectionBase : public CXmlObjectBase {
public:
    ~CXmlCollectionBase() override;

    // A collection carries its own element name: it is its own base.
    CXmlObjectBase* GetBase() override { return this; }
    // The namespace URI of the item elements.
    std::wstring GetNamespace() const override { return m_strNamespace; }

    int GetMinOccurs() const { return m_iMinOccurs; }
    int GetMaxOccurs() const { return m_iMaxOccurs; }

    // Appends `sink` to the listeners (not owned; a sink added twice is told twice).
    void AddEventListener(IEventSink* sink);
    // Removes every entry equal to `sink`.
    void RemoveEventListener(IEventSink* sink);

    // Number of items, emptying, and removal by position: each concrete collection's.
    virtual int GetCount() const = 0;
    virtual void Clear() = 0;
    virtual void Remove(int index) = 0;

    // Throws CQxValidationException when the item count is outside the bounds, unless the
    // context ignores invalid collection counts.
    virtual void ValidateCount(const CXmlSerializationContext& context) const;
    // The answer ValidateCount would give, without throwing.
    virtual bool IsValidCount(const CXmlSerializationContext& context) const;

protected:
    CXmlCollectionBase() = default;
    CXmlCollectionBase(const wchar_t* elementName, const wchar_t* elementNamespace, int minOccurs,
                       int maxOccurs);
    // Copies element name, namespace, listeners and bounds.
    CXmlCollectionBase(const CXmlCollectionBase& other) = default;
    CXmlCollectionBase& operator=(const CXmlCollectionBase& other) = default;

    // A collection has no target namespace of its own: throws CQxException.
    std::wstring GetTargetNamespace() const override;

    // Notifications, sent to every listener in list order with GetBase() as the source. They
    // cost one test when nobody listens.
    void FireOnCollectionChange() {
        if (!m_listeners.empty()) Notify(MsgType_CollectionChange, nullptr, -1);
    }
    void FireOnCollectionAdd(void* item) {
        if (!m_listeners.empty()) Notify(MsgType_CollectionAdd, item, -1);
    }
    void FireOnCollectionAddComplete(void* item) {
        if (!m_listeners.empty()) Notify(MsgType_CollectionAddComplete, item, -1);
    }
    void FireOnCollectionRemove(int index) {
        if (!m_listeners.empty()) Notify(MsgType_CollectionRemove, nullptr, index);
    }
    void FireOnCollectionRemoveComplete(int index) {
        if (!m_listeners.empty()) Notify(MsgType_CollectionRemoveComplete, nullptr, index);
    }

    // Throws CQxInvalidParamException "Index %d is out of range, use 0 - %d" (the index and the
    // count) unless 0 <= index < count.
    static void CheckItemIndex(int index, int count) {
        if (index < 0 || index >= count) ThrowItemIndex(index, count);
    }
    void CheckItemIndex(int index) const { CheckItemIndex(index, GetCount()); }
    // Throws CQxInvalidParamException "Index out of range" unless 0 <= index <= count.
    static void CheckInsertIndex(int index, int count) {
        if (index < 0 || index > count) ThrowInsertIndex();
    }
    void CheckInsertIndex(int index) const { CheckInsertIndex(index, GetCount()); }

    CSharedName m_strNamespace;  // shared by the collections of the same namespace
    std::vector<IEventSink*> m_listeners;
    int m_iMinOccurs = 0;
    int m_iMaxOccurs = -1;  // -1: unbounded

    friend class CXmlObjectBase;

private:
    [[noreturn]] static void ThrowItemIndex(int index, int count);
    [[noreturn]] static void ThrowInsertIndex();
    void Notify(MsgType type, void* item, int index);
    bool IsAboveMaximum() const;
};

}  // namespace QxXmlLib10
