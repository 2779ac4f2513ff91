// XmlTypeCollection.h - CXmlTypeCollection, the base of the collections of primitive values
// (a repeated xs:int, xs:string, xs:date ... element).
//
// It keeps what every typed collection needs to check, write and read its values: the item
// kind, the schema facets, the format override of floating-point and decimal text, and the
// white-space rule applied before item text is converted. Reading takes the run of item
// elements at the cursor:
//
//   // <list><n>1</n><n>2</n><other/></list>, cursor on the first <n>
//   CXmlElement* next = FromXml_Int(collection, list, cursor, context);   // (forwarder)
//   // collection holds 1, 2; next is <other/>
//
// The concrete members (Ci4Col, CstringCol, CdateCol, ...) are in TypedCollections.h and
// DateTimeCollections.h.
#pragma once

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/values/ItemType.h>
#include <qxxml/values/PrimitiveRestrictions.h>
#include <qxxml/values/WhitespaceUtils.h>

#include <memory>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CXmlTypeCollection : public CXmlCollectionBase {
public:
    ~CXmlTypeCollection() override;

    ItemType GetItemType() const { return m_itemType; }
    const CPrimitiveRestrictions& GetRestrictions() const { return *m_pRestrictions; }
    const std::wstring& GetFormatOverride() const { return m_strFormatOverride; }
    CWhitespaceUtils::WhitespaceRule GetWhitespaceRule() const { return m_whitespaceRule; }

protected:
    // The facet arguments are those of the CPrimitiveRestrictions constructor, in its order.
    // A null format override is the empty one.
    CXmlTypeCollection(ItemType itemType, const wchar_t* elementName, const wchar_t* elementNamespace,
                       int minOccurs, int maxOccurs, const wchar_t* pattern, int minLength, int maxLength,
                       const wchar_t* minInclusive, const wchar_t* maxInclusive, const wchar_t* minExclusive,
                       const wchar_t* maxExclusive, int length, CWhitespaceUtils::WhitespaceRule whitespaceRule,
                       const wchar_t* formatOverride);
    CXmlTypeCollection(const CXmlTypeCollection& other);
    CXmlTypeCollection& operator=(const CXmlTypeCollection& other);

    // Appends the item text of every element of the run that starts at `cursor` (elements
    // with the collection's name and namespace, as DoesElementNameMatch compares them) and
    // returns the first element after the run. The count is not checked here; a conversion
    // failure propagates with the items before it kept.
    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) override;

    // Parses one item's text (after m_whitespaceRule) and appends it.
    virtual void AddFromString(const std::wstring& text) = 0;

    // Never null and never changed: a collection without facets (nearly every one) shares the
    // process's empty set instead of carrying five empty strings of its own.
    std::shared_ptr<const CPrimitiveRestrictions> m_pRestrictions;
    ItemType m_itemType;
    std::wstring m_strFormatOverride;
    CWhitespaceUtils::WhitespaceRule m_whitespaceRule;
};

}  // namespace QxXmlLib10
