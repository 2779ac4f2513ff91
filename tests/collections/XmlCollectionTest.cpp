// CXmlCollectionBase (bounds, count checks, listeners) and CXmlCollection (the object list:
// every insertion form, removal, lookup, notifications, references), from the case table
// object_collections.tsv beside this file (its opening comment tells the steps), and random
// operations against std::list.
#include "CollectionTestSupport.h"

#include "common/CountedObject.h"

#include <atomic>
#include <list>
#include <map>
#include <random>

namespace QxXmlTest {
namespace {

// An item that counts its destruction and writes one attribute when asked.
class CItem : public CCountedObject {
public:
    CItem(int id, std::atomic<int>& destroyed) : CCountedObject(destroyed), m_id(id) { SetElementName(L"item"); }
    CXmlObjectBase* GetBase() override { return m_base ? m_base : this; }

    int m_id;
    CXmlObjectBase* m_base = nullptr;

protected:
    void AttributesToXml_Int(CXmlWriter* writer, const CXmlSerializationContext&) const override {
        writer->AddAttribute(L"a" + std::to_wstring(m_id), L"", std::to_wstring(m_id), ItemType_i4);
    }
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
    using CXmlCollection::GetNodeAtIndex;
    using CXmlCollection::GetNodeForItem;
    using CXmlCollection::GetTargetNamespace;
    using CXmlCollection::PrependItem;
    using CXmlCollection::RemoveNode;

    CNodeIterator<CItem> begin() const { return CNodeIterator<CItem>(m_pHead); }
    CNodeIterator<CItem> end() const { return CNodeIterator<CItem>(nullptr); }

    static int Id(const CNode* node) { return static_cast<const CItem*>(node->m_pItem.Get())->m_id; }

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
};

class ListScript {
public:
    explicit ListScript(const CaseWords& setup)
        : m_col(setup.Has("unnamed") ? new CItemCol : new CItemCol(setup.Number("min", 0), setup.Number("max", -1))) {}

    std::string Run(const std::string& script) {
        const std::string said =
            RunSteps(script, [this](const std::string& op, const std::string& arg) { return Step(op, arg); });
        std::string ids;
        if (m_col)
            for (int id : m_col->Ids()) ids += (ids.empty() ? "" : " ") + std::to_string(id);
        return said + "= [" + (m_col ? ids : "dropped") + "]" + m_events;
    }

private:
    CItem* Item(const std::string& name) {
        if (name == "-") return nullptr;
        if (name == "k") return m_kept;
        if (name == "x") return m_stranger;
        return new CItem(std::stoi(name), m_destroyed);
    }
    // An item of the collection, by number; or one of the named others.
    CXmlObjectBase* Neighbour(const std::string& name) {
        if (name[0] == 'w') {
            m_wrapper->m_base = Neighbour(name.substr(1));
            return m_wrapper;
        }
        if (name == "-" || name == "x" || name == "k") return Item(name);
        for (CItem* item : *m_col)
            if (item->m_id == std::stoi(name)) return item;
        return nullptr;
    }
    IEventSink* Sink(const std::string& tag, bool leaves) {
        auto& sink = m_sinks[tag];
        const auto describe = [](void* item) { return std::to_string(static_cast<CItem*>(item)->m_id); };
        if (!sink) sink.reset(new CTaggedSink(tag, &m_events, describe, leaves));
        return sink.get();
    }

