// OverlappedModes.h - running tests of overlapped file I/O in each mode the platform layer
// has (the kernel's asynchronous transfers, and the synchronous fallback), and counting the
// threads of the process to show that neither starts one (on Windows: by thread id, from a
// snapshot of the system's threads).
//
//   class MyTest : public qxxml_test::OverlappedModeTest {};
//   TEST_P(MyTest, Something) { ... }       // runs with the mode forced, restored afterwards
//   INSTANTIATE_OVERLAPPED_MODES(MyTest);
//
//   const std::vector<std::string> before = qxxml_test::ThreadsBesidesIoWorkers();
#pragma once

#include <qxxml/platform/Platform.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>
#if defined(_WIN32)
// The base API only: <windows.h> would bring <winuser.h>, whose macros rename names the
// tests use (GetMessage, GetClassInfo); and no min and max macros.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windef.h>
#include <winbase.h>
#include <tlhelp32.h>
#else
#include <dirent.h>
#include <fstream>
#include <sstream>
#endif

namespace qxxml_test {

#if defined(_WIN32)
// The ids of this process's threads. Windows makes its overlapped transfers in the kernel,
// with no thread of the process.
inline std::vector<std::string> ThreadsBesidesIoWorkers() {
    std::vector<std::string> ids;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot list the threads (error " << ::GetLastError() << ")";
        return ids;
    }
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ids.push_back(std::to_string(entry.th32ThreadID));
    ::CloseHandle(snapshot);
    return ids;
}
#else
// True for a kernel I/O worker: named "iou-...", or (in the instant after the kernel has
// made it and before it has named itself, when it still carries the process's name) marked
// PF_IO_WORKER (0x10) in the kernel flags, the ninth field of its stat line.
inline bool IsKernelIoWorker(const std::string& task, const std::string& name) {
    if (name.compare(0, 4, "iou-") == 0) return true;
    std::ifstream stat("/proc/self/task/" + task + "/stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) return false;
    std::istringstream fields(line.substr(line.rfind(')') + 1));  // from the third field on
    std::string skipped;
    for (int field = 3; field < 9; ++field) fields >> skipped;
    unsigned long flags = 0;
    return fields >> flags && (flags & 0x10) != 0;
}

// The names of this process's threads, except the kernel's io_uring workers: those do
// transfers for the kernel, as the system's own I/O threads do on Windows, and are not
// threads of the process's making.
inline std::vector<std::string> ThreadsBesidesIoWorkers() {
    std::vector<std::string> names;
    DIR* tasks = ::opendir("/proc/self/task");
    if (tasks == nullptr) {
        ADD_FAILURE() << "cannot list /proc/self/task";
        return names;
    }
    while (const dirent* entry = ::readdir(tasks)) {
        if (entry->d_name[0] == '.') continue;
        std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
        std::string name;
        if (!std::getline(comm, name)) continue;  // the thread has just ended
        if (!IsKernelIoWorker(entry->d_name, name)) names.push_back(name + "(" + entry->d_name + ")");
    }
    ::closedir(tasks);
    return names;
}
#endif

inline std::string Join(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += name + " ";
    return text;
}

// A test run once per overlapped mode; the mode is forced for the test and restored after.
// A mode the system lacks (the kernel's, where it offers no asynchronous transfers) is skipped.
class OverlappedModeTest : public ::testing::TestWithParam<QxXmlLib10::Platform::OverlappedMode> {
protected:
    void SetUp() override {
        m_previous = QxXmlLib10::Platform::GetOverlappedMode();
        if (!QxXmlLib10::Platform::SetOverlappedModeForTesting(GetParam()))
            GTEST_SKIP() << "this system has no such overlapped mode";
    }
    void TearDown() override { QxXmlLib10::Platform::SetOverlappedModeForTesting(m_previous); }

private:
    QxXmlLib10::Platform::OverlappedMode m_previous = QxXmlLib10::Platform::OverlappedMode::Synchronous;
};

inline std::string OverlappedModeName(const ::testing::TestParamInfo<QxXmlLib10::Platform::OverlappedMode>& info) {
    return info.param == QxXmlLib10::Platform::OverlappedMode::Kernel ? "Kernel" : "Synchronous";
}

}  // namespace qxxml_test

#define INSTANTIATE_OVERLAPPED_MODES(Fixture)                                                              \
    INSTANTIATE_TEST_SUITE_P(Modes, Fixture,                                                               \
                             ::testing::Values(QxXmlLib10::Platform::OverlappedMode::Kernel,               \
                                               QxXmlLib10::Platform::OverlappedMode::Synchronous),         \
                             ::qxxml_test::OverlappedModeName)
