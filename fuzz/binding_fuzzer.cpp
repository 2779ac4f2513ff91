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
#include <purchase_order/PurchaseOrder.h>

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/SharedName.h>
#include <qxxml/support/SmartPtr.h>

#include <array>
#include <string>

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace QxXmlLib10;
using namespace PoBinding;

namespace {

// The four reading settings, made once: building a context (its Fast Infoset vocabulary
// included) on every run would cost as much as reading a small document.
const CXmlSerializationContext& ContextFor(size_t size) {
    static const std::array<CXmlSerializationContext, 4> contexts = [] {
        std::array<CXmlSerializationContext, 4> made;
        for (size_t variant = 0; variant < made.size(); ++variant) {
            AddPoNamespaceAliases(made[variant]);
            if (variant & 1) made[variant].SetIgnoreUnknownElements(true);
            if (variant & 2) made[variant].GetFIContext().SetSuggestedValues();
        }
        return made;
    }();
    return contexts[size & 3];
}

// MakeSharedName keeps the names it made last in a small per-thread table. While that table
// still has empty slots, a run ends with more heap blocks than it began with, and libFuzzer
// takes every such run for a possible leak and scans the whole heap. Filling every slot
// before the first run keeps each run's allocations balanced, so that the scan runs only for
// a real leak.
void FillSharedNameTable() {
    static const std::vector<std::wstring> fillers(4096, L"filler");
    for (const std::wstring& filler : fillers) MakeSharedName(filler.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FillSharedNameTable();
    for (size_t variant = 0; variant < 4; ++variant) ContextFor(variant).GetAdditionalRootAttributes();  // made on first use
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 0xFFFFFFFFu) return 0;
    const CXmlSerializationContext& context = ContextFor(size);
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
