// The PlumbGrid designer: loads the PlumbGrid package from its file, as a design environment
// does, and designs a form stream with it: the palette page "Grids", the form, and an object
// inspector that is itself a TPlumbGrid. With a display it opens a real window; without one
// (or with --snapshot) it lays the designer out on a headless desktop, chooses a column, drops
// down the inspector's list of field names and writes a picture, printing its path.
//
//   plumbgrid-designer [FORM] [--package FILE] [--database FILE] [--snapshot FILE]
//                      [--save FILE] [--headless]
//
// FORM is a form stream to open; without it the designer opens a customer form on the sample
// database (or --database), saved by Ctrl+S as CustomerForm.json in the current folder.
// --save writes the form stream, as the designer holds it, to FILE and ends.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "DefaultForm.h"
#include "DesignerWindow.h"
#include "Snapshot.h"
#include "backends/headless/Headless.h"
#include "design/Packages.h"
#ifdef PLUMB_HAVE_SDL
#include "backends/sdl/SDLBackend.h"
#endif

using namespace plumb;
using designer::TDesignerWindow;

namespace {

struct TOptions {
  std::string Form;
  std::string Package = PLUMB_GRID_PACKAGE;
  std::string Database = PLUMB_SAMPLE_DB;
  std::string Snapshot;
  std::string Save;
  bool Headless = false;
};

std::string AbsolutePath(const std::string& Path) {
  std::error_code Ec;
  std::filesystem::path P = std::filesystem::absolute(Path, Ec);
  return Ec ? Path : P.string();
}

void OpenForm(TDesignerWindow* Window, const TOptions& O) {
  if (O.Form.empty())
    Window->Open(designer::DefaultFormStream(O.Database), designer::DefaultFormFile);
  else
    Window->OpenFile(O.Form);
}

int RunHeadless(const TOptions& O) {
  THeadlessDesktop Desktop(designer::WindowWidth, designer::WindowHeight);
  auto Owned = std::make_unique<TDesignerWindow>(nullptr);
  TDesignerWindow* Window = Owned.get();
  Window->Show();
  OpenForm(Window, O);
  Desktop.RunUntilIdle();
  int Result = 0;
  if (!O.Save.empty()) {
    if (Window->Save(O.Save))
      std::cout << AbsolutePath(O.Save) << "\n";
    else
      Result = 1;
  }
  if (!O.Snapshot.empty() || O.Save.empty()) {
    std::string Path = AbsolutePath(O.Snapshot.empty() ? "plumbgrid-designer.png" : O.Snapshot);
    designer::PrepareSnapshotScene(Desktop, Window);
    if (Desktop.Snapshot(Path)) {
      std::cout << Path << "\n";
    } else {
      std::cerr << "plumbgrid-designer: cannot write " << Path << "\n";
      Result = 1;
    }
  }
  return Result;
}

#ifdef PLUMB_HAVE_SDL
int RunWindow(const TOptions& O) {
  TSDLBackend SDL;
  if (!SDL.Open("PlumbGrid Designer", designer::WindowWidth, designer::WindowHeight)) {
    std::cerr << "plumbgrid-designer: " << SDL.GetError() << "\n";
    return 1;
  }
  auto Window = std::make_unique<TDesignerWindow>(nullptr);
  Application->SetMainForm(Window.get());
  Window->Show();
  OpenForm(Window.get(), O);
  Application->Run();
  if (Window->GetSurface()->IsModified())
    std::cerr << "plumbgrid-designer: the form was changed and not saved\n";
  Application->SetMainForm(nullptr);
  Window.reset();
  SDL.Close();
  return 0;
}
#endif

bool ParseOptions(int argc, char** argv, TOptions& O) {
  for (int I = 1; I < argc; ++I) {
    auto Value = [&](std::string& Into) {
      if (I + 1 >= argc) return false;
      Into = argv[++I];
      return true;
    };
    std::string A = argv[I];
    bool Ok = true;
    if (A == "--headless")
      O.Headless = true;
    else if (A == "--package")
      Ok = Value(O.Package);
    else if (A == "--database")
      Ok = Value(O.Database);
    else if (A == "--snapshot" || A == "--save")
      Ok = Value(A == "--save" ? O.Save : O.Snapshot);
    else if (!A.empty() && A[0] != '-' && O.Form.empty())
      O.Form = A;
    else
      Ok = false;
    if (!Ok) return false;
  }
  // A picture or a saved stream is made without a window.
  O.Headless = O.Headless || !O.Snapshot.empty() || !O.Save.empty();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions O;
  if (!ParseOptions(argc, argv, O)) {
    std::cerr << "usage: plumbgrid-designer [FORM] [--package FILE] [--database FILE] "
                 "[--snapshot FILE] [--save FILE] [--headless]\n";
    return 2;
  }
  const TPackage* Package = nullptr;
  int Result = 1;
  try {
    Package = LoadPackage(O.Package);
#ifdef PLUMB_HAVE_SDL
    if (!O.Headless && SDLDisplayAvailable())
      Result = RunWindow(O);
    else
#endif
      Result = RunHeadless(O);
  } catch (const std::exception& E) {
    std::cerr << "plumbgrid-designer: " << E.what() << "\n";
  }
  // Every instance of the package's classes went with the window.
  if (Package) UnloadPackage(Package);
  return Result;
}
