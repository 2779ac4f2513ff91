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

// MakeSharedName keeps the names it made last in a small per-thread table, by address. A run
// that leaves other names there than it found ends with more (or fewer) heap blocks than it
// began with, and libFuzzer takes every such run for a possible leak and scans the whole heap.
// So each run puts back what it found: one filler name per slot of the table.
class CSharedNameTable {
public:
    // Finds one filler per slot, with the table's public behaviour only: a name asked for
    // again at the same address comes back as the same string while it still holds its slot.
    // After all candidates are asked for in order, the last candidate of each slot holds it;
    // asking in reverse order, the first one that comes back the same is that last one.
    CSharedNameTable() : m_candidates(4096, L"filler") {
        std::vector<SharedName> made;
        for (const std::wstring& candidate : m_candidates) made.push_back(MakeSharedName(candidate.c_str()));
        for (size_t i = m_candidates.size(); i-- > 0;)
            if (MakeSharedName(m_candidates[i].c_str()) == made[i]) m_fillers.push_back(m_candidates[i].c_str());
        made.clear();
        Restore();
    }

    void Restore() const {
        for (const wchar_t* filler : m_fillers) MakeSharedName(filler);
    }

private:
    std::vector<std::wstring> m_candidates;  // their addresses are the fillers' keys
    std::vector<const wchar_t*> m_fillers;
};

const CSharedNameTable& SharedNameTable() {
    static const CSharedNameTable table;
    return table;
}

void ReadAndWriteBack(const uint8_t* data, size_t size) {
    const CXmlSerializationContext& context = ContextFor(size);
    std::vector<unsigned char> bytes(data, data + size);
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    try {
        order->FromXmlStream(bytes.data(), static_cast<uint32_t>(bytes.size()), context);
    } catch (const CQxException&) {
        return;
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
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SharedNameTable();
    for (size_t variant = 0; variant < 4; ++variant) ContextFor(variant).GetAdditionalRootAttributes();  // made on first use
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 0xFFFFFFFFu) return 0;
    ReadAndWriteBack(data, size);
    SharedNameTable().Restore();  // after the run's objects are gone
    return 0;
}
