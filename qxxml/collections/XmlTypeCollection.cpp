#include <qxxml/collections/XmlTypeCollection.h>

#include <qxxml/support/ScratchText.h>
#include <qxxml/xmlin/XmlElement.h>

namespace QxXmlLib10 {

namespace {

bool IsUnset(const wchar_t* text) { return text == nullptr || *text == L'\0'; }

std::shared_ptr<const CPrimitiveRestrictions> SharedRestrictions(const wchar_t* pattern, int minLength,
                                                                 int maxLength, const wchar_t* minInclusive,
                                                                 const wchar_t* maxInclusive,
                                                                 const wchar_t* minExclusive,
                                                                 const wchar_t* maxExclusive, int length) {
    static const auto none = std::make_shared<const CPrimitiveRestrictions>();
    if (IsUnset(pattern) && minLength == -1 && maxLength == -1 && IsUnset(minInclusive) && IsUnset(maxInclusive) &&
        IsUnset(minExclusive) && IsUnset(maxExclusive) && length == -1)
        return none;
    return std::make_shared<const CPrimitiveRestrictions>(pattern, minLength, maxLength, minInclusive, maxInclusive,
                                                          minExclusive, maxExclusive, length);
}

}  // namespace

CXmlTypeCollection::CXmlTypeCollection(ItemType itemType, const wchar_t* elementName,
                                       const wchar_t* elementNamespace, int minOccurs, int maxOccurs,
                                       const wchar_t* pattern, int minLength, int maxLength,
                                       const wchar_t* minInclusive, const wchar_t* maxInclusive,
                                       const wchar_t* minExclusive, const wchar_t* maxExclusive, int length,
                                       CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                       const wchar_t* formatOverride)
    : CXmlCollectionBase(elementName, elementNamespace, minOccurs, maxOccurs),
      m_pRestrictions(SharedRestrictions(pattern, minLength, maxLength, minInclusive, maxInclusive, minExclusive,
                                         maxExclusive, length)),
      m_itemType(itemType),
      m_strFormatOverride(formatOverride ? formatOverride : L""),
      m_whitespaceRule(whitespaceRule) {}

CXmlTypeCollection::CXmlTypeCollection(const CXmlTypeCollection& other) = default;
CXmlTypeCollection& CXmlTypeCollection::operator=(const CXmlTypeCollection& other) = default;
CXmlTypeCollection::~CXmlTypeCollection() = default;

CXmlElement* CXmlTypeCollection::FromXml_Int(CXmlElement*, CXmlElement* cursor,
                                             const CXmlSerializationContext& context, bool) {
    // The name is looked up on every step: a listener told of an addition may rename us.
    while (cursor && DoesElementNameMatch(context, cursor, ElementName().c_str(), m_strNamespace.c_str())) {
        AddFromString(ScratchText(cursor->GetTextView()));
        cursor = cursor->GetNextSiblingElement();
    }
    return cursor;
}

}  // namespace QxXmlLib10
