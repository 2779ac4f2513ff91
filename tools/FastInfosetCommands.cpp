// qxxml xml2fi <in> <out> and qxxml fi2xml <in> <out> - convert any document between XML text
// and Fast Infoset through the generic tree, no binding needed:
//
//   $ qxxml xml2fi po.xml po.fi
//   $ qxxml fi2xml po.fi po-again.xml
//
// Either command reads its input in whichever encoding it comes (plain or gzip/zlib
// compressed, XML text or Fast Infoset), as every reading entry point of the library does.
// The tree keeps elements, attributes, namespaces and text; comments and processing
// instructions are dropped, and an element's text is written after its child elements.
#include "Command.h"

#include <qxxml/collections/Element.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qxxml_tool {
namespace {

using namespace QxXmlLib10;

// A wildcard element that reads a whole document's element.
class DocumentElement : public CElement {
public:
    DocumentElement() : CElement(L"document") {}
    void Read(CXmlElement* root, const CXmlSerializationContext& context) { FromXml_Int(root, root, context, false); }
};

bool Widen(const std::string& path, std::wstring& wide) {
    if (AppendWideFromUtf8(wide, path.data(), path.size())) return true;
    std::fprintf(stderr, "qxxml: the file name is not valid UTF-8\n");
    return false;
}

// Loads `in` into the generic tree and has `write` write it to `out`. Failures reach main().
template <class Write>
int Convert(const char* name, const std::vector<std::string>& args, Write write) {
    if (args.size() != 2) return UsageError(name);
    std::wstring in;
    std::wstring out;
    if (!Widen(args[0], in) || !Widen(args[1], out)) return 2;
    const CXmlSerializationContext& context = CXmlSerializationContext::GetDefaultContext();
    CSmartPtr<DocumentElement> element(new DocumentElement());
    {
        CXmlDocument document(context);
        document.Load(in.c_str());
        element->Read(document.GetDocumentElement(), context);
    }
    write(*element, out, context);
    return 0;
}

int RunXmlToFastInfoset(const std::vector<std::string>& args) {
    return Convert("xml2fi", args, [](const CElement& element, const std::wstring& out,
                                      const CXmlSerializationContext& context) {
        element.ToFastInfosetFile(out.c_str(), FInfoDecl_None, context, CompressionType_None);
    });
}

int RunFastInfosetToXml(const std::vector<std::string>& args) {
    return Convert("fi2xml", args, [](const CElement& element, const std::wstring& out,
                                      const CXmlSerializationContext& context) {
        element.ToXmlFile(out.c_str(), true, false, XmlEncoding_UTF8, EOLType_LF, context, CompressionType_None);
    });
}

Registration xml2fi("xml2fi", "<in> <out>", "convert a document to Fast Infoset (through the generic tree)",
                    RunXmlToFastInfoset);
Registration fi2xml("fi2xml", "<in> <out>", "convert a document to XML text (through the generic tree)",
                    RunFastInfosetToXml);

}  // namespace
}  // namespace qxxml_tool
