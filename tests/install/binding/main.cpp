// Builds an order with the classes generated from orders.xsd, writes it, reads it back.
#include "OrdersBinding.h"

#include <cstdio>

using namespace orders;

int main() {
    CSmartPtr<COrder> order(new COrder);
    order->SetCustomer(L"Alice");
    CSmartPtr<CLine> line(new CLine);
    line->SetProduct(L"Kettle");
    line->SetQuantity(CBigInteger(2));
    order->GetLines()->Add(line.Get());
    order->SetStatus(Status_shipped);

    CXmlSerializationContext context;
    AddOrdersNamespaceAliases(context);
    const std::wstring xml = order->ToXml(false, false, EOLType_LF, context);

    CSmartPtr<COrder> copy(new COrder);
    copy->FromXml(xml.c_str(), context);
    if (copy->GetStatus() != Status_shipped || copy->GetLines()->Item(0)->GetProduct() != L"Kettle") return 1;

    line->SetQuantity(CBigInteger(0));  // breaks positiveInteger: refused when written
    try {
        order->ToXml(false, false, EOLType_LF, context);
        return 1;
    } catch (const CQxException&) {
    }
    std::printf("%ls\n", xml.c_str());
    return 0;
}
