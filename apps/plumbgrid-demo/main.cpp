// The PlumbGrid demo: a record grid on a customer of the sample database. With a display it
// opens a real window; without one it lays the same form out on a headless desktop, collapses
// a group, opens the editor on a value and writes a snapshot, printing the file's path. It
// works on the user's own copy of the sample (--reset makes a fresh one).
//
//   plumbgrid-demo [--headless] [--snapshot FILE] [--showcase FILE] [--reset]
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "CustomerForm.h"
#include "Showcase.h"
#include "backends/headless/Headless.h"
#ifdef PLUMB_HAVE_SDL
#include "backends/sdl/SDLBackend.h"
#endif

using namespace plumb;
using demo::FormHeight;
using demo::FormWidth;

namespace {

std::string AbsolutePath(const std::string& Path) {
  std::error_code Ec;
  std::filesystem::path P = std::filesystem::absolute(Path, Ec);
  return Ec ? Path : P.string();
}

TPlumbGrid* GridOf(TForm* Form) {
  return static_cast<TPlumbGrid*>(Form->FindComponent("Grid"));
}

// The picture: customer 10 (who has notes and a photo), the contact group collapsed, the
// editor open on the account's Active row with its pick list dropped down.
void PrepareSnapshot(THeadlessDesktop& Desktop, TForm* Form) {
  auto* Customers = static_cast<TDataSet*>(Form->FindComponent("Customers"));
  Customers->Locate("id", Variant(10));
  TPlumbGrid* Grid = GridOf(Form);
  Grid->GetColumns()->GetColumn(Variant("Contact"))->SetExpanded(false);
  Grid->SetFocus();
  Grid->SetRow(Grid->GetColumns()->GetColumn(Variant("Active"))->GetIndex());
  Desktop.RunUntilIdle();
  Desktop.KeyStroke(VK_F2);
  Desktop.KeyStroke(VK_DOWN, {ssAlt});
  Desktop.RunUntilIdle();
}

int RunHeadless(const std::string& Database, const std::string& Path) {
  THeadlessDesktop Desktop(FormWidth, FormHeight);
  TForm* Form = demo::MakeCustomerForm(Database);
  Form->Show();
  PrepareSnapshot(Desktop, Form);
  std::string Absolute = AbsolutePath(Path);
  bool Saved = Desktop.Snapshot(Absolute);  // the whole screen: the list is a window of its own
  delete Form;
  if (!Saved) {
    std::cerr << "plumbgrid-demo: cannot write " << Absolute << "\n";
    return 1;
  }
  std::cout << Absolute << "\n";
  return 0;
}

#ifdef PLUMB_HAVE_SDL
int RunWindow(const std::string& Database) {
  TSDLBackend SDL;
  if (!SDL.Open("PlumbGrid \xE2\x80\x94 Customers", FormWidth, FormHeight)) {
    std::cerr << "plumbgrid-demo: " << SDL.GetError() << "\n";
    return 1;
  }
  TForm* Form = demo::MakeCustomerForm(Database);
  Application->SetMainForm(Form);
  Form->Show();
  GridOf(Form)->SetFocus();
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
  bool Headless = false, Fresh = false;
  std::string Snapshot = "plumbgrid-demo.png";
  for (int I = 1; I < argc; ++I) {
    if (!std::strcmp(argv[I], "--headless")) {
      Headless = true;
    } else if (!std::strcmp(argv[I], "--reset")) {
      Fresh = true;
    } else if (!std::strcmp(argv[I], "--snapshot") && I + 1 < argc) {
      Snapshot = argv[++I];
      Headless = true;
    } else if (!std::strcmp(argv[I], "--showcase") && I + 1 < argc) {
      return RunShowcase(argv[++I]);
    } else {
      std::cerr << "usage: plumbgrid-demo [--headless] [--snapshot FILE] [--showcase FILE] "
                   "[--reset]\n";
      return 2;
    }
  }
  std::string Error;
  std::string Database = demo::WorkingDatabase(Fresh, Error);
  if (Database.empty()) {
    std::cerr << "plumbgrid-demo: " << Error << "\n";
    return 1;
  }
  try {
#ifdef PLUMB_HAVE_SDL
    if (!Headless && SDLDisplayAvailable()) return RunWindow(Database);
#endif
    return RunHeadless(Database, Snapshot);
  } catch (const std::exception& E) {
    std::cerr << "plumbgrid-demo: " << E.what() << "\n";
    return 1;
  }
}
