// StringTable.h - an insert-only hash table keyed by strings (internal).
//
// A document sees the same few element and attribute names, namespace URIs and prefixes
// over and over. It keeps each distinct one once, in tables of this kind: the key is copied
// on insertion and keeps its address for the table's lifetime, so elements and attributes
// can point at it instead of owning a copy.
//
//   StringTable<wchar_t, int> names;
//   const std::wstring& interned = names.FindOrInsert(L"item", 4).key();
//
// Open addressing with linear probing over a power-of-two slot array, kept at most half
// full; every slot remembers the full hash so a probe compares strings only on a real match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace QxXmlLib10 {
namespace detail {

template <class Char, class Value>
class StringTable {
public:
    using Key = std::basic_string<Char>;
    using KeyView = std::basic_string_view<Char>;

    class Entry {
    public:
        const Key& key() const { return *m_key; }
        Value value{};

    private:
        friend class StringTable;
        bool Matches(KeyView key, size_t hash) const {
            return m_hash == hash && m_length == key.size() &&
                   std::memcmp(m_chars, key.data(), key.size() * sizeof(Char)) == 0;
        }
        const Key* m_key = nullptr;
        const Char* m_chars = nullptr;  // the key's characters, compared without a detour
        size_t m_length = 0;
        size_t m_hash = 0;
    };

    // Names are short: eight bytes per multiply, inline, the tail read as one overlapping
    // word, and a final mix so that the low bits the slot index uses depend on every byte.
    static size_t Hash(KeyView key) {
        const char* bytes = reinterpret_cast<const char*>(key.data());
        const size_t length = key.size() * sizeof(Char);
        uint64_t hash = 0x9E3779B97F4A7C15ull ^ length;
        uint64_t word = 0;
        if (length >= 8) {
            size_t at = 0;
            for (; at + 8 <= length; at += 8) {
                std::memcpy(&word, bytes + at, 8);
                hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
                hash ^= hash >> 32;
            }
            if (at != length) {
                std::memcpy(&word, bytes + length - 8, 8);
                hash = (hash ^ word) * 0xC4CEB9FE1A85EC53ull;
            }
        } else {
            for (size_t at = 0; at < length; ++at) word = (word << 8) | static_cast<unsigned char>(bytes[at]);
            hash = (hash ^ word) * 0xC4CEB9FE1A85EC53ull;
        }
        hash ^= hash >> 33;
        hash *= 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 29;
        return static_cast<size_t>(hash);
    }

    // The entry of the key, or null.
    Entry* Find(KeyView key, size_t hash) {
        if (m_slots.empty()) return nullptr;
        for (size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            Entry& slot = m_slots[i];
            if (slot.m_key == nullptr) return nullptr;
            if (slot.Matches(key, hash)) return &slot;
        }
    }

    // The entry of the key, created with a default value when the key is new. The second
    // member tells whether it was created.
    std::pair<Entry*, bool> FindOrInsert(KeyView key, size_t hash) {
        if (Entry* found = Find(key, hash)) return {found, false};
        if ((m_count + 1) * 2 > m_slots.size()) Rehash(m_slots.empty() ? 64 : m_slots.size() * 2);
        m_keys.emplace_back(key);
        Entry& slot = FreeSlotFor(hash);
        slot.m_key = &m_keys.back();
        slot.m_chars = m_keys.back().data();
        slot.m_length = m_keys.back().size();
        slot.m_hash = hash;
        ++m_count;
        return {&slot, true};
    }
    std::pair<Entry*, bool> FindOrInsert(KeyView key) { return FindOrInsert(key, Hash(key)); }

    void Clear() {
        m_slots.clear();
        m_keys.clear();
        m_count = 0;
        m_mask = 0;
    }

private:
    Entry& FreeSlotFor(size_t hash) {
        size_t i = hash & m_mask;
        while (m_slots[i].m_key != nullptr) i = (i + 1) & m_mask;
        return m_slots[i];
    }

    void Rehash(size_t slotCount) {
        std::vector<Entry> old(slotCount);
        old.swap(m_slots);
        m_mask = slotCount - 1;
        for (Entry& entry : old)
            if (entry.m_key != nullptr) FreeSlotFor(entry.m_hash) = entry;
    }

    std::vector<Entry> m_slots;
    std::deque<Key> m_keys;  // a deque never moves what it holds
    size_t m_count = 0;
    size_t m_mask = 0;
};

}  // namespace detail
}  // namespace QxXmlLib10
