// InstanceMonitor.h - per-class counts of live and created objects, for finding leaks.
//
// Nearly every library class inherits CInstanceMonitor (non-publicly) and passes its class
// name. The monitor keeps one ClassType record per name; DumpState() lists them all:
//
//   class CXmlElement : CInstanceMonitor {
//   public:
//     CXmlElement() : CInstanceMonitor(MonitorRecord()) {}
//   private:
//     static CInstanceMonitor::ClassType* MonitorRecord() {
//       static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CXmlElement");
//       return record;
//     }
//   };
//
//   std::wcout << CInstanceMonitor::DumpState();
//   // Instances of classes still in existence/Total Number of instances created
//   // --> CXmlElement = 1/12
//   //     CXmlAttribute = 0/30
//
// Creating a monitored object is on every hot path (each tree element and attribute), so a
// class resolves its record once, as above, and construction then costs two atomic
// increments. The by-name constructor is there for classes whose record name varies; it
// finds the record through a hash map, never a list search. A maker of many objects at once
// (a document building its tree) may count them itself, in bulk: it constructs them
// CountedByMaker, calls CountInstances for them before anyone can look, and takes each out
// of the count with ForgoCount before it destroys them, counted again in bulk.
#pragma once

#include <qxxml/support/Export.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CInstanceMonitor {
public:
    // The shared record of one class name.
    struct ClassType {
        explicit ClassType(std::wstring name) : strClassName(std::move(name)) {}
        const std::wstring strClassName;
        std::atomic<int32_t> lInstanceCount{0};  // instances alive now
        std::atomic<int32_t> lTotalCount{0};     // instances ever created
    };

    explicit CInstanceMonitor(const wchar_t* className);
    explicit CInstanceMonitor(ClassType* record);
    CInstanceMonitor(const CInstanceMonitor& other);
    // Assignment changes nothing: an object stays counted under its own record.
    CInstanceMonitor& operator=(const CInstanceMonitor&) { return *this; }
    ~CInstanceMonitor();

    // The record for a class name, created (with zero counts) and appended on first use.
    static ClassType* Resolve(const wchar_t* className);

    // Adds `created` objects made and takes `destroyed` objects gone at once.
    static void CountInstances(ClassType* record, int32_t created, int32_t destroyed) noexcept;

    // The report of every record, in order of first registration.
    static std::wstring DumpState();
    // Removes every record from the list.
    static void Cleanup();

protected:
    struct CountedByMaker {};
    // An object its maker counts (CountInstances), under the record it keeps for copies.
    CInstanceMonitor(ClassType* record, CountedByMaker) noexcept : m_pct(record) {}
    // Its destruction is then counted by its maker, not by the destructor.
    void ForgoCount() noexcept { m_pct = nullptr; }

private:
    ClassType* m_pct;  // null once ForgoCount was called
};

}  // namespace QxXmlLib10
