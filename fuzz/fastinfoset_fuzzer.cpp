// fastinfoset_fuzzer - arbitrary bytes into the Fast Infoset reader.
//
// Input without the Fast Infoset header gets one in front, so that every input reaches the
// reader rather than the text reader. The input's length picks the settings: a generated
// vocabulary (names and values known in advance) or none. Any failure must be a CQxException;
// the sanitizers catch the rest.
//
//   ./fastinfoset_fuzzer -max_total_time=600 corpus/        (seeds: fuzz/seeds/*.fi)
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/fastinfoset/FastInfosetReader.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlin/XmlDocument.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace QxXmlLib10;

size_t Walk(const CXmlElement* root) {
    size_t total = 0;
    std::vector<const CXmlElement*> pending;
    if (root != nullptr) pending.push_back(root);
    while (!pending.empty()) {
        const CXmlElement* element = pending.back();
        pending.pop_back();
        total += element->GetText().size() + element->GetNamespaceURI().size() + element->GetLocalName().size();
        for (const CXmlAttribute* attribute : element->GetAttributes())
            total += attribute->GetValue().size() + attribute->GetLocalName().size();
        for (const CXmlElement* child = element->GetFirstElement(); child; child = child->GetNextSiblingElement())
            pending.push_back(child);
    }
    return total;
}

const CXmlSerializationContext& VocabularyContext() {
    static const CXmlSerializationContext context = [] {
        CXmlSerializationContext made;
        CFIVocabulary* v = made.GetFIContext().GetVocabulary();
        v->AddElement(L"po", L"urn:example:po", L"order");
        v->AddElement(L"", L"", L"item");
        v->AddAttribute(L"", L"", L"id");
        v->AddAttributeValue(L"EUR");
        v->AddElementValue(L"1");
        made.GetFIContext().SetUseGeneratedVocabulary(true);
        return made;
    }();
    return context;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0xFFFFFFF0u) return 0;
    std::vector<unsigned char> bytes;
    if (!CFastInfosetReader::IsFastInfoset(data, size)) bytes = {0xE0, 0x00, 0x00, 0x01};
    bytes.insert(bytes.end(), data, data + size);
    if (bytes.size() == 4) bytes.push_back(0);
    static const CXmlSerializationContext plain;
    CXmlDocument document((size & 1) ? VocabularyContext() : plain);
    try {
        document.LoadXmlStream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    } catch (const CQxException&) {
        // a rejected document: what was built so far must still be walkable
    }
    volatile size_t sink = Walk(document.GetDocumentElement()) + document.LookupNamespaceFromAlias(L"").size();
    (void)sink;
    return 0;
}
