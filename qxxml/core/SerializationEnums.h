// SerializationEnums.h - the enumerations callers and generated code pass to the entry points.
//
// Their numeric values are part of the interface (they travel as 32-bit integers):
//
//   order->ToXmlFile(L"po.xml", true, true, XmlEncoding_UTF8, EOLType_LF,
//                    CXmlSerializationContext::GetDefaultContext(), CompressionType_None);
#pragma once

namespace QxXmlLib10 {

// Character encoding of byte output.
enum XmlEncoding {
    XmlEncoding_None = 0,                  // text stays a wide string; no bytes can be produced
    XmlEncoding_UTF8 = 1,                  // declaration says encoding="UTF-8"; no byte order mark
    XmlEncoding_UTF16 = 2,                 // UTF-16LE; declaration says encoding="UTF-16"; files start FF FE
    XmlEncoding_UTF16NoDeclaration = 3,    // UTF-16LE; declaration names no encoding; files start FF FE
};

// Line end used by the text writer.
enum EOLType {
    EOLType_CRLF = 0,
    EOLType_LF = 1,
};

// Container for compressed byte output.
enum CompressionType {
    CompressionType_None = 0,
    CompressionType_GZip = 1,
    CompressionType_ZLib = 2,  // byte streams only; file output refuses it
};

// XML declaration written in front of a Fast Infoset document.
enum FInfoDecl {
    FInfoDecl_None = 0,
    FInfoDecl_Finf = 1,
    FInfoDecl_FinfStandaloneYes = 2,
    FInfoDecl_FinfStandaloneNo = 3,
    FInfoDecl_V10 = 4,
    FInfoDecl_V10StandaloneYes = 5,
    FInfoDecl_V10StandaloneNo = 6,
    FInfoDecl_V11 = 7,
    FInfoDecl_V11StandaloneYes = 8,
    FInfoDecl_V11StandaloneNo = 9,
};

// How names are matched while reading; only SchemaType_NoNamespaces changes behaviour.
enum SchemaType {
    SchemaType_Default = 0,
    SchemaType_Alternate = 1,
    SchemaType_NoNamespaces = 2,
};

}  // namespace QxXmlLib10
