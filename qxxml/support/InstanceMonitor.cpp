#include <qxxml/support/InstanceMonitor.h>

#include <qxxml/platform/Platform.h>
#include <qxxml/support/QXCriticalSection.h>

#include <cassert>
#include <unordered_map>
#include <vector>

namespace QxXmlLib10 {

namespace {

// The class list and its lock. Built on first use and never destroyed, so monitored objects
// that outlive the library's own statics still find their records.
struct Registry {
    CQXCriticalSection m_cs;
    std::vector<CInstanceMonitor::ClassType*> ms_List;  // order of first registration
    std::unordered_map<std::wstring, CInstanceMonitor::ClassType*> byName;
    // Records taken off the list by Cleanup. Classes keep pointers to their records in
    // function-local statics, so a record is never freed: a class may still count objects
    // in it, at unload or after an explicit Cleanup.
    std::vector<CInstanceMonitor::ClassType*> retired;
};

Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

void AppendCounts(std::wstring& text, const CInstanceMonitor::ClassType& record) {
    const int32_t live = record.lInstanceCount.load(std::memory_order_relaxed);
    text += live > 0 ? L"--> " : L"    ";
    text += record.strClassName;
    text += L" = ";
    text += std::to_wstring(live);
    text += L'/';
    text += std::to_wstring(record.lTotalCount.load(std::memory_order_relaxed));
}

void CountNewInstance(CInstanceMonitor::ClassType* record) {
    record->lInstanceCount.fetch_add(1, std::memory_order_relaxed);
    record->lTotalCount.fetch_add(1, std::memory_order_relaxed);
}

// Announces monitoring when the library loads and reports survivors when it unloads.
struct Tracker {
    Tracker() {
        TheRegistry();
        Platform::DebugOutput(L"Starting to track Class instances\n");
    }
    ~Tracker() {
        Platform::DebugOutput(L"Dumping Class instances\n");
        Platform::DebugOutput(CInstanceMonitor::DumpState().c_str());
        Platform::DebugOutput(L"\n");
        CInstanceMonitor::Cleanup();
    }
} g_tracker;

}  // namespace

CInstanceMonitor::ClassType* CInstanceMonitor::Resolve(const wchar_t* className) {
    Registry& registry = TheRegistry();
    CQXCriticalSection::Lock hold(registry.m_cs);
    auto found = registry.byName.find(className);
    if (found != registry.byName.end()) return found->second;
    auto* record = new ClassType(className);
    registry.ms_List.push_back(record);
    registry.byName.emplace(record->strClassName, record);
    return record;
}

CInstanceMonitor::CInstanceMonitor(const wchar_t* className) : m_pct(Resolve(className)) {
    CountNewInstance(m_pct);
}

CInstanceMonitor::CInstanceMonitor(ClassType* record) : m_pct(record) {
    assert(m_pct && "m_pct");
    CountNewInstance(m_pct);
}

CInstanceMonitor::CInstanceMonitor(const CInstanceMonitor& other) : m_pct(other.m_pct) {
    CountNewInstance(m_pct);
}

CInstanceMonitor::~CInstanceMonitor() {
    if (m_pct == nullptr) return;  // counted by its maker
    [[maybe_unused]] const int32_t left =
        m_pct->lInstanceCount.fetch_sub(1, std::memory_order_relaxed) - 1;
    assert(left >= 0 && "m_pct->lInstanceCount >= 0");
}

void CInstanceMonitor::CountInstances(ClassType* record, int32_t created, int32_t destroyed) noexcept {
    assert(record && "record");
    if (created != 0) {
        record->lInstanceCount.fetch_add(created, std::memory_order_relaxed);
        record->lTotalCount.fetch_add(created, std::memory_order_relaxed);
    }
    if (destroyed != 0) {
        [[maybe_unused]] const int32_t left =
            record->lInstanceCount.fetch_sub(destroyed, std::memory_order_relaxed) - destroyed;
        assert(left >= 0 && "record->lInstanceCount >= 0");
    }
}

std::wstring CInstanceMonitor::DumpState() {
    Registry& registry = TheRegistry();
    CQXCriticalSection::Lock hold(registry.m_cs);
    std::wstring text = L"Instances of classes still in existence/Total Number of instances created\n";
    for (size_t i = 0; i < registry.ms_List.size(); ++i) {
        if (i) text += L'\n';
        AppendCounts(text, *registry.ms_List[i]);
    }
    return text;
}

void CInstanceMonitor::Cleanup() {
    Registry& registry = TheRegistry();
    CQXCriticalSection::Lock hold(registry.m_cs);
    registry.retired.insert(registry.retired.end(), registry.ms_List.begin(), registry.ms_List.end());
    registry.ms_List.clear();
    registry.byName.clear();
}

}  // namespace QxXmlLib10
