// XmlValueCollection.h - CXmlValueCollection<T>, the storage and list operations shared by
// every typed collection of primitive values.
//
// Users meet it through its members (Ci4Col, CstringCol, CdateCol, ...): count, removal,
// indexed access and iteration behave the same for all of them:
//
//   Ci4Col numbers(L"n", L"", 0, -1, nullptr, -1, -1, nullptr, nullptr, nullptr, nullptr, -1,
//                  CWhitespaceUtils::WhitespaceRule_Collapse, nullptr);
//   numbers.Add(4);
//   numbers.Add(5);
//   for (int32_t n : numbers) total += n;    // in order
//   numbers.Item(1);                         // 5 (a copy)
//   numbers.Remove(7);   // CQxInvalidParamException "Index 7 is out of range, use 0 - 2"
//
// The items are a vector that removes from its front in constant time (CItemList):
// indexed access is constant time, removal at the front (what Clear does, one notified
// Remove(0) after another) never moves the other items, so clearing a long collection stays
// linear even while a listener is attached, and an empty collection allocates nothing.
#pragma once

#include <qxxml/collections/XmlTypeCollection.h>
#include <qxxml/collections/ItemList.h>
#include <qxxml/values/BigInteger.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/DateTime.h>
#include <qxxml/values/DateTimeSpan.h>
#include <qxxml/values/Decimal.h>

#include <string>

namespace QxXmlLib10 {

template <class T>
class QXXML_API CXmlValueCollection : public CXmlTypeCollection {
public:
    using value_type = T;
    using const_iterator = typename CItemList<T>::const_iterator;

    CXmlValueCollection(const CXmlValueCollection& other);
    CXmlValueCollection& operator=(const CXmlValueCollection& other);
    ~CXmlValueCollection() override;

    int GetCount() const override { return static_cast<int>(m_items.size()); }
    // Remove(0) until the collection is empty: every removal is told to the listeners.
    void Clear() override;
    // Tells MsgType_CollectionRemove with the index first; then an index outside
    // 0 .. GetCount()-1 throws CQxInvalidParamException "Index %d is out of range, use 0 - %d";
    // otherwise the item goes, followed by MsgType_CollectionRemoveComplete and
    // MsgType_CollectionChange.
    void Remove(int index) override;
    // A copy of the item; the same range check as Remove, without notifications.
    T Item(int index) const;

    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }

protected:
    CXmlValueCollection(ItemType itemType, const wchar_t* elementName, const wchar_t* elementNamespace,
                        int minOccurs, int maxOccurs, const wchar_t* pattern, int minLength, int maxLength,
                        const wchar_t* minInclusive, const wchar_t* maxInclusive, const wchar_t* minExclusive,
                        const wchar_t* maxExclusive, int length, CWhitespaceUtils::WhitespaceRule whitespaceRule,
                        const wchar_t* formatOverride);

    // The last steps of every insertion, once the index and the value have passed their
    // checks: the value goes in at `index` (0 <= index <= GetCount()), then
    // MsgType_CollectionAddComplete (with `value`'s address, as the add notification had) and
    // MsgType_CollectionChange. `value` is moved from when nobody listens.
    void InsertChecked(int index, T& value);
    // The same, for a value that must stay untouched.
    void InsertCheckedCopy(int index, const T& value);
    // ... in the common cases (at either end) without the generic insertion.
    template <class Value>
    void InsertItem(int index, Value&& value);
    // The size as an int, without a virtual call.
    int Count() const { return static_cast<int>(m_items.size()); }

    // ValidateCount, then one element per item with the collection's own name and namespace,
    // its text from ItemToString, declared to the writer as `writtenType`.
    void WriteItems(CXmlWriter* writer, const CXmlSerializationContext& context, ItemType writtenType) const;

    // The lexical form of one item.
    virtual std::wstring ItemToString(const T& value) const = 0;
    // The lexical form of one item appended to `out`: writing reuses one buffer for all items,
    // and kinds that can append their text without a string of its own override this.
    virtual void AppendItemText(std::wstring& out, const T& value) const { out += ItemToString(value); }

    CItemList<T> m_items;
};

// The instantiations live in the library.
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<CBinaryData>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<char>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<short>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<int32_t>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<long long>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<unsigned char>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<unsigned short>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<uint32_t>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<unsigned long long>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<float>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<double>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<CDateTimeSpan>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<CDateTime>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<std::wstring>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<bool>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<CDecimal>)
QXXML_EXTERN_TEMPLATE(CXmlValueCollection<CBigInteger>)

}  // namespace QxXmlLib10
