// EncodingTextStream.h - an in-memory text stream that turns its text into bytes as it goes
// (internal).
//
// UTF-8 is encoded as the writer appends it; UTF-16 is buffered and encoded at every flush
// (the writer flushes every 4096 characters). Either way the bytes are appended to one
// growing value, so a document held as bytes never also exists as a whole in wide
// characters (four bytes each here). The bytes are the same as CTextStream::GetBytes would
// give for the whole text.
//
//   CEncodingTextStream stream(XmlEncoding_UTF8);
//   CXmlTextWriter writer(&stream);
//   ... StartDocument ... EndDocument ...
//   CBinaryData bytes = stream.TakeBytes();
#pragma once

#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlout/TextStream.h>

#include <string>

namespace QxXmlLib10 {
namespace detail {

class CEncodingTextStream : public CTextStream {
public:
    explicit CEncodingTextStream(XmlEncoding encoding);

    void Start() override;
    void Flush() override;
    void End() override { Flush(); }

    // Everything written so far, encoded; the stream is emptied.
    CBinaryData TakeBytes();

private:
    std::string m_chunk;  // UTF-16 chunks on their way, reused
    CBinaryData m_bytes;
};

}  // namespace detail
}  // namespace QxXmlLib10
