// BinaryData.cpp - CBinaryData's shared copy-on-write block, hex and base64 forms.
//
// Copies share one block through an atomic reference count: sharing is one increment,
// releasing one decrement, and the bytes are copied only when a value about to change finds
// another holder (MakePrivate). A block never has length 0, so "empty" is always "no block".
#include <qxxml/values/BinaryData.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/Base64.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>
#include <memory>
#include <new>

namespace QxXmlLib10 {

// Bytes a value grows itself come from malloc, so that growth is a realloc: a large buffer
// then moves by remapping its pages instead of being copied into fresh memory at every
// doubling. Bytes adopted from a caller keep new[]. Bytes decoded from base64 text follow
// the record in the same allocation (one allocation per value read, not two); growing such
// a block moves its bytes to malloc.
struct CBinaryData::Block {
    enum Storage : uint8_t { kNewArray, kMalloced, kFollowing };
    unsigned char* m_lpData;
    uint32_t m_dwLen;
    uint32_t m_capacity;
    std::atomic<int32_t> m_refCount;
    Storage m_storage = kNewArray;
};

namespace {

constexpr uint32_t kMinimumCapacity = 8192;
constexpr uint64_t kMaxLength = std::numeric_limits<uint32_t>::max();

// Byte counts are 32-bit; a value may not grow beyond that.
uint32_t CheckedLength(uint64_t length) {
    if (length > kMaxLength) throw CQxOverFlowException(L"Binary data longer than 4 GiB");
    return static_cast<uint32_t>(length);
}

uint32_t GrownCapacity(uint64_t needed, uint64_t floor) {
    return static_cast<uint32_t>(std::min(std::max(2 * needed, floor), kMaxLength));
}

const wchar_t kHexDigits[] = L"0123456789ABCDEF";

// The value of a hex digit, or -1.
inline int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

}  // namespace

// ------------------------------------------------------------------ blocks

// A null pointer is taken as no bytes, whatever length comes with it.
CBinaryData::Block* CBinaryData::NewCopy(const unsigned char* data, uint32_t length) {
    if (data == nullptr || length == 0) return nullptr;
    const uint32_t capacity = GrownCapacity(length, kMinimumCapacity);
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[capacity]);
    std::memcpy(bytes.get(), data, length);
    Block* block = new Block{bytes.get(), length, capacity, {1}};
    bytes.release();
    return block;
}

CBinaryData::Block* CBinaryData::Adopt(unsigned char* data, uint32_t length, uint32_t capacity) {
    std::unique_ptr<unsigned char[]> bytes(data);
    if (data == nullptr || length == 0) return nullptr;
    Block* block = new Block{data, length, capacity, {1}};
    bytes.release();
    return block;
}

CBinaryData::Block* CBinaryData::NewWithBytes(uint32_t capacity) {
    void* memory = ::operator new(sizeof(Block) + capacity);
    unsigned char* bytes = static_cast<unsigned char*>(memory) + sizeof(Block);
    return new (memory) Block{bytes, 0, capacity, {1}, Block::kFollowing};
}

// Unsized: a record made with room for its bytes is larger than a Block, also after growing
// has moved the bytes out.
void CBinaryData::FreeBlock(Block* block) noexcept {
    block->~Block();
    ::operator delete(block);
}

void CBinaryData::Release(Block* block) noexcept {
    if (block != nullptr && block->m_refCount.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        if (block->m_storage == Block::kMalloced)
            std::free(block->m_lpData);
        else if (block->m_storage == Block::kNewArray)
            delete[] block->m_lpData;
        FreeBlock(block);
    }
}

void CBinaryData::MakePrivate() {
    if (m_block != nullptr && m_block->m_refCount.load(std::memory_order_acquire) > 1) {
        Block* copy = NewCopy(m_block->m_lpData, m_block->m_dwLen);
        Release(m_block);
        m_block = copy;
    }
}

