// XmlCollection.h - CXmlCollection, the ordered collection of objects behind every repeated
// child element of class type (and behind the wildcard collections CElementCol and
// CAttributeCol).
//
// The generated collection of a class adds the typed operations on top of the protected
// list operations here; it holds one reference to each item:
//
//   class CItemCol : public CXmlCollection {
//   public:
//     CItemCol() : CXmlCollection(L"item", L"urn:po", 1, -1) {}
//     CItem* Add(CItem* item) { AppendItem(item); return item; }
//     void AddAt(int index, CItem* item) { AddItemAt(index, item); }
//     CSmartPtr<CItem> Item(int index) const {
//       return static_cast<CItem*>(GetNodeAtIndex(index)->m_pItem.Get());
//     }
//     CNodeIterator<CItem> begin() const { return CNodeIterator<CItem>(m_pHead); }
//     CNodeIterator<CItem> end() const { return CNodeIterator<CItem>(nullptr); }
//     ... ToXml_Int / FromXml_Int write and read the items ...
//   };
//
// Every insertion tells the listeners MsgType_CollectionAdd (before anything changes; the
// data is the item), then MsgType_CollectionAddComplete and MsgType_CollectionChange; every
// removal MsgType_CollectionRemove, MsgType_CollectionRemoveComplete (both without an index)
// and MsgType_CollectionChange. Clear removes the items one by one from the front, so each
// removal is told. Nodes come from a pool owned by the collection, so long collections cost
// no allocation per item beyond the item itself.
#pragma once

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/support/SmartPtr.h>

#include <cstddef>
#include <iterator>

namespace QxXmlLib10 {

class QXXML_API CXmlCollection : public CXmlCollectionBase {
public:
    // One entry of the list; it holds one reference to its item.
    struct CNode {
        CSmartPtr<CXmlObjectBase> m_pItem;
        CNode* m_pNext = nullptr;
        CNode* m_pPrevious = nullptr;
    };

    // Walks the items from a node to the end, giving each as a T* (T is the item class the
    // owning collection stores).
    template <class T>
    class CNodeIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = T**;
        using reference = T*;

        explicit CNodeIterator(const CNode* node) : m_pNode(node) {}
        T* operator*() const { return static_cast<T*>(m_pNode->m_pItem.Get()); }
        CNodeIterator& operator++() {
            m_pNode = m_pNode->m_pNext;
            return *this;
        }
        CNodeIterator operator++(int) {
            CNodeIterator old = *this;
            m_pNode = m_pNode->m_pNext;
            return old;
        }
        bool operator==(const CNodeIterator& other) const { return m_pNode == other.m_pNode; }
        bool operator!=(const CNodeIterator& other) const { return m_pNode != other.m_pNode; }

    private:
        const CNode* m_pNode;
    };

    CXmlCollection(const CXmlCollection&) = delete;  // a copy would share the nodes
    CXmlCollection& operator=(const CXmlCollection&) = delete;
    // Removes every item (each removal is told to the listeners).
    ~CXmlCollection() override;

    int GetCount() const override { return m_iCount; }
    // Remove(0) while items are left; the node pool is given back afterwards.
    void Clear() override;
    // Throws CQxInvalidParamException "Index %d is out of range, use 0 - %d".
    void Remove(int index) override;

protected:
    CXmlCollection() = default;
    CXmlCollection(const wchar_t* elementName, const wchar_t* elementNamespace, int minOccurs, int maxOccurs);

    // Each item, from head to tail, writes its attributes on the element currently open
    // (items that are pseudo elements lend their attributes to the parent element).
    void AttributesToXml_Int(CXmlWriter* writer, const CXmlSerializationContext& context) const override;

    // Insertions. A null item throws CQxInvalidParamException "A NULL item can not be added to
    // the collection" before anything is told or changed.
    void AppendItem(CXmlObjectBase* item);
    void PrependItem(CXmlObjectBase* item);
    // After (before) the node of `existing`; a null `existing` prepends (appends). An
    // `existing` that is not in the collection throws "The object was not found in the
    // collection" after MsgType_CollectionAdd was sent.
    void AddAfterItem(const CXmlObjectBase* existing, CXmlObjectBase* item);
    void AddBeforeItem(const CXmlObjectBase* existing, CXmlObjectBase* item);
    // 0 <= index <= count (count appends); anything else throws "Index out of range" before
    // anything is told.
    void AddItemAt(int index, CXmlObjectBase* item);

    // Unlinks the node and releases its item, with the removal notifications.
    void RemoveNode(CNode* node);

    // The node `index` steps from the head (walked from the nearer end); throws
    // CQxInvalidParamException "Index %d is out of range, use 0 - %d".
    CNode* GetNodeAtIndex(int index) const;
    // The first node whose item has the same base object as `item`; throws
    // CQxInvalidParamException "The object was not found in the collection".
    CNode* GetNodeForItem(const CXmlObjectBase* item) const;
    // The item at `index` as the T the owning collection stores (GetNodeAtIndex's range check).
    template <class T>
    CSmartPtr<T> ItemAt(int index) const {
        return static_cast<T*>(GetNodeAtIndex(index)->m_pItem.Get());
    }

    CNode* m_pHead = nullptr;
    CNode* m_pTail = nullptr;
    int m_iCount = 0;

private:
    struct CNodeBlock;

    static void RequireItem(const CXmlObjectBase* item);
    // Links a new node holding `item` in front of `before` (at the end when null).
    void LinkNode(CXmlObjectBase* item, CNode* before);
    void AddCompleted(CXmlObjectBase* item);

    CNode* AcquireNode();
    void ReleaseNode(CNode* node);
    void ReleasePool();
    // Clear without listeners: every item released and the pool given back, block by block.
    void ReleaseAllQuietly();

    CNode* m_pFreeNodes = nullptr;   // spare nodes, chained through m_pNext
    CNodeBlock* m_pBlocks = nullptr;  // every block allocated, newest first
    int m_iNextBlockSize = 0;
};

}  // namespace QxXmlLib10
