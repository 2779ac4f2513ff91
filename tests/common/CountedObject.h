// CountedObject.h - the least object of the object model there can be (and the least
// collection), counting its destructions: for the tests of references and ownership.
//
//   std::atomic<int> destroyed{0};
//   CSmartPtr<CCountedObject> object(new CCountedObject(destroyed));
//   object->child = new CCountedObject(destroyed);   // kept alive by its parent
//   object = nullptr;                                // destroyed is 2
#pragma once

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/SmartPtr.h>

#include <atomic>
#include <string>

namespace qxxml_test {

template <class Base>
class CCounted : public Base {
public:
    explicit CCounted(std::atomic<int>& destroyed) : m_destroyed(destroyed) {}
    ~CCounted() override { ++m_destroyed; }
    QxXmlLib10::CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return std::wstring(); }

    QxXmlLib10::CSmartPtr<CCounted> child;

protected:
    using Context = QxXmlLib10::CXmlSerializationContext;
    std::wstring GetTargetNamespace() const override { return std::wstring(); }
    void ToXml_Int(QxXmlLib10::CXmlWriter*, bool, const wchar_t*, const Context&, bool) const override {}
    QxXmlLib10::CXmlElement* FromXml_Int(QxXmlLib10::CXmlElement* element, QxXmlLib10::CXmlElement*, const Context&,
                                         bool) override {
        return element;
    }

private:
    std::atomic<int>& m_destroyed;
};

using CCountedObject = CCounted<QxXmlLib10::CXmlObjectBase>;

// An empty collection.
class CCountedCollection : public CCounted<QxXmlLib10::CXmlCollectionBase> {
public:
    using CCounted::CCounted;
    void ValidateCount(const Context&) const override {}
    int GetCount() const override { return 0; }
    void Clear() override {}
    void Remove(int) override {}
};

}  // namespace qxxml_test
