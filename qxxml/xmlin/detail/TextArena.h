// TextArena.h - the character data of one parsed tree, carved out of a few large blocks
// (internal).
//
// Every element's text and every attribute's value would otherwise be a heap string of its
// own: a heap call when it is made, another when the tree goes, and a heap left full of small
// holes. The arena hands out runs of wide characters from blocks that grow geometrically and
// gives them all back at once. The last run handed out can shrink or grow in place, so text
// converted into a run sized for the worst case costs no copy.
//
//   TextArena arena;
//   wchar_t* run = arena.Allocate(bytes);       // room for the worst case
//   arena.ShrinkLast(run, used);                // keep what the conversion wrote
//   TextArena::Mark mark = arena.Save();
//   ...                                         // a subtree that an element filter drops
//   arena.Rewind(mark);                          // its text goes with it
//   arena.Release();                            // every run at once
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace QxXmlLib10 {
namespace detail {

class TextArena {
public:
    // A position in the arena: everything handed out after it can be given back at once.
    struct Mark {
        size_t block = 0;
        wchar_t* next = nullptr;
    };

    TextArena() = default;
    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;

    // Room for `count` characters (the caller writes them).
    wchar_t* Allocate(size_t count) {
        if (static_cast<size_t>(m_end - m_next) < count) Grow(count);
        wchar_t* run = m_next;
        m_next += count;
        m_last = run;
        return run;
    }

    // Keeps only the first `count` characters of the run handed out last.
    void ShrinkLast(const wchar_t* run, size_t count) noexcept {
        if (run == m_last) m_next = m_last + count;
    }

    // Room for `count` characters continuing the run [run, run + used) when it is the last
    // one and its block has room; null otherwise (the caller copies it into a new run).
    wchar_t* ExtendLast(const wchar_t* run, size_t used, size_t count) noexcept {
        if (run != m_last || m_last + used != m_next || static_cast<size_t>(m_end - m_next) < count) return nullptr;
        wchar_t* more = m_next;
        m_next += count;
        return more;
    }

    Mark Save() const noexcept { return Mark{m_blocks.size(), m_next}; }

    // Gives back everything handed out since the mark. When blocks were opened since, the
    // first of them stays as the current block (the rest of the marked block is left
    // unused), so that a filter dropping element after element at a block's end does not
    // open and free a block each time.
    void Rewind(const Mark& mark) noexcept {
        if (mark.block < m_blocks.size()) {
            m_blocks.resize(mark.block + 1);
            m_next = m_blocks.back().chars.get();
            m_end = m_blocks.back().end;
        } else if (mark.block == m_blocks.size() && mark.block != 0) {
            m_next = mark.next;
        }
        m_last = nullptr;
    }

    void Release() noexcept {
        m_blocks.clear();
        m_next = m_end = m_last = nullptr;
        m_nextBlockChars = kFirstBlockChars;
    }

private:
    struct Block {
        std::unique_ptr<wchar_t[]> chars;
        wchar_t* end;
    };
    // 1 Ki characters at first, doubling up to 256 Ki (1 MiB): a small document costs one
    // small block, a large one a block per megabyte of text.
    static constexpr size_t kFirstBlockChars = 1024;
    static constexpr size_t kLargestBlockChars = 256 * 1024;

    void Grow(size_t count) {
        const size_t chars = std::max(m_nextBlockChars, count);
        m_blocks.reserve(m_blocks.size() + 1);
        Block block{std::unique_ptr<wchar_t[]>(new wchar_t[chars]), nullptr};
        block.end = block.chars.get() + chars;
        m_next = block.chars.get();
        m_end = block.end;
        m_blocks.push_back(std::move(block));
        m_nextBlockChars = std::min(m_nextBlockChars * 2, kLargestBlockChars);
    }

    std::vector<Block> m_blocks;
    wchar_t* m_next = nullptr;
    wchar_t* m_end = nullptr;
    wchar_t* m_last = nullptr;
    size_t m_nextBlockChars = kFirstBlockChars;
};

}  // namespace detail
}  // namespace QxXmlLib10
