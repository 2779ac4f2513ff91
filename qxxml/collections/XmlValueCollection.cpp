#include <qxxml/collections/XmlValueCollection.h>

#include <qxxml/xmlout/XmlWriter.h>

#include <string>
#include <utility>

namespace QxXmlLib10 {

namespace {

// The item text buffer of the calling thread, kept with its capacity from one collection to
// the next (a document holds many short lists). A nested use gets a buffer of its own.
class CItemTextBuffer {
public:
    CItemTextBuffer() {
        static thread_local Slot slot;
        if (!slot.busy) {
            slot.busy = true;
            m_slot = &slot;
            m_text = &slot.text;
        }
    }
    ~CItemTextBuffer() {
        if (m_slot) m_slot->busy = false;
    }
    CItemTextBuffer(const CItemTextBuffer&) = delete;
    CItemTextBuffer& operator=(const CItemTextBuffer&) = delete;

    std::wstring& Get() { return *m_text; }

private:
    struct Slot {
        std::wstring text;
        bool busy = false;
    };
    Slot* m_slot = nullptr;
    std::wstring m_own;
    std::wstring* m_text = &m_own;
};

}  // namespace

template <class T>
CXmlValueCollection<T>::CXmlValueCollection(ItemType itemType, const wchar_t* elementName,
                                            const wchar_t* elementNamespace, int minOccurs, int maxOccurs,
                                            const wchar_t* pattern, int minLength, int maxLength,
                                            const wchar_t* minInclusive, const wchar_t* maxInclusive,
                                            const wchar_t* minExclusive, const wchar_t* maxExclusive, int length,
                                            CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                            const wchar_t* formatOverride)
    : CXmlTypeCollection(itemType, elementName, elementNamespace, minOccurs, maxOccurs, pattern, minLength,
                         maxLength, minInclusive, maxInclusive, minExclusive, maxExclusive, length, whitespaceRule,
                         formatOverride) {}

template <class T>
CXmlValueCollection<T>::CXmlValueCollection(const CXmlValueCollection& other) = default;

template <class T>
CXmlValueCollection<T>& CXmlValueCollection<T>::operator=(const CXmlValueCollection& other) = default;

template <class T>
CXmlValueCollection<T>::~CXmlValueCollection() = default;

template <class T>
void CXmlValueCollection<T>::Clear() {
    while (GetCount() > 0) Remove(0);
}

template <class T>
void CXmlValueCollection<T>::Remove(int index) {
    FireOnCollectionRemove(index);
    CheckItemIndex(index, Count());
    m_items.EraseAt(static_cast<size_t>(index));
    FireOnCollectionRemoveComplete(index);
    FireOnCollectionChange();
}

template <class T>
T CXmlValueCollection<T>::Item(int index) const {
    CheckItemIndex(index, Count());
    return m_items[static_cast<size_t>(index)];
}

template <class T>
template <class Value>
void CXmlValueCollection<T>::InsertItem(int index, Value&& value) {
    m_items.Insert(static_cast<size_t>(index), std::forward<Value>(value));
}

template <class T>
void CXmlValueCollection<T>::InsertChecked(int index, T& value) {
    if (m_listeners.empty()) {
        InsertItem(index, std::move(value));
        return;
    }
    // The listeners see the same value in both notifications, so it is copied, not moved.
    InsertCheckedCopy(index, value);
}

template <class T>
void CXmlValueCollection<T>::InsertCheckedCopy(int index, const T& value) {
    InsertItem(index, value);
    FireOnCollectionAddComplete(const_cast<T*>(&value));
    FireOnCollectionChange();
}

template <class T>
void CXmlValueCollection<T>::WriteItems(CXmlWriter* writer, const CXmlSerializationContext& context,
                                        ItemType writtenType) const {
    ValidateCount(context);
    const SharedName& name = SharedElementName();
    const SharedName& namespaceUri = m_strNamespace.shared();
    CItemTextBuffer buffer;  // one buffer for every item's text
    std::wstring& text = buffer.Get();
    for (const T& item : m_items) {
        text.clear();
        AppendItemText(text, item);
        writer->WriteSharedNameValueElement(name, namespaceUri, text, writtenType);
    }
}

template class CXmlValueCollection<CBinaryData>;
template class CXmlValueCollection<char>;
template class CXmlValueCollection<short>;
template class CXmlValueCollection<int32_t>;
template class CXmlValueCollection<long long>;
template class CXmlValueCollection<unsigned char>;
template class CXmlValueCollection<unsigned short>;
template class CXmlValueCollection<uint32_t>;
template class CXmlValueCollection<unsigned long long>;
template class CXmlValueCollection<float>;
template class CXmlValueCollection<double>;
template class CXmlValueCollection<CDateTimeSpan>;
template class CXmlValueCollection<CDateTime>;
template class CXmlValueCollection<std::wstring>;
template class CXmlValueCollection<bool>;
template class CXmlValueCollection<CDecimal>;
template class CXmlValueCollection<CBigInteger>;

}  // namespace QxXmlLib10
