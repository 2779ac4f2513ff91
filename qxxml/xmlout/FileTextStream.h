// FileTextStream.h - CFileTextStream, a text stream that empties itself into a file with
// overlapped writes while the document is still being written.
//
// The writer calls Flush whenever 4096 or more characters are buffered: the chunk is encoded
// and handed to the system, and serialization goes on filling the buffer while the system
// writes; the next Flush (or End) waits for it. At most one write is in flight, so a document
// of any size needs about two chunks of memory:
//
//   CFileTextStream stream(L"out.xml", XmlEncoding_UTF16);   // the file starts with FF FE
//   CXmlTextWriter writer(&stream);
//   writer.StartDocument();                                  // creates the file
//   ... write ...
//   writer.EndDocument();                                    // last chunk, wait, close
//
// Failures throw CQxException naming the file and the system error code; every failure closes
// the file, which keeps what was written before it.
#pragma once

#include <qxxml/xmlout/TextStream.h>

#include <memory>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CFileTextStream : public CTextStream {
public:
    CFileTextStream(const wchar_t* fileName, XmlEncoding encoding);
    ~CFileTextStream() override;

    // Creates (or truncates) the file and, for the UTF-16 encodings, starts writing FF FE.
    void Start() override;
    // Writes out the last chunk, waits for it and closes the file.
    void End() override;
    // Waits for the write in flight, then starts writing the buffered text.
    void Flush() override;

private:
    struct Io;  // the file, the overlapped operation and the bytes in flight
    static CInstanceMonitor::ClassType* MonitorRecord();
    void WaitForWriteInFlight();
    void CloseHandles();

    std::wstring m_strFileName;
    std::unique_ptr<Io> m_io;
};

}  // namespace QxXmlLib10
