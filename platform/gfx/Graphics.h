#pragma once
// Colours, surfaces, device contexts and TCanvas.
//
// A TSurface is a block of ARGB32 pixels (0xAARRGGBB in one uint32_t, stored as B,G,R,A bytes
// on this little-endian machine). A device context (HDC) draws on a surface through an origin
// (where logical point (0,0) lies on the surface) and a clip region (surface coordinates);
// the GDI-style functions below take an HDC and logical coordinates. TCanvas is the object
// face of a DC: it selects its Pen, Brush and Font into the DC before each drawing call.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Events.h"
#include "core/Object.h"
#include "core/Set.h"
#include "core/TypeInfo.h"
#include "core/Types.h"
#include "gfx/Region.h"

namespace plumb {

// ---- Colours ---------------------------------------------------------------------------------
// A TColor is 0x00BBGGRR for a plain colour, or 0x80000000 + index for a system colour.
using TColor = int32_t;
using COLORREF = uint32_t;  // 0x00BBGGRR
using UINT = uint32_t;
using DWORD = uint32_t;

constexpr TColor SysColor(int Index) { return TColor(0x80000000u | uint32_t(Index)); }

enum : int {
  COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
  COLOR_ENDCOLORS = 25
};

constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SysColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SysColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SysColor(COLOR_MENU);
constexpr TColor clWindow = SysColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SysColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SysColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SysColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SysColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SysColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SysColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SysColor(COLOR_INFOBK);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;  // 12632256
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

COLORREF GetSysColor(int Index);
// Resolves a system colour to its RGB value; plain colours are returned as they are.
TColor ColorToRGB(TColor Color);
constexpr uint8_t GetRValue(COLORREF C) { return uint8_t(C & 0xFF); }
constexpr uint8_t GetGValue(COLORREF C) { return uint8_t((C >> 8) & 0xFF); }
constexpr uint8_t GetBValue(COLORREF C) { return uint8_t((C >> 16) & 0xFF); }
constexpr COLORREF RGB(uint8_t R, uint8_t G, uint8_t B) {
  return COLORREF(R) | (COLORREF(G) << 8) | (COLORREF(B) << 16);
}
// The ARGB32 pixel of a TColor (alpha 255).
uint32_t ColorToPixel(TColor Color);
// The names that form streams use: "clBlack", "clBtnFace", …; false when Color has no name.
bool ColorToIdent(TColor Color, std::string& Ident);
bool IdentToColor(const std::string& Ident, TColor& Color);
// Calls Proc with every colour name, the plain colours first.
void GetColorValues(const std::function<void(const std::string&)>& Proc);
// The names and values of TFontStyle, for form streams.
extern const TEnumInfo FontStyleInfo;

// ---- Surfaces --------------------------------------------------------------------------------
// Rows are reached through a table of where each one starts, so that scrolling a band of
// whole rows can reorder the table instead of moving pixels (RotateRows).
class TSurface {
 public:
  TSurface() = default;
  TSurface(Integer AWidth, Integer AHeight, uint32_t Fill = 0xFF000000);
  // Keeps what fits of the old pixels; new pixels are Fill.
  void Resize(Integer AWidth, Integer AHeight, uint32_t Fill = 0xFF000000);
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  TRect BoundsRect() const { return TRect{0, 0, FWidth, FHeight}; }
  // All pixels, row after row. Puts the rows back in memory order first if a rotation moved
  // them, which costs one copy of the surface.
  uint32_t* Pixels();
  const uint32_t* Pixels() const;
  uint32_t* Row(Integer Y) { return FPixels.data() + FRowStart[size_t(Y)]; }
  const uint32_t* Row(Integer Y) const { return FPixels.data() + FRowStart[size_t(Y)]; }
  // Rows Top..Bottom-1 take the contents of the rows DY above them (DY > 0: content moves
  // down), wrapping round inside the band. Nothing is copied.
  void RotateRows(Integer Top, Integer Bottom, Integer DY);
  // Out-of-range reads give 0; out-of-range writes are ignored.
  uint32_t Pixel(Integer X, Integer Y) const;
  void SetPixel(Integer X, Integer Y, uint32_t Value);

