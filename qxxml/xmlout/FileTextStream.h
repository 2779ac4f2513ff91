// FileTextStream.h - CFileTextStream, a text stream that empties itself into a file with
// overlapped writes while the document is still being written.
//
// UTF-8 is encoded as the writer appends it, UTF-16 whenever the writer flushes (every 4096
// characters); every 64 KiB of bytes go to the system as one overlapped write while
// serialization goes on filling the buffers; the next write (or End) waits for it. At most
// one write is in flight, so a document of any size needs about two byte chunks of memory:
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
    // Encodes the buffered text; once 64 KiB of bytes are waiting, waits for the write in
    // flight and starts writing them.
    void Flush() override;

    // Encoded bytes gathered before a write is started: large enough that the system sees
    // few writes, small enough to keep the memory of a file serialization bounded.
    static constexpr size_t kWriteChunkBytes = 64 * 1024;

private:
    struct Io;  // the file, the overlapped operation and the bytes in flight
    static CInstanceMonitor::ClassType* MonitorRecord();
    void EncodeBuffered();
    void StartNextWrite();
    void WaitForWriteInFlight();
    void CloseHandles();

    std::wstring m_strFileName;
    std::unique_ptr<Io> m_io;
};

}  // namespace QxXmlLib10
