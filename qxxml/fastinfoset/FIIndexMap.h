// FIIndexMap.h - the string-to-index maps of a Fast Infoset vocabulary: open addressing over
// a power-of-two slot array, looked up with a view of the text and a hash computed once.
//
//   CFIIndexMap map;
//   const size_t hash = CFIIndexMap::Hash(text, length);
//   uint32_t index = map.Find(text, length, hash);     // 0: absent
//   if (index == 0) map.Insert(std::wstring(text, length), hash, map.size() + 1);
//
// The writer looks up every short value and every new name, mostly successfully: a lookup
// hashes the characters once, probes slots that carry the hash, and compares text only when
// the hashes agree. Entries are never removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace QxXmlLib10 {

// Equality of two runs of characters, compared in place sixteen octets at a time, the tail
// as one more overlapping word: keys and names are short, and a call to the C library's
// compare costs more than the comparing.
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline bool SameChars(const wchar_t* a, const wchar_t* b, size_t length) noexcept {
    const char* x = reinterpret_cast<const char*>(a);
    const char* y = reinterpret_cast<const char*>(b);
    const size_t bytes = length * sizeof(wchar_t);
    const auto differ = [x, y](size_t at, auto word) {
        decltype(word) u, v;
        std::memcpy(&u, x + at, sizeof u);
        std::memcpy(&v, y + at, sizeof v);
        return static_cast<uint64_t>(u ^ v);
    };
    if (bytes >= 8) {
        uint64_t difference = 0;
        size_t at = 0;
        for (; at + 16 <= bytes; at += 16) difference |= differ(at, uint64_t{}) | differ(at + 8, uint64_t{});
        if (at + 8 <= bytes) {
            difference |= differ(at, uint64_t{});
            at += 8;
        }
        if (at != bytes) difference |= differ(bytes - 8, uint64_t{});
        return difference == 0;
    }
    if (bytes >= 4) return (differ(0, uint32_t{}) | differ(bytes - 4, uint32_t{})) == 0;
    return bytes == 0 || differ(0, uint16_t{}) == 0;  // one UTF-16 unit
}

class CFIIndexMap {
public:
    struct Entry {
        std::wstring key;
        uint32_t index;
    };

    // FNV-1a over the characters: short keys, no call, good spread in the low bits.
    static size_t Hash(const wchar_t* text, size_t length) noexcept {
        uint64_t hash = 14695981039346656037ull;
        for (size_t i = 0; i < length; ++i) hash = (hash ^ static_cast<uint32_t>(text[i])) * 1099511628211ull;
        return static_cast<size_t>(hash ^ (hash >> 29));
    }

    size_t size() const noexcept { return m_entries.size(); }
    // In insertion order.
    const std::vector<Entry>& Entries() const noexcept { return m_entries; }

    // The index stored under the text, 0 when absent.
    uint32_t Find(const wchar_t* text, size_t length, size_t hash) const noexcept {
        if (m_slots.empty()) return 0;
        const size_t mask = m_slots.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            const Slot& slot = m_slots[at];
            if (slot.entry == 0) return 0;
            if (slot.hash != static_cast<uint32_t>(hash)) continue;
            const Entry& entry = m_entries[slot.entry - 1];
            if (entry.key.size() == length && SameChars(entry.key.data(), text, length)) return entry.index;
        }
    }
    uint32_t Find(const std::wstring& key) const noexcept { return Find(key.data(), key.size(), Hash(key.data(), key.size())); }

    // Stores the key with its index unless it is present (an existing key keeps its index).
    void Insert(std::wstring key, size_t hash, uint32_t index) {
        if (Find(key.data(), key.size(), hash) != 0) return;
        if ((m_entries.size() + 1) * 2 > m_slots.size()) Grow();
        m_entries.push_back(Entry{std::move(key), index});
        Place(static_cast<uint32_t>(hash), static_cast<uint32_t>(m_entries.size()));
    }
    void Insert(std::wstring key, uint32_t index) {
        const size_t hash = Hash(key.data(), key.size());
        Insert(std::move(key), hash, index);
    }

private:
    struct Slot {
        uint32_t hash = 0;
        uint32_t entry = 0;  // position in m_entries + 1; 0 for an empty slot
    };

    void Place(uint32_t hash, uint32_t entry) noexcept {
        const size_t mask = m_slots.size() - 1;
        size_t at = hash & mask;
        while (m_slots[at].entry != 0) at = (at + 1) & mask;
        m_slots[at] = Slot{hash, entry};
    }

    void Grow() {
        std::vector<Slot> old(m_slots.empty() ? 16 : m_slots.size() * 2);
        old.swap(m_slots);
        for (const Slot& slot : old)
            if (slot.entry != 0) Place(slot.hash, slot.entry);
    }

    std::vector<Entry> m_entries;
    std::vector<Slot> m_slots;
};

// A direct-mapped cache of the indices of short keys, in front of a CFIIndexMap: a value that
// repeats is mostly one of a few (true, false, small numbers), found here in one entry that
// holds its characters, where the map would go from slot to entry to the key's own memory.
//
//   uint32_t index = cache.Find(text, length, hash);   // 0: not cached (the map may know it)
//   cache.Remember(text, length, hash, index);         // longer keys are not kept
class CFIShortKeyCache {
public:
    static constexpr size_t kMaxChars = 7;

    uint32_t Find(const wchar_t* text, size_t length, size_t hash) const noexcept {
        if (m_entries.empty()) return 0;
        const Entry& entry = m_entries[Home(hash)];
        if (entry.hash != hash || entry.length != length) return 0;
        return SameChars(entry.chars, text, length) ? entry.index : 0;
    }
    void Remember(const wchar_t* text, size_t length, size_t hash, uint32_t index) {
        if (length > kMaxChars) return;
        if (m_entries.empty()) m_entries.resize(kEntries);  // on first use: most documents are small
        Entry& entry = m_entries[Home(hash)];
        entry.hash = hash;
        entry.index = index;
        entry.length = static_cast<uint32_t>(length);
        std::memcpy(entry.chars, text, length * sizeof(wchar_t));
    }

private:
    static constexpr size_t kEntries = 512;  // a power of two
    struct Entry {
        size_t hash = 0;
        uint32_t index = 0;
        uint32_t length = 0;  // 0: an empty entry (no key is empty)
        wchar_t chars[kMaxChars + 1];
    };
    // The map's slots take the hash's low bits: the cache takes others.
    static size_t Home(size_t hash) noexcept { return (hash >> 16) & (kEntries - 1); }

    std::vector<Entry> m_entries;
};

}  // namespace QxXmlLib10
