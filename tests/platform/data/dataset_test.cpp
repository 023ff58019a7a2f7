// The data set's state machine, navigation, and what data sources and links hear.
#include <gtest/gtest.h>

#include "DataTestSupport.h"

using namespace plumb;
using plumb::test::TRecordingLink;
using Log = std::vector<std::string>;

namespace {

class DataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    People = plumb::test::MakePeople(&Owner);
    Source = new TDataSource(&Owner);
    Source->SetDataSet(People);
    Link.Attach(Source);
    Link.Take();
  }
  TField* Name() { return People->FieldByName("Name"); }

  TComponent Owner{nullptr};
  TMemDataSet* People = nullptr;
  TDataSource* Source = nullptr;
  TRecordingLink Link;
};

TEST_F(DataSetTest, OpenAndClose_TellTheLinksInOrder) {
  People->Close();
  EXPECT_EQ(Link.Take(), (Log{"inactive", "state inactive"}));
  EXPECT_EQ(Name()->GetAsString(), "");
  People->Open();
  EXPECT_EQ(Link.Take(), (Log{"active", "state browse"}));
  EXPECT_EQ(Name()->GetAsString(), "Ann");
  EXPECT_TRUE(People->GetBof());
}

TEST_F(DataSetTest, EditAssignPost_StateFirstThenRecord) {
  People->Edit();
  EXPECT_EQ(Link.Take(), (Log{"editing", "state edit", "record *"}));
  Name()->SetAsString("Anna");
  EXPECT_EQ(Link.Take(), (Log{"record Name"}));
  People->Post();
  EXPECT_EQ(Link.Take(), (Log{"not editing", "state browse", "changed", "record *"}));
  EXPECT_EQ(Name()->GetAsString(), "Anna");
  People->Close();
  People->Open();
  EXPECT_EQ(Name()->GetAsString(), "Anna");
}

TEST_F(DataSetTest, Cancel_RestoresTheStoredValues) {
  People->Edit();
  Name()->SetAsString("Zed");
  Link.Take();
  People->Cancel();
  EXPECT_EQ(Link.Take(), (Log{"not editing", "state browse", "changed", "record *"}));
  EXPECT_EQ(Name()->GetAsString(), "Ann");
  EXPECT_FALSE(People->GetModified());
}

TEST_F(DataSetTest, InsertAndAppend_PlaceTheNewRecordAndCancelReturns) {
  People->Next();
  Link.Take();
  People->Insert();
  EXPECT_EQ(Link.Take(), (Log{"editing", "state insert", "changed", "record *"}));
  EXPECT_TRUE(Name()->IsNull());
  People->FieldByName("Id")->SetAsInteger(9);
  Name()->SetAsString("New");
  People->Post();
  EXPECT_EQ(People->GetRecNo(), 2);
  EXPECT_EQ(People->GetRecordCount(), 4);
  People->Next();
  EXPECT_EQ(Name()->GetAsString(), "Bob");
  People->Append();
  EXPECT_EQ(People->GetRecNo(), 5);
  People->Cancel();
  EXPECT_EQ(Name()->GetAsString(), "Bob");
  EXPECT_EQ(People->GetRecordCount(), 4);
}

TEST_F(DataSetTest, Delete_MakesTheNextRecordCurrentThenThePriorAtTheEnd) {
  People->Delete();
  EXPECT_EQ(Link.Take(), (Log{"changed", "record *"}));
  EXPECT_EQ(Name()->GetAsString(), "Bob");
  People->Last();
  People->Delete();
  EXPECT_EQ(Name()->GetAsString(), "Bob");
  People->Delete();
  EXPECT_TRUE(People->IsEmpty());
  EXPECT_TRUE(People->GetEof() && People->GetBof());
  EXPECT_THROW(People->Delete(), EDatabaseError);
  // Editing an empty data set inserts.
  People->Edit();
  EXPECT_EQ(People->GetState(), dsInsert);
}

TEST_F(DataSetTest, Scrolling_ReportsTheDistanceAndStopsAtTheEnds) {
  People->Next();
  EXPECT_EQ(Link.Take(), (Log{"scrolled 1"}));
  EXPECT_EQ(People->MoveBy(10), 1);
  EXPECT_EQ(Link.Take(), (Log{"scrolled 1"}));
  EXPECT_TRUE(People->GetEof());
  People->Next();
  EXPECT_TRUE(Link.Take().empty());
  People->First();
  EXPECT_EQ(Link.Take(), (Log{"scrolled -2"}));
  EXPECT_TRUE(People->GetBof());
  EXPECT_FALSE(People->GetEof());
  People->Prior();
  EXPECT_TRUE(People->GetBof());
  People->SetRecNo(3);
  EXPECT_EQ(Name()->GetAsString(), "Cid");
  EXPECT_TRUE(People->Locate("name", Variant("bob")) == false);
  EXPECT_TRUE(People->Locate("Name", Variant("Bob")));
  EXPECT_EQ(People->GetRecNo(), 2);
}

