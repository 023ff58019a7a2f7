// Long storms of the generic grid: seeds from --seed upward, until --steps steps have run in
// all or --seconds have passed. Prints the first failure (which names its seed and step) and
// exits 1, or the number of steps and seeds that held.
//
//   plumb_grid_storm [--seed N] [--steps N] [--seconds N] [--seed-steps N]
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "GridStorm.h"

int main(int argc, char** argv) {
  uint64_t Seed = 1;
  long long Steps = 100000, Seconds = 0, SeedSteps = 5000;
  for (int I = 1; I + 1 < argc; I += 2) {
    long long V = std::atoll(argv[I + 1]);
    if (!std::strcmp(argv[I], "--seed"))
      Seed = uint64_t(V);
    else if (!std::strcmp(argv[I], "--steps"))
      Steps = V;
    else if (!std::strcmp(argv[I], "--seconds"))
      Seconds = V;
    else if (!std::strcmp(argv[I], "--seed-steps"))
      SeedSteps = V;
    else {
      std::cerr
          << "usage: plumb_grid_storm [--seed N] [--steps N] [--seconds N] [--seed-steps N]\n";
      return 2;
    }
  }
  auto Start = std::chrono::steady_clock::now();
  long long Done = 0, Seeds = 0;
  for (; Done < Steps; ++Seed, ++Seeds) {
    if (Seconds > 0 && std::chrono::steady_clock::now() - Start > std::chrono::seconds(Seconds))
      break;
    int N = int(std::min(SeedSteps, Steps - Done));
    std::string Report = plumb::test::RunGridStorm(Seed, N);
    if (!Report.empty()) {
      std::cout << Report << "reproduce: plumb_grid_storm --seed " << Seed << " --steps " << N
                << " --seed-steps " << N << "\n";
      return 1;
    }
    Done += N;
  }
  std::cout << "grid storm: " << Done << " steps over " << Seeds << " seeds held\n";
  return 0;
}
