// StringTable.h - an insert-only hash table keyed by strings (internal).
//
// A document sees the same few element and attribute names, namespace URIs and prefixes
// over and over. It keeps each distinct one once, in tables of this kind: the key is copied
// on insertion and keeps its address for the table's lifetime, so elements and attributes
// can point at it instead of owning a copy.
//
//   StringTable<wchar_t, Empty> names;
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

struct Empty {};

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
        const Key* m_key = nullptr;
        size_t m_hash = 0;
    };

    // Names are short: eight bytes per multiply, inline, with a final mix so that the low
    // bits the slot index uses depend on every byte.
    static size_t Hash(KeyView key) {
        const char* bytes = reinterpret_cast<const char*>(key.data());
        size_t left = key.size() * sizeof(Char);
        uint64_t hash = 0x9E3779B97F4A7C15ull ^ left;
        for (; left >= 8; left -= 8, bytes += 8) {
            uint64_t word;
            std::memcpy(&word, bytes, 8);
            hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
            hash ^= hash >> 32;
        }
        if (left != 0) {
            uint64_t word = 0;
            std::memcpy(&word, bytes, left);
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
            if (slot.m_hash == hash && KeyView(*slot.m_key) == key) return &slot;
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
