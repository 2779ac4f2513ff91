// DateTimeCollections.h - the collections of repeated date and time elements: CdateCol,
// CdatetimeCol, CtimeCol, CyearMonthCol and CmonthDayCol, all holding CDateTime values over
// the shared base CdatetimeBaseCol.
//
// A CDateTime knows its own kind, and each collection takes only values of its kind:
//
//   CSmartPtr<CdateCol> days(new CdateCol(L"day", L"", 0, -1, nullptr, -1, -1,
//       L"2024-01-01", nullptr, nullptr, nullptr, -1,
//       CWhitespaceUtils::WhitespaceRule_Collapse, nullptr));
//   CDateTime d;
//   d.ParseXSDDate(L"2024-05-06");
//   days->Add(d);                                        // <day>2024-05-06</day>
//   days->Add(CDateTime(L"2024-05-06T10:00:00"));
//   // CQxInvalidParamException "Dates added to this collection must be of type dt_date"
//
// The kind and the facets are checked before anything is told to the listeners (unlike the
// other typed collections, whose add notification comes first); the index check follows the
// add notification. Every date and time member writes its items declared to the writer as
// ItemType_datetime.
#pragma once

#include <qxxml/collections/XmlValueCollection.h>
#include <qxxml/support/InstanceMonitor.h>

#include <string>

namespace QxXmlLib10 {

class QXXML_API CdatetimeBaseCol : public CXmlValueCollection<CDateTime> {
public:
    ~CdatetimeBaseCol() override;

    // AddAt(GetCount(), value).
    virtual void Add(const CDateTime& value);
    // Checks the value's kind and facets, then BaseAddAt.
    virtual void AddAt(int index, const CDateTime& value) = 0;

protected:
    CdatetimeBaseCol(ItemType itemType, const wchar_t* elementName, const wchar_t* elementNamespace,
                     int minOccurs, int maxOccurs, const wchar_t* pattern, int minLength, int maxLength,
                     const wchar_t* minInclusive, const wchar_t* maxInclusive, const wchar_t* minExclusive,
                     const wchar_t* maxExclusive, int length, CWhitespaceUtils::WhitespaceRule whitespaceRule,
                     const wchar_t* formatOverride);
    CdatetimeBaseCol(const CdatetimeBaseCol& other);
    CdatetimeBaseCol& operator=(const CdatetimeBaseCol& other);

    // MsgType_CollectionAdd; an index outside 0 .. GetCount() then throws
    // CQxInvalidParamException "Index out of range"; otherwise the value goes in, followed by
    // MsgType_CollectionAddComplete and MsgType_CollectionChange.
    void BaseAddAt(int index, const CDateTime& value);

    // ValidateCount, then <name>text</name> for every item, declared as ItemType_datetime.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
};

// One date or time kind over CdatetimeBaseCol. Use the named members below.
template <ItemType Kind>
class QXXML_API CXmlDateKindCol : public CdatetimeBaseCol, private CInstanceMonitor {
public:
    // The eight facet arguments are those of the CPrimitiveRestrictions constructor.
    CXmlDateKindCol(const wchar_t* elementName, const wchar_t* elementNamespace, int minOccurs, int maxOccurs,
                    const wchar_t* pattern, int minLength, int maxLength, const wchar_t* minInclusive,
                    const wchar_t* maxInclusive, const wchar_t* minExclusive, const wchar_t* maxExclusive,
                    int length, CWhitespaceUtils::WhitespaceRule whitespaceRule, const wchar_t* formatOverride);
    // Copies name, namespace, listeners, bounds, facets, settings and every item; tells no one.
    CXmlDateKindCol(const CXmlDateKindCol& other);
    CXmlDateKindCol& operator=(const CXmlDateKindCol& other);
    ~CXmlDateKindCol() override;

    // A value of another kind throws CQxInvalidParamException "Dates added to this collection
    // must be of type dt_<kind>"; a broken facet throws the check's CQxException; both before
    // any notification. Then BaseAddAt.
    void AddAt(int index, const CDateTime& value) override;

protected:
    std::wstring ItemToString(const CDateTime& value) const override;
    // Converts with the kind's conversion and the white-space rule, then Add.
    void AddFromString(const std::wstring& text) override;

private:
    static CInstanceMonitor::ClassType* MonitorRecord();
};

QXXML_EXTERN_TEMPLATE(CXmlDateKindCol<ItemType_yearMonth>)
QXXML_EXTERN_TEMPLATE(CXmlDateKindCol<ItemType_monthDay>)
QXXML_EXTERN_TEMPLATE(CXmlDateKindCol<ItemType_date>)
QXXML_EXTERN_TEMPLATE(CXmlDateKindCol<ItemType_datetime>)
QXXML_EXTERN_TEMPLATE(CXmlDateKindCol<ItemType_time>)

#define QXXML_DATE_COLLECTION(Name, Kind)                   \
    class QXXML_API Name : public CXmlDateKindCol<Kind> {   \
    public:                                                 \
        using CXmlDateKindCol<Kind>::CXmlDateKindCol;       \
    }

QXXML_DATE_COLLECTION(CyearMonthCol, ItemType_yearMonth);  // CDateTime::dt_gYearMonth
QXXML_DATE_COLLECTION(CmonthDayCol, ItemType_monthDay);    // CDateTime::dt_gMonthDay
QXXML_DATE_COLLECTION(CdateCol, ItemType_date);            // CDateTime::dt_date
QXXML_DATE_COLLECTION(CdatetimeCol, ItemType_datetime);    // CDateTime::dt_dateTime
QXXML_DATE_COLLECTION(CtimeCol, ItemType_time);            // CDateTime::dt_time

#undef QXXML_DATE_COLLECTION

}  // namespace QxXmlLib10
