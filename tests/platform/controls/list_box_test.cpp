// The list box: prefix search, keyboard and mouse selection, its scroll bar, row geometry and
// the highlighted selection.
#include "StdCtrlsTestUtil.h"

namespace plumb::test {
namespace {

class ListBox : public StdCtrlsTest {
 protected:
  TListBox* L = nullptr;
  int Clicks = 0;
  int H = 0;  // row height
  void SetUp() override {
    StdCtrlsTest::SetUp();
    L = Add<TListBox>(Bounds(10, 10, 150, 100));
    H = L->GetItemHeight();
    L->SetHeight(5 * H + 4);  // five rows inside the client edge
    for (const char* S : {"Apple", "apricot", "Banana", "Blueberry", "Cherry", "Date", "Elderberry",
                          "Fig", "Grape", "Kiwi", "Lemon", "Mango"})
      L->GetItems()->Add(S);
    L->OnClick = [this](TObject*) { ++Clicks; };
    D.RunUntilIdle();
  }
  LRESULT SelectString(WPARAM Start, const char* Prefix, UINT Msg = LB_SELECTSTRING) {
    return SendMessage(L->GetHandle(), Msg, Start, LPARAM(Prefix));
  }
  TPoint RowPoint(int Row) { return TPoint{20, Row * H + H / 2}; }
};

TEST_F(ListBox, SelectString_PrefixIgnoringCaseAfterTheStartGoingRound) {
  EXPECT_EQ(SelectString(65535, "ap"), 0);  // 65535: from the top
  EXPECT_EQ(L->GetItemIndex(), 0);
  EXPECT_EQ(SelectString(0, "AP"), 1);  // after the start index, not at it
  EXPECT_EQ(SelectString(1, "ap"), 0);  // round to the top
  EXPECT_EQ(SelectString(WPARAM(-1), "b"), 2);
  EXPECT_EQ(SelectString(65535, "blue"), 3);
  EXPECT_EQ(SelectString(65535, "zz"), LB_ERR);
  EXPECT_EQ(L->GetItemIndex(), 3);  // a failed search keeps the selection
  EXPECT_EQ(SelectString(65535, "m", LB_FINDSTRING), 11);
  EXPECT_EQ(L->GetItemIndex(), 3);
  EXPECT_EQ(SelectString(65535, "MANGO"), 11);
  EXPECT_EQ(L->GetTopIndex(), 7);  // scrolled so that the selection shows
  EXPECT_EQ(SelectString(65535, "Mangos"), LB_ERR);
  EXPECT_EQ(Clicks, 0);  // the program's choice, not the user's
}

TEST_F(ListBox, Keys_MoveTheSelectionIntoViewAndEachChangeClicks) {
  L->SetFocus();
  D.KeyStroke(VK_DOWN);
  EXPECT_EQ(L->GetItemIndex(), 0);
  for (int I = 0; I < 5; ++I) D.KeyStroke(VK_DOWN);
  EXPECT_EQ(L->GetItemIndex(), 5);
  EXPECT_EQ(L->GetTopIndex(), 1);
  D.KeyStroke(VK_END);
  EXPECT_EQ(L->GetItemIndex(), 11);
  EXPECT_EQ(L->GetTopIndex(), 7);
  D.KeyStroke(VK_PRIOR);
  EXPECT_EQ(L->GetItemIndex(), 7);
  D.KeyStroke(VK_HOME);
  D.KeyStroke(VK_UP);  // already at the top: no change, no click
  EXPECT_EQ(L->GetItemIndex(), 0);
  EXPECT_EQ(L->GetTopIndex(), 0);
  EXPECT_EQ(Clicks, 9);
  D.TypeText("bbbq");  // a letter selects the next item it begins, going round
  EXPECT_EQ(L->GetItemIndex(), 2);
  EXPECT_EQ(Clicks, 12);
}

TEST_F(ListBox, Mouse_ClickSelectsDragFollowsReleaseAndDoubleClickReachTheEvents) {
  std::vector<TPoint> Ups;
  L->OnMouseUp = [&](TObject*, TMouseButton B, TShiftState, Integer X, Integer Y) {
    if (B == mbLeft) Ups.push_back({X, Y});
  };
  int Doubles = 0;
  L->OnDblClick = [&](TObject*) { ++Doubles; };
  TPoint P = RowPoint(2);
  D.ClickAt(L, P.X, P.Y);
  EXPECT_EQ(L->GetItemIndex(), 2);
  EXPECT_TRUE(L->Focused());
  ASSERT_EQ(Ups.size(), 1u);
  EXPECT_EQ(Ups[0], P);
  D.Advance(1000);
  D.MouseDownAt(L, 20, RowPoint(0).Y);
  D.MouseMoveAt(L, 20, RowPoint(3).Y);
  D.MouseMoveAt(L, 20, -5);  // above the list: the row above the top one
  D.MouseUpAt(L, 20, -5);
  EXPECT_EQ(L->GetItemIndex(), 0);
  EXPECT_EQ(Clicks, 4);  // 2, then 0, 3 and 0 again while dragging
  D.Advance(1000);
  D.DoubleClickAt(L, 20, RowPoint(1).Y);
  EXPECT_EQ(Doubles, 1);
  EXPECT_EQ(L->GetItemIndex(), 1);
  L->GetItems()->SetText("one\ntwo\n");
  D.Advance(1000);
  D.ClickAt(L, 20, RowPoint(4).Y);  // below the last item
  EXPECT_EQ(L->GetItemIndex(), 1);
}

TEST_F(ListBox, ScrollBar_OnlyWithMoreItemsThanRowsAndItScrolls) {
  Integer Width = L->GetWidth() - 4;
  EXPECT_EQ(L->GetClientWidth(), Width - GetSystemMetrics(SM_CXVSCROLL));
  Integer Min = 0, Max = 0;
  GetScrollRange(L->GetHandle(), SB_VERT, &Min, &Max);
  EXPECT_EQ(Max, 12 - 5);
  D.ClickAt(L, L->GetClientWidth() + 8, L->GetClientHeight() - 6);  // the down arrow
  EXPECT_EQ(L->GetTopIndex(), 1);
  EXPECT_EQ(L->ItemAtPos(TPoint{5, 1}, true), 1);
  L->SetItemIndex(11);
  EXPECT_EQ(L->GetTopIndex(), 7);
  while (L->GetCount() > 4) L->GetItems()->Delete(L->GetCount() - 1);
  EXPECT_EQ(L->GetItemIndex(), -1);  // the selected item went
  EXPECT_EQ(L->GetTopIndex(), 0);
  EXPECT_EQ(L->GetClientWidth(), Width);  // and so did the bar
  EXPECT_EQ(L->ItemAtPos(TPoint{5, 4 * H + 1}, true), -1);
  EXPECT_EQ(L->ItemAtPos(TPoint{5, 4 * H + 1}, false), 4);
}

TEST_F(ListBox, Rows_ItemHeightHasTheFontsLineAtLeastAndIntegralHeightCutsWholeRows) {
  Integer Line = FontTextExtent(*L->GetFont(), "").Y;
  L->SetItemHeight(3);
  EXPECT_EQ(L->GetItemHeight(), Line);
  L->SetItemHeight(30);
  EXPECT_EQ(L->GetItemHeight(), 30);
  L->SetIntegralHeight(true);
  L->SetHeight(100);
  EXPECT_EQ(L->GetClientHeight(), 90);
  EXPECT_EQ(L->GetHeight(), 94);
  L->SetHeight(20);  // never less than one row
  EXPECT_EQ(L->GetClientHeight(), 30);
  L->SetTopIndex(0);
  EXPECT_EQ(L->ItemRect(1), Rect(0, 30, L->GetClientWidth(), 60));
  EXPECT_EQ(L->VisibleRows(), 1);
}

TEST_F(ListBox, Paint_TheSelectedRowInHighlight) {
  L->SetItemIndex(1);
  D.RunUntilIdle();
  TSurface S;
  CaptureWindow(L->GetHandle(), S);
  Integer X = 2 + L->GetClientWidth() - 3;  // right of any text
  EXPECT_EQ(S.Pixel(X, 2 + H + H / 2), ColorToPixel(clHighlight));
  EXPECT_EQ(S.Pixel(X, 2 + H / 2), ColorToPixel(clWindow));
  EXPECT_EQ(S.Pixel(X, 2 + 2 * H + H / 2), ColorToPixel(clWindow));
}

}  // namespace
}  // namespace plumb::test
