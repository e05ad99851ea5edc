// The processor time of the calling thread, for benchmarks that time two pieces of work side by
// side in each iteration and report how many times one takes the other.
#ifndef BENCH_CPU_CLOCK_H
#define BENCH_CPU_CLOCK_H

#include <time.h>

namespace drawgen {

inline double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Adds the time `work` takes to `total`.
template <typename Work>
void Timed(double& total, Work&& work) {
  const double start = ThreadSeconds();
  work();
  total += ThreadSeconds() - start;
}

}  // namespace drawgen

#endif  // BENCH_CPU_CLOCK_H
