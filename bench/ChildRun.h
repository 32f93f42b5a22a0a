#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs a piece of work in a child process of its own, so that its peak resident size is its
// own and not that of the run before it, and reports its time and that peak to a benchmark.
namespace bench {

struct ChildRun {
    bool ok = false;
    double seconds = 0; // the work's own time, as the child measured it
    double peakMB = 0;  // the child's peak resident size
};

// work runs in the child and says whether it did what it should; it may move start on past
// its own setting up, which is then not timed.
using ChildWork = std::function<bool(std::chrono::steady_clock::time_point& start)>;

inline ChildRun RunInChild(const ChildWork& work) {
    ChildRun run;
    int times[2];
    if (::pipe(times) != 0) {
        return run;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(times[0]);
        ::close(times[1]);
        return run;
    }
    if (pid == 0) {
        ::close(times[0]);
        auto start = std::chrono::steady_clock::now();
        const bool ok = work(start);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const bool told = ::write(times[1], &seconds, sizeof seconds) == sizeof seconds;
        ::_exit(ok && told ? 0 : 1);
    }
    ::close(times[1]);
    double seconds = 0;
    const bool heard = ::read(times[0], &seconds, sizeof seconds) == sizeof seconds;
    ::close(times[0]);
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid) {
        return run;
    }
    run.ok = heard && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.seconds = seconds;
    run.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
    return run;
}

// Each iteration of state runs work in a child; the time is the child's, and the counter
// peak_MB the highest peak of them.
inline void MeasureInChild(benchmark::State& state, const ChildWork& work) {
    double peak = 0;
    for (auto _ : state) {
        const ChildRun run = RunInChild(work);
        if (!run.ok) {
            state.SkipWithError("the run failed or gave the wrong result");
            return;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakMB);
    }
    state.counters["peak_MB"] = peak;
}

} // namespace bench
