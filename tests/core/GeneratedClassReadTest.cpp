// The reading engine of generated classes. The documents of data/read_cases.tsv are read into
// the generated test binding and expected back as what the object then writes (with the
// row's writing settings), or as the message chain of the failure. (Probes with hand-made
// tables, for the engine paths no class of the schema takes, are rows of probe_cases.tsv.)
#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/XmlElement.h>

#include "common/CaseTable.h"
#include "common/ExpatOracle.h"  // Bytes

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace test_binding {
namespace {

using namespace QxXmlLib10Data;
using qxxml_test::FromUtf8;
using qxxml_test::ToUtf8;
using qxxml_test::Widen;

const wchar_t kXsi[] = L"http://www.w3.org/2001/XMLSchema-instance";

// Expands the table's escapes and macros.
std::wstring Expand(const std::string& field) {
    std::wstring text = FromUtf8(qxxml_test::Unescape(field));
    const std::pair<std::wstring, std::wstring> macros[] = {
        {L"$HEAD",
         L"<name>n</name><colour>red</colour><item><label>l</label></item>"
         L"<shape xsi:type=\"Circle\"><radius>1</radius></shape>"},
        {L"$ADDR", L"<street>s</street>"},
        {L"$NS", L"xmlns=\"urn:qxxml:test:binding\" xmlns:xsi=\"" + std::wstring(kXsi) + L"\""},
    };
    for (const auto& macro : macros)
        for (size_t at; (at = text.find(macro.first)) != std::wstring::npos;)
            text.replace(at, macro.first.size(), macro.second);
    return text;
}

// The settings of a row (see read_cases.tsv): "key" or "key=value", comma-separated.
using Settings = std::multimap<std::string, std::wstring>;
Settings SettingsOf(const std::string& field) {
    Settings settings;
    for (size_t at = 0, comma; at <= field.size(); at = comma + 1) {
        comma = std::min(field.find(',', at), field.size());
        const std::string item = field.substr(at, comma - at);
        const size_t equals = std::min(item.find('='), item.size());
        settings.emplace(item.substr(0, equals), Widen(item.substr(std::min(equals + 1, item.size()))));
    }
    return settings;
}

void SetLeniencies(CXmlSerializationContext& context, const Settings& settings) {
    context.SetIgnoreUnknownElements(settings.count("elements"));
    context.SetIgnoreUnknownAttributes(settings.count("attributes"));
    context.SetIgnoreNamespaces(settings.count("namespaces"));
    context.SetIgnoreMissingChoice(settings.count("choice"));
    context.SetIgnoreInvalidCollectionCounts(settings.count("counts"));
}

// The binding's namespace is the default one unless an alias names it; xsi is declared.
void SetWriting(CXmlSerializationContext& context, const Settings& settings) {
    context.GetNamespaceAliases().Add(L"xsi", kXsi);
    context.SetDefaultNamespaceURI(kNamespace);
    for (const auto& [key, value] : settings) {  // in key order: an alias before a default
        const size_t colon = std::min(value.find(L':'), value.size());  // root attributes: name:value
        const std::wstring name = value.substr(0, colon), text = value.substr(std::min(colon + 1, value.size()));
        if (key == "alias") context.GetNamespaceAliases().Add(value.c_str(), kNamespace);
        if (key == "alias" || key == "default") context.SetDefaultNamespaceURI(key == "alias" ? nullptr : value.c_str());
        if (key == "pi") context.GetProcessingInstructions().push_back(value);
        if (key == "schema") context.SetInLineSchema(value.c_str());
        if (key == "no-type") context.SetWriteTypeAttribute(false);
        if (key == "root-attribute") context.GetAdditionalRootAttributes()->Add(name.c_str(), text.c_str());
        if (key == "xsi-attribute") context.GetAdditionalRootAttributes()->Add(name.c_str(), text.c_str(), kXsi);
    }
}

// The text the object writes under the row's output settings: declaration, formatted, crlf;
// or stream, the UTF-8 bytes of ToXmlStream (declaration and formatting on).
std::wstring Written(CXmlObjectBase& object, const Settings& settings, const CXmlSerializationContext& context) {
    const EOLType eol = settings.count("crlf") ? EOLType_CRLF : EOLType_LF;
    if (settings.count("stream"))
        return FromUtf8(qxxml_test::Bytes(
            object.ToXmlStream(true, true, XmlEncoding_UTF8, eol, context, CompressionType_None)));
    return object.ToXml(settings.count("declaration") > 0, settings.count("formatted") > 0, eol, context);
}

// What reading `input` into a new object of the document element `className` gives: the text
// the object then writes with the same leniencies and the row's writing settings, or "!" and
// the failure's message chain.
std::wstring ReadCase(const std::string& className, const Settings& settings, const std::wstring& input) {
    CSmartPtr<CXmlGeneratedClass> object = CreateDocumentElement(kNamespace, Widen(className).c_str());
    if (!object) return L"(no class " + Widen(className) + L")";
    CXmlSerializationContext context;
    SetLeniencies(context, settings);
    const auto first = settings.find("first");  // read first into the same object
    if (first != settings.end()) object->FromXml(first->second.c_str(), context);
    const std::wstring failure = FullMessageOf([&] { object->FromXml(input.c_str(), context); });
    if (failure != qxxml_test::kNoException) return L"!" + failure;
    SetWriting(context, settings);
    std::wstring written;
    const std::wstring writing = FullMessageOf([&] { written = Written(*object, settings, context); });
    return writing == qxxml_test::kNoException ? written : L"(writing failed) " + writing;
}

TEST(GeneratedClassRead, CaseTable) {
    for (const qxxml_test::CCaseRow& row : qxxml_test::CaseRows("tests/core/data/read_cases.tsv", 4)) {
        SCOPED_TRACE(row.where + ": " + row.line);
        const std::vector<std::string>& f = row.fields;
        EXPECT_EQ(ToUtf8(ReadCase(f[0], SettingsOf(f[1]), Expand(f[2]))), ToUtf8(Expand(f[3])));
    }
}

// The protected helpers of CClassfactoryBase, opened.
struct CFactoryProbe : CClassfactoryBase {
    using CClassfactoryBase::GetElementType;
    using CClassfactoryBase::GetElementTypeNamespaceUri;
};

// The rows of data/element_types.tsv: the xsi:type of the document element's first child.
TEST(GeneratedClassRead, ElementTypeAndItsNamespace) {
    qxxml_test::ForEachRow("tests/core/data/element_types.tsv", 4, [](const qxxml_test::Row& f) {
        CXmlDocument document;
        document.LoadXml(FromUtf8(f[0]).c_str());
        CXmlElement* element = document.GetDocumentElement()->GetFirstElement();
        if (f[1] != "(any)") {
            EXPECT_EQ(ToUtf8(CFactoryProbe::GetElementType(element)), f[1] == "-" ? "" : f[1]);
        }
        EXPECT_EQ(ToUtf8(CFactoryProbe::GetElementTypeNamespaceUri(element)), f[2]);
    });
}

}  // namespace
}  // namespace test_binding
