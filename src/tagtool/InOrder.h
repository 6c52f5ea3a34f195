#pragma once

#include <QtGlobal>

#include <functional>

// Runs work(i) for every i below count on up to `jobs` threads and calls
// report(i) for each on the calling thread, in order. `stop` is asked on
// the calling thread between two files; once it says yes no file is
// started any more, the files already started finish and are reported,
// and the first file never started is returned (count when all ran). With
// jobs 1 the files run one after another on the calling thread, and stop
// is asked before each.
qsizetype RunInOrder(qsizetype count, int jobs, const std::function<void(qsizetype)> &work,
                     const std::function<void(qsizetype)> &report,
                     const std::function<bool()> &stop);
