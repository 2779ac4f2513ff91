// XmlCollectionBase.h - CXmlCollectionBase, the base of every collection of the object model.
//
// Collections hold repeated child elements (objects or primitive values) together with
// their occurrence limits, and notify listeners (IEventSink) of changes.
#pragma once

#include <qxxml/core/XmlObjectBase.h>

namespace QxXmlLib10 {

class QXXML_API CXmlCollectionBase : public CXmlObjectBase {
public:
    ~CXmlCollectionBase() override;

    // Checks the number of items against the collection's limits (unless the context says
    // to ignore invalid counts).
    virtual void ValidateCount(const CXmlSerializationContext& context) const = 0;

protected:
    CXmlCollectionBase() = default;
    CXmlCollectionBase(const CXmlCollectionBase& other) = default;
    CXmlCollectionBase& operator=(const CXmlCollectionBase& other) = default;

    friend class CXmlObjectBase;
};

}  // namespace QxXmlLib10
