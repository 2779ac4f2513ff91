// ItemList.h - CItemList, the item storage of the value collections: a vector that also
// removes from its front in constant time.
//
//   CItemList<int32_t> items;
//   items.Insert(0, 5);        // at any index
//   items.EraseAt(0);          // the front: no other item moves
//   for (int32_t n : items) ...
//
// Clearing a collection removes its first item again and again (each removal is told to the
// listeners), so removing at the front must not move the rest; and an empty collection, which
// every absent repeated member of every object has, must cost no allocation (a deque
// allocates on construction). A vector with a count of vacated leading slots does both: the
// slots are reclaimed when the list empties or when they outnumber the items.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace QxXmlLib10 {

template <class T>
class CItemList {
public:
    using const_iterator = typename std::vector<T>::const_iterator;
    using const_reference = typename std::vector<T>::const_reference;  // bool: a value

    CItemList() = default;
    CItemList(const CItemList& other) : m_items(other.begin(), other.end()) {}
    CItemList& operator=(const CItemList& other) {
        if (this != &other) {
            std::vector<T> copy(other.begin(), other.end());
            m_items.swap(copy);
            m_front = 0;
        }
        return *this;
    }

    size_t size() const { return m_items.size() - m_front; }
    const_reference operator[](size_t index) const { return m_items[m_front + index]; }
    const_iterator begin() const { return m_items.begin() + static_cast<std::ptrdiff_t>(m_front); }
    const_iterator end() const { return m_items.end(); }

    // 0 <= index <= size().
    template <class Value>
    void Insert(size_t index, Value&& value) {
        if (index == size()) {
            // The first item makes room for a few: small lists take one allocation, not three.
            if (m_items.capacity() == 0) m_items.reserve(kFirstCapacity);
            m_items.push_back(std::forward<Value>(value));
        } else if (index == 0 && m_front > 0) {
            m_items[m_front - 1] = std::forward<Value>(value);  // a failed copy changes nothing
            --m_front;
        } else {
            m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(m_front + index), std::forward<Value>(value));
        }
    }

    // 0 <= index < size().
    void EraseAt(size_t index) {
        if (index != 0) {
            m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(m_front + index));
            return;
        }
        m_items[m_front] = T();  // the value's own storage goes now
        ++m_front;
        if (m_front == m_items.size()) {
            m_items.clear();
            m_front = 0;
        } else if (m_front > kVacatedSlack && m_front > m_items.size() - m_front) {
            m_items.erase(m_items.begin(), m_items.begin() + static_cast<std::ptrdiff_t>(m_front));
            m_front = 0;
        }
    }

private:
    static constexpr size_t kVacatedSlack = 32;
    static constexpr size_t kFirstCapacity = sizeof(T) <= 16 ? 4 : 2;

    std::vector<T> m_items;
    size_t m_front = 0;  // vacated slots before the first item
};

}  // namespace QxXmlLib10
