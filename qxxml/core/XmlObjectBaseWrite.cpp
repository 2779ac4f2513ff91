// The writing entry points of CXmlObjectBase.
#include <qxxml/core/XmlObjectBase.h>

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/fastinfoset/FastInfosetWriter.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/QxZip.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlout/BinaryStream.h>
#include <qxxml/xmlout/FileBinaryStream.h>
#include <qxxml/xmlout/FileTextStream.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/XmlTextWriter.h>
#include <qxxml/xmlout/detail/EncodingTextStream.h>

#include <atomic>

namespace QxXmlLib10 {

namespace {

std::atomic<bool> g_asyncToXmlFile{false};

void RefuseZLibForFiles(CompressionType compression) {
    if (compression == CompressionType_ZLib)
        throw CQxException(L"ZLIB Compression only available for To Stream methods.");
}

bool HasByteOrderMark(XmlEncoding encoding) {
    return encoding == XmlEncoding_UTF16 || encoding == XmlEncoding_UTF16NoDeclaration;
}

// One text document: options, optional declaration, the root's own write, end. The options
// are set before the stream starts, so a bad line-end type fails before a file is created.
template <class WriteRoot>
void WriteTextDocument(CXmlTextWriter& writer, bool includeDocHeader, bool formatted, EOLType eol,
                       WriteRoot writeRoot) {
    writer.SetFormatting(formatted);
    writer.SetEOLType(eol);
    writer.StartDocument();
    if (includeDocHeader) writer.WriteXmlDeclaration();
    writeRoot();
    writer.EndDocument();
}

}  // namespace

void AsyncToXmlFile(bool on) { g_asyncToXmlFile.store(on); }
bool IsAsyncToXmlFile() { return g_asyncToXmlFile.load(); }

std::wstring CXmlObjectBase::ToXml(bool includeDocHeader, bool formatted, EOLType eol,
                                   const CXmlSerializationContext& context) {
    CTextStream stream(XmlEncoding_None);
    CXmlTextWriter writer(&stream);
    WriteTextDocument(writer, includeDocHeader, formatted, eol,
                      [&] { ToXml_Int(&writer, true, GetTargetNamespace().c_str(), context, false); });
    return stream.TakeText();
}

CBinaryData CXmlObjectBase::ToXmlStream(bool includeDocHeader, bool formatted, XmlEncoding encoding, EOLType eol,
                                        const CXmlSerializationContext& context, CompressionType compression) {
    CBinaryData bytes;
    {
        // Encoded chunk by chunk while the document is written: the text never exists whole.
        detail::CEncodingTextStream stream(encoding);
        CXmlTextWriter writer(&stream);
        WriteTextDocument(writer, includeDocHeader, formatted, eol,
                          [&] { ToXml_Int(&writer, true, GetTargetNamespace().c_str(), context, false); });
        bytes = stream.TakeBytes();
    }
    if (compression != CompressionType_None) CQxZip().Compress(bytes, compression);
    return bytes;
}

void CXmlObjectBase::ToXmlFile(const wchar_t* fileName, bool includeDocHeader, bool formatted, XmlEncoding encoding,
                               EOLType eol, const CXmlSerializationContext& context,
                               CompressionType compression) const {
    RefuseZLibForFiles(compression);

    if (IsAsyncToXmlFile() && compression == CompressionType_None) {
        // Refused before the file exists, as the in-memory path refuses it before writing.
        CTextStream::CheckEncoding(encoding);
        CFileTextStream stream(fileName, encoding);
        CXmlTextWriter writer(&stream);
        WriteTextDocument(writer, includeDocHeader, formatted, eol,
                          [&] { ToXml_Int(&writer, true, GetTargetNamespace().c_str(), context, false); });
        return;
    }

    CXmlObjectBase* self = const_cast<CXmlObjectBase*>(this);  // the stream entry point is not const
    if (compression == CompressionType_GZip && HasByteOrderMark(encoding)) {
        // The byte order mark goes inside the gzip stream: the file is then a plain gzip file
        // that the reading side inflates to a marked UTF-16 document. A mark in front of the
        // compressed bytes would hide the gzip header from the decompressor.
        CBinaryData text = self->ToXmlStream(includeDocHeader, formatted, encoding, eol, context,
                                             CompressionType_None);
        static const unsigned char bom[2] = {0xFF, 0xFE};
        CBinaryData marked(const_cast<unsigned char*>(bom), 2, false);
        marked.Append(text);
        text.Clear();
        CQxZip().Compress(marked, compression);
        CFileBinaryStream(fileName, XmlEncoding_None, marked).Write();
        return;
    }
    const CBinaryData bytes =
        self->ToXmlStream(includeDocHeader, formatted, encoding, eol, context, compression);
    CFileBinaryStream(fileName, encoding, bytes).Write();
}

void CXmlObjectBase::ToFastInfosetFile(const wchar_t* fileName, FInfoDecl declaration,
                                       const CXmlSerializationContext& context, CompressionType compression) const {
    RefuseZLibForFiles(compression);
    CXmlObjectBase* self = const_cast<CXmlObjectBase*>(this);  // the stream entry point is not const
    const CBinaryData bytes = self->ToFastInfosetStream(declaration, context, compression);
    CFileBinaryStream(fileName, XmlEncoding_None, bytes).Write();
}

CBinaryData CXmlObjectBase::ToFastInfosetStream(FInfoDecl declaration, const CXmlSerializationContext& context,
                                                CompressionType compression) {
    CBinaryData bytes;
    {
        CBinaryStream stream;
        CFastInfosetWriter writer(context.GetFIContext(), &stream);
        writer.StartDocument();
        writer.WriteHeader(declaration);
        ToXml_Int(&writer, true, GetTargetNamespace().c_str(), context, false);
        writer.WriteDocumentEnd();
        writer.EndDocument();
        bytes = stream.GetData();
    }
    if (compression != CompressionType_None) CQxZip().Compress(bytes, compression);
    return bytes;
}

}  // namespace QxXmlLib10
