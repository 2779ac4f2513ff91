// ClassfactoryBase.h - CClassfactoryBase, the base of the generated factories that choose the
// concrete class of an abstract or substitutable member from the element being read.
//
// A descriptor of an abstract member hands the element to a generated function, which asks
// its factory; the factory looks at the element's xsi:type:
//
//   class CShapeFactory : public CClassfactoryBase {
//   public:
//     static CSmartPtr<CXmlObjectBase> CreateFromElement(CXmlElement* element) {
//       // <shape xmlns:s="urn:shapes" xsi:type="s:Circle"> -> "Circle" in "urn:shapes"
//       if (GetElementTypeNamespaceUri(element) != L"urn:shapes") return nullptr;
//       const std::wstring type = GetElementType(element);
//       if (type == L"Circle") return new CCircle;
//       if (type == L"Square") return new CSquare;
//       return nullptr;                      // the element is not taken
//     }
//   };
#pragma once

#include <qxxml/support/Export.h>

#include <string>

namespace QxXmlLib10 {

class CXmlElement;

class QXXML_API CClassfactoryBase {
public:
    CClassfactoryBase() = default;
    CClassfactoryBase(const CClassfactoryBase&) = default;
    CClassfactoryBase& operator=(const CClassfactoryBase&) = default;
    virtual ~CClassfactoryBase();

protected:
    // The local part of the element's xsi:type value (the text after the first colon, or the
    // whole value when it has none); an empty string when the element has no xsi:type.
    static std::wstring GetElementType(CXmlElement* element);
    // The namespace of the xsi:type value: its prefix resolved through the declarations of the
    // element's document; the element's own namespace when the value has no prefix or the
    // prefix is not declared.
    static std::wstring GetElementTypeNamespaceUri(CXmlElement* element);
};

}  // namespace QxXmlLib10
