// BenchSupport.h - timing shared by the benchmarks that compare against a reference parsed in
// the same run.
//
//   qxxml_bench::Times t = qxxml_bench::Measure([&] { LoadDocument(); });
//   state.counters["vs_expat"] = expatTimes.cpu / t.cpu;
#pragma once

#include <chrono>
#include <ctime>

namespace qxxml_bench {

// Wall-clock and process CPU seconds (CPU time includes the kernel's work for page faults
// and file reads, and stays meaningful on a machine shared with other jobs).
struct Times {
    double wall = 0;
    double cpu = 0;
    Times& operator+=(const Times& other) {
        wall += other.wall;
        cpu += other.cpu;
        return *this;
    }
};

inline double CpuNow() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

template <class F>
Times Measure(F&& work) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point wall = Clock::now();
    const double cpu = CpuNow();
    work();
    return Times{std::chrono::duration<double>(Clock::now() - wall).count(), CpuNow() - cpu};
}

}  // namespace qxxml_bench
