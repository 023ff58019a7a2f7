#pragma once
// A seeded storm: steps drawn at random from a table of weighted actions, with a check of the
// invariants after every step. The same seed makes the same steps, so a failing seed printed
// with its step number reproduces the failure alone.
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace plumb::test {

class TStorm {
 public:
  // An action does one thing and says what it did, for the report.
  using TAction = std::function<std::string()>;
  // Empty when everything holds, else what does not.
  using TCheck = std::function<std::string()>;

  explicit TStorm(uint64_t Seed) : FSeed(Seed), FRandom(Seed) {}

  void Add(int Weight, TAction Action) {
    FTotalWeight += Weight;
    FActions.push_back({Weight, std::move(Action)});
  }

  // Runs up to Steps steps; empty when the check held after each, else a report naming the
  // seed, the step and the steps that led there.
  std::string Run(int Steps, const TCheck& Check) {
    for (FStep = 1; FStep <= Steps; ++FStep) {
      std::string Done, Fault;
      try {
        Done = Pick()();
        Fault = Check();
      } catch (const std::exception& E) {
        Fault = std::string("exception escaped: ") + E.what();
      }
      Remember(Done);
      if (!Fault.empty()) return Report(Fault);
    }
    return "";
  }

  int Step() const { return FStep; }
  // A number from Lo to Hi, both included.
  int Int(int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(FRandom); }
  bool Chance(int Percent) { return Int(1, 100) <= Percent; }
  template <class T>
  const T& Pick(const std::vector<T>& From) {
    return From[size_t(Int(0, int(From.size()) - 1))];
  }

 private:
  struct TEntry {
    int Weight;
    TAction Action;
  };

  TAction& Pick() {
    int R = Int(1, FTotalWeight);
    for (TEntry& E : FActions)
      if ((R -= E.Weight) <= 0) return E.Action;
    return FActions.back().Action;
  }
  void Remember(const std::string& Done) {
    FRecent.push_back("  step " + std::to_string(FStep) + ": " + Done);
    if (FRecent.size() > 16) FRecent.pop_front();
  }
  std::string Report(const std::string& Fault) const {
    std::string R = "seed " + std::to_string(FSeed) + " failed at step " + std::to_string(FStep) +
                    ": " + Fault + "\nthe last steps:\n";
    for (const std::string& S : FRecent) R += S + "\n";
    return R;
  }

  uint64_t FSeed;
  std::mt19937_64 FRandom;
  std::vector<TEntry> FActions;
  int FTotalWeight = 0;
  int FStep = 0;
  std::deque<std::string> FRecent;
};

}  // namespace plumb::test
