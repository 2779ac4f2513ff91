// CItemList against std::deque doing the same random operations: inserts anywhere (at the
// front after removals reuse a vacated slot), removals anywhere (at the front without moving
// the rest, with the vacated slots reclaimed now and then), copies, and the bool case, whose
// vector hands out values rather than references.
#include <qxxml/collections/ItemList.h>

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>

using QxXmlLib10::CItemList;

namespace {

template <class T>
void ExpectSame(const std::deque<T>& model, const CItemList<T>& list) {
    ASSERT_EQ(model.size(), list.size());
    for (size_t i = 0; i < model.size(); ++i) EXPECT_EQ(model[i], list[i]) << "at " << i;
    EXPECT_TRUE(std::equal(model.begin(), model.end(), list.begin(), list.end()));
}

template <class T, class Make>
void RandomOperations(Make make) {
    std::mt19937 rng(7);
    std::deque<T> model;
    CItemList<T> list;
    for (int step = 0; step < 4000; ++step) {
        const unsigned pick = rng() % 10;
        if (pick < 4 || model.empty()) {
            const size_t at = pick == 0 ? 0 : pick == 1 ? model.size() : rng() % (model.size() + 1);
            const T value = make(step);
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), value);
            list.Insert(at, value);
        } else {
            // Mostly from the front, as clearing a collection does.
            const size_t at = pick < 8 ? 0 : rng() % model.size();
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
            list.EraseAt(at);
        }
        if (step % 500 == 0) {
            const CItemList<T> copy(list);
            ExpectSame(model, copy);
            CItemList<T> assigned;
            assigned.Insert(0, make(-1));
            assigned = list;
            ExpectSame(model, assigned);
        }
    }
    ExpectSame(model, list);
    while (!model.empty()) {  // emptied from the front, as Clear does
        model.pop_front();
        list.EraseAt(0);
    }
    ExpectSame(model, list);
}

}  // namespace

TEST(ItemList, RandomOperationsAgreeWithDeque) {
    RandomOperations<std::wstring>([](int n) { return std::to_wstring(n) + L" text long enough for the heap"; });
    RandomOperations<int>([](int n) { return n; });
    RandomOperations<bool>([](int n) { return n % 3 == 0; });
}
