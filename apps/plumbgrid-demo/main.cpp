// The PlumbGrid demo. With a display it shows a grid of 1,000 rows in a real window; without
// one it lays the same form out on a headless desktop, opens the editor on a scrolled row and
// writes a snapshot, printing the file's path.
//
//   plumbgrid-demo [--headless] [--snapshot FILE] [--showcase FILE]
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "Showcase.h"
#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "grid/TextGrid.h"
#ifdef PLUMB_HAVE_SDL
#include "backends/sdl/SDLBackend.h"
#endif

using namespace plumb;

namespace {

constexpr Integer FormWidth = 720, FormHeight = 520;

std::string AbsolutePath(const std::string& Path) {
  std::error_code Ec;
  std::filesystem::path P = std::filesystem::absolute(Path, Ec);
  return Ec ? Path : P.string();
}

TForm* MakeDemoForm() {
  auto* Form = new TForm(nullptr);
  Form->SetCaption("PlumbGrid");
  Form->SetBounds(0, 0, FormWidth, FormHeight);
  auto* Grid = new TTextGrid(Form);
  Grid->SetName("Grid");
  Grid->SetParent(Form);
  Grid->SetRowCount(1000);
  Grid->SetBounds(12, 12, FormWidth - 24, FormHeight - 24);
  Grid->SetColWidths(0, 180);
  return Form;
}

int RunHeadless(const std::string& Path) {
  THeadlessDesktop Desktop(FormWidth, FormHeight);
  TForm* Form = MakeDemoForm();
  Form->Show();
  auto* Grid = static_cast<TTextGrid*>(Form->FindComponent("Grid"));
  Grid->SetFocus();
  Grid->SetRow(20);
  Desktop.RunUntilIdle();
  for (int I = 0; I < 37; ++I) {  // down a row at a time: the view scrolls as a user sees it
    Desktop.KeyStroke(VK_DOWN);
    Desktop.RunUntilIdle();
  }
  Desktop.TypeText("Edited in place");
  Desktop.RunUntilIdle();
  std::string Absolute = AbsolutePath(Path);
  bool Saved = Desktop.SnapshotWindow(Form->GetHandle(), Absolute);
  delete Form;
  if (!Saved) {
    std::cerr << "plumbgrid-demo: cannot write " << Absolute << "\n";
    return 1;
  }
  std::cout << Absolute << "\n";
  return 0;
}

#ifdef PLUMB_HAVE_SDL
int RunWindow() {
  TSDLBackend SDL;
  if (!SDL.Open("PlumbGrid", FormWidth, FormHeight)) {
    std::cerr << "plumbgrid-demo: " << SDL.GetError() << "\n";
    return 1;
  }
  TForm* Form = MakeDemoForm();
  Application->SetMainForm(Form);
  Form->Show();
  static_cast<TWinControl*>(Form->FindComponent("Grid"))->SetFocus();
  Application->Run();
  delete Form;
  SDL.Close();
  return 0;
}
#endif

int RunShowcase(const std::string& Path) {
  TSurface Surface(ShowcaseWidth, ShowcaseHeight, 0xFFFFFFFFu);
  TCanvas Canvas(&Surface);
  PaintShowcase(Canvas);
  std::string Absolute = AbsolutePath(Path);
  if (!SavePng(Surface, Absolute)) {
    std::cerr << "plumbgrid-demo: cannot write " << Absolute << "\n";
    return 1;
  }
  std::cout << Absolute << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool Headless = false;
  std::string Snapshot = "plumbgrid-demo.png";
  for (int I = 1; I < argc; ++I) {
    if (!std::strcmp(argv[I], "--headless")) {
      Headless = true;
    } else if (!std::strcmp(argv[I], "--snapshot") && I + 1 < argc) {
      Snapshot = argv[++I];
      Headless = true;
    } else if (!std::strcmp(argv[I], "--showcase") && I + 1 < argc) {
      return RunShowcase(argv[++I]);
    } else {
      std::cerr << "usage: plumbgrid-demo [--headless] [--snapshot FILE] [--showcase FILE]\n";
      return 2;
    }
  }
#ifdef PLUMB_HAVE_SDL
  if (!Headless && SDLDisplayAvailable()) return RunWindow();
#endif
  return RunHeadless(Snapshot);
}