TEST_F(DataSetTest, MovingOffAnEditedRecord_PostsItFirst) {
  People->Edit();
  Name()->SetAsString("Anne");
  Link.Take();
  People->Next();
  EXPECT_EQ(Link.Take(), (Log{"not editing", "state browse", "changed", "record *", "scrolled 1"}));
  People->Prior();
  EXPECT_EQ(Name()->GetAsString(), "Anne");
  // An insert that nobody touched is dropped, not posted.
  People->Insert();
  People->Next();
  EXPECT_EQ(People->GetRecordCount(), 3);
}

TEST_F(DataSetTest, FailedPost_KeepsTheUsersValuesAndTheStoredOnes) {
  People->Edit();
  Name()->SetAsString("Changed");
  People->FailNextWrite("disk full");
  EXPECT_THROW(People->Post(), EDatabaseError);
  EXPECT_EQ(People->GetState(), dsEdit);
  EXPECT_EQ(Name()->GetAsString(), "Changed");
  // Scrolling away must not lose the edit either.
  People->FailNextWrite("disk full");
  EXPECT_THROW(People->Next(), EDatabaseError);
  EXPECT_EQ(People->GetRecNo(), 1);
  EXPECT_EQ(Name()->GetAsString(), "Changed");
  People->Cancel();
  EXPECT_EQ(Name()->GetAsString(), "Ann");
}

TEST_F(DataSetTest, RequiredFields_AreCheckedBeforeWriting) {
  People->Append();
  Name()->SetAsString("No id");
  try {
    People->Post();
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_NE(std::string(E.what()).find("'Id'"), std::string::npos) << E.what();
  }
  EXPECT_EQ(People->GetState(), dsInsert);
}

TEST_F(DataSetTest, EditAndInsert_AreRefusedOnClosedOrReadOnlyDataSets) {
  People->SetReadOnly(true);
  EXPECT_THROW(People->Edit(), EDatabaseError);
  EXPECT_THROW(People->Append(), EDatabaseError);
  EXPECT_THROW(People->Delete(), EDatabaseError);
  EXPECT_FALSE(People->GetCanModify());
  People->SetReadOnly(false);
  People->Close();
  EXPECT_THROW(People->Edit(), EDatabaseError);
  EXPECT_THROW(People->Next(), EDatabaseError);
}

TEST_F(DataSetTest, FindField_IsNilWhereFieldByNameRaisesNamingTheField) {
  EXPECT_EQ(People->FindField("NAME"), Name());
  EXPECT_EQ(People->FindField("Nope"), nullptr);
  try {
    People->FieldByName("Nope");
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_NE(std::string(E.what()).find("'Nope'"), std::string::npos);
  }
  ASSERT_EQ(People->GetFieldCount(), 3);
  EXPECT_EQ(People->GetField(1), Name());
  EXPECT_EQ(Name()->GetIndex(), 1);
  EXPECT_EQ(Name()->GetFieldNo(), 2);
}

TEST_F(DataSetTest, DisabledSource_SilencesItsLinks) {
  Source->SetEnabled(false);
  EXPECT_EQ(Link.Take(), (Log{"inactive", "state inactive"}));
  People->Next();
  EXPECT_TRUE(Link.Take().empty());
  Source->SetEnabled(true);
  EXPECT_EQ(Link.Take(), (Log{"active", "state browse"}));
  EXPECT_TRUE(Link.Edit());
  EXPECT_EQ(People->GetState(), dsEdit);
  Link.SetReadOnly(true);
  EXPECT_FALSE(Link.GetEditing());
}

TEST_F(DataSetTest, SwitchingBetweenOpenDataSets_TellsTheLinks) {
  TMemDataSet* Others = plumb::test::MakePeople(&Owner);
  Source->SetDataSet(Others);
  EXPECT_EQ(Link.Take(), (Log{"inactive", "state inactive", "active", "state browse"}));
}

// --- Removal notifications ---

class TWatcher : public TComponent {
 public:
  using TComponent::TComponent;
  TComponent* Watched = nullptr;
  void Watch(TComponent* C) {
    Watched = C;
    FreeNotification(C);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Watched) Watched = nullptr;
  }
};

TEST_F(DataSetTest, FreeingTheDataSet_DetachesSourcesLinksAndFields) {
  TWatcher Watcher(nullptr);
  Watcher.Watch(Name());
  People->Free();
  EXPECT_EQ(Watcher.Watched, nullptr);
  EXPECT_EQ(Source->GetDataSet(), nullptr);
  EXPECT_EQ(Link.GetDataSet(), nullptr);
  EXPECT_FALSE(Link.GetActive());
  EXPECT_EQ(Link.Take(), (Log{"inactive", "state inactive"}));
}

TEST_F(DataSetTest, FreeingTheSourceOrAField_ClearsTheReferences) {
  TField* Age = People->FieldByName("Age");
  Age->Free();
  EXPECT_EQ(People->FindField("Age"), nullptr);
  EXPECT_EQ(People->GetFieldCount(), 2);
  EXPECT_EQ(Name()->GetAsString(), "Ann");
  Source->Free();
  EXPECT_EQ(Link.GetDataSource(), nullptr);
  EXPECT_EQ(Link.GetDataSet(), nullptr);
  EXPECT_FALSE(Link.GetActive());
  // A link that dies first is simply gone from its source.
  auto* Other = new TDataSource(nullptr);
  {
    TRecordingLink Short;
    Short.SetDataSource(Other);
  }
  Other->SetDataSet(People);
  delete Other;
}

