// The main program of every benchmark: runs the cases with the module's
// clock frozen at the benchmarks' moment and its random source seeded, so
// that every run sees the same collections and makes the same choices.
#include <benchmark/benchmark.h>

#include "realistic_collection.hpp"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const tavo::bench::FrozenTime frozen;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
