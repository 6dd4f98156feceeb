#pragma once
// The timing and memory readings the benchmarks share: the best of a few runs, the least
// disturbed by whatever else the machine is doing, with the processor time of that run, which
// other work on a shared machine does not stretch.

#include <QElapsedTimer>
#include <QFile>
#include <ctime>
#include <functional>
#include <limits>

using Step = std::function<void()>;

// The processor time the process has used, in ms.
inline double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Wall and processor time of one run, in ms.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

struct Runs {
    int timed = 3;
    // A first run that only warms the page cache; kept as the result when it takes seconds.
    bool warmUp = false;
    // A run longer than this ends the series: a step taking seconds runs once.
    double enoughMs = std::numeric_limits<double>::infinity();
};

// The run with the least wall time; `undo` (untimed) puts the database back after each run.
inline Timing bestOf(const Step &step, const Step &undo = {}, const Runs &runs = {})
{
    const auto once = [&] {
        const double cpu = cpuMs();
        QElapsedTimer t;
        t.start();
        step();
        const Timing taken{t.nsecsElapsed() / 1e6, cpuMs() - cpu};
        if (undo)
            undo();
        return taken;
    };
    if (runs.warmUp) {
        const Timing first = once();
        if (first.wall > runs.enoughMs)
            return first;
    }
    Timing best;
    for (int run = 0; run < runs.timed; ++run) {
        const Timing taken = once();
        if (run == 0 || taken.wall < best.wall)
            best = taken;
        if (taken.wall > runs.enoughMs)
            break;
    }
    return best;
}

// Best of three runs, in ms of wall time.
inline double best(const Step &step, const Step &undo = {}) { return bestOf(step, undo).wall; }

// Best of three runs; a step taking seconds runs once.
inline Timing timed(const Step &step, const Step &undo = {}) { return bestOf(step, undo, {.enoughMs = 2000}); }

// The processor time of one run of `step`, in ms.
inline double cpuMsOf(const Step &step)
{
    const double before = cpuMs();
    step();
    return cpuMs() - before;
}

// Resident memory now and its peak since the process started or the last resetPeakMemory(),
// in MB (VmRSS and VmHWM of /proc/self/status).
struct Memory {
    double rssMb = 0;
    double peakMb = 0;
};

inline Memory processMemoryMb()
{
    QFile status("/proc/self/status");
    Memory memory;
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                memory.rssMb = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
            if (line.startsWith("VmHWM:"))
                memory.peakMb = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
        }
    return memory;
}

// Starts the peak resident size afresh from the size now.
inline void resetPeakMemory()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
