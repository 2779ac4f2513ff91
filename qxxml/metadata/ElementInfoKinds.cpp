#include <qxxml/metadata/ElementInfoKinds.h>

#include <qxxml/collections/Element.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/ElementInfoAll.h>
#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/metadata/detail/DescriptorSupport.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlin/XmlElement.h>

namespace QxXmlLib10Data {

using detail::OrEmpty;
using QxXmlLib10::CSmartPtr;

// ------------------------------------------------------------------ primitive values

template <class Group>
CElementInfoPrimKind<Group>::CElementInfoPrimKind(const wchar_t* name, const wchar_t* elementNamespace,
                                                  int propertyIndex, bool nillable, ItemType itemType,
                                                  const wchar_t* formatOverride,
                                                  CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                                  const CPrimitiveRestrictions& restrictions)
    : Group(name, elementNamespace, propertyIndex, nillable, itemType, formatOverride, whitespaceRule, restrictions) {}

template <class Group>
bool CElementInfoPrimKind<Group>::ElementToXml(const CXmlSerializationContext& context,
                                               const CXmlGeneratedClass* object, CXmlWriter* writer) const {
    return this->ElementToXmlPrim(context, object, writer);
}

template <class Group>
bool CElementInfoPrimKind<Group>::ReadValue(CXmlGeneratedClass* object, CXmlElement** cursor) const {
    return this->ReadValueElement(object, cursor, nullptr);
}

template <class Group>
bool CElementInfoPrimKind<Group>::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                               CXmlElement*, CXmlElement** cursor, const wchar_t*, XmlElementType) {
    return this->IsThisElement(context, *cursor) && ReadValue(object, cursor);
}

// ------------------------------------------------------------------ enumerations

template <class Group>
CElementInfoEnumKind<Group>::CElementInfoEnumKind(const wchar_t* name, const wchar_t* elementNamespace,
                                                  int propertyIndex, bool nillable, EnumToStringFn enumToString,
                                                  EnumFromStringFn enumFromString)
    : Group(name, elementNamespace, propertyIndex, nillable),
      m_pfnEnumToString(enumToString),
      m_pfnEnumFromString(enumFromString) {}

template <class Group>
bool CElementInfoEnumKind<Group>::ElementToXml(const CXmlSerializationContext& context,
                                               const CXmlGeneratedClass* object, CXmlWriter* writer) const {
    return this->ElementToXmlEnum(context, object, writer, m_pfnEnumToString);
}

template <class Group>
bool CElementInfoEnumKind<Group>::ReadValue(CXmlGeneratedClass* object, CXmlElement** cursor) const {
    return this->ReadValueElement(object, cursor, m_pfnEnumFromString);
}

template <class Group>
bool CElementInfoEnumKind<Group>::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                               CXmlElement*, CXmlElement** cursor, const wchar_t*, XmlElementType) {
    return this->IsThisElement(context, *cursor) && ReadValue(object, cursor);
}

// ------------------------------------------------------------------ child objects

template <class Group>
CElementInfoObjectKind<Group>::CElementInfoObjectKind(const wchar_t* name, const wchar_t* elementNamespace,
                                                      int propertyIndex, XmlElementType elementType)
    : Group(name, elementNamespace, propertyIndex), m_elementType(elementType) {}

template <class Group>
bool CElementInfoObjectKind<Group>::ElementToXml(const CXmlSerializationContext& context,
                                                 const CXmlGeneratedClass* object, CXmlWriter* writer) const {
    return this->ElementToXmlCls(context, object, writer, false);
}

template <class Group>
void CElementInfoObjectKind<Group>::PseudoChildAttributeToXml(const CXmlSerializationContext& context,
                                                              const CXmlGeneratedClass* object,
                                                              CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_PseudoElement) this->PseudoChildAttributesToXml(context, object, writer);
}

template <class Group>
CElementInfoClsKind<Group>::CElementInfoClsKind(const wchar_t* name, const wchar_t* elementNamespace,
                                                int propertyIndex, XmlElementType elementType,
                                                CreateObjectFn createObject, int classId)
    : CElementInfoObjectKind<Group>(name, elementNamespace, propertyIndex, elementType),
      m_pfnCreateObject(createObject),
      m_iClassId(classId) {}

