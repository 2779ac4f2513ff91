// FastInfosetContext.h - CFastInfosetContext, the Fast Infoset vocabulary settings that a
// serialization context carries to the Fast Infoset writer and reader.
//
// Every CXmlSerializationContext holds one by value; callers reach it through GetFIContext():
//
//   CXmlSerializationContext context;
//   CFastInfosetContext& fi = context.GetFIContext();
//   CFastInfosetContext copy = fi;   // a plain value: copies are independent
//
// It is default-constructible and copyable; the vocabulary members are added by the Fast
// Infoset subsystem.
#pragma once

#include <qxxml/support/Export.h>

namespace QxXmlLib10 {

class QXXML_API CFastInfosetContext {
public:
    CFastInfosetContext();
    CFastInfosetContext(const CFastInfosetContext& other);
    CFastInfosetContext& operator=(const CFastInfosetContext& other);
    virtual ~CFastInfosetContext();
};

}  // namespace QxXmlLib10
