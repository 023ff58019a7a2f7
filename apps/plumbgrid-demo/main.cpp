// Renders the canvas showcase to a PNG file: the path given, else ./plumbgrid-showcase.png,
// and prints the file's absolute path.
#include <filesystem>
#include <iostream>

#include "Showcase.h"

int main(int argc, char** argv) {
  using namespace plumb;
  std::filesystem::path Path = argc > 1 ? argv[1] : "plumbgrid-showcase.png";
  TSurface Surface(ShowcaseWidth, ShowcaseHeight, 0xFFFFFFFFu);
  TCanvas Canvas(&Surface);
  PaintShowcase(Canvas);
  std::error_code Ec;
  std::filesystem::path Absolute = std::filesystem::absolute(Path, Ec);
  if (Ec) Absolute = Path;
  if (!SavePng(Surface, Absolute.string())) {
    std::cerr << "plumbgrid-demo: cannot write " << Absolute.string() << "\n";
    return 1;
  }
  std::cout << Absolute.string() << "\n";
  return 0;
}
