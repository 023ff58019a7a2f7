// Custom controls painting through their canvas: what is repainted after ScrollWindowEx, what
// a parent's painting leaves alone, and how a form with two controls looks.
#include <cstdlib>

#include "ControlTestUtil.h"

namespace plumb::test {
namespace {

// Rows of 19 pixels, row r (counted from the top of the data) in a colour of its own.
class Rows : public ControlsTest {
 protected:
  static constexpr Integer RowH = 19;
  TProbe* P = nullptr;
  Integer TopRow = 0;
  static TColor RowColor(Integer R) {
    return TColor(RGB(uint8_t(40 + R * 9), uint8_t(200 - R * 5), 120));
  }
  void SetUp() override {
    ControlsTest::SetUp();
    P = AddProbe(Bounds(20, 20, 200, 10 * RowH));
    P->PaintFn = [this](TProbe* Self) {
      TCanvas* C = Self->GetCanvas();
      for (Integer Y = 0; Y < 10; ++Y) {
        C->Brush()->SetColor(RowColor(TopRow + Y));
        C->FillRect(Rect(0, Y * RowH, 200, (Y + 1) * RowH));
      }
    };
    P->Invalidate();
    D.RunUntilIdle();
    P->PaintClips.clear();
  }
  uint32_t Px(Integer X, Integer Y) { return D.ScreenPixel(50 + 20 + X, 40 + 20 + Y); }
};

TEST_F(Rows, Scrolling_OneRowDown_MovesThePixelsAndRepaintsOnlyTheUncoveredStrip) {
  ++TopRow;
  TRect Area = P->GetClientRect();
  ScrollWindowEx(P->GetHandle(), 0, -RowH, &Area, &Area, nullptr, nullptr, SW_INVALIDATE);
  P->Update();
  ASSERT_EQ(P->PaintClips.size(), 1u);
  EXPECT_EQ(P->PaintClips[0], Rect(0, 9 * RowH, 200, 10 * RowH));
  for (Integer Y = 0; Y < 10 * RowH; Y += 3)
    ASSERT_EQ(Px(100, Y), ColorToPixel(RowColor(TopRow + Y / RowH))) << "y " << Y;
  auto& Rec = D.Record().ScrollWindows;
  ASSERT_EQ(Rec.size(), 1u);
  EXPECT_EQ(Rec[0].DY, -RowH);
}

TEST_F(Rows, Painting_AParentRepaintingNeverCoversItsChild) {
  Form->SetColor(clYellow);
  Form->Invalidate();
  Form->Update();
  EXPECT_EQ(Px(100, 5), ColorToPixel(RowColor(0)));
  EXPECT_EQ(Px(-5, 5), ColorToPixel(clYellow));
  EXPECT_TRUE(P->PaintClips.empty());
}

TEST_F(Rows, Painting_TheCanvasOutsideAPaintDrawsOnTheWindowAndIsGivenBack) {
  TCanvas* C = P->GetCanvas();
  ASSERT_TRUE(C->HandleAllocated());
  C->Brush()->SetColor(clRed);
  C->FillRect(Rect(0, 0, 10, 10));
  EXPECT_EQ(Px(5, 5), ColorToPixel(clRed));
  P->Perform(WM_NULL, 0, 0);
  SendMessage(P->GetHandle(), WM_NULL, 0, 0);  // the end of a message gives the DC back
  EXPECT_FALSE(C->HandleAllocated());
}

class Snapshot : public ControlsTest {};

TEST_F(Snapshot, AFormWithTwoCustomControlsOneWithAScrollBar) {
  Form->SetColor(clBtnFace);
  auto* Left = AddProbe(Bounds(20, 20, 150, 200));
  Left->ExtraExStyle = WS_EX_CLIENTEDGE;
  Left->Fill = clWindow;
  Left->RecreateWnd();
  auto* Right = AddProbe(Bounds(200, 20, 170, 200));
  Right->ExtraStyle = WS_BORDER | WS_VSCROLL;
  Right->PaintFn = [](TProbe* Self) {
    TCanvas* C = Self->GetCanvas();
    C->Brush()->SetColor(clWindow);
    C->FillRect(Self->GetClientRect());
    C->Pen()->SetColor(clSilver);
    for (Integer Y = 18; Y < 200; Y += 19) {
      C->MoveTo(0, Y);
      C->LineTo(Self->GetClientWidth(), Y);
    }
    C->TextOut(4, 2, "Row one");
  };
  Right->RecreateWnd();
  SetScrollRange(Right->GetHandle(), SB_VERT, 0, 127, true);
  SetScrollPos(Right->GetHandle(), SB_VERT, 64, true);
  const char* Dir = std::getenv("TMPDIR");
  std::string Path = std::string(Dir ? Dir : "/tmp") + "/plumb_win_form.png";
  ASSERT_TRUE(D.Snapshot(Path));

  TPoint R = D.ToScreen(Right, 0, 0);  // inside the 1-pixel border
  EXPECT_EQ(D.ScreenPixel(R.X - 1, R.Y + 50), ColorToPixel(clWindowFrame));
  Integer BarX = R.X + Right->GetClientWidth() + 8;
  EXPECT_EQ(D.ScreenPixel(BarX, R.Y + 30), ColorToPixel(clScrollBar));  // the track above the thumb
  Integer Track = 198 - 2 * 17 - 17;
  Integer ThumbMid = R.Y + 17 + MulDiv(64, Track, 127) + 8;
  EXPECT_EQ(D.ScreenPixel(BarX, ThumbMid), ColorToPixel(clBtnFace));
  EXPECT_EQ(D.ScreenPixel(R.X + 50, R.Y + 18), ColorToPixel(clSilver));
  TPoint L = D.ToScreen(Left, 0, 0);
  EXPECT_EQ(D.ScreenPixel(L.X + 5, L.Y + 5), ColorToPixel(clWindow));
  EXPECT_NE(D.ScreenPixel(L.X - 1, L.Y - 1), ColorToPixel(clBtnFace));  // the sunken edge
  EXPECT_EQ(D.ScreenPixel(L.X - 5, L.Y - 5), ColorToPixel(clBtnFace));
}

}  // namespace
}  // namespace plumb::test
