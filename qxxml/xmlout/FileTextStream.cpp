#include <qxxml/xmlout/FileTextStream.h>

#include <qxxml/platform/Platform.h>
#include <qxxml/xmlout/detail/FileErrors.h>

namespace QxXmlLib10 {

// Member order matters: the operation is destroyed first (its destructor waits for a write
// still in flight), then the file is closed, and only then is the buffer being written freed.
struct CFileTextStream::Io {
    std::string pendingWrite;  // the encoded chunk in flight
    std::string filling;       // encoded bytes waiting for the next write
    Platform::File file;
    Platform::OverlappedOp write;
    uint64_t filePosition = 0;  // bytes completed so far
};

CInstanceMonitor::ClassType* CFileTextStream::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CFileTextStream");
    return record;
}

CFileTextStream::CFileTextStream(const wchar_t* fileName, XmlEncoding encoding)
    : CTextStream(MonitorRecord(), encoding), m_strFileName(fileName ? fileName : L""), m_io(new Io) {
    EncodeAsWritten();
}

CFileTextStream::~CFileTextStream() = default;

void CFileTextStream::CloseHandles() {
    m_io->write.Destroy();
    m_io->file.Close();
}

void CFileTextStream::Start() {
    ClearBuffer();
    m_io->filling.clear();
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

void CFileTextStream::EncodeBuffered() {
    if (GetLength() == 0) return;
    try {
        EncodeAppend(m_io->filling);
    } catch (...) {
        CloseHandles();
        throw;
    }
    ClearBuffer();
}

void CFileTextStream::StartNextWrite() {
    WaitForWriteInFlight();
    std::swap(m_io->pendingWrite, m_io->filling);  // both keep their capacity for reuse
    m_io->filling.clear();
    Platform::SystemError error = 0;
    if (!m_io->write.StartWrite(m_io->file, m_io->pendingWrite.data(),
                                static_cast<uint32_t>(m_io->pendingWrite.size()), m_io->filePosition, error)) {
        CloseHandles();
        detail::ThrowWriteFailed(error);
    }
}

void CFileTextStream::Flush() {
    EncodeBuffered();
    if (m_io->filling.size() >= kWriteChunkBytes) StartNextWrite();
}

void CFileTextStream::End() {
    EncodeBuffered();
    if (!m_io->filling.empty()) StartNextWrite();
    WaitForWriteInFlight();
    CloseHandles();
}

}  // namespace QxXmlLib10
