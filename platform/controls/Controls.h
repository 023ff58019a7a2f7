#pragma once
// The control classes: TControl (bounds, parent, visibility, colour and font, mouse events),
// TWinControl (a control with a window: creation from CreateParams, message dispatch, keys,
// focus, tab order) and TCustomControl (a window control that paints itself on a canvas).
//
// A window's messages reach its control through MainWndProc, which runs WndProc and hands an
// exception that escapes it to Application->HandleException. WndProc sees every message
// first (focus bookkeeping with the form, the designer), then Dispatch, which each class
// overrides to switch on the message number and call the handler named after it; whatever a
// class does not handle goes to its base's Dispatch and finally to DefaultHandler, which for
// a window control is the window class's own procedure (DefWindowProc by default).
#include <memory>
#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Events.h"
#include "core/Set.h"
#include "core/TypeInfo.h"
#include "gfx/Graphics.h"
#include "win/Windows.h"

namespace plumb {

class TWinControl;
class TCustomForm;
class TPopupMenu;

// ---- Shared types ----------------------------------------------------------------------------
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem, uint8_t>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TCursor = Integer;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents
};
using TControlStyle = TSet<TControlStyleItem>;
enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle
};
using TControlState = TSet<TControlStateItem>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TDragMode { dmManual, dmAutomatic };
enum TBorderStyle : uint8_t { bsNone, bsSingle };
enum TImeMode {
  imDisable,
  imClose,
  imOpen,
  imDontCare,
  imSAlpha,
  imAlpha,
  imHira,
  imSKata,
  imKata,
  imChinese,
  imSHanguel,
  imHanguel
};
using TImeName = std::string;

inline constexpr const char* AlignNames[] = {"alNone", "alTop",   "alBottom",
                                             "alLeft", "alRight", "alClient"};
inline constexpr TEnumInfo AlignInfo{"TAlign", AlignNames};
inline constexpr const char* DragModeNames[] = {"dmManual", "dmAutomatic"};
inline constexpr TEnumInfo DragModeInfo{"TDragMode", DragModeNames};
inline constexpr const char* BorderStyleNames[] = {"bsNone", "bsSingle"};
inline constexpr TEnumInfo BorderStyleInfo{"TBorderStyle", BorderStyleNames};
inline constexpr const char* ImeModeNames[] = {"imDisable", "imClose",   "imOpen",     "imDontCare",
                                               "imSAlpha",  "imAlpha",   "imHira",     "imSKata",
                                               "imKata",    "imChinese", "imSHanguel", "imHanguel"};
inline constexpr TEnumInfo ImeModeInfo{"TImeMode", ImeModeNames};

// Dragging: the events exist so that forms can name handlers for them; this window system
// starts no drag of its own, so nothing fires them yet.
class TDragObject;
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TDragOverEvent = TEvent<void(TObject* Sender, TObject* Source, Integer X, Integer Y,
                                   TDragState State, bool& Accept)>;
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;
using TStartDragEvent = TEvent<void(TObject* Sender, TDragObject*& DragObject)>;

using TMouseEvent =
    TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char32_t& Key)>;

// Whether the window system draws 3-D client edges; ours always does.
extern bool NewStyleControls;

// The shift state of a mouse message's key flags (MK_...), and of a key message's key data.
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);

