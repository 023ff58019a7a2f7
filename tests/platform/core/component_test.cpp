#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Exceptions.h"
#include "core/Strings.h"

using namespace plumb;

namespace {

// Keeps a reference to another component and drops it when that one goes away.
class TWatcher : public TComponent {
  PLUMB_CLASS(TWatcher, TComponent)
  using TComponent::TComponent;
  void SetTarget(TComponent* T) {
    Target = T;
    if (T) T->FreeNotification(this);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    Log.push_back((Operation == opInsert ? "+" : "-") + AComponent->GetName() + ":" +
                  AComponent->ClassName());
    if (Operation == opRemove && AComponent == Target) Target = nullptr;
  }
  TComponent* Target = nullptr;
  std::vector<std::string> Log;
};

class TCounted : public TComponent {
  PLUMB_CLASS(TCounted, TComponent)
  TCounted(TComponent* AOwner, int& Counter) : TComponent(AOwner), FCounter(Counter) {}
  ~TCounted() override { ++FCounter; }

 private:
  int& FCounter;
};

}  // namespace

TEST(ComponentTest, OwnerFreesEachOwnedComponentOnce) {
  int Freed = 0;
  auto* Root = new TComponent(nullptr);
  auto* A = new TCounted(Root, Freed);
  new TCounted(A, Freed);
  new TCounted(Root, Freed);
  EXPECT_EQ(Root->GetComponentCount(), 2);
  delete A;  // freeing a child directly takes it out of its owner
  EXPECT_EQ(Freed, 2);
  EXPECT_EQ(Root->GetComponentCount(), 1);
  Root->Free();
  EXPECT_EQ(Freed, 3);
}

TEST(ComponentTest, FreedComponentDisappearsFromEverySubscriber) {
  auto* Form = new TComponent(nullptr);
  auto* Source = new TWatcher(Form);
  Source->SetName("Source");
  auto* Other = new TComponent(nullptr);  // unowned, only linked by free notification
  auto* Outsider = new TWatcher(nullptr);
  auto* Sibling = new TWatcher(Form);
  Sibling->SetTarget(Other);
  Outsider->SetTarget(Source);

  Source->Free();
  EXPECT_EQ(Outsider->Target, nullptr);
  EXPECT_EQ(Sibling->Log.back(), "-Source:TWatcher");  // hears it through the owner
  // The receiver still saw the full class, not a half-destroyed base.
  EXPECT_EQ(Outsider->Log.back(), "-Source:TWatcher");

  Other->Free();
  EXPECT_EQ(Sibling->Target, nullptr);
  Outsider->Free();
  Form->Free();
}

TEST(ComponentTest, SubscriberFreedFirstIsForgotten) {
  auto* Target = new TComponent(nullptr);
  auto* W = new TWatcher(nullptr);
  W->SetTarget(Target);
  W->Free();
  Target->Free();  // must not notify the freed watcher
  SUCCEED();
}

TEST(ComponentTest, InsertNotifiesOwnerTree) {
  TWatcher Form(nullptr);
  auto* Child = new TWatcher(&Form);
  auto* Late = new TComponent(nullptr);
  Late->SetName("Late");
  Form.InsertComponent(Late);
  EXPECT_EQ(Child->Log.back(), "+Late:TComponent");
  EXPECT_EQ(Late->Owner(), &Form);
  EXPECT_EQ(Form.FindComponent("late"), Late);
}

TEST(ComponentTest, NamesMustBeIdentifiersAndUniqueAmongSiblings) {
  TComponent Form(nullptr);
  auto* A = new TComponent(&Form);
  auto* B = new TComponent(&Form);
  A->SetName("Grid1");
  EXPECT_THROW(B->SetName("grid1"), EComponentError);
  EXPECT_THROW(B->SetName("1Grid"), EComponentError);
  EXPECT_EQ(B->GetName(), "");
  B->SetName("Grid2");
  A->SetName("GRID1");  // a change of letter case only
  EXPECT_EQ(A->GetName(), "GRID1");
}

TEST(ComponentTest, StateFlagsAndLoaded) {
  TComponent Form(nullptr);
  auto* C = new TComponent(&Form);
  Form.SetDesigning(true);
  EXPECT_TRUE(C->IsDesigning());
  auto* Added = new TComponent(&Form);
  EXPECT_TRUE(Added->IsDesigning());  // joins a designing owner
  C->SetLoading(true);
  C->Loaded();
  EXPECT_FALSE(C->GetComponentState().Contains(csLoading));
}

TEST(ObjectTest, ClassTestIncludesDescendants) {
  TWatcher W(nullptr);
  EXPECT_EQ(W.ClassName(), "TWatcher");
  EXPECT_TRUE(W.Is<TComponent>());
  EXPECT_TRUE(W.Is<TPersistent>());
  EXPECT_TRUE(W.Is<TObject>());
  EXPECT_FALSE(W.Is<TStrings>());
  TComponent C(nullptr);
  EXPECT_FALSE(C.Is<TWatcher>());
}

TEST(ObjectTest, AssigningUnrelatedClassesNamesBoth) {
  TStringList L;
  TComponent C(nullptr);
  try {
    L.Assign(&C);
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_NE(E.Message().find("TComponent"), std::string::npos);
    EXPECT_NE(E.Message().find("TStringList"), std::string::npos);
  }
}

TEST(StringsTest, ListOperationsAndText) {
  TStringList L;
  int Changes = 0;
  L.OnChange = [&](TObject*) { ++Changes; };
  L.Add("one");
  L.Add("Two");
  L.Insert(0, "zero");
  EXPECT_EQ(L.IndexOf("TWO"), 2);
  EXPECT_EQ(L.IndexOf("three"), -1);
  L.Delete(0);
  EXPECT_EQ(L.GetText(), "one\nTwo\n");
  EXPECT_EQ(Changes, 4);
  L.SetText("a\r\nb\rc\n\nd");
  EXPECT_EQ(Changes, 5);  // one change for the whole text
  EXPECT_EQ(L.ToVector(), (std::vector<std::string>{"a", "b", "c", "", "d"}));
  EXPECT_THROW(L.Get(5), EListError);
  EXPECT_THROW(L.Insert(7, "x"), EListError);
  TStringList Copy;
  Copy.Assign(&L);
  EXPECT_TRUE(Copy.Equals(&L));
}
