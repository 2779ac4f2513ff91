// Tests of CXmlCollectionBase (bounds, count checks, listeners) and CXmlCollection (the
// object list: every insertion form, removal, lookup, notifications, references).
#include "CollectionTestSupport.h"

#include <list>
#include <random>

namespace QxXmlTest {
namespace {

// An item that counts its destruction and writes one attribute when asked.
class CItem : public CXmlObjectBase {
public:
    explicit CItem(int id, int* destroyed = nullptr) : m_id(id), m_destroyed(destroyed) {
        SetElementName(L"item");
    }
    ~CItem() override {
        if (m_destroyed) ++*m_destroyed;
    }
    CXmlObjectBase* GetBase() override { return m_base ? m_base : this; }
    std::wstring GetNamespace() const override { return L""; }

    int m_id;
    CXmlObjectBase* m_base = nullptr;

protected:
    std::wstring GetTargetNamespace() const override { return L""; }
    void AttributesToXml_Int(CXmlWriter* writer, const CXmlSerializationContext&) const override {
        writer->AddAttribute(L"a" + std::to_wstring(m_id), L"", std::to_wstring(m_id), ItemType_i4);
    }
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }

private:
    int* m_destroyed;
};

// The list operations made public, with a view of the nodes for the invariants.
class CItemCol : public CXmlCollection {
public:
    CItemCol() = default;
    CItemCol(int minOccurs, int maxOccurs) : CXmlCollection(L"item", L"urn:items", minOccurs, maxOccurs) {}

    using CXmlCollection::AddAfterItem;
    using CXmlCollection::AddBeforeItem;
    using CXmlCollection::AddItemAt;
    using CXmlCollection::AppendItem;
    using CXmlCollection::AttributesToXml_Int;
    using CXmlCollection::GetNodeAtIndex;
    using CXmlCollection::GetNodeForItem;
    using CXmlCollection::GetTargetNamespace;
    using CXmlCollection::PrependItem;
    using CXmlCollection::RemoveNode;

    CNodeIterator<CItem> begin() const { return CNodeIterator<CItem>(m_pHead); }
    CNodeIterator<CItem> end() const { return CNodeIterator<CItem>(nullptr); }
    CNode* Head() const { return m_pHead; }
    CNode* Tail() const { return m_pTail; }

    // The ids from head to tail, checked against the ids from tail to head and the count.
    std::vector<int> Ids() const {
        std::vector<int> forward, backward;
        for (const CNode* node = m_pHead; node; node = node->m_pNext) forward.push_back(Id(node));
        for (const CNode* node = m_pTail; node; node = node->m_pPrevious) backward.insert(backward.begin(), Id(node));
        EXPECT_EQ(forward, backward);
        EXPECT_EQ(static_cast<int>(forward.size()), GetCount());
        EXPECT_TRUE(!m_pHead || !m_pHead->m_pPrevious);
        EXPECT_TRUE(!m_pTail || !m_pTail->m_pNext);
        return forward;
    }

protected:
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }

private:
    static int Id(const CNode* node) { return static_cast<const CItem*>(node->m_pItem.Get())->m_id; }
};

int32_t RefCount(CXmlObjectBase* object) {
    object->AddRef();
    return object->Release();
}

std::vector<int> Ids(std::initializer_list<int> ids) { return std::vector<int>(ids); }

// ------------------------------------------------------------------ bounds and counts

