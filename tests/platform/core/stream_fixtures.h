#pragma once
// Components that publish one property of every kind, for the stream tests and the reader
// fuzzer. TSample has a "ColWidths"-like defined property: a list of ColCount integers that
// exists only once a width was set.
#include <string>
#include <vector>

#include "core/Collection.h"
#include "core/Filer.h"
#include "core/Strings.h"
#include "core/TypeInfo.h"

namespace plumb::fixture {

enum TShade { shLight, shMedium, shDark };
inline constexpr const char* ShadeNames[] = {"shLight", "shMedium", "shDark"};
inline constexpr TEnumInfo ShadeInfo{"TShade", ShadeNames};

enum TFlag { flBold, flWide, flTall, flDim };
using TFlags = TSet<TFlag, uint8_t>;
inline constexpr const char* FlagNames[] = {"flBold", "flWide", "flTall", "flDim"};
inline constexpr TEnumInfo FlagInfo{"TFlag", FlagNames};

inline constexpr int32_t clBlack = 0x000000;
inline constexpr int32_t clRed = 0x0000FF;
inline constexpr int32_t clSilver = 0xC0C0C0;

using TCountEvent = TEvent<void(TObject* Sender, Integer& Count)>;

class TSample;

// An owned object with properties of its own, as a font is.
class TPen : public TPersistent {
  PLUMB_CLASS(TPen, TPersistent)
  static void DescribeProperties(TPropertyList<TPen>& P);
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value) { FWidth = Value; }
  int32_t GetColor() const { return FColor; }
  void SetColor(int32_t Value) { FColor = Value; }
  void Assign(const TPersistent* Source) override;

 private:
  Integer FWidth = 1;
  int32_t FColor = clBlack;
};

class TStep : public TCollectionItem {
  PLUMB_CLASS(TStep, TCollectionItem)
  using TCollectionItem::TCollectionItem;
  static void DescribeProperties(TPropertyList<TStep>& P);
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  Cardinal GetLevel() const { return FLevel; }
  void SetLevel(Cardinal Value) { FLevel = Value; }
  TShade GetShade() const { return FShade; }
  void SetShade(TShade Value) { FShade = Value; }
  TSample* GetTarget() const { return FTarget; }
  void SetTarget(TSample* Value) { FTarget = Value; }
  void Assign(const TPersistent* Source) override;
  TNotifyEvent OnPick;

 private:
  std::string FCaption;
  Cardinal FLevel = 0;
  TShade FShade = shMedium;
  TSample* FTarget = nullptr;
};

class TSteps : public TOwnedCollection {
  PLUMB_CLASS(TSteps, TOwnedCollection)
  explicit TSteps(TPersistent* AOwner) : TOwnedCollection(AOwner, CollectionItemClass<TStep>()) {}
  TStep* Add() { return static_cast<TStep*>(TCollection::Add()); }
  TStep* GetItem(int Index) const { return static_cast<TStep*>(TCollection::GetItem(Index)); }
  std::vector<std::string> UpdateLog;  // "*" for the whole collection, else the caption

 protected:
  void Update(TCollectionItem* Item) override;
};

class TSample : public TComponent {
  PLUMB_CLASS(TSample, TComponent)
  explicit TSample(TComponent* AOwner);
  ~TSample() override;
  static void DescribeProperties(TPropertyList<TSample>& P);

  Integer GetCount() const { return FCount; }
  void SetCount(Integer Value);  // refuses negative counts
  Cardinal GetLimit() const { return FLimit; }
  void SetLimit(Cardinal Value) { FLimit = Value; }
  bool GetActive() const { return FActive; }
  void SetActive(bool Value) { FActive = Value; }
  TShade GetShade() const { return FShade; }
  void SetShade(TShade Value) { FShade = Value; }
  TFlags GetFlags() const { return FFlags; }
  void SetFlags(TFlags Value) { FFlags = Value; }
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  // Hint is stored only while the hint is not the parent's.
  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  bool GetParentHint() const { return FParentHint; }
  void SetParentHint(bool Value) { FParentHint = Value; }
  bool IsHintStored() const { return !FParentHint; }
  int32_t GetColor() const { return FColor; }
  void SetColor(int32_t Value) { FColor = Value; }
  TSample* GetBuddy() const { return FBuddy; }
  void SetBuddy(TSample* Value);
  TStrings* GetLines() const { return FLines; }
  TPen* GetPen() const { return FPen; }
  TSteps* GetSteps() const { return FSteps; }
  Integer GetArea() const { return FCount * Integer(FLimit); }  // read-only

  // The "ColWidths"-like list: absent until a width is set; exactly ColCount entries.
  Integer GetColCount() const { return FColCount; }
  void SetColCount(Integer Value);
  Integer GetColWidths(Integer Index) const;
  void SetColWidths(Integer Index, Integer Value);
  bool HasWidthList() const { return !FWidths.empty(); }
  void DefineProperties(TFiler* Filer) override;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnChange;
  TCountEvent OnCount;

  // What happened while loading: "Caption" set with csLoading as "Caption*".
  std::vector<std::string> Log;
  TSample* BuddyAtLoaded = nullptr;
  int LoadedCalls = 0;

 private:
  void ReadColWidths(TReader* Reader);
  void WriteColWidths(TWriter* Writer);
  void Note(const std::string& What) { Log.push_back(What + (IsLoading() ? "*" : "")); }

  Integer FCount = 0;
  Cardinal FLimit = 7;
  bool FActive = true;
  TShade FShade = shMedium;
  TFlags FFlags{flBold};
  std::string FCaption;
  std::string FHint;
  bool FParentHint = true;
  int32_t FColor = clSilver;
  TSample* FBuddy = nullptr;
  TStringList* FLines;
  TPen* FPen;
  TSteps* FSteps;
  Integer FColCount = 2;
  std::vector<Integer> FWidths;
};

// A form: the root that holds the named handlers, and a different Shade default.
class TSampleForm : public TSample {
  PLUMB_CLASS(TSampleForm, TSample)
  explicit TSampleForm(TComponent* AOwner) : TSample(AOwner) { SetShade(shDark); }
  static void DescribeProperties(TPropertyList<TSampleForm>& P);
  void DoChange(TObject* Sender) {
    ++ChangeCalls;
    LastSender = Sender;
  }
  void DoCount(TObject* Sender, Integer& Count) {
    (void)Sender;
    Count += 10;
  }
  int ChangeCalls = 0;
  TObject* LastSender = nullptr;
};

// Registers the classes and colour names above; safe to call more than once.
void RegisterFixtureClasses();

}  // namespace plumb::fixture
