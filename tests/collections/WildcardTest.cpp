// The wildcard holders (CAttributeCol, CElementCol, CElement), from the case table
// wildcards.tsv beside this file (its opening comment tells the steps): the namespace
// restrictions on every way content enters (adding and reading attributes and elements) with
// their messages, default namespaces, reading a tree, runs of one name, cloning, copying from
// an object, the restriction check of a whole tree and the notifications of element
// collections.
#include "CollectionTestSupport.h"

#include <qxxml/collections/ElementCol.h>

namespace QxXmlTest {
namespace {

class WildcardScript {
public:
    explicit WildcardScript(const std::string& document) : m_document(FromUtf8(document)) {
        if (document != "-") m_tree.LoadXml(m_document.c_str());
    }

    std::string Run(const std::string& script) {
        return RunSteps(script, [this](const std::string& op, const std::string& arg) { return Step(op, arg); }) +
               "heard:" + m_events;
    }

private:
    // The arguments of a step, "~" a null pointer.
    struct Args {
        explicit Args(const std::string& text) {
            for (size_t at = 0, comma; at <= text.size(); at = comma + 1) {
                comma = std::min(text.find(',', at), text.size());
                texts.push_back(Spaced(text.substr(at, comma - at)));
            }
        }
        const wchar_t* operator[](size_t i) const { return texts[i] == L"~" ? nullptr : texts[i].c_str(); }
        size_t size() const { return texts.size(); }
        std::vector<std::wstring> texts;
    };

    CElement* Top() const { return m_stack.back().Get(); }
    CXmlElement* Root() const { return m_tree.GetDocumentElement(); }
    static std::string StopAt(const CXmlElement* next) { return next ? "stop " + ToUtf8(next->GetLocalName()) : "end"; }

    CElement* MakeElement(const Args& a) const {
        if (a.size() == 1) return new CElement(a[0]);
        if (a.size() == 2) return new CElement(a[0], a[1]);
        return new CElement(a[0], a[1], a[2], a[3]);
    }
    CXmlElement* FirstNamed(const std::wstring& name) const {
        CXmlElement* child = Root()->GetFirstElement();
        while (child->GetLocalName() != name) child = child->GetNextSiblingElement();
        return child;
    }
    std::string FullMessageOf(const std::function<void()>& action) const {
        try {
            action();
            return "";
        } catch (const CQxException& e) {
            const std::string kind = FailureText(e);
            std::string message = kind.substr(0, kind.find(' ')) + " " + ToUtf8(e.GetFullMessage());
            for (size_t end; (end = message.find('\n')) != std::string::npos;) message.replace(end, 1, " | ");
            return message;
        }
    }

    std::string Step(const std::string& op, const std::string& arg) {
        const Args a(arg);
        const CXmlSerializationContext& context = m_context;
        if (op == "attrs") m_attrs = new CAttributeCol(a[0], a[1], a[2]);
        if (op == "elems") m_elems = new CElementCol(a[0], a[1], a[2], 0, -1);
        if (op == "element") m_stack.emplace_back(MakeElement(a));
        if (op == "copy-of") m_stack.emplace_back(new CElement(Top(), a[0]));
        if (op == "clone") m_stack.push_back(Top()->Clone());
        if (op == "attributes") m_attrs = Top()->GetAttributes();
        if (op == "children") m_elems = Top()->GetChildElements();
        if (op == "add-attr") {
            CAttribute* added = a.size() == 1 ? m_attrs->Add(a[0]) : a.size() == 2 ? m_attrs->Add(a[0], a[1])
                                                                                     : m_attrs->Add(a[0], a[1], a[2]);
            return ToUtf8(added->GetNamespace());
        }
        if (op == "add-elem") {
            m_stack.emplace_back(a.size() == 1 ? m_elems->Add(a[0]) : m_elems->Add(a[0], a[1]));
            return ToUtf8(Top()->GetNamespace());
        }
        if (op == "item") m_stack.emplace_back(m_elems->Item(std::stoi(arg)));
        if (op == "pop") m_stack.pop_back();
        if (op == "before") m_elems->AddBefore(Top(), new CElement(a[0]));
        if (op == "remove") m_elems->Remove(std::stoi(arg));
        if (op == "listen") m_elems->AddEventListener(&m_sink);
        if (op == "read-attrs") Forward::FromXml_Int(m_attrs.Get(), Root()->GetFirstElement(), nullptr, context);
        if (op == "read-elems") return StopAt(Forward::FromXml_Int(m_elems.Get(), Root(), Root()->GetFirstElement(), context));
        if (op == "read-element") return StopAt(Forward::FromXml_Int(Top(), Root(), Root()->GetFirstElement(), context));
        if (op == "run") return StopAt(m_elems->FromXmlLockElementName_Int(a.texts[0], L"", Root(), FirstNamed(a.texts[0]), context));
        if (op == "name") return ToUtf8(Top()->GetName());
        if (op == "ns") return ToUtf8(Top()->GetNamespace());
        if (op == "restriction") return ToUtf8(Top()->GetNamespaceRestriction());
        if (op == "declared") return ToUtf8(Top()->GetDeclaredDefaultNamespace());
        if (op == "text") return ToUtf8(Top()->GetText());
        if (op == "set-text") Top()->SetText(a[0]);
        if (op == "count") return std::to_string(m_elems->GetCount());
        if (op == "attr-count") return std::to_string(Top()->GetAttributes()->GetCount());
        if (op == "write") return ToUtf8(WriteInRoot(Top(), context));
        if (op == "restrict") return FullMessageOf([&] { Top()->SetNamespaceRestrictions(a[0], a[1]); });
        if (op == "parse") Top()->FromXml(m_document.c_str());
        if (op == "attr-read") Forward::FromXml_Int(m_attrs->Add(L"a"), nullptr, nullptr, context);
        return "";
    }

    std::wstring m_document;
    CXmlDocument m_tree;
    CXmlSerializationContext m_context;
    std::string m_events;  // the listener outlives the collections, which tell it of their final clearing
    CTaggedSink m_sink{"", &m_events, [](void* element) { return ToUtf8(static_cast<CElement*>(element)->GetName()); }};
    CSmartPtr<CAttributeCol> m_attrs;
    CSmartPtr<CElementCol> m_elems;
    std::vector<CSmartPtr<CElement>> m_stack;
};

TEST(Wildcard, EveryRowOfTheTable) {
    ForEachRow("tests/collections/wildcards.tsv", 3,
               [](const Row& f) { EXPECT_EQ(WildcardScript(f[1]).Run(f[0]), f[2]); });
}

}  // namespace
}  // namespace QxXmlTest
