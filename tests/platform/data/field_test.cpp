// Field conversions, type by type, and their errors.
#include <gtest/gtest.h>

#include "DataTestSupport.h"

using namespace plumb;

// The record grid picks placeholder texts by these ordinals.
static_assert(ftUnknown == 0 && ftBytes == 12 && ftVarBytes == 13 && ftAutoInc == 14);
static_assert(ftBlob == 15 && ftMemo == 16 && ftGraphic == 17 && ftFmtMemo == 18);
static_assert(ftParadoxOle == 19 && ftDBaseOle == 20 && ftTypedBinary == 21);

namespace {

class FieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DS = new TMemDataSet(&Owner);
    const std::pair<const char*, TFieldType> Defs[] = {
        {"Str", ftString},   {"Small", ftSmallint}, {"Int", ftInteger},    {"Word", ftWord},
        {"Bool", ftBoolean}, {"Float", ftFloat},    {"Money", ftCurrency}, {"Date", ftDate},
        {"Time", ftTime},    {"Stamp", ftDateTime}, {"Blob", ftBlob},      {"Memo", ftMemo},
        {"Big", ftLargeint}};
    for (auto [Name, Type] : Defs) DS->AddFieldDef(Name, Type);
    DS->Open();
    DS->Append();
  }
  TField* F(const char* Name) { return DS->FieldByName(Name); }

  // Assigning Text must fail with a message naming the field and the text, leaving the
  // previous value in place.
  void ExpectRefused(const char* Field, const std::string& Good, const std::string& Bad) {
    F(Field)->SetAsString(Good);
    std::string Before = F(Field)->GetAsString();
    try {
      F(Field)->SetAsString(Bad);
      ADD_FAILURE() << Field << " took '" << Bad << "'";
    } catch (const EConvertError& E) {
      EXPECT_NE(std::string(E.what()).find(Field), std::string::npos) << E.what();
      EXPECT_NE(std::string(E.what()).find("'" + Bad + "'"), std::string::npos) << E.what();
    }
    EXPECT_EQ(F(Field)->GetAsString(), Before);
  }

  TComponent Owner{nullptr};
  TMemDataSet* DS = nullptr;
};

TEST_F(FieldTest, IntegerKinds_ReadTextAndCheckTheirRange) {
  F("Int")->SetAsString(" 42 ");
  EXPECT_EQ(F("Int")->GetAsInteger(), 42);
  EXPECT_EQ(F("Int")->GetAsVariant().VarType(), varInteger);
  ExpectRefused("Int", "7", "4x2");
  ExpectRefused("Int", "7", "1.5");
  ExpectRefused("Int", "7", "3000000000");
  ExpectRefused("Small", "-32768", "32768");
  ExpectRefused("Word", "65535", "-1");
  F("Big")->SetAsString("9000000000");
  EXPECT_EQ(F("Big")->GetAsLargeInt(), 9000000000LL);
  EXPECT_THROW(F("Big")->GetAsInteger(), EConvertError);
  // Floats are rounded into integer fields, as the class library does.
  F("Int")->SetAsFloat(2.6);
  EXPECT_EQ(F("Int")->GetAsString(), "3");
}

