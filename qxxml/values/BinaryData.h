// BinaryData.h - CBinaryData, the shared byte buffer behind hexBinary, base64Binary and
// every byte output of the library.
//
// Copies share one reference-counted block; the bytes are copied only when a value that
// shares them is about to change (copy on write), so passing CBinaryData by value is cheap:
//
//   CBinaryData bytes = order->ToXmlStream(...);   // no copy of the document's bytes
//   CBinaryData copy = bytes;                      // shares the block
//   copy.Append(L'\n');                            // copy gets its own block first
//
//   CBinaryData raw;
//   raw.SetAsHexString(L"00AB7F");                 // 3 bytes
//   std::wstring b64 = raw.GetAsBase64();          // "AKt/"
//
// Values sharing a block may live on different threads; one value is not changed from two
// threads at once.
#pragma once

#include <qxxml/support/Export.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CBinaryData {
public:
    CBinaryData() noexcept;
    CBinaryData(const CBinaryData& other) noexcept;
    CBinaryData(CBinaryData&& other) noexcept;
    // Adopts `data` (allocated with new[]) when `adopt` is true, otherwise copies it. An
    // adopted array belongs to the value even when the constructor throws.
    CBinaryData(unsigned char* const data, uint32_t length, bool adopt);
    // The UTF-16LE code units of the text (2 bytes per unit, no terminator).
    explicit CBinaryData(const wchar_t* text);
    CBinaryData& operator=(const CBinaryData& other) noexcept;
    CBinaryData& operator=(CBinaryData&& other) noexcept;
    virtual ~CBinaryData();

    void Clear() noexcept;

    // The bytes (null when empty); valid until the value changes.
    const unsigned char* GetData() const noexcept;
    uint32_t GetLength() const noexcept;

    // Hands the bytes (allocated with new[], GetLength() of them in use) to the caller; the
    // value becomes empty. Values that shared them keep their own bytes. Null when empty.
    unsigned char* ReleaseData();

    void Append(const unsigned char* data, uint32_t length);
    void Append(unsigned char byte);
    void Append(wchar_t ch);  // its UTF-16LE code unit(s)
    void Append(const wchar_t* text);
    void Append(const std::wstring& text);
    void Append(const CBinaryData& other);

    // Writing in place, for a producer that knows only a bound of what it will write: makes
    // the value `count` bytes longer and returns where those bytes go (valid until the value
    // changes). The value grows geometrically, like Append. Truncate gives back what the
    // producer did not write.
    unsigned char* AppendSpace(uint32_t count);
    // Shortens the value to `length` bytes; a longer `length` changes nothing.
    void Truncate(uint32_t length);

    void SetBuffer(const unsigned char* data, uint32_t length);
    void SetBuffer(const wchar_t* text);

    std::wstring GetAsBase64() const;
    // Invalid characters yield an empty value (no exception); "=", space, tab, CR, LF are skipped.
    void SetAsBase64(const wchar_t* text);
    std::wstring GetAsHexString() const;  // upper case
    void SetAsHexString(const wchar_t* text);

    bool operator==(const CBinaryData& other) const noexcept;
    bool operator!=(const CBinaryData& other) const noexcept { return !(*this == other); }

    // Index must be below GetLength(), else CQxException "Index Out of range [%d]".
    unsigned char operator[](uint32_t index) const;
    unsigned char& operator[](uint32_t index);  // makes the block private first

protected:
    static std::wstring GetAsHexString(const unsigned char* data, uint32_t length);
    // The same upper-case text appended to `out`, so that a caller can reuse one buffer.
    static void AppendHexString(std::wstring& out, const unsigned char* data, uint32_t length);
    // Decodes hex text into a new[] array stored in *out; returns the byte count.
    static uint32_t ConvertToHexData(const wchar_t* text, unsigned char** out);
    // Decodes `length` (even) characters of hex text into length / 2 bytes at `out`; a
    // character that is no hex digit throws CQxException "Invalid char in hex string [%c]".
    static void DecodeHex(const wchar_t* text, size_t length, unsigned char* out);
    // Makes the value `length` bytes long and returns where the caller writes them (null for
    // 0): over the old bytes when this value holds its block alone and the block has room (a
    // value set over and over allocates once), else in one new allocation of exactly this size.
    unsigned char* ReplaceBytes(uint32_t length);

private:
    // The shared bytes; null whenever the value is empty (a block never has length 0).
    struct Block;
    static Block* NewCopy(const unsigned char* data, uint32_t length);
    static Block* Adopt(unsigned char* data, uint32_t length, uint32_t capacity);
    // A block with room for `capacity` bytes in the same allocation, its length 0 until the
    // caller sets it.
    static Block* NewWithBytes(uint32_t capacity);
    static void Release(Block* block) noexcept;
    static void FreeBlock(Block* block) noexcept;  // the record only, not separate bytes

    void MakePrivate();
    static unsigned char* AllocateBytes(uint32_t capacity);  // malloc, or std::bad_alloc
    static void Grow(Block& block, uint32_t capacity);
    void AppendUtf16Units(const wchar_t* text, size_t length);

    Block* m_block;
};

}  // namespace QxXmlLib10
