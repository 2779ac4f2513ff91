// qxxml po-roundtrip <in.xml> <out.xml> - reads a purchase order (po.xsd) into the sample
// binding of examples/purchase_order, marks it shipped, adds a note to its header comment and
// writes it back as UTF-8:
//
//   $ qxxml po-roundtrip po.xml out.xml
//   po.xml: order PO-00000001, 45112 items and 1 open elements read, status confirmed -> shipped
//   out.xml: 20412345 bytes written
//
// qxxml po-fastinfoset <in.xml> <out.fi> [binary] - reads a purchase order the same way and
// writes it as Fast Infoset, with an XML declaration; "binary" sends numbers and booleans as
// binary values and decimals as numeric-alphabet codes:
//
//   $ qxxml po-fastinfoset po.xml po.fi binary
//   po.fi: 6359230 bytes written
//
// The schema's trailing xs:any content is carried through unchanged. A facet the document
// breaks (a zip code, a quantity, a part number) is reported when writing, with the chain of
// elements that lead to it.
//
// qxxml po-write [--async] <in> <folder> - reads a purchase order (any encoding, plain or
// compressed) and writes it unchanged in every byte form the library makes, one file each:
// po-<utf8|utf16|utf16nodecl>-<crlf|lf>.xml, the same with .gz (gzip files) and .zlib (zlib
// byte streams, which files cannot carry). --async switches overlapped file reading and
// writing on. Two builds of the library, on two platforms, write the same bytes.
#include "Command.h"

#include "PoBinding.h"

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/values/ItemType.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qxxml_tool {
namespace {

using namespace PoBinding;

const wchar_t kShippedNote[] = L"Shipped";

bool WidePath(const std::string& path, std::wstring& wide) {
    if (AppendWideFromUtf8(wide, path.data(), path.size())) return true;
    std::fprintf(stderr, "qxxml po-roundtrip: the file name %s is not valid UTF-8\n", path.c_str());
    return false;
}

// The change a shipping clerk makes: the status, and a word in the header's comment.
void MarkShipped(CPurchaseOrder& order) {
    order.SetStatus(StatusType_shipped);
    CSmartPtr<CHeader> header = order.GetHeader();
    header->SetComment(header->IsValidComment() ? header->GetComment() + L" (" + kShippedNote + L")" : kShippedNote);
}

// Reads the order of the file named `path`; null (after a message) for a path that is not
// UTF-8. Failures of the read reach main(), which prints the whole chain of messages.
CSmartPtr<CPurchaseOrder> ReadOrder(const std::string& path, CXmlSerializationContext& context) {
    std::wstring in;
    if (!WidePath(path, in)) return CSmartPtr<CPurchaseOrder>();
    AddPoNamespaceAliases(context);  // the input's prefixes
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    order->FromXmlFile(in.c_str(), context);
    return order;
}

int RunPoRoundtrip(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("po-roundtrip");
    CXmlSerializationContext context;
    CSmartPtr<CPurchaseOrder> order = ReadOrder(args[0], context);
    if (!order) return 2;
    const StatusType before = order->GetStatus();
    MarkShipped(*order);

    const CBinaryData bytes =
        order->ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, context, CompressionType_None);
    const std::string text(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetLength());
    if (!WriteFileBytes(args[1], text)) {
        std::fprintf(stderr, "qxxml po-roundtrip: cannot write %s\n", args[1].c_str());
        return 1;
    }

    std::string orderId;
    AppendUtf8(orderId, order->GetOrderId().data(), order->GetOrderId().size());
    std::printf("%s: order %s, %d items and %d open elements read, status %ls -> %ls\n", args[0].c_str(),
                orderId.c_str(), order->GetItems()->GetCount(), order->GetAny()->GetCount(),
                StatusTypeToString(before), StatusTypeToString(order->GetStatus()));
    std::printf("%s: %u bytes written\n", args[1].c_str(), static_cast<unsigned>(bytes.GetLength()));
    return 0;
}

int RunPoFastInfoset(const std::vector<std::string>& args) {
    if (args.size() != 2 && !(args.size() == 3 && args[2] == "binary")) return UsageError("po-fastinfoset");
    CXmlSerializationContext context;
    CSmartPtr<CPurchaseOrder> order = ReadOrder(args[0], context);
    if (!order) return 2;
    if (args.size() == 3) {
        CFastInfosetContext& fi = context.GetFIContext();
        fi.SetSuggestedValues();
        for (int type = ItemType_yearMonth; type <= ItemType_time; ++type)
            fi.SetEncoding(type, {FIEncodingKind_CharacterString, 0});  // zoned dates do not fit the alphabet
    }
    const CBinaryData bytes = order->ToFastInfosetStream(FInfoDecl_V10, context, CompressionType_None);
    if (!WriteFileBytes(args[1], std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetLength()))) {
        std::fprintf(stderr, "qxxml po-fastinfoset: cannot write %s\n", args[1].c_str());
        return 1;
    }
    std::printf("%s: %u bytes written\n", args[1].c_str(), static_cast<unsigned>(bytes.GetLength()));
    return 0;
}

Registration poRoundtrip("po-roundtrip", "<in.xml> <out.xml>",
                         "read a purchase order into the sample binding, mark it shipped, write it back",
                         RunPoRoundtrip);
Registration poFastInfoset("po-fastinfoset", "<in.xml> <out.fi> [binary]",
                           "read a purchase order into the sample binding and write it as Fast Infoset",
                           RunPoFastInfoset);

struct ByteForm {
    const char* name;
    XmlEncoding encoding;
};

const ByteForm kByteForms[] = {
    {"utf8", XmlEncoding_UTF8}, {"utf16", XmlEncoding_UTF16}, {"utf16nodecl", XmlEncoding_UTF16NoDeclaration}};

int RunPoWrite(const std::vector<std::string>& givenArgs) {
    std::vector<std::string> args = givenArgs;
    const bool async = !args.empty() && args[0] == "--async";
    if (async) args.erase(args.begin());
    if (args.size() != 2) return UsageError("po-write");
    AsyncFromXmlFile(async);
    AsyncToXmlFile(async);
    CXmlSerializationContext context;
    CSmartPtr<CPurchaseOrder> order = ReadOrder(args[0], context);
    if (!order) return 2;

    int files = 0;
    for (const ByteForm& form : kByteForms) {
        for (EOLType eol : {EOLType_CRLF, EOLType_LF}) {
            const std::string base = args[1] + "/po-" + form.name + (eol == EOLType_LF ? "-lf" : "-crlf");
            for (CompressionType compression : {CompressionType_None, CompressionType_GZip}) {
                std::wstring out;
                if (!WidePath(base + (compression == CompressionType_GZip ? ".xml.gz" : ".xml"), out)) return 2;
                order->ToXmlFile(out.c_str(), true, true, form.encoding, eol, context, compression);
                ++files;
            }
            const CBinaryData zlib = order->ToXmlStream(true, true, form.encoding, eol, context, CompressionType_ZLib);
            if (!WriteFileBytes(base + ".xml.zlib",
                                std::string(reinterpret_cast<const char*>(zlib.GetData()), zlib.GetLength()))) {
                std::fprintf(stderr, "qxxml po-write: cannot write %s.xml.zlib\n", base.c_str());
                return 1;
            }
            ++files;
        }
    }
    std::printf("%s: %d files written to %s\n", args[0].c_str(), files, args[1].c_str());
    return 0;
}

Registration poWrite("po-write", "[--async] <in> <folder>",
                     "read a purchase order and write it in every encoding, line end and compression",
                     RunPoWrite);

}  // namespace
}  // namespace qxxml_tool
