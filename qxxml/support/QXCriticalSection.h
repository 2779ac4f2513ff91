// QXCriticalSection.h - the library's one lock type: recursive, same-process.
//
//   CQXCriticalSection cs;
//   {
//     CQXCriticalSection::Lock hold(cs);   // Enter() now, Leave() at scope end
//     ...                                   // the same thread may enter again
//   }
//
// A lock is not copyable: copying a live lock has no sound meaning.
#pragma once

#include <qxxml/support/Export.h>

#include <mutex>

namespace QxXmlLib10 {

class QXXML_API CQXCriticalSection {
public:
    CQXCriticalSection() = default;
    CQXCriticalSection(const CQXCriticalSection&) = delete;
    CQXCriticalSection& operator=(const CQXCriticalSection&) = delete;
    virtual ~CQXCriticalSection() = default;

    void Enter() { m_mutex.lock(); }
    void Leave() { m_mutex.unlock(); }

    // Scoped holder: enters on construction and leaves on destruction, also when unwinding.
    class Lock {
    public:
        explicit Lock(CQXCriticalSection& cs) : m_cs(cs) { m_cs.Enter(); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        ~Lock() { m_cs.Leave(); }

    private:
        CQXCriticalSection& m_cs;
    };

private:
    std::recursive_mutex m_mutex;
};

}  // namespace QxXmlLib10
