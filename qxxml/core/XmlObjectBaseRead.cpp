// The reading entry points of CXmlObjectBase and the element-name test used while reading.
#include <qxxml/core/XmlObjectBase.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/BinaryData.h>

#include <atomic>

namespace QxXmlLib10 {

namespace {

std::atomic<bool> g_asyncFromXmlFile{false};

[[noreturn]] void ThrowNotAvailable(const wchar_t* entryPoint) {
    throw CQxException(std::wstring(entryPoint) + L" is not available in this build yet");
}

}  // namespace

void AsyncFromXmlFile(bool on) { g_asyncFromXmlFile.store(on); }
bool IsAsyncFromXmlFile() { return g_asyncFromXmlFile.load(); }

void CXmlObjectBase::FromXmlFile(const wchar_t*, const CXmlSerializationContext&) {
    ThrowNotAvailable(L"FromXmlFile");
}
void CXmlObjectBase::FromXml(const wchar_t*, const CXmlSerializationContext&) { ThrowNotAvailable(L"FromXml"); }
void CXmlObjectBase::FromXml(const char*, const CXmlSerializationContext&) { ThrowNotAvailable(L"FromXml"); }
void CXmlObjectBase::FromXmlStream(const CBinaryData&, const CXmlSerializationContext&) {
    ThrowNotAvailable(L"FromXmlStream");
}
void CXmlObjectBase::FromXmlStream(unsigned char* const, uint32_t, const CXmlSerializationContext&) {
    ThrowNotAvailable(L"FromXmlStream");
}
void CXmlObjectBase::FromXmlElement(const CElement*, const CXmlSerializationContext&) {
    ThrowNotAvailable(L"FromXmlElement");
}
void CXmlObjectBase::FromXmlElement(const CXmlElement*, const CXmlSerializationContext&) {
    ThrowNotAvailable(L"FromXmlElement");
}

bool CXmlObjectBase::DoesElementNameMatch(const CXmlSerializationContext&, const CXmlElement*,
                                          const wchar_t*, const wchar_t*) const {
    ThrowNotAvailable(L"DoesElementNameMatch");
}

}  // namespace QxXmlLib10
