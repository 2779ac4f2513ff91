// The writing engine of generated classes, through the test binding: refused enumeration values
// and wildcard content, the metadata tables; and the engine paths no class of the schema takes
// (the choice exemptions among them), through probes with hand-made tables
// (data/probe_cases.tsv).
#include "core/BindingSupport.h"

#include <qxxml/core/GeneratedSupport.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/AttributeInfo.h>
#include <qxxml/metadata/ElementInfoAll.h>
#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/metadata/ParentElementInfo.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/QxVariant.h>

#include "common/CaseTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace test_binding {
namespace {

using namespace QxXmlLib10Data;

// A number without a text in an enumeration collection. (A single member's is a row of
// tests/metadata/element_writing.tsv.)
TEST(GeneratedClassWriteTest, EnumerationValueWithoutATextIsRefused) {
    CSmartPtr<COptions> options(new COptions);
    options->GetHues()->Add(99);  // the collection holds integers
    EXPECT_EQ(FullMessageOf([&] { WriteXml(*options, CXmlSerializationContext()); }),
              L"Failed to convert the element [Options] to XML\nInvalid Value for hue [99]");
}

// Wildcard content (the Open document) whose namespace was changed after it was added is
// refused when it is written. (Reading wildcard content and its refusals are rows of the
// round-trip and read tables; the refusals when content is added are rows of
// tests/collections/wildcards.tsv.)
TEST(GeneratedClassWriteTest, WildcardContentOutsideTheRestrictionIsRefused) {
    const auto written = [](const std::function<void(COpen&)>& change) {
        CSmartPtr<COpen> object(new COpen);  // one element in each mandatory slot
        object->FromXml(L"<tb:Open xmlns:tb='urn:qxxml:test:binding' id='7'><tb:title>t</tb:title>"
                        L"<o:x xmlns:o='urn:o'/><tb:payload/><tb:choice><tb:memo/></tb:choice>"
                        L"<tb:all><tb:need/></tb:all></tb:Open>",
                        CXmlSerializationContext());
        change(*object);
        return FullMessageOf([&] { WriteXml(*object, CXmlSerializationContext()); });
    };
    const auto refusal = [](const std::wstring& ns, const std::wstring& restriction, const wchar_t* step = L"") {
        return L"Failed to convert the element [Open] to XML\n" + std::wstring(step) + L"Invalid namespace [" + ns +
               L"]. The namespace must be one of [" + restriction + L"] where the target namespace is [" +
               kNamespace + L"]";
    };
    EXPECT_EQ(written([](COpen& o) { o.GetAny()->SetNamespace(kNamespace); }), refusal(kNamespace, L"##other"));
    EXPECT_EQ(written([](COpen& o) { o.GetPayload()->SetNamespace(L"urn:p"); }),
              refusal(L"urn:p", L"##targetNamespace"));
    EXPECT_EQ(written([](COpen& o) { o.GetAny3()->Add(L"x", L"")->SetNamespace(L"urn:n"); }),
              refusal(L"urn:n", L"##local"));
    EXPECT_EQ(written([](COpen& o) { o.GetAnyAttributes()->Add(L"a", L"1", L"urn:q")->SetNamespace(kNamespace); }),
              refusal(kNamespace, L"##other", L"Failed to convert attributes to XML\n"));
}

// A generated class whose description and tables each case supplies, with variant properties
// and a log of property accesses ("r2" read of property 2, "w0" write of property 0).
class CTbProbe : public CXmlGeneratedClass {
public:
    CTbProbe(CParentElementInfo* info, const std::vector<CElementInfo*>& elements,
             const std::vector<CAttributeInfo*>& attributes)
        : m_properties(8) {
        m_tables.info = info;
        m_tables.elements = CGeneratedTables::Table(elements.data(), elements.size());
        m_tables.attributes = CGeneratedTables::Table(attributes.data(), attributes.size());
        SetElementName(L"probe");
    }

    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return kNamespace; }
    CParentElementInfo* GetClassInfo() override { return m_tables.info; }
    CElementInfo** GetClassElementInfo() override { return m_tables.elements; }
    CAttributeInfo** GetClassAttributeInfo() override { return m_tables.attributes; }
    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override {
        m_log.push_back((read ? L"r" : L"w") + std::to_wstring(propertyIndex));
        QxVariant& property = m_properties.at(static_cast<size_t>(propertyIndex));
        if (read)
            value = property;
        else
            property = value;
        if (read && m_afterRead) m_afterRead();
    }
    void Init() override { ++m_initCount; }

