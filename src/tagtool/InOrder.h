#pragma once

#include <QtGlobal>

#include <functional>

// Runs work(i) for every i below count on up to `jobs` threads and calls
// report(i) for each on the calling thread, in order. `stop` is asked on
// the calling thread between two files; once it says yes no file is
// started any more, the files already started finish and are reported,
// and the first file never started is returned (count when all ran). With
// jobs 1 the files run one after another on the calling thread, and stop
// is asked before each. `idle`, when given, is called on the calling thread
// whenever it is about to wait: before each file when they run one after
// another, and before waiting for a file still running otherwise. Output
// kept back goes out then, so none waits in a buffer while the disk works.
qsizetype RunInOrder(qsizetype count, int jobs, const std::function<void(qsizetype)> &work,
                     const std::function<void(qsizetype)> &report,
                     const std::function<bool()> &stop,
                     const std::function<void()> &idle = std::function<void()>());
