#include "DefaultForm.h"

#include <nlohmann/json.hpp>

namespace designer {

namespace {

// The data sets are open at design time, so that the grid shows a record and a column's
// FieldName offers the table's field names.
const char* const FormTemplate = R"json({
  "class": "TForm", "name": "CustomerForm",
  "properties": {"Left": 0, "Top": 0, "Width": 470, "Height": 430},
  "components": [
    {"class": "TSQLiteDataSet", "name": "Countries",
     "properties": {"DatabaseName": @DB@, "TableName": "countries", "Active": true}},
    {"class": "TSQLiteDataSet", "name": "Customers",
     "properties": {"DatabaseName": @DB@, "TableName": "customers", "Active": true}},
    {"class": "TField", "name": "CustomersCountry",
     "properties": {"FieldName": "country", "FieldKind": "fkLookup", "KeyFields": "country_id",
                    "LookupDataSet": "Countries", "LookupKeyFields": "id",
                    "LookupResultField": "name", "DataSet": "Customers"}},
    {"class": "TDataSource", "name": "CustomerSource", "properties": {"DataSet": "Customers"}},
    {"class": "TPlumbGrid", "name": "Grid",
     "properties": {
       "Align": "alClient", "DataSource": "CustomerSource", "ColWidths": [140, 326],
       "Columns": [
         {"Title": "Contact", "IDCode": "Contact", "Expanded": true},
         {"FieldName": "name", "Title": "Name", "IndentLevel": 1},
         {"FieldName": "email", "Title": "E-mail", "IndentLevel": 1},
         {"FieldName": "country", "Title": "Country", "IndentLevel": 1},
         {"Title": "Account", "IDCode": "Account", "Expanded": true},
         {"FieldName": "id", "Title": "Customer no.", "IndentLevel": 1, "ReadOnly": true},
         {"FieldName": "balance", "Title": "Balance", "IndentLevel": 1},
         {"FieldName": "joined", "Title": "Joined", "IndentLevel": 1,
          "EditMask": "0000-00-00;1;_"},
         {"FieldName": "active", "Title": "Active", "IndentLevel": 1,
          "PickList": ["True", "False"]},
         {"FieldName": "age", "Title": "Age", "IndentLevel": 1},
         {"Title": "Notes", "IDCode": "Notes", "Expanded": true},
         {"FieldName": "notes", "Title": "Remarks", "IndentLevel": 1},
         {"FieldName": "photo", "Title": "Photo", "IndentLevel": 1}
       ]}}
  ]
})json";

}  // namespace

std::string DefaultFormStream(const std::string& DatabasePath) {
  std::string Text = FormTemplate;
  const std::string Quoted = nlohmann::json(DatabasePath).dump();
  for (size_t At = 0; (At = Text.find("@DB@", At)) != std::string::npos; At += Quoted.size())
    Text.replace(At, 4, Quoted);
  return Text;
}

}  // namespace designer
