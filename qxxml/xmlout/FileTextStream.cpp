#include <qxxml/xmlout/FileTextStream.h>

#include <qxxml/platform/Platform.h>
#include <qxxml/xmlout/detail/FileErrors.h>

namespace QxXmlLib10 {

// Member order matters: the operation is destroyed first (its destructor waits for a write
// still in flight), then the file is closed, and only then is the buffer being written freed.
struct CFileTextStream::Io {
    std::string pendingWrite;  // the encoded chunk in flight; reused from chunk to chunk
    Platform::File file;
    Platform::OverlappedOp write;
    uint64_t filePosition = 0;  // bytes completed so far
};

CInstanceMonitor::ClassType* CFileTextStream::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CFileTextStream");
    return record;
}

CFileTextStream::CFileTextStream(const wchar_t* fileName, XmlEncoding encoding)
    : CTextStream(MonitorRecord(), encoding), m_strFileName(fileName ? fileName : L""), m_io(new Io) {}

CFileTextStream::~CFileTextStream() = default;

void CFileTextStream::CloseHandles() {
    m_io->write.Destroy();
    m_io->file.Close();
}

void CFileTextStream::Start() {
    ClearBuffer();
    CloseHandles();  // a stream started twice begins the file afresh
    Platform::SystemError error = 0;
    m_io->file = Platform::File::CreateAlways(m_strFileName.c_str(), /*overlapped=*/true, error);
    if (!m_io->file.IsOpen()) detail::ThrowFileWriteFailed(m_strFileName, error);
    if (!m_io->write.Create(error)) {
        m_io->file.Close();
        detail::ThrowEventFailed(m_strFileName, error);
    }
    m_io->filePosition = 0;
    if (detail::HasByteOrderMark(GetEncoding()) &&
        !m_io->write.StartWrite(m_io->file, detail::Utf16ByteOrderMark(), 2, 0, error)) {
        CloseHandles();
        detail::ThrowFileWriteFailed(m_strFileName, error);
    }
}

void CFileTextStream::WaitForWriteInFlight() {
    Platform::SystemError error = 0;
    uint32_t transferred = 0;
    if (!m_io->write.Wait(transferred, error)) {
        CloseHandles();
        detail::ThrowWriteFailed(error);
    }
    m_io->filePosition += transferred;
}

void CFileTextStream::Flush() {
    if (GetLength() == 0) return;
    WaitForWriteInFlight();
    try {
        EncodeTo(m_io->pendingWrite);
    } catch (...) {
        CloseHandles();
        throw;
    }
    Platform::SystemError error = 0;
    if (!m_io->write.StartWrite(m_io->file, m_io->pendingWrite.data(),
                                static_cast<uint32_t>(m_io->pendingWrite.size()), m_io->filePosition, error)) {
        CloseHandles();
        detail::ThrowWriteFailed(error);
    }
    ClearBuffer();
}

void CFileTextStream::End() {
    Flush();
    WaitForWriteInFlight();
    CloseHandles();
}

}  // namespace QxXmlLib10
