// The reading entry points of CXmlObjectBase and the element-name test used while reading.
//
// Each entry point parses its input into a CXmlDocument that lives for the call and hands the
// document element to the object's FromXml_Int; the object keeps what it read.
#include <qxxml/core/XmlObjectBase.h>

#include <qxxml/collections/Element.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/NameRegistry.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/XmlElement.h>

#include <atomic>

namespace QxXmlLib10 {

namespace {

std::atomic<bool> g_asyncFromXmlFile{false};

// A load that succeeds always leaves a document element; this guards the contract.
CXmlElement* DocumentElementOf(const CXmlDocument& document) {
    CXmlElement* root = document.GetDocumentElement();
    if (root == nullptr) throw CQxException(L"Invalid or empty XML document");
    return root;
}

}  // namespace

void AsyncFromXmlFile(bool on) { g_asyncFromXmlFile.store(on); }
bool IsAsyncFromXmlFile() { return g_asyncFromXmlFile.load(); }

void CXmlObjectBase::FromXmlFile(const wchar_t* fileName, const CXmlSerializationContext& context) {
    CXmlDocument document(context);
    document.Load(fileName);
    CXmlElement* root = DocumentElementOf(document);
    FromXml_Int(root, root->GetFirstElement(), context, false);
}

void CXmlObjectBase::FromXml(const wchar_t* xmlText, const CXmlSerializationContext& context) {
    CXmlDocument document(context);
    document.LoadXml(xmlText);
    CXmlElement* root = DocumentElementOf(document);
    FromXml_Int(root, root->GetFirstElement(), context, false);
}

void CXmlObjectBase::FromXml(const char* xmlText, const CXmlSerializationContext& context) {
    CXmlDocument document(context);
    document.LoadXml(xmlText);
    CXmlElement* root = DocumentElementOf(document);
    FromXml_Int(root, root->GetFirstElement(), context, false);
}

void CXmlObjectBase::FromXmlStream(const CBinaryData& data, const CXmlSerializationContext& context) {
    // The document only reads the bytes (it copies them if it has to inflate them).
    FromXmlStream(const_cast<unsigned char*>(data.GetData()), data.GetLength(), context);
}

void CXmlObjectBase::FromXmlStream(unsigned char* const data, uint32_t length,
                                   const CXmlSerializationContext& context) {
    CXmlDocument document(context);
    document.LoadXmlStream(data, length);
    CXmlElement* root = DocumentElementOf(document);
    FromXml_Int(root, root->GetFirstElement(), context, false);
}

// The wildcard element is written as text first (default context, no declaration,
// unformatted) and read back like any text.
void CXmlObjectBase::FromXmlElement(const CElement* element, const CXmlSerializationContext& context) {
    if (element == nullptr) throw CQxInvalidParamException(L"There is no XML element to read from");
    const std::wstring text = const_cast<CElement*>(element)->ToXml(
        false, false, EOLType_LF, CXmlSerializationContext::GetDefaultContext());
    FromXml(text.c_str(), context);
}

// The tree is only read: FromXml_Int takes a non-const element because it hands out cursors
// into the tree, never because it changes it.
void CXmlObjectBase::FromXmlElement(const CXmlElement* element, const CXmlSerializationContext& context) {
    // A successful load always has a document element; a caller may still pass none.
    if (element == nullptr) throw CQxInvalidParamException(L"There is no XML element to read from");
    CXmlElement* root = const_cast<CXmlElement*>(element);
    FromXml_Int(root, root->GetFirstElement(), context, false);
}

bool CXmlObjectBase::DoesElementNameMatch(const CXmlSerializationContext& context,
                                          const CXmlElement* element, const wchar_t* localName,
                                          const wchar_t* namespaceUri) const {
    if (!SameText(element->GetLocalName(), localName)) return false;
    if (context.GetSchemaType() == SchemaType_NoNamespaces || context.GetIgnoreNamespaces()) return true;
    // URIs are long: the library's comparison, vectorised, beats the inline pass here.
    const std::wstring& elementNamespace = element->GetNamespaceURI();
    return namespaceUri == nullptr ? elementNamespace.empty() : elementNamespace.compare(namespaceUri) == 0;
}

}  // namespace QxXmlLib10
