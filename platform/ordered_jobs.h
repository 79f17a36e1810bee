// ordered_jobs.h - work decoded on worker threads and taken up in order on
// the calling thread, so the two overlap: set-up decodes pictures and figure
// frames while the main thread (which owns the GL context) uploads them.
//
//   std::vector<Decoded> slots(count);
//   runOrderedJobs(count,
//       [&](int i) { slots[i] = decode(i); },           // any worker, no GL
//       [&](int i) { upload(slots[i]); },               // calling thread, i in order
//       [&] { reportProgress(...); });                  // while it waits
#pragma once
#include <functional>

// Runs produce(i) for every i in 0..count-1 on worker threads, claimed in
// index order, while the calling thread runs consume(i) for each i in order
// as soon as produce(i) has finished, and idle() before each job and while
// it waits. Workers run at most four times their number of jobs ahead of
// the consumer, which bounds what waits in memory. produce must not throw.
// Returns when every job is consumed and the workers ended.
void runOrderedJobs(int count, const std::function<void(int)>& produce, const std::function<void(int)>& consume,
                    const std::function<void()>& idle);