    using CXmlGeneratedClass::DoesElementContainOptionalElements;

    std::vector<QxVariant> m_properties;
    std::vector<std::wstring> m_log;
    int m_initCount = 0;
    std::function<void()> m_afterRead;  // run after each property read, when set

protected:
    std::wstring GetTargetNamespace() const override { return kNamespace; }

private:
    CGeneratedTables m_tables;  // owned: cleaned with the probe
};

using Fill = std::function<void(QxVariant&)>;

// The member a word "kind=name[:extra]" of a probe's description makes, property `index`, and
// what its property then holds; no member for other words.
CElementInfo* MemberOf(const std::string& kind, const std::wstring& name, const std::string& extra, int index,
                       XmlElementGroupType group, Fill& fill) {
    constexpr auto kKept = CWhitespaceUtils::WhitespaceRule_Preserve;
    if (kind == "string" && group == XmlElementGroupType_Choice)
        return new CElementInfoChoicePrimOpt(name.c_str(), kNamespace, index, false, ItemType_string, nullptr, kKept,
                                             CPrimitiveRestrictions());
    if (kind == "string")
        return new CElementInfoSeqPrimOpt(name.c_str(), kNamespace, index, false, ItemType_string, nullptr, kKept,
                                          CPrimitiveRestrictions());
    if (kind == "mandatory")
        return new CElementInfoAllPrimMnd(name.c_str(), kNamespace, index, false, ItemType_string, nullptr,
                                          CWhitespaceUtils::WhitespaceRule_None, CPrimitiveRestrictions());
    if (kind == "strict") {
        if (!extra.empty())
            fill = [name](QxVariant& p) { p.SetXmlObject(CTbFactory::CreateObject(TbClass_StrictChoice, name.c_str()).Get()); };
        if (group == XmlElementGroupType_Choice)
            return new CElementInfoChoiceClsOpt(name.c_str(), kNamespace, index, XmlElementType_Element,
                                                &CTbFactory::CreateObject, TbClass_StrictChoice);
        return new CElementInfoSeqClsOpt(name.c_str(), kNamespace, index, XmlElementType_Element,
                                         &CTbFactory::CreateObject, TbClass_StrictChoice);
    }
    if (kind != "strings") return nullptr;
    fill = [name, extra](QxVariant& p) {
        p.SetXmlCollection(new CstringCol(name.c_str(), kNamespace, std::stoi(extra), -1, nullptr, -1, -1, nullptr,
                                          nullptr, nullptr, nullptr, -1, kKept, nullptr));
    };
    if (group == XmlElementGroupType_Choice) return new CElementInfoChoicePrimCol(name.c_str(), kNamespace, index);
    if (group == XmlElementGroupType_All) return new CElementInfoAllPrimCol(name.c_str(), kNamespace, index);
    return new CElementInfoSeqPrimCol(name.c_str(), kNamespace, index);
}

