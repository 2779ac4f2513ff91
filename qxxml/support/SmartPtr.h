// SmartPtr.h - CSmartPtr, the intrusive reference-counting pointer of the object model.
//
// Every object-model object (generated classes, collections, wildcard holders) starts with a
// reference count of 0 and is owned by the first CSmartPtr that takes it:
//
//   CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);   // count 1
//   CSmartPtr<CPurchaseOrder> alias = order;                // count 2
//   order = nullptr;                                        // count 1
//   // the last pointer going out of scope destroys the object
//
// T needs AddRef() and Release() with the CXmlObjectBase semantics (Release destroys at 0).
// Counts change atomically, so pointers to one object may live on different threads.
#pragma once

#include <cassert>
#include <cstddef>
#include <utility>

namespace QxXmlLib10 {

template <class T>
class CSmartPtr {
public:
    CSmartPtr() noexcept : p(nullptr) {}
    CSmartPtr(std::nullptr_t) noexcept : p(nullptr) {}
    CSmartPtr(T* raw) noexcept : p(raw) { AddRefIfSet(p); }
    CSmartPtr(const CSmartPtr& other) noexcept : p(other.p) { AddRefIfSet(p); }
    CSmartPtr(CSmartPtr&& other) noexcept : p(other.p) { other.p = nullptr; }
    // Converting copy from a pointer to a derived class.
    template <class U>
    CSmartPtr(const CSmartPtr<U>& other) noexcept : p(other.Get()) { AddRefIfSet(p); }

    ~CSmartPtr() { ReleaseIfSet(p); }

    CSmartPtr& operator=(T* raw) noexcept {
        AddRefIfSet(raw);  // before releasing the old target, which may own the new one
        T* old = p;
        p = raw;
        ReleaseIfSet(old);
        return *this;
    }
    CSmartPtr& operator=(const CSmartPtr& other) noexcept { return *this = other.p; }
    CSmartPtr& operator=(CSmartPtr&& other) noexcept {
        if (this != &other) {
            T* old = p;
            p = other.p;
            other.p = nullptr;
            ReleaseIfSet(old);
        }
        return *this;
    }
    CSmartPtr& operator=(std::nullptr_t) noexcept { return *this = static_cast<T*>(nullptr); }

    T* operator->() const noexcept {
        assert(p != 0 && "p!=0");
        return p;
    }
    T& operator*() const noexcept {
        assert(p != 0 && "p!=0");
        return *p;
    }

    // The raw pointer, possibly null; ownership stays with this pointer.
    T* Get() const noexcept { return p; }
    operator T*() const noexcept { return p; }
    explicit operator bool() const noexcept { return p != nullptr; }

    // Gives up this pointer's reference without releasing it.
    T* Detach() noexcept { return std::exchange(p, nullptr); }

private:
    static void AddRefIfSet(T* q) noexcept {
        if (q) q->AddRef();
    }
    static void ReleaseIfSet(T* q) noexcept {
        if (q) q->Release();
    }

    T* p;
};

}  // namespace QxXmlLib10
