// The resident memory a realistic collection of 1,000,000 cards takes, per
// card: the growth of the process's resident set (/proc/self/statm) from
// before the collection is built to after it is registered. Memory the
// allocator holds but no longer uses is handed back before each reading,
// so that the figure is what the collection keeps.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>
#include <stdexcept>

#include "realistic_collection.hpp"

namespace tavo::bench {
namespace {

constexpr std::size_t cards = 1000000;

// The resident set of this process in bytes.
double resident_bytes() {
  ::malloc_trim(0);
  std::ifstream statm("/proc/self/statm");
  std::size_t total_pages = 0;
  std::size_t resident_pages = 0;
  if (!(statm >> total_pages >> resident_pages)) {
    throw std::runtime_error("cannot read /proc/self/statm");
  }
  return static_cast<double>(resident_pages) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

void resident_bytes_per_card(benchmark::State& state) {
  double per_card = 0;
  for (auto _ : state) {
    const double before = resident_bytes();
    const RealisticSession session(1, cards);
    per_card = (resident_bytes() - before) / static_cast<double>(cards);
  }
  state.counters["bytes_per_card"] = per_card;
}
// One build tells all; building a million cards takes seconds.
BENCHMARK(resident_bytes_per_card)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(1);

}  // namespace
}  // namespace tavo::bench
