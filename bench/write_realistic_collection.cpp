// Stores a realistic collection in the application data directory
// ($TAVO_DATA_DIR), made at the benchmarks' moment with the seed of a
// session's first collection, so that a Python host registering it starts
// from the very state the C++ learning step benchmark starts from.
//
//   write_realistic_collection CARDS NAME
#include <exception>
#include <iostream>
#include <string>

#include "realistic_collection.hpp"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: write_realistic_collection CARDS NAME\n";
    return 2;
  }
  try {
    const tavo::bench::FrozenTime frozen;
    const auto kkv = tavo::bench::make_bench_manager();
    const std::string name = argv[2];
    tavo::bench::add_realistic_collection(*kkv, std::stoul(argv[1]), name);
    kkv->hc.dictionary_speichern_richtige_sammlung(name, tavo::None);
  } catch (const std::exception& error) {
    std::cerr << "write_realistic_collection: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
