// The PlumbGrid demo: customers of the sample database, the current one in a record grid. With
// a display it opens a real window; without one it lays the same form out on a headless
// desktop, chooses a customer, collapses a group, drops down a pick list and writes a
// snapshot, printing the file's path. It works on the user's own copy of the sample (--reset
// makes a fresh one). --report prints where the list and the grid lie once the window shows,
// for scripts that drive the real window.
//
//   plumbgrid-demo [--headless] [--snapshot FILE] [--showcase FILE] [--reset] [--report]
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

// The picture: customer 10 (who has notes and a photo) chosen in the list, the contact group
// collapsed, the editor open on the account's Active row with its pick list dropped down.
void PrepareSnapshot(THeadlessDesktop& Desktop, demo::TCustomerForm* Form) {
  demo::TCustomerList* List = Form->GetList();
  List->SetTopIndex(4);
  TRect Item = List->ItemRect(9);
  Desktop.ClickAt(List, Item.Left + 10, Item.Top + 2);
  TPlumbGrid* Grid = Form->GetGrid();
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
  auto* Form = new demo::TCustomerForm(nullptr, Database);
  Form->Show();
  PrepareSnapshot(Desktop, Form);
  std::string Absolute = AbsolutePath(Path);
  bool Saved = Desktop.Snapshot(Absolute);  // the whole screen: the list is a window of its own
  Form->Save();
  delete Form;
  if (!Saved) {
    std::cerr << "plumbgrid-demo: cannot write " << Absolute << "\n";
    return 1;
  }
  std::cout << Absolute << "\n";
  return 0;
}

#ifdef PLUMB_HAVE_SDL
// Where a script finds the first list line and the value cell of the grid's first row, in
// window coordinates, with the height of a line and of a row.
void Report(demo::TCustomerForm* Form) {
  demo::TCustomerList* List = Form->GetList();
  TPlumbGrid* Grid = Form->GetGrid();
  TPoint L = List->ClientToScreen(TPoint{0, 0}), G = Grid->ClientToScreen(TPoint{0, 0});
  TPoint F = Form->ClientToScreen(TPoint{0, 0});
  TRect Cell = Grid->CellRect(1, 0);
  std::cout << "ready list " << L.X - F.X + 20 << " " << L.Y - F.Y + List->GetItemHeight() / 2
            << " " << List->GetItemHeight() << " grid " << G.X - F.X + Cell.Left + 20 << " "
            << G.Y - F.Y + Cell.Top + Cell.Height() / 2 << " " << Grid->GetRowHeight() + 1
            << std::endl;
}

int RunWindow(const std::string& Database, bool WithReport) {
  TSDLBackend SDL;
  if (!SDL.Open("PlumbGrid \xE2\x80\x94 Customers", FormWidth, FormHeight)) {
    std::cerr << "plumbgrid-demo: " << SDL.GetError() << "\n";
    return 1;
  }
  auto* Form = new demo::TCustomerForm(nullptr, Database);
  Application->SetMainForm(Form);
  Form->Show();
  Form->GetGrid()->SetFocus();
  if (WithReport) {
    Application->ProcessMessages();
    SDL.Present();
    Report(Form);
  }
  Application->Run();
  Form->Save();  // whatever is pending when the loop ends stays in the database
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
  bool Headless = false, Fresh = false, WithReport = false;
  std::string Snapshot = "plumbgrid-demo.png";
  for (int I = 1; I < argc; ++I) {
    if (!std::strcmp(argv[I], "--headless")) {
      Headless = true;
    } else if (!std::strcmp(argv[I], "--reset")) {
      Fresh = true;
    } else if (!std::strcmp(argv[I], "--report")) {
      WithReport = true;
    } else if (!std::strcmp(argv[I], "--snapshot") && I + 1 < argc) {
      Snapshot = argv[++I];
      Headless = true;
    } else if (!std::strcmp(argv[I], "--showcase") && I + 1 < argc) {
      return RunShowcase(argv[++I]);
    } else {
      std::cerr << "usage: plumbgrid-demo [--headless] [--snapshot FILE] [--showcase FILE] "
                   "[--reset] [--report]\n";
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
    if (!Headless && SDLDisplayAvailable()) return RunWindow(Database, WithReport);
#endif
    (void)WithReport;
    return RunHeadless(Database, Snapshot);
  } catch (const std::exception& E) {
    std::cerr << "plumbgrid-demo: " << E.what() << "\n";
    return 1;
  }
}
