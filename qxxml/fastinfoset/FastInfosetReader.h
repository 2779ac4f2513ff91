// FastInfosetReader.h - CFastInfosetReader, which builds a document's element tree from a
// Fast Infoset document.
//
// CXmlDocument offers every byte input (a file, a buffer, inflated or not) to this reader
// before the XML text reader; callers do not normally use it themselves:
//
//   CXmlDocument document(context);
//   document.LoadXmlStream(bytes, length);       // Fast Infoset or XML text, either way
//
//   CFastInfosetReader::IsFastInfoset(bytes, length);   // true when the bytes carry the header
//
// The reader takes the layout CFastInfosetWriter writes and, beyond it, what other encoders
// write: namespace attributes on any element, comments, processing instructions, document
// type declarations and entity references (all skipped), UTF-16 strings, restricted
// alphabets and encoding algorithms. It starts from a private copy of the context's
// vocabulary (when the context says to use it; an external vocabulary named by the document
// is not looked up) and extends it as the writer does, so indices resolve to the same strings.
//
// Failures are CQxException, "Failed to parse FastInfoset. ..." for malformed input; the
// reader never reads past the data nor indexes past a table.
#pragma once

#include <qxxml/fastinfoset/FIVocabulary.h>
#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace QxXmlLib10 {

class CFastInfosetContext;
class CXmlDocument;
class CXmlElement;

class QXXML_API CFastInfosetReader : public CInstanceMonitor {
public:
    // Neither is owned; both must outlive the reader.
    CFastInfosetReader(const CFastInfosetContext& context, CXmlDocument* document);
    CFastInfosetReader(const CFastInfosetReader&) = delete;
    CFastInfosetReader& operator=(const CFastInfosetReader&) = delete;
    virtual ~CFastInfosetReader();

    // Reads the document's data buffer into its tree. False (nothing read) when the data does
    // not start with the Fast Infoset header; failures throw.
    bool Parse();

    // True when the bytes start with the Fast Infoset header, with or without one of the XML
    // declarations the format allows in front of it.
    static bool IsFastInfoset(const unsigned char* data, size_t length) noexcept;

private:
    // An element or attribute name resolved into the document's interned strings.
    struct ResolvedName {
        const std::wstring* namespaceUri = nullptr;
        const std::wstring* localName = nullptr;
    };

    // Where the header ends (after the identification and version), or 0 for no header.
    static size_t HeaderLength(const unsigned char* data, size_t length) noexcept;

    // --- octets
    unsigned Next();
    const unsigned char* Take(uint64_t count);

    // --- document
    void ReadOptionalComponents(unsigned presence);
    void SkipInitialVocabulary();
    void SkipSequence(void (CFastInfosetReader::*item)());
    void SkipNotations();
    void SkipUnparsedEntities();
    void SkipProcessingInstruction();
    void SkipComment();
    void SkipDocumentTypeDeclaration(unsigned first);
    void SkipEntityReference(unsigned first);
    void ReadDocumentChildren();
    void ReadElementTree(unsigned first);

    // --- elements and attributes
    // Reads an element's start (namespace attributes, name, attributes) and opens it; true
    // when its attributes ended with the double terminator, which ends the element too.
    bool StartElement(unsigned first);
    void ReadNamespaceAttributes();
    ResolvedName ReadElementName(unsigned first);
    ResolvedName ReadAttributeName(unsigned first);
    ResolvedName ReadLiteralName(unsigned parts, CFIVocabulary::CFIQNameTable& table,
                                 std::vector<ResolvedName>& resolved);
    ResolvedName ResolveName(uint32_t index, const CFIVocabulary::CFIQNameTable& table,
                             std::vector<ResolvedName>& resolved, const wchar_t* tableName);
    void ReadAttribute(CXmlElement* element, unsigned first);
    void ReadCharacterChunk(unsigned first);
    void CloseElements(size_t count);

    // --- strings
    // An identifying string or index starting on the first bit: the string, and in `index`
    // its index in `table` (a literal is appended; 0 when the table is full).
    std::wstring ReadIdentifyingString(CFIVocabulary::CFIStringTable& table, const wchar_t* tableName,
                                       uint32_t& index);
    void SkipIdentifyingString(uint32_t& tableSize, const wchar_t* tableName);
    // A non-identifying string or index starting on the first bit, for the tables that only
    // skipped items use (their size is kept so that indices into them are checked).
    void SkipNonIdentifyingString(uint32_t& tableSize, const wchar_t* tableName);
    // The encoded character string of `first` (its discriminant on the third or fifth bit)
    // decoded into m_text.
    void ReadEncodedString(unsigned first, bool onThirdBit);
    void DecodeText(unsigned discriminant, unsigned table, const unsigned char* data, uint32_t length);
    // m_text as a value table holds it.
    const std::wstring& TableForm();
    void AppendUtf8Text(std::wstring& out, const unsigned char* data, uint32_t length);

    // --- integers and lengths
    uint32_t ReadIntegerOnSecondBit(unsigned first);
    uint32_t ReadIntegerOnThirdBit(unsigned first);
    uint32_t ReadIntegerOnFourthBit(unsigned first);
    uint64_t ReadLengthOnSecondBit(unsigned first);
    uint64_t ReadLengthOnFifthBit(unsigned first);
    uint64_t ReadLengthOnSeventhBit(unsigned first);
    uint32_t ReadSequenceLength();
    static void CheckIndex(uint32_t index, uint32_t size, const wchar_t* tableName);

    const CFastInfosetContext* m_pFIContext;
    CXmlDocument* m_pDocument;
    const unsigned char* m_pData = nullptr;  // the document's data buffer
    const unsigned char* m_pEnd = nullptr;
    const unsigned char* m_pPosition = nullptr;  // the next octet to read
    std::unique_ptr<CFIVocabulary> m_pVocabulary;
    // The document's interned names of each element-name and attribute-name index, filled
    // when an index is first used.
    std::vector<ResolvedName> m_elementNames;
    std::vector<ResolvedName> m_attributeNames;
    // The sizes of the tables only skipped items use.
    uint32_t m_otherNCNames = 0;
    uint32_t m_otherURIs = 0;
    uint32_t m_otherStrings = 0;
    size_t m_baseDepth = 0;       // the element stack's depth outside the element being read
    bool m_bDocumentEnded = false;  // a double terminator ended the document element and the document
    std::wstring m_text;          // the last decoded string
    unsigned m_lastAlgorithm = 0;  // the encoding algorithm it came in, or 0
    std::wstring m_addForm;       // its form in a value table
    std::string m_swapped;        // UTF-16 octets in the other byte order
};

}  // namespace QxXmlLib10