// A probe made from the words of a row of data/probe_cases.tsv (see there).
CSmartPtr<CTbProbe> ProbeOf(const std::string& description) {
    int group = XmlElementGroupType_Sequence, text = -1;
    ItemType textType = ItemType_string;
    std::vector<CElementInfo*> members;
    std::vector<CAttributeInfo*> attributes;
    std::vector<std::pair<size_t, Fill>> fills;
    for (const std::string& word : qxxml_test::Words(description)) {
        const size_t equals = word.find('='), colon = std::min(word.find(':'), word.size());
        const std::string kind = word.substr(0, equals), value = word.substr(equals + 1, colon - equals - 1);
        const std::string extra = word.substr(std::min(colon + 1, word.size()));
        const std::wstring name = qxxml_test::Widen(value);
        if (kind == "group")
            group = value == "choice" ? XmlElementGroupType_Choice : value == "all" ? XmlElementGroupType_All : std::stoi(value);
        if (kind == "text" || kind == "typeless-text") text = std::stoi(value);
        if (kind == "typeless-text") textType = ItemType_invalid;
        if (kind == "attribute")  // name:maxLength, of property 0
            attributes.push_back(new CAttributeInfoPrimitive(
                name.c_str(), L"", 0, true, ItemType_string, nullptr, CWhitespaceUtils::WhitespaceRule_Preserve,
                CPrimitiveRestrictions(nullptr, -1, std::stoi(extra), nullptr, nullptr, nullptr, nullptr, -1), nullptr));
        if (std::isdigit(static_cast<unsigned char>(kind[0])))
            fills.emplace_back(std::stoul(kind), [=](QxVariant& p) { p.SetString(qxxml_test::Spaced(word.substr(equals + 1))); });
        Fill fill;
        if (CElementInfo* member = MemberOf(kind, name, extra, static_cast<int>(members.size()),
                                            static_cast<XmlElementGroupType>(group), fill)) {
            if (fill) fills.emplace_back(members.size(), fill);
            members.push_back(member);
        }
    }
    CSmartPtr<CTbProbe> probe(
        new CTbProbe(new CParentElementInfo(static_cast<XmlElementGroupType>(group), XmlElementType_Element, L"Probe",
                                            kNamespace, true, false, text, textType, nullptr, true),
                     members, attributes));
    for (const auto& [index, fill] : fills) fill(probe->m_properties.at(index));
    return probe;
}

// The properties that hold something: "0=[text]", "1=(a b)" for a collection, "2=object".
std::wstring PropertiesOf(const CTbProbe& probe) {
    std::wstring text;
    for (size_t i = 0; i < probe.m_properties.size(); ++i) {
        const QxVariant& property = probe.m_properties[i];
        if (!property.IsValid()) continue;
        text += std::to_wstring(i) + L"=";
        if (property.GetTypeAsEnum() == ItemType_string) text += L"[" + property.GetString() + L"] ";
        if (property.GetTypeAsEnum() == ItemType_XmlObjectBase) text += L"object ";
        if (property.GetTypeAsEnum() != ItemType_XmlCollection) continue;
        const auto& items = dynamic_cast<const CstringCol&>(*property.GetXmlCollection());
        text += L"(";
        for (int item = 0; item < items.GetCount(); ++item) text += (item ? L" " : L"") + items.Item(item);
        text += L") ";
    }
    return text;
}

// What an operation on the probe gives (see data/probe_cases.tsv).
std::wstring ProbeCase(const std::string& description, const std::string& operation, const std::string& content) {
    CSmartPtr<CTbProbe> probe = ProbeOf(description);
    if (operation == "optional?") return probe->DoesElementContainOptionalElements() ? L"yes" : L"no";
    CXmlSerializationContext context;
    context.SetIgnoreUnknownElements(operation == "read-lenient");
    std::wstring read;
    if (operation != "write") {
        const std::wstring document =
            L"<p xmlns=\"urn:qxxml:test:binding\">" + qxxml_test::FromUtf8(qxxml_test::Unescape(content)) + L"</p>";
        const std::wstring failure = FullMessageOf([&] { probe->FromXml(document.c_str(), context); });
        if (failure != qxxml_test::kNoException) return L"!" + failure;
        read = PropertiesOf(*probe) + L"init=" + std::to_wstring(probe->m_initCount) + L" => ";
        probe->m_log.clear();
    }
    std::wstring written;
    const std::wstring failure = FullMessageOf([&] { written = WriteXml(*probe, context); });
    std::wstring log;
    for (const std::wstring& access : probe->m_log) log += L" " + access;
    return read + (failure == qxxml_test::kNoException ? written : L"!" + failure) + L" |" + log;
}

