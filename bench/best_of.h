#pragma once
// The timing the benchmarks share: the best of a few runs, the least disturbed by whatever
// else the machine is doing.

#include <QElapsedTimer>
#include <algorithm>
#include <functional>

using Step = std::function<void()>;

// Best of three runs, in ms; `undo` (untimed) puts the database back after each.
inline double best(const Step &step, const Step &undo = {})
{
    double ms = 0;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        step();
        const double taken = t.nsecsElapsed() / 1e6;
        ms = run == 0 ? taken : std::min(ms, taken);
        if (undo)
            undo();
    }
    return ms;
}