template <class Group>
CSmartPtr<CXmlObjectBase> CElementInfoClsKind<Group>::CreateChild() const {
    CSmartPtr<CXmlObjectBase> child = m_pfnCreateObject ? m_pfnCreateObject(m_iClassId, this->m_strElementName.c_str())
                                                        : CSmartPtr<CXmlObjectBase>();
    if (!child)
        throw QxXmlLib10::CQxInvalidStateException(QxXmlLib10::FormatString(
            L"The generated factory created no object for the element [%s] (class id %d)",
            this->m_strElementName.c_str(), m_iClassId));
    return child;
}

template <class Group>
bool CElementInfoClsKind<Group>::ReadNewChild(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                              CXmlElement* parent, CXmlElement** cursor) const {
    if (this->HasOwnElement()) {
        if (!this->IsThisElement(context, *cursor)) return false;
        const CSmartPtr<CXmlObjectBase> child = CreateChild();
        this->ReadOwnElement(context, child.Get(), cursor, false);
        this->StoreChild(object, child.Get());
        return true;
    }
    if (!*cursor) return false;
    const CSmartPtr<CXmlObjectBase> child = CreateChild();
    if (!this->ReadContent(context, child.Get(), parent, cursor)) return false;
    this->StoreChild(object, child.Get());
    return true;
}

template <class Group>
CElementInfoClsMndKind<Group>::CElementInfoClsMndKind(const wchar_t* name, const wchar_t* elementNamespace,
                                                      int propertyIndex, XmlElementType elementType,
                                                      CreateObjectFn createObject, int classId, bool required)
    : CElementInfoClsKind<Group>(name, elementNamespace, propertyIndex, elementType, createObject, classId),
      m_bRequired(required) {}

template <class Group>
CSmartPtr<CXmlObjectBase> CElementInfoClsMndKind<Group>::ExistingChild(CXmlGeneratedClass* object) const {
    CSmartPtr<CXmlObjectBase> child = this->GetChild(object);
    if (!child) {
        child = this->CreateChild();
        this->StoreChild(object, child.Get());
    }
    return child;
}

template <class Group>
CElementInfoAbsClsKind<Group>::CElementInfoAbsClsKind(const wchar_t* name, const wchar_t* elementNamespace,
                                                      int propertyIndex, XmlElementType elementType,
                                                      CreateFromElementFn createFromElement)
    : CElementInfoObjectKind<Group>(name, elementNamespace, propertyIndex, elementType),
      m_pfnCreateFromElement(createFromElement) {}

template <class Group>
CSmartPtr<CXmlObjectBase> CElementInfoAbsClsKind<Group>::CreateChildFor(const CXmlSerializationContext& context,
                                                                        CXmlElement* element) const {
    if (!this->IsThisElement(context, element) || !m_pfnCreateFromElement) return CSmartPtr<CXmlObjectBase>();
    return m_pfnCreateFromElement(element);
}

template <class GroupCol>
CElementInfoObjectColKind<GroupCol>::CElementInfoObjectColKind(const wchar_t* name, const wchar_t* elementNamespace,
                                                               int propertyIndex, XmlElementType elementType)
    : GroupCol(name, elementNamespace, propertyIndex), m_elementType(elementType) {}

template <class GroupCol>
void CElementInfoObjectColKind<GroupCol>::PseudoChildAttributeToXml(const CXmlSerializationContext& context,
                                                                    const CXmlGeneratedClass* object,
                                                                    CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_PseudoElement) this->PseudoChildAttributesToXml(context, object, writer);
}

// ------------------------------------------------------------------ untyped content

template <class Group>
CElementInfoUntpdKind<Group>::CElementInfoUntpdKind(const wchar_t* name, const wchar_t* elementNamespace,
                                                    int propertyIndex, const wchar_t* namespaceConstraint,
                                                    const wchar_t* targetNamespace)
    : Group(name, elementNamespace, propertyIndex),
      m_strNamespaceConstraint(OrEmpty(namespaceConstraint)),
      m_strTargetNamespace(OrEmpty(targetNamespace)) {}

