#pragma once

#include <QByteArray>

// How many files to read at once when the user did not say: a guess from
// the device that holds `path`.
//  - a spinning disk: 16, enough for it to order the requests by position
//    without one long queue starving the others;
//  - anything else (solid state, a virtual disk, a network or memory file
//    system): 64, as such devices answer many requests in parallel and a
//    network share hides its latency only with many in flight.
// Virtual disks often call themselves rotational; their host decides, so
// they count as "anything else".
int DeviceJobs(const QByteArray &path);

constexpr int SpinningDiskJobs = 16;
constexpr int ParallelDeviceJobs = 64;
