// StringBuffer.h - CStringBuffer, the growable wide-character buffer beneath the text streams.
//
// Text is kept in blocks of 4095 characters that are never moved or reallocated, so an
// append costs at most one allocation per block; the blocks are merged into one array only
// when the whole text is asked for:
//
//   CStringBuffer buffer;
//   buffer.Append(L"<Root>");
//   buffer.Append(name.data(), name.size());   // bulk copy of a counted run
//   buffer.AppendChar(L'>');
//   const wchar_t* text = buffer.GetString();  // null-terminated, valid until the next change
//
// Walking the blocks with ForEachChunk reads the text without merging it.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace QxXmlLib10 {

class QXXML_API CStringBuffer : public CInstanceMonitor {
public:
    static constexpr uint32_t kBlockSize = 4095;  // characters; one more element holds a terminator

    CStringBuffer();
    CStringBuffer(const CStringBuffer&) = delete;
    CStringBuffer& operator=(const CStringBuffer&) = delete;
    ~CStringBuffer();

    void Append(const wchar_t* text);  // null-terminated; null appends nothing
    // Inline for the common case, a piece that fits the current block: the writer appends
    // many short pieces (names, brackets, values), and a call per piece was most of the cost.
    void Append(const wchar_t* text, size_t length) {
        if (length - 1 < static_cast<size_t>(m_LastBlock_SizeOf - m_LastBlock_DataIn) &&
            length <= kMaxLength - m_dwTotalBufferLen) {  // length 0 takes the general path
            std::memcpy(m_pLastBlock + m_LastBlock_DataIn, text, length * sizeof(wchar_t));
            m_LastBlock_DataIn += static_cast<uint32_t>(length);
            m_dwTotalBufferLen += static_cast<uint32_t>(length);
        } else {
            AppendAcrossBlocks(text, length);
        }
    }
    void AppendChar(wchar_t ch) {
        if (m_LastBlock_DataIn < m_LastBlock_SizeOf && m_dwTotalBufferLen < kMaxLength) {
            m_pLastBlock[m_LastBlock_DataIn++] = ch;
            ++m_dwTotalBufferLen;
        } else {
            Append(&ch, 1);
        }
    }

    uint32_t GetLength() const { return m_dwTotalBufferLen; }

    // The whole text, null-terminated. Several blocks are merged into one array here (once:
    // the merged array is then the only block).
    const wchar_t* GetString();

    void Clear();

    // Calls f(const wchar_t* chars, size_t count) for each non-empty run of the text, in order.
    template <class F>
    void ForEachChunk(F&& f) const {
        for (size_t i = 0; i < m_blocks.size(); ++i) {
            const size_t used = i + 1 == m_blocks.size() ? m_LastBlock_DataIn : m_blockLengths[i];
            if (used) f(static_cast<const wchar_t*>(m_blocks[i]), used);
        }
    }

private:
    static constexpr uint32_t kMaxLength = 0xFFFFFFFFu;
    static CInstanceMonitor::ClassType* MonitorRecord();
    void AddBlock();
    void AppendAcrossBlocks(const wchar_t* text, size_t length);
    void Reset();

    std::vector<wchar_t*> m_blocks;
    std::vector<uint32_t> m_blockLengths;
    uint32_t m_dwBlockSize = kBlockSize;
    uint32_t m_LastBlock_DataIn = 0;
    uint32_t m_LastBlock_SizeOf = 0;
    wchar_t* m_pLastBlock = nullptr;
    uint32_t m_dwTotalBufferLen = 0;
};

}  // namespace QxXmlLib10