TEST(CollectionBaseTest, CountBoundsAndTheirMessages) {
    CSmartPtr<CItemCol> col(new CItemCol(2, 3));
    auto fill = [&](int count) {
        col->Clear();
        for (int i = 0; i < count; ++i) col->AppendItem(new CItem(i));
    };
    CXmlSerializationContext context;
    for (int count = 0; count <= 5; ++count) {
        SCOPED_TRACE(count);
        fill(count);
        EXPECT_EQ(col->IsValidCount(context), count == 2 || count == 3);
        const std::wstring expected =
            count < 2   ? L"The Minimum number of [item] elements allowed in this collection is 2"
            : count > 3 ? L"The Maximum number of [item] elements allowed in this collection is 3"
                        : L"";
        if (expected.empty())
            EXPECT_NO_THROW(col->ValidateCount(context));
        else
            EXPECT_EQ(MessageOf<CQxValidationException>([&] { col->ValidateCount(context); }), expected);
    }
    context.SetIgnoreInvalidCollectionCounts(true);
    EXPECT_TRUE(col->IsValidCount(context));
    EXPECT_NO_THROW(col->ValidateCount(context));

    CSmartPtr<CItemCol> unbounded(new CItemCol(1, -1));
    for (int i = 0; i < 1000; ++i) unbounded->AppendItem(new CItem(i));
    EXPECT_NO_THROW(unbounded->ValidateCount(CXmlSerializationContext()));
    CSmartPtr<CItemCol> defaults(new CItemCol);
    EXPECT_TRUE(defaults->IsValidCount(CXmlSerializationContext()));
    EXPECT_EQ(MessageOf([&] { defaults->GetTargetNamespace(); }),
              L"CXmlCollectionBase::GetTargetNamespace Should not be used from within a Collection (program logic "
              L"error)");
}

// ------------------------------------------------------------------ listeners

TEST(CollectionBaseTest, ListenersAreToldInOrderTwiceWhenAddedTwiceAndRemovedCompletely) {
    CSmartPtr<CItemCol> col(new CItemCol);
    std::string order;
    struct Tagged : IEventSink {
        Tagged(std::string* log, char tag) : log(log), tag(tag) {}
        void OnEvent(CXmlObjectBase*, MsgType type, void*) override {
            if (type == MsgType_CollectionChange) *log += tag;
        }
        std::string* log;
        char tag;
    } a(&order, 'a'), b(&order, 'b');
    col->AddEventListener(&a);
    col->AddEventListener(&b);
    col->AddEventListener(&a);
    col->AppendItem(new CItem(1));
    col->RemoveEventListener(&a);
    col->AppendItem(new CItem(2));
    col->RemoveEventListener(&b);
    col->RemoveEventListener(&b);  // no longer there: nothing happens
    col->AppendItem(new CItem(3));
    EXPECT_EQ(order, "abab");
}

TEST(CollectionBaseTest, ListenerMayRemoveItselfWhileBeingTold) {
    struct Leaving : IEventSink {
        void OnEvent(CXmlObjectBase*, MsgType, void*) override {
            ++calls;
            col->RemoveEventListener(this);
        }
        CItemCol* col = nullptr;
        int calls = 0;
    } leaving;
    CRecordingSink after;  // outlives the collection, whose destructor tells it
    CSmartPtr<CItemCol> col(new CItemCol);
    leaving.col = col.Get();
    col->AddEventListener(&leaving);
    col->AddEventListener(&after);
    col->AppendItem(new CItem(1));
    EXPECT_EQ(leaving.calls, 1);
    // The listener after the leaving one moved up while it was being told; it misses that
    // one event but every later one.
    EXPECT_EQ(after.Sequence(), "add-complete change");
}

// ------------------------------------------------------------------ insertion

