// The window's scroll bar: range and visibility, drawing by position, and what the mouse makes
// of it.
#include "WinTestUtil.h"

namespace plumb::test {
namespace {

struct TCode {
  int Code;
  int Pos;
  friend bool operator==(const TCode&, const TCode&) = default;
};

void PrintTo(const TCode& C, std::ostream* Os) {
  *Os << "{" << C.Code << ", " << C.Pos << "}";
}

// A 200 x 200 window at (100, 100) with a vertical bar: arrows 17 high at each end, the track
// between (y 17 to 183 in the window), a thumb 17 high.
class ScrollBar : public WinTest {
 protected:
  HWND Top = 0;
  void SetUp() override {
    WinTest::SetUp();
    Top = MakeTop(Bounds(100, 100, 200, 200), WS_POPUP | WS_VSCROLL);
    SetScrollRange(Top, SB_VERT, 0, 100, true);
    Pump();
    L().Log.clear();
  }
  TPoint Bar(Integer Y) { return Point(100 + 191, 100 + Y); }
  std::vector<TCode> Codes() {
    std::vector<TCode> R;
    for (const auto& M : L().Of(WM_VSCROLL)) R.push_back({LOWORD(M.WParam), HIWORD(M.WParam)});
    return R;
  }
  uint32_t Px(Integer X, Integer Y) { return GetWindowSurface(Top)->Pixel(X, Y); }
};

TEST_F(ScrollBar, Range_EmptyRemovesTheBarWidensTheClientAndSendsWMSize) {
  TRect C;
  GetClientRect(Top, C);
  EXPECT_EQ(C.Right, 200 - 17);
  SetScrollRange(Top, SB_VERT, 0, 0, true);
  GetClientRect(Top, C);
  EXPECT_EQ(C.Right, 200);
  auto Sizes = L().Of(WM_SIZE);
  ASSERT_EQ(Sizes.size(), 1u);
  EXPECT_EQ(Sizes[0].LParam, MAKELPARAM(200, 200));
  EXPECT_FALSE(GetWindowLongPtr(Top, GWL_STYLE) & WS_VSCROLL);
  L().Log.clear();
  Pump();  // the strip the bar left is painted by the client now
  ASSERT_FALSE(L().Painted[Top].empty());
  EXPECT_EQ(L().Painted[Top].back(), Rect(183, 0, 200, 200));
  SetScrollRange(Top, SB_VERT, 0, 127, true);
  GetClientRect(Top, C);
  EXPECT_EQ(C.Right, 183);
}

TEST_F(ScrollBar, Position_IsKeptInRangeAndPlacesTheThumb) {
  EXPECT_EQ(SetScrollPos(Top, SB_VERT, 50, true), 0);
  EXPECT_EQ(GetScrollPos(Top, SB_VERT), 50);
  Integer ThumbTop = 17 + MulDiv(50, 183 - 17 - 17, 100);
  EXPECT_EQ(Px(191, ThumbTop + 8), ColorToPixel(clBtnFace));
  EXPECT_EQ(Px(191, ThumbTop - 5), ColorToPixel(clScrollBar));
  SetScrollPos(Top, SB_VERT, 1000, true);
  EXPECT_EQ(GetScrollPos(Top, SB_VERT), 100);
  EXPECT_EQ(Px(191, 183 - 9), ColorToPixel(clBtnFace));
  EXPECT_EQ(Px(191, ThumbTop + 8), ColorToPixel(clScrollBar));
  SetScrollPos(Top, SB_VERT, -4, true);
  EXPECT_EQ(GetScrollPos(Top, SB_VERT), 0);
}

TEST_F(ScrollBar, Mouse_ArrowAndTrackClicksSendTheirCodesThenEndScroll) {
  Click(Bar(190));  // the down arrow
  Click(Bar(5));    // the up arrow
  Click(Bar(120));  // the track below the thumb
  SetScrollPos(Top, SB_VERT, 100, true);
  Click(Bar(60));  // the track above it
  EXPECT_EQ(Codes(), (std::vector<TCode>{{SB_LINEDOWN, 0},
                                         {SB_ENDSCROLL, 0},
                                         {SB_LINEUP, 0},
                                         {SB_ENDSCROLL, 0},
                                         {SB_PAGEDOWN, 0},
                                         {SB_ENDSCROLL, 0},
                                         {SB_PAGEUP, 0},
                                         {SB_ENDSCROLL, 0}}));
  EXPECT_TRUE(L().Of(WM_LBUTTONDOWN).empty());
}

TEST_F(ScrollBar, Mouse_AHeldArrowRepeatsWithTheClock) {
  InjectMouseButton(rbLeft, true, Bar(190));
  Pump();
  AdvanceClock(199);
  Pump();
  EXPECT_EQ(Codes().size(), 1u);
  AdvanceClock(1);
  Pump();
  AdvanceClock(50);
  Pump();
  InjectMouseButton(rbLeft, false, Bar(190));
  Pump();
  AdvanceClock(500);
  Pump();
  EXPECT_EQ(Codes(), (std::vector<TCode>{
                         {SB_LINEDOWN, 0}, {SB_LINEDOWN, 0}, {SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollBar, Mouse_ThumbDragTracksThenSetsThePositionThenEnds) {
  InjectMouseButton(rbLeft, true, Bar(25));      // 8 pixels into the thumb
  InjectMouseMove(Bar(25));                      // no movement: nothing to say
  InjectMouseMove(Point(100 + 150, 100 + 100));  // off the bar: the thumb still follows
  InjectMouseMove(Bar(500));
  InjectMouseButton(rbLeft, false, Bar(500));
  Pump();
  int Mid = MulDiv(100 - 8 - 17, 100, 149);
  EXPECT_EQ(
      Codes(),
      (std::vector<TCode>{
          {SB_THUMBTRACK, Mid}, {SB_THUMBTRACK, 100}, {SB_THUMBPOSITION, 100}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(GetScrollPos(Top, SB_VERT), 0);  // moving the thumb is the owner's business
  EXPECT_TRUE(L().Of(WM_MOUSEMOVE).empty());
}

TEST_F(ScrollBar, Mouse_ThePositionTravelsInTheHighWordAs16Bits) {
  SetScrollRange(Top, SB_VERT, 0, 60000, false);
  InjectMouseButton(rbLeft, true, Bar(25));
  InjectMouseMove(Bar(400));
  InjectMouseButton(rbLeft, false, Bar(400));
  Pump();
  auto V = L().Of(WM_VSCROLL);
  ASSERT_GE(V.size(), 2u);
  EXPECT_EQ(HIWORD(V[V.size() - 2].WParam), 60000);
  EXPECT_EQ(int16_t(HIWORD(V[V.size() - 2].WParam)), int16_t(-5536));
}

TEST_F(ScrollBar, Mouse_CancelModeEndsTrackingWithEndScroll) {
  InjectMouseButton(rbLeft, true, Bar(190));
  Pump();
  SendMessage(Top, WM_CANCELMODE, 0, 0);
  InjectMouseButton(rbLeft, false, Bar(190));
  Pump();
  EXPECT_EQ(Codes(), (std::vector<TCode>{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(L().Of(WM_LBUTTONUP).size(), 0u);  // the release lands on the bar: non-client
}

}  // namespace
}  // namespace plumb::test
