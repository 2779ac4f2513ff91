// The writing entry points of CXmlObjectBase.
#include <qxxml/core/XmlObjectBase.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/BinaryData.h>

#include <atomic>

namespace QxXmlLib10 {

namespace {

std::atomic<bool> g_asyncToXmlFile{false};

[[noreturn]] void ThrowNotAvailable(const wchar_t* entryPoint) {
    throw CQxException(std::wstring(entryPoint) + L" is not available in this build yet");
}

void RefuseZLibForFiles(CompressionType compression) {
    if (compression == CompressionType_ZLib)
        throw CQxException(L"ZLIB Compression only available for To Stream methods.");
}

}  // namespace

void AsyncToXmlFile(bool on) { g_asyncToXmlFile.store(on); }
bool IsAsyncToXmlFile() { return g_asyncToXmlFile.load(); }

void CXmlObjectBase::ToXmlFile(const wchar_t*, bool, bool, XmlEncoding, EOLType,
                               const CXmlSerializationContext&, CompressionType compression) const {
    RefuseZLibForFiles(compression);
    ThrowNotAvailable(L"ToXmlFile");
}

void CXmlObjectBase::ToFastInfosetFile(const wchar_t*, FInfoDecl, const CXmlSerializationContext&,
                                       CompressionType compression) const {
    RefuseZLibForFiles(compression);
    ThrowNotAvailable(L"ToFastInfosetFile");
}

std::wstring CXmlObjectBase::ToXml(bool, bool, EOLType, const CXmlSerializationContext&) {
    ThrowNotAvailable(L"ToXml");
}

CBinaryData CXmlObjectBase::ToXmlStream(bool, bool, XmlEncoding, EOLType, const CXmlSerializationContext&,
                                        CompressionType) {
    ThrowNotAvailable(L"ToXmlStream");
}

CBinaryData CXmlObjectBase::ToFastInfosetStream(FInfoDecl, const CXmlSerializationContext&, CompressionType) {
    ThrowNotAvailable(L"ToFastInfosetStream");
}

}  // namespace QxXmlLib10