TEST(CollectionTest, EveryInsertionFormPlacesTheItemAndNotifiesAddCompleteChange) {
    CRecordingSink sink;  // outlives the collection, whose destructor tells it
    CSmartPtr<CItemCol> col(new CItemCol);
    col->AddEventListener(&sink);
    CItem* items[7];
    for (int i = 0; i < 7; ++i) items[i] = new CItem(i);
    col->AddItemAt(0, items[2]);  // into the empty collection
    col->PrependItem(items[1]);
    col->AddAfterItem(items[2], items[4]);
    col->AddBeforeItem(items[4], items[3]);
    col->AddItemAt(4, items[6]);  // index == count: appends
    col->AddItemAt(4, items[5]);  // before the node at 4
    col->AddAfterItem(nullptr, items[0]);  // a null neighbour: the front
    EXPECT_EQ(col->Ids(), Ids({0, 1, 2, 3, 4, 5, 6}));
    col->AddBeforeItem(nullptr, new CItem(7));  // a null neighbour: the back
    col->AppendItem(new CItem(8));
    EXPECT_EQ(col->Ids(), Ids({0, 1, 2, 3, 4, 5, 6, 7, 8}));

    const CItem* added[] = {items[2], items[1], items[4], items[3], items[6], items[5], items[0]};
    ASSERT_EQ(sink.events.size(), 27u);
    for (size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sink.events[3 * i].data, added[i]);
        EXPECT_EQ(sink.events[3 * i + 1].data, added[i]);
        EXPECT_EQ(sink.events[3 * i + 2].data, nullptr);
    }
    std::string expected = "add add-complete change";
    for (int i = 1; i < 9; ++i) expected += " add add-complete change";
    EXPECT_EQ(sink.Sequence(), expected);
    for (const Event& event : sink.events) EXPECT_EQ(event.source, col.Get());

    std::vector<int> iterated;
    for (CItem* item : *col) iterated.push_back(item->m_id);
    EXPECT_EQ(iterated, col->Ids());
}

TEST(CollectionTest, RefusedInsertionsNotifyOnlyForUnknownNeighbours) {
    CRecordingSink sink;  // outlives the collection, whose destructor tells it
    CSmartPtr<CItemCol> col(new CItemCol);
    col->AppendItem(new CItem(1));
    col->AppendItem(new CItem(2));
    col->AddEventListener(&sink);
    CSmartPtr<CItem> item(new CItem(7));
    // A bad index or a null item is refused before any notification.
    for (int index : {3, -1, 100})
        EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->AddItemAt(index, item); }), L"Index out of range");
    const std::wstring nullItem = L"A NULL item can not be added to the collection";
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->AppendItem(nullptr); }), nullItem);
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->PrependItem(nullptr); }), nullItem);
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->AddItemAt(0, nullptr); }), nullItem);
    EXPECT_TRUE(sink.events.empty());
    // An unknown neighbour is found missing after the add notification.
    CSmartPtr<CItem> stranger(new CItem(9));
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->AddAfterItem(stranger, item); }),
              L"The object was not found in the collection");
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->AddBeforeItem(stranger, item); }),
              L"The object was not found in the collection");
    EXPECT_EQ(sink.Sequence(), "add add");
    EXPECT_EQ(col->Ids(), Ids({1, 2}));
    EXPECT_EQ(RefCount(item), 1);  // the collection took no reference
}

// ------------------------------------------------------------------ lookup

TEST(CollectionTest, LookupByIndexAndByBaseObject) {
    CSmartPtr<CItemCol> col(new CItemCol);
    CItem* held = new CItem(1);
    col->AppendItem(held);
    col->AppendItem(new CItem(2));
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->GetNodeAtIndex(2); }),
              L"Index 2 is out of range, use 0 - 2");
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->GetNodeAtIndex(-1); }),
              L"Index -1 is out of range, use 0 - 2");
    // A wrapper whose base is the held item finds the held item's node.
    CSmartPtr<CItem> wrapper(new CItem(99));
    wrapper->m_base = held;
    EXPECT_EQ(col->GetNodeForItem(wrapper), col->Head());
    col->AddAfterItem(wrapper, new CItem(3));
    EXPECT_EQ(col->Ids(), Ids({1, 3, 2}));
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->GetNodeForItem(nullptr); }),
              L"The object was not found in the collection");
    col->RemoveNode(col->GetNodeForItem(wrapper));
    EXPECT_EQ(col->Ids(), Ids({3, 2}));
}

// ------------------------------------------------------------------ removal