unsigned char* CBinaryData::ReplaceBytes(uint32_t length) {
    Block* const b = m_block;
    if (length != 0 && b != nullptr && b->m_capacity >= length && b->m_refCount.load(std::memory_order_acquire) == 1) {
        b->m_dwLen = length;
        return b->m_lpData;
    }
    Block* fresh = nullptr;
    if (length != 0) {
        fresh = NewWithBytes(length);
        fresh->m_dwLen = length;
    }
    Release(m_block);
    m_block = fresh;
    return fresh != nullptr ? fresh->m_lpData : nullptr;
}

unsigned char* CBinaryData::AppendSpace(uint32_t count) {
    if (m_block == nullptr) {
        const uint32_t capacity = GrownCapacity(count, kMinimumCapacity);
        unsigned char* bytes = AllocateBytes(capacity);
        m_block = new (std::nothrow) Block{bytes, count, capacity, {1}, Block::kMalloced};
        if (m_block == nullptr) {
            std::free(bytes);
            throw std::bad_alloc();
        }
        return bytes;
    }
    MakePrivate();
    const int32_t holders = m_block->m_refCount.load(std::memory_order_acquire);
    if (holders != 1) throw CQxException(FormatString(L"Failed to append. [RefCount=%d]", holders));
    Block& b = *m_block;
    const uint32_t length = CheckedLength(uint64_t{b.m_dwLen} + count);
    if (length > b.m_capacity) Grow(b, GrownCapacity(length, 0));
    unsigned char* space = b.m_lpData + b.m_dwLen;
    b.m_dwLen = length;
    return space;
}

void CBinaryData::Truncate(uint32_t length) {
    if (m_block == nullptr || length >= m_block->m_dwLen) return;
    if (length == 0) {
        Clear();  // an empty value holds no block
    } else if (m_block->m_refCount.load(std::memory_order_acquire) > 1) {
        Block* copy = NewCopy(m_block->m_lpData, length);  // the other holders keep every byte
        Release(m_block);
        m_block = copy;
    } else {
        m_block->m_dwLen = length;
    }
}

unsigned char* CBinaryData::AllocateBytes(uint32_t capacity) {
    void* bytes = std::malloc(capacity);
    if (bytes == nullptr) throw std::bad_alloc();
    return static_cast<unsigned char*>(bytes);
}

void CBinaryData::Grow(Block& b, uint32_t capacity) {
    unsigned char* bytes;
    if (b.m_storage == Block::kMalloced) {
        bytes = static_cast<unsigned char*>(std::realloc(b.m_lpData, capacity));
        if (bytes == nullptr) throw std::bad_alloc();
    } else {
        bytes = AllocateBytes(capacity);
        std::memcpy(bytes, b.m_lpData, b.m_dwLen);
        if (b.m_storage == Block::kNewArray) delete[] b.m_lpData;
        b.m_storage = Block::kMalloced;  // bytes that followed the record stay unused there
    }
    b.m_lpData = bytes;
    b.m_capacity = capacity;
}

// ------------------------------------------------------------------ construction

CBinaryData::CBinaryData() noexcept : m_block(nullptr) {}

CBinaryData::CBinaryData(const CBinaryData& other) noexcept : m_block(other.m_block) {
    if (m_block != nullptr) m_block->m_refCount.fetch_add(1, std::memory_order_relaxed);
}

CBinaryData::CBinaryData(CBinaryData&& other) noexcept : m_block(other.m_block) { other.m_block = nullptr; }

CBinaryData::CBinaryData(unsigned char* const data, uint32_t length, bool adopt) : m_block(nullptr) {
    m_block = adopt ? Adopt(data, length, length) : NewCopy(data, length);
}

CBinaryData::CBinaryData(const wchar_t* text) : m_block(nullptr) { SetBuffer(text); }

