#pragma once
// The component palette: pages of component classes, each with the image its button shows.
//
// A package's Register puts its components on a page:
//
//   RegisterComponents("Grids", {TPlumbGrid::StaticClass()});
//
// The image is the bitmap resource named as the class in capitals (TPLUMBGRID) in the package
// being loaded, read into a surface that a canvas draws with Draw; a class without one has an
// empty image and the palette's owner draws its default.
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "design/DesignIntf.h"
#include "gfx/Bitmap.h"

namespace plumb {

struct TPaletteImage {
  TBitmapInfo Info;
  TSurface Pixels;
  bool Empty() const { return Pixels.Width() == 0; }
};

struct TPaletteItem {
  TClass ComponentClass = nullptr;
  TPaletteImage Image;
  const TPackage* Owner = nullptr;
};

struct TPalettePage {
  std::string Name;
  std::vector<TPaletteItem> Items;
};

// Adds Classes to the page Page (made when new). Each must be a registered component class,
// on no page yet; raises EComponentError otherwise and then adds none of them.
void RegisterComponents(const std::string& Page, std::span<const TClass> Classes);
inline void RegisterComponents(const std::string& Page, std::initializer_list<TClass> Classes) {
  RegisterComponents(Page, std::span<const TClass>(Classes.begin(), Classes.size()));
}

// In the order the pages were made.
const std::vector<TPalettePage>& GetPalettePages();
// Letter case ignored; nullptr when there is no such page.
const TPalettePage* FindPalettePage(const std::string& Name);
const TPaletteItem* FindPaletteItem(TClass ComponentClass);
// Removes what Owner registered, and the pages left empty.
void UnregisterComponents(const TPackage* Owner);

}  // namespace plumb