// A number or a date converts only when the whole text is the value; the error names the
// field after a short quote of the text, whatever the text holds.
TEST_F(FieldTest, TextsThatAreNotWhollyTheValue_AreRefusedWithAShortMessage) {
  using namespace std::string_literals;
  const std::string Huge(1 << 20, '7');
  const std::pair<const char*, std::vector<std::string>> Cases[] = {
      {"Int", {"12\0 34"s, "12\0"s, "12 34", "\n12", "1-2", Huge}},
      {"Big", {"7\0"s}},
      {"Float", {"12\0.5"s, "1.5\0"s, "0x10", "\v1", "2.5 kg", "1e5e", "\0"s + Huge}},
      {"Date", {"2024-02-29\0"s}},
      {"Bool", {"1\0"s}}};
  for (const auto& [Field, Texts] : Cases)
    for (const std::string& Bad : Texts) {
      F(Field)->Clear();
      try {
        F(Field)->SetAsString(Bad);
        ADD_FAILURE() << Field << " took " << QuotedText(Bad);
      } catch (const EConvertError& E) {
        std::string Message = E.what();  // as a C string: nothing may end it early
        EXPECT_LT(Message.size(), 120u) << Field;
        EXPECT_NE(Message.find("for field '" + std::string(Field) + "'"), std::string::npos)
            << Message;
        EXPECT_EQ(Message.find(QuotedText(Bad)), 0u) << Message;
      }
      EXPECT_TRUE(F(Field)->IsNull()) << Field;
    }
  EXPECT_EQ(QuotedText("12\0 34"s), "'12\\x00 34'");
  EXPECT_EQ(QuotedText(std::string(50, 'a')), "'" + std::string(40, 'a') + "...'");
  EXPECT_EQ(QuotedText("\xC3\xA9t\xC3"), "'\xC3\xA9t\\xC3'");  // a cut character is escaped
}

TEST_F(FieldTest, EmptyText_IsNullExceptInTextFields) {
  F("Int")->SetAsString("5");
  F("Int")->SetAsString("");
  EXPECT_TRUE(F("Int")->IsNull());
  EXPECT_EQ(F("Int")->GetAsInteger(), 0);
  F("Str")->SetAsString("");
  EXPECT_FALSE(F("Str")->IsNull());
  F("Date")->SetAsString("  ");
  EXPECT_TRUE(F("Date")->IsNull());
}

TEST_F(FieldTest, FloatsAndCurrency_RoundTripAndFormat) {
  F("Float")->SetAsString("0.1");
  EXPECT_EQ(F("Float")->GetAsString(), "0.1");
  F("Float")->SetAsString("1e3");
  EXPECT_DOUBLE_EQ(F("Float")->GetAsFloat(), 1000.0);
  ExpectRefused("Float", "1", "1.2.3");
  ExpectRefused("Float", "1", "nan");
  F("Money")->SetAsString("12.5");
  EXPECT_EQ(F("Money")->GetAsString(), "12.5");
  EXPECT_EQ(F("Money")->GetDisplayText(), "12.50");
}

TEST_F(FieldTest, Booleans_AcceptTheUsualWordsInAnyCase) {
  for (const char* Yes : {"True", "yes", "T", "1", "Y"}) {
    F("Bool")->SetAsString(Yes);
    EXPECT_TRUE(F("Bool")->GetAsBoolean()) << Yes;
    EXPECT_EQ(F("Bool")->GetAsString(), "True");
  }
  F("Bool")->SetAsString("false");
  EXPECT_EQ(F("Bool")->GetAsString(), "False");
  ExpectRefused("Bool", "True", "maybe");
}

TEST_F(FieldTest, DatesAndTimes_ReadIsoTextAndRefuseImpossibleOnes) {
  F("Date")->SetAsString("2024-02-29");
  EXPECT_EQ(F("Date")->GetAsString(), "2024-02-29");
  EXPECT_DOUBLE_EQ(F("Date")->GetAsDateTime(), 45351.0);
  ExpectRefused("Date", "2024-01-01", "2023-02-29");
  ExpectRefused("Date", "2024-01-01", "29.02.2024");
  F("Time")->SetAsString("13:05");
  EXPECT_EQ(F("Time")->GetAsString(), "13:05:00");
  ExpectRefused("Time", "00:00", "25:00");
  F("Stamp")->SetAsString("2024-02-29T13:05:07");
  EXPECT_EQ(F("Stamp")->GetAsString(), "2024-02-29 13:05:07");
  // A date put into a date-time field means midnight; a date field drops a time of day.
  F("Stamp")->SetAsString("2000-01-01");
  EXPECT_EQ(F("Stamp")->GetAsString(), "2000-01-01 00:00:00");
  F("Date")->SetAsDateTime(45351.75);
  EXPECT_EQ(F("Date")->GetAsString(), "2024-02-29");
}

