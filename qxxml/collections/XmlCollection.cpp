#include <qxxml/collections/XmlCollection.h>

#include <qxxml/support/QxException.h>

#include <cassert>
#include <memory>

namespace QxXmlLib10 {

// Nodes are handed out from blocks that double in size (8, 16, ... 4096 nodes), so a
// collection of n items makes about log2(n) allocations for its nodes, and nodes freed by
// removals are reused by later insertions.
struct CXmlCollection::CNodeBlock {
    CNodeBlock(int size, CNodeBlock* previous) : m_nodes(new CNode[size]), m_pPrevious(previous), m_size(size) {}
    std::unique_ptr<CNode[]> m_nodes;
    CNodeBlock* m_pPrevious;
    int m_size;
};

namespace {
constexpr int kFirstBlockSize = 8;
constexpr int kLargestBlockSize = 4096;
}  // namespace

CXmlCollection::CXmlCollection(const wchar_t* elementName, const wchar_t* elementNamespace, int minOccurs,
                               int maxOccurs)
    : CXmlCollectionBase(elementName, elementNamespace, minOccurs, maxOccurs) {}

CXmlCollection::~CXmlCollection() {
    Clear();
    ReleasePool();
}

// ------------------------------------------------------------------ node pool

CXmlCollection::CNode* CXmlCollection::AcquireNode() {
    if (!m_pFreeNodes) {
        const int size = m_iNextBlockSize ? m_iNextBlockSize : kFirstBlockSize;
        m_pBlocks = new CNodeBlock(size, m_pBlocks);
        m_iNextBlockSize = size < kLargestBlockSize ? size * 2 : size;
        CNode* nodes = m_pBlocks->m_nodes.get();
        for (int i = size - 1; i >= 0; --i) {
            nodes[i].m_pNext = m_pFreeNodes;
            m_pFreeNodes = &nodes[i];
        }
    }
    CNode* node = m_pFreeNodes;
    m_pFreeNodes = node->m_pNext;
    node->m_pNext = nullptr;
    node->m_pPrevious = nullptr;
    return node;
}

void CXmlCollection::ReleaseNode(CNode* node) {
    node->m_pPrevious = nullptr;
    node->m_pNext = m_pFreeNodes;
    m_pFreeNodes = node;
    node->m_pItem = nullptr;  // last: releasing the item may run arbitrary destructors
}

void CXmlCollection::ReleasePool() {
    assert(m_iCount == 0 && "the pool is given back only when no node is in use");
    while (m_pBlocks) {
        CNodeBlock* previous = m_pBlocks->m_pPrevious;
        delete m_pBlocks;
        m_pBlocks = previous;
    }
    m_pFreeNodes = nullptr;
    m_iNextBlockSize = 0;
}

// ------------------------------------------------------------------ insertion

void CXmlCollection::RequireItem(const CXmlObjectBase* item) {
    if (!item) throw CQxInvalidParamException(L"A NULL item can not be added to the collection");
}

void CXmlCollection::LinkNode(CXmlObjectBase* item, CNode* before) {
    CNode* node = AcquireNode();
    node->m_pItem = item;
    CNode* after = before ? before->m_pPrevious : m_pTail;
    node->m_pPrevious = after;
    node->m_pNext = before;
    (after ? after->m_pNext : m_pHead) = node;
    (before ? before->m_pPrevious : m_pTail) = node;
    ++m_iCount;
}

void CXmlCollection::AddCompleted(CXmlObjectBase* item) {
    FireOnCollectionAddComplete(item);
    FireOnCollectionChange();
}

void CXmlCollection::AppendItem(CXmlObjectBase* item) {
    RequireItem(item);
    FireOnCollectionAdd(item);
    LinkNode(item, nullptr);
    AddCompleted(item);
}

void CXmlCollection::PrependItem(CXmlObjectBase* item) {
    RequireItem(item);
    FireOnCollectionAdd(item);
    LinkNode(item, m_pHead);
    AddCompleted(item);
}

void CXmlCollection::AddAfterItem(const CXmlObjectBase* existing, CXmlObjectBase* item) {
    if (!existing) return PrependItem(item);
    RequireItem(item);
    FireOnCollectionAdd(item);
    LinkNode(item, GetNodeForItem(existing)->m_pNext);
    AddCompleted(item);
}

void CXmlCollection::AddBeforeItem(const CXmlObjectBase* existing, CXmlObjectBase* item) {
    if (!existing) return AppendItem(item);
    RequireItem(item);
    FireOnCollectionAdd(item);
    LinkNode(item, GetNodeForItem(existing));
    AddCompleted(item);
}

void CXmlCollection::AddItemAt(int index, CXmlObjectBase* item) {
    CheckInsertIndex(index, m_iCount);
    RequireItem(item);
    FireOnCollectionAdd(item);
    // The listeners may have changed the collection: the position is looked up afterwards.
    LinkNode(item, index == m_iCount ? nullptr : GetNodeAtIndex(index));
    AddCompleted(item);
}

// ------------------------------------------------------------------ lookup and removal

CXmlCollection::CNode* CXmlCollection::GetNodeAtIndex(int index) const {
    CheckItemIndex(index, m_iCount);
    CNode* node;
    if (index <= m_iCount / 2) {
        node = m_pHead;
        for (int i = 0; i < index; ++i) node = node->m_pNext;
    } else {
        node = m_pTail;
        for (int i = m_iCount - 1; i > index; --i) node = node->m_pPrevious;
    }
    return node;
}

CXmlCollection::CNode* CXmlCollection::GetNodeForItem(const CXmlObjectBase* item) const {
    const CXmlObjectBase* wanted = item ? item->GetBase() : nullptr;
    if (wanted) {
        for (CNode* node = m_pHead; node; node = node->m_pNext) {
            const CXmlObjectBase* held = node->m_pItem.Get();
            if (held->GetBase() == wanted) return node;
        }
    }
    throw CQxInvalidParamException(L"The object was not found in the collection");
}

void CXmlCollection::RemoveNode(CNode* node) {
    assert(node && "RemoveNode needs a node of this collection");
    FireOnCollectionRemove(-1);
    (node->m_pPrevious ? node->m_pPrevious->m_pNext : m_pHead) = node->m_pNext;
    (node->m_pNext ? node->m_pNext->m_pPrevious : m_pTail) = node->m_pPrevious;
    --m_iCount;
    ReleaseNode(node);
    FireOnCollectionRemoveComplete(-1);
    FireOnCollectionChange();
}

void CXmlCollection::Remove(int index) { RemoveNode(GetNodeAtIndex(index)); }

void CXmlCollection::Clear() {
    if (m_listeners.empty()) {
        while (m_pBlocks) ReleaseAllQuietly();  // again for items a destructor added meanwhile
        return;
    }
    while (m_iCount >= 1) Remove(0);
    ReleasePool();
}

// With nobody to tell, the items go block by block, oldest block first, and each block right
// after its items: a block's items were made together, so their memory is given back while
// it is still in the cache, instead of in one pass over the whole collection's memory when
// the pool goes (the allocator merges the small pieces freed so far when a large block is
// freed). The collection is empty and without a pool before the first release, so a
// destructor that comes back to it finds it consistent.
void CXmlCollection::ReleaseAllQuietly() {
    CNodeBlock* oldestFirst = nullptr;
    while (m_pBlocks) {
        CNodeBlock* block = m_pBlocks;
        m_pBlocks = block->m_pPrevious;
        block->m_pPrevious = oldestFirst;
        oldestFirst = block;
    }
    m_pHead = m_pTail = nullptr;
    m_iCount = 0;
    m_pFreeNodes = nullptr;
    m_iNextBlockSize = 0;
    while (oldestFirst) {
        CNodeBlock* const block = oldestFirst;
        oldestFirst = block->m_pPrevious;
        for (int i = 0; i < block->m_size; ++i) block->m_nodes[i].m_pItem = nullptr;
        delete block;
    }
}

// ------------------------------------------------------------------ writing

void CXmlCollection::AttributesToXml_Int(CXmlWriter* writer, const CXmlSerializationContext& context) const {
    for (const CNode* node = m_pHead; node; node = node->m_pNext)
        CXmlObjectBase::AttributesToXml_Int(node->m_pItem.Get(), writer, context);
}

}  // namespace QxXmlLib10
