// OverlappedOp.cpp - the part of OverlappedOp that every back end shares: its life time, and
// reads and writes as one kind of transfer, started by the back end's Start.
#include <qxxml/platform/Platform.h>

namespace QxXmlLib10 {
namespace Platform {

OverlappedOp::OverlappedOp() = default;

OverlappedOp::~OverlappedOp() { Destroy(); }

// A transfer still in flight is waited for (its outcome no longer matters) before the state
// that tracks it goes: only then may the caller free the buffer.
void OverlappedOp::Destroy() {
    if (m_inFlight) {
        uint32_t ignored = 0;
        SystemError error = 0;
        Wait(ignored, error);
    }
    m_state.reset();
}

bool OverlappedOp::StartRead(File& file, void* buffer, uint32_t size, uint64_t offset, SystemError& error) {
    return Start(file, buffer, size, offset, /*writing=*/false, error);
}

bool OverlappedOp::StartWrite(File& file, const void* data, uint32_t size, uint64_t offset,
                              SystemError& error) {
    // A write only reads the buffer; the back ends keep one pointer type for both directions.
    return Start(file, const_cast<void*>(data), size, offset, /*writing=*/true, error);
}

}  // namespace Platform
}  // namespace QxXmlLib10
