#include "stream_fixtures.h"

#include "core/Exceptions.h"

namespace plumb::fixture {

namespace {

struct TColorName {
  int32_t Color;
  const char* Name;
};
constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"}, {clRed, "clRed"}, {clSilver, "clSilver"}};

bool TestColorToIdent(int32_t Color, std::string& Ident) {
  for (const auto& C : ColorNames)
    if (C.Color == Color) {
      Ident = C.Name;
      return true;
    }
  return false;
}

bool TestIdentToColor(const std::string& Ident, int32_t& Color) {
  for (const auto& C : ColorNames)
    if (SameText(C.Name, Ident)) {
      Color = C.Color;
      return true;
    }
  return false;
}

}  // namespace

// ---- TPen, TStep, TSteps ------------------------------------------------------------------

void TPen::DescribeProperties(TPropertyList<TPen>& P) {
  P.IntegerProp("Width", &TPen::GetWidth, &TPen::SetWidth).Default(1);
  P.ColorProp("Color", &TPen::GetColor, &TPen::SetColor).Default(clBlack);
}

void TPen::Assign(const TPersistent* Source) {
  if (auto* S = dynamic_cast<const TPen*>(Source)) {
    FWidth = S->FWidth;
    FColor = S->FColor;
    return;
  }
  TPersistent::Assign(Source);
}

void TStep::DescribeProperties(TPropertyList<TStep>& P) {
  P.StringProp("Caption", &TStep::GetCaption, &TStep::SetCaption);
  P.CardinalProp("Level", &TStep::GetLevel, &TStep::SetLevel).Default(0);
  P.EnumProp("Shade", &TStep::GetShade, &TStep::SetShade, ShadeInfo).Default(shMedium);
  P.ComponentProp("Target", &TStep::GetTarget, &TStep::SetTarget);
  P.EventProp("OnPick", &TStep::OnPick);
}

void TStep::SetCaption(const std::string& Value) {
  FCaption = Value;
  Changed(false);
}

void TStep::Assign(const TPersistent* Source) {
  if (auto* S = dynamic_cast<const TStep*>(Source)) {
    FCaption = S->FCaption;
    FLevel = S->FLevel;
    FShade = S->FShade;
    FTarget = S->FTarget;
    return;
  }
  TPersistent::Assign(Source);
}

void TSteps::Update(TCollectionItem* Item) {
  UpdateLog.push_back(Item ? static_cast<TStep*>(Item)->GetCaption() : "*");
}

// ---- TSample ------------------------------------------------------------------------------

TSample::TSample(TComponent* AOwner)
    : TComponent(AOwner), FLines(new TStringList), FPen(new TPen), FSteps(new TSteps(this)) {}

TSample::~TSample() {
  delete FSteps;
  delete FPen;
  delete FLines;
}

void TSample::DescribeProperties(TPropertyList<TSample>& P) {
  P.IntegerProp("Count", &TSample::GetCount, &TSample::SetCount).Default(0);
  P.CardinalProp("Limit", &TSample::GetLimit, &TSample::SetLimit).Default(7);
  P.BooleanProp("Active", &TSample::GetActive, &TSample::SetActive).Default(true);
  P.EnumProp("Shade", &TSample::GetShade, &TSample::SetShade, ShadeInfo).Default(shMedium);
  P.SetProp("Flags", &TSample::GetFlags, &TSample::SetFlags, FlagInfo).Default(TFlags{flBold});
  P.StringProp("Caption", &TSample::GetCaption, &TSample::SetCaption);
  P.BooleanProp("ParentHint", &TSample::GetParentHint, &TSample::SetParentHint).Default(true);
  P.StringProp("Hint", &TSample::GetHint, &TSample::SetHint).Stored(&TSample::IsHintStored);
  P.ColorProp("Color", &TSample::GetColor, &TSample::SetColor).Default(clSilver);
  P.ComponentProp("Buddy", &TSample::GetBuddy, &TSample::SetBuddy);
  P.ObjectProp("Lines", &TSample::GetLines);
  P.ObjectProp("Pen", &TSample::GetPen);
  P.ObjectProp("Steps", &TSample::GetSteps);
  P.IntegerProp("ColCount", &TSample::GetColCount, &TSample::SetColCount).Default(2);
  P.IntegerProp("Area", &TSample::GetArea, nullptr);
  P.EventProp("OnChange", &TSample::OnChange);
  P.EventProp("OnCount", &TSample::OnCount);
}

void TSample::SetCount(Integer Value) {
  if (Value < 0) throw EInvalidOperation("Count must not be negative");
  FCount = Value;
  Note("Count");
}

void TSample::SetCaption(const std::string& Value) {
  FCaption = Value;
  Note("Caption");
}

void TSample::SetBuddy(TSample* Value) {
  FBuddy = Value;
  if (Value) Value->FreeNotification(this);
}

void TSample::SetColCount(Integer Value) {
  if (Value < 1 || Value > 1000) throw EInvalidOperation("Bad column count");
  FColCount = Value;
  if (!FWidths.empty()) FWidths.resize(size_t(Value), 64);
}

Integer TSample::GetColWidths(Integer Index) const {
  return FWidths.empty() || Index >= FColCount ? 64 : FWidths[size_t(Index)];
}

void TSample::SetColWidths(Integer Index, Integer Value) {
  if (FWidths.empty()) FWidths.assign(size_t(FColCount), 64);
  if (Index < 0 || Index >= FColCount) throw EListError("Grid index out of range");
  FWidths[size_t(Index)] = Value;
}

void TSample::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  bool HasData = HasWidthList();
  if (auto* A = dynamic_cast<TSample*>(Filer->GetAncestor())) HasData = A->FWidths != FWidths;
  Filer->DefineProperty(
      "ColWidths", [this](TReader* R) { ReadColWidths(R); },
      [this](TWriter* W) { WriteColWidths(W); }, HasData);
}

void TSample::ReadColWidths(TReader* Reader) {
  Reader->UndoOnFailure([this, Old = FWidths] { FWidths = Old; });
  Reader->ReadListBegin();
  for (Integer I = 0; I < FColCount; ++I) SetColWidths(I, Reader->ReadInteger());
  Reader->ReadListEnd();
}

void TSample::WriteColWidths(TWriter* Writer) {
  Writer->WriteListBegin();
  for (Integer I = 0; I < FColCount; ++I) Writer->WriteInteger(GetColWidths(I));
  Writer->WriteListEnd();
}

void TSample::Loaded() {
  TComponent::Loaded();
  ++LoadedCalls;
  BuddyAtLoaded = FBuddy;
  Log.push_back("Loaded");
}

void TSample::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FBuddy) FBuddy = nullptr;
  if (Operation == opRemove)
    for (int I = 0; I < FSteps->Count(); ++I)
      if (FSteps->GetItem(I)->GetTarget() == AComponent) FSteps->GetItem(I)->SetTarget(nullptr);
}

void TSampleForm::DescribeProperties(TPropertyList<TSampleForm>& P) {
  P.EnumProp("Shade", &TSampleForm::GetShade, &TSampleForm::SetShade, ShadeInfo).Default(shDark);
  P.Method("DoChange", &TSampleForm::DoChange);
  P.Method("DoCount", &TSampleForm::DoCount);
}

void RegisterFixtureClasses() {
  RegisterClass<TSampleForm>();
  RegisterClass<TStep>();
  RegisterColorIdents(TestColorToIdent, TestIdentToColor);
}

}  // namespace plumb::fixture
