#pragma once
// The main of a long-storm program: seeds from --seed upward, until --steps steps have run in
// all or --seconds have passed. Prints the first failure (which names its seed and step) with
// the command that reproduces it and returns 1, or the steps and seeds that held.
//
//   <program> [--seed N] [--steps N] [--seconds N] [--seed-steps N]
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace plumb::test {

inline int StormMain(int argc, char** argv, const char* Name,
                     std::string (*Run)(uint64_t Seed, int Steps)) {
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
      std::cerr << "usage: " << Name << " [--seed N] [--steps N] [--seconds N] [--seed-steps N]\n";
      return 2;
    }
  }
  auto Start = std::chrono::steady_clock::now();
  long long Done = 0, Seeds = 0;
  for (; Done < Steps; ++Seed, ++Seeds) {
    if (Seconds > 0 && std::chrono::steady_clock::now() - Start > std::chrono::seconds(Seconds))
      break;
    int N = int(std::min(SeedSteps, Steps - Done));
    std::string Report = Run(Seed, N);
    if (!Report.empty()) {
      std::cout << Report << "reproduce: " << Name << " --seed " << Seed << " --steps " << N
                << " --seed-steps " << N << "\n";
      return 1;
    }
    Done += N;
  }
  std::cout << Name << ": " << Done << " steps over " << Seeds << " seeds held\n";
  return 0;
}

}  // namespace plumb::test
