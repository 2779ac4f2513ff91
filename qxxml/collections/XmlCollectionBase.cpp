#include <qxxml/collections/XmlCollectionBase.h>

namespace QxXmlLib10 {

CXmlCollectionBase::~CXmlCollectionBase() = default;

}  // namespace QxXmlLib10
