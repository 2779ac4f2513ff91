// PoSchema.h - what the classes of the purchase-order binding share: the schema's namespace,
// the class ids and factory that create child objects while reading, the StatusType
// enumeration with its text functions, and the holder of each class's metadata tables.
//
// This binding is written by hand the way a schema compiler emits one for po.xsd:
//
//   purchaseOrder   CPurchaseOrder  attributes orderId, orderDate, status; header; item*;
//                                   any* (##other, a CElementCol of open content)
//   header          CHeader         customerName, address, orderDate, comment?, note (nillable)
//   address         CAddress        choice of usAddress (CUSAddress) | intlAddress (CIntlAddress)
//   item            CItem           attribute partNum; productName, quantity, USPrice, shipDate?,
//                                   measurement* (Cr8Col), gift, blob, comment?
//   item*           CItemCol        the generated collection of CItem
//
// A program includes PurchaseOrder.h and works with the classes; it never touches the
// metadata here:
//
//   CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
//   order->FromXmlFile(L"po.xml", CXmlSerializationContext::GetDefaultContext());
//   order->SetStatus(StatusType_shipped);
#pragma once

#include <qxxml/core/ClassfactoryBase.h>
#include <qxxml/core/XmlGeneratedClass.h>
#include <qxxml/metadata/AttributeInfo.h>
#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/metadata/ParentElementInfo.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/values/QxVariant.h>

#include <atomic>
#include <initializer_list>
#include <string>

namespace PoBinding {

using namespace QxXmlLib10;
using namespace QxXmlLib10Data;

// The schema's target namespace; every element is qualified, every attribute unqualified.
extern const wchar_t* const kTargetNamespace;

// Declares the prefixes gen.py's documents use, po: for the schema and xsi: for nil, on the
// root element of every document written with the context.
void AddPoNamespaceAliases(CXmlSerializationContext& context);

// ------------------------------------------------------------------ StatusType

enum StatusType {
    StatusType_pending = 0,
    StatusType_confirmed = 1,
    StatusType_shipped = 2,
    StatusType_cancelled = 3,
};

// The schema text of a value; null for a number that is not a StatusType (the attribute
// descriptor reports that as an invalid value when writing).
const wchar_t* StatusTypeToString(int value);
// The value of a schema text, compared exactly (an enumeration of xs:string keeps its
// white space). Any other text throws CQxInvalidValueException
// "Invalid Value for StatusType [<text>]".
int StatusTypeFromString(const wchar_t* text);

// ------------------------------------------------------------------ factory

// Class ids handed to the class descriptors; the factory creates the object for one.
enum PoClassId {
    PoClassId_PurchaseOrder = 1,
    PoClassId_Header = 2,
    PoClassId_Address = 3,
    PoClassId_USAddress = 4,
    PoClassId_IntlAddress = 5,
    PoClassId_Item = 6,
};

class CPoFactory : public CClassfactoryBase {
public:
    // A new object of the class, carrying `elementName`; null for an unknown class id.
    static CSmartPtr<CXmlObjectBase> CreateObject(int classId, const wchar_t* elementName);
};

// ------------------------------------------------------------------ metadata tables

// The three tables of one class, built on first use under CXmlGeneratedClass::m_csInit and
// shared by all objects of the class.
struct CClassMetaData {
    CParentElementInfo* pClassInfo = nullptr;
    CElementInfo** ppElements = nullptr;
    CAttributeInfo** ppAttributes = nullptr;
    std::atomic<bool> bBuilt{false};

    // Runs `build` once (it fills the three pointers), under the lock; later calls cost one
    // atomic load.
    void EnsureBuilt(void (*build)(CClassMetaData&)) {
        if (!bBuilt.load(std::memory_order_acquire)) BuildLocked(build);
    }

private:
    void BuildLocked(void (*build)(CClassMetaData&));
};

// A null-terminated table of the descriptors given, as CleanMetaData expects it (array new,
// one entry larger than the count).
CElementInfo** NewElementTable(std::initializer_list<CElementInfo*> entries);
CAttributeInfo** NewAttributeTable(std::initializer_list<CAttributeInfo*> entries);

// Releases the tables of every class of the binding (also done at program exit). A class
// used afterwards builds its tables again.
void ReleasePoMetaData();

// ------------------------------------------------------------------ generated class base

// What every class of the binding implements alike: its own base object, the schema's
// namespace, and the three tables, which T builds in its static BuildMetaData.
template <class T>
class CPoGeneratedClass : public CXmlGeneratedClass {
public:
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return kTargetNamespace; }

    CParentElementInfo* GetClassInfo() override { return Tables().pClassInfo; }
    CElementInfo** GetClassElementInfo() override { return Tables().ppElements; }
    CAttributeInfo** GetClassAttributeInfo() override { return Tables().ppAttributes; }

    // Destroys the class's tables (ReleasePoMetaData does it for every class).
    static void ReleaseMetaData() {
        CQXCriticalSection::Lock hold(m_csInit);
        CleanMetaData(ms_tables.pClassInfo, ms_tables.ppElements, ms_tables.ppAttributes);
        ms_tables.bBuilt.store(false, std::memory_order_release);
    }

protected:
    explicit CPoGeneratedClass(const wchar_t* elementName) { SetElementName(elementName); }
    std::wstring GetTargetNamespace() const override { return kTargetNamespace; }

private:
    static CClassMetaData& Tables() {
        ms_tables.EnsureBuilt(&T::BuildMetaData);
        return ms_tables;
    }

    inline static CClassMetaData ms_tables;
};

// ------------------------------------------------------------------ property helpers

// The two directions of AccessProperty for a string property: read stores the property into
// the variant; write moves the variant's text into the property (the descriptor discards the
// variant afterwards, so reading a text costs no second copy). A variant of another kind
// throws its own precondition failure.
void AccessString(bool read, QxVariant& value, std::wstring& property);
// The same for an optional string: absent is an invalid variant.
void AccessOptionalString(bool read, QxVariant& value, std::wstring& property, bool& present);

[[noreturn]] void ThrowObjectOfOtherClass(const wchar_t* property);

// The object a variant holds, as the class T the property requires; null stays null. An
// object of another class throws CQxInvalidParamException
// "The object given for the property [%s] is not of its class".
template <class T>
CSmartPtr<T> ObjectFromVariant(const QxVariant& value, const wchar_t* property) {
    const CSmartPtr<CXmlObjectBase> object = value.GetXmlObject();
    if (!object) return nullptr;
    T* typed = dynamic_cast<T*>(object.Get());
    if (!typed) ThrowObjectOfOtherClass(property);
    return typed;
}

// A property index the class does not have: CQxInvalidParamException
// "Unknown property index %d of class %s" (a fault of the caller, never of a document).
[[noreturn]] void ThrowUnknownProperty(const wchar_t* className, int propertyIndex);

}  // namespace PoBinding
