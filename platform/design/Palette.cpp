// The component palette: pages, their components and the images read from package resources.
#include "design/Palette.h"

#include <algorithm>

#include "core/TypeInfo.h"
#include "design/Packages.h"

namespace plumb {

namespace {

std::vector<TPalettePage>& Pages() {
  static std::vector<TPalettePage> List;
  return List;
}

void CheckRegistrable(TClass Class) {
  if (!Class) throw EComponentError("RegisterComponents: no class given");
  if (!Class->InheritsFrom(TComponent::StaticClass()) || !IsClassRegistered(Class))
    throw EComponentError(std::string(Class->Name) + " is not a registered component class");
  if (FindPaletteItem(Class))
    throw EComponentError(std::string(Class->Name) + " is already on the palette");
}

TPaletteImage ImageOf(TClass Class) {
  TPaletteImage Image;
  std::span<const uint8_t> Bytes = FindRegistrationResource(UpperCase(Class->Name));
  if (!Bytes.empty()) ReadBitmap(Bytes, Image.Pixels, Image.Info);
  return Image;
}

}  // namespace

void RegisterComponents(const std::string& Page, std::span<const TClass> Classes) {
  std::vector<TPaletteItem> Items;
  for (TClass Class : Classes) {
    CheckRegistrable(Class);
    if (std::any_of(Items.begin(), Items.end(),
                    [Class](const TPaletteItem& I) { return I.ComponentClass == Class; }))
      throw EComponentError(std::string(Class->Name) + " is given twice");
    Items.push_back({Class, ImageOf(Class), GetRegistrationOwner()});
  }
  auto& List = Pages();
  auto It = std::find_if(List.begin(), List.end(),
                         [&](const TPalettePage& P) { return SameText(P.Name, Page); });
  if (It == List.end()) It = List.insert(List.end(), TPalettePage{Page, {}});
  for (TPaletteItem& Item : Items) It->Items.push_back(std::move(Item));
}

const std::vector<TPalettePage>& GetPalettePages() {
  return Pages();
}

const TPalettePage* FindPalettePage(const std::string& Name) {
  for (const TPalettePage& P : Pages())
    if (SameText(P.Name, Name)) return &P;
  return nullptr;
}

const TPaletteItem* FindPaletteItem(TClass ComponentClass) {
  for (const TPalettePage& P : Pages())
    for (const TPaletteItem& Item : P.Items)
      if (Item.ComponentClass == ComponentClass) return &Item;
  return nullptr;
}

void UnregisterComponents(const TPackage* Owner) {
  auto& List = Pages();
  for (TPalettePage& P : List)
    std::erase_if(P.Items, [Owner](const TPaletteItem& I) { return I.Owner == Owner; });
  std::erase_if(List, [](const TPalettePage& P) { return P.Items.empty(); });
}

}  // namespace plumb
