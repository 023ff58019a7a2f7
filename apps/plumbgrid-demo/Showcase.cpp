// The showcase page, panel by panel:
//   PaintFrame      window face, caption strip and the panels' sunken wells
//   PaintEdges      the four edge kinds the grid and its editor use
//   PaintGrid       a record grid drawn the way the grid paints: one PolyPolyline of grid
//                   lines, cells filled, text written opaque and clipped, the title column's
//                   sunken divider, the focus frame and the dotted XOR sizing line
//   PaintButtons    combo-box arrows, ellipsis buttons and scroll-bar arrows
//   PaintText       alignments, colours and styles of cell text
//   PaintFonts      sizes and styles of the default font, and what bad UTF-8 becomes
#include "Showcase.h"

#include <string>

namespace plumb {

namespace {

enum TAlign { taLeft, taRight, taCenter };

// Text in a cell as the record grid writes it: 2 pixels in, 2 down; right-aligned text
// keeps 3 pixels from the edge.
void WriteCellText(TCanvas& C, TRect R, const std::string& Text, TAlign Align, TColor Color) {
  TColor Saved = C.Font()->GetColor();
  C.Font()->SetColor(Color);
  Integer W = C.TextWidth(Text);
  Integer X = Align == taLeft    ? R.Left + 2
              : Align == taRight ? R.Right - W - 3
                                 : R.Left + (R.Right - R.Left) / 2 - W / 2;
  ExtTextOut(C.GetHandle(), X, R.Top + 2, ETO_CLIPPED | ETO_OPAQUE, &R, Text);
  C.Font()->SetColor(Saved);
}

void Label(TCanvas& C, Integer X, Integer Y, const std::string& Text, TColor Color = clBtnText) {
  C.Brush()->SetStyle(bsClear);
  C.Font()->SetColor(Color);
  C.TextOut(X, Y, Text);
  C.Brush()->SetStyle(bsSolid);
}

void Panel(TCanvas& C, TRect R, const std::string& Title) {
  C.Font()->SetStyle(TFontStyles{fsBold});
  Label(C, R.Left, R.Top - 18, Title);
  C.Font()->SetStyle(TFontStyles{});
  DrawEdge(C.GetHandle(), R, EDGE_ETCHED, BF_RECT);
}

void PaintFrame(TCanvas& C) {
  C.Brush()->SetColor(clBtnFace);
  C.FillRect(Rect(0, 0, ShowcaseWidth, ShowcaseHeight));
  TRect Caption = Rect(0, 0, ShowcaseWidth, 26);
  C.Brush()->SetColor(clActiveCaption);
  C.FillRect(Caption);
  C.Font()->SetStyle(TFontStyles{fsBold});
  C.Font()->SetSize(10);
  Label(C, 10, 5, "PlumbGrid \xE2\x80\x94 canvas showcase", clCaptionText);
  C.Font()->SetSize(9);
  C.Font()->SetStyle(TFontStyles{});
  TRect Outer = Rect(0, 0, ShowcaseWidth, ShowcaseHeight);
  DrawEdge(C.GetHandle(), Outer, EDGE_RAISED, BF_RECT);
}

void PaintEdges(TCanvas& C, Integer Left, Integer Top) {
  Panel(C, Rect(Left, Top, Left + 360, Top + 100), "Edges");
  struct {
    UINT Edge, Flags;
    const char* Name;
  } Kinds[] = {{EDGE_SUNKEN, BF_RECT, "sunken"},
               {EDGE_RAISED, BF_RECT | BF_MIDDLE, "raised"},
               {BDR_RAISEDINNER, BF_RECT, "raised inner"},
               {EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_FLAT, "flat, middle"}};
  for (int I = 0; I < 4; ++I) {
    Integer X = Left + 14 + I * 86;
    TRect Box = Rect(X, Top + 14, X + 70, Top + 64);
    C.Brush()->SetColor(clWindow);
    C.FillRect(Box);
    DrawEdge(C.GetHandle(), Box, Kinds[I].Edge, Kinds[I].Flags);
    Integer W = C.TextWidth(Kinds[I].Name);
    Label(C, X + 35 - W / 2, Top + 72, Kinds[I].Name);
  }
}

struct TSampleRow {
  const char* Title;
  const char* Value;
  TAlign Align;
  TColor Color;
};

const TSampleRow SampleRows[] = {
    {"  Name", "Ada Lovelace", taLeft, clWindowText},
    {"- Address", "", taLeft, clWindowText},
    {"    Street", "12 St James's Square", taLeft, clNavy},
    {"    City", "London", taCenter, clTeal},
    {"+Account", "", taLeft, clWindowText},
    {"  Balance", "1,234.50", taRight, clGreen},
    {"  Overdue", "-87.25", taRight, clRed},
    {"  Note", "A value far too long to fit in its cell is clipped", taLeft, clMaroon},
};
constexpr int SampleCount = int(std::size(SampleRows));

// Grid lines of one width through a single PolyPolyline with stack-held strokes.
void PaintGridLines(TCanvas& C, TRect Area, Integer TitleWidth, Integer RowHeight, Integer LW) {
  TPoint Pts[2 * (SampleCount + 3)];
  DWORD Counts[SampleCount + 3];
  int N = 0;
  auto Stroke = [&](TPoint A, TPoint B) { Pts[2 * N] = A, Pts[2 * N + 1] = B, Counts[N++] = 2; };
  Integer X = Area.Left + TitleWidth + LW / 2;
  Stroke(Point(X, Area.Top), Point(X, Area.Bottom));
  for (int Row = 0; Row < SampleCount; ++Row) {
    Integer Y = Area.Top + (Row + 1) * (RowHeight + LW) - LW + LW / 2;
    Stroke(Point(Area.Left, Y), Point(Area.Right, Y));
  }
  C.Pen()->SetColor(TColor(12632256));
  C.Pen()->SetWidth(LW);
  if (LW > 1) C.Pen()->SetHandle(ExtCreatePen(74240, DWORD(LW), TLogBrush{BS_SOLID, 12632256}));
  PolyPolyline(C.GetHandle(), Pts, Counts, DWORD(N));
  C.Pen()->SetWidth(1);
}

void PaintGridCells(TCanvas& C, TRect Area, Integer TitleWidth, Integer RowHeight, Integer LW,
                    int Current) {
  for (int Row = 0; Row < SampleCount; ++Row) {
    Integer Top = Area.Top + Row * (RowHeight + LW);
    TRect Title = Rect(Area.Left, Top, Area.Left + TitleWidth, Top + RowHeight);
    TRect Value = Rect(Title.Right + LW, Top, Area.Right, Top + RowHeight);
    bool Selected = Row == Current;
    C.Brush()->SetColor(clBtnFace);
    C.FillRect(Title);
    WriteCellText(C, Rect(Title.Left, Title.Top, Title.Right - 1, Title.Bottom),
                  SampleRows[Row].Title, taLeft, Selected ? clWindowText : clBtnText);
    DrawEdge(C.GetHandle(), Title, EDGE_SUNKEN, BF_RIGHT);
    C.Brush()->SetColor(Selected ? clHighlight : clWindow);
    C.FillRect(Value);
    WriteCellText(C, Rect(Value.Left, Value.Top, Value.Right - 1, Value.Bottom),
                  SampleRows[Row].Value, SampleRows[Row].Align,
                  Selected ? clCaptionText : SampleRows[Row].Color);
  }
}

void PaintFocusFrame(TCanvas& C, TRect R) {
  R.Top += 1, R.Right -= 1;
  C.Pen()->SetColor(clBlack);
  C.Polyline({Point(R.Left, R.Top), Point(R.Right, R.Top)});
  C.Polyline({Point(R.Left, R.Top), Point(R.Left, R.Bottom)});
  C.Polyline({Point(R.Left, R.Bottom), Point(R.Right, R.Bottom)});
  C.Polyline({Point(R.Right, R.Top), Point(R.Right, R.Bottom)});
}

void PaintSizingLine(TCanvas& C, Integer X, Integer Top, Integer Bottom) {
  TPen Saved;
  Saved.Assign(C.Pen());
  C.Pen()->SetStyle(psDot);
  C.Pen()->SetMode(pmXor);
  C.Pen()->SetWidth(1);
  C.Pen()->SetColor(clWhite);
  C.MoveTo(X, Top);
  C.LineTo(X, Bottom);
  C.Pen()->Assign(&Saved);
}

void PaintGrid(TCanvas& C, TRect Area, Integer LW, int Current, const std::string& Title,
               Integer SizingX) {
  const Integer TitleWidth = 104, RowHeight = 18;
  Area.Bottom = Area.Top + SampleCount * (RowHeight + LW);
  TRect Well = Area;
  InflateRect(Well, 2, 2);
  Panel(C, Well, Title);
  HDC DC = C.GetHandle();
  IntersectClipRect(DC, Area.Left, Area.Top, Area.Right, Area.Bottom);
  PaintGridLines(C, Area, TitleWidth, RowHeight, LW);
  PaintGridCells(C, Area, TitleWidth, RowHeight, LW, Current);
  Integer FrameTop = Area.Top + Current * (RowHeight + LW);
  PaintFocusFrame(C, Rect(Area.Left, FrameTop - 1, Area.Right, FrameTop + RowHeight));
  if (SizingX > 0) PaintSizingLine(C, Area.Left + SizingX, Area.Top, Area.Bottom);
  DC->Clip = TRegion(C.GetHandle()->Surface->BoundsRect());
}

void PaintEllipsis(TCanvas& C, TRect R, bool Down) {
  HDC DC = C.GetHandle();
  DrawEdge(DC, R, EDGE_RAISED, BF_RECT | BF_MIDDLE | (Down ? UINT(BF_FLAT) : 0u));
  Integer W = std::max<Integer>(1, R.Height() / 8);
  Integer O = R.Width() / 2 - 1 + (Down ? 1 : 0);
  for (Integer DX : {-2 * W, Integer(0), 2 * W})
    PatBlt(DC, R.Left + O + DX, R.Top + O, W, W, BLACKNESS);
}

void PaintButtons(TCanvas& C, Integer Left, Integer Top) {
  Panel(C, Rect(Left, Top, Left + 360, Top + 120), "Editor and scroll-bar buttons");
  HDC DC = C.GetHandle();
  struct {
    UINT State;
    const char* Name;
  } Combos[] = {{DFCS_SCROLLCOMBOBOX, "pick list"},
                {DFCS_SCROLLCOMBOBOX | DFCS_PUSHED | DFCS_FLAT, "pushed"}};
  for (int I = 0; I < 2; ++I) {
    TRect R = Bounds(Left + 20 + I * 80, Top + 18, 17, 17);
    DrawFrameControl(DC, R, DFC_SCROLL, Combos[I].State);
    Label(C, R.Left - 4, Top + 40, Combos[I].Name);
  }
  for (int I = 0; I < 2; ++I) {
    TRect R = Bounds(Left + 190 + I * 80, Top + 18, 17, 17);
    PaintEllipsis(C, R, I == 1);
    Label(C, R.Left - 4, Top + 40, I == 0 ? "ellipsis" : "pushed");
  }
  UINT Arrows[] = {DFCS_SCROLLUP,
                   DFCS_SCROLLDOWN,
                   DFCS_SCROLLLEFT,
                   DFCS_SCROLLRIGHT,
                   DFCS_SCROLLUP | DFCS_PUSHED | DFCS_FLAT,
                   DFCS_SCROLLDOWN | DFCS_INACTIVE};
  for (int I = 0; I < 6; ++I) {
    TRect R = Bounds(Left + 20 + I * 28, Top + 70, 17, 17);
    DrawFrameControl(DC, R, DFC_SCROLL, Arrows[I]);
  }
  Label(C, Left + 190, Top + 72, "arrows; pushed; inactive");
}

void PaintText(TCanvas& C, Integer Left, Integer Top) {
  Panel(C, Rect(Left, Top, Left + 360, Top + 130), "Cell text: ETO_CLIPPED | ETO_OPAQUE");
  struct {
    const char* Text;
    TAlign Align;
    TColor Color, Back;
    TFontStyles Style;
  } Cells[] = {
      {"left aligned", taLeft, clWindowText, clWindow, {}},
      {"centred", taCenter, clNavy, clInfoBk, {}},
      {"right aligned", taRight, clMaroon, clWindow, {}},
      {"bold on highlight", taLeft, clHighlightText, clHighlight, {fsBold}},
      {"italic, grey", taCenter, clGrayText, clWindow, {fsItalic}},
      {"clipped: \xE2\x82\xAC 1,000,000.00 and more", taRight, clGreen, clWindow, {}},
  };
  for (int I = 0; I < 6; ++I) {
    TRect R = Bounds(Left + 14 + (I % 2) * 170, Top + 14 + (I / 2) * 36, 160, 18);
    TRect Frame = R;
    InflateRect(Frame, 1, 1);
    C.Brush()->SetColor(clBtnShadow);
    C.FrameRect(Frame);
    C.Brush()->SetColor(Cells[I].Back);
    C.Font()->SetStyle(Cells[I].Style);
    WriteCellText(C, R, Cells[I].Text, Cells[I].Align, Cells[I].Color);
  }
  C.Font()->SetStyle(TFontStyles{});
}

void PaintFonts(TCanvas& C, Integer Left, Integer Top) {
  Panel(C, Rect(Left, Top, ShowcaseWidth - 20, Top + 50), "Fonts");
  struct {
    Integer Size;
    TFontStyles Style;
    const char* Text;
  } Samples[] = {{8, {}, "8 pt"},
                 {9, {}, "9 pt"},
                 {12, {}, "12 pt"},
                 {16, {fsBold}, "16 pt bold"},
                 {12, {fsItalic}, "italic"},
                 {9, {}, "invalid UTF-8 FF C0 \xE2\x86\x92 \xFF\xC0"}};
  Integer X = Left + 14;
  for (const auto& S : Samples) {
    C.Font()->SetSize(S.Size);
    C.Font()->SetStyle(S.Style);
    Label(C, X, Top + 25 - C.TextHeight(S.Text) / 2, S.Text);
    X += C.TextWidth(S.Text) + 28;
  }
  C.Font()->SetSize(9);
  C.Font()->SetStyle(TFontStyles{});
}

}  // namespace

void PaintShowcase(TCanvas& C) {
  PaintFrame(C);
  PaintEdges(C, 20, 60);
  PaintButtons(C, 20, 200);
  PaintText(C, 20, 360);
  PaintGrid(C, Rect(400, 60, 760, 0), 1, 2, "Record grid, 1-pixel lines", 0);
  PaintGrid(C, Rect(400, 290, 760, 0), 3, 5, "3-pixel lines, dotted XOR sizing line", 150);
  PaintFonts(C, 20, 530);
}

}  // namespace plumb
