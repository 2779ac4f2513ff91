// binding_fuzzer - arbitrary bytes of either encoding into the purchase-order sample binding,
// and what was read written back in both encodings.
//
// The bytes go through FromXmlStream as a program's would: inflater, Fast Infoset reader or
// text reader, then the binding's descriptors, collections and value checks. The input's
// length picks the reading settings (lenient or strict about unknown content). A document the
// binding takes is written back as XML text and as Fast Infoset, and the Fast Infoset read
// again. Any failure must be a CQxException; the sanitizers catch the rest.
//
//   ./binding_fuzzer -max_total_time=600 corpus/
#include "PoBinding.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/SmartPtr.h>

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace QxXmlLib10;
using namespace PoBinding;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 0xFFFFFFFFu) return 0;
    CXmlSerializationContext context;
    AddPoNamespaceAliases(context);
    if (size & 1) context.SetIgnoreUnknownElements(true);
    if (size & 2) context.GetFIContext().SetSuggestedValues();
    std::vector<unsigned char> bytes(data, data + size);
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    try {
        order->FromXmlStream(bytes.data(), static_cast<uint32_t>(bytes.size()), context);
    } catch (const CQxException&) {
        return 0;
    }
    try {
        volatile size_t sink = order->ToXml(true, true, EOLType_LF, context).size();
        (void)sink;
        CBinaryData binary = order->ToFastInfosetStream(FInfoDecl_None, context, CompressionType_None);
        CSmartPtr<CPurchaseOrder> again(new CPurchaseOrder);
        again->FromXmlStream(binary, context);
    } catch (const CQxException&) {
        // values the binding took but refuses to write (facets checked on writing only)
    }
    return 0;
}