 private:
  void PutRowsInOrder() const;
  Integer FWidth = 0;
  Integer FHeight = 0;
  // Logically const: reordering the rows in memory does not change any pixel.
  mutable std::vector<uint32_t> FPixels;
  mutable std::vector<size_t> FRowStart;
  mutable bool FRowsInOrder = true;
};

// Writes the surface (or the part Area of it) as a PNG file; false with no file on failure.
bool SavePng(const TSurface& Surface, const std::string& Path, const TRect* Area = nullptr);
bool LoadPng(TSurface& Surface, const std::string& Path);

// ---- GDI-style objects -----------------------------------------------------------------------
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle { bsSolid, bsClear };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, uint8_t>;

// Win32 pen style bits for ExtCreatePen.
enum : DWORD {
  PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
  PS_INSIDEFRAME = 6, PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200,
  PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000, PS_COSMETIC = 0,
  PS_GEOMETRIC = 0x10000
};
enum : UINT { BS_SOLID = 0, BS_NULL = 1 };
struct TLogBrush {
  UINT lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  uintptr_t lbHatch = 0;
};

// A pen handle is a value: the pen's whole description. Our GDI has no handle table to leak.
struct HPEN {
  DWORD Style = PS_SOLID;  // Win32 style bits (PS_GEOMETRIC, PS_ENDCAP_FLAT, …)
  Integer Width = 1;
  COLORREF Color = 0;
  bool Valid = false;
};
// The Win32 style bits of a pen style.
DWORD PenStyleBits(TPenStyle Style);
HPEN ExtCreatePen(DWORD PenStyle, DWORD Width, const TLogBrush& Brush, DWORD StyleCount = 0,
                  const DWORD* StyleArray = nullptr);

class TPen : public TPersistent {
  PLUMB_CLASS(TPen, TPersistent)
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer Value);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);
  // The pen as a handle; setting a handle (from ExtCreatePen) replaces colour, width and style.
  HPEN GetHandle() const;
  void SetHandle(const HPEN& Value);
  void Assign(const TPersistent* Source) override;
  TNotifyEvent OnChange;

 private:
  void Changed();
  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  DWORD FExtStyle = PS_SOLID;  // geometric/end-cap bits of a handle set from ExtCreatePen
};

class TBrush : public TPersistent {
  PLUMB_CLASS(TBrush, TPersistent)
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  void Assign(const TPersistent* Source) override;
  TNotifyEvent OnChange;

