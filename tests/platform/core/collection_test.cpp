#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Exceptions.h"
#include "stream_fixtures.h"

using namespace plumb;
using namespace plumb::fixture;

namespace {

std::vector<std::string> Captions(const TSteps* C) {
  std::vector<std::string> R;
  for (int I = 0; I < C->Count(); ++I) R.push_back(C->GetItem(I)->GetCaption());
  return R;
}

// Fills a collection with items captioned A, B, C, ... and forgets the updates that made.
void Fill(TSteps& C, const std::string& Letters) {
  for (char L : Letters) C.Add()->SetCaption(std::string(1, L));
  C.UpdateLog.clear();
}

// Keeps a record of the notifications a collection sends.
class TNotedSteps : public TSteps {
 public:
  using TSteps::TSteps;
  std::vector<std::string> Notes;

 protected:
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    static const char* Names[] = {"added", "extracting", "deleting"};
    Notes.push_back(std::string(Names[Action]) + ":" + std::to_string(Item->GetID()));
  }
};

}  // namespace

TEST(CollectionTest, AddInsertDeleteClear_KeepOrderIndicesAndIDs) {
  TSteps C(nullptr);
  Fill(C, "ABC");
  EXPECT_EQ(C.Count(), 3);
  TCollectionItem* X = C.Insert(1);
  static_cast<TStep*>(X)->SetCaption("X");
  EXPECT_EQ(Captions(&C), (std::vector<std::string>{"A", "X", "B", "C"}));
  EXPECT_EQ(X->GetIndex(), 1);
  EXPECT_EQ(X->GetCollection(), &C);
  EXPECT_EQ(C.FindItemID(X->GetID()), X);
  C.Delete(0);
  EXPECT_EQ(Captions(&C), (std::vector<std::string>{"X", "B", "C"}));
  EXPECT_EQ(X->GetIndex(), 0);
  delete C.GetItem(1);  // an item leaves its collection when it goes
  EXPECT_EQ(Captions(&C), (std::vector<std::string>{"X", "C"}));
  // IDs are never reused, so a deleted item's ID finds nothing.
  TCollectionItem* Y = C.Add();
  EXPECT_GT(Y->GetID(), X->GetID());
  EXPECT_EQ(C.FindItemID(0), nullptr);
  C.Clear();
  EXPECT_EQ(C.Count(), 0);
  EXPECT_THROW(C.GetItem(0), EListError);
  EXPECT_THROW(C.Delete(-1), EListError);
}

TEST(CollectionTest, SetIndex_MovesAnItemAndRefusesPositionsOutside) {
  TSteps C(nullptr);
  Fill(C, "ABCD");
  C.GetItem(0)->SetIndex(3);
  EXPECT_EQ(Captions(&C), (std::vector<std::string>{"B", "C", "D", "A"}));
  C.GetItem(3)->SetIndex(1);
  EXPECT_EQ(Captions(&C), (std::vector<std::string>{"B", "A", "C", "D"}));
  EXPECT_EQ(C.UpdateLog, (std::vector<std::string>{"*", "*"}));  // a move changes every row
  EXPECT_THROW(C.GetItem(0)->SetIndex(4), EListError);
  EXPECT_THROW(C.GetItem(0)->SetIndex(-1), EListError);
  EXPECT_EQ(Captions(&C), (std::vector<std::string>{"B", "A", "C", "D"}));
}

TEST(CollectionTest, Updates_ItemChangesAreHeldBackUntilTheLastEndUpdate) {
  TSteps C(nullptr);
  Fill(C, "AB");
  C.GetItem(1)->SetCaption("b");
  EXPECT_EQ(C.UpdateLog, (std::vector<std::string>{"b"}));
  C.UpdateLog.clear();
  C.BeginUpdate();
  C.BeginUpdate();
  C.GetItem(0)->SetCaption("a");
  C.Add();
  C.Delete(2);
  C.EndUpdate();
  EXPECT_TRUE(C.UpdateLog.empty());
  C.EndUpdate();
  EXPECT_EQ(C.UpdateLog, (std::vector<std::string>{"*"}));
  C.EndUpdate();  // one too many does no harm
  EXPECT_EQ(C.UpdateCount(), 0);
}

TEST(CollectionTest, Notify_TellsOfItemsJoiningLeavingAndBeingDeleted) {
  TNotedSteps C(nullptr);
  TSteps Other(nullptr);
  TCollectionItem* A = C.Add();
  C.Add();
  A->SetCollection(&Other);
  C.Delete(0);
  EXPECT_EQ(C.Notes, (std::vector<std::string>{"added:0", "added:1", "extracting:0", "deleting:1",
                                               "extracting:1"}));
  EXPECT_EQ(A->GetCollection(), &Other);
  EXPECT_EQ(Other.GetItem(0), A);
}

TEST(CollectionTest, Assign_CopiesItemsIntoItsOwnAndRefusesOtherClasses) {
  TSteps A(nullptr), B(nullptr);
  Fill(A, "XYZ");
  Fill(B, "Q");
  B.Assign(&A);
  EXPECT_EQ(Captions(&B), Captions(&A));
  EXPECT_NE(B.GetItem(0), A.GetItem(0));
  EXPECT_EQ(B.GetItem(0)->GetCollection(), &B);
  EXPECT_EQ(B.UpdateLog, (std::vector<std::string>{"*"}));  // one update for the lot
  B.Assign(&B);
  EXPECT_EQ(B.Count(), 3);
  TStringList L;
  EXPECT_THROW(B.Assign(&L), EConvertError);
}

TEST(CollectionTest, Owner_NamesThePathThroughThePublishingProperty) {
  RegisterFixtureClasses();
  auto* S = new TSample(nullptr);
  S->SetName("Grid1");
  S->GetSteps()->Add();
  TStep* Second = S->GetSteps()->Add();
  EXPECT_EQ(S->GetSteps()->GetOwner(), S);
  EXPECT_EQ(Second->GetOwner(), S->GetSteps());
  EXPECT_EQ(Second->GetNamePath(), "Grid1.Steps[1]");
  EXPECT_EQ(S->GetSteps()->GetItemClass(), TStep::StaticClass());
  S->Free();
}