CBinaryData& CBinaryData::operator=(const CBinaryData& other) noexcept {
    if (m_block != other.m_block) {
        Block* old = m_block;
        m_block = other.m_block;
        if (m_block != nullptr) m_block->m_refCount.fetch_add(1, std::memory_order_relaxed);
        Release(old);
    }
    return *this;
}

CBinaryData& CBinaryData::operator=(CBinaryData&& other) noexcept {
    if (this != &other) {
        Release(m_block);
        m_block = other.m_block;
        other.m_block = nullptr;
    }
    return *this;
}

CBinaryData::~CBinaryData() { Clear(); }

void CBinaryData::Clear() noexcept {
    Release(m_block);
    m_block = nullptr;
}

// ------------------------------------------------------------------ access

const unsigned char* CBinaryData::GetData() const noexcept { return m_block ? m_block->m_lpData : nullptr; }

uint32_t CBinaryData::GetLength() const noexcept { return m_block ? m_block->m_dwLen : 0; }

unsigned char* CBinaryData::ReleaseData() {
    if (m_block == nullptr) return nullptr;
    MakePrivate();
    Block* block = m_block;
    m_block = nullptr;
    const int32_t others = block->m_refCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
    // Only possible when this very value is being copied on another thread meanwhile.
    if (others != 0) throw CQxException(FormatString(L"Failed to release data. [RefCount=%d]", others));
    unsigned char* bytes = block->m_lpData;
    if (block->m_storage != Block::kNewArray) {
        // The caller frees with delete[]: other bytes move into new[] first.
        std::unique_ptr<unsigned char[]> copy(new unsigned char[block->m_dwLen]);
        std::memcpy(copy.get(), bytes, block->m_dwLen);
        if (block->m_storage == Block::kMalloced) std::free(bytes);
        bytes = copy.release();
    }
    FreeBlock(block);
    return bytes;
}

unsigned char CBinaryData::operator[](uint32_t index) const {
    if (index >= GetLength()) throw CQxException(FormatString(L"Index Out of range [%d]", index));
    return m_block->m_lpData[index];
}

unsigned char& CBinaryData::operator[](uint32_t index) {
    if (index >= GetLength()) throw CQxException(FormatString(L"Index Out of range [%d]", index));
    MakePrivate();
    return m_block->m_lpData[index];
}

bool CBinaryData::operator==(const CBinaryData& other) const noexcept {
    if (m_block == other.m_block) return true;
    if (m_block == nullptr || other.m_block == nullptr) return false;
    return m_block->m_dwLen == other.m_block->m_dwLen &&
           std::memcmp(m_block->m_lpData, other.m_block->m_lpData, m_block->m_dwLen) == 0;
}

// ------------------------------------------------------------------ appending

void CBinaryData::Append(const unsigned char* data, uint32_t length) {
    if (data == nullptr || length == 0) return;
    // The source may be this value's own bytes: remember it as an offset, since growing
    // (or making private) moves them. The offset stays valid because both keep the
    // existing bytes at their places.
    const unsigned char* own = GetData();
    const bool aliased = own != nullptr && data >= own && data < own + m_block->m_capacity;
    const size_t offset = aliased ? static_cast<size_t>(data - own) : 0;
    unsigned char* space = AppendSpace(length);
    std::memmove(space, aliased ? m_block->m_lpData + offset : data, length);
}

void CBinaryData::Append(unsigned char byte) {
    // The common case first: a private block with room.
    if (m_block != nullptr && m_block->m_dwLen < m_block->m_capacity &&
        m_block->m_refCount.load(std::memory_order_acquire) == 1) {
        m_block->m_lpData[m_block->m_dwLen++] = byte;
        return;
    }
    *AppendSpace(1) = byte;
}

void CBinaryData::AppendUtf16Units(const wchar_t* text, size_t length) {
    if (text == nullptr || length == 0) return;
    const uint32_t bytes = CheckedLength(Utf16LEUnitBytes(text, length));
    StoreUtf16LEUnits(AppendSpace(bytes), text, length);
}