 private:
  void Changed();
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

class TFont : public TPersistent {
  PLUMB_CLASS(TFont, TPersistent)
  static constexpr Integer PixelsPerInch = 96;
  std::string GetName() const { return FName; }
  void SetName(const std::string& Value);
  // Size is in points; Height in pixels, negative for the character height as Win32 has it.
  // Height = -MulDiv(Size, PixelsPerInch, 72).
  Integer GetSize() const;
  void SetSize(Integer Value);
  Integer GetHeight() const { return FHeight; }
  void SetHeight(Integer Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  // Published as a form stream stores a font: colour, pixel height, name and style.
  static void DescribeProperties(TPropertyList<TFont>& P);
  void Assign(const TPersistent* Source) override;
  bool Equals(const TFont& Other) const;
  TNotifyEvent OnChange;

 private:
  void Changed();
  std::string FName = "DejaVu Sans";
  Integer FHeight = -12;  // 9 points at 96 pixels per inch
  TColor FColor = clWindowText;
  TFontStyles FStyle;
};

// ---- Device contexts -------------------------------------------------------------------------
// What a DC drew as text, for tests that check what was written where.
struct TTextOutRecord {
  std::string Text;
  TPoint Pos;        // logical coordinates of the text's top-left
  TRect Rect;        // logical rectangle passed with ETO_CLIPPED / ETO_OPAQUE (else all zero)
  UINT Options = 0;
  TColor Color = clBlack;
};

// Pen is the pen in force: its style bits give the dashes and the geometric end caps.
// PenStyle mirrors the style of the TPen a canvas selected; it matters only while Pen is not
// Valid (a DC that was never given a pen), when it picks the dashes of the stock black pen.
struct TDeviceContext {
  TSurface* Surface = nullptr;
  TPoint Origin;  // surface position of logical (0, 0)
  TRegion Clip;   // surface coordinates; drawing never leaves it
  HPEN Pen;
  TColor BrushColor = clWhite;
  bool BrushClear = false;
  TPenMode PenMode = pmCopy;
  TPenStyle PenStyle = psSolid;
  TFont Font;
  TColor TextColor = clBlack;
  TColor BkColor = clWhite;
  TPoint PenPos;  // logical
  std::vector<TTextOutRecord>* TextLog = nullptr;  // when set, every ExtTextOut is recorded
};
using HDC = TDeviceContext*;

// A DC over the whole surface, clipped to it, origin (0, 0).
void InitDC(TDeviceContext& DC, TSurface* Surface);

// DrawEdge edges and flags.
enum : UINT {
  BDR_RAISEDOUTER = 0x0001, BDR_SUNKENOUTER = 0x0002, BDR_RAISEDINNER = 0x0004,
  BDR_SUNKENINNER = 0x0008, BDR_OUTER = 0x0003, BDR_INNER = 0x000C,
  EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
  EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER, EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
  BF_LEFT = 0x0001, BF_TOP = 0x0002, BF_RIGHT = 0x0004, BF_BOTTOM = 0x0008,
  BF_TOPLEFT = BF_TOP | BF_LEFT, BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
  BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM, BF_MIDDLE = 0x0800, BF_SOFT = 0x1000,
  BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000
};
// DrawFrameControl types and states.
enum : UINT {
  DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4,
  DFCS_SCROLLUP = 0x0000, DFCS_SCROLLDOWN = 0x0001, DFCS_SCROLLLEFT = 0x0002,
  DFCS_SCROLLRIGHT = 0x0003, DFCS_SCROLLCOMBOBOX = 0x0005, DFCS_SCROLLSIZEGRIP = 0x0008,
  DFCS_BUTTONPUSH = 0x0010, DFCS_INACTIVE = 0x0100, DFCS_PUSHED = 0x0200,
  DFCS_CHECKED = 0x0400, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000
};
enum : DWORD { BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062, PATCOPY = 0x00F00021,
               PATINVERT = 0x005A0049, DSTINVERT = 0x00550009 };
enum : UINT { ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004 };
// Region results, as Win32 returns them from the clip functions.
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

// All coordinates are logical; every call clips to the DC's clip region and to the surface.
// A null DC, or a DC without a surface, draws nothing and returns FALSE (0).
bool FillRect(HDC DC, const TRect& R, TColor Color);
bool MoveToEx(HDC DC, Integer X, Integer Y, TPoint* Old = nullptr);
bool LineTo(HDC DC, Integer X, Integer Y);
bool Polyline(HDC DC, const TPoint* Points, int Count);
bool PolyPolyline(HDC DC, const TPoint* Points, const DWORD* Counts, DWORD Polys);
bool DrawEdge(HDC DC, TRect& R, UINT Edge, UINT Flags);
bool DrawFrameControl(HDC DC, TRect& R, UINT Type, UINT State);
bool PatBlt(HDC DC, Integer X, Integer Y, Integer Width, Integer Height, DWORD Rop);
// Text is UTF-8; invalid sequences draw as U+FFFD. Y is the top of the text line.
bool ExtTextOut(HDC DC, Integer X, Integer Y, UINT Options, const TRect* R,
                const std::string& Text);
bool RectVisible(HDC DC, const TRect& R);
int ExcludeClipRect(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom);
int IntersectClipRect(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom);
COLORREF SetTextColor(HDC DC, TColor Color);
COLORREF SetBkColor(HDC DC, TColor Color);
// Width and height of Text in DC's font, exactly the advance ExtTextOut uses.
TPoint GetTextExtent(HDC DC, const std::string& Text);
// The same for a font without a DC (a canvas that has no handle yet measures this way).
TPoint FontTextExtent(const TFont& Font, const std::string& Text);
struct TTextMetric {
  Integer tmHeight = 0;  // ascent + descent: the line height ExtTextOut and TextHeight use
  Integer tmAscent = 0;  // ExtTextOut's baseline lies this far below its Y
  Integer tmDescent = 0;
  Integer tmAveCharWidth = 0;
  Integer tmExternalLeading = 0;
};
bool GetTextMetrics(HDC DC, TTextMetric& TM);

// ---- TCanvas ---------------------------------------------------------------------------------
class TCanvas : public TPersistent {
  PLUMB_CLASS(TCanvas, TPersistent)
  TCanvas();
  ~TCanvas() override;
  // A canvas over a surface of its own DC (origin (0,0), whole-surface clip).
  explicit TCanvas(TSurface* Surface);

  // The DC the canvas draws on; a paint handler hands one in, nullptr detaches.
  HDC GetHandle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TPen* Pen() { return FPen.get(); }
  TBrush* Brush() { return FBrush.get(); }
  TFont* Font() { return FFont.get(); }
  TPoint GetPenPos() const;
  void SetPenPos(TPoint Value);

  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void MoveTo(Integer X, Integer Y);
  void LineTo(Integer X, Integer Y);
  void Polyline(const std::vector<TPoint>& Points);
  void TextOut(Integer X, Integer Y, const std::string& Text);
  void TextRect(const TRect& R, Integer X, Integer Y, const std::string& Text);
  Integer TextWidth(const std::string& Text);
  Integer TextHeight(const std::string& Text);
  TPoint TextExtent(const std::string& Text);
  // Copies Graphic's pixels with its top-left at (X, Y).
  void Draw(Integer X, Integer Y, const TSurface& Graphic);

 protected:
  // Selects Pen, Brush and Font into the DC; every drawing call does this first.
  void RequiredState();

 private:
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TDeviceContext> FOwnDC;  // only for a canvas made over a surface
  HDC FHandle = nullptr;
  // Which of Pen, Brush and Font the DC holds as they are now; a change selects it again, so
  // what a caller sets on the DC directly (SetTextColor, the pen mode) lasts until then.
  enum : uint8_t { csPenValid = 1, csBrushValid = 2, csFontValid = 4 };
  uint8_t FState = 0;
};

}  // namespace plumb