template <class Group>
bool CElementInfoUntpdKind<Group>::ElementToXml(const CXmlSerializationContext& context,
                                                const CXmlGeneratedClass* object, CXmlWriter* writer) const {
    return this->ElementToXmlCls(context, object, writer, false);
}

template <class Group>
CSmartPtr<CXmlObjectBase> CElementInfoUntpdKind<Group>::NewElement(const wchar_t* parentNamespace) const {
    const std::wstring elementNamespace = CElementInfo::GetAnyDefaultNamespace(
        m_strNamespaceConstraint.c_str(), parentNamespace, m_strTargetNamespace.c_str());
    return new QxXmlLib10::CElement(this->m_strElementName.c_str(), elementNamespace.c_str(),
                                    m_strNamespaceConstraint.c_str(), m_strTargetNamespace.c_str());
}

template <class Group>
CSmartPtr<CXmlObjectBase> CElementInfoUntpdKind<Group>::ExistingElement(CXmlGeneratedClass* object,
                                                                        const wchar_t* parentNamespace) const {
    CSmartPtr<CXmlObjectBase> element = this->GetChild(object);
    if (!element) {
        element = NewElement(parentNamespace);
        this->StoreChild(object, element.Get());
    }
    return element;
}

template <class Group>
bool CElementInfoUntpdKind<Group>::ReadUntyped(const CXmlSerializationContext& context, CXmlObjectBase* element,
                                               CXmlElement* parent, CXmlElement** cursor) const {
    if (!this->IsUntypedMatch(*cursor)) return false;
    return this->ReadContent(context, element, parent, cursor);
}

template <class Group>
bool CElementInfoUntpdKind<Group>::ReadNewElement(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                                  CXmlElement* parent, CXmlElement** cursor,
                                                  const wchar_t* parentNamespace) const {
    const CSmartPtr<CXmlObjectBase> element = NewElement(parentNamespace);
    if (!ReadUntyped(context, element.Get(), parent, cursor)) return false;
    this->StoreChild(object, element.Get());
    return true;
}

template <class Group>
bool CElementInfoUntpdKind<Group>::ElementFromXml(const CXmlSerializationContext& context,
                                                  CXmlGeneratedClass* object, CXmlElement* parent,
                                                  CXmlElement** cursor, const wchar_t* parentNamespace,
                                                  XmlElementType) {
    return *cursor && ReadNewElement(context, object, parent, cursor, parentNamespace);
}

// ------------------------------------------------------------------ the instances the family uses

template class CElementInfoPrimKind<CElementInfoSeq>;
template class CElementInfoPrimKind<CElementInfoChoice>;
template class CElementInfoPrimKind<CElementInfoAll>;
template class CElementInfoEnumKind<CElementInfoSeq>;
template class CElementInfoEnumKind<CElementInfoChoice>;
template class CElementInfoEnumKind<CElementInfoAll>;
template class CElementInfoObjectKind<CElementInfoSeq>;
template class CElementInfoObjectKind<CElementInfoChoice>;
template class CElementInfoObjectKind<CElementInfoAll>;
template class CElementInfoClsKind<CElementInfoSeq>;
template class CElementInfoClsKind<CElementInfoChoice>;
template class CElementInfoClsKind<CElementInfoAll>;
template class CElementInfoClsMndKind<CElementInfoSeq>;
template class CElementInfoClsMndKind<CElementInfoAll>;
template class CElementInfoAbsClsKind<CElementInfoSeq>;
template class CElementInfoAbsClsKind<CElementInfoChoice>;
template class CElementInfoAbsClsKind<CElementInfoAll>;
template class CElementInfoObjectColKind<CElementInfoSeqCol>;
template class CElementInfoObjectColKind<CElementInfoChoiceCol>;
template class CElementInfoObjectColKind<CElementInfoAllCol>;
template class CElementInfoUntpdKind<CElementInfoSeq>;
template class CElementInfoUntpdKind<CElementInfoChoice>;
template class CElementInfoUntpdKind<CElementInfoAll>;

}  // namespace QxXmlLib10Data
