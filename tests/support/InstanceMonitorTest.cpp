// CInstanceMonitor: per-class live/total counts and the text of DumpState.
// Every test counts under class names of its own, since the record list is process-wide.
#include <qxxml/support/InstanceMonitor.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

using namespace QxXmlLib10;

namespace {

const wchar_t kHeader[] = L"Instances of classes still in existence/Total Number of instances created\n";

// A monitored class counted under a name chosen at run time.
class CNamed : CInstanceMonitor {
public:
    explicit CNamed(const wchar_t* name) : CInstanceMonitor(name) {}
};

// The way library classes do it: the record resolved once, then passed. Two of them, for a
// record that has no live instance when the list is cleaned up.
template <int N>
class CResolved : CInstanceMonitor {
public:
    CResolved() : CInstanceMonitor(Record()) {}
    static CInstanceMonitor::ClassType* Record() {
        static CInstanceMonitor::ClassType* record =
            CInstanceMonitor::Resolve(N == 0 ? L"CTestMonitoredResolved" : L"CTestMonitoredIdle");
        return record;
    }
};

// The dump's line for a class, or "" when it has none.
std::wstring LineOf(const std::wstring& className) {
    const std::wstring dump = CInstanceMonitor::DumpState();
    const size_t at = dump.find(L" " + className + L" = ");
    if (at == std::wstring::npos || at < 4 || dump[at - 4] != L'\n') return std::wstring();
    return dump.substr(at - 3, dump.find(L'\n', at) - (at - 3));
}

}  // namespace

TEST(InstanceMonitorTest, LiveAndTotalCountsInTheDump) {
    auto first = std::make_unique<CNamed>(L"CTestMonitoredA");
    auto second = std::make_unique<CNamed>(L"CTestMonitoredA");
    CNamed upper(L"CTestMonitoreda");  // names are case-sensitive
    EXPECT_EQ(LineOf(L"CTestMonitoredA"), L"--> CTestMonitoredA = 2/2");
    first.reset();
    EXPECT_EQ(LineOf(L"CTestMonitoredA"), L"--> CTestMonitoredA = 1/2");
    second.reset();
    EXPECT_EQ(LineOf(L"CTestMonitoredA"), L"    CTestMonitoredA = 0/2");
    EXPECT_EQ(LineOf(L"CTestMonitoreda"), L"--> CTestMonitoreda = 1/1");

    // Records in order of first registration, one "\n" between lines, none after the last.
    { CNamed y(L"CTestMonitoredLayoutY"); }
    const std::wstring dump = CInstanceMonitor::DumpState();
    ASSERT_EQ(dump.compare(0, std::wcslen(kHeader), kHeader), 0) << "the header line comes first";
    const std::wstring tail = L"--> CTestMonitoreda = 1/1\n    CTestMonitoredLayoutY = 0/1";
    ASSERT_GE(dump.size(), tail.size());
    EXPECT_EQ(dump.substr(dump.size() - tail.size()), tail);
    EXPECT_EQ(dump.find(L"\n\n"), std::wstring::npos);
}

TEST(InstanceMonitorTest, CopiesRegisterAndAssignmentDoesNot) {
    CResolved<0> original;
    const int32_t live = CResolved<0>::Record()->lInstanceCount;
    const int32_t total = CResolved<0>::Record()->lTotalCount;
    {
        CResolved<0> copy(original);
        copy = original;
        original = copy;
        EXPECT_EQ(CResolved<0>::Record()->lInstanceCount, live + 1);
        EXPECT_EQ(CResolved<0>::Record()->lTotalCount, total + 1);
    }
    EXPECT_EQ(LineOf(L"CTestMonitoredResolved"),
              L"--> CTestMonitoredResolved = " + std::to_wstring(live) + L"/" + std::to_wstring(total + 1));

    // By name and by record share one record.
    CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CTestMonitoredShared");
    EXPECT_EQ(CInstanceMonitor::Resolve(L"CTestMonitoredShared"), record);
    EXPECT_EQ(record->strClassName, L"CTestMonitoredShared");
    CNamed byName(L"CTestMonitoredShared");
    CInstanceMonitor byRecord(record);
    EXPECT_EQ(LineOf(L"CTestMonitoredShared"), L"--> CTestMonitoredShared = 2/2");
}

TEST(InstanceMonitorTest, CountsFromManyThreads) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 5000; ++i) {
                CNamed named(L"CTestMonitoredThreads");
                CResolved<0> resolved;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(LineOf(L"CTestMonitoredThreads"), L"    CTestMonitoredThreads = 0/20000");
}

TEST(InstanceMonitorDeathTest, CleanupEmptiesTheListAndCachedRecordsStayUsable) {
    // In a child process: Cleanup changes process-wide state the other tests rely on.
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            { CResolved<1> before; }  // resolved, and no instance left
            CResolved<0> living;      // one still alive across Cleanup
            CInstanceMonitor::Cleanup();
            bool ok = CInstanceMonitor::DumpState() == kHeader;
            // Classes that resolved their records before Cleanup still count safely.
            { CResolved<1> after; }
            { CResolved<0> another; }
            CNamed fresh(L"CTestMonitoredAfterCleanup");
            ok = ok && CInstanceMonitor::DumpState() == std::wstring(kHeader) + L"--> CTestMonitoredAfterCleanup = 1/1";
            std::_Exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