TEST(GeneratedClassProbes, CaseTable) {
    qxxml_test::ForEachRow("tests/core/data/probe_cases.tsv", 4, [](const qxxml_test::Row& f) {
        EXPECT_EQ(qxxml_test::ToUtf8(ProbeCase(f[0], f[1], f[2])), qxxml_test::Unescape(f[3]));
    });
}

// A property read that writes a document of its own, of the same kinds, on the same thread
// leaves the values the outer write has read alone.
TEST(GeneratedClassProbes, APropertyReadThatWritesADocumentLeavesTheOuterValuesAlone) {
    CSmartPtr<CTbProbe> outer = ProbeOf("string=a string=b 0=one 1=two");
    const CXmlSerializationContext context;
    const std::wstring alone = WriteXml(*outer, context);
    CSmartPtr<CTbProbe> inner = ProbeOf("string=c 0=three");
    const std::wstring innerAlone = WriteXml(*inner, context);
    std::vector<std::wstring> nested;
    outer->m_afterRead = [&] { nested.push_back(WriteXml(*inner, context)); };
    EXPECT_EQ(WriteXml(*outer, context), alone);
    EXPECT_EQ(nested, std::vector<std::wstring>(2, innerAlone));
}

int g_builds = 0, g_destroyed = 0;

// A piece of metadata that counts its destructions.
template <class Base>
struct CCounted : Base {
    using Base::Base;
    ~CCounted() override { ++g_destroyed; }
};

void BuildProbeTables(CGeneratedTables& tables) {
    ++g_builds;
    tables.info = new CCounted<CParentElementInfo>(XmlElementGroupType_Sequence, XmlElementType_Element, L"Probe",
                                                   kNamespace, true, false, -1, ItemType_invalid, nullptr, false);
    tables.elements = CGeneratedTables::Table<CElementInfo>({new CCounted<CElementInfoSeqPrimOpt>(
        L"s", kNamespace, 0, false, ItemType_string, nullptr, CWhitespaceUtils::WhitespaceRule_Preserve,
        CPrimitiveRestrictions())});
    tables.attributes = CGeneratedTables::Table<CAttributeInfo>({new CCounted<CAttributeInfoPrimitive>(
        L"a", L"", 1, true, ItemType_string, nullptr, CWhitespaceUtils::WhitespaceRule_Preserve,
        CPrimitiveRestrictions(), nullptr)});
}

TEST(GeneratedClassTablesTest, BuiltOnceUnderTheLockAndCleanedForTheNextUse) {
    CGeneratedTables tables;
    std::vector<std::thread> threads;
    std::vector<CParentElementInfo*> seen(8, nullptr);
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, &tables, i] { seen[i] = tables.Ensure(&BuildProbeTables).info; });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(g_builds, 1);
    for (CParentElementInfo* info : seen) EXPECT_EQ(info, tables.info);
    ASSERT_NE(tables.elements[0], nullptr);
    EXPECT_EQ(tables.elements[1], nullptr);  // the terminating entry
    tables.Clean();
    EXPECT_EQ(g_destroyed, 3);  // the description, the member and the attribute, each once
    EXPECT_EQ(tables.info, nullptr);
    EXPECT_EQ(tables.elements, nullptr);
    EXPECT_EQ(tables.attributes, nullptr);
    tables.Clean();  // cleaning cleaned tables again does nothing
    EXPECT_EQ(g_destroyed, 3);
    EXPECT_NE(tables.Ensure(&BuildProbeTables).info, nullptr);
    EXPECT_EQ(g_builds, 2);

    // The binding's classes write again after their tables were given back. (An object named
    // as its class carries no xsi:type; a derived object in an element of its base type does,
    // unless the context says otherwise: rows of read_cases.tsv.)
    ReleaseTbMetaData();
    CSmartPtr<CSpecialItem> special(new CSpecialItem(L"SpecialItem"));
    special->SetLabel(L"again");
    EXPECT_EQ(WriteXml(*special, CXmlSerializationContext()),
              L"<AA:SpecialItem xmlns:AA=\"urn:qxxml:test:binding\"><AA:label>again</AA:label></AA:SpecialItem>");
}

}  // namespace
}  // namespace test_binding
