#include <qxxml/support/ScratchText.h>

namespace QxXmlLib10 {

// The buffer keeps its capacity, so a thread's copies stop allocating once it has seen its
// longest text; a very long text's room goes at the next short one.
const std::wstring& ScratchText(std::wstring_view text) {
    constexpr size_t kLargestKept = 16 * 1024;
    thread_local std::wstring scratch;
    if (scratch.capacity() > kLargestKept && text.size() <= kLargestKept) std::wstring().swap(scratch);
    scratch.assign(text.data(), text.size());
    return scratch;
}

}  // namespace QxXmlLib10