// ---- TControl --------------------------------------------------------------------------------
class TControl : public TComponent {
  PLUMB_CLASS(TControl, TComponent)
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  Integer GetLeft() const { return FLeft; }
  Integer GetTop() const { return FTop; }
  Integer GetWidth() const { return FWidth; }
  Integer GetHeight() const { return FHeight; }
  void SetLeft(Integer Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(Integer Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(Integer Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(Integer Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  // Bounds are held within ±2^24, far beyond any screen and small enough that sums of
  // positions and extents cannot overflow (a stream may hold any integer).
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  static Integer ClampCoord(Integer Value);
  TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  virtual TRect GetClientRect();
  Integer GetClientWidth() { return GetClientRect().Width(); }
  Integer GetClientHeight() { return GetClientRect().Height(); }
  // Sizes the control so that its client area gets the given size.
  void SetClientWidth(Integer Value);
  void SetClientHeight(Integer Value);
  virtual TPoint GetClientOrigin();
  TPoint ClientToScreen(TPoint P) {
    return TPoint{P.X + GetClientOrigin().X, P.Y + GetClientOrigin().Y};
  }
  TPoint ScreenToClient(TPoint P) {
    return TPoint{P.X - GetClientOrigin().X, P.Y - GetClientOrigin().Y};
  }

  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign Value);

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  TCursor GetDragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value) { FDragCursor = Value; }
  TDragMode GetDragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool GetParentShowHint() const { return FParentShowHint; }
  // Setting ShowHint leaves the parent's: a stream stores it only when the control has its own.
  bool IsShowHintStored() const { return !FParentShowHint; }
  void SetParentShowHint(bool Value);
  TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  virtual std::string GetText() const { return FText; }
  void SetText(const std::string& Value);

  TControlStyle GetControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState GetControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }

  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void BringToFront();
  void SendToBack();
  bool GetMouseCapture() const;
  void SetMouseCapture(bool Value);
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
  virtual void WndProc(TMessage& Message);
  void Dispatch(TMessage& Message) override;
  // Tells the form that a mode (a drag, a dropped-down list) should end.
  void SendCancelMode(TControl* Sender);

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  std::function<void()> SideEffectsUndo() override;

  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDrag;

  // Streams place a control read into a form on its owner.
  void SetParentComponent(TComponent* Value) override;
  static void DescribeProperties(TPropertyList<TControl>& P);

 protected:
  // The parent is told to lay out aligned children again.
  void RequestAlign();
  void FontChanged();
  virtual void VisibleChanging() {}
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void WMMouseMove(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void WMRButtonDown(TMessage& Message);
  void WMRButtonDblClk(TMessage& Message);
  void WMRButtonUp(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMParentShowHintChanged(TMessage& Message);

  TWinControl* FParent = nullptr;
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  TAlign FAlign = alNone;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  TCursor FCursor = crDefault;
  TCursor FDragCursor = crDrag;
  TDragMode FDragMode = dmManual;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TPopupMenu* FPopupMenu = nullptr;
  std::string FText;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;

  friend class TWinControl;
  friend class TCustomForm;
};

// ---- TWinControl -----------------------------------------------------------------------------
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  Integer X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = 0;
  void* Param = nullptr;
  WNDCLASS WindowClass;
  std::string WinClassName;
};

class TWinControl : public TControl {
  PLUMB_CLASS(TWinControl, TControl)
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // The window, made on first use.
  HWND GetHandle();
  bool HandleAllocated() const { return FHandle != 0; }
  void HandleNeeded() { GetHandle(); }
  // A window outside the control tree to live in (a control with no parent control).
  HWND GetParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  bool GetShowing() const { return FShowing; }

  int GetControlCount() const { return int(FControls.size()); }
  TControl* GetControls(int Index) const { return FControls.at(size_t(Index)); }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* Control) const;
  // Sends the message to every child control until one answers it with a non-zero result.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);

  bool GetCtl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  bool GetParentCtl3D() const { return FParentCtl3D; }
  // As ShowHint: Ctl3D is stored only when the control does not follow its parent.
  bool IsCtl3DStored() const { return !FParentCtl3D; }
  void SetParentCtl3D(bool Value);
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  int GetTabOrder() const;
  // While loading, the value waits until the parent is loaded: siblings read later would
  // otherwise push the control away from it.
  void SetTabOrder(int Value);
  TImeMode GetImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode Value) { FImeMode = Value; }
  const TImeName& GetImeName() const { return FImeName; }
  void SetImeName(const TImeName& Value) { FImeName = Value; }
  // Applies ImeMode and ImeName to the window (they matter only on a Far-East system).
  void SetIme();
  void ResetIme();

  virtual bool CanFocus();
  bool Focused() const;
  virtual void SetFocus();
  // Every window control below this one, parents before their children, each level in tab
  // order.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  TRect GetClientRect() override;
  TPoint GetClientOrigin() override;
  void Invalidate() override;
  void Update() override;
  void SetText(const std::string& Value) { TControl::SetText(Value); }
  void RecreateWnd();
  // Lays out the aligned children again.
  void Realign();

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void Loaded() override;
  std::function<void()> SideEffectsUndo() override;

  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

  // The window procedure of every control window.
  static LRESULT ControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

 protected:
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void CreateHandle();
  virtual void DestroyWnd();
  virtual void DestroyHandle();
  virtual void DoEnter();
  virtual void DoExit();
  virtual void PaintWindow(HDC DC);
  void PaintHandler(TMessage& Message);
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  void UpdateShowing();
  void UpdateControlState();
  void UpdateBounds();
  // Runs WndProc for a message from the window, catching what escapes it.
  void MainWndProc(TMessage& Message);
  void RemoveFocus(bool Removing);
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);

  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMKeyUp(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMMove(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMNCDestroy(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CNChar(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);
  void CMParentCtl3DChanged(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);
  void CMCursorChanged(TMessage& Message);

  HWND FHandle = 0;
  WNDPROC FDefWndProc = nullptr;
  HWND FParentWindow = 0;
  bool FShowing = false;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  // The tab order a stream asked for, applied once all siblings are read (-1: none pending).
  int FTabOrderRead = -1;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  bool FTabStop = false;
  TImeMode FImeMode = imDontCare;
  TImeName FImeName;
  int FAlignLevel = 0;

 private:
  void DispatchControlMessage(TMessage& Message);
  void Insert(TControl* AControl);
  void Remove(TControl* AControl);
  void DestroyWindowHandle();
};

// The control whose window this is, or nullptr.
TWinControl* FindControl(HWND Handle);

// ---- TControlCanvas and TCustomControl -------------------------------------------------------
// A canvas that draws on its control's window. Inside a paint it uses the paint's DC; outside
// one it takes a DC from the window when first asked and gives it back once the message being
// handled is done.
class TControlCanvas : public TCanvas {
  PLUMB_CLASS(TControlCanvas, TCanvas)
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TWinControl* GetControl() const { return FControl; }
  void SetControl(TWinControl* Value);
  // Makes sure the canvas has a DC when its control has a window.
  void NeedHandle();
  void FreeHandle();
  // Gives back every DC taken outside a paint.
  static void FreeDeviceContexts();

 private:
  TWinControl* FControl = nullptr;
  HDC FOwnDC = nullptr;
  HWND FOwnWnd = 0;
};

class TCustomControl : public TWinControl {
  PLUMB_CLASS(TCustomControl, TWinControl)
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  // The canvas, with a DC on the window when there is one.
  TCanvas* GetCanvas();
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  void WMPaint(TMessage& Message);

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

}  // namespace plumb
