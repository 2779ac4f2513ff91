#include <qxxml/xmlout/StringBuffer.h>

#include <qxxml/support/QxException.h>

#include <cwchar>

namespace QxXmlLib10 {

// Blocks are not zero-filled: filling would touch every page of the buffer once more on the
// hottest path of output. A block has room for one more character, and GetString writes the
// terminator after the text when it hands the text out.

CInstanceMonitor::ClassType* CStringBuffer::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CStringBuffer");
    return record;
}

CStringBuffer::CStringBuffer() : CInstanceMonitor(MonitorRecord()) {}

CStringBuffer::~CStringBuffer() { Reset(); }

void CStringBuffer::Append(const wchar_t* text) {
    if (text) Append(text, std::wcslen(text));
}

void CStringBuffer::AppendAcrossBlocks(const wchar_t* text, size_t length) {
    if (length > kMaxLength - m_dwTotalBufferLen)
        throw CQxException(L"The text buffer cannot hold more than 4294967295 characters");
    m_dwTotalBufferLen += static_cast<uint32_t>(length);
    while (length > 0) {
        if (m_LastBlock_DataIn == m_LastBlock_SizeOf) AddBlock();
        const size_t room = m_LastBlock_SizeOf - m_LastBlock_DataIn;
        const size_t take = length < room ? length : room;
        std::wmemcpy(m_pLastBlock + m_LastBlock_DataIn, text, take);
        m_LastBlock_DataIn += static_cast<uint32_t>(take);
        text += take;
        length -= take;
    }
}

void CStringBuffer::AddBlock() {
    m_blocks.reserve(m_blocks.size() + 1);
    m_blockLengths.reserve(m_blockLengths.size() + 1);
    m_pLastBlock = new wchar_t[m_dwBlockSize + 1];
    m_blocks.push_back(m_pLastBlock);
    m_blockLengths.push_back(m_dwBlockSize);
    m_LastBlock_SizeOf = m_dwBlockSize;
    m_LastBlock_DataIn = 0;
}

const wchar_t* CStringBuffer::GetString() {
    static const wchar_t empty[1] = {0};
    if (m_blocks.empty()) return empty;
    if (m_blocks.size() > 1) {
        wchar_t* merged = new wchar_t[static_cast<size_t>(m_dwTotalBufferLen) + 1];
        size_t copied = 0;
        ForEachChunk([&](const wchar_t* chars, size_t count) {
            std::wmemcpy(merged + copied, chars, count);
            copied += count;
        });
        for (wchar_t* block : m_blocks) delete[] block;
        m_blocks.assign(1, merged);
        m_blockLengths.assign(1, m_dwTotalBufferLen);
        m_pLastBlock = merged;
        // Full: the next append starts a new block rather than writing past the merged text.
        m_LastBlock_DataIn = m_LastBlock_SizeOf = m_dwTotalBufferLen;
    }
    m_pLastBlock[m_LastBlock_DataIn] = 0;
    return m_pLastBlock;
}

void CStringBuffer::Clear() {
    // One standard block is kept for reuse: a stream that is flushed and refilled again and
    // again then allocates nothing. A merged block may be large and is given back.
    const bool keepFirst = !m_blocks.empty() && m_blockLengths[0] == m_dwBlockSize;
    if (!keepFirst) {
        Reset();
        return;
    }
    for (size_t i = 1; i < m_blocks.size(); ++i) delete[] m_blocks[i];
    m_blocks.resize(1);
    m_blockLengths.resize(1);
    m_pLastBlock = m_blocks[0];
    m_LastBlock_SizeOf = m_dwBlockSize;
    m_LastBlock_DataIn = 0;
    m_dwTotalBufferLen = 0;
}

void CStringBuffer::Reset() {
    for (wchar_t* block : m_blocks) delete[] block;
    m_blocks.clear();
    m_blockLengths.clear();
    m_pLastBlock = nullptr;
    m_LastBlock_DataIn = m_LastBlock_SizeOf = 0;
    m_dwTotalBufferLen = 0;
}

}  // namespace QxXmlLib10
