// libFuzzer target for the form-stream reader. Every input is read twice:
//  - into a new root: a stream that reads must write and read back to the same text;
//  - into an existing form: a stream that fails must leave the form as it was.
// Anything but EReadError escaping, a sanitizer report or a broken promise above is a crash.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/Exceptions.h"
#include "stream_fixtures.h"

using namespace plumb;
using namespace plumb::fixture;

namespace {

// Every component of the form has a width list: a read that fails can put a list's values
// back, but not its absence.
TSampleForm* MakeForm() {
  auto* F = new TSampleForm(nullptr);
  F->SetName("Form1");
  auto* C = new TSample(F);
  C->SetName("Child1");
  auto* Inner = new TSample(C);
  Inner->SetName("Inner");
  F->SetCaption("form");
  F->SetBuddy(Inner);
  F->GetLines()->SetText("a\nb\n");
  F->GetSteps()->Add()->SetCaption("step");
  F->GetSteps()->GetItem(0)->SetTarget(C);
  F->OnChange.Assign([](TObject*) {}, "DoChange");
  for (TSample* S : {static_cast<TSample*>(F), C, Inner}) S->SetColWidths(0, 40);
  return F;
}

void CheckNewRoot(const std::string& Text) {
  TComponent* C = nullptr;
  try {
    C = LoadComponentFromString(Text);
  } catch (const EReadError&) {
    return;
  }
  std::string Out = SaveComponentToString(C);
  TComponent* D = LoadComponentFromString(Out);
  if (SaveComponentToString(D) != Out) abort();
  D->Free();
  C->Free();
}

void CheckExistingForm(const std::string& Text) {
  TSampleForm* F = MakeForm();
  std::string Before = SaveComponentToString(F);
  try {
    LoadComponentFromString(Text, F);
  } catch (const EReadError&) {
    if (SaveComponentToString(F) != Before) abort();
  }
  F->Free();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const bool Registered = (RegisterFixtureClasses(), true);
  (void)Registered;
  std::string Text(reinterpret_cast<const char*>(Data), Size);
  CheckNewRoot(Text);
  CheckExistingForm(Text);
  return 0;
}