void CBinaryData::Append(wchar_t ch) { AppendUtf16Units(&ch, 1); }

void CBinaryData::Append(const wchar_t* text) {
    if (text != nullptr) AppendUtf16Units(text, std::wcslen(text));
}

void CBinaryData::Append(const std::wstring& text) { AppendUtf16Units(text.data(), text.size()); }

void CBinaryData::Append(const CBinaryData& other) {
    if (other.m_block == nullptr) return;
    if (m_block == nullptr) {
        *this = other;  // nothing to keep: share, the first change copies
        return;
    }
    // Holding a share keeps the bytes alive even when `other` is this very value.
    const CBinaryData source(other);
    Append(source.GetData(), source.GetLength());
}

void CBinaryData::SetBuffer(const unsigned char* data, uint32_t length) {
    // Copy first: `data` may point into this value's own bytes.
    Block* block = NewCopy(data, length);
    Release(m_block);
    m_block = block;
}

void CBinaryData::SetBuffer(const wchar_t* text) {
    Clear();
    Append(text);
}

// ------------------------------------------------------------------ hex and base64

std::wstring CBinaryData::GetAsHexString(const unsigned char* data, uint32_t length) {
    std::wstring text;
    AppendHexString(text, data, length);
    return text;
}

void CBinaryData::AppendHexString(std::wstring& out, const unsigned char* data, uint32_t length) {
    const size_t start = out.size();
    out.resize(start + 2 * static_cast<size_t>(length));
    wchar_t* text = &out[0] + start;
    for (uint32_t i = 0; i < length; ++i) {
        text[2 * i] = kHexDigits[data[i] >> 4];
        text[2 * i + 1] = kHexDigits[data[i] & 0x0F];
    }
}

std::wstring CBinaryData::GetAsHexString() const { return GetAsHexString(GetData(), GetLength()); }

uint32_t CBinaryData::ConvertToHexData(const wchar_t* text, unsigned char** out) {
    *out = nullptr;
    const size_t length = text ? std::wcslen(text) : 0;
    if (length % 2 != 0) throw CQxException(L"Invalid length in hex string");
    const uint32_t bytes = CheckedLength(length / 2);
    if (bytes == 0) return 0;
    std::unique_ptr<unsigned char[]> data(new unsigned char[bytes]);
    DecodeHex(text, length, data.get());
    *out = data.release();
    return bytes;
}

void CBinaryData::DecodeHex(const wchar_t* text, size_t length, unsigned char* out) {
    for (size_t i = 0; i < length / 2; ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            const wchar_t bad = high < 0 ? text[2 * i] : text[2 * i + 1];
            throw CQxException(FormatString(L"Invalid char in hex string [%c]", bad));
        }
        out[i] = static_cast<unsigned char>((high << 4) | low);
    }
}

void CBinaryData::SetAsHexString(const wchar_t* text) {
    Clear();
    unsigned char* data = nullptr;
    const uint32_t length = ConvertToHexData(text, &data);
    m_block = Adopt(data, length, length);
}

std::wstring CBinaryData::GetAsBase64() const {
    CBase64 codec;
    return codec.Encode(GetData(), GetLength());
}

void CBinaryData::SetAsBase64(const wchar_t* text) {
    Clear();
    if (text == nullptr) return;
    const size_t length = std::wcslen(text);
    const uint32_t capacity = CheckedLength(CBase64::DecodeBufferSize(text, length));
    std::unique_ptr<Block, void (*)(Block*) noexcept> block(NewWithBytes(capacity), &FreeBlock);
    block->m_dwLen = CBase64().Decode(text, length, block->m_lpData);
    // Invalid text decodes to zero bytes, which leaves the value empty.
    if (block->m_dwLen != 0) m_block = block.release();
}

}  // namespace QxXmlLib10
