// TPen, TBrush and TFont: plain values with change notification; the canvas listens to
// OnChange to know when to select them into its DC again.
#include "gfx/Graphics.h"

namespace plumb {

namespace {


TPenStyle PenStyleOf(DWORD Bits) {
  switch (Bits & 0xF) {
    case PS_DASH:
      return psDash;
    case PS_DOT:
      return psDot;
    case PS_DASHDOT:
      return psDashDot;
    case PS_DASHDOTDOT:
      return psDashDotDot;
    case PS_NULL:
      return psClear;
    case PS_INSIDEFRAME:
      return psInsideFrame;
    default:
      return psSolid;
  }
}

template <class T>
bool Store(T& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace

DWORD PenStyleBits(TPenStyle S) {
  switch (S) {
    case psDash:
      return PS_DASH;
    case psDot:
      return PS_DOT;
    case psDashDot:
      return PS_DASHDOT;
    case psDashDotDot:
      return PS_DASHDOTDOT;
    case psClear:
      return PS_NULL;
    case psInsideFrame:
      return PS_INSIDEFRAME;
    default:
      return PS_SOLID;
  }
}

// ---- TPen --------------------------------------------------------------------------------------
// Any property change makes an ordinary (cosmetic) pen again, as recreating the pen would.
void TPen::SetColor(TColor Value) {
  if (Store(FColor, Value)) FExtStyle = PenStyleBits(FStyle), Changed();
}
void TPen::SetWidth(Integer Value) {
  if (Store(FWidth, Value)) FExtStyle = PenStyleBits(FStyle), Changed();
}
void TPen::SetStyle(TPenStyle Value) {
  if (Store(FStyle, Value)) FExtStyle = PenStyleBits(FStyle), Changed();
}
void TPen::SetMode(TPenMode Value) {
  if (Store(FMode, Value)) Changed();
}

HPEN TPen::GetHandle() const {
  return HPEN{FExtStyle, FWidth, COLORREF(ColorToRGB(FColor)) & 0xFFFFFF, true};
}

void TPen::SetHandle(const HPEN& Value) {
  if (!Value.Valid) return;
  FColor = TColor(Value.Color & 0xFFFFFF);
  FWidth = Value.Width;
  FStyle = PenStyleOf(Value.Style);
  FExtStyle = Value.Style;
  Changed();
}

void TPen::Assign(const TPersistent* Source) {
  auto* Other = dynamic_cast<const TPen*>(Source);
  if (!Other) return inherited::Assign(Source);
  FColor = Other->FColor;
  FWidth = Other->FWidth;
  FStyle = Other->FStyle;
  FMode = Other->FMode;
  FExtStyle = Other->FExtStyle;
  Changed();
}

void TPen::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TBrush ------------------------------------------------------------------------------------
void TBrush::SetColor(TColor Value) {
  if (Store(FColor, Value)) Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
  if (Store(FStyle, Value)) Changed();
}

void TBrush::Assign(const TPersistent* Source) {
  auto* Other = dynamic_cast<const TBrush*>(Source);
  if (!Other) return inherited::Assign(Source);
  FColor = Other->FColor;
  FStyle = Other->FStyle;
  Changed();
}

void TBrush::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TFont -------------------------------------------------------------------------------------
void TFont::SetName(const std::string& Value) {
  if (Store(FName, Value)) Changed();
}
Integer TFont::GetSize() const {
  return -MulDiv(FHeight, 72, PixelsPerInch);
}
void TFont::SetSize(Integer Value) {
  SetHeight(-MulDiv(Value, PixelsPerInch, 72));
}
void TFont::SetHeight(Integer Value) {
  if (Store(FHeight, Value)) Changed();
}
void TFont::SetColor(TColor Value) {
  if (Store(FColor, Value)) Changed();
}
void TFont::SetStyle(TFontStyles Value) {
  if (Store(FStyle, Value)) Changed();
}

void TFont::Assign(const TPersistent* Source) {
  auto* Other = dynamic_cast<const TFont*>(Source);
  if (!Other) return inherited::Assign(Source);
  if (Equals(*Other)) return;
  FName = Other->FName;
  FHeight = Other->FHeight;
  FColor = Other->FColor;
  FStyle = Other->FStyle;
  Changed();
}

bool TFont::Equals(const TFont& Other) const {
  return FName == Other.FName && FHeight == Other.FHeight && FColor == Other.FColor &&
         FStyle == Other.FStyle;
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

inline constexpr const char* FontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline",
                                                 "fsStrikeOut"};
const TEnumInfo FontStyleInfo{"TFontStyle", FontStyleNames};

void TFont::DescribeProperties(TPropertyList<TFont>& P) {
  P.ColorProp("Color", &TFont::GetColor, &TFont::SetColor).Default(clWindowText);
  P.IntegerProp("Height", &TFont::GetHeight, &TFont::SetHeight).Default(-12);
  P.StringProp("Name", &TFont::GetName, &TFont::SetName);
  P.SetProp("Style", &TFont::GetStyle, &TFont::SetStyle, FontStyleInfo).Default(TFontStyles{});
}

}  // namespace plumb
