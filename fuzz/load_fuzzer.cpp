// load_fuzzer - arbitrary bytes into CXmlDocument::LoadXmlStream.
//
// The bytes go through the whole byte-input path: the inflater (a fuzzed input that happens
// to be a gzip or zlib stream is inflated and parsed), then the text reader. The input's
// length picks the settings, so every setting sees every kind of input: namespace
// processing on or off, CDATA stripped or kept, and an element filter that drops some
// elements. Any failure must be a CQxException; the sanitizers catch the rest.
//
//   ./load_fuzzer -max_total_time=600 corpus/
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlin/XmlDocument.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using namespace QxXmlLib10;

// Drops elements with an odd number of attributes, after reading all they hold.
bool DropSome(CXmlElement* element) {
    size_t characters = element->GetText().size() + element->GetLocalName().size();
    for (const CXmlAttribute* attribute : element->GetAttributes())
        characters += attribute->GetValue().size() + attribute->IsNilAttribute();
    return (element->GetAttributes().size() + characters) % 2 == 1;
}

// Touches every node the way a reader of the tree would.
size_t Walk(const CXmlDocument& document) {
    size_t total = 0;
    std::vector<const CXmlElement*> pending;
    if (document.GetDocumentElement() != nullptr) pending.push_back(document.GetDocumentElement());
    while (!pending.empty()) {
        const CXmlElement* element = pending.back();
        pending.pop_back();
        total += element->GetText().size() + element->GetNamespaceURI().size();
        for (const CXmlAttribute* attribute : element->GetAttributes())
            total += attribute->GetValue().size() + attribute->IsNamespaceAttribute();
        total += element->GetAttribute(L"id", L"").size();
        for (const CXmlElement* child = element->GetFirstElement(); child; child = child->GetNextSiblingElement())
            pending.push_back(child);
    }
    return total + document.LookupNamespaceFromAlias(L"").size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 0xFFFFFFFFu) return 0;
    CXmlSerializationContext context;
    if (size & 1) context.SetSchemaType(SchemaType_NoNamespaces);
    if (size & 2) context.SetStripCDATA(false);
    CXmlDocument document((size & 4) ? &DropSome : nullptr, context);
    std::vector<unsigned char> bytes(data, data + size);
    try {
        document.LoadXmlStream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    } catch (const CQxException&) {
        // a rejected document: what was built so far must still be walkable
    }
    volatile size_t sink = Walk(document);
    (void)sink;
    return 0;
}
