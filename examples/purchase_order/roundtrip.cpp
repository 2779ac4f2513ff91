// roundtrip.cpp - what a program using generated classes does: read a purchase order, change
// it, write it back.
//
//   $ qxxml_po_roundtrip po.xml out.xml
//   PO-00000001: 912 items, status confirmed -> shipped
//   wrote out.xml
//
// The schema's trailing xs:any content (elements of other namespaces) is read into the
// order's GetAny() collection and written back unchanged.
#include "PoBinding.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <cstdio>
#include <string>

using namespace PoBinding;

namespace {

std::wstring Wide(const char* text) {
    std::wstring wide;
    AppendWideFromUtf8(wide, text, std::char_traits<char>::length(text));
    return wide;
}

std::string Utf8(const std::wstring& text) {
    std::string narrow;
    AppendUtf8(narrow, text.data(), text.size());
    return narrow;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <in.xml> <out.xml>\n", argv[0]);
        return 2;
    }
    // One context for reading and writing, writing the po: and xsi: prefixes the input uses.
    CXmlSerializationContext context;
    AddPoNamespaceAliases(context);

    try {
        CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
        order->FromXmlFile(Wide(argv[1]).c_str(), context);

        const StatusType before = order->GetStatus();
        order->SetStatus(StatusType_shipped);
        CSmartPtr<CHeader> header = order->GetHeader();
        header->SetComment(header->IsValidComment() ? header->GetComment() + L" (Shipped)" : L"Shipped");

        std::printf("%s: %d items, %d open elements, status %s -> %s\n", Utf8(order->GetOrderId()).c_str(),
                    order->GetItems()->GetCount(), order->GetAny()->GetCount(),
                    Utf8(StatusTypeToString(before)).c_str(),
                    Utf8(StatusTypeToString(order->GetStatus())).c_str());

        order->ToXmlFile(Wide(argv[2]).c_str(), true, true, XmlEncoding_UTF8, EOLType_LF, context,
                         CompressionType_None);
        std::printf("wrote %s\n", argv[2]);
    } catch (const CQxException& e) {
        // One line per level: the outermost element first, the first cause last.
        std::fprintf(stderr, "%s\n", Utf8(e.GetFullMessage()).c_str());
        return 1;
    }
    return 0;
}
