// XmlSerializationContext.h - CXmlSerializationContext, the settings of one write or read.
//
// A context travels by const reference from the entry point down to every descriptor. It says
// how strictly to read, which document-level items to put on the root, whether to write
// xsi:type, how to treat namespaces, and which Fast Infoset vocabulary to use:
//
//   CXmlSerializationContext context;                       // the defaults
//   context.SetDefaultNamespaceURI(L"urn:example:po");
//   context.GetNamespaceAliases().Add(L"xsi", L"http://www.w3.org/2001/XMLSchema-instance");
//   context.GetProcessingInstructions().push_back(L"<?xml-stylesheet href=\"po.xsl\"?>");
//   context.SetIgnoreUnknownElements(true);                  // lenient reading
//   std::wstring text = order->ToXml(true, true, EOLType_LF, context);
//
//   CXmlSerializationContext::GetDefaultContext()           // the process-wide instance
//
// Copies share the additional-root-attributes collection (it is a smart pointer); every
// other setting is copied.
#pragma once

#include <qxxml/collections/AttributeCol.h>
#include <qxxml/core/NamespaceAliasMap.h>
#include <qxxml/core/SerializationEnums.h>
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/support/Export.h>
#include <qxxml/support/SmartPtr.h>

#include <string>
#include <vector>

namespace QxXmlLib10 {

class QXXML_API CXmlSerializationContext {
public:
    CXmlSerializationContext();
    CXmlSerializationContext(const CXmlSerializationContext& other);
    CXmlSerializationContext& operator=(const CXmlSerializationContext& other);
    virtual ~CXmlSerializationContext();

    // The process-wide context, built with the defaults when the library loads. Changes to
    // it affect every later call that uses it.
    static CXmlSerializationContext& GetDefaultContext();

    // --- what the root element carries when writing
    std::wstring GetDefaultNamespaceURI() const { return m_strDefaultNamespaceURI; }
    void SetDefaultNamespaceURI(const wchar_t* namespaceUri);

    CNamespaceAliasMap& GetNamespaceAliases() { return m_namespaceAliases; }
    const CNamespaceAliasMap& GetNamespaceAliases() const { return m_namespaceAliases; }

    // Complete processing instructions, written in order before the root element.
    std::vector<std::wstring>& GetProcessingInstructions() { return m_processingInstructions; }
    const std::vector<std::wstring>& GetProcessingInstructions() const { return m_processingInstructions; }

    std::wstring GetInLineSchema() const { return m_strInLineSchema; }
    void SetInLineSchema(const wchar_t* schema);

    // Attributes written on the root element after its own: a "##any" collection created on
    // the first call and returned by every later one (copies of the context share it). The
    // const form exists for the root write, which reaches the context by const reference; it
    // creates the collection the same way.
    CSmartPtr<CAttributeCol> GetAdditionalRootAttributes();
    CSmartPtr<CAttributeCol> GetAdditionalRootAttributes() const;

    // --- writing switches
    bool GetWriteTypeAttribute() const { return m_bWriteTypeAttribute; }
    void SetWriteTypeAttribute(bool value) { m_bWriteTypeAttribute = value; }
    bool GetNoOptionalAttributeDefaultOutput() const { return m_bNoOptionalAttributeDefaultOutput; }
    void SetNoOptionalAttributeDefaultOutput(bool value) { m_bNoOptionalAttributeDefaultOutput = value; }

    // --- reading leniency
    bool GetIgnoreInvalidCollectionCounts() const { return m_bIgnoreInvalidCollectionCounts; }
    void SetIgnoreInvalidCollectionCounts(bool value) { m_bIgnoreInvalidCollectionCounts = value; }
    bool GetIgnoreMissingChoice() const { return m_bIgnoreMissingChoice; }
    void SetIgnoreMissingChoice(bool value) { m_bIgnoreMissingChoice = value; }
    bool GetIgnoreUnknownAttributes() const { return m_bIgnoreUnknownAttributes; }
    void SetIgnoreUnknownAttributes(bool value) { m_bIgnoreUnknownAttributes = value; }

    // Skipping unknown elements and tolerating missing mandatory ones exclude each other:
    // turning one on while the other is on throws CQxInvalidStateException and changes nothing.
    bool GetIgnoreUnknownElements() const { return m_bIgnoreUnknownElements; }
    void SetIgnoreUnknownElements(bool value);
    bool GetIgnoreMissingMandatoryElements() const { return m_bIgnoreMissingMandatoryElements; }
    void SetIgnoreMissingMandatoryElements(bool value);

    // True when the flag is set or the schema type is SchemaType_NoNamespaces.
    bool GetIgnoreNamespaces() const;
    void SetIgnoreNamespaces(bool value) { m_bIgnoreNamespaces = value; }

    SchemaType GetSchemaType() const { return m_schemaType; }
    void SetSchemaType(SchemaType value) { m_schemaType = value; }

    // When true (the default) CDATA sections are read as ordinary text.
    bool GetStripCDATA() const { return m_bStripCDATA; }
    void SetStripCDATA(bool value) { m_bStripCDATA = value; }

    // --- Fast Infoset vocabulary
    CFastInfosetContext& GetFIContext() { return m_fiContext; }
    const CFastInfosetContext& GetFIContext() const { return m_fiContext; }

private:
    static CXmlSerializationContext m_defaultContext;

    std::wstring m_strDefaultNamespaceURI;
    bool m_bWriteTypeAttribute = true;
    CNamespaceAliasMap m_namespaceAliases;
    // Created lazily, also through the const accessor.
    mutable CSmartPtr<CAttributeCol> m_additionalRootAttributes;
    std::vector<std::wstring> m_processingInstructions;
    std::wstring m_strInLineSchema;
    bool m_bIgnoreInvalidCollectionCounts = false;
    bool m_bIgnoreMissingChoice = false;
    bool m_bIgnoreMissingMandatoryElements = false;
    bool m_bIgnoreUnknownElements = false;
    bool m_bIgnoreUnknownAttributes = false;
    bool m_bIgnoreNamespaces = false;
    SchemaType m_schemaType = SchemaType_Default;
    bool m_bNoOptionalAttributeDefaultOutput = false;
    CFastInfosetContext m_fiContext;
    bool m_bStripCDATA = true;
};

}  // namespace QxXmlLib10
