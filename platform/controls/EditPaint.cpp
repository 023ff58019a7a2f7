// The edit's geometry and painting: the formatting rectangle, character positions, scrolling
// the caret into view and telling the input method where it is, and drawing text, selection
// and caret.
//
// Positions are measured once per character and kept with their running sums; after an edit
// only the characters between the unchanged head and tail of the text are measured again, so
// typing into a long text costs one glyph, not the whole line.
#include <algorithm>

#include "controls/StdCtrls.h"
#include "core/Utf8.h"

namespace plumb {

namespace {
Integer CharWidth(const TFont& Font, char32_t Ch) {
  return FontTextExtent(Font, U32ToUtf8(std::u32string(1, Ch))).X;
}
}  // namespace

// Without one set by EM_SETRECT(NP), the text area is the client area less a small margin.
TRect TCustomEdit::FormatRect() {
  if (FHasFormatRect) return FFormatRect;
  TRect C = GetClientRect();
  return TRect{C.Left + 2, C.Top + 1, C.Right - 2, C.Bottom};
}

void TCustomEdit::Measure() {
  const std::u32string& T = FBuffer.Chars();
  const TFont& Font = *GetFont();
  if (!FFontValid) {
    FMeasured.clear();
    FWidths.clear();
    FCharX.assign(1, 0);
    FLineHeight = FontTextExtent(Font, "").Y;
    FFontValid = true;
  }
  size_t Old = FMeasured.size(), New = T.size(), Head = 0, Tail = 0;
  while (Head < Old && Head < New && FMeasured[Head] == T[Head]) ++Head;
  if (Head == Old && Head == New) return;
  while (Tail < Old - Head && Tail < New - Head && FMeasured[Old - 1 - Tail] == T[New - 1 - Tail])
    ++Tail;
  std::vector<Integer> Mid;
  Mid.reserve(New - Head - Tail);
  for (size_t I = Head; I < New - Tail; ++I) Mid.push_back(CharWidth(Font, T[I]));
  FWidths.erase(FWidths.begin() + ptrdiff_t(Head), FWidths.begin() + ptrdiff_t(Old - Tail));
  FWidths.insert(FWidths.begin() + ptrdiff_t(Head), Mid.begin(), Mid.end());
  FCharX.resize(New + 1);
  for (size_t I = Head; I < New; ++I) FCharX[I + 1] = FCharX[I] + FWidths[I];
  FMeasured = T;
}

int TCustomEdit::PosFromX(Integer X, bool Nearest) {
  Measure();
  Integer TX = X - FormatRect().Left + FScrollX;
  int N = FBuffer.Length();
  if (!Nearest) {
    auto It = std::upper_bound(FCharX.begin(), FCharX.end(), TX);
    return std::clamp(int(It - FCharX.begin()) - 1, 0, std::max(0, N - 1));
  }
  auto It = std::lower_bound(FCharX.begin(), FCharX.end(), TX);
  if (It == FCharX.begin()) return 0;
  if (It == FCharX.end()) return N;
  int I = int(It - FCharX.begin());
  return TX - FCharX[size_t(I - 1)] < FCharX[size_t(I)] - TX ? I - 1 : I;
}

// Keeps the caret inside the text area, and no more of the area empty on the right than
// needed. True when the text scrolled.
bool TCustomEdit::ScrollCaret() {
  Measure();
  Integer W = std::max<Integer>(1, FormatRect().Width());
  Integer Old = FScrollX, X = CharX(FBuffer.Caret()), Total = FCharX.back();
  if (X - FScrollX > W - 1) FScrollX = X - W + 1;
  if (X < FScrollX) FScrollX = std::max<Integer>(0, X - W / 4);  // some text left of it shows
  if (Total - FScrollX < W - 1) FScrollX = std::max<Integer>(0, Total - W + 1);
  UpdateImeCaret();
  return FScrollX != Old;
}

// Tells the input method where the caret is, so that what it composes (and its candidate
// window) appears at the text being typed.
void TCustomEdit::UpdateImeCaret() {
  if (!FHandle) return;
  Measure();
  TRect R = FormatRect();
  Integer X = R.Left + CharX(FBuffer.Caret()) - FScrollX;
  SetImeCompositionWindow(FHandle, TRect{X, R.Top, X + 1, R.Top + FLineHeight});
}

// ---- Painting --------------------------------------------------------------------------------
void TCustomEdit::PaintEdit(HDC DC) {
  TCanvas& C = *FPaintCanvas;
  C.SetHandle(DC);
  C.Font()->Assign(GetFont());
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(FEnabled ? FColor : clBtnFace);
  TRect Client = GetClientRect();
  C.FillRect(Client);
  TRect R;
  if (IntersectRect(R, FormatRect(), Client)) {
    IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
    Measure();
    bool Focus = Focused();
    int Start = FBuffer.SelStart(), End = Start + FBuffer.SelLength();
    if (!Focus && FHideSelection) Start = End = 0;
    // Only the characters that show are drawn.
    int First = PosFromX(R.Left, false);
    int Last = std::min(PosFromX(R.Right, false) + 1, FBuffer.Length());
    PaintText(C, R, First, std::min(Start, Last), false);
    PaintText(C, R, std::max(Start, First), std::min(End, Last), true);
    PaintText(C, R, std::max(End, First), Last, false);
    if (Focus && FEnabled)
      PatBlt(DC, R.Left + CharX(FBuffer.Caret()) - FScrollX, R.Top, 1, FLineHeight, DSTINVERT);
  }
  C.SetHandle(nullptr);
}

void TCustomEdit::PaintText(TCanvas& C, const TRect& R, int From, int To, bool Selected) {
  if (From >= To) return;
  Integer X = R.Left + CharX(From) - FScrollX;
  if (Selected) {
    C.Brush()->SetColor(clHighlight);
    C.FillRect(TRect{X, R.Top, X + CharX(To) - CharX(From), R.Top + FLineHeight});
    C.Font()->SetColor(clHighlightText);
  } else {
    C.Font()->SetColor(FEnabled ? GetFont()->GetColor() : clGrayText);
  }
  C.Brush()->SetStyle(bsClear);
  C.TextOut(X, R.Top, U32ToUtf8(FBuffer.Chars().substr(size_t(From), size_t(To - From))));
  C.Brush()->SetStyle(bsSolid);
}

}  // namespace plumb
