// The window's own scroll bars: range and position, geometry, drawing, and mouse tracking.
//
// Map: geometry | drawing | tracking (press, move, release, auto-repeat) | the Win32 calls
//
// A press on a bar (WM_NCLBUTTONDOWN reaching DefWindowProc) starts tracking: from then on the
// pointer belongs to the bar until the release. Arrows send SB_LINEUP/SB_LINEDOWN, the track
// SB_PAGEUP/SB_PAGEDOWN, both repeating while held; the thumb sends SB_THUMBTRACK while it
// moves and SB_THUMBPOSITION on release; every action ends with SB_ENDSCROLL.
#include <algorithm>

#include "win/WinSystem.h"

namespace plumb {
namespace win {

namespace {

constexpr uintptr_t TrackTimerId = 0xFFF0;
constexpr UINT FirstRepeatDelay = 200;
constexpr UINT RepeatDelay = 50;

struct TBarGeometry {
  TRect Bar;
  bool Vertical = true;
  Integer Start = 0, End = 0;            // along the axis, window coordinates
  Integer TrackStart = 0, TrackEnd = 0;  // between the arrows
  Integer ThumbStart = 0, ThumbSize = 0;
  bool HasThumb = false;
};

Integer Along(const TBarGeometry& G, TPoint P) {
  return G.Vertical ? P.Y : P.X;
}

TBarGeometry Geometry(const TWnd* W, int Bar, int Pos) {
  TBarGeometry G;
  G.Bar = BarRect(W, Bar);
  G.Vertical = Bar == SB_VERT;
  G.Start = G.Vertical ? G.Bar.Top : G.Bar.Left;
  G.End = G.Vertical ? G.Bar.Bottom : G.Bar.Right;
  Integer Len = G.End - G.Start;
  Integer Arrow = GetSystemMetrics(G.Vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
  if (Len < 2 * Arrow) Arrow = Len / 2;
  G.TrackStart = G.Start + Arrow;
  G.TrackEnd = G.End - Arrow;
  G.ThumbSize = GetSystemMetrics(G.Vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  const TScrollBarState& S = W->Bars[Bar];
  Integer Track = G.TrackEnd - G.TrackStart;
  G.HasThumb = S.Max > S.Min && Track >= G.ThumbSize;
  if (G.HasThumb)
    G.ThumbStart = G.TrackStart + MulDiv(Pos - S.Min, Track - G.ThumbSize, S.Max - S.Min);
  return G;
}

TBarPart PartAt(const TBarGeometry& G, TPoint P) {
  Integer V = Along(G, P);
  if (V < G.TrackStart) return bpLineUp;
  if (V >= G.TrackEnd) return bpLineDown;
  if (!G.HasThumb) return bpNone;
  if (V < G.ThumbStart) return bpPageUp;
  if (V < G.ThumbStart + G.ThumbSize) return bpThumb;
  return bpPageDown;
}

TRect AxisRect(const TBarGeometry& G, Integer From, Integer To) {
  return G.Vertical ? TRect{G.Bar.Left, From, G.Bar.Right, To}
                    : TRect{From, G.Bar.Top, To, G.Bar.Bottom};
}

TPoint ScreenToWindow(const TWnd* W, TPoint P) {
  TRect R;
  GetWindowRect(W->Handle, R);
  return TPoint{P.X - R.Left, P.Y - R.Top};
}

void Notify(HWND Wnd, int Bar, int Code, int Pos) {
  SendMessage(Wnd, Bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(Code, Pos), 0);
}

int PartCode(TBarPart Part) {
  switch (Part) {
    case bpLineUp:
      return SB_LINEUP;
    case bpPageUp:
      return SB_PAGEUP;
    case bpPageDown:
      return SB_PAGEDOWN;
    case bpLineDown:
      return SB_LINEDOWN;
    default:
      return SB_ENDSCROLL;
  }
}

void RepeatTimer(HWND Wnd, UINT, uintptr_t, DWORD) {
  auto& T = Sys().Track;
  TWnd* W = Find(Wnd);
  if (!T.Active || T.Wnd != Wnd || !W) return;
  SetTimer(Wnd, TrackTimerId, RepeatDelay, RepeatTimer);
  // A page repeats only until the thumb reaches the pointer.
  TPoint P = ScreenToWindow(W, Sys().CursorPos);
  if (T.Pressed && PartAt(Geometry(W, T.Bar, W->Bars[T.Bar].Pos), P) == T.Part)
    Notify(Wnd, T.Bar, PartCode(T.Part), 0);
}

}  // namespace

bool HasBar(const TWnd* W, int Bar) {
  return W->Style & (Bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL);
}

TRect BarRect(const TWnd* W, int Bar) {
  Integer B = ((W->Style & WS_BORDER) ? 1 : 0) + ((W->ExStyle & WS_EX_CLIENTEDGE) ? 2 : 0);
  Integer Wd = W->Rect.Width(), Ht = W->Rect.Height();
  Integer CX = GetSystemMetrics(SM_CXVSCROLL), CY = GetSystemMetrics(SM_CYHSCROLL);
  if (Bar == SB_VERT)
    return TRect{std::max(B, Wd - B - CX), B, Wd - B, Ht - B - (HasBar(W, SB_HORZ) ? CY : 0)};
  return TRect{B, std::max(B, Ht - B - CY), Wd - B - (HasBar(W, SB_VERT) ? CX : 0), Ht - B};
}

// ---- Drawing ---------------------------------------------------------------------------------
void DrawBar(TWnd* W, int Bar, HDC DC) {
  const TBarTrack& T = Sys().Track;
  bool Tracking = T.Active && T.Wnd == W->Handle && T.Bar == Bar;
  int Pos = Tracking && T.Part == bpThumb ? T.TrackPos : W->Bars[Bar].Pos;
  TBarGeometry G = Geometry(W, Bar, Pos);
  auto Pressed = [&](TBarPart P) { return Tracking && T.Part == P && T.Pressed; };
  UINT Push = DFCS_PUSHED | DFCS_FLAT;
  TRect A = AxisRect(G, G.Start, G.TrackStart);
  DrawFrameControl(DC, A, DFC_SCROLL,
                   (G.Vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | (Pressed(bpLineUp) ? Push : 0));
  A = AxisRect(G, G.TrackEnd, G.End);
  DrawFrameControl(
      DC, A, DFC_SCROLL,
      (G.Vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | (Pressed(bpLineDown) ? Push : 0));
  if (G.TrackEnd <= G.TrackStart) return;
  if (!G.HasThumb) {
    FillRect(DC, AxisRect(G, G.TrackStart, G.TrackEnd), clScrollBar);
    return;
  }
  Integer ThumbEnd = G.ThumbStart + G.ThumbSize;
  FillRect(DC, AxisRect(G, G.TrackStart, G.ThumbStart),
           Pressed(bpPageUp) ? cl3DDkShadow : clScrollBar);
  FillRect(DC, AxisRect(G, ThumbEnd, G.TrackEnd), Pressed(bpPageDown) ? cl3DDkShadow : clScrollBar);
  TRect Thumb = AxisRect(G, G.ThumbStart, ThumbEnd);
  DrawEdge(DC, Thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

void RedrawBar(TWnd* W, int Bar) {
  if (!HasBar(W, Bar) || !IsVisible(W)) return;
  HDC DC = NewDC(W, false);
  TRect R = BarRect(W, Bar);
  OffsetRect(R, DC->Origin.X, DC->Origin.Y);
  DC->Clip.Intersect(R);
  DrawBar(W, Bar, DC);
  AddDirty(W, DC->Clip.Bounds());
  FreeDC(DC);
}

LRESULT BarHitTest(const TWnd* W, TPoint P) {
  if (HasBar(W, SB_VERT) && PtInRect(BarRect(W, SB_VERT), P)) return HTVSCROLL;
  if (HasBar(W, SB_HORZ) && PtInRect(BarRect(W, SB_HORZ), P)) return HTHSCROLL;
  return HTNOWHERE;
}

// ---- Tracking --------------------------------------------------------------------------------
void StartBarTracking(TWnd* W, int Bar, TPoint ScreenPt) {
  auto& T = Sys().Track;
  if (T.Active) EndBarTracking(true);
  if (!HasBar(W, Bar)) return;
  int Pos = W->Bars[Bar].Pos;
  TPoint P = ScreenToWindow(W, ScreenPt);
  TBarGeometry G = Geometry(W, Bar, Pos);
  TBarPart Part = PartAt(G, P);
  if (Part == bpNone) return;
  T = TBarTrack{W->Handle, Bar, Part, true, Along(G, P) - G.ThumbStart, Pos, true};
  HWND H = W->Handle;
  RedrawBar(W, Bar);
  if (Part == bpThumb) return;
  SetTimer(H, TrackTimerId, FirstRepeatDelay, RepeatTimer);
  Notify(H, Bar, PartCode(Part), 0);
}

void BarTrackingMouse(TWnd* W, UINT Msg, TPoint ScreenPt) {
  auto& T = Sys().Track;
  if (!T.Active || T.Wnd != W->Handle) return;
  TPoint P = ScreenToWindow(W, ScreenPt);
  const TScrollBarState& S = W->Bars[T.Bar];
  TBarGeometry G = Geometry(W, T.Bar, T.Part == bpThumb ? T.TrackPos : S.Pos);
  if (Msg == WM_NCLBUTTONUP) {
    if (T.Part == bpThumb) Notify(T.Wnd, T.Bar, SB_THUMBPOSITION, T.TrackPos);
    EndBarTracking(true);
    return;
  }
  if (T.Part != bpThumb) {
    bool Over = PartAt(G, P) == T.Part;
    if (Over != T.Pressed) {
      T.Pressed = Over;
      RedrawBar(W, T.Bar);
    }
    return;
  }
  Integer Room = G.TrackEnd - G.TrackStart - G.ThumbSize;
  Integer Offset = std::clamp(Along(G, P) - T.GrabOffset - G.TrackStart, 0, std::max(Room, 0));
  int Pos = Room > 0 ? S.Min + MulDiv(Offset, S.Max - S.Min, Room) : S.Min;
  if (Pos == T.TrackPos) return;
  T.TrackPos = Pos;
  RedrawBar(W, T.Bar);
  Notify(T.Wnd, T.Bar, SB_THUMBTRACK, Pos);
}

void EndBarTracking(bool NotifyEnd) {
  auto& T = Sys().Track;
  if (!T.Active) return;
  TBarTrack Old = T;
  T.Active = false;
  KillTimer(Old.Wnd, TrackTimerId);
  if (TWnd* W = Find(Old.Wnd)) RedrawBar(W, Old.Bar);
  if (NotifyEnd && IsWindow(Old.Wnd)) Notify(Old.Wnd, Old.Bar, SB_ENDSCROLL, 0);
}

namespace {

void ShowBar(TWnd* W, int Bar, bool Show) {
  auto& T = Sys().Track;
  if (!Show && T.Active && T.Wnd == W->Handle && T.Bar == Bar) EndBarTracking(true);
  TRect OldRect = W->Rect, OldParentClient = ClientRectInParent(W), OldClient = ClientRect(W);
  DWORD Bit = Bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  if (Show)
    W->Style |= Bit;
  else
    W->Style &= ~Bit;
  if (IsVisible(W)) {
    W->NCDirty = true;
    TRegion Exposed(ClientRect(W));
    Exposed.Subtract(OldClient);
    AddUpdate(W, Exposed, true);
  }
  SendPosChanged(W, OldRect, OldParentClient,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TScrollBarState* BarState(HWND Wnd, int Bar, TWnd** Out = nullptr) {
  TWnd* W = Find(Wnd);
  if (!W || (Bar != SB_VERT && Bar != SB_HORZ)) return nullptr;
  if (Out) *Out = W;
  return &W->Bars[Bar];
}

}  // namespace
}  // namespace win

using namespace win;

// ---- The Win32 calls -------------------------------------------------------------------------
bool SetScrollRange(HWND Wnd, int Bar, int Min, int Max, bool Redraw) {
  TWnd* W = nullptr;
  TScrollBarState* S = BarState(Wnd, Bar, &W);
  if (!S) return false;
  auto& Rec = Sys().Record;
  if (Rec.Enabled) Rec.ScrollBars.push_back({Wnd, Bar, true, Min, Max, 0, Redraw});
  S->Min = Min;
  S->Max = Max;
  S->Pos = std::clamp(S->Pos, std::min(Min, Max), std::max(Min, Max));
  bool Show = Min != Max;
  if (Show != HasBar(W, Bar))
    ShowBar(W, Bar, Show);
  else if (Redraw)
    RedrawBar(W, Bar);
  return true;
}

bool GetScrollRange(HWND Wnd, int Bar, int* Min, int* Max) {
  TScrollBarState* S = BarState(Wnd, Bar);
  if (!S) return false;
  if (Min) *Min = S->Min;
  if (Max) *Max = S->Max;
  return true;
}

int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw) {
  TWnd* W = nullptr;
  TScrollBarState* S = BarState(Wnd, Bar, &W);
  if (!S) return 0;
  auto& Rec = Sys().Record;
  if (Rec.Enabled) Rec.ScrollBars.push_back({Wnd, Bar, false, 0, 0, Pos, Redraw});
  int Old = S->Pos;
  S->Pos = std::clamp(Pos, std::min(S->Min, S->Max), std::max(S->Min, S->Max));
  if (Redraw && S->Pos != Old) RedrawBar(W, Bar);
  return Old;
}

int GetScrollPos(HWND Wnd, int Bar) {
  TScrollBarState* S = BarState(Wnd, Bar);
  return S ? S->Pos : 0;
}

}  // namespace plumb
