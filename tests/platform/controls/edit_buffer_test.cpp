#include <gtest/gtest.h>

#include "controls/EditBuffer.h"

using namespace plumb;

TEST(EditBufferTest, CaretAndSelectionAtTheEdges) {
  TEditBuffer B;
  B.MoveLeft(false);
  B.MoveRight(true);
  EXPECT_EQ(B.Caret(), 0);
  EXPECT_EQ(B.SelLength(), 0);
  EXPECT_EQ(B.DeleteBack(), erUnchanged);
  EXPECT_EQ(B.DeleteForward(), erUnchanged);
  B.SelectAll();  // all of an empty text: 0..0, which equals the length
  EXPECT_EQ(B.SelLength(), B.Length());
  B.SetText("hello world");
  B.MoveEnd(false);
  B.MoveWordLeft(true);
  EXPECT_EQ(B.SelText(), "world");
  B.MoveLeft(false);  // collapses to the selection's start
  EXPECT_EQ(B.Caret(), 6);
  B.MoveWordLeft(false);
  EXPECT_EQ(B.Caret(), 0);
  B.MoveWordRight(false);
  EXPECT_EQ(B.Caret(), 6);
  B.SelectWordAt(8);
  EXPECT_EQ(B.SelText(), "world");
  B.SetSel(-5, 99);
  EXPECT_EQ(B.SelStart(), 0);
  EXPECT_EQ(B.SelLength(), 11);
}

TEST(EditBufferTest, TypingReplacesTheSelectionAndMarksModified) {
  TEditBuffer B;
  B.SetText("abc");
  EXPECT_FALSE(B.GetModified());
  B.SetSel(1, 2);
  EXPECT_EQ(B.TypeChar(U'\u00E9'), erChanged);
  EXPECT_EQ(B.GetText(), "a\xC3\xA9" "c");
  EXPECT_EQ(B.Caret(), 2);
  EXPECT_TRUE(B.GetModified());
  EXPECT_EQ(B.DeleteBack(), erChanged);
  EXPECT_EQ(B.GetText(), "ac");
  EXPECT_TRUE(B.Reset());
  EXPECT_EQ(B.GetText(), "abc");
  EXPECT_FALSE(B.GetModified());
}

TEST(EditBufferTest, PasteKeepsTheFirstLineAndWhatFitsMaxLength) {
  TEditBuffer B;
  B.SetMaxLength(5);
  B.SetText("ab");
  B.MoveEnd(false);
  EXPECT_EQ(B.InsertText("cdefgh\nsecond"), erChanged);
  EXPECT_EQ(B.GetText(), "abcde");
  EXPECT_EQ(B.TypeChar(U'x'), erRefused);
  B.SetSel(0, 5);
  EXPECT_EQ(B.InsertText("1\r\n2"), erChanged);
  EXPECT_EQ(B.GetText(), "1");
}

TEST(EditBufferTest, ReadOnlyRefusesChangesButMovesTheCaret) {
  TEditBuffer B;
  B.SetText("fixed");
  B.SetReadOnly(true);
  B.SelectAll();
  EXPECT_EQ(B.TypeChar(U'x'), erRefused);
  EXPECT_EQ(B.InsertText("y"), erRefused);
  EXPECT_EQ(B.ClearSelection(), erRefused);
  EXPECT_EQ(B.DeleteBack(), erRefused);
  B.MoveHome(false);
  B.MoveRight(false);
  EXPECT_EQ(B.Caret(), 1);
  EXPECT_EQ(B.GetText(), "fixed");
}

TEST(EditBufferTest, MaskedTypingSkipsLiteralsAndRefusesWrongCharacters) {
  TEditBuffer B;
  B.SetEditMask("00-00;0;_");
  EXPECT_EQ(B.GetText(), "__-__");
  EXPECT_EQ(B.TypeChar(U'1'), erChanged);
  EXPECT_EQ(B.TypeChar(U'2'), erChanged);
  EXPECT_EQ(B.Caret(), 3);  // passed over the literal
  EXPECT_EQ(B.TypeChar(U'x'), erRefused);
  EXPECT_EQ(B.GetText(), "12-__");
  EXPECT_EQ(B.TypeChar(U'3'), erChanged);
  EXPECT_EQ(B.GetValueText(), "123");
  EXPECT_EQ(B.DeleteBack(), erChanged);
  EXPECT_EQ(B.DeleteBack(), erChanged);  // steps back over the literal
  EXPECT_EQ(B.GetText(), "1_-__");
  EXPECT_EQ(B.InsertText("9z"), erRefused);  // a paste the mask cannot hold changes nothing
  EXPECT_EQ(B.GetText(), "1_-__");
  EXPECT_TRUE(B.Reset());
  EXPECT_EQ(B.GetText(), "__-__");
}

TEST(EditBufferTest, ProgrammaticTextGoesThroughTheMask) {
  TEditBuffer B;
  B.SetEditMask(">LL;0");
  B.SetText("ab");
  EXPECT_EQ(B.GetText(), "AB");
  EXPECT_FALSE(B.GetModified());
  B.SetEditMask("");
  EXPECT_EQ(B.GetText(), "AB");
}