// --- Lookup fields ---

class LookupTest : public DataSetTest {
 protected:
  void SetUp() override {
    DataSetTest::SetUp();
    Countries = new TMemDataSet(&Owner);
    Countries->AddFieldDef("Code", ftInteger);
    Countries->AddFieldDef("Country", ftString);
    Countries->Open();
    Countries->AppendRecord({10, "France"});
    Countries->AppendRecord({20, "Japan"});
    Customers = new TMemDataSet(&Owner);
    Customers->AddFieldDef("Name", ftString);
    Customers->AddFieldDef("CountryId", ftInteger);
    CountryName = new TField(&Owner, ftString);
    CountryName->SetFieldName("CountryName");
    CountryName->SetFieldKind(fkLookup);
    CountryName->SetKeyFields("CountryId");
    CountryName->SetLookupDataSet(Countries);
    CountryName->SetLookupKeyFields("Code");
    CountryName->SetLookupResultField("Country");
    CountryName->SetDataSet(Customers);
    Customers->Open();
    Customers->AppendRecord({"Ann", 20});
    Customers->AppendRecord({"Bob", Null});
    Customers->First();
    Source->SetDataSet(Customers);
    Link.Take();
  }
  TField* Key() { return Customers->FieldByName("CountryId"); }

  TMemDataSet* Countries = nullptr;
  TMemDataSet* Customers = nullptr;
  TField* CountryName = nullptr;
};

TEST_F(LookupTest, Value_FollowsItsKeyAndTheLinkHearsBoth) {
  EXPECT_EQ(Customers->GetField(2), CountryName);
  EXPECT_EQ(CountryName->GetAsString(), "Japan");
  Customers->Edit();
  Link.Take();
  Key()->SetAsInteger(10);
  EXPECT_EQ(CountryName->GetAsString(), "France");
  EXPECT_EQ(Link.Take(), (Log{"record CountryId", "record CountryName"}));
  Key()->SetAsInteger(99);
  EXPECT_TRUE(CountryName->IsNull());
  Customers->Next();
  EXPECT_TRUE(CountryName->IsNull());  // Bob has no country
}

TEST_F(LookupTest, WritingTheLookupField_WritesTheKeyOrRefuses) {
  Customers->Edit();
  CountryName->SetAsString("France");
  EXPECT_EQ(Key()->GetAsInteger(), 10);
  EXPECT_THROW(CountryName->SetAsString("Narnia"), EConvertError);
  EXPECT_EQ(Key()->GetAsInteger(), 10);
  EXPECT_TRUE(CountryName->GetCanModify());
  Key()->SetReadOnly(true);
  EXPECT_FALSE(CountryName->GetCanModify());
}

TEST_F(LookupTest, LookupTableChangesAndRemoval_AreSeen) {
  Countries->Last();
  Countries->Edit();
  Countries->FieldByName("Country")->SetAsString("Nippon");
  Countries->Post();
  EXPECT_EQ(CountryName->GetAsString(), "Nippon");
  Countries->Close();
  EXPECT_TRUE(CountryName->IsNull());
  Countries->Free();
  EXPECT_EQ(CountryName->GetLookupDataSet(), nullptr);
  EXPECT_TRUE(CountryName->IsNull());
}

TEST_F(LookupTest, CalculatedFields_AreFilledByOnCalcFieldsForEachRecord) {
  Customers->Close();
  auto* Shout = new TField(&Owner, ftString);
  Shout->SetFieldName("Shout");
  Shout->SetFieldKind(fkCalculated);
  Shout->SetDataSet(Customers);
  Customers->OnCalcFields = [](TDataSet* DS) {
    DS->FieldByName("Shout")->SetAsString(UpperCase(DS->FieldByName("Name")->GetAsString()));
  };
  Customers->Open();
  EXPECT_EQ(Shout->GetAsString(), "ANN");
  // A handler that raises keeps the data set on the record it was on.
  auto Calc = Customers->OnCalcFields;
  Customers->OnCalcFields = [&](TDataSet* DS) {
    if (DS->FieldByName("Name")->GetAsString() == "Bob") throw EDatabaseError("no Bob");
    Calc(DS);
  };
  Link.Take();
  EXPECT_THROW(Customers->Next(), EDatabaseError);
  EXPECT_EQ(Customers->GetRecNo(), 1);
  EXPECT_EQ(Shout->GetAsString(), "ANN");
  EXPECT_TRUE(Link.Take().empty());
  Customers->OnCalcFields = Calc;
  Customers->Next();
  EXPECT_EQ(Shout->GetAsString(), "BOB");
  Customers->Edit();
  EXPECT_THROW(Shout->SetAsString("x"), EDatabaseError);
  Customers->FieldByName("Name")->SetAsString("Bo");
  EXPECT_EQ(Shout->GetAsString(), "BO");
}

}  // namespace
