// The wildcard holders: the namespace-restriction test on every way content enters or leaves
// them (adding attributes and elements, reading attributes and elements), their messages,
// default namespaces, tree copying, the separately rendered default-namespace fragment,
// reading runs, cloning and the restriction check of a whole tree.

#include "collections/CollectionTestSupport.h"

#include <qxxml/collections/ElementCol.h>

#include <memory>

namespace QxXmlTest {
namespace {

// The wildcard holders with their reading opened.
template <class Holder>
class Opened : public Holder {
public:
    using Holder::FromXml_Int;
    using Holder::Holder;
};

class CExposedAttribute : public CAttribute {
public:
    CExposedAttribute() : CAttribute(L"a", L"v", L"") {}
    using CAttribute::FromXml_Int;
};

std::wstring Refusal(const std::wstring& ns, const std::wstring& restriction, const std::wstring& target) {
    return L"Invalid namespace [" + ns + L"]. The namespace must be one of [" + restriction +
           L"] where the target namespace is [" + target + L"]";
}

// Holds a parsed document for the element readers.
struct Tree {
    explicit Tree(const std::wstring& xml) { document.LoadXml(xml.c_str()); }
    CXmlElement* Root() const { return document.GetDocumentElement(); }
    CXmlDocument document;
};

std::wstring Write(const CXmlObjectBase* holder) {
    CTextStream stream;
    CXmlTextWriter writer(&stream);
    writer.SetFormatting(false);
    writer.StartDocument();
    writer.StartElement(L"root", L"");
    struct Forward : CXmlObjectBase {
        using CXmlObjectBase::ToXml_Int;
    };
    Forward::ToXml_Int(holder, &writer, false, L"", CXmlSerializationContext(), false);
    writer.EndElement();
    writer.EndDocument();
    return stream.TakeText();
}

// Every restriction against every namespace, in the four directions content takes: added as
// an attribute, added as an element, read as an attribute, read as an element. The table
// gives, per restriction, whether "", the target, urn:a, urn:b and urn:c are accepted.
TEST(Wildcard, NamespaceRestrictionsAreAppliedBothWaysWithTheirMessages) {
    const std::wstring target = L"urn:t";
    const std::wstring namespaces[] = {L"", target, L"urn:a", L"urn:b", L"urn:c"};
    const std::pair<std::wstring, std::string> table[] = {
        {L"##any", "11111"},
        {L"##other", "10111"},
        {L"##local", "10000"},
        {L"##targetNamespace", "01000"},
        {L"urn:a urn:b", "10110"},
        {L"##local urn:b", "10010"},
        {L"##targetNamespace ##other", "11111"},
    };
    for (const auto& [restriction, accepted] : table) {
        for (size_t i = 0; i < 5; ++i) {
            const std::wstring& ns = namespaces[i];
            const bool accepts = accepted[i] == '1';
            const std::string label = Narrow(restriction + L" / " + ns);
            const std::wstring refusal = accepts ? L"" : Refusal(ns, restriction, target);
            CSmartPtr<CAttributeCol> attributes(new CAttributeCol(L"", restriction.c_str(), target.c_str()));
            // The collection's own namespace must pass its restriction too.
            const std::wstring own = accepted[0] == '1' ? L"" : target;
            CSmartPtr<Opened<CElementCol>> elements(
                new Opened<CElementCol>(own.c_str(), restriction.c_str(), target.c_str(), 0, -1));
            const auto adds = [&](auto add) {
                try {
                    add();
                    return std::wstring();
                } catch (const CQxInvalidNamespaceException& e) {
                    return e.GetMessageW();
                }
            };
            EXPECT_EQ(adds([&] { attributes->Add(L"n", L"v", ns.c_str()); }), refusal) << label;
            EXPECT_EQ(adds([&] { elements->Add(L"n", ns.c_str()); }), refusal) << label;

            const std::wstring declare = ns.empty() ? L"" : L" xmlns:p='" + ns + L"'";
            const std::wstring name = ns.empty() ? L"n" : L"p:n";
            Tree tree(L"<r" + declare + L"><" + name + L" " + name + L"='v'/></r>");
            CXmlElement* child = tree.Root()->GetFirstElement();
            CSmartPtr<Opened<CAttributeCol>> read(new Opened<CAttributeCol>(L"", restriction.c_str(), target.c_str()));
            const std::wstring attributeRead =
                adds([&] { read->FromXml_Int(child, nullptr, CXmlSerializationContext(), false); });
            EXPECT_EQ(attributeRead,
                      accepts ? L"" : L"Invalid Attribute [n]. The attributes namespace is Inappropriate.")
                << label;
            CXmlElement* next = elements->FromXml_Int(tree.Root(), child, CXmlSerializationContext(), false);
            EXPECT_EQ(next, accepts ? nullptr : child) << label;
            EXPECT_EQ(elements->GetCount(), accepts ? 2 : 0) << label;  // added and read
        }
    }
}

TEST(Wildcard, ConstructorsAndDefaultNamespaces) {
    // "##other" with an empty collection namespace: new attributes have none, which "##other"
    // accepts only against a non-empty target namespace.
    CSmartPtr<CAttributeCol> other(new CAttributeCol(L"", L"##other", L"urn:t"));
    EXPECT_EQ(other->Add(L"a")->GetNamespace(), L"");
    CSmartPtr<CAttributeCol> otherNoTarget(new CAttributeCol(L"", L"##other", L""));
    EXPECT_EQ(MessageOf<CQxInvalidNamespaceException>([&] { otherNoTarget->Add(L"a"); }),
              Refusal(L"", L"##other", L""));
    // A list of URIs: the first one is the default.
    CSmartPtr<CAttributeCol> list(new CAttributeCol(L"", L"urn:a urn:b", L"urn:t"));
    EXPECT_EQ(list->Add(L"a", L"1")->GetNamespace(), L"urn:a");
    CSmartPtr<CElementCol> elements(new CElementCol(L"", L"urn:a urn:b", L"urn:t", 0, -1));
    EXPECT_EQ(elements->Add(L"e")->GetNamespace(), L"urn:a");
    CSmartPtr<CElementCol> none(new CElementCol(L"", L"##any", L"urn:t", 0, -1));
    EXPECT_EQ(MessageOf<CQxInvalidStateException>([&] { none->Add(L"e"); }),
              L"A Namespace has not been set for this Collection");
    EXPECT_EQ(MessageOf<CQxInvalidNamespaceException>([&] { CElementCol(L"urn:x", L"##local", L"", 0, -1); }),
              Refusal(L"urn:x", L"##local", L""));

    for (const wchar_t* keyword : {L"##any", L"##other", L"##local", L"##targetNamespace"})
        EXPECT_EQ(MessageOf<CQxInvalidNamespaceException>([&] { CElement(L"e", keyword); }),
                  L"Invalid Namespace [" + std::wstring(keyword) + L"]");
    EXPECT_EQ(MessageOf<CQxInvalidNamespaceException>([] { CElement(nullptr, L"", L"##any", L""); }),
              L"Element Name must have a value");
    EXPECT_EQ(MessageOf<CQxInvalidNamespaceException>([] { CElement(L"e", nullptr, L"##any", L""); }),
              L"Element Namespace must have a value");
    EXPECT_EQ(MessageOf<CQxInvalidNamespaceException>([] { CElement(L"e", L"", nullptr, L""); }),
              L"Namespace Restriction must have a value");
    EXPECT_EQ(MessageOf<CQxInvalidNamespaceException>([] { CElement(L"e", L"", L"##any", nullptr); }),
              L"Target Namespace must have a value");
    EXPECT_EQ(MessageOf<CQxInvalidNamespaceException>([] { CElement(L"e", L"urn:x", L"##local", L""); }),
              Refusal(L"urn:x", L"##local", L""));
    // The two-argument element accepts exactly its own namespace.
    CSmartPtr<CElement> own(new CElement(L"e", L"urn:o"));
    EXPECT_EQ(own->GetNamespaceRestriction(), L"urn:o");
    CExposedAttribute attribute;
    EXPECT_EQ(MessageOf([&] { attribute.FromXml_Int(nullptr, nullptr, CXmlSerializationContext(), false); }),
              L"This should be done by the collection");
}

TEST(Wildcard, ElementsReadTheirTreeAndWriteChildrenBeforeText) {
    Tree tree(L"<r xmlns:a='urn:a'><a:x a:k='1' k='&lt;2'>t<a:c/>u<d xmlns='urn:d'/></a:x><y/><y/><z/></r>");
    CXmlElement* x = tree.Root()->GetFirstElement();
    struct Reader : CElement {
        using CElement::CElement;
        using CElement::FromXml_Int;
    };
    // Outside the restriction: nothing read, the cursor comes back.
    CSmartPtr<Reader> refused(new Reader(L"e", L"", L"##local", L""));
    EXPECT_EQ(refused->FromXml_Int(tree.Root(), x, CXmlSerializationContext(), false), x);
    EXPECT_EQ(refused->GetName(), L"e");
    EXPECT_EQ(refused->GetAttributes()->GetCount(), 0);

    CSmartPtr<Reader> element(new Reader(L"e", L"", L"##any", L""));
    EXPECT_EQ(element->FromXml_Int(tree.Root(), x, CXmlSerializationContext(), false), x->GetNextSiblingElement());
    EXPECT_EQ(element->GetText(), L"tu");
    EXPECT_EQ(
        Write(element.Get()),
        L"<root><AA:x xmlns:AA=\"urn:a\" AA:k=\"1\" k=\"&lt;2\"><AA:c/><AB:d xmlns:AB=\"urn:d\"/>tu</AA:x></root>");

    // A run of one name in one namespace.
    CSmartPtr<Opened<CElementCol>> run(new Opened<CElementCol>(L"", L"##any", L"", 0, -1));
    CXmlElement* y = x->GetNextSiblingElement();
    CXmlElement* stop = run->FromXmlLockElementName_Int(L"y", L"", tree.Root(), y, CXmlSerializationContext());
    EXPECT_EQ(run->GetCount(), 2);
    EXPECT_EQ(stop->GetLocalName(), L"z");

    // Cloning gives independent collections.
    CSmartPtr<CElement> copy = element->Clone();
    copy->GetAttributes()->Add(L"new", L"1", L"");
    copy->GetChildElements()->Item(0)->SetText(L"changed");
    EXPECT_EQ(element->GetAttributes()->GetCount(), 2);
    EXPECT_EQ(element->GetChildElements()->Item(0)->GetText(), L"");
    EXPECT_EQ(copy->GetText(), L"tu");

    // The restriction check walks the tree and wraps the first failure.
    try {
        element->SetNamespaceRestrictions(L"urn:a ##local", L"");
        ADD_FAILURE() << "nothing thrown";
    } catch (const CQxInvalidNamespaceException& e) {
        EXPECT_EQ(e.GetFullMessage(),
                  L"The namespace urn:a in the class x is invalid against restriction urn:a ##local\n"
                  L"The namespace urn:d in the class d is invalid against restriction urn:a ##local\n" +
                      Refusal(L"urn:d", L"urn:a ##local", L""));
    }

    // Parsing text into a holder.
    CSmartPtr<CElement> parsed(new CElement(L"p"));
    parsed->FromXml(L"<q xmlns='urn:q'><w/></q>");
    EXPECT_EQ(parsed->GetNamespace(), L"urn:q");
    EXPECT_EQ(parsed->GetChildElements()->Item(0)->GetNamespace(), L"urn:q");
}

// An element made from an object declares its default namespace again when it is written,
// through a fragment rendered on its own.
TEST(Wildcard, DeclaredDefaultNamespaceIsWrittenAsAFragment) {
    CSmartPtr<CElement> source(new CElement(L"top", L"urn:d"));
    source->GetChildElements()->Add(L"a");
    source->GetChildElements()->Add(L"b")->SetText(L"x&y");
    CSmartPtr<CElement> copy(new CElement(source.Get(), L"urn:d"));
    EXPECT_EQ(copy->GetDeclaredDefaultNamespace(), L"urn:d");
    EXPECT_EQ(copy->GetChildElements()->GetCount(), 2);
    EXPECT_EQ(Write(copy.Get()), L"<root><top xmlns=\"urn:d\"><a/><b>x&amp;y</b></top></root>");
    EXPECT_EQ(copy->Clone()->GetDeclaredDefaultNamespace(), L"");
}

TEST(Wildcard, ChangesAreToldToListeners) {
    std::string events;  // the listener outlives the collection, which tells it of its final clearing
    CTaggedSink sink("", &events, [](void* element) { return ToUtf8(static_cast<CElement*>(element)->GetName()); });
    CSmartPtr<CElementCol> elements(new CElementCol(L"urn:a", L"##any", L"", 0, -1));
    elements->AddEventListener(&sink);
    CElement* first = elements->Add(L"e");
    elements->AddBefore(first, new CElement(L"f"));
    elements->Remove(0);
    EXPECT_EQ(events,
              " add(e) add-complete(e) change add(f) add-complete(f) change remove(-) remove-complete(-) change");
    EXPECT_EQ(elements->Item(0)->GetName(), L"e");
}

}  // namespace
}  // namespace QxXmlTest
