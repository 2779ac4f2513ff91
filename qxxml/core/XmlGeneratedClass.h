// XmlGeneratedClass.h - CXmlGeneratedClass, the base of every class a schema compiler
// generates, and INillable for classes whose element may be nil.
//
// A generated class keeps its property values and describes its XML shape with three
// tables it builds once (under m_csInit) and shares between all its objects: the class
// description, the element descriptors and the attribute descriptors (qxxml/metadata/). The
// library writes and reads the object by walking those tables; the generated class only
// moves property values in and out through AccessProperty:
//
//   class CItem : public CXmlGeneratedClass {
//   public:
//     void AccessProperty(int index, bool read, QxVariant& value) override {
//       if (index == 0) { if (read) value.SetString(m_name); else m_name = value.GetString(); }
//     }
//     CParentElementInfo* GetClassInfo() override { return ms_info; }   // built on first use
//     CElementInfo** GetClassElementInfo() override { return ms_elements; }
//     CAttributeInfo** GetClassAttributeInfo() override { return ms_attributes; }
//     void Init() override { m_name.clear(); }
//     ...  // GetBase, GetNamespace, GetTargetNamespace
//   };
//
//   // at shutdown of the generated module:
//   CXmlGeneratedClass::CleanMetaData(ms_info, ms_elements, ms_attributes);
//
// A class described as a pseudo element (a model group) has no element of its own: it writes
// its content into its holder's element and reads it from the holder's children. It also sees
// the holder's attributes when it reads, so neither it nor a holder whose element carries the
// group's attributes can be described as failing on unknown attributes.
#pragma once

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/support/Export.h>
#include <qxxml/support/QXCriticalSection.h>

namespace QxXmlLib10Data {
class CParentElementInfo;
class CAttributeInfo;
}  // namespace QxXmlLib10Data

namespace QxXmlLib10 {

struct QxVariant;

// Implemented by generated classes whose element is nillable; the engines find it by a
// cross cast from the generated class.
class QXXML_API INillable {
public:
    virtual bool IsNil() = 0;
    virtual void SetNil(bool nil) = 0;

protected:
    ~INillable() = default;
};

class QXXML_API CXmlGeneratedClass : public CXmlObjectBase {
public:
    ~CXmlGeneratedClass() override;

    // --- what the generated class implements
    // read true: stores the property's value into `value` (invalid when an optional value is
    // absent, nil-marked for nil); read false: sets the property from `value`.
    virtual void AccessProperty(int propertyIndex, bool read, QxVariant& value) = 0;
    virtual QxXmlLib10Data::CParentElementInfo* GetClassInfo() = 0;
    // Null-terminated tables.
    virtual QxXmlLib10Data::CElementInfo** GetClassElementInfo() = 0;
    virtual QxXmlLib10Data::CAttributeInfo** GetClassAttributeInfo() = 0;
    // Resets the object; called at the start of every read.
    virtual void Init() = 0;

    // Held by generated code while it builds its tables on first use; the library itself
    // never takes it.
    static CQXCriticalSection m_csInit;

protected:
    CXmlGeneratedClass();
    CXmlGeneratedClass(const CXmlGeneratedClass& other);
    CXmlGeneratedClass& operator=(const CXmlGeneratedClass& other);

    // --- the writing and reading engines
    void AttributesToXml_Int(CXmlWriter* writer, const CXmlSerializationContext& context) const override;
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* firstChild, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) override;

    // The forwarders of CXmlObjectBase stay visible beside the overrides above (the
    // descriptors, friends of this class, reach child objects through them).
    using CXmlObjectBase::AttributesToXml_Int;
    using CXmlObjectBase::FromXml_Int;
    using CXmlObjectBase::ToXml_Int;

    // AccessProperty(propertyIndex, true, value) on a const object.
    void ReadProperty(int propertyIndex, QxVariant& value) const;
    // True when the element table holds a member a choice may leave out.
    bool DoesElementContainOptionalElements() const;
    // True when an entry of the element table recognises `element`.
    bool IsElementInList(const CXmlSerializationContext& context, CXmlElement* element) const;

    // Deletes the class description, every descriptor of both tables and the tables, and sets
    // the three pointers to null. Null pointers are skipped, so cleaning twice is harmless.
    static void CleanMetaData(QxXmlLib10Data::CParentElementInfo*& classInfo, QxXmlLib10Data::CElementInfo**& elements,
                              QxXmlLib10Data::CAttributeInfo**& attributes);

    // --- reading steps
    void ProcessAttributesFromXml(const CXmlSerializationContext& context, CXmlElement* element, bool failIfUnknown);

private:
    // The descriptors reach the protected property access and forwarders of generated objects.
    friend class QxXmlLib10Data::CElementInfo;
    friend class QxXmlLib10Data::CAttributeInfo;

    // Number of entries before the terminating null of the element table.
    int GetClassElementInfoCount() const;

    // --- writing steps
    void ProcessAttributesToXml(const CXmlSerializationContext& context, QxXmlLib10Data::CElementInfo** elements,
                                QxXmlLib10Data::CAttributeInfo** attributes, CXmlWriter* writer) const;
    void ProcessElementSeqToXml(const CXmlSerializationContext& context, QxXmlLib10Data::CElementInfo** elements,
                                CXmlWriter* writer) const;
    void ProcessElementAllToXml(const CXmlSerializationContext& context, QxXmlLib10Data::CElementInfo** elements,
                                CXmlWriter* writer) const;
    void ProcessElementChoiceToXml(const CXmlSerializationContext& context, QxXmlLib10Data::CElementInfo** elements,
                                   CXmlWriter* writer, bool optionalChoiceItem) const;

    // --- reading steps; each returns the new cursor
    CXmlElement* ProcessElementSeqFromXml(const CXmlSerializationContext& context, CXmlElement* parent,
                                          CXmlElement* cursor, QxXmlLib10Data::XmlElementType elementType);
    CXmlElement* ProcessElementAllFromXml(const CXmlSerializationContext& context, CXmlElement* parent,
                                          CXmlElement* cursor, QxXmlLib10Data::XmlElementType elementType);
    CXmlElement* ProcessElementChoiceFromXml(const CXmlSerializationContext& context, CXmlElement* parent,
                                             CXmlElement* cursor, QxXmlLib10Data::XmlElementType elementType,
                                             bool optionalChoiceItem);
};

}  // namespace QxXmlLib10
