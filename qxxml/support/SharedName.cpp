#include <qxxml/support/SharedName.h>

#include <cstdint>
#include <cwchar>

namespace QxXmlLib10 {

namespace {

// A small direct-mapped table per thread: a hit needs the same address and the same text (an
// address alone could be a buffer reused for another name), a miss makes a new string and
// takes the slot. The table keeps at most its size in names alive per thread.
constexpr size_t kSlots = 64;

struct Slot {
    const wchar_t* address = nullptr;
    SharedName name;
};

size_t SlotIndex(const wchar_t* text) {
    const auto bits = reinterpret_cast<uintptr_t>(text);
    return static_cast<size_t>((bits >> 2) ^ (bits >> 9)) % kSlots;
}

}  // namespace

SharedName MakeSharedName(const wchar_t* text) {
    static const SharedName empty = std::make_shared<const std::wstring>();
    if (text == nullptr || *text == L'\0') return empty;
    thread_local Slot slots[kSlots];
    Slot& slot = slots[SlotIndex(text)];
    if (slot.address == text && std::wcscmp(slot.name->c_str(), text) == 0) return slot.name;
    SharedName made = std::make_shared<const std::wstring>(text);
    slot.address = text;
    slot.name = made;
    return made;
}

}  // namespace QxXmlLib10
