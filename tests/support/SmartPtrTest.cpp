// CSmartPtr over real object-model objects: ownership, destruction exactly once, and
// reference counts changed from several threads.
#include <qxxml/support/SmartPtr.h>

#include "common/CountedObject.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace QxXmlLib10;

namespace {

using CCounted = qxxml_test::CCountedObject;

class CDerived : public CCounted {
public:
    using CCounted::CCounted;
};

}  // namespace

TEST(SmartPtrTest, CopiesMovesConversionsAndDetach) {
    CSmartPtr<CCounted> none;
    EXPECT_TRUE(!none && none == nullptr);

    std::atomic<int> destroyed{0};
    CSmartPtr<CDerived> owner(new CDerived(destroyed));
    CDerived* raw = owner.Get();
    CSmartPtr<CDerived> copy = owner, assigned;
    assigned = copy;
    const CSmartPtr<CDerived>& self = assigned;
    assigned = self;  // self-assignment keeps the object
    copy = nullptr;
    CSmartPtr<CDerived> moved(std::move(owner));
    EXPECT_EQ(owner.Get(), nullptr);  // NOLINT(bugprone-use-after-move)
    CSmartPtr<CDerived> target;
    target = std::move(moved);
    EXPECT_EQ(target.Get(), raw);
    // Moves cost no count: with the assigned copy, one more reference makes 3.
    EXPECT_EQ(raw->AddRef(), 3);
    EXPECT_EQ(raw->Release(), 2);
    assigned = nullptr;

    CSmartPtr<CCounted> base(target);  // from a derived class
    CSmartPtr<CXmlObjectBase> root(base);
    EXPECT_EQ(root.Get(), static_cast<CXmlObjectBase*>(raw));
    target = nullptr;
    base = nullptr;
    CXmlObjectBase* detached = root.Detach();
    EXPECT_EQ(root.Get(), nullptr);
    EXPECT_EQ(destroyed.load(), 0) << "Detach keeps the reference";
    EXPECT_EQ(detached->Release(), 0);
    EXPECT_EQ(destroyed.load(), 1);
}

TEST(SmartPtrTest, AssigningAnObjectOwnedByTheOldTarget) {
    // The new target is kept alive only by the old one: it must be taken before the old
    // target is released.
    std::atomic<int> destroyed{0};
    CSmartPtr<CCounted> cursor(new CCounted(destroyed));
    cursor->child = new CCounted(destroyed);
    cursor->child->child = new CCounted(destroyed);
    cursor = cursor->child;
    EXPECT_EQ(destroyed.load(), 1);
    cursor = cursor->child.Get();
    EXPECT_EQ(destroyed.load(), 2);
    ASSERT_TRUE(cursor);
    cursor = nullptr;
    EXPECT_EQ(destroyed.load(), 3);
}

TEST(SmartPtrTest, ManyThreadsCopying) {
    std::atomic<int> destroyed{0};
    CSmartPtr<CCounted> shared(new CCounted(destroyed));
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            while (!go.load()) std::this_thread::yield();
            std::vector<CSmartPtr<CCounted>> copies;
            for (int i = 0; i < 20000; ++i) {
                copies.push_back(shared);
                if (copies.size() > 16) copies.erase(copies.begin());
            }
        });
    }
    go = true;
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(destroyed.load(), 0);
    // Every copy gave its reference back: the count is 1 again.
    EXPECT_EQ(shared->AddRef(), 2);
    EXPECT_EQ(shared->Release(), 1);
    shared = nullptr;
    EXPECT_EQ(destroyed.load(), 1);
}

#ifndef NDEBUG
TEST(SmartPtrDeathTest, DereferencingNullAsserts) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    CSmartPtr<CCounted> none;
    EXPECT_DEATH((void)none->GetBase(), "p!=0");
    EXPECT_DEATH((void)*none, "p!=0");
}
#endif