TEST(DateTimeTest, EveryDayOfTwoCenturiesRoundTripsThroughText) {
  TDateTime Start, End;
  ASSERT_TRUE(TryEncodeDate(1900, 1, 1, Start));
  ASSERT_TRUE(TryEncodeDate(2100, 12, 31, End));
  for (TDateTime D = Start; D <= End; D += 1) {
    TDateTime Back = -1;
    ASSERT_TRUE(TryStrToDate(DateToStr(D), Back)) << DateToStr(D);
    ASSERT_EQ(Back, D) << DateToStr(D);
  }
  EXPECT_FALSE(IsValidDate(1900, 2, 29));
  EXPECT_TRUE(IsValidDate(2000, 2, 29));
  TDateTime T;
  ASSERT_TRUE(TryStrToTime("23:59:59.5", T));
  EXPECT_EQ(TimeToStr(T), "23:59:59.500");
}

TEST_F(FieldTest, TextAndBinaryFields_KeepWhatTheyAreGiven) {
  F("Str")->SetAsString("007");
  EXPECT_EQ(F("Str")->GetAsString(), "007");
  EXPECT_EQ(F("Str")->GetAsInteger(), 7);
  F("Str")->SetAsString("abc");
  try {
    F("Str")->GetAsInteger();
    ADD_FAILURE();
  } catch (const EConvertError& E) {
    EXPECT_NE(std::string(E.what()).find("Str"), std::string::npos);
  }
  F("Blob")->SetAsString(std::string("a\0b", 3));
  EXPECT_EQ(F("Blob")->GetAsVariant().ToBytes().size(), 3u);
  EXPECT_THROW(F("Blob")->SetAsInteger(5), EConvertError);
  EXPECT_THROW(F("Int")->SetAsVariant(TBytes{1, 2}), EConvertError);
  F("Memo")->SetAsString("line 1\nline 2");
  EXPECT_EQ(F("Memo")->GetAsString(), "line 1\nline 2");
}

TEST_F(FieldTest, Alignment_NumbersRightEverythingElseLeft) {
  for (const char* N : {"Small", "Int", "Word", "Float", "Money", "Big"})
    EXPECT_EQ(F(N)->GetAlignment(), taRightJustify) << N;
  for (const char* N : {"Str", "Bool", "Date", "Memo", "Blob"})
    EXPECT_EQ(F(N)->GetAlignment(), taLeftJustify) << N;
}

TEST_F(FieldTest, Writes_NeedEditStateAndAWritableField) {
  DS->Cancel();
  EXPECT_THROW(F("Str")->SetAsString("x"), EDatabaseError);
  DS->Append();
  F("Str")->SetReadOnly(true);
  EXPECT_FALSE(F("Str")->GetCanModify());
  EXPECT_THROW(F("Str")->SetAsString("x"), EDatabaseError);
  EXPECT_TRUE(F("Int")->GetCanModify());
  DS->SetReadOnly(true);
  EXPECT_FALSE(F("Int")->GetCanModify());
}

TEST_F(FieldTest, OnValidate_CanRefuseAValueWhichIsThenNotStored) {
  F("Int")->SetAsInteger(1);
  F("Int")->OnValidate = [](TField* Sender) {
    if (Sender->GetAsInteger() > 10) throw EDatabaseError("too big");
  };
  EXPECT_THROW(F("Int")->SetAsInteger(11), EDatabaseError);
  EXPECT_EQ(F("Int")->GetAsInteger(), 1);
  F("Int")->SetAsInteger(9);
  EXPECT_EQ(F("Int")->GetAsInteger(), 9);
}

}  // namespace