    std::string Step(const std::string& op, const std::string& arg) {
        const std::string second = arg.substr(arg.find(':') + 1);
        if (op == "append") m_col->AppendItem(Item(arg));
        if (op == "prepend") m_col->PrependItem(Item(arg));
        if (op == "at") m_col->AddItemAt(std::stoi(arg), Item(second));
        if (op == "after") m_col->AddAfterItem(Neighbour(arg.substr(0, arg.find(':'))), Item(second));
        if (op == "before") m_col->AddBeforeItem(Neighbour(arg.substr(0, arg.find(':'))), Item(second));
        if (op == "remove") m_col->Remove(std::stoi(arg));
        if (op == "removenode") m_col->RemoveNode(m_col->GetNodeForItem(Neighbour(arg)));
        if (op == "clear") m_col->Clear();
        for (int i = 0; op == "fill" && i < std::stoi(arg); ++i) m_col->AppendItem(new CItem(i, m_destroyed));
        if (op == "node") return std::to_string(CItemCol::Id(m_col->GetNodeAtIndex(std::stoi(arg))));
        if (op == "find") return std::to_string(CItemCol::Id(m_col->GetNodeForItem(Neighbour(arg))));
        if (op == "drop") m_col = nullptr;
        if (op == "listen" || op == "leave") m_col->AddEventListener(Sink(arg, op == "leave"));
        if (op == "unlisten") m_col->RemoveEventListener(Sink(arg, false));
        if (op == "valid?") return m_col->IsValidCount(m_context) ? "yes" : "no";
        if (op == "validate") m_col->ValidateCount(m_context);
        if (op == "lenient") m_context.SetIgnoreInvalidCollectionCounts(true);
        if (op == "target") m_col->GetTargetNamespace();
        if (op == "destroyed") return std::to_string(m_destroyed.load());
        if (op == "refs") {  // the count of references, read as what a release leaves
            CXmlObjectBase* item = Item(arg);
            item->AddRef();
            return std::to_string(item->Release());
        }
        if (op == "attributes") {
            CTextStream stream;
            CXmlTextWriter writer(&stream);
            writer.SetFormatting(false);
            writer.StartElement(L"parent", L"");
            Forward::AttributesToXml_Int(m_col.Get(), &writer, m_context);
            writer.EndElement();
            return ToUtf8(stream.TakeText());
        }
        return "";
    }

    std::string m_events;
    std::map<std::string, std::unique_ptr<CTaggedSink>> m_sinks;  // outlive the collection, which tells them of its end
    std::atomic<int> m_destroyed{0}, m_uncounted{0};
    CSmartPtr<CItem> m_kept{new CItem(9, m_destroyed)}, m_stranger{new CItem(77, m_uncounted)},
        m_wrapper{new CItem(99, m_uncounted)};
    CSmartPtr<CItemCol> m_col;
    CXmlSerializationContext m_context;
};

TEST(CollectionTest, EveryRowOfTheTable) {
    ForEachRow("tests/collections/object_collections.tsv", 3,
               [](const Row& f) { EXPECT_EQ(ListScript(CaseWords(f[0])).Run(f[1]), f[2]); });
}

// Random operations against std::list, as one script: the two must agree at the end.
TEST(CollectionTest, RandomOperationsAgreeWithStdList) {
    std::list<int> oracle;
    std::string script;
    std::mt19937 rng(20240506);
    for (int step = 0, next = 0; step < 4000; ++step, ++next) {
        const int count = static_cast<int>(oracle.size());
        const unsigned pick = rng() % 7;
        const int index = static_cast<int>(rng() % (pick == 2 || !count ? count + 1 : count));
        const auto at = std::next(oracle.begin(), index);
        const std::string id = std::to_string(next), neighbour = count ? std::to_string(*at) : "";
        if (pick == 0) script += " append:" + id, oracle.push_back(next);
        if (pick == 1) script += " prepend:" + id, oracle.push_front(next);
        if (pick == 2) script += " at:" + std::to_string(index) + ":" + id, oracle.insert(at, next);
        if ((pick == 3 || pick == 4) && count) script += " remove:" + std::to_string(index), oracle.erase(at);
        if (pick == 5 && count) script += " after:" + neighbour + ":" + id, oracle.insert(std::next(at), next);
        if (pick == 6 && count) script += " before:" + neighbour + ":" + id, oracle.insert(at, next);
        if (step % 500 == 0) script += " clear", oracle.clear();
    }
    std::string ids;
    for (int id : oracle) ids += (ids.empty() ? "" : " ") + std::to_string(id);
    EXPECT_EQ(ListScript(CaseWords("-")).Run(script), "= [" + ids + "]");
}

}  // namespace
}  // namespace QxXmlTest
