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

// The way library classes do it: the record resolved once, then passed.
class CTestMonitoredResolved : CInstanceMonitor {
public:
    CTestMonitoredResolved() : CInstanceMonitor(Record()) {}
    static CInstanceMonitor::ClassType* Record() {
        static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CTestMonitoredResolved");
        return record;
    }
};

// A second one, for a record that has no live instance when the list is cleaned up.
class CTestMonitoredIdle : CInstanceMonitor {
public:
    CTestMonitoredIdle() : CInstanceMonitor(Record()) {}
    static CInstanceMonitor::ClassType* Record() {
        static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CTestMonitoredIdle");
        return record;
    }
};

// The dump's line for a class, or "" when it has none.
std::wstring LineOf(const std::wstring& className) {
    const std::wstring dump = CInstanceMonitor::DumpState();
    size_t start = dump.find(L'\n') + 1;
    while (start < dump.size()) {
        size_t end = dump.find(L'\n', start);
        if (end == std::wstring::npos) end = dump.size();
        const std::wstring line = dump.substr(start, end - start);
        if (line.size() > 4 && line.compare(4, className.size() + 3, className + L" = ") == 0) return line;
        start = end + 1;
    }
    return std::wstring();
}

}  // namespace

TEST(InstanceMonitorTest, LiveAndTotalCountsInTheDump) {
    auto first = std::make_unique<CNamed>(L"CTestMonitoredA");
    auto second = std::make_unique<CNamed>(L"CTestMonitoredA");
    EXPECT_EQ(LineOf(L"CTestMonitoredA"), L"--> CTestMonitoredA = 2/2");
    first.reset();
    EXPECT_EQ(LineOf(L"CTestMonitoredA"), L"--> CTestMonitoredA = 1/2");
    second.reset();
    EXPECT_EQ(LineOf(L"CTestMonitoredA"), L"    CTestMonitoredA = 0/2");
}

TEST(InstanceMonitorTest, DumpLayout) {
    CNamed x(L"CTestMonitoredLayoutX");
    { CNamed y(L"CTestMonitoredLayoutY"); }
    const std::wstring dump = CInstanceMonitor::DumpState();
    ASSERT_EQ(dump.compare(0, std::wcslen(kHeader), kHeader), 0) << "the header line comes first";
    // Records in order of first registration, one "\n" between lines, none after the last.
    const std::wstring tail = L"--> CTestMonitoredLayoutX = 1/1\n    CTestMonitoredLayoutY = 0/1";
    ASSERT_GE(dump.size(), tail.size());
    EXPECT_EQ(dump.substr(dump.size() - tail.size()), tail);
    EXPECT_EQ(dump.find(L"\n\n"), std::wstring::npos);
}

TEST(InstanceMonitorTest, NamesAreCaseSensitive) {
    CNamed lower(L"CTestMonitoredcase");
    CNamed upper(L"CTestMonitoredCASE");
    EXPECT_EQ(LineOf(L"CTestMonitoredcase"), L"--> CTestMonitoredcase = 1/1");
    EXPECT_EQ(LineOf(L"CTestMonitoredCASE"), L"--> CTestMonitoredCASE = 1/1");
}

TEST(InstanceMonitorTest, CopiesRegisterAndAssignmentDoesNot) {
    CTestMonitoredResolved original;
    const int32_t live = CTestMonitoredResolved::Record()->lInstanceCount;
    const int32_t total = CTestMonitoredResolved::Record()->lTotalCount;
    {
        CTestMonitoredResolved copy(original);
        EXPECT_EQ(CTestMonitoredResolved::Record()->lInstanceCount, live + 1);
        EXPECT_EQ(CTestMonitoredResolved::Record()->lTotalCount, total + 1);
        copy = original;
        original = copy;
        EXPECT_EQ(CTestMonitoredResolved::Record()->lInstanceCount, live + 1);
        EXPECT_EQ(CTestMonitoredResolved::Record()->lTotalCount, total + 1);
    }
    EXPECT_EQ(CTestMonitoredResolved::Record()->lInstanceCount, live);
    EXPECT_EQ(LineOf(L"CTestMonitoredResolved"),
              L"--> CTestMonitoredResolved = " + std::to_wstring(live) + L"/" + std::to_wstring(total + 1));
}

TEST(InstanceMonitorTest, ByNameAndByRecordShareOneRecord) {
    CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CTestMonitoredShared");
    EXPECT_EQ(CInstanceMonitor::Resolve(L"CTestMonitoredShared"), record);
    EXPECT_EQ(record->strClassName, L"CTestMonitoredShared");
    CNamed byName(L"CTestMonitoredShared");
    CInstanceMonitor byRecord(record);
    EXPECT_EQ(record->lInstanceCount, 2);
    EXPECT_EQ(record->lTotalCount, 2);
    EXPECT_EQ(LineOf(L"CTestMonitoredShared"), L"--> CTestMonitoredShared = 2/2");
}

TEST(InstanceMonitorTest, CountsFromManyThreads) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 5000; ++i) {
                CNamed named(L"CTestMonitoredThreads");
                CTestMonitoredResolved resolved;
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
            { CTestMonitoredIdle before; }  // resolved, and no instance left
            CTestMonitoredResolved living;     // one still alive across Cleanup
            CInstanceMonitor::Cleanup();
            bool ok = CInstanceMonitor::DumpState() == kHeader;
            // Classes that resolved their records before Cleanup still count safely.
            { CTestMonitoredIdle after; }
            { CTestMonitoredResolved another; }
            CNamed fresh(L"CTestMonitoredAfterCleanup");
            ok = ok && CInstanceMonitor::DumpState() ==
                           std::wstring(kHeader) + L"--> CTestMonitoredAfterCleanup = 1/1";
            std::_Exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
