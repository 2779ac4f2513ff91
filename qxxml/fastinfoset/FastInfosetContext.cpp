#include <qxxml/fastinfoset/FastInfosetContext.h>

namespace QxXmlLib10 {

CFastInfosetContext::CFastInfosetContext() = default;
CFastInfosetContext::CFastInfosetContext(const CFastInfosetContext&) = default;
CFastInfosetContext& CFastInfosetContext::operator=(const CFastInfosetContext&) = default;
CFastInfosetContext::~CFastInfosetContext() = default;

}  // namespace QxXmlLib10
