// TaggedSink.h - a collection listener that writes what it is told into a log, for the tests
// of collection notifications.
//
//   std::string log;
//   CTaggedSink sink("a", &log, [](void* item) { return NameOf(item); });
//   collection->AddEventListener(&sink);   // then log reads " a.add(x) a.add-complete(x) a.change"
#pragma once

#include <qxxml/collections/XmlCollectionBase.h>

#include <functional>
#include <string>

namespace qxxml_test {

// Logs " T.add(D) T.add-complete(D) T.change T.remove(I) T.remove-complete(-)": T its tag, D
// what `describe` makes of an addition's data, I the index a removal gives ("-" for none). A
// notification from another source than `*current` (when given) is marked "~"; a leaving
// listener removes itself when told.
class CTaggedSink : public QxXmlLib10::IEventSink {
public:
    using Describe = std::function<std::string(void*)>;
    CTaggedSink(std::string tag, std::string* log, Describe describe, bool leaves = false,
                QxXmlLib10::CXmlObjectBase* const* current = nullptr)
        : m_tag(std::move(tag)), m_log(log), m_describe(std::move(describe)), m_leaves(leaves), m_current(current) {}

    void OnEvent(QxXmlLib10::CXmlObjectBase* source, MsgType type, void* data) override {
        static const char* const names[] = {"change", "add", "add-complete", "remove", "remove-complete"};
        *m_log += (m_current && source != *m_current ? " ~" : " ") + m_tag + (m_tag.empty() ? "" : ".") +
                  names[type - MsgType_CollectionChange];
        if (type == MsgType_CollectionAdd || type == MsgType_CollectionAddComplete)
            *m_log += "(" + m_describe(data) + ")";
        else if (type != MsgType_CollectionChange)
            *m_log += data ? "(" + std::to_string(*static_cast<int*>(data)) + ")" : "(-)";
        else if (data)
            *m_log += "(?)";
        if (m_leaves) static_cast<QxXmlLib10::CXmlCollectionBase*>(source)->RemoveEventListener(this);
    }

private:
    std::string m_tag;
    std::string* m_log;
    Describe m_describe;
    bool m_leaves;
    QxXmlLib10::CXmlObjectBase* const* m_current;
};

}  // namespace qxxml_test
