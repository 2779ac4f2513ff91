// Wildcard content through the test binding (the Open document): arbitrary XML in every
// wildcard slot survives a read and a write (Canonical XML against the input, xmllint against
// TestBinding.xsd); content outside a wildcard's namespace restriction fails reading and
// writing with the whole message chain; additional root attributes; reading from a CElement.
#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace test_binding {
namespace {

const std::wstring kXsi = L"http://www.w3.org/2001/XMLSchema-instance";

// The slots of an Open document, each holding its text as it appears in the document.
using Slots = std::map<std::wstring, std::wstring>;

Slots DefaultSlots() {
    return {
        {L"attributes", L""},
        {L"other", L"<o:x xmlns:o='urn:o'/>"},
        {L"payload", L"<tb:payload/>"},
        {L"extra", L""},
        {L"listed", L""},
        {L"blobs", L""},
        {L"choice", L"<tb:memo/>"},
        {L"pick", L""},
        {L"all", L"<tb:need/>"},
        {L"locals", L""},
    };
}

std::wstring OpenDocument(const Slots& slots) {
    const auto slot = [&](const wchar_t* name) { return slots.at(name); };
    return L"<tb:Open xmlns:tb='urn:qxxml:test:binding' id='7'" + slot(L"attributes") + L"><tb:title>t</tb:title>" +
           slot(L"other") + slot(L"payload") + slot(L"extra") + slot(L"listed") + slot(L"blobs") + L"<tb:choice>" +
           slot(L"choice") + L"</tb:choice>" + slot(L"pick") + L"<tb:all>" + slot(L"all") + L"</tb:all>" +
           slot(L"locals") + L"</tb:Open>";
}

// Open content of many shapes: nested elements, attributes in and out of namespaces, default
// and prefixed declarations, characters that need escaping, characters beyond ASCII and
// beyond the BMP. (Text sits in leaves only: a holder writes its children before its text.)
std::vector<std::wstring> Documents() {
    const std::wstring audit =
        L"<x:audit xmlns:x='urn:ext' by='gen &amp; co' x:when='2024'><x:step n='1'>g\u00e9n\u00e9r\u00e9 &lt;ok&gt;"
        L"</x:step><x:step n='2'><x:deep xmlns:y='urn:y' y:a='&quot;q&quot; &amp; &lt;'>\u6771\u4eac \U0001F600"
        L"</x:deep></x:step></x:audit>";
    const std::wstring defaulted =
        L"<note xmlns='urn:def'><line>a &amp; b]]&gt;</line><line lang='el'>\u0395\u03bb\u03bb\u03ac\u03b4\u03b1"
        L"</line><inner xmlns='urn:other2'><z/></inner><back/></note>";
    std::vector<std::wstring> documents;
    Slots slots = DefaultSlots();
    slots[L"attributes"] = L" xmlns:q='urn:q' q:flag='1' q:txt='a&lt;b&#10;c' xmlns:r='urn:r' r:k=''";
    slots[L"other"] = audit;
    slots[L"payload"] =
        L"<tb:payload xmlns:w='urn:w' w:k='v'><w:inner>t</w:inner><tb:own>x</tb:own><plain a='1'>\u00fc</plain>"
        L"</tb:payload>";
    slots[L"extra"] = L"<tb:extra>just text &amp; more</tb:extra>";
    slots[L"listed"] = L"<b:item xmlns:b='urn:qxxml:test:b' b:x='1'><b:sub/></b:item>";
    slots[L"blobs"] = L"<tb:blob>1</tb:blob><tb:blob><k xmlns='urn:k'>2</k></tb:blob>";
    slots[L"pick"] = L"<tb:pick>" + defaulted + L"</tb:pick>";
    slots[L"all"] = L"<tb:need><n/></tb:need><tb:maybe>m</tb:maybe><tb:rest r='1'/>";
    slots[L"locals"] = L"<loose a='1'><inner>i</inner></loose><loose2/>";
    documents.push_back(OpenDocument(slots));

    slots = DefaultSlots();
    slots[L"other"] = defaulted;
    slots[L"listed"] = L"<a:item xmlns:a='urn:qxxml:test:a'/>";
    slots[L"choice"] = L"<a:one xmlns:a='urn:qxxml:test:a'/><a:two xmlns:a='urn:qxxml:test:a' p='&gt;'>2</a:two>";
    slots[L"pick"] = L"<tb:pick><tb:blob>b1</tb:blob><tb:blob>" + audit + L"</tb:blob></tb:pick>";
    // (An all-group's untyped collection takes every element of its namespace left at its
    // turn, named or not, so the members it would swallow come before it.)
    slots[L"all"] = L"<tb:need>n</tb:need><tb:maybe/>";
    documents.push_back(OpenDocument(slots));

    documents.push_back(OpenDocument(DefaultSlots()));
    return documents;
}

TEST(WildcardBinding, OpenContentSurvivesReadAndWrite) {
    const CXmlSerializationContext context;
    std::vector<std::wstring> inputs = Documents(), outputs, again;
    for (const std::wstring& input : inputs) {
        CSmartPtr<COpen> open(new COpen);
        try {
            open->FromXml(input.c_str(), context);
        } catch (const CQxException& e) {
            FAIL() << qxxml_test::ToUtf8(e.GetFullMessage() + L"\n" + input);
        }
        outputs.push_back(WriteXml(*open, context));
        // Reading the output gives the same output again.
        CSmartPtr<COpen> copy(new COpen);
        copy->FromXml(outputs.back().c_str(), context);
        again.push_back(WriteXml(*copy, context));
    }
    EXPECT_EQ(again, outputs);
    const std::vector<CToolRun> compared = CompareCanonical(inputs, outputs);
    for (size_t i = 0; i < compared.size(); ++i)
        EXPECT_TRUE(compared[i].Succeeded()) << i << ": " << compared[i].output << qxxml_test::ToUtf8(outputs[i]);
    if (!HasXmlLint()) GTEST_SKIP() << "xmllint (Debian package libxml2-utils) is not installed";
    std::vector<std::wstring> checked = inputs;  // the inputs themselves must be valid for the test to mean anything
    checked.insert(checked.end(), outputs.begin(), outputs.end());
    const std::vector<CToolRun> valid = ValidateWithSchema(checked);
    for (size_t i = 0; i < valid.size(); ++i) EXPECT_TRUE(valid[i].Succeeded()) << i << ": " << valid[i].output;
}

std::wstring Refusal(const std::wstring& ns, const std::wstring& restriction) {
    return L"Invalid namespace [" + ns + L"]. The namespace must be one of [" + restriction +
           L"] where the target namespace is [urn:qxxml:test:binding]";
}

// Content outside a wildcard's restriction, met while reading: each wildcard kind refuses it
// in its own way, wrapped once per enclosing object.
TEST(WildcardBinding, ReadingRefusesContentOutsideTheRestriction) {
    const std::wstring open = L"Failed to process the element [Open]\n";
    struct Case {
        const wchar_t* slot;
        const wchar_t* content;
        std::wstring message;
    };
    const Case cases[] = {
        // ##other: an element of the target namespace is not taken.
        {L"other", L"<tb:x/>", open + L"Failed to find the required element from namespace [##other]"},
        // ##targetNamespace (a named xs:anyType element): the right name in another namespace.
        {L"payload", L"<p:payload xmlns:p='urn:p'/>",
         open + L"Failed to find the required element from namespace "
                L"[urn:qxxml:test:binding]"},
        // A URI list: an element of a third namespace is not taken, and stands where the
        // mandatory choice must come.
        {L"listed", L"<c:item xmlns:c='urn:qxxml:test:c'/>", open + L"Failed to find a required element [choice]"},
        // ##local at the end: a namespaced element is left over.
        {L"locals", L"<loose/><n:late xmlns:n='urn:n'/>",
         open + L"Failed read all the elements held within the element [Open]. The unexpected element [late] "
                L"remains un processed"},
        // A choice of urn:a elements and memo: an element of urn:b fits neither (the choice has
        // optional members, so it is the element left over that fails).
        {L"choice", L"<b:one xmlns:b='urn:qxxml:test:b'/>",
         open + L"Failed to process the element [choice]\nFailed read all the elements held within the element "
                L"[choice]. The unexpected element [one] remains un processed"},
        // ##other in a choice: the target namespace fits neither alternative's restriction.
        {L"pick", L"<tb:pick><tb:other/></tb:pick>",
         open + L"Failed to process the element [pick]\nFailed read all the elements held within the element "
                L"[pick]. The unexpected element [other] remains un processed"},
        // anyAttribute ##other: an attribute of the target namespace is unexpected.
        {L"attributes", L" tb:own='1'", open + L"Unexpected Attribute [own] found."},
        // An all-group's named element in another namespace.
        {L"all", L"<p:need xmlns:p='urn:p'/>",
         open + L"Failed to process the element [all]\nFailed to find the mandatory element [need]"},
    };
    for (const Case& c : cases) {
        Slots slots = DefaultSlots();
        slots[c.slot] = c.content;
        CSmartPtr<COpen> object(new COpen);
        EXPECT_EQ(FullMessageOf([&] { object->FromXml(OpenDocument(slots).c_str(), CXmlSerializationContext()); }),
                  c.message)
            << qxxml_test::Narrow(c.slot);
    }
}

// Content outside the restriction is refused when it is added, and when it was changed
// afterwards, when it is written.
TEST(WildcardBinding, WritingRefusesContentOutsideTheRestriction) {
    const std::wstring open = L"Failed to convert the element [Open] to XML\n";
    const auto written = [](const std::function<void(COpen&)>& change) {
        CSmartPtr<COpen> object(new COpen);
        object->FromXml(OpenDocument(DefaultSlots()).c_str(), CXmlSerializationContext());
        change(*object);
        return FullMessageOf([&] { WriteXml(*object, CXmlSerializationContext()); });
    };
    const auto refusedWhenAdded = [](const std::function<void()>& add) {
        try {
            add();
        } catch (const CQxInvalidNamespaceException& e) {
            return e.GetFullMessage();
        }
        return std::wstring(L"(no exception)");
    };
    EXPECT_EQ(written([](COpen& o) { o.GetAny()->SetNamespace(kNamespace); }),
              open + Refusal(kNamespace, L"##other"));
    EXPECT_EQ(written([](COpen& o) { o.GetPayload()->SetNamespace(L"urn:p"); }),
              open + Refusal(L"urn:p", L"##targetNamespace"));
    EXPECT_EQ(written([](COpen& o) { o.GetAny3()->Add(L"x", L"")->SetNamespace(L"urn:n"); }),
              open + Refusal(L"urn:n", L"##local"));
    EXPECT_EQ(written([](COpen& o) { o.GetAnyAttributes()->Add(L"a", L"1", L"urn:q")->SetNamespace(kNamespace); }),
              open + L"Failed to convert attributes to XML\n" + Refusal(kNamespace, L"##other"));
    CSmartPtr<COpen> object(new COpen);
    EXPECT_EQ(refusedWhenAdded([&] { object->GetChoice()->GetAny()->Add(L"x", L"urn:qxxml:test:b"); }),
              Refusal(L"urn:qxxml:test:b", L"urn:qxxml:test:a"));
    EXPECT_EQ(refusedWhenAdded([&] { object->GetAny3()->Add(L"x", L"urn:n"); }), Refusal(L"urn:n", L"##local"));
    EXPECT_EQ(refusedWhenAdded([&] { object->GetAnyAttributes()->Add(L"a", L"1", kNamespace); }),
              Refusal(kNamespace, L"##other"));
    EXPECT_EQ(refusedWhenAdded([&] { object->GetBlobs()->Add(new CElement(L"blob", L"urn:p")); }),
              Refusal(L"urn:p", L"##targetNamespace"));
    // Collections check their counts when written.
    CSmartPtr<CStrictChoice> strict(new CStrictChoice);
    for (const wchar_t* word : {L"1", L"2", L"3", L"4"}) strict->GetWords()->Add(word);
    EXPECT_EQ(FullMessageOf([&] { WriteXml(*strict, CXmlSerializationContext()); }),
              L"Failed to convert the element [StrictChoice] to XML\nThe Maximum number of [word] elements allowed in "
              L"this collection is 3");
}

// A context's additional root attributes land on the root element, after the namespace
// declarations and before the object's own attributes.
TEST(WildcardBinding, AdditionalRootAttributesAreWrittenOnTheRoot) {
    CXmlSerializationContext context;
    context.GetNamespaceAliases().Add(L"tb", kNamespace);
    context.GetNamespaceAliases().Add(L"xsi", kXsi.c_str());
    context.GetAdditionalRootAttributes()->Add(L"schemaLocation", L"urn:qxxml:test:binding TestBinding.xsd",
                                               kXsi.c_str());
    context.GetAdditionalRootAttributes()->Add(L"plain", L"1");
    CSmartPtr<CItem> item = NewItem(L"label");
    item->SetCode(L"c");
    EXPECT_EQ(WriteXml(*item, context),
              L"<tb:Item xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:tb=\"urn:qxxml:test:binding\" "
              L"xsi:schemaLocation=\"urn:qxxml:test:binding TestBinding.xsd\" plain=\"1\" code=\"c\">"
              L"<tb:label>label</tb:label></tb:Item>");
    // Only the root carries them.
    CSmartPtr<COpen> open(new COpen);
    open->FromXml(OpenDocument(DefaultSlots()).c_str(), context);
    EXPECT_EQ(WriteXml(*open, context).find(L"plain", 10), WriteXml(*open, context).find(L"plain"));
}

// A generated class reads a wildcard element as it would read the element's text.
TEST(WildcardBinding, FromXmlElementReadsAWildcardElement) {
    CSmartPtr<CElement> element(new CElement(L"x"));
    element->FromXml(
        L"<tb:Item xmlns:tb='urn:qxxml:test:binding' code='k'><tb:label>l &amp; m</tb:label>"
        L"<tb:qty>3</tb:qty></tb:Item>");
    CSmartPtr<CItem> item(new CItem);
    item->FromXmlElement(element.Get(), CXmlSerializationContext());
    EXPECT_EQ(item->GetLabel(), L"l & m");
    EXPECT_EQ(item->GetQty(), 3);
    EXPECT_EQ(item->GetCode(), L"k");
    // And the other way: an element made from an object holds what it writes.
    CSmartPtr<CElement> made(new CElement(item.Get(), nullptr));
    EXPECT_EQ(made->GetName(), L"Item");
    EXPECT_EQ(made->GetChildElements()->GetCount(), 2);
    EXPECT_EQ(made->GetAttributes()->Item(0)->GetValue(), L"k");
}

}  // namespace
}  // namespace test_binding
