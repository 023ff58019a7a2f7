#pragma once
// Thread CPU time in nanoseconds, for benchmarks that compare two operations in one run:
// other work on the machine must not tilt the comparison.
#include <ctime>

namespace plumb::bench {

inline double ThreadNanos() {
  timespec T;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return double(T.tv_sec) * 1e9 + double(T.tv_nsec);
}

}  // namespace plumb::bench
