// CXmlObjectBase: reference counting, the helpers generated setters call (choices, null and
// element-name checks, namespace restrictions) and collection events.
#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>

#include "common/CaseTable.h"
#include "common/TaggedSink.h"

#include <gtest/gtest.h>

#include <vector>

using namespace QxXmlLib10;

namespace {

// A concrete object exposing the protected helpers to the tests.
class CTestObject : public CXmlObjectBase {
public:
    explicit CTestObject(const wchar_t* name = L"", int* destroyed = nullptr) : m_destroyed(destroyed) {
        SetElementName(name);
    }
    ~CTestObject() override {
        if (m_destroyed) ++*m_destroyed;
    }

    CXmlObjectBase* GetBase() override { return m_base ? m_base : this; }
    std::wstring GetNamespace() const override { return std::wstring(); }
    std::wstring Name() const { return GetElementName(); }

    using CXmlObjectBase::Choice_CollectionChanged;
    using CXmlObjectBase::Choice_Read_Collection;
    using CXmlObjectBase::Choice_SelectElement;
    using CXmlObjectBase::Choice_SetElementValid;
    using CXmlObjectBase::FireOnCollectionChangeEvent;
    using CXmlObjectBase::FireOnCollectionRemoveCompleteEvent;
    using CXmlObjectBase::FireOnCollectionRemoveEvent;
    using CXmlObjectBase::IsNamespaceValid;
    using CXmlObjectBase::Throw_IfElementNameDiffers;
    using CXmlObjectBase::Throw_IfPropertyIsNull;

    CXmlObjectBase* m_base = nullptr;  // the object carrying the element name, when not this

protected:
    std::wstring GetTargetNamespace() const override { return L"urn:target"; }
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement*, const CXmlSerializationContext&, bool) override {
        return element;
    }

private:
    int* m_destroyed;
};

// A collection whose reading result and count checks the tests control.
class CTestCollection : public CXmlCollectionBase {
public:
    CXmlObjectBase* GetBase() override { return m_base ? m_base : this; }
    std::wstring GetNamespace() const override { return std::wstring(); }
    void ValidateCount(const CXmlSerializationContext&) const override { ++m_validated; }
    int GetCount() const override { return 0; }
    void Clear() override {}
    void Remove(int) override {}

    CXmlObjectBase* m_base = nullptr;
    CXmlElement* m_readResult = nullptr;  // what FromXml_Int returns
    mutable int m_validated = 0;
    int m_reads = 0;
    CXmlElement* m_readFrom = nullptr;

protected:
    std::wstring GetTargetNamespace() const override { return std::wstring(); }
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool optionalChoiceItem) override {
        ++m_reads;
        m_readFrom = firstChild;
        EXPECT_FALSE(optionalChoiceItem);
        return m_readResult;
    }
};

// Stand-ins for elements nobody looks into, by number.
CXmlElement* FakeElement(uintptr_t n) { return reinterpret_cast<CXmlElement*>(n * 64); }
std::string NumberOf(const CXmlElement* element) { return std::to_string(reinterpret_cast<uintptr_t>(element) / 64); }

// A table field: "-" is the empty text.
std::wstring Text(const std::string& field) { return field == "-" ? L"" : qxxml_test::Widen(field); }

}  // namespace

TEST(XmlObjectBaseTest, CountingAndCopies) {
    int destroyed = 0;
    auto* object = new CTestObject(L"order", &destroyed);
    EXPECT_EQ(object->AddRef(), 1);
    EXPECT_EQ(object->AddRef(), 2);
    CTestObject copy(*object);
    EXPECT_EQ(copy.Name(), L"order");
    EXPECT_EQ(copy.AddRef(), 1) << "a copy starts at 0";
    CTestObject target(L"other");
    target.AddRef();
    target = *object;
    EXPECT_EQ(target.Name(), L"order");
    EXPECT_EQ(target.AddRef(), 2) << "assignment leaves the count alone";
    EXPECT_EQ(object->Release(), 1);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(object->Release(), 0);
    EXPECT_EQ(destroyed, 1);
}

