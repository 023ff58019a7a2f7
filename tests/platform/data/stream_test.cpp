// Data components in form streams: references fixed up, the data set opened after loading.
#include <gtest/gtest.h>

#include "DataTestSupport.h"
#include "core/Filer.h"

using namespace plumb;

TEST(DataStreamTest, FormWithSqliteTablesAndALookupField_ReadsBackOpenAndLinked) {
  TComponent Form(nullptr);
  Form.SetName("Form");
  auto* Countries = new TSQLiteDataSet(&Form);
  Countries->SetName("Countries");
  Countries->SetDatabaseName(PLUMB_SAMPLE_DB);
  Countries->SetTableName("countries");
  auto* Customers = new TSQLiteDataSet(&Form);
  Customers->SetName("Customers");
  Customers->SetDatabaseName(PLUMB_SAMPLE_DB);
  Customers->SetTableName("customers");
  Customers->SetReadOnly(true);
  Customers->SetForeignKeys(false);
  auto* Country = new TField(&Form, ftString);
  Country->SetName("CustomersCountry");
  Country->SetFieldName("country");
  Country->SetFieldKind(fkLookup);
  Country->SetKeyFields("country_id");
  Country->SetLookupDataSet(Countries);
  Country->SetLookupKeyFields("id");
  Country->SetLookupResultField("name");
  Country->SetAlignment(taCenter);
  Country->SetDataSet(Customers);
  auto* Source = new TDataSource(&Form);
  Source->SetName("Source");
  Source->SetDataSet(Customers);
  Countries->Open();
  Customers->Open();

  std::string Text = SaveComponentToString(&Form);
  // Fields the data set made for itself are not part of the form.
  EXPECT_EQ(Text.find("\"joined\""), std::string::npos) << Text;
  std::unique_ptr<TComponent> Back(LoadComponentFromString(Text));
  auto* C = dynamic_cast<TSQLiteDataSet*>(Back->FindComponent("Customers"));
  auto* S = dynamic_cast<TDataSource*>(Back->FindComponent("Source"));
  auto* F = dynamic_cast<TField*>(Back->FindComponent("CustomersCountry"));
  ASSERT_TRUE(C && S && F);
  EXPECT_TRUE(C->GetActive());
  EXPECT_TRUE(C->GetReadOnly());
  EXPECT_FALSE(C->GetForeignKeys());
  EXPECT_TRUE(dynamic_cast<TSQLiteDataSet*>(Back->FindComponent("Countries"))->GetForeignKeys());
  EXPECT_EQ(S->GetDataSet(), C);
  EXPECT_EQ(F->GetDataSet(), C);
  EXPECT_EQ(F->GetLookupDataSet(), Back->FindComponent("Countries"));
  EXPECT_EQ(F->GetAlignment(), taCenter);
  EXPECT_EQ(F->GetAsString(), Country->GetAsString());
  EXPECT_FALSE(F->IsNull());
}