TEST(CollectionTest, RemovalNotifiesWithoutIndexAndReleasesTheItems) {
    CRecordingSink sink;  // outlives the collection, whose destructor tells it
    int destroyed = 0;
    CSmartPtr<CItem> kept(new CItem(9, &destroyed));
    const std::string removal = "remove(-) remove-complete(-) change";
    {
        CSmartPtr<CItemCol> col(new CItemCol);
        for (int i = 0; i < 4; ++i) col->AppendItem(new CItem(i, &destroyed));
        col->AddEventListener(&sink);
        col->Remove(2);
        EXPECT_EQ(sink.Sequence(), removal);
        EXPECT_EQ(destroyed, 1);
        col->Remove(2);  // the tail
        col->Remove(0);  // the head
        EXPECT_EQ(col->Ids(), Ids({1}));
        col->Remove(0);  // the only one
        EXPECT_EQ(col->Head(), nullptr);
        EXPECT_EQ(col->Tail(), nullptr);
        sink.events.clear();
        EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->Remove(0); }),
                  L"Index 0 is out of range, use 0 - 0");
        EXPECT_TRUE(sink.events.empty());

        for (int i = 0; i < 2; ++i) col->AppendItem(new CItem(i, &destroyed));
        col->Clear();
        EXPECT_EQ(destroyed, 6);
        col->AppendItem(kept);  // reusable after Clear
        col->AppendItem(new CItem(8, &destroyed));
        EXPECT_EQ(RefCount(kept), 2);
        sink.events.clear();
    }
    // The destructor clears the collection: each removal is told, the shared item lives on.
    EXPECT_EQ(sink.Sequence(), removal + " " + removal);
    EXPECT_EQ(destroyed, 7);
    EXPECT_EQ(RefCount(kept), 1);
}

// Random operations against std::list: the list and the collection must agree throughout.
TEST(CollectionTest, RandomOperationsAgreeWithStdList) {
    CSmartPtr<CItemCol> col(new CItemCol);
    std::list<int> oracle;
    std::mt19937 rng(20240506);
    int next = 0;
    for (int step = 0; step < 4000; ++step) {
        const int count = static_cast<int>(oracle.size());
        switch (rng() % 7) {
            case 0: col->AppendItem(new CItem(next)); oracle.push_back(next++); break;
            case 1: col->PrependItem(new CItem(next)); oracle.push_front(next++); break;
            case 2: {
                const int index = static_cast<int>(rng() % (count + 1));
                col->AddItemAt(index, new CItem(next));
                oracle.insert(std::next(oracle.begin(), index), next++);
                break;
            }
            case 3:
            case 4:
                if (count) {
                    const int index = static_cast<int>(rng() % count);
                    col->Remove(index);
                    oracle.erase(std::next(oracle.begin(), index));
                }
                break;
            case 5:
                if (count) {
                    const int index = static_cast<int>(rng() % count);
                    CXmlObjectBase* existing = col->GetNodeAtIndex(index)->m_pItem.Get();
                    col->AddAfterItem(existing, new CItem(next));
                    oracle.insert(std::next(oracle.begin(), index + 1), next++);
                }
                break;
            case 6:
                if (count) {
                    const int index = static_cast<int>(rng() % count);
                    CXmlObjectBase* existing = col->GetNodeAtIndex(index)->m_pItem.Get();
                    col->AddBeforeItem(existing, new CItem(next));
                    oracle.insert(std::next(oracle.begin(), index), next++);
                }
                break;
        }
        if (step % 500 == 0) col->Clear(), oracle.clear();
    }
    EXPECT_EQ(col->Ids(), std::vector<int>(oracle.begin(), oracle.end()));
}

// ------------------------------------------------------------------ attributes

TEST(CollectionTest, ItemsWriteTheirAttributesOnTheOpenElementInOrder) {
    CSmartPtr<CItemCol> col(new CItemCol);
    col->AppendItem(new CItem(1));
    col->AppendItem(new CItem(2));
    CTextStream stream;
    CXmlTextWriter writer(&stream);
    writer.SetFormatting(false);
    writer.StartDocument();
    writer.StartElement(L"parent", L"");
    col->AttributesToXml_Int(&writer, CXmlSerializationContext::GetDefaultContext());
    writer.EndElement();
    writer.EndDocument();
    EXPECT_EQ(stream.TakeText(), L"<parent a1=\"1\" a2=\"2\"/>");
}

}  // namespace
}  // namespace QxXmlTest