// The helpers generated setters call, one call a row of data/choice_helpers.tsv: the three that
// keep one member of a choice set, and the null and element-name checks of a value.
TEST(XmlObjectBaseTest, SetterHelpersKeepOneMemberSetAndCheckTheValue) {
    for (const qxxml_test::CCaseRow& row : qxxml_test::CaseRows("tests/core/data/choice_helpers.tsv", 6)) {
        SCOPED_TRACE(row.where + ": " + row.line);
        const char helper = row.fields[0][0];
        const std::wstring name = Text(row.fields[1]);
        const int arg = std::stoi(row.fields[2]);
        std::wstring valid = Text(row.fields[3]);
        // A value is reached through another object's GetBase() and named after the selection.
        CTestObject named(valid.c_str()), wrapper(L"wrapper");
        wrapper.m_base = &named;
        CXmlObjectBase* const value = arg ? &wrapper : nullptr;
        std::string outcome = "none";
        try {
            if (helper == 'S') CTestObject::Choice_SelectElement(name.c_str(), value, valid);
            if (helper == 'C') CTestObject::Choice_CollectionChanged(name.c_str(), arg, valid);
            if (helper == 'V') CTestObject::Choice_SetElementValid(arg != 0, name.c_str(), valid);
            if (helper == 'N') CTestObject::Throw_IfPropertyIsNull(value, name.c_str());
            if (helper == 'E') CTestObject::Throw_IfElementNameDiffers(value, name.c_str());
        } catch (const CQxException& e) {
            outcome = qxxml_test::FailureText(e);
        }
        EXPECT_EQ(outcome, row.fields[5]);
        EXPECT_EQ(valid, Text(row.fields[4]));
    }
}

TEST(XmlObjectBaseTest, ChoiceReadCollection) {
    CTestCollection collection;
    collection.AddRef();
    CXmlElement* cursor = FakeElement(1);
    int32_t count = 0;
    // Reads the collection as a choice member, the collection reading up to element `to`;
    // says how often it was read and from which element, the cursor, the count and the checks.
    const auto read = [&](uintptr_t to) {
        collection.m_readResult = FakeElement(to);
        CTestObject::Choice_Read_Collection(&collection, FakeElement(9), cursor, count,
                                            CXmlSerializationContext::GetDefaultContext());
        return std::to_string(collection.m_reads) + " " + NumberOf(collection.m_readFrom) + " " + NumberOf(cursor) +
               " " + std::to_string(count) + " " + std::to_string(collection.m_validated);
    };
    EXPECT_EQ(read(1), "1 1 1 0 0");  // reads nothing
    EXPECT_EQ(read(3), "2 1 3 1 1");
    EXPECT_EQ(read(5), "2 1 3 1 1");  // a choice already read is not read again
}

TEST(XmlObjectBaseTest, NamespaceRestrictions) {
    const CTestObject o;
    for (const qxxml_test::CCaseRow& row : qxxml_test::CaseRows("tests/core/data/namespace_restrictions.tsv", 4)) {
        SCOPED_TRACE(row.where + ": " + row.line);
        EXPECT_EQ(o.IsNamespaceValid(Text(row.fields[0]).c_str(), Text(row.fields[1]).c_str(),
                                     Text(row.fields[2]).c_str()),
                  row.fields[3] == "1");
    }
}

// The collection tests see these events through real collections; here only what they cannot:
// the source is GetBase(), and index 0 is data while -1 is none.
TEST(XmlObjectBaseTest, CollectionEventsNameTheBaseAndCarryTheIndex) {
    CTestCollection collection;
    CTestObject owner(L"owner");
    collection.m_base = &owner;
    std::string log;
    CXmlObjectBase* const source = &owner;
    qxxml_test::CTaggedSink sink("", &log, nullptr, false, &source);
    CTestObject::FireOnCollectionChangeEvent(&sink, &collection);
    CTestObject::FireOnCollectionRemoveCompleteEvent(&sink, &collection, 0);
    CTestObject::FireOnCollectionRemoveEvent(&sink, &collection, -1);
    EXPECT_EQ(log, " change remove-complete(0) remove(-)");
}
